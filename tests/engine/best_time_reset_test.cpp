#include "game/best_time_reset.h"
#include "game/web_pages.h"
#include "platform/fake/fakes.h"

#include <gtest/gtest.h>
#include <map>

using namespace tl;

TEST(BestTimeReset, QuestionsNameTheShownLevelAndSize)
{
    EXPECT_EQ(ResetQuestion(ResetScope::Selection, 0, 0),
              "Are you sure to reset Best Times for level Easy, with size 8x8 ?");
    EXPECT_EQ(ResetQuestion(ResetScope::Selection, 3, 2),
              "Are you sure to reset Best Times for level Insane, with size 12x12 ?");
    EXPECT_EQ(ResetQuestion(ResetScope::Level, 1, 3),
              "Are you sure to reset Best Times for level Medium, all sizes ?");
    EXPECT_EQ(ResetQuestion(ResetScope::All, 2, 1), "Are you sure to reset all Best Times ?");
}

TEST(BestTimeReset, RangesRunLevelSizeNumberInOrder)
{
    const auto sel = ResetRange(ResetScope::Selection, 2, 1);
    ASSERT_EQ(sel.size(), 100u);
    EXPECT_EQ(sel.front(), (StockSlot{2, 1, 1}));
    EXPECT_EQ(sel.back(), (StockSlot{2, 1, 100}));
    const auto lvl = ResetRange(ResetScope::Level, 3, 1);
    ASSERT_EQ(lvl.size(), 400u);
    EXPECT_EQ(lvl[100], (StockSlot{3, 1, 1}));
    EXPECT_EQ(lvl.back(), (StockSlot{3, 3, 100}));
    const auto all = ResetRange(ResetScope::All, 1, 1);
    ASSERT_EQ(all.size(), 1600u);
    for (std::size_t i = 0; i < all.size(); ++i)
        ASSERT_EQ(RecordNumber(all[i].level, all[i].sizeIndex, all[i].number),
                  static_cast<int>(i) + 1);
}

TEST(BestTimeReset, ClearsMemoryEvenWhenWritesFailAndCountsTheFailures)
{
    std::map<int, PuzzleRecord> stock;
    const auto range = ResetRange(ResetScope::Level, 1, 0);
    for (const auto &s : range) {
        PuzzleRecord r;
        r.Number = static_cast<std::int16_t>(s.number);
        r.BestMin = 3;
        r.BestSec = 7;
        r.BestPlayer = 2;
        r.HeavyCount = 5;
        stock[RecordNumber(s.level, s.sizeIndex, s.number)] = r;
    }
    std::vector<std::pair<int, int>> written;
    const int failures = ClearBestTimes(
        range,
        [&](const StockSlot &s) -> PuzzleRecord & { return stock[RecordNumber(s.level, s.sizeIndex, s.number)]; },
        [&](int level, int sizeIndex) {
            // Every record of the set is already cleared when the set is written.
            for (int n = 1; n <= kPuzzlesPerSet; ++n)
                EXPECT_EQ(stock[RecordNumber(level, sizeIndex, n)].BestMin, 0) << n;
            written.emplace_back(level, sizeIndex);
            return sizeIndex != 2;
        });
    EXPECT_EQ(failures, 100) << "the records of the set that could not be written";
    EXPECT_EQ(written, (std::vector<std::pair<int, int>>{{1, 0}, {1, 1}, {1, 2}, {1, 3}}));
    ASSERT_EQ(stock.size(), 400u);
    for (auto &[nr, r] : stock) {
        EXPECT_EQ(r.BestMin, 0);
        EXPECT_EQ(r.BestSec, 0);
        EXPECT_EQ(r.BestPlayer, 0);
        EXPECT_EQ(r.HeavyCount, 5);
        EXPECT_EQ(r.Number, (nr - 1) % 100 + 1);
    }
}

TEST(WebPages, HelpPageLiesBesideTheProgram)
{
    EXPECT_EQ(HelpPagePath("/opt/game"), "/opt/game/help/index.html");
    EXPECT_EQ(HelpPagePath("/opt/my game/"), "/opt/my game/help/index.html");
}

