#pragma once
// The image formats the screen is saved in, and the rule that picks one from a chosen path:
// the file name (never its directories) is lower-cased and the three characters after its last
// dot name the format, so "shot.tiff" is a TIFF and "shot.jpeg" is refused.

#include <array>
#include <string>

enum class ScreenImageFormat { Bmp, Gif, Jpeg, Tiff, Png };

struct ScreenImageFilter {
    const char* text;       // "Bitmap: (*.BMP)"
    const char* pattern;    // "*.bmp"
    const char* extension;  // the three characters that select it
    const char* mimeType;   // "image/bmp"
    ScreenImageFormat format;
};

// The dialog's filters, in the order it lists them.
const std::array<ScreenImageFilter, 5>& ScreenImageFilters();
// The filters as one dialog filter text, ";;" between them.
std::string ScreenImageFilterText();

inline constexpr const char* kSaveImageTitle = "Save Image As:";
inline constexpr const char* kCantSaveScreen = "Can't save the screen!";
inline constexpr const char* kInvalidFileFormat = "Invalid File Format";

struct ScreenImagePath {
    bool valid = false;
    std::string path;  // the path to write: directories as given, file name lower-cased
    const ScreenImageFilter* filter = nullptr;
};

// The path to write and its format; not valid when the file name has no extension of three
// characters or more, or the extension names none of the five formats.
ScreenImagePath ChooseScreenImagePath(const std::string& chosen);
