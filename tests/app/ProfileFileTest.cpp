#include <gtest/gtest.h>

#include <sys/stat.h>

#include <climits>
#include <filesystem>
#include <string>

#include "shell/ProfileFile.h"
#include "support/TempDir.h"

namespace {

const char* const kSample =
    "; Sonvara settings\n"
    "[System]\n"
    "Units=1\n"
    "Read File Dir:=/data/sonar/\n"
    "Foreign Key = keep me \n"
    "\n"
    "; heads follow\n"
    "[Sonar L]\n"
    "IP Address=192.168.0.2\n"
    "Freqency=120000\n"
    "\n"
    "[View]\n"
    "Color Table=4\n";

TEST(ProfileFileTest, NamesAreFoundCaseInsensitively) {
    const ProfileFile profile = ProfileFile::FromText(kSample);
    struct Case {
        const char *section, *key, *expected;
    };
    const Case cases[] = {
        {"System", "Units", "1"},
        {"SYSTEM", "units", "1"},
        {"system", "READ FILE DIR:", "/data/sonar/"},
        {"sonar l", "ip address", "192.168.0.2"},
        {" Sonar L ", " Freqency ", "120000"},
        {"System", "Foreign Key", "keep me"},
        {"view", "color table", "4"},
        {"View", "Units", "<default>"},
        {"Sonar", "IP Address", "<default>"},
        {"Palette", "UseCustomPalette", "<default>"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(profile.GetProfileString(c.section, c.key, "<default>"), c.expected)
            << c.section << " / " << c.key;
    }
}

TEST(ProfileFileTest, WholeNumbersFromText) {
    struct Case {
        const char* value;
        int expected;
    };
    const Case cases[] = {
        {"42", 42},
        {"  42", 42},
        {"-7", -7},
        {"+5", 5},
        {"12abc", 12},
        {"abc", 0},
        {"-", 0},
        {"0x10", 0},
        {"3.7", 3},
        {"\"15\"", 15},
        {"'-2'", -2},
        {"- 4", 0},
        {"2147483647", INT_MAX},
        {"2147483648", INT_MAX},
        {"99999999999999999999", INT_MAX},
        {"-2147483648", INT_MIN},
        {"-99999999999", INT_MIN},
        {"\x01\xff", 0},
    };
    for (const Case& c : cases) {
        const ProfileFile profile = ProfileFile::FromText(std::string("[S]\nK=") + c.value + "\n");
        EXPECT_EQ(profile.GetProfileInt("S", "K", 77), c.expected) << c.value;
    }
    const ProfileFile profile = ProfileFile::FromText("[S]\nEmpty=\nBlank=   \n");
    EXPECT_EQ(profile.GetProfileInt("S", "Empty", 77), 77);
    EXPECT_EQ(profile.GetProfileInt("S", "Blank", 77), 77);
    EXPECT_EQ(profile.GetProfileInt("S", "Missing", 77), 77);
    EXPECT_EQ(ProfileTextToInt("50 m"), 50);
}

// Each write changes exactly the lines it must; everything else stays byte for byte.
TEST(ProfileFileTest, WritesChangeOnlyWhatTheyMust) {
    struct Case {
        const char* name;
        const char* before;
        const char *section, *key, *value;
        const char* after;
    };
    const Case cases[] = {
        {"update in place", "; c\n[A]\nx=1\ny = 2 \n\n[B]\nx=3\n", "a", "Y", "20",
         "; c\n[A]\nx=1\ny = 20\n\n[B]\nx=3\n"},
        {"update an empty value", "[A]\nk=\n", "A", "k", "v", "[A]\nk=v\n"},
        {"new key after the last key of its section", "[A]\nx=1\n\n; about B\n[B]\nx=3\n", "A", "z",
         "9", "[A]\nx=1\nz=9\n\n; about B\n[B]\nx=3\n"},
        {"new key in an empty section", "[A]\n[B]\nx=3\n", "A", "z", "9", "[A]\nz=9\n[B]\nx=3\n"},
        {"new key in the last section", "[A]\nx=1", "A", "z", "9", "[A]\nx=1\nz=9\n"},
        {"new section at the end", "[A]\nx=1\n", "New", "k", "v", "[A]\nx=1\n\n[New]\nk=v\n"},
        {"new section after a blank line", "[A]\nx=1\n\n", "New", "k", "v",
         "[A]\nx=1\n\n[New]\nk=v\n"},
        {"new section without a last line end", "[A]\nx=1", "New", "k", "v",
         "[A]\nx=1\n\n[New]\nk=v\n"},
        {"new section in an empty file", "", "New", "k", "v", "[New]\nk=v\n"},
        {"CRLF kept and used", "[A]\r\nx=1\r\n", "A", "y", "2", "[A]\r\nx=1\r\ny=2\r\n"},
        {"CRLF update", "[A]\r\nx=1\r\n", "A", "x", "5", "[A]\r\nx=5\r\n"},
        {"mixed line ends kept", "[A]\nx=1\r\ny=2\n", "A", "y", "3", "[A]\nx=1\r\ny=3\n"},
        {"first duplicate is updated", "[A]\nk=1\nk=2\n", "A", "K", "9", "[A]\nk=9\nk=2\n"},
        {"key before any section is not the section's", "k=1\n[A]\n", "A", "k", "2",
         "k=1\n[A]\nk=2\n"},
        {"header without bracket", "[A\nk=1\n", "A", "k", "2", "[A\nk=2\n"},
        {"line breaks in a value become blanks", "[A]\n", "A", "k", "a\r\nb", "[A]\nk=a  b\n"},
        {"comment lines are not keys", "[A]\n;k=1\n#k=2\n", "A", "k", "3",
         "[A]\nk=3\n;k=1\n#k=2\n"},
        {"second section of a name", "[A]\nx=1\n[B]\n[A]\nk=1\n", "A", "k", "2",
         "[A]\nx=1\n[B]\n[A]\nk=2\n"},
        {"new key goes to the first section of a name", "[A]\nx=1\n[B]\n[A]\nk=1\n", "A", "n", "2",
         "[A]\nx=1\nn=2\n[B]\n[A]\nk=1\n"},
        {"byte-order mark", "\xEF\xBB\xBF[A]\nk=1\n", "A", "k", "2", "\xEF\xBB\xBF[A]\nk=2\n"},
    };
    for (const Case& c : cases) {
        ProfileFile profile = ProfileFile::FromText(c.before);
        EXPECT_TRUE(profile.WriteProfileString(c.section, c.key, c.value)) << c.name;
        EXPECT_EQ(profile.Text(), c.after) << c.name;
    }
}

TEST(ProfileFileTest, ReadsAfterAwkwardLines) {
    const ProfileFile profile = ProfileFile::FromText(
        "k=before\r\n[A]\r\nk = \"quoted\" \r\nk=second\r\nnot a key\r\n=novalue\r\n"
        "[B\r\nx=open header\r\n[C] trailing text\r\ny=1\r\n[A]\r\nlate=1\r\n");
    struct Case {
        const char *section, *key, *expected;
    };
    const Case cases[] = {
        {"A", "k", "quoted"}, {"B", "x", "open header"}, {"C", "y", "1"},
        {"A", "late", "1"},   {"A", "not a key", "-"},   {"A", "", "-"},
        {"", "k", "-"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(profile.GetProfileString(c.section, c.key, "-"), c.expected)
            << c.section << " / " << c.key;
    }
}

TEST(ProfileFileTest, RefusedNamesChangeNothing) {
    struct Case {
        const char *section, *key;
    };
    const Case cases[] = {{"", "k"},    {"A", ""},     {"  ", "k"}, {"A", "a=b"}, {"A]", "k"},
                          {"A\n", "k"}, {"A", "k\rx"}, {"A", "[k"}, {"A", ";k"},  {"A", "#k"}};
    for (const Case& c : cases) {
        ProfileFile profile = ProfileFile::FromText("[A]\nk=1\n");
        EXPECT_FALSE(profile.WriteProfileString(c.section, c.key, "v")) << c.section << c.key;
        EXPECT_EQ(profile.Text(), "[A]\nk=1\n");
    }
}

TEST(ProfileFileTest, UntouchedTextComesBackUnchanged) {
    const std::string texts[] = {
        "",
        "no line end",
        "\n\n\n",
        "\r\n\r",
        std::string("[A]\nk=\0\xff\x80\n", 10),
        "[A]\nk=" + std::string(200000, 'x') + "\n[B]\ny=2",
        "]]]][[[[====\n=\n[\n",
    };
    for (const std::string& text : texts) {
        EXPECT_EQ(ProfileFile::FromText(text).Text(), text);
    }
}

TEST(ProfileFileTest, LongLinesAndBinaryValues) {
    const std::string longValue(100000, 'v');
    ProfileFile profile = ProfileFile::FromText("[A]\nk=" + longValue + "\n[B]\nb=1\n");
    EXPECT_EQ(profile.GetProfileString("A", "k", ""), longValue);
    EXPECT_EQ(profile.GetProfileInt("B", "b", 0), 1);
    const std::string binary("\x01\x02\xfe\xff\x7f", 5);
    ASSERT_TRUE(profile.WriteProfileString("B", "bin", binary));
    EXPECT_EQ(ProfileFile::FromText(profile.Text()).GetProfileString("B", "bin", ""), binary);
    EXPECT_EQ(profile.GetProfileString("A", "k", ""), longValue);
}

TEST(ProfileFileTest, WriteThenReadGivesTheValue) {
    ProfileFile profile = ProfileFile::FromText("[A]\nk=1\nk=2\n[a]\nk=3\n");
    ASSERT_TRUE(profile.WriteProfileInt("A", "k", -12));
    EXPECT_EQ(profile.GetProfileInt("a", "K", 0), -12);
    ASSERT_TRUE(profile.WriteProfileString("A", "q", "  spaced  "));
    EXPECT_EQ(profile.GetProfileString("A", "q", ""), "spaced");
    EXPECT_EQ(profile.Text(), "[A]\nk=-12\nk=2\nq=  spaced  \n[a]\nk=3\n");
}

TEST(ProfileFileTest, FilesOnDisk) {
    TempDir dir;
    const std::string path = dir.File("Sonvara_RGB.ini");
    ProfileFile missing(path);
    EXPECT_EQ(missing.GetProfileInt("View", "Color Table", 9), 9);
    EXPECT_FALSE(missing.Load());

    TempDir::WriteText(path, kSample);
    ::chmod(path.c_str(), 0640);
    ProfileFile profile(path);
    EXPECT_EQ(profile.GetProfileInt("view", "color table", 9), 4);
    ASSERT_TRUE(profile.WriteProfileInt("View", "Color Table", 7));
    ASSERT_TRUE(profile.WriteProfileString("Palette", "PaletteFileName", "a.pal"));
    ASSERT_TRUE(profile.Save());
    const std::string expected =
        std::string(kSample).replace(std::string(kSample).find("Table=4"), 7, "Table=7") +
        "\n[Palette]\nPaletteFileName=a.pal\n";
    EXPECT_EQ(TempDir::ReadText(path), expected);
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    // Nothing but the file itself is left in the directory.
    int entries = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path)) {
        ++entries;
        EXPECT_EQ(entry.path().filename(), "Sonvara_RGB.ini");
    }
    EXPECT_EQ(entries, 1);

    ProfileFile elsewhere(dir.File("no/such/dir/x.ini"));
    elsewhere.WriteProfileString("A", "k", "v");
    EXPECT_FALSE(elsewhere.Save());
    EXPECT_FALSE(ProfileFile::FromText("[A]\n").Save());  // no path
}

TEST(ProfileFileTest, SavingThroughALinkReplacesTheLinkedFile) {
    TempDir dir;
    const std::string target = dir.File("real.ini");
    const std::string link = dir.File("link.ini");
    TempDir::WriteText(target, "[A]\nk=1\n");
    std::filesystem::create_symlink(target, link);
    ProfileFile profile(link);
    ASSERT_TRUE(profile.WriteProfileString("A", "k", "2"));
    ASSERT_TRUE(profile.Save());
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(TempDir::ReadText(target), "[A]\nk=2\n");
}

TEST(ProfileFileTest, AFifoOrDirectoryInTheSettingsPlaceIsNeitherReadNorReplaced) {
    TempDir dir;
    const std::string fifo = dir.File("fifo.ini");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path : {fifo, dir.File("")}) {
        // Reading a FIFO without a writer would wait for ever.
        ProfileFile profile(path);
        EXPECT_FALSE(profile.Load()) << path;
        ASSERT_TRUE(profile.WriteProfileInt("View", "Color Table", 3));
        EXPECT_FALSE(profile.Save()) << path;
    }
    struct stat info {};
    ASSERT_EQ(::stat(fifo.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path),
                            std::filesystem::directory_iterator()),
              1);
}

}  // namespace
