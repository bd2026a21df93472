// The registry of exports: what a program without the mosaic's writers says, a registered run
// taking its kind, and outputs that would overwrite the recording refused before any run.

#include <gtest/gtest.h>

#include <filesystem>

#include "export/ExportRegistry.h"
#include "support/TempDir.h"

namespace {

svx::ExportReport WroteIt(const svx::ExportRequest& request, const svx::ExportProgress&) {
    svx::ExportReport report;
    report.summary = "wrote " + request.output;
    return report;
}

// Leaves the registry as the unit tests found it: no mosaic writers.
struct RegistryReset {
    ~RegistryReset() {
        svx::RegisterExport(svx::ExportKind::GeoTiff, nullptr);
        svx::RegisterExport(svx::ExportKind::Kmz, nullptr);
    }
};

TEST(ExportRegistryTest, AKindIsRunByWhatRegisteredItOrRefusedWithItsName) {
    RegistryReset reset;
    TempDir dir;
    const std::string input = dir.File("line.svx");
    TempDir::WriteText(input, "not read");
    svx::ExportRequest request;
    request.input = input;
    request.output = dir.File("line.tif");
    struct Case {
        svx::ExportKind kind;
        std::string error;
    };
    for (const Case& c : {Case{svx::ExportKind::GeoTiff, "this program does not write GeoTIFF"},
                          Case{svx::ExportKind::Kmz, "this program does not write KMZ"}}) {
        request.kind = c.kind;
        EXPECT_EQ(svx::RunExport(request, {}).error, c.error);
    }
    svx::RegisterExport(svx::ExportKind::Kmz, WroteIt);
    request.kind = svx::ExportKind::Kmz;
    const svx::ExportReport report = svx::RunExport(request, {});
    EXPECT_EQ(report.error, "");
    EXPECT_EQ(report.summary, "wrote " + request.output);
}

TEST(ExportRegistryTest, AnOutputThatIsTheRecordingIsRefusedBeforeTheRun) {
    RegistryReset reset;
    svx::RegisterExport(svx::ExportKind::GeoTiff, WroteIt);
    TempDir dir;
    const std::string input = dir.File("line.svx");
    TempDir::WriteText(input, "kept");
    svx::ExportRequest request;
    request.kind = svx::ExportKind::GeoTiff;
    request.input = input;
    const std::pair<std::string, std::string> outputs[] = {
        {dir.File("./line.svx"), ""}, {dir.File("line.tif"), dir.File("sub/../line.svx")}};
    std::filesystem::create_directory(dir.File("sub"));
    for (const auto& [output, beside] : outputs) {
        SCOPED_TRACE(output + " " + beside);
        request.output = output;
        request.kmzBeside = beside;
        const svx::ExportReport report = svx::RunExport(request, {});
        EXPECT_NE(report.error.find("it is the data file being exported"), std::string::npos);
        EXPECT_EQ(report.summary, "");
    }
    EXPECT_EQ(TempDir::ReadText(input), "kept");
}

}  // namespace
