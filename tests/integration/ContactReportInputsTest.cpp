// sonvara-cli report on its inputs as a process: an output it cannot write fails with one line
// and leaves nothing behind; a damaged event file is named with its line and the events before
// the damage are listed; a recording without positions lists its contacts without one; an XTF
// copy of a data file beside it gives the same contacts at the same places; a report stopped
// by SIGTERM leaves nothing behind.

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <signal.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>

#include "../support/TempDir.h"
#include "ProcessSupport.h"
#include "SimRecording.h"
#include "SimulatedContacts.h"

namespace {

using namespace simcontacts;
namespace fs = std::filesystem;

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

std::set<std::string> Entries(const std::string& dir) {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.insert(e.path().filename().string());
    return names;
}

// A recording of 120 pings with two events; `gps` false: no position in it.
std::string WriteRecording(const TempDir& dir, const std::string& name, bool gps) {
    sim::RecordingPlan plan;
    plan.records = 120;
    plan.gps = gps;
    const std::string file = dir.File(name + ".svx");
    std::string error;
    EXPECT_TRUE(sim::WriteSimulatedRecording(file, plan, error)) << error;
    EventList list;
    list.Append(Event(1, 30, 0.3, "first"));
    list.Append(Event(2, 80, 0.8, "second"));
    std::ofstream(dir.File(name + ".an"), std::ios::binary) << FormatEventList(list);
    return file;
}

TEST(ContactReportInputs, AnOutputThatCannotBeWrittenLeavesNothingBehind) {
    TempDir dir;
    const std::string recording = WriteRecording(dir, "line", true);
    std::ofstream(dir.File("plain.txt")) << "a file, not a folder\n";
    fs::create_directory(dir.File("taken.pdf"));
    const struct {
        std::string html, pdf, named;
    } cases[] = {
        {dir.File("plain.txt/report"), "", dir.File("plain.txt/report")},  // under a file
        {dir.File("plain.txt"), "", dir.File("plain.txt")},                // a file, not a folder
        {dir.File("report"), dir.File("missing/r.pdf"), dir.File("missing/r.pdf")},
        {dir.File("report"), dir.File("taken.pdf"), dir.File("taken.pdf")},  // a folder
    };
    for (const auto& c : cases) {
        const std::set<std::string> before = Entries(dir.File(""));
        QStringList args{"report", Q(recording), "--html", Q(c.html)};
        if (!c.pdf.empty()) args << "--pdf" << Q(c.pdf);
        const ProgramRun run = RunProgram(SONVARA_CLI_PATH, args);
        const std::string err = run.err.toStdString();
        EXPECT_EQ(run.exitCode, 1) << c.html << " " << c.pdf << ": " << err;
        EXPECT_NE(err.find("cannot write " + c.named), std::string::npos) << err;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        EXPECT_EQ(Entries(dir.File("")), before) << c.html << " " << c.pdf;
    }
}

TEST(ContactReportInputs, ADamagedEventFileIsNamedAndTheEventsBeforeItAreListed) {
    TempDir dir;
    const std::string recording = WriteRecording(dir, "line", true);
    // A third event whose ping number is no number: line 2 of the third event, line 18.
    std::ofstream(dir.File("line.an"), std::ios::app | std::ios::binary)
        << "3\nping\n0.5\n09-DEC-2026\n10:00:40\nn/a\nn/a\nthird\n";
    const ProgramRun run =
        RunProgram(SONVARA_CLI_PATH, {"report", Q(recording), "--html", Q(dir.File("out"))});
    const std::string err = run.err.toStdString();
    EXPECT_EQ(run.exitCode, 1) << err;
    EXPECT_NE(err.find(dir.File("line.an") + ", line 18"), std::string::npos) << err;
    QFile csv(Q(dir.File("out/contacts.csv")));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly)) << err;
    const QByteArray text = csv.readAll();
    EXPECT_EQ(text.count('\n'), 3) << text.toStdString();
    EXPECT_TRUE(text.contains("first") && text.contains("second") && !text.contains("third"));
    QFile html(Q(dir.File("out/index.html")));
    ASSERT_TRUE(html.open(QIODevice::ReadOnly));
    EXPECT_TRUE(html.readAll().contains("line 18")) << "the page says what was left out";
}

