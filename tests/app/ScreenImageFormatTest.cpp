#include <gtest/gtest.h>

#include "app/ScreenImageFormat.h"

namespace {

TEST(ScreenImageFormatTest, TheFiveFiltersInTheirOrder) {
    EXPECT_EQ(ScreenImageFilterText(),
              "Bitmap: (*.BMP);;Graphics Interchange Format: (*.GIF);;"
              "JPG File Interchange Format: (*.JPG);;Tag Image File Format: (*.TIF);;"
              "Portable Networks Graphics: (*.PNG)");
    const char* mimes[] = {"image/bmp", "image/gif", "image/jpeg", "image/tiff", "image/png"};
    for (std::size_t i = 0; i < 5; ++i) EXPECT_STREQ(ScreenImageFilters()[i].mimeType, mimes[i]);
}

TEST(ScreenImageFormatTest, TheExtensionPicksTheFormat) {
    struct Case {
        const char* chosen;
        const char* written;
        ScreenImageFormat format;
    };
    const Case cases[] = {
        {"shot.bmp", "shot.bmp", ScreenImageFormat::Bmp},
        {"shot.gif", "shot.gif", ScreenImageFormat::Gif},
        {"shot.jpg", "shot.jpg", ScreenImageFormat::Jpeg},
        {"shot.tif", "shot.tif", ScreenImageFormat::Tiff},
        {"shot.png", "shot.png", ScreenImageFormat::Png},
        // The file name is lower-cased; the directories keep their case.
        {"/home/Op/Survey Shots/shot.PNG", "/home/Op/Survey Shots/shot.png",
         ScreenImageFormat::Png},
        // Three characters are compared: .tiff is a TIFF and keeps its name.
        {"/tmp/Shot.TIFF", "/tmp/shot.tiff", ScreenImageFormat::Tiff},
        {"Dir.Old/a.b.Gif", "Dir.Old/a.b.gif", ScreenImageFormat::Gif},
    };
    for (const Case& c : cases) {
        const ScreenImagePath path = ChooseScreenImagePath(c.chosen);
        ASSERT_TRUE(path.valid) << c.chosen;
        EXPECT_EQ(path.path, c.written);
        EXPECT_EQ(path.filter->format, c.format) << c.chosen;
    }
}

TEST(ScreenImageFormatTest, NamesThatPickNoFormatAreRefused) {
    const char* refused[] = {
        "shot.jpeg",        // "jpe" is none of the five
        "shot.bm",          // shorter than an extension: not read past its end
        "shot.",            // an empty extension
        "shot",             // none at all
        "photos.png/shot",  // the dot of a directory is no extension
        ".png",             // nothing before the extension
        "shot.png.txt",     // the last extension counts
        "",
    };
    for (const char* name : refused) {
        EXPECT_FALSE(ChooseScreenImagePath(name).valid) << "'" << name << "'";
    }
}

}  // namespace
