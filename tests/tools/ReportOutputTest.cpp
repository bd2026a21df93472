// Where a contact report is written: filled in a temporary folder and PDF beside the targets,
// which replace the targets only on commit; dropped without a commit, nothing is left of them
// and an earlier report stays as it was.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "../support/TempDir.h"
#include "ReportOutput.h"

namespace {

namespace fs = std::filesystem;

std::set<std::string> Entries(const std::string& dir) {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.insert(e.path().filename().string());
    return names;
}

std::string Read(const std::string& path) {
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(ReportOutput, TargetsAreReplacedOnlyOnCommit) {
    const struct {
        bool earlier, pdf, commit;
    } cases[] = {
        {false, false, true}, {true, true, true}, {false, true, false}, {true, true, false}};
    for (const auto& c : cases) {
        TempDir dir;
        const std::string report = dir.File("report"), pdf = c.pdf ? dir.File("r.pdf") : "";
        if (c.earlier) {
            fs::create_directory(report);
            std::ofstream(report + "/old.txt") << "earlier";
            std::ofstream(dir.File("r.pdf")) << "earlier pdf";
        }
        const std::set<std::string> before = Entries(dir.File(""));
        {
            cli::ReportOutput output;
            std::string error;
            ASSERT_TRUE(output.Prepare(report, pdf, error)) << error;
            std::ofstream(output.Folder() + "/index.html") << "new";
            if (c.pdf) std::ofstream(output.PdfFile()) << "new pdf";
            if (c.commit) {
                ASSERT_TRUE(output.Commit(error)) << error;
            }
        }
        const std::string label =
            std::to_string(c.earlier) + std::to_string(c.pdf) + std::to_string(c.commit);
        if (!c.commit) {
            EXPECT_EQ(Entries(dir.File("")), before) << label;
            if (c.earlier) {
                EXPECT_EQ(Read(report + "/old.txt"), "earlier") << label;
            }
            continue;
        }
        std::set<std::string> expected{"report"};
        if (c.pdf || c.earlier) expected.insert("r.pdf");
        EXPECT_EQ(Entries(dir.File("")), expected) << label;
        EXPECT_EQ(Entries(report), std::set<std::string>{"index.html"}) << label;
        if (c.pdf) {
            EXPECT_EQ(Read(dir.File("r.pdf")), "new pdf") << label;
        }
    }
}

}  // namespace