TEST(ContactReportInputs, ARecordingWithoutPositionsListsItsContactsWithoutOne) {
    TempDir dir;
    const std::string blind = WriteRecording(dir, "blind", false);
    const std::string seen = WriteRecording(dir, "seen", true);
    const ProgramRun run =
        RunProgram(SONVARA_CLI_PATH, {"report", Q(blind), Q(seen), "--html", Q(dir.File("out"))});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    QFile file(Q(dir.File("out/contacts.geojson")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QJsonArray features = QJsonDocument::fromJson(file.readAll())["features"].toArray();
    ASSERT_EQ(features.size(), 4);
    for (int i = 0; i < 4; ++i) {
        const QJsonObject f = features[i].toObject();
        const bool positioned = f["properties"].toObject()["file"].toString() == "seen.svx";
        EXPECT_EQ(f["geometry"].isNull(), !positioned) << i;
    }
    QFile csv(Q(dir.File("out/contacts.csv")));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_EQ(csv.readAll().count("no position"), 2);
    EXPECT_TRUE(fs::exists(dir.File("out/overview.png")));
}

TEST(ContactReportInputs, AnXtfCopyGivesTheSameContactsAtTheSamePlaces) {
    TempDir dir;
    const std::string svx = WriteRecording(dir, "line", true), xtf = dir.File("line.xtf");
    const ProgramRun copy = RunProgram(SONVARA_CLI_PATH, {"xtf", Q(svx), Q(xtf)});
    ASSERT_EQ(copy.exitCode, 0) << copy.err.toStdString();
    // Both read the one event file line.an.
    const ProgramRun run =
        RunProgram(SONVARA_CLI_PATH, {"report", Q(svx), Q(xtf), "--html", Q(dir.File("out"))});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    QFile file(Q(dir.File("out/contacts.geojson")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QJsonArray features = QJsonDocument::fromJson(file.readAll())["features"].toArray();
    ASSERT_EQ(features.size(), 4);
    for (int i = 0; i < 2; ++i) {
        const QJsonObject a = features[i].toObject(), b = features[i + 2].toObject();
        EXPECT_EQ(b["properties"].toObject()["file"].toString(), "line.xtf");
        EXPECT_EQ(a["properties"].toObject()["time_utc"], b["properties"].toObject()["time_utc"]);
        const QJsonArray pa = a["geometry"].toObject()["coordinates"].toArray();
        const QJsonArray pb = b["geometry"].toObject()["coordinates"].toArray();
        ASSERT_EQ(pa.size(), 2);
        ASSERT_EQ(pb.size(), 2);
        EXPECT_LT(
            MetresBetween(pa[1].toDouble(), pa[0].toDouble(), pb[1].toDouble(), pb[0].toDouble()),
            0.5)
            << i;
    }
}

TEST(ContactReportInputs, AReportStoppedLeavesNothingBehind) {
    TempDir dir;
    // A long recording, so that the report is still being made when the stop comes.
    sim::RecordingPlan plan;
    plan.records = 8000;
    const std::string file = dir.File("long.svx");
    std::string error;
    ASSERT_TRUE(sim::WriteSimulatedRecording(file, plan, error)) << error;
    // And a hundred contacts: some seconds of chips after the temporary outputs appear.
    EventList list;
    for (int i = 0; i < kMaxEvents; ++i) list.Append(Event(i, 40 + 79 * i, 0.3, "contact"));
    std::ofstream(dir.File("long.an"), std::ios::binary) << FormatEventList(list);
    const std::set<std::string> before = Entries(dir.File(""));
    QProcess report;
    report.start(SONVARA_CLI_PATH, {"report", Q(file), "--html", Q(dir.File("out")), "--pdf",
                                    Q(dir.File("out.pdf"))});
    // The temporary outputs appear once the report has begun.
    ASSERT_TRUE(RunUntil([&] { return Entries(dir.File("")).size() > before.size(); }, 20000));
    ::kill(static_cast<pid_t>(report.processId()), SIGTERM);
    ASSERT_TRUE(report.waitForFinished(30000));
    const std::string err = report.readAllStandardError().toStdString();
    EXPECT_EQ(report.exitCode(), 1) << err;
    EXPECT_NE(err.find("stopped: no report written"), std::string::npos) << err;
    EXPECT_EQ(Entries(dir.File("")), before);
}

}  // namespace