TEST(WebPages, StartsTheAssociatedProgramOrReportsWhyNot)
{
    FakeBrowser browser;
    FakeMessageBox boxes;
    browser.program = "  /opt/Web Browser/browse  ";
    EXPECT_TRUE(Open_Web_Page(browser, boxes, "/x/help/index.html", true));
    ASSERT_EQ(browser.launches.size(), 1u);
    EXPECT_EQ(browser.launches[0].program, "/opt/Web Browser/browse") << "passed whole, trimmed";
    EXPECT_EQ(browser.launches[0].url, "/x/help/index.html");
    EXPECT_TRUE(browser.launches[0].maximised);
    EXPECT_TRUE(boxes.shown.empty());

    browser.launchOk = false;
    EXPECT_FALSE(Open_Web_Page(browser, boxes, kMakerWebSite, false));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].title, "URL Failed");
    EXPECT_EQ(boxes.shown[0].text, "Web Page not Opened");
    EXPECT_EQ(boxes.shown[0].icon, MsgIcon::Exclamation);

    browser.program = "";
    EXPECT_FALSE(Open_Web_Page(browser, boxes, kMakerWebSite, false));
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[1].title, "Browser Not Found");
    EXPECT_EQ(boxes.shown[1].text, "Could not find associated Browser");
    EXPECT_EQ(browser.launches.size(), 2u) << "nothing started without a browser";
}

// ---- On a real stock file ----------------------------------------------------------------------

#include "platform/file_writes.h"
#include "support/make_test_stock.h"
#include "support/temp_dir.h"

namespace {

struct StockOnDisk {
    test::TempDir dir;
    FakeMessageBox boxes;
    Puzzles puzzles;
    StockContext ctx{dir.path(), dir.path(), boxes, puzzles};
    std::vector<std::uint8_t> before;
    StockOnDisk()
    {
        EXPECT_TRUE(test::WriteTestStockFile(ctx.workingPath(), true));
        EXPECT_TRUE(Load_Stock(ctx));
        before = test::ReadBytes(ctx.workingPath());
    }
};

bool IsBestTimeByte(std::size_t offsetInRecord)
{
    return offsetInRecord >= kOffsetBestMin && offsetInRecord < kOffsetBestPlayer + 2;
}

} // namespace

TEST(BestTimeResetOnFile, OnlyTheBestTimeBytesOfTheRangeChange)
{
    StockOnDisk s;
    // The file is replaced once per set, not once per record (1.9 MB each time).
    int replacements = 0;
    SetReplaceObserver([&](const std::string &) { ++replacements; });
    EXPECT_EQ(Reset_Best_Times(s.ctx, ResetScope::Level, 2, 1), 0);
    SetReplaceObserver(nullptr);
    EXPECT_EQ(replacements, 4);
    EXPECT_TRUE(s.boxes.shown.empty());
    const auto after = test::ReadBytes(s.ctx.workingPath());
    ASSERT_EQ(after.size(), kStockBytes);
    int changedRecords = 0;
    for (int rec = 0; rec < kStockRecords; ++rec) {
        const bool inRange = rec / 400 == 2;
        bool changed = false;
        for (std::size_t b = 0; b < kRecordBytes; ++b) {
            const std::size_t at = rec * kRecordBytes + b;
            if (after[at] == s.before[at])
                continue;
            ASSERT_TRUE(inRange && IsBestTimeByte(b)) << "record " << rec + 1 << " byte " << b;
            changed = true;
        }
        if (inRange) {
            const PuzzleRecord r = DecodeRecord(after.data() + rec * kRecordBytes);
            EXPECT_EQ(r.BestMin | r.BestSec | r.BestPlayer, 0) << rec;
        }
        changedRecords += changed;
    }
    EXPECT_GT(changedRecords, 300) << "the test stock holds best times to clear";
}

TEST(BestTimeResetOnFile, ReadOnlyStockGivesOneBoxForAResetAndForTheFirstRunClearing)
{
    const std::pair<const char *, std::function<int(const StockContext &)>> clearings[] = {
        {"reset of all", [](const StockContext &c) { return Reset_Best_Times(c, ResetScope::All, 0, 0); }},
        {"first-run clearing", [](const StockContext &c) { return Clear_All_Best_Times(c); }}};
    for (const auto &[what, clear] : clearings) {
        StockOnDisk s;
        test::ReadOnlyScope readOnly(s.ctx.workingPath());
        if (!readOnly.active())
            GTEST_SKIP() << "cannot make the stock file read-only here";
        EXPECT_EQ(clear(s.ctx), 1600) << what;
        ASSERT_EQ(s.boxes.shown.size(), 1u) << what;
        EXPECT_EQ(s.boxes.shown[0].title, "File Error");
        EXPECT_EQ(s.boxes.shown[0].text, "Error resetting binary puzzle time to file!");
        for (const PuzzleRecord &r : s.puzzles.records())
            ASSERT_FALSE(r.hasBestTime() || r.BestPlayer != 0) << what;
        EXPECT_EQ(test::ReadBytes(s.ctx.workingPath()), s.before) << what;
    }
}
