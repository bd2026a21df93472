// The command-line tools write the same files whatever the operator's locale: under German
// (decimal comma) `render --sensors`, `track` and `info --json` give, byte for byte, what they
// give under C.UTF-8, and every CSV row keeps the columns of its header.

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <map>

#include "ProcessSupport.h"

namespace {

QProcessEnvironment InLocale(const QString& name) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("LC_ALL", name);
    environment.insert("LANG", name);
    return environment;
}

QByteArray Bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Where two outputs part: the first line that differs, for a readable failure.
std::string FirstDifference(const QByteArray& a, const QByteArray& b) {
    const QList<QByteArray> left = a.split('\n'), right = b.split('\n');
    for (qsizetype i = 0; i < std::min(left.size(), right.size()); ++i) {
        if (left[i] != right[i]) {
            return "line " + std::to_string(i + 1) + ": " + left[i].left(200).toStdString() +
                   " | " + right[i].left(200).toStdString();
        }
    }
    return "lengths " + std::to_string(a.size()) + " and " + std::to_string(b.size());
}

// Every row of a CSV without quoted fields has as many columns as its header.
void ExpectColumnsKept(const QByteArray& csv, const char* what) {
    const QList<QByteArray> rows = csv.trimmed().split('\n');
    ASSERT_GT(rows.size(), 1) << what;
    for (const QByteArray& row : rows) {
        EXPECT_EQ(row.count(','), rows.front().count(',')) << what << ": " << row.toStdString();
    }
}

class LocaleProcessTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        const std::string previous = std::setlocale(LC_ALL, nullptr);
        const bool installed = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
        std::setlocale(LC_ALL, previous.c_str());
        ASSERT_TRUE(installed) << "the locale de_DE.UTF-8 is not installed: scripts/setup "
                                  "generates it";
        const ProgramRun made = RunProgram(
            SONVARA_HEADSIM_PATH, {"--write-recording", dir.filePath("survey.svx"), "120"});
        ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();
    }
    // The files (and the standard output of info) the tools write under one locale.
    std::map<QString, QByteArray> Outputs(const QString& locale) {
        const QString out = dir.filePath(locale);
        EXPECT_TRUE(QDir().mkpath(out));
        const QString data = dir.filePath("survey.svx");
        const QProcessEnvironment environment = InLocale(locale);
        const QList<QStringList> runs = {
            {"render", data, "--out", out + "/images", "--sensors", out + "/sensors.csv"},
            {"track", data, "--csv", out + "/track.csv"},
            {"track", data, "--gpx", out + "/track.gpx"},
            {"track", data, "--kml", out + "/track.kml"},
        };
        for (const QStringList& args : runs) {
            const ProgramRun run = RunWith(SONVARA_CLI_PATH, args, environment);
            EXPECT_EQ(run.exitCode, 0)
                << locale.toStdString() << " " << args.join(' ').toStdString() << ": "
                << run.err.toStdString();
        }
        std::map<QString, QByteArray> files;
        for (const char* name : {"sensors.csv", "track.csv", "track.gpx", "track.kml",
                                 "images/L.png", "images/echo.png"}) {
            files[name] = Bytes(out + "/" + name);
        }
        const ProgramRun info = RunWith(SONVARA_CLI_PATH, {"info", data, "--json"}, environment);
        EXPECT_EQ(info.exitCode, 0) << info.err.toStdString();
        files["info --json"] = info.out;
        return files;
    }
    QTemporaryDir dir;
};

TEST_F(LocaleProcessTest, FilesAreTheSameUnderADecimalCommaLocale) {
    const std::map<QString, QByteArray> plain = Outputs("C.UTF-8");
    const std::map<QString, QByteArray> german = Outputs("de_DE.UTF-8");
    for (const auto& [name, bytes] : plain) {
        SCOPED_TRACE(name.toStdString());
        ASSERT_FALSE(bytes.isEmpty());
        EXPECT_TRUE(german.at(name) == bytes) << FirstDifference(bytes, german.at(name));
    }
    ExpectColumnsKept(german.at("sensors.csv"), "sensors.csv");
    ExpectColumnsKept(german.at("track.csv"), "track.csv");
    EXPECT_TRUE(german.at("sensors.csv").contains(".")) << "the values have decimals";
    QJsonParseError error;
    const QJsonObject info = QJsonDocument::fromJson(german.at("info --json"), &error).object();
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    EXPECT_EQ(info["records"].toInt(), 120);
}

}  // namespace
