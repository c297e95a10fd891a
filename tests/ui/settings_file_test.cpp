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

const QByteArray kSettings = "[Options]\nWells=False\nLevel=2\n\n[Players]\nCount=2\n"
                             "Player01=Anna            \nPlayer02=Bob             \nLast_Player=2\n";

} // namespace

// The disk refuses the new file part-way: the old one stays, byte for byte, with nothing beside.
TEST(SettingsFile, AWriteThatDoesNotReachTheDiskLeavesTheFileWhole)
{
    test::TempDir dir;
    const std::string file = dir / "Farrowdel.ini";
    Put(file, kSettings);
    QtSettingsStore store(QString::fromStdString(file));
    {
        test::FileSizeLimit limit(static_cast<rlim_t>(kSettings.size()));
        store.set("Farrowdel", "Players", "Player03", std::string(200, 'x'));
        Save_Players(store, RosterOf({"Anna", "Bob", "Carl", "Dirk", "Eva", "Fien", "Gijs"}));
    }
    EXPECT_EQ(Bytes(file), kSettings);
    EXPECT_EQ(test::FileNames(dir.path()), std::vector<std::string>{"Farrowdel.ini"});

    store.set("Farrowdel", "Options", "Size", "3");
    EXPECT_EQ(QtSettingsStore(QString::fromStdString(file)).get("Farrowdel", "Options", "Size", ""), "3");
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
// its content) is taken over at once and gone after the write.
TEST(SettingsFile, WhatACrashLeftBehindIsClearedAtTheNextStart)
{
    test::TempDir dir;
    const std::string file = dir / "Farrowdel.ini";
    Put(file, kSettings);
    for (const char *left : {"Farrowdel.ini.tmp-Ab12Cd", "Farrowdel.ini.tmp-zzzzzz", "Farrowdel.ini.backup"})
        Put(dir / left, "[Options]\nWells=True\n");
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

        std::atomic<bool> done{false}, unblocked{false};
        std::thread guard([&] {
            for (int tick = 0; !done; ++tick) {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
                if (tick < 250)
                    continue;
                const int fd = ::open(file.c_str(), O_WRONLY | O_NONBLOCK);
                if (fd >= 0) {
                    unblocked = true;
                    ::close(fd);
                }
            }
        });
        {
            QtSettingsStore store(QString::fromStdString(file));
            EXPECT_EQ(Read_Options(store), GameOptions{});
            store.set("Farrowdel", "Options", "Level", "3");
            EXPECT_EQ(store.get("Farrowdel", "Options", "Level", ""), "3") << "kept for this run";
        }
        done = true;
        guard.join();
        EXPECT_FALSE(unblocked) << "the store waited for a writer of the FIFO";
        EXPECT_EQ(fs::symlink_status(file).type(), before);
        if (!bytes.isEmpty()) {
            EXPECT_EQ(Bytes(file), bytes);
        }
        EXPECT_EQ(test::FileNames(dir.path()), std::vector<std::string>{"Farrowdel.ini"});
    }
}
