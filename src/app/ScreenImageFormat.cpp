#include "app/ScreenImageFormat.h"

#include <cctype>

const std::array<ScreenImageFilter, 5>& ScreenImageFilters() {
    static const std::array<ScreenImageFilter, 5> filters{{
        {"Bitmap: (*.BMP)", "*.bmp", "bmp", "image/bmp", ScreenImageFormat::Bmp},
        {"Graphics Interchange Format: (*.GIF)", "*.gif", "gif", "image/gif",
         ScreenImageFormat::Gif},
        {"JPG File Interchange Format: (*.JPG)", "*.jpg", "jpg", "image/jpeg",
         ScreenImageFormat::Jpeg},
        {"Tag Image File Format: (*.TIF)", "*.tif", "tif", "image/tiff", ScreenImageFormat::Tiff},
        {"Portable Networks Graphics: (*.PNG)", "*.png", "png", "image/png",
         ScreenImageFormat::Png},
    }};
    return filters;
}

std::string ScreenImageFilterText() {
    std::string text;
    for (const ScreenImageFilter& filter : ScreenImageFilters()) {
        if (!text.empty()) text += ";;";
        text += filter.text;
    }
    return text;
}

ScreenImagePath ChooseScreenImagePath(const std::string& chosen) {
    ScreenImagePath result;
    // The directories keep their case: on this system another case names another directory.
    const std::size_t slash = chosen.find_last_of('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    result.path = chosen;
    for (std::size_t i = nameStart; i < result.path.size(); ++i) {
        result.path[i] =
            static_cast<char>(std::tolower(static_cast<unsigned char>(result.path[i])));
    }
    const std::size_t dot = result.path.find_last_of('.');
    // No extension, or nothing before it (".png" alone names no picture).
    if (dot == std::string::npos || dot <= nameStart) return result;
    // A name shorter than an extension of three characters is refused, not read past.
    const std::string extension = result.path.substr(dot + 1);
    if (extension.size() < 3) return result;
    for (const ScreenImageFilter& filter : ScreenImageFilters()) {
        if (extension.compare(0, 3, filter.extension) == 0) {
            result.valid = true;
            result.filter = &filter;
            return result;
        }
    }
    return result;
}
