#include "platform/file_writes.h"
#include "support/file_calls.h"
#include "support/file_size_limit.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
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

// The two ways a replacement makes its new file: unnamed (O_TMPFILE) and named at once, where
// the file system cannot make unnamed files.
struct WritePath {
    const char *name;
    bool noUnnamedFiles;
};
constexpr WritePath kWritePaths[] = {{"unnamed file", false}, {"named file", true}};

// A call that gives a replacement's new file a name: a link of the unnamed file, or the
// exclusive open of a fresh name.
bool IsNamingCall(const test::FileCall &c)
{
    return c.is("linkat") || (c.is("openat") && (c.flags & O_EXCL));
}

std::size_t NamingCalls(const std::vector<test::FileCall> &calls)
{
    return std::count_if(calls.begin(), calls.end(), IsNamingCall);
}

} // namespace

TEST(ReplaceFile, AWriteCutShortLeavesTheOldFileWholeAndNothingBeside)
{
    for (const WritePath &way : kWritePaths) {
        SCOPED_TRACE(way.name);
        test::TempDir dir;
        const std::string file = dir / "data.bin";
        const std::string old(3000, 'o');
        Put(file, old);
        ::chmod(file.c_str(), 0640);
        test::FileCallWatch watch;
        watch.noUnnamedFiles = way.noUnnamedFiles;
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
        EXPECT_EQ(NamingCalls(watch.calls), way.noUnnamedFiles ? 2u : 1u) << "the path taken";
    }
}

