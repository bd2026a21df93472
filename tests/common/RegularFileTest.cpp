// Files named to be read (and kept) are opened without waiting: a FIFO, a device or a
// directory is refused with its reason at once, a regular file is read whole or in part.

#include "common/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "support/TempDir.h"

namespace {

class RegularFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(dir.path.empty());
        TempDir::WriteText(dir.File("notes.txt"), "0123456789");
        ASSERT_EQ(::mkfifo(Fifo().c_str(), 0600), 0);
    }
    std::string Fifo() const { return dir.File("pipe"); }
    TempDir dir;
};

TEST_F(RegularFileTest, EachKindOfPathHasItsReason) {
    struct Case {
        std::string path;
        int flags;
        std::string why;  // empty: opened
    };
    const std::string missing = dir.File("missing.ini");
    const Case cases[] = {
        {dir.File("notes.txt"), O_RDONLY, ""},
        {dir.File("notes.txt"), O_RDWR, ""},
        {dir.File("new.pal"), O_WRONLY | O_CREAT | O_TRUNC, ""},
        {missing, O_RDONLY, "cannot open " + missing + ": No such file or directory"},
        // Without a writer (reading) or a reader (writing) either would wait for ever.
        {Fifo(), O_RDONLY, Fifo() + " is not a regular file"},
        {Fifo(), O_WRONLY | O_CREAT | O_TRUNC, Fifo() + " is not a regular file"},
        {Fifo(), O_RDWR, Fifo() + " is not a regular file"},
        {"/dev/null", O_RDONLY, "/dev/null is not a regular file"},
        {dir.path, O_RDONLY, dir.path + " is a directory"},
        {dir.path, O_RDWR, dir.path + " is a directory"},
    };
    for (const Case& c : cases) {
        std::string why = "stale";
        const int fd = OpenRegularFile(c.path, c.flags, why);
        EXPECT_EQ(fd >= 0, c.why.empty()) << c.path;
        EXPECT_EQ(why, c.why) << c.path;
        if (fd < 0) continue;
        // Once checked the file blocks as usual: no O_NONBLOCK is left on it.
        EXPECT_EQ(::fcntl(fd, F_GETFL) & O_NONBLOCK, 0) << c.path;
        ::close(fd);
    }
    EXPECT_EQ(RegularFileProblem(Fifo()), Fifo() + " is not a regular file");
    EXPECT_EQ(RegularFileProblem(dir.File("notes.txt")), "");
}

TEST_F(RegularFileTest, ReadsTheWholeFileOrItsStart) {
    std::string bytes, why;
    ASSERT_TRUE(ReadRegularFile(dir.File("notes.txt"), bytes, why)) << why;
    EXPECT_EQ(bytes, "0123456789");
    ASSERT_TRUE(ReadRegularFile(dir.File("notes.txt"), bytes, why, 3)) << why;
    EXPECT_EQ(bytes, "012");
    EXPECT_FALSE(ReadRegularFile(Fifo(), bytes, why));
    EXPECT_EQ(why, Fifo() + " is not a regular file");
    EXPECT_TRUE(bytes.empty());
}

TEST_F(RegularFileTest, WriteAllReportsAFullDevice) {
    const int fd = ::open("/dev/full", O_WRONLY);
    ASSERT_GE(fd, 0);
    errno = 0;
    EXPECT_FALSE(WriteAll(fd, "abc", 3));
    EXPECT_EQ(errno, ENOSPC);
    ::close(fd);
}

}  // namespace
