#pragma once
// The image options that `sonvara-cli render` and `sonvara-cli acquire --images` share, and how
// they set up a document's images: composite mode on, with the composite and the three channel
// images at the chosen width and zoom, the side mode and the colour table or palette file.

#include <optional>
#include <string>
#include <vector>

class CVantrelDoc;

namespace CLI {
class App;
}

namespace cli {

struct ImageOptions {
    int width = 1000;  // client width for "Fill the Screen"
    int zoomMode = 0;  // 0 fill, 1 100 %, 2 200 %
    int sideMode = 3;  // 1 port, 2 starboard, 3 both
    std::optional<int> colourTable;
    std::string paletteFile;
};

// Adds the image options to a command line; parsed values land in `options`.
void AddImageOptions(CLI::App& app, ImageOptions& options);

// Applies the options to a new document; false (with a reason) when the palette file cannot be
// read.
bool PrepareImages(CVantrelDoc& doc, const ImageOptions& options, std::string& error);

struct RenderOptions {
    std::string file;
    std::string outDir;
    ImageOptions images;
    int every = 0;  // write numbered images every N records (0: once at the end)
    std::string sensorsFile;   // --sensors: the per-record sensor table (CSV)
    std::string settingsFile;  // --settings: a settings file read before playing
};

struct RenderParse {
    std::optional<RenderOptions> options;  // empty for help, version or a mistake
    bool help = false;
    bool version = false;
    std::string text;   // the help or version text
    std::string error;  // one line naming the option
};
RenderParse ParseRenderArguments(const std::vector<std::string>& args);
std::string RenderUsage();

// Names of the written images: "L.png", or "L-000200.png" after 200 records with --every.
std::string ImageFileName(const char* image, int records, bool numbered);

bool ToInt(const std::string& text, int& value);
// A whole number in minimum .. maximum.
bool IntIn(const std::string& text, int minimum, int maximum);

}  // namespace cli