// On both paths, writing through a link: the new file is on disk before it takes the name and
// the folder after; each call failing in turn leaves the old file whole (or, once the rename is
// done, the new one) and the link a link, with nothing beside and no descriptor left open; a
// link planted at the temporary name is never written through.
TEST(ReplaceFile, EveryFailingCallLeavesTheOldFileOrTheNewAndNothingBeside)
{
    for (const WritePath &way : kWritePaths) {
        SCOPED_TRACE(way.name);
        test::TempDir dir;
        const std::string file = dir / "data.bin", link = dir / "link";
        fs::create_symlink("data.bin", link);
        const std::string old = "old content", fresh = "new content";
        auto reset = [&] {
            Put(file, old);
            ::chmod(file.c_str(), 0640);
        };
        reset();
        std::vector<test::FileCall> calls;
        {
            test::FileCallWatch watch;
            watch.noUnnamedFiles = way.noUnnamedFiles;
            ASSERT_TRUE(ReplaceFile(link, fresh));
            calls = watch.calls;
        }
        auto at = [&](auto match) {
            return static_cast<std::size_t>(std::find_if(calls.begin(), calls.end(), match) - calls.begin());
        };
        const std::size_t rename = at([](const test::FileCall &c) { return c.is("renameat"); });
        ASSERT_LT(rename, calls.size());
        std::size_t lastWrite = 0, fileSync = calls.size(), folderSync = calls.size();
        for (std::size_t i = 0; i < calls.size(); ++i) {
            if (calls[i].is("write"))
                lastWrite = i;
            if (calls[i].is("fsync") && !calls[i].onFolder && fileSync == calls.size())
                fileSync = i;
            if (calls[i].is("fsync") && calls[i].onFolder)
                folderSync = i;
        }
        EXPECT_LT(lastWrite, fileSync) << "the new file is flushed after its last write";
        EXPECT_LT(fileSync, rename) << "the new file is flushed before it takes the name";
        EXPECT_GT(folderSync, rename) << "the folder is flushed after the rename";
        EXPECT_LT(folderSync, calls.size());

        for (std::size_t i = 0; i < calls.size(); ++i) {
            SCOPED_TRACE(std::to_string(i) + ": " + calls[i].name);
            reset();
            const int descriptors = test::OpenDescriptors();
            bool replaced = false;
            std::string error;
            {
                test::FileCallWatch watch;
                watch.noUnnamedFiles = way.noUnnamedFiles;
                watch.failAt = i;
                replaced = ReplaceFile(link, fresh, &error);
            }
            // Giving the file away may fail (only root can), and a link of the unnamed file has
            // a second way; after the rename the new file is in place whatever follows.
            const bool mayStillSucceed = calls[i].is("fchown") || calls[i].is("linkat") || i > rename;
            if (!mayStillSucceed) {
                EXPECT_FALSE(replaced);
            }
            EXPECT_EQ(Contents(file), replaced ? fresh : old);
            EXPECT_EQ(error.empty(), replaced) << error;
            EXPECT_EQ(fs::status(file).permissions(), static_cast<fs::perms>(0640));
            EXPECT_TRUE(fs::is_symlink(link));
            EXPECT_EQ(test::FileNames(dir.path()), (std::vector<std::string>{"data.bin", "link"}));
            EXPECT_EQ(test::OpenDescriptors(), descriptors);
        }

        // Neither way of linking the unnamed file works: nothing is replaced.
        reset();
        {
            test::FileCallWatch watch;
            watch.noUnnamedFiles = way.noUnnamedFiles;
            watch.before = [](const test::FileCall &c) { return c.is("linkat") ? EIO : 0; };
            EXPECT_EQ(ReplaceFile(link, fresh), way.noUnnamedFiles);
        }
        EXPECT_EQ(Contents(file), way.noUnnamedFiles ? fresh : old);
        EXPECT_EQ(test::FileNames(dir.path()), (std::vector<std::string>{"data.bin", "link"}));

        // Someone plants a link at the temporary name just before the replacement takes it.
        reset();
        Put(dir / "bait", "bait");
        std::string planted;
        {
            test::FileCallWatch watch;
            watch.noUnnamedFiles = way.noUnnamedFiles;
            watch.before = [&](const test::FileCall &c) {
                if (IsNamingCall(c) && planted.empty()) {
                    planted = c.path;
                    fs::create_symlink("bait", dir / planted);
                }
                return 0;
            };
            EXPECT_TRUE(ReplaceFile(link, fresh));
        }
        ASSERT_FALSE(planted.empty());
        EXPECT_EQ(Contents(dir / "bait"), "bait");
        EXPECT_EQ(Contents(file), fresh);
        EXPECT_TRUE(fs::is_symlink(dir / planted));
        EXPECT_EQ(test::FileNames(dir.path()), (std::vector<std::string>{"bait", "data.bin", planted, "link"}));
    }
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
    fs::create_symlink("loop-b", dir / "loop-a");
    fs::create_symlink("loop-a", dir / "loop-b");
    // The temporary name adds 11 bytes to the name, which the folder must still take.
    const std::string longest(NAME_MAX - 11, 'x'), tooLong(NAME_MAX - 10, 'y');
    const std::pair<std::string, const char *> refused[] = {
        {dir / "fifo", "is not a regular file"},
        {dir / "folder", "is a folder"},
        {dir / "link-to-fifo", "is not a regular file"},
        {dir / "loop-a", "Too many levels of symbolic links"},
        {dir / "missing/file", "No such file or directory"},
        {"", "no file name"},
        {dir / "folder/", "ends in /"},
        {dir / "new-folder/", "ends in /"},
        {dir / tooLong, "File name too long"},
        {dir / std::string(NAME_MAX, 'z'), "File name too long"},
    };
    for (const auto &[path, says] : refused) {
        SCOPED_TRACE(path);
        std::string error;
        EXPECT_FALSE(CanReplaceFile(path, &error));
        EXPECT_NE(error.find(says), std::string::npos) << error;
        error.clear();
        EXPECT_FALSE(ReplaceFile(path, "x", &error));
        EXPECT_NE(error.find(says), std::string::npos) << error;
    }
    EXPECT_TRUE(fs::is_fifo(dir / "fifo"));
    EXPECT_TRUE(fs::is_empty(dir / "folder"));
    EXPECT_EQ(test::FileNames(dir.path()),
              (std::vector<std::string>{"fifo", "folder", "link", "link-to-fifo", "loop-a", "loop-b", "real"}));
    EXPECT_TRUE(CanReplaceFile(dir / "new-file"));
    EXPECT_TRUE(CanReplaceFile(dir / longest));
    EXPECT_TRUE(ReplaceFile(dir / longest, "x"));
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
    fs::create_symlink("loop-b", dir / "loop-a");
    fs::create_symlink("loop-a", dir / "loop-b");
    // /proc/self/maps is a regular file whose size is not known before it is read.
    for (const std::string &path : {dir / "large", dir / "fifo", dir / "zero", dir / "loop-a", dir / "small/below",
                                    dir.path(), std::string("/proc/self/maps")}) {
        SCOPED_TRACE(path);
        bytes = "stale";
        EXPECT_EQ(ReadRegularFile(path, 100, bytes), ReadResult::Unreadable);
        EXPECT_TRUE(bytes.empty());
    }

    // Each call failing in turn: nothing read, or (only when the close fails) all of it.
    std::size_t count = 0;
    {
        test::FileCallWatch watch;
        ASSERT_EQ(ReadRegularFile(dir / "small", 100, bytes), ReadResult::Read);
        count = watch.calls.size();
    }
    for (std::size_t i = 0; i < count; ++i) {
        test::FileCallWatch watch;
        watch.failAt = i;
        const int descriptors = test::OpenDescriptors();
        const ReadResult result = ReadRegularFile(dir / "small", 100, bytes);
        SCOPED_TRACE(watch.calls[i].name);
        EXPECT_EQ(result, watch.calls[i].is("close") ? ReadResult::Read : ReadResult::Unreadable);
        EXPECT_EQ(bytes, result == ReadResult::Read ? "abc" : "");
        EXPECT_EQ(test::OpenDescriptors(), descriptors);
    }
}

