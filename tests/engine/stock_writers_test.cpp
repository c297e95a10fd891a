// Two running copies of the game writing into one working copy of the stock.
#include "game/puzzle_stock.h"
#include "platform/fake/fakes.h"
#include "support/file_calls.h"
#include "support/make_test_stock.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <fcntl.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <thread>

namespace tl::test {
namespace {

namespace fs = std::filesystem;

// Each copy saves the best times of a set of its own (Save_Stock_Range reads the working copy,
// puts its records in and replaces the file). The first is held just before its rename until
// the second has opened the working copy to read it, or half a second has passed: without the
// lock between them the second reads the copy at once, and whichever replaces the file last
// would throw the other's records away. With it, the second reads only the first's result.
TEST(StockWriters, TwoCopiesSavingAtOnceLoseNeithersRecords)
{
    TempDir dir;
    const std::string program = dir / "program/", data = dir / "data/";
    fs::create_directories(program);
    fs::create_directories(data);
    FakeMessageBox firstBoxes, secondBoxes;
    Puzzles firstPuzzles, secondPuzzles;
    const StockContext first{program, data, firstBoxes, firstPuzzles};
    const StockContext second{program, data, secondBoxes, secondPuzzles};
    ASSERT_TRUE(WriteTestStockFile(first.pristinePath(), false));
    ASSERT_TRUE(Ensure_Stock_File(first));
    ASSERT_TRUE(Load_Stock(first));
    ASSERT_TRUE(Load_Stock(second));
    for (int n = 1; n <= 100; ++n) {
        firstPuzzles.at(0, 0, n).BestMin = 11;
        secondPuzzles.at(1, 1, n).BestMin = 22;
    }

    const std::thread::id firstThread = std::this_thread::get_id();
    std::mutex mutex;
    std::condition_variable changed;
    bool firstAtRename = false, secondReading = false, secondOpened = false;
    {
        FileCallWatch watch;
        watch.before = [&](const FileCall &c) {
            const bool onFirst = std::this_thread::get_id() == firstThread;
            std::unique_lock<std::mutex> lock(mutex);
            if (onFirst && c.is("renameat") && !firstAtRename) {
                firstAtRename = true;
                changed.notify_all();
                changed.wait_for(lock, std::chrono::milliseconds(500), [&] { return secondReading; });
            } else if (!onFirst && secondOpened && !secondReading) {
                // The call after the open: the second copy holds the file as it was.
                secondReading = true;
                changed.notify_all();
            } else if (!onFirst && c.is("open") && c.path == second.workingPath()
                       && (c.flags & O_ACCMODE) == O_RDONLY) {
                secondOpened = true;
            }
            return 0;
        };
        std::thread secondCopy([&] {
            {
                std::unique_lock<std::mutex> lock(mutex);
                changed.wait(lock, [&] { return firstAtRename; });
            }
            Save_Stock_Range(second, 1, 1, 1, 100);
        });
        Save_Stock_Range(first, 0, 0, 1, 100);
        secondCopy.join();
    }
    EXPECT_TRUE(firstAtRename);
    EXPECT_TRUE(firstBoxes.shown.empty());
    EXPECT_TRUE(secondBoxes.shown.empty());
    const std::vector<std::uint8_t> bytes = ReadBytes(first.workingPath());
    ASSERT_EQ(bytes.size(), kStockBytes);
    for (int n = 1; n <= 100; ++n) {
        EXPECT_EQ(DecodeRecord(bytes.data() + RecordOffset(0, 0, n)).BestMin, 11) << "the first copy's record " << n;
        EXPECT_EQ(DecodeRecord(bytes.data() + RecordOffset(1, 1, n)).BestMin, 22) << "the second copy's record " << n;
    }
    EXPECT_EQ(FileNames(data), std::vector<std::string>{kStockFileName});
}

} // namespace
} // namespace tl::test
