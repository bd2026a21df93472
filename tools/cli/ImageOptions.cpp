#include "ImageOptions.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdint>
#include <cstdio>

#include "../common/CommandLine.h"

#include "common/RegularFile.h"
#include "document/CVantrelDoc.h"

namespace cli {

bool ToInt(const std::string& text, int& value) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end && !text.empty();
}

bool IntIn(const std::string& text, int minimum, int maximum) {
    int value = 0;
    return ToInt(text, value) && value >= minimum && value <= maximum;
}

namespace {

// The index of `value` among `names`, -1 when it is none of them.
int IndexOf(const std::vector<std::string>& names, const std::string& value) {
    const auto found = std::find(names.begin(), names.end(), value);
    return found == names.end() ? -1 : static_cast<int>(found - names.begin());
}

// An option whose value is one of a few names, stored as index + offset.
void AddChoice(CLI::App& app, const std::string& name, std::vector<std::string> names, int offset,
               int& target, const std::string& help) {
    std::string list;
    for (const std::string& n : names) list += (list.empty() ? "" : "|") + n;
    app.add_option_function<std::string>(
           name,
           [names, offset, &target](const std::string& v) { target = IndexOf(names, v) + offset; },
           help)
        ->type_name(list)
        ->check(
            tools::Wants([names](const std::string& v) { return IndexOf(names, v) >= 0; }, list));
}

}  // namespace

void AddImageOptions(CLI::App& app, ImageOptions& options) {
    app.add_option("--width", options.width, "image width for \"fill\" (default 1000)")
        ->type_name("W")
        ->check(tools::Wants([](const std::string& v) { return IntIn(v, 16, 4096); },
                             "16 .. 4096 pixels"));
    AddChoice(app, "--zoom", {"fill", "100", "200"}, 0, options.zoomMode,
              "fill: W x 2000 rows; 100: 2000 x 2000; 200: 4000 x 4000 (default fill)");
    AddChoice(app, "--side", {"port", "stbd", "both"}, 1, options.sideMode,
              "which side of the swath the images show (default both)");
    app.add_option_function<int>(
           "--color-table", [&options](const int& n) { options.colourTable = n; },
           "colour table for the 8-bit images (default 9)")
        ->type_name("N")
        ->check(tools::Wants([](const std::string& v) { return IntIn(v, 0, 9); }, "0 .. 9"));
    app.add_option("--palette", options.paletteFile, "a palette file instead of a colour table")
        ->type_name("FILE.pal");
}

bool PrepareImages(CVantrelDoc& doc, const ImageOptions& options, std::string& error) {
    if (options.colourTable) doc.SetColourTableSetting(*options.colourTable);
    if (!options.paletteFile.empty()) {
        // The reason, when the file cannot be opened: a FIFO or a device is refused unread.
        const std::string problem = RegularFileProblem(options.paletteFile);
        if (!problem.empty() || !doc.UsePaletteFile(options.paletteFile)) {
            error = "cannot read the palette file " +
                    (problem.empty() ? options.paletteFile : "(" + problem + ")");
            return false;
        }
    }
    doc.FormEveryFrequencyImage();
    doc.SetSideMode(options.sideMode);
    std::int32_t changed = 1;
    doc.SizeCompositeImage(options.zoomMode, options.width, changed);
    for (int channel = 0; channel < kSideScanChannels; ++channel) {
        changed = 1;
        doc.SizeChannelImage(channel, options.zoomMode, options.width, changed);
    }
    return true;
}

namespace {

void DescribeRender(CLI::App& app, RenderOptions& options, std::vector<std::string>& files) {
    app.description(
        "Plays the data file headless through the same ingest as the application (composite\n"
        "mode, every channel image) and writes L.png, M.png and H.png (8-bit, through the\n"
        "colour table), composite.png (24-bit) and echo.png (the echogram as its window\n"
        "shows it at the images' height) into DIR.");
    app.set_version_flag("--version", tools::VersionText("sonvara-cli render"));
    tools::LastValueWins(app);
    app.add_option("file", files, "the data file")->type_name("FILE.svx");
    app.add_option("--out", options.outDir, "directory for the images (created when missing)")
        ->type_name("DIR");
    app.add_option("--every", options.every,
                   "write numbered images (L-000200.png, ...) every N records")
        ->type_name("N")
        ->check(tools::Wants([](const std::string& v) { return IntIn(v, 1, INT32_MAX); },
                             "a whole number of at least 1"));
    app.add_option("--sensors", options.sensorsFile,
                   "one row per stored record: the orientation converted, before smoothing, and "
                   "as shown (degrees, deg C, metres), altitude")
        ->type_name("OUT.csv");
    app.add_option("--settings", options.settingsFile,
                   "read a settings file first (filters, declination, ...)")
        ->type_name("FILE");
    AddImageOptions(app, options.images);
    app.footer(
        "Exit status: 0 when the whole file was played; 1 when the file cannot be read, is\n"
        "damaged or holds no record, or an image cannot be written (the images show what was\n"
        "played); 2 for a mistake on the command line.");
}

}  // namespace

RenderParse ParseRenderArguments(const std::vector<std::string>& args) {
    RenderParse result;
    RenderOptions options;
    std::vector<std::string> files;
    CLI::App app{"", "sonvara-cli render"};
    DescribeRender(app, options, files);
    if (!tools::TakeOutcome(tools::ParseCommandLine(app, args), result)) return result;
    if (files.empty()) {
        result.error = "a data file (FILE.svx) is required";
    } else if (files.size() > 1) {
        result.error = "only one data file can be rendered";
    } else if (options.outDir.empty()) {
        result.error = "--out DIR is required";
    } else {
        options.file = files.front();
        result.options = options;
    }
    return result;
}

std::string RenderUsage() {
    RenderOptions options;
    std::vector<std::string> files;
    CLI::App app{"", "sonvara-cli render"};
    DescribeRender(app, options, files);
    return app.help();
}

std::string ImageFileName(const char* image, int records, bool numbered) {
    if (!numbered) return std::string(image) + ".png";
    char name[64];
    std::snprintf(name, sizeof name, "%s-%06d.png", image, records);
    return name;
}

}  // namespace cli
