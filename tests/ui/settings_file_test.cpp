// The settings file under the faults of the file system: writes that do not reach the disk,
// interruptions, what a crash leaves behind, and odd files in the file's place.
#include "game/roster.h"
#include "game/stored_settings.h"
#include "platform/file_writes.h"
#include "platform/qt/qt_services.h"
#include "support/file_size_limit.h"
#include "support/temp_dir.h"

#include <QByteArray>
#include <QFile>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <optional>
#include <thread>

namespace fs = std::filesystem;
using namespace tl;

namespace {

QByteArray Bytes(const std::string &path)
{
    QFile f(QString::fromStdString(path));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void Put(const std::string &path, const QByteArray &bytes)
{
    QFile f(QString::fromStdString(path));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

Roster RosterOf(std::initializer_list<const char *> names)
{
    Roster r;
    for (const char *name : names)
        r.addPlayer(name);
    return r;
}

std::vector<std::string> ShownNames(const Roster &r)
{
    std::vector<std::string> names;
    for (int i = 1; i <= r.PlayerCount(); ++i)
        names.push_back(r.shownName(i));
    return names;
}

// Turns a wait on a FIFO into a test failure instead of a hang: after five seconds it opens
// the FIFO at `path` for writing, which ends an open for reading that waits for a writer.
class FifoGuard {
public:
    explicit FifoGuard(std::string path)
        : path_(std::move(path)), thread_([this] {
              for (int tick = 0; !done_; ++tick) {
                  std::this_thread::sleep_for(std::chrono::milliseconds(20));
                  const int fd = tick < 250 ? -1 : ::open(path_.c_str(), O_WRONLY | O_NONBLOCK);
                  if (fd >= 0) {
                      unblocked_ = true;
                      ::close(fd);
                  }
              }
          })
    {
    }
    ~FifoGuard() { stop(); }
    // Ends the guard; true when it had to open the FIFO.
    bool stop()
    {
        done_ = true;
        if (thread_.joinable())
            thread_.join();
        return unblocked_;
    }

private:
    std::string path_;
    std::atomic<bool> done_{false}, unblocked_{false};
    std::thread thread_;
};

const QByteArray kSettings = "[Options]\nWells=False\nLevel=2\n\n[Players]\nCount=2\n"
                             "Player01=Anna            \nPlayer02=Bob             \nLast_Player=2\n";

} // namespace

// The disk refuses the new file part-way, or the new text would be more than the reader takes
// (and the settings would read as none from then on): the old file stays, byte for byte, with
// nothing beside, and reads as it did.
TEST(SettingsFile, AWriteThatDoesNotReachTheDiskLeavesTheFileWhole)
{
    // Just under what the reader takes; the comment is kept as it stands by every write.
    const QByteArray nearlyFull = kSettings + "; " + QByteArray((1 << 20) - kSettings.size() - 100, 'c') + "\n";
    struct Row {
        const char *name;
        QByteArray bytes;
        bool diskLimit;
    };
    const Row rows[] = {
        {"the disk is full", kSettings, true},
        {"the file would grow past what is read", nearlyFull, false},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        test::TempDir dir;
        const std::string file = dir / "Farrowdel.ini";
        Put(file, row.bytes);
        QtSettingsStore store(QString::fromStdString(file));
        {
            std::optional<test::FileSizeLimit> limit;
            if (row.diskLimit)
                limit.emplace(static_cast<rlim_t>(kSettings.size()));
            store.set("Farrowdel", "Players", "Player03", std::string(200, 'x'));
            Save_Players(store, RosterOf({"Anna", "Bob", "Carl", "Dirk", "Eva", "Fien", "Gijs"}));
        }
        EXPECT_EQ(Bytes(file), row.bytes);
        EXPECT_EQ(test::FileNames(dir.path()), std::vector<std::string>{"Farrowdel.ini"});
        QtSettingsStore again(QString::fromStdString(file));
        EXPECT_EQ(ShownNames(Load_Players(again)), (std::vector<std::string>{"Anna", "Bob"}));

        if (row.diskLimit) {
            store.set("Farrowdel", "Options", "Size", "3");
            EXPECT_EQ(QtSettingsStore(QString::fromStdString(file)).get("Farrowdel", "Options", "Size", ""), "3");
        }
    }
}

// A settings file that its user made read-only is left as it is, although the folder would let
// a new file take its name, and no write says a word. The same user's writable file in the same
// folder is written, so the folder is not what stops the write.
TEST(SettingsFile, AFileItsUserMayNotWriteIsLeftAsItIs)
{
    test::TempDir dir;
    const std::string file = dir / "Farrowdel.ini", other = dir / "Other.ini";
    Put(file, kSettings);
    Put(other, kSettings);
    ::chmod(dir.path().c_str(), 0777);
    ::chmod(other.c_str(), 0666);
    {
        test::ReadOnlyScope readOnly(file); // as a user without root's rights, where the tests run as root
        if (!readOnly.active())
            GTEST_SKIP() << "no user here for whom the file could be read-only";
        QtSettingsStore store(QString::fromStdString(file));
        store.set("Farrowdel", "Options", "Level", "3");
        Save_Players(store, RosterOf({"Anna", "Bob", "Carl"}));
        EXPECT_EQ(Bytes(file), kSettings);
        QtSettingsStore writable(QString::fromStdString(other));
        writable.set("Farrowdel", "Options", "Level", "3");
        EXPECT_NE(Bytes(other), kSettings) << "the user could not write even a writable file";
    }
    EXPECT_EQ(Bytes(file), kSettings);
    EXPECT_EQ(test::FileNames(dir.path()), (std::vector<std::string>{"Farrowdel.ini", "Other.ini"}));
}

// Killed at any point of a save, the file holds the old roster or the new one, whole: the disk is
// looked at as it stands after every replacement of the file.
TEST(SettingsFile, ARosterSavedIsOnDiskWholeOrNotAtAll)
{
    test::TempDir dir;
    const std::string file = dir / "Farrowdel.ini";
    Put(file, kSettings);
    std::vector<QByteArray> states;
    SetReplaceObserver([&](const std::string &) { states.push_back(Bytes(file)); });
    {
        QtSettingsStore store(QString::fromStdString(file));
        Roster bigger = Load_Players(store);
        for (const char *name : {"Carl", "Dirk", "Eva", "Fien", "Gijs", "Hans", "Ids", "Jan", "Kees", "Lot"})
            bigger.addPlayer(name);
        Save_Players(store, bigger);
        Save_Options(store, GameOptions{});
        Save_Last_Numbers(store, LastNumbers{});
    }
    SetReplaceObserver(nullptr);
    ASSERT_EQ(states.size(), 3u) << "one replacement for each group of keys";
    const std::string copy = dir / "state.ini";
    Put(copy, states[0]);
    QtSettingsStore afterRoster(QString::fromStdString(copy));
    EXPECT_EQ(ShownNames(Load_Players(afterRoster)),
              (std::vector<std::string>{"Anna", "Bob", "Carl", "Dirk", "Eva", "Fien", "Gijs", "Hans",
                                        "Ids", "Jan", "Kees", "Lot"}));
}

// What crashed writes leave behind costs nothing at the next start: their new files are removed,
// and a lock file that no running copy holds (here an empty one, as left between its creation and
// its content) is taken over at once and gone after the write. While another running copy holds
// the lock, a new file beside the settings may be its write under way: it stays.
TEST(SettingsFile, WhatACrashLeftBehindIsClearedAtTheNextStart)
{
    test::TempDir dir;
    const std::string file = dir / "Farrowdel.ini";
    Put(file, kSettings);
    for (const char *left : {"Farrowdel.ini.tmp-Ab12Cd", "Farrowdel.ini.tmp-zzzzzz", "Farrowdel.ini.backup"})
        Put(dir / left, "[Options]\nWells=True\n");
    {
        FileLock otherCopy(dir / "Farrowdel.ini.lock");
        ASSERT_TRUE(otherCopy.tryLock(0));
        QtSettingsStore meanwhile(QString::fromStdString(file)); // waits for the lock in vain
        EXPECT_EQ(test::FileNames(dir.path()),
                  (std::vector<std::string>{"Farrowdel.ini", "Farrowdel.ini.backup", "Farrowdel.ini.lock",
                                            "Farrowdel.ini.tmp-Ab12Cd", "Farrowdel.ini.tmp-zzzzzz"}));
    }
    Put(dir / "Farrowdel.ini.lock", "");

    QtSettingsStore store(QString::fromStdString(file));
    EXPECT_EQ(test::FileNames(dir.path()), (std::vector<std::string>{"Farrowdel.ini", "Farrowdel.ini.backup"}));
    fs::remove(dir / "Farrowdel.ini.backup");
    Put(dir / "Farrowdel.ini.lock", "");
    store.set("Farrowdel", "Options", "Wells", "True");
    EXPECT_EQ(test::FileNames(dir.path()), std::vector<std::string>{"Farrowdel.ini"});
    EXPECT_EQ(QtSettingsStore(QString::fromStdString(file)).get("Farrowdel", "Options", "Wells", ""), "True");
}

// Only a regular file of at most 1 MiB is read; anything else reads as no settings and is never
// written over. Opening a FIFO must not wait for a writer: should it, the guard opens the FIFO's
// other end so that the test fails instead of hanging.
TEST(SettingsFile, AnythingButASmallRegularFileReadsAsDefaultsAndStaysAsItIs)
{
    struct Row {
        const char *name;
        void (*make)(const std::string &path);
    };
    const Row rows[] = {
        {"Fifo", [](const std::string &p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); }},
        {"LinkToDevZero", [](const std::string &p) { fs::create_symlink("/dev/zero", p); }},
        {"Folder", [](const std::string &p) { fs::create_directory(p); }},
        {"MoreThanOneMebibyte",
         [](const std::string &p) { Put(p, kSettings + QByteArray((1 << 20) - kSettings.size() + 1, '\n')); }},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        test::TempDir dir;
        const std::string file = dir / "Farrowdel.ini";
        row.make(file);
        const auto before = fs::symlink_status(file).type();
        const QByteArray bytes = fs::is_regular_file(file) ? Bytes(file) : QByteArray();

        FifoGuard guard(file);
        {
            QtSettingsStore store(QString::fromStdString(file));
            EXPECT_EQ(Read_Options(store), GameOptions{});
            store.set("Farrowdel", "Options", "Level", "3");
            EXPECT_EQ(store.get("Farrowdel", "Options", "Level", ""), "3") << "kept for this run";
        }
        EXPECT_FALSE(guard.stop()) << "the store waited for a writer of the FIFO";
        EXPECT_EQ(fs::symlink_status(file).type(), before);
        if (!bytes.isEmpty()) {
            EXPECT_EQ(Bytes(file), bytes);
        }
        EXPECT_EQ(test::FileNames(dir.path()), std::vector<std::string>{"Farrowdel.ini"});
    }
}

// Anything but a regular file at the lock's name gives no lock, and that costs no wait: the
// settings are read and written without the lock, and what is at the lock's name stays. Opening
// a FIFO there must not wait for a writer: should it, the guard opens its other end so that the
// test fails instead of hanging.
TEST(SettingsFile, AnOddFileAtTheLocksNameCostsNoSetting)
{
    struct Row {
        const char *name;
        void (*make)(const std::string &path);
    };
    const Row rows[] = {
        {"Fifo", [](const std::string &p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); }},
        {"Folder", [](const std::string &p) { fs::create_directory(p); }},
        {"LinkToTheSettings", [](const std::string &p) { fs::create_symlink("Farrowdel.ini", p); }},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        test::TempDir dir;
        const std::string file = dir / "Farrowdel.ini", lockFile = dir / "Farrowdel.ini.lock";
        Put(file, kSettings);
        row.make(lockFile);
        const auto type = fs::symlink_status(lockFile).type();

        FifoGuard guard(lockFile);
        {
            QtSettingsStore store(QString::fromStdString(file));
            EXPECT_EQ(ShownNames(Load_Players(store)), (std::vector<std::string>{"Anna", "Bob"}));
            store.set("Farrowdel", "Options", "Level", "3");
        }
        EXPECT_EQ(QtSettingsStore(QString::fromStdString(file)).get("Farrowdel", "Options", "Level", ""), "3");
        EXPECT_FALSE(guard.stop()) << "the store waited for a writer of the FIFO";
        EXPECT_EQ(fs::symlink_status(lockFile).type(), type);
        EXPECT_EQ(test::FileNames(dir.path()), (std::vector<std::string>{"Farrowdel.ini", "Farrowdel.ini.lock"}));
    }
}
