#include "platform/file_writes.h"
#include "support/file_size_limit.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <sys/file.h>
#include <sys/stat.h>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;
using namespace tl;

namespace {

std::string Contents(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void Put(const std::string &path, const std::string &bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

} // namespace

TEST(ReplaceFile, AWriteCutShortLeavesTheOldFileWholeAndNothingBeside)
{
    test::TempDir dir;
    const std::string file = dir / "data.bin";
    const std::string old(3000, 'o');
    Put(file, old);
    ::chmod(file.c_str(), 0640);
    {
        test::FileSizeLimit limit(4096);
        std::string error;
        EXPECT_FALSE(ReplaceFile(file, std::string(10000, 'n'), &error));
        EXPECT_NE(error.find("data.bin"), std::string::npos) << error;
    }
    EXPECT_EQ(Contents(file), old);
    EXPECT_EQ(test::FileNames(dir.path()), std::vector<std::string>{"data.bin"});

    ASSERT_TRUE(ReplaceFile(file, "new"));
    EXPECT_EQ(Contents(file), "new");
    EXPECT_EQ(fs::status(file).permissions(), static_cast<fs::perms>(0640));
    EXPECT_EQ(test::FileNames(dir.path()), std::vector<std::string>{"data.bin"});
}

// A link at the name is followed and stays a link; anything but a regular file is left alone.
TEST(ReplaceFile, FollowsLinksAndNeverReplacesWhatIsNotARegularFile)
{
    test::TempDir dir;
    fs::create_directory(dir / "real");
    Put(dir / "real/target", "old");
    fs::create_symlink("real/target", dir / "link");
    ASSERT_TRUE(ReplaceFile(dir / "link", "new"));
    EXPECT_TRUE(fs::is_symlink(dir / "link"));
    EXPECT_EQ(Contents(dir / "real/target"), "new");
    EXPECT_EQ(LinkTarget(dir / "link"), dir / "real/target");

    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    fs::create_directory(dir / "folder");
    fs::create_symlink("fifo", dir / "link-to-fifo");
    for (const char *name : {"fifo", "folder", "link-to-fifo"}) {
        SCOPED_TRACE(name);
        std::string error;
        EXPECT_FALSE(CanReplaceFile(dir / name, &error));
        EXPECT_FALSE(error.empty());
        EXPECT_FALSE(ReplaceFile(dir / name, "x"));
    }
    EXPECT_TRUE(fs::is_fifo(dir / "fifo"));
    EXPECT_TRUE(fs::is_directory(dir / "folder"));
    EXPECT_FALSE(CanReplaceFile(dir / "missing/file"));
    EXPECT_FALSE(ReplaceFile(dir / "missing/file", "x"));
    EXPECT_TRUE(CanReplaceFile(dir / "new-file"));
}

TEST(ReadRegularFile, TakesOnlyARegularFileOfBoundedSize)
{
    test::TempDir dir;
    Put(dir / "small", "abc");
    Put(dir / "large", std::string(101, 'x'));
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    fs::create_symlink("small", dir / "link");
    fs::create_symlink("/dev/zero", dir / "zero");
    std::string bytes;
    EXPECT_EQ(ReadRegularFile(dir / "small", 100, bytes), ReadResult::Read);
    EXPECT_EQ(bytes, "abc");
    EXPECT_EQ(ReadRegularFile(dir / "link", 3, bytes), ReadResult::Read);
    EXPECT_EQ(bytes, "abc");
    EXPECT_EQ(ReadRegularFile(dir / "missing", 100, bytes), ReadResult::Missing);
    for (const char *name : {"large", "fifo", "zero"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(ReadRegularFile(dir / name, 100, bytes), ReadResult::Unreadable);
        EXPECT_TRUE(bytes.empty());
    }
    EXPECT_EQ(ReadRegularFile(dir.path(), 100, bytes), ReadResult::Unreadable);
}

// Only the files a replacement makes before its rename go: not links, not other names.
TEST(RemoveLeftoverTemporaries, RemovesOnlyTheReplacementsOwnFiles)
{
    test::TempDir dir;
    for (const char *name : {"s.ini", "s.ini.tmp-aZ09xY", "s.ini.lock", "s.ini.tmp-abcdefg", "s.ini.tmp-abc-e",
                             "s.ini.backup", "t.ini.tmp-aZ09xY", "kept"})
        Put(dir / name, "x");
    fs::create_symlink("kept", dir / "s.ini.tmp-Linked");
    RemoveLeftoverTemporaries(dir / "s.ini");
    EXPECT_EQ(test::FileNames(dir.path()),
              (std::vector<std::string>{"kept", "s.ini", "s.ini.backup", "s.ini.lock", "s.ini.tmp-Linked",
                                        "s.ini.tmp-abc-e", "s.ini.tmp-abcdefg", "t.ini.tmp-aZ09xY"}));
}

// A lock file that no live process holds is taken over at once, whatever it holds; one that a
// live holder has is waited for and not taken.
TEST(FileLock, ALockLeftBehindIsTakenAtOnceAndALiveOneIsNot)
{
    test::TempDir dir;
    const std::string lockFile = dir / "s.ini.lock";
    for (const std::string &left : {std::string(), std::string("12"), std::string("999999\nx\nhost\n")}) {
        SCOPED_TRACE(left);
        Put(lockFile, left);
        FileLock lock(lockFile);
        ASSERT_TRUE(lock.tryLock(0));
        lock.unlock();
        EXPECT_FALSE(fs::exists(lockFile));
    }

    FileLock first(lockFile), second(lockFile);
    ASSERT_TRUE(first.tryLock(0));
    EXPECT_NE(Contents(lockFile).find(std::to_string(::getpid()) + "\n"), std::string::npos);
    EXPECT_FALSE(second.tryLock(0));
    EXPECT_TRUE(fs::exists(lockFile));
    first.unlock();
    EXPECT_TRUE(second.tryLock(0));
}