// Only the files a replacement makes before its rename go: not links, not other names.
TEST(RemoveLeftoverTemporaries, RemovesOnlyTheReplacementsOwnFiles)
{
    test::TempDir dir;
    for (const char *name : {"s.ini", "s.ini.tmp-aZ09xY", "s.ini.lock", "s.ini.tmp-abcdefg", "s.ini.tmp-abc-e",
                             "s.ini.backup", "t.ini.tmp-aZ09xY", "kept"})
        Put(dir / name, "x");
    fs::create_symlink("kept", dir / "s.ini.tmp-Linked");
    const std::vector<std::string> kept{"kept", "s.ini", "s.ini.backup", "s.ini.lock", "s.ini.tmp-Linked",
                                        "s.ini.tmp-abc-e", "s.ini.tmp-abcdefg", "t.ini.tmp-aZ09xY"};
    std::size_t count = 0;
    {
        test::FileCallWatch watch;
        RemoveLeftoverTemporaries(dir / "s.ini");
        count = watch.calls.size();
    }
    EXPECT_EQ(test::FileNames(dir.path()), kept);

    // Each call failing in turn costs at most the leftover, never another file or a descriptor.
    for (std::size_t i = 0; i < count; ++i) {
        Put(dir / "s.ini.tmp-aZ09xY", "x");
        test::FileCallWatch watch;
        watch.failAt = i;
        const int descriptors = test::OpenDescriptors();
        RemoveLeftoverTemporaries(dir / "s.ini");
        SCOPED_TRACE(watch.calls[i].name);
        std::vector<std::string> names = test::FileNames(dir.path());
        names.erase(std::remove(names.begin(), names.end(), "s.ini.tmp-aZ09xY"), names.end());
        EXPECT_EQ(names, kept);
        EXPECT_EQ(test::OpenDescriptors(), descriptors);
    }
}

