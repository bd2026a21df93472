// sonvara-cli loads what its command uses: no widget, GUI, printing, multimedia or GDAL library
// for the headless commands; GDAL only in `mosaic` and `coverage`, which run as
// sonvara-cli-mosaic and sonvara-cli-coverage beside it.

#include <QFile>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "ProcessSupport.h"

namespace {

// The shared libraries the dynamic loader initialised for a run, one path a line.
QStringList LoadedLibraries(const QString& program, const QStringList& args, int& exitCode) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("LD_DEBUG", "libs");
    process.setProcessEnvironment(environment);
    process.start(program, args);
    EXPECT_TRUE(process.waitForFinished(30000));
    exitCode = process.exitCode();
    QStringList libraries;
    const QString log = QString::fromUtf8(process.readAllStandardError());
    for (const QString& line : log.split('\n')) {
        const int at = line.indexOf("calling init: ");
        if (at >= 0) libraries << line.mid(at + 14).trimmed();
    }
    return libraries;
}

TEST(CliLibrariesTest, EachCommandLoadsOnlyWhatItUses) {
    struct Case {
        QStringList args;
        bool gdal;
    };
    const Case cases[] = {
        {{"--version"}, false},
        {{"render", "--help"}, false},
        {{"acquire", "--help"}, false},
        {{"mosaic", "--help"}, true},
        {{"coverage", "--help"}, true},
    };
    const QStringList never = {"libQt6Widgets", "libQt6Gui", "libQt6PrintSupport",
                               "libQt6Multimedia", "libQt6DBus"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        int exitCode = -1;
        const QStringList libraries = LoadedLibraries(SONVARA_CLI_PATH, c.args, exitCode);
        EXPECT_EQ(exitCode, 0);
        ASSERT_FALSE(libraries.isEmpty()) << "no loader log";
        for (const QString& library : libraries) {
            for (const QString& name : never)
                EXPECT_FALSE(library.contains(name)) << library.toStdString();
        }
        EXPECT_EQ(!libraries.filter("libgdal").isEmpty(), c.gdal);
        EXPECT_LT(libraries.size(), c.gdal ? 200 : 60);
    }
}

TEST(CliLibrariesTest, MosaicWithoutItsProgramSaysWhatIsMissing) {
    QTemporaryDir dir;
    const QString copy = dir.filePath("sonvara-cli");
    ASSERT_TRUE(QFile::copy(SONVARA_CLI_PATH, copy));
    ASSERT_TRUE(QFile::setPermissions(copy, QFile::ReadOwner | QFile::ExeOwner));
    const ProgramRun run = RunProgram(copy, {"mosaic", "--help"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("cannot start " + dir.filePath("sonvara-cli-mosaic").toUtf8()))
        << run.err.toStdString();
    // The other commands do not need it.
    EXPECT_EQ(RunProgram(copy, {"render", "--help"}).exitCode, 0);
}

}  // namespace
