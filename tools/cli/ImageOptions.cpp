#include "ImageOptions.h"

#include <charconv>
#include <cstdio>

#include "acquisition/CVantrelDoc.h"

namespace cli {

bool ToInt(const std::string& text, int& value) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end && !text.empty();
}

OptionTake TakeImageOption(const std::vector<std::string>& args, std::size_t& i,
                           ImageOptions& options, std::string& error) {
    const std::string& arg = args[i];
    if (arg != "--width" && arg != "--zoom" && arg != "--side" && arg != "--color-table" &&
        arg != "--palette") {
        return OptionTake::NotMine;
    }
    if (i + 1 >= args.size()) {
        error = arg + " needs a value";
        return OptionTake::Error;
    }
    const std::string& value = args[++i];
    int number = 0;
    if (arg == "--width") {
        if (!ToInt(value, number) || number < 16 || number > 4096) {
            error = "--width wants 16 .. 4096 pixels";
            return OptionTake::Error;
        }
        options.width = number;
    } else if (arg == "--zoom") {
        const char* names[] = {"fill", "100", "200"};
        options.zoomMode = -1;
        for (int mode = 0; mode < 3; ++mode) {
            if (value == names[mode]) options.zoomMode = mode;
        }
        if (options.zoomMode < 0) {
            error = "--zoom wants fill, 100 or 200";
            return OptionTake::Error;
        }
    } else if (arg == "--side") {
        if (value == "port") {
            options.sideMode = 1;
        } else if (value == "stbd") {
            options.sideMode = 2;
        } else if (value == "both") {
            options.sideMode = 3;
        } else {
            error = "--side wants port, stbd or both";
            return OptionTake::Error;
        }
    } else if (arg == "--color-table") {
        if (!ToInt(value, number) || number < 0 || number > 9) {
            error = "--color-table wants 0 .. 9";
            return OptionTake::Error;
        }
        options.colourTable = number;
    } else {
        options.paletteFile = value;
    }
    return OptionTake::Taken;
}

std::string ImageOptionsUsage() {
    return R"(  --width W           image width for "fill" (16 .. 4096, default 1000)
  --zoom fill|100|200 fill: W x 2000 rows; 100: 2000 x 2000; 200: 4000 x 4000 (default fill)
  --side port|stbd|both
                      which side of the swath the images show (default both)
  --color-table N     colour table 0 .. 9 for the 8-bit images (default 9)
  --palette FILE.pal  a palette file instead of a colour table
)";
}

bool PrepareImages(CVantrelDoc& doc, const ImageOptions& options, std::string& error) {
    if (options.colourTable) doc.SetColourTableSetting(*options.colourTable);
    if (!options.paletteFile.empty()) {
        doc.palette.useCustomPalette = 1;
        if (!doc.LoadPaletteFile(options.paletteFile)) {
            error = "cannot read the palette file " + options.paletteFile;
            return false;
        }
    }
    doc.images.compositeMode = 1;
    doc.SetSideMode(options.sideMode);
    std::int32_t changed = 1;
    doc.SizeCompositeImage(options.zoomMode, options.width, changed);
    for (int channel = 0; channel < kSideScanChannels; ++channel) {
        changed = 1;
        doc.SizeChannelImage(channel, options.zoomMode, options.width, changed);
    }
    return true;
}

RenderParse ParseRenderArguments(const std::vector<std::string>& args) {
    RenderParse result;
    RenderOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            result.help = true;
            return result;
        }
        const OptionTake take = TakeImageOption(args, i, options.images, result.error);
        if (take == OptionTake::Error) return result;
        if (take == OptionTake::Taken) continue;
        if (arg == "--out" || arg == "--every" || arg == "--sensors" || arg == "--settings") {
            if (i + 1 >= args.size()) {
                result.error = arg + " needs a value";
                return result;
            }
            const std::string& value = args[++i];
            if (arg == "--out") {
                options.outDir = value;
            } else if (arg == "--sensors") {
                options.sensorsFile = value;
            } else if (arg == "--settings") {
                options.settingsFile = value;
            } else if (!ToInt(value, options.every) || options.every < 1) {
                result.error = "--every wants a whole number of at least 1";
                return result;
            }
        } else if (!arg.empty() && arg[0] == '-') {
            result.error = "unknown option '" + arg + "'";
            return result;
        } else if (options.file.empty()) {
            options.file = arg;
        } else {
            result.error = "only one data file can be rendered";
            return result;
        }
    }
    if (options.file.empty()) {
        result.error = "a data file (FILE.svx) is required";
    } else if (options.outDir.empty()) {
        result.error = "--out DIR is required";
    } else {
        result.options = options;
    }
    return result;
}

std::string RenderUsage() {
    return "Usage: sonvara-cli render FILE.svx --out DIR [options]\n\n"
           "Plays the data file headless through the same ingest as the application (composite\n"
           "mode, every channel image) and writes L.png, M.png and H.png (8-bit, through the\n"
           "colour table), composite.png (24-bit) and echo.png (the echogram as its window\n"
           "shows it at the images' height; not with --every) into DIR.\n\n"
           "Options:\n"
           "  --out DIR           directory for the images (created when missing)\n"
           "  --every N           write numbered images (L-000200.png, ...) every N records\n"
           "  --sensors OUT.csv   one row per stored record: the orientation converted, before\n"
           "                      smoothing, and as shown (degrees, deg C, metres), altitude\n"
           "  --settings FILE     read a settings file first (filters, declination, ...)\n" +
           ImageOptionsUsage() +
           "  -h, --help          show this text\n\n"
           "Exit status: 0 when the whole file was played, 1 when it is damaged or holds no\n"
           "record (the images show what was played), 2 on a usage or file error.\n";
}

std::string ImageFileName(const char* image, int records, bool numbered) {
    if (!numbered) return std::string(image) + ".png";
    char name[64];
    std::snprintf(name, sizeof name, "%s-%06d.png", image, records);
    return name;
}

}  // namespace cli