// A lock file that no live process holds is taken over at once, whatever it holds, and then
// holds just its new holder's lines; one that a live holder has is waited for and not taken.
TEST(FileLock, ALockLeftBehindIsTakenAtOnceAndALiveOneIsNot)
{
    test::TempDir dir;
    const std::string lockFile = dir / "s.ini.lock";
    char host[256] = {};
    ::gethostname(host, sizeof host - 1);
    const std::string lines = std::to_string(::getpid()) + "\n" + program_invocation_short_name + "\n" + host + "\n";
    for (const std::string &left : {std::string(), std::string("12"), std::string("999999\nx\nhost\n"),
                                    std::string(5000, 'w') + "\n"}) {
        SCOPED_TRACE(left.substr(0, 20));
        Put(lockFile, left);
        FileLock lock(lockFile);
        ASSERT_TRUE(lock.tryLock(0));
        EXPECT_EQ(Contents(lockFile), lines);
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

// Anything but a regular file at the lock's name means that no lock can be had: that is known
// at once, never by waiting out the time given, and the name is never opened in a way that
// could wait (a FIFO opened for reading waits for a writer; such an open fails here instead).
// What is there stays as it was.
TEST(FileLock, AnOddFileAtTheLocksNameGivesNoLockAtOnce)
{
    test::TempDir dir;
    Put(dir / "regular", "x");
    struct Row {
        const char *name;
        bool (*make)(const std::string &path);
    };
    const Row rows[] = {
        {"fifo", [](const std::string &p) { return ::mkfifo(p.c_str(), 0600) == 0; }},
        {"folder", [](const std::string &p) { return ::mkdir(p.c_str(), 0700) == 0; }},
        {"link to a regular file", [](const std::string &p) { return ::symlink("regular", p.c_str()) == 0; }},
        {"link to nothing", [](const std::string &p) { return ::symlink("nothing", p.c_str()) == 0; }},
        {"link to /dev/null", [](const std::string &p) { return ::symlink("/dev/null", p.c_str()) == 0; }},
        {"socket",
         [](const std::string &p) {
             sockaddr_un address{};
             address.sun_family = AF_UNIX;
             p.copy(address.sun_path, sizeof address.sun_path - 1);
             const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
             const bool made = s >= 0 && ::bind(s, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
             ::close(s);
             return made;
         }},
        // Only where devices may be made (as root, outside a restricted container).
        {"device", [](const std::string &p) { return ::mknod(p.c_str(), S_IFCHR | 0600, makedev(1, 3)) == 0; }},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        const std::string lockFile = dir / "s.lock";
        if (!row.make(lockFile)) {
            EXPECT_STREQ(row.name, "device") << "cannot make the file";
            continue;
        }
        const auto type = fs::symlink_status(lockFile).type();
        const int descriptors = test::OpenDescriptors();
        {
            test::FileCallWatch watch;
            watch.before = [&](const test::FileCall &c) {
                const bool mayWait = (c.is("open") || c.is("openat")) && c.path == lockFile
                    && !(c.flags & (O_CREAT | O_NONBLOCK));
                if (!mayWait)
                    return 0;
                ADD_FAILURE() << "the lock's name was opened in a way that waits on a FIFO";
                return EIO;
            };
            FileLock lock(lockFile);
            EXPECT_FALSE(lock.tryLock(5000));
            EXPECT_LE(watch.calls.size(), 4u) << "the lock was waited for";
        }
        EXPECT_EQ(fs::symlink_status(lockFile).type(), type);
        EXPECT_EQ(test::OpenDescriptors(), descriptors);
        fs::remove(lockFile);
    }
    EXPECT_EQ(Contents(dir / "regular"), "x");
}

// Taking and dropping locks, taken over or found busy, leaves no descriptor open; so does each
// call of a lock failing in turn, after which the lock either works or is not had, and can be
// had again at once.
TEST(FileLock, NoDescriptorIsLeftAndEveryFailingCallLeavesTheLockUsable)
{
    test::TempDir dir;
    const std::string lockFile = dir / "s.lock";
    const int descriptors = test::OpenDescriptors();
    for (int i = 0; i < 10; ++i) {
        if (i % 2 == 1)
            Put(lockFile, "left behind");
        FileLock lock(lockFile), other(lockFile);
        ASSERT_TRUE(lock.tryLock(0));
        EXPECT_FALSE(other.tryLock(0));
        lock.unlock();
    }
    EXPECT_EQ(test::OpenDescriptors(), descriptors);

    for (bool leftBehind : {false, true}) {
        SCOPED_TRACE(leftBehind ? "taking over a lock left behind" : "a new lock");
        auto prepare = [&] {
            fs::remove(lockFile);
            if (leftBehind)
                Put(lockFile, "left behind");
        };
        prepare();
        std::size_t count = 0;
        {
            test::FileCallWatch watch;
            FileLock lock(lockFile);
            ASSERT_TRUE(lock.tryLock(0));
            lock.unlock();
            count = watch.calls.size();
        }
        for (std::size_t i = 0; i < count; ++i) {
            prepare();
            std::string failed;
            {
                test::FileCallWatch watch;
                watch.failAt = i;
                FileLock lock(lockFile);
                if (lock.tryLock(0)) {
                    FileLock other(lockFile);
                    EXPECT_FALSE(other.tryLock(0)) << "a lock that does not exclude";
                }
                lock.unlock();
                failed = watch.calls.size() > i ? watch.calls[i].name : "none";
            }
            SCOPED_TRACE(std::to_string(i) + ": " + failed);
            FileLock again(lockFile);
            EXPECT_TRUE(again.tryLock(0));
            again.unlock();
            EXPECT_FALSE(fs::exists(lockFile));
            EXPECT_EQ(test::OpenDescriptors(), descriptors);
        }
    }
}
