// File > Export > Contact Report... on the real document and Qt platform: the report of several
// recordings made by the report program with its progress window, the outcome told in one
// message; cancelled, nothing is left of it and nothing is told.

#include <QProgressDialog>
#include <QWidget>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>

#include "../support/TempDir.h"
#include "ProcessSupport.h"
#include "SimRecording.h"
#include "SimulatedContacts.h"
#include "app/ui/ContactReportExporter.h"
#include "document/CVantrelDoc.h"
#include "platform/qt/QtPlatform.h"

namespace {

namespace fs = std::filesystem;
using simcontacts::Event;

std::set<std::string> Entries(const std::string& dir) {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.insert(e.path().filename().string());
    return names;
}

// A recording of the simulator with `events` events spread over it.
QString WriteRecording(const TempDir& dir, const std::string& name, int records, int events) {
    sim::RecordingPlan plan;
    plan.records = records;
    std::string error;
    EXPECT_TRUE(sim::WriteSimulatedRecording(dir.File(name + ".svx"), plan, error)) << error;
    EventList list;
    for (int i = 0; i < events; ++i) {
        list.Append(Event(i, 20 + i * (records - 40) / events, 0.3, "contact"));
    }
    std::ofstream(dir.File(name + ".an"), std::ios::binary) << FormatEventList(list);
    return QString::fromStdString(dir.File(name + ".svx"));
}

struct Outcome {
    bool done = false, cancelled = false;
    int status = -2;
};

class ContactReportExport : public ::testing::Test {
protected:
    ContactReportExport() {
        platform.SetMessageSink([this](const std::string& text) { told.push_back(text); });
        QObject::connect(&exporter, &ContactReportExporter::Finished,
                         [this](int status, bool cancelled, const QString&) {
                             outcome = {true, cancelled, status};
                         });
    }
    ~ContactReportExport() override { doc.CloseDocument(); }
    void Ask(const ContactReportExporter::Request& request) {
        exporter.SetQuestion([request] { return request; });
    }

    TempDir dir;
    QtPlatform platform{QtPlatform::Mode::Headless};
    CVantrelDoc doc{platform};
    QWidget window;
    ContactReportExporter exporter{doc, &window, SONVARA_CLI_REPORT_PATH};
    std::vector<std::string> told;
    Outcome outcome;
};

TEST_F(ContactReportExport, WritesTheReportOfSeveralRecordingsAndTellsIt) {
    const QString folder = QString::fromStdString(dir.File("survey-report"));
    Ask({{WriteRecording(dir, "a", 120, 2), WriteRecording(dir, "b", 120, 3)}, folder});
    exporter.Export();
    ASSERT_NE(exporter.ProgressWindow(), nullptr);
    EXPECT_TRUE(exporter.Busy());
    // The window follows the program's steps: two a recording, the overview, the pages.
    int highest = 0, steps = 0;
    ASSERT_TRUE(RunUntil(
        [&] {
            if (QProgressDialog* window = exporter.ProgressWindow()) {
                highest = std::max(highest, window->value());
                steps = window->maximum();
            }
            return outcome.done;
        },
        60000));
    EXPECT_EQ(steps, 6);
    EXPECT_GT(highest, 0);
    EXPECT_EQ(outcome.status, 0);
    EXPECT_FALSE(outcome.cancelled);
    EXPECT_EQ(exporter.ProgressWindow(), nullptr);
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0].rfind("5 contacts of 2 recordings written to ", 0), 0u) << told[0];
    EXPECT_TRUE(fs::exists(dir.File("survey-report/index.html")));
    EXPECT_TRUE(fs::exists(dir.File("survey-report.pdf")));
}

TEST_F(ContactReportExport, ACancelledReportLeavesNothingAndTellsNothing) {
    // Long enough to be still at work when the cancel comes.
    const QString input = WriteRecording(dir, "long", 8000, kMaxEvents);
    const std::set<std::string> before = Entries(dir.File(""));
    Ask({{input}, QString::fromStdString(dir.File("long-report"))});
    exporter.Export();
    ASSERT_TRUE(RunUntil([&] { return Entries(dir.File("")).size() > before.size(); }, 20000));
    exporter.Cancel();
    ASSERT_TRUE(RunUntil([this] { return outcome.done; }, 30000));
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_EQ(outcome.status, 1);
    EXPECT_TRUE(told.empty());
    EXPECT_EQ(Entries(dir.File("")), before);
    EXPECT_FALSE(exporter.Busy());
}

}  // namespace
