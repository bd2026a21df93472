// Exports on a thread of their own: progress, a cancel that reaches the job, one job at a time.

#include <gtest/gtest.h>

#include <filesystem>
#include <future>

#include "ExportTestSupport.h"
#include "export/ExportRunner.h"
#include "export/XtfExport.h"

namespace {

TEST(ExportRunnerTest, RunsAnExportToItsEnd) {
    TempDir dir;
    const std::string svx = Recording(dir, "a.svx", {.records = 130});
    svx::ExportRunner runner;
    ASSERT_TRUE(runner.Start([&](const svx::ExportProgress& progress) {
        return svx::ExportXtf(svx, dir.File("a.xtf"), progress);
    }));
    const std::optional<svx::ExportReport> report = runner.Wait();
    ASSERT_TRUE(report);
    EXPECT_TRUE(report->Ok()) << report->error;
    EXPECT_EQ(report->records, 130u);
    EXPECT_DOUBLE_EQ(runner.Fraction(), 1.0);
    EXPECT_FALSE(runner.Running());
    EXPECT_TRUE(std::filesystem::exists(dir.File("a.xtf")));
    EXPECT_FALSE(runner.Wait()) << "a report is handed over once";
}

TEST(ExportRunnerTest, CancelReachesTheJobAndOneJobRunsAtATime) {
    std::promise<void> started;
    svx::ExportRunner runner;
    ASSERT_TRUE(runner.Start([&started](const svx::ExportProgress& progress) {
        svx::ExportReport report;
        started.set_value();
        std::uint64_t step = 0;
        while (progress(++step % 100, 100)) std::this_thread::yield();  // until cancelled
        report.records = step;
        return report;
    }));
    started.get_future().wait();
    EXPECT_TRUE(runner.Running());
    EXPECT_FALSE(runner.Start([](const svx::ExportProgress&) { return svx::ExportReport{}; }));
    runner.Cancel();
    const std::optional<svx::ExportReport> report = runner.Wait();
    ASSERT_TRUE(report);
    EXPECT_TRUE(report->cancelled);
    EXPECT_GT(report->records, 0u);
    EXPECT_TRUE(runner.Start([](const svx::ExportProgress&) { return svx::ExportReport{}; }));
    EXPECT_FALSE(runner.Wait()->cancelled);
}

TEST(ExportRunnerTest, ACancelledExportLeavesNoFile) {
    TempDir dir;
    const std::string svx = Recording(dir, "a.svx", {.records = 200});
    svx::ExportRunner runner;
    runner.Cancel();  // a cancel before the start is forgotten by the start
    ASSERT_TRUE(runner.Start([&](const svx::ExportProgress& progress) {
        runner.Cancel();  // as the user would, once it runs
        return svx::ExportXtf(svx, dir.File("a.xtf"), progress);
    }));
    const std::optional<svx::ExportReport> report = runner.Wait();
    ASSERT_TRUE(report);
    EXPECT_TRUE(report->cancelled);
    EXPECT_FALSE(std::filesystem::exists(dir.File("a.xtf")));
}

TEST(ExportRunnerTest, ACancelAfterTheLastReportKeepsTheFinishedOutput) {
    std::promise<void> reported, cancelled;
    svx::ExportRunner runner;
    ASSERT_TRUE(runner.Start([&](const svx::ExportProgress& progress) {
        svx::ExportReport report;
        EXPECT_TRUE(progress(100, 100));
        reported.set_value();
        cancelled.get_future().wait();  // the output is written after the last report
        report.records = 1;
        return report;
    }));
    reported.get_future().wait();
    runner.Cancel();
    cancelled.set_value();
    const std::optional<svx::ExportReport> report = runner.Wait();
    ASSERT_TRUE(report);
    EXPECT_FALSE(report->cancelled);
    EXPECT_TRUE(report->Ok());
}

}  // namespace
