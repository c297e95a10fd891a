#include "game/best_time_reset.h"
#include "game/puzzle_stock.h"
#include "platform/fake/fakes.h"
#include "support/file_size_limit.h"
#include "support/make_test_stock.h"
#include "support/temp_dir.h"

#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <random>
#include <gtest/gtest.h>

using namespace tl;
namespace fs = std::filesystem;

namespace {

class StockFileTest : public ::testing::Test {
protected:
    test::TempDir dir;
    FakeMessageBox boxes;
    Puzzles puzzles;
    StockContext ctx{dir.path() + "program/", dir.path() + "data/Farrowdel/", boxes, puzzles};

    void SetUp() override
    {
        fs::create_directories(ctx.ProgramFolder);
        fs::create_directories(ctx.DataFolder);
    }
    void writePristine(bool withBestTimes = true)
    {
        ASSERT_TRUE(test::WriteTestStockFile(ctx.pristinePath(), withBestTimes));
    }
    void writeWorking(const std::vector<std::uint8_t> &bytes)
    {
        ASSERT_TRUE(test::WriteBytes(ctx.workingPath(), bytes));
    }
    std::vector<std::uint8_t> working() const { return test::ReadBytes(ctx.workingPath()); }
    std::vector<std::string> dataFiles() const { return test::FileNames(ctx.DataFolder); }
    void expectNoBoxes() const
    {
        for (const auto &b : boxes.shown)
            ADD_FAILURE() << "unexpected box: " << b.title << " / " << b.text;
    }
    void expectOneFileError(const char *text)
    {
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].title, "File Error");
        EXPECT_EQ(boxes.shown[0].text, text);
        EXPECT_EQ(boxes.shown[0].icon, MsgIcon::Exclamation);
        EXPECT_EQ(boxes.shown[0].buttons, MsgButtons::Ok);
        boxes.shown.clear();
    }
};

// Byte positions (within the whole file) where two files differ.
std::vector<std::size_t> differences(const std::vector<std::uint8_t> &a, const std::vector<std::uint8_t> &b)
{
    std::vector<std::size_t> d;
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i)
        if (a[i] != b[i])
            d.push_back(i);
    return d;
}

} // namespace

TEST(Puzzles, AccessIsRangeCheckedAndInFileOrder)
{
    Puzzles p;
    EXPECT_EQ(p.records().size(), 1600u);
    EXPECT_EQ(&p.at(0, 0, 1), &p.records()[0]);
    EXPECT_EQ(&p.at(1, 1, 7), &p.records()[506]);
    EXPECT_EQ(&p.at(3, 3, 100), &p.records()[1599]);
    EXPECT_THROW(p.at(0, 0, 0), std::out_of_range);
    EXPECT_THROW(p.at(0, 0, 101), std::out_of_range);
    EXPECT_THROW(p.at(4, 0, 1), std::out_of_range);
    EXPECT_THROW(p.at(0, -1, 1), std::out_of_range);
    EXPECT_EQ(p.find(-1, 0, 1), nullptr);
    EXPECT_EQ(p.find(0, 4, 1), nullptr);
    EXPECT_NE(p.find(2, 3, 50), nullptr);
}

TEST_F(StockFileTest, FirstRunMakesAWritableCopyWithoutBestTimes)
{
    writePristine(true);
    fs::permissions(ctx.pristinePath(), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const auto pristine = test::ReadBytes(ctx.pristinePath());

    const mode_t umask = ::umask(0277); // a strict one, that leaves new files read-only
    const bool copied = Ensure_Stock_File(ctx);
    ::umask(umask);
    ASSERT_TRUE(copied);
    EXPECT_EQ(working(), pristine);
    EXPECT_NE(fs::status(ctx.workingPath()).permissions() & fs::perms::owner_write, fs::perms::none);
    EXPECT_FALSE(fs::exists(ctx.workingPath() + ".part"));

    ASSERT_TRUE(Load_Stock(ctx));
    Clear_All_Best_Times(ctx);
    expectNoBoxes();

    const auto after = working();
    ASSERT_EQ(after.size(), 1907200u);
    for (std::size_t i = 0; i < after.size(); ++i) {
        const std::size_t offset = i % kRecordBytes;
        if (offset >= kOffsetBestMin && offset < kOffsetBestPlayer + 2)
            ASSERT_EQ(after[i], 0) << "byte " << i;
        else
            ASSERT_EQ(after[i], pristine[i]) << "byte " << i;
    }
    for (const PuzzleRecord &r : puzzles.records())
        ASSERT_FALSE(r.hasBestTime());
    EXPECT_EQ(test::ReadBytes(ctx.pristinePath()), pristine) << "the pristine copy is never written";

    // The next start finds the working copy and copies nothing.
    EXPECT_FALSE(Ensure_Stock_File(ctx));
    EXPECT_EQ(working(), after);
}

TEST_F(StockFileTest, InterruptedOrImpossibleCopiesNeverBecomeAWorkingCopy)
{
    // No pristine copy: nothing appears, and the load that follows reports the failure.
    EXPECT_FALSE(Ensure_Stock_File(ctx));
    EXPECT_FALSE(fs::exists(ctx.workingPath()));
    EXPECT_FALSE(fs::exists(ctx.workingPath() + ".part"));
    expectNoBoxes();
    EXPECT_FALSE(Load_Stock(ctx));
    expectOneFileError(kReadErrorText);

    // The remains of an interrupted copy are replaced by a complete one.
    writePristine();
    ASSERT_TRUE(test::WriteBytes(ctx.workingPath() + ".part", std::vector<std::uint8_t>(5000, 0x55)));
    ASSERT_TRUE(Ensure_Stock_File(ctx));
    EXPECT_EQ(working(), test::ReadBytes(ctx.pristinePath()));
    EXPECT_FALSE(fs::exists(ctx.workingPath() + ".part"));

    // A data folder that does not exist: no copy, no stray file.
    fs::remove_all(dir.path() + "data");
    EXPECT_FALSE(Ensure_Stock_File(ctx));
    EXPECT_FALSE(fs::exists(ctx.DataFolder));
}

// The first start's copy is whole on disk or not there at all, and writes through nothing that
// was planted beside it: a link at the old fixed temporary name goes, its target untouched.
TEST_F(StockFileTest, TheFirstStartsCopyIsWholeOrAbsentAndIgnoresAPlantedLink)
{
    writePristine();
    const std::string bait = dir.path() + "bait";
    ASSERT_TRUE(test::WriteBytes(bait, {1, 2, 3}));
    fs::create_symlink(bait, ctx.workingPath() + ".part");
    // Left by replacements interrupted in an earlier run, and a lock whose holder is gone.
    ASSERT_TRUE(test::WriteBytes(ctx.workingPath() + ".tmp-x9Yz01", {4}));
    ASSERT_TRUE(test::WriteBytes(ctx.workingPath() + ".lock", {}));
    ASSERT_TRUE(Ensure_Stock_File(ctx));
    EXPECT_EQ(test::ReadBytes(bait), (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_FALSE(fs::is_symlink(ctx.workingPath()));
    EXPECT_EQ(working(), test::ReadBytes(ctx.pristinePath()));
    EXPECT_EQ(dataFiles(), std::vector<std::string>{kStockFileName});

    // A copy cut short by a full disk: no working copy, nothing beside.
    fs::remove(ctx.workingPath());
    {
        test::FileSizeLimit limit(1 << 20);
        EXPECT_FALSE(Ensure_Stock_File(ctx));
    }
    EXPECT_TRUE(dataFiles().empty());
}

TEST_F(StockFileTest, RecordsLieAtTheirPositions)
{
    writePristine();
    ASSERT_TRUE(Ensure_Stock_File(ctx));
    ASSERT_TRUE(Load_Stock(ctx));
    const auto bytes = working();
    EXPECT_EQ(puzzles.at(1, 1, 7), test::MakeTestRecord(1, 1, 7, true));
    EXPECT_EQ(DecodeRecord(bytes.data() + 603152), puzzles.at(1, 1, 7));
    EXPECT_EQ(puzzles.at(1, 1, 7).Number, 7);
    EXPECT_EQ(puzzles.at(3, 3, 100), test::MakeTestRecord(3, 3, 100, true));
    EXPECT_EQ(DecodeRecord(bytes.data() + 1906008), puzzles.at(3, 3, 100));
    EXPECT_EQ(puzzles.at(0, 0, 1), DecodeRecord(bytes.data()));
}

TEST_F(StockFileTest, ABestTimeWriteChangesOnlyTheBestTimeBytes)
{
    writePristine(false);
    ASSERT_TRUE(Ensure_Stock_File(ctx));
    ASSERT_TRUE(Load_Stock(ctx));
    const auto before = working();

    PuzzleRecord &r = puzzles.at(1, 1, 7);
    r.BestMin = 3;
    r.BestSec = 41;
    r.BestPlayer = 2;
    Save_Puzzle(ctx, 1, 1, 7);
    expectNoBoxes();
    const auto after = working();
    ASSERT_EQ(after.size(), before.size());
    const auto d = differences(before, after);
    ASSERT_FALSE(d.empty());
    for (std::size_t i : d) {
        EXPECT_GE(i, 603152u + 792u);
        EXPECT_LE(i, 603152u + 797u);
    }
    EXPECT_EQ(DecodeRecord(after.data() + 603152), r);

    // A reset writes the cleared record back in the same place.
    r.BestMin = r.BestSec = r.BestPlayer = 0;
    Reset_Puzzle_Time(ctx, 1, 1, 7);
    expectNoBoxes();
    EXPECT_EQ(working(), before);
}

TEST_F(StockFileTest, AReadOnlyWorkingCopyLoadsAndLaterWritesReportFileErrors)
{
    writePristine();
    ASSERT_TRUE(Ensure_Stock_File(ctx));
    const auto before = working();
    test::ReadOnlyScope readOnly(ctx.workingPath());
    if (!readOnly.active())
        GTEST_SKIP() << "cannot make a file read-only here";

    ASSERT_TRUE(Load_Stock(ctx));
    expectNoBoxes();

    puzzles.at(0, 2, 9).BestMin = 59;
    Save_Puzzle(ctx, 0, 2, 9);
    expectOneFileError(kWriteErrorText);
    EXPECT_EQ(puzzles.at(0, 2, 9).BestMin, 59) << "the new best time stays in memory";

    puzzles.at(0, 2, 10).BestMin = 0;
    Reset_Puzzle_Time(ctx, 0, 2, 10);
    expectOneFileError(kResetErrorText);

    Save_Stock_Range(ctx, 2, 1, 1, 100);
    expectOneFileError(kWriteErrorText);

    // Play goes on: another write is reported again, once.
    Save_Puzzle(ctx, 3, 3, 100);
    expectOneFileError(kWriteErrorText);
    EXPECT_EQ(working(), before);
}

TEST_F(StockFileTest, WritersNeverCreateAMissingWorkingCopy)
{
    writePristine();
    ASSERT_TRUE(Ensure_Stock_File(ctx));
    ASSERT_TRUE(Load_Stock(ctx));
    fs::remove(ctx.workingPath());

    Save_Puzzle(ctx, 0, 0, 1);
    expectOneFileError(kWriteErrorText);
    Reset_Puzzle_Time(ctx, 0, 0, 1);
    expectOneFileError(kResetErrorText);
    Save_Stock_Range(ctx, 0, 0, 1, 100);
    expectOneFileError(kWriteErrorText);
    Save_Stock_Range(ctx, 0, 0, 5, 4);
    expectOneFileError(kWriteErrorText);
    EXPECT_FALSE(fs::exists(ctx.workingPath()));
}

// A write that fails part-way (a full disk; here a file size limit of 1 MiB) leaves the working
// copy byte for byte as it was, with nothing beside it, and is reported; so does one that the
// writers refuse before they write (a copy larger than any stock).
TEST_F(StockFileTest, AWriteThatFailsPartWayLeavesTheWorkingCopyAsItWas)
{
    writePristine(false);
    const auto whole = test::StockBytes(test::MakeTestStock(true));
    const std::vector<std::uint8_t> shortCopy(whole.begin(), whole.begin() + 10 * kRecordBytes);
    std::vector<PuzzleRecord> damaged = test::MakeTestStock(true);
    damaged[0].Level = 99;
    damaged[1599].Level = 99;
    std::vector<std::uint8_t> tooLarge = whole;
    tooLarge.resize((std::size_t{16} << 20) + 1, 0);
    struct Row {
        const char *name;
        std::vector<std::uint8_t> bytes; // the working copy
        std::function<void(const StockContext &)> write;
        const char *title, *text;
        bool limited = true; // under the file size limit
    };
    const Row rows[] = {
        {"a best time extending a short copy", shortCopy,
         [](const StockContext &c) { Save_Puzzle(c, 3, 3, 100); }, kFileErrorTitle, kWriteErrorText},
        {"a reset extending a short copy", shortCopy,
         [](const StockContext &c) { Reset_Puzzle_Time(c, 3, 3, 100); }, kFileErrorTitle, kResetErrorText},
        {"a range extending a short copy", shortCopy,
         [](const StockContext &c) { Save_Stock_Range(c, 3, 3, 1, 100); }, kFileErrorTitle, kWriteErrorText},
        {"the first start's clearing of every best time", whole,
         [](const StockContext &c) { EXPECT_EQ(Clear_All_Best_Times(c), kStockRecords); },
         kResetWriteErrorTitle, kResetWriteError},
        {"the repairs of a load", test::StockBytes(damaged),
         [](const StockContext &c) { EXPECT_TRUE(Load_Stock(c)); }, kFileErrorTitle, kWriteErrorText},
        {"a best time in a copy over 16 MiB", tooLarge, [](const StockContext &c) { Save_Puzzle(c, 0, 0, 1); },
         kFileErrorTitle, kWriteErrorText, false},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        writeWorking(row.bytes);
        puzzles.records() = test::MakeTestStock(false);
        {
            std::optional<test::FileSizeLimit> limit;
            if (row.limited)
                limit.emplace(1 << 20);
            row.write(ctx);
        }
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].title, row.title);
        EXPECT_EQ(boxes.shown[0].text, row.text);
        boxes.shown.clear();
        EXPECT_TRUE(working() == row.bytes);
        EXPECT_EQ(dataFiles(), std::vector<std::string>{kStockFileName});
    }
}

TEST_F(StockFileTest, LoadReportsAMissingOrUnreadableWorkingCopy)
{
    writePristine();
    EXPECT_FALSE(Load_Stock(ctx));
    expectOneFileError(kReadErrorText);

    fs::create_directory(ctx.workingPath());
    EXPECT_FALSE(Load_Stock(ctx));
    expectOneFileError(kReadErrorText);
}

TEST_F(StockFileTest, AShortWorkingCopyLoadsSilentlyAndIsCompletedFromThePristineCopy)
{
    writePristine(false);
    // The working copy: the first 507 records with best times, then half of record 508.
    auto bytes = test::StockBytes(test::MakeTestStock(true));
    bytes.resize(507 * kRecordBytes + kRecordBytes / 2);
    writeWorking(bytes);

    ASSERT_TRUE(Load_Stock(ctx));
    expectNoBoxes();
    EXPECT_EQ(puzzles.at(1, 1, 7), test::MakeTestRecord(1, 1, 7, true)) << "record 507 from the working copy";
    EXPECT_EQ(puzzles.at(1, 1, 8), test::MakeTestRecord(1, 1, 8, false)) << "record 508 from the pristine copy";
    EXPECT_EQ(puzzles.at(3, 3, 100), test::MakeTestRecord(3, 3, 100, false));

    // Writing the last record fills the gap with what memory holds, never with a hole of zeros.
    puzzles.at(3, 3, 100).BestSec = 12;
    Save_Puzzle(ctx, 3, 3, 100);
    expectNoBoxes();
    EXPECT_EQ(working(), test::StockBytes(puzzles.records()));
}

TEST_F(StockFileTest, AShortWorkingCopyThatThePristineCopyCannotCompleteFailsToLoad)
{
    const auto whole = test::StockBytes(test::MakeTestStock(true));
    // No pristine copy, then pristine copies of 0 bytes, 1191 bytes, 400 records and all but
    // the last 2 bytes (bytes of the last record that the check of a record never looks at).
    for (long pristineBytes : {-1L, 0L, 1191L, 400L * 1192, 1600L * 1192 - 2}) {
        if (pristineBytes >= 0) {
            ASSERT_TRUE(test::WriteBytes(ctx.pristinePath(),
                                         {whole.begin(), whole.begin() + pristineBytes}));
        }
        for (long workingRecords : {0L, 10L}) {
            const std::vector<std::uint8_t> bytes(whole.begin(),
                                                  whole.begin() + workingRecords * 1192);
            writeWorking(bytes);
            EXPECT_FALSE(Load_Stock(ctx)) << pristineBytes << " / " << workingRecords;
            expectOneFileError(kReadErrorText);
            EXPECT_EQ(working(), bytes) << "nothing is written";
        }
    }
}

// ---- Damaged records -------------------------------------------------------------------------

namespace {

// The first empty (k = -1) or given (k = 0/1) cell of a record's board.
int FirstCell(const PuzzleRecord &r, bool given)
{
    for (int k = 0; k < r.cellCount(); ++k)
        if ((r.StartCells[k] != -1) == given)
            return k;
    return -1;
}

// Ways a record can be damaged; each makes it unfit for its slot.
struct Damage {
    const char *name;
    void (*apply)(PuzzleRecord &);
};
const Damage kDamages[] = {
    {"Level 99", [](PuzzleRecord &r) { r.Level = 99; }},
    {"SizeIndex -7", [](PuzzleRecord &r) { r.SizeIndex = -7; }},
    {"a sound record of another level",
     [](PuzzleRecord &r) { r = test::MakeTestRecord((r.Level + 2) % kLevels, r.SizeIndex, r.Number, true); }},
    {"a sound record of another size",
     [](PuzzleRecord &r) { r = test::MakeTestRecord(r.Level, (r.SizeIndex + 1) % kSizes, r.Number, true); }},
    {"the number of another puzzle", [](PuzzleRecord &r) { r.Number = static_cast<std::int16_t>(r.Number % 100 + 1); }},
    {"an all-zero record", [](PuzzleRecord &r) { r = PuzzleRecord{}; }},
    {"an empty solution", [](PuzzleRecord &r) { r.SolutionCells.fill(-1); }},
    {"one flipped solution cell", [](PuzzleRecord &r) { r.SolutionCells[FirstCell(r, false)] ^= 1; }},
    {"one solution cell 2", [](PuzzleRecord &r) { r.SolutionCells[FirstCell(r, false)] = 2; }},
    {"the last solution cell empty", [](PuzzleRecord &r) { r.SolutionCells[r.cellCount() - 1] = -1; }},
    {"a given that disagrees with the solution", [](PuzzleRecord &r) { r.StartCells[FirstCell(r, true)] ^= 1; }},
    {"two rows of the solution equal", [](PuzzleRecord &r) {
         const int n = r.side();
         for (int c = 0; c < n; ++c)
             r.SolutionCells[n + c] = r.SolutionCells[c];
         r.StartCells.fill(-1);
     }},
};

// The slots the damage tables hit: the first record, one in the middle and the last.
const int kDamagedIndexes[] = {0, 506, 1599};

PuzzleRecord WithoutBestTime(PuzzleRecord r)
{
    r.BestMin = r.BestSec = r.BestPlayer = 0;
    return r;
}

std::vector<std::uint8_t> RandomStockBytes(std::uint64_t seed)
{
    std::mt19937_64 rng(seed);
    std::vector<std::uint8_t> bytes(kStockBytes);
    for (auto &b : bytes)
        b = static_cast<std::uint8_t>(rng());
    return bytes;
}

} // namespace

TEST(StockRecordCheck, DamagedRecordsAreUnsoundAndUncheckedFieldsDoNotMatter)
{
    const PuzzleRecord good = test::MakeTestRecord(1, 1, 7, true);
    ASSERT_TRUE(IsSoundStockRecord(good, 1, 1, 7));
    EXPECT_FALSE(IsSoundStockRecord(good, 1, 1, 8));
    EXPECT_FALSE(IsSoundStockRecord(good, 2, 1, 7));
    for (const Damage &d : kDamages) {
        PuzzleRecord r = good;
        d.apply(r);
        EXPECT_FALSE(IsSoundStockRecord(r, 1, 1, 7)) << d.name;
    }
    // Fields the game never takes as rules of the puzzle: a record stays sound with them odd.
    const std::pair<const char *, void (*)(PuzzleRecord &)> harmless[] = {
        {"odd given values (read as empty)", [](PuzzleRecord &r) { r.StartCells[FirstCell(r, false)] = 32767; r.StartCells[FirstCell(r, true)] = -2; }},
        {"cells beyond the board", [](PuzzleRecord &r) { r.StartCells[150] = 5; r.SolutionCells[150] = -9; }},
        {"best time and holder", [](PuzzleRecord &r) { r.BestMin = -1; r.BestSec = 99; r.BestPlayer = 300; }},
        {"never interpreted fields", [](PuzzleRecord &r) { r.Reserved = 7; r.HeavyCount = -1; r.ExtraCells.fill(3); }},
        {"no given cell at all", [](PuzzleRecord &r) { r.StartCells.fill(-1); }},
    };
    for (const auto &[name, apply] : harmless) {
        PuzzleRecord r = good;
        apply(r);
        EXPECT_TRUE(IsSoundStockRecord(r, 1, 1, 7)) << name;
    }
}

TEST_F(StockFileTest, ADamagedWorkingCopyRecordIsReplacedByThePristineRecordOnDiskToo)
{
    writePristine(true);
    const std::vector<PuzzleRecord> pristine = test::MakeTestStock(true);
    for (const Damage &d : kDamages)
        for (int index : kDamagedIndexes) {
            SCOPED_TRACE(std::string(d.name) + " at record " + std::to_string(index + 1));
            // The working copy holds best times of its own (those of the pristine copy, doubled).
            std::vector<PuzzleRecord> records = pristine;
            for (PuzzleRecord &r : records)
                r.BestMin = static_cast<std::int16_t>(r.BestMin * 2 + 1);
            d.apply(records[index]);
            writeWorking(test::StockBytes(records));

            ASSERT_TRUE(Load_Stock(ctx));
            expectNoBoxes();
            // Only the damaged record changed, in memory and in the file; its best time is gone.
            records[index] = WithoutBestTime(pristine[index]);
            ASSERT_EQ(puzzles.records(), records);
            ASSERT_EQ(working(), test::StockBytes(records));

            // The repair sticks: the next load finds nothing to mend.
            ASSERT_TRUE(Load_Stock(ctx));
            expectNoBoxes();
            ASSERT_EQ(working(), test::StockBytes(records));
        }
}

TEST_F(StockFileTest, ARandomWorkingCopyIsReplacedWholeAndADamagedShortOneIsMendedToo)
{
    writePristine(true);
    std::vector<PuzzleRecord> cleared = test::MakeTestStock(true);
    for (PuzzleRecord &r : cleared)
        r = WithoutBestTime(r);

    writeWorking(RandomStockBytes(19));
    ASSERT_TRUE(Load_Stock(ctx));
    expectNoBoxes();
    EXPECT_EQ(puzzles.records(), cleared);
    EXPECT_EQ(working(), test::StockBytes(cleared));

    // A short working copy with a damaged record: the record is mended in the file, the records
    // it lacks come from the pristine copy into memory only, as for any short copy.
    std::vector<PuzzleRecord> records = test::MakeTestStock(true);
    records.resize(10);
    records[4].SizeIndex = -7;
    writeWorking(test::StockBytes(records));
    ASSERT_TRUE(Load_Stock(ctx));
    expectNoBoxes();
    records[4] = cleared[4];
    EXPECT_EQ(working(), test::StockBytes(records));
    EXPECT_EQ(puzzles.at(0, 0, 5), cleared[4]);
    EXPECT_EQ(puzzles.at(0, 0, 11), test::MakeTestRecord(0, 0, 11, true));
}

TEST_F(StockFileTest, APristineCopyWithADamagedRecordNeverBecomesOrRepairsAWorkingCopy)
{
    const std::vector<PuzzleRecord> good = test::MakeTestStock(true);
    std::vector<std::pair<std::string, std::vector<std::uint8_t>>> pristines;
    for (const Damage &d : kDamages) {
        std::vector<PuzzleRecord> records = good;
        d.apply(records[1599]);
        pristines.emplace_back(d.name, test::StockBytes(records));
    }
    pristines.emplace_back("random bytes", RandomStockBytes(7));

    std::vector<PuzzleRecord> damagedWorking = good;
    damagedWorking[0].Level = 99;
    const std::vector<std::uint8_t> goodBytes = test::StockBytes(good);
    const std::vector<std::uint8_t> workings[] = {
        test::StockBytes(damagedWorking), {goodBytes.begin(), goodBytes.begin() + 10 * kRecordBytes}};
    for (const auto &[name, bytes] : pristines) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(test::WriteBytes(ctx.pristinePath(), bytes));
        fs::remove(ctx.workingPath());
        // A first run copies nothing, and the load that follows reports the missing copy.
        EXPECT_FALSE(Ensure_Stock_File(ctx));
        EXPECT_TRUE(fs::is_empty(ctx.DataFolder));
        EXPECT_FALSE(Load_Stock(ctx));
        expectOneFileError(kReadErrorText);
        // A working copy that needs the pristine copy fails to load and is left as it is.
        for (const auto &working : workings) {
            writeWorking(working);
            EXPECT_FALSE(Load_Stock(ctx));
            expectOneFileError(kReadErrorText);
            EXPECT_EQ(this->working(), working);
        }
        // A sound working copy does not need it.
        writeWorking(goodBytes);
        EXPECT_TRUE(Load_Stock(ctx));
        expectNoBoxes();
    }
    EXPECT_EQ(test::ReadBytes(ctx.pristinePath()), pristines.back().second) << "never written";
}

TEST_F(StockFileTest, AReadOnlyWorkingCopyWithADamagedRecordLoadsMendedAndSaysTheRepairFailed)
{
    writePristine(false);
    std::vector<PuzzleRecord> records = test::MakeTestStock(true);
    records[300].SolutionCells.fill(0);
    writeWorking(test::StockBytes(records));
    const auto before = working();
    test::ReadOnlyScope readOnly(ctx.workingPath());
    if (!readOnly.active())
        GTEST_SKIP() << "cannot make a file read-only here";

    ASSERT_TRUE(Load_Stock(ctx));
    expectOneFileError(kWriteErrorText);
    EXPECT_EQ(puzzles.records()[300], test::MakeTestRecord(0, 3, 1, false));
    EXPECT_EQ(puzzles.records()[301], records[301]);
    EXPECT_EQ(working(), before);
}

TEST_F(StockFileTest, SaveStockRangeWritesOnlyTheRangeOfItsSet)
{
    writePristine(false);
    ASSERT_TRUE(Ensure_Stock_File(ctx));
    ASSERT_TRUE(Load_Stock(ctx));
    const auto before = working();

    // New records for Hard 10 x 10, and a change elsewhere that must not be written.
    for (int n = 1; n <= 100; ++n)
        puzzles.at(2, 1, n).HeavyCount = static_cast<std::int16_t>(500 + n);
    puzzles.at(2, 2, 1).HeavyCount = 999;

    Save_Stock_Range(ctx, 2, 1, 3, 5);
    expectNoBoxes();
    auto d = differences(before, working());
    ASSERT_FALSE(d.empty());
    EXPECT_GE(d.front(), RecordOffset(2, 1, 3));
    EXPECT_LT(d.back(), RecordOffset(2, 1, 6));

    // An empty range writes nothing.
    const auto middle = working();
    Save_Stock_Range(ctx, 2, 1, 9, 8);
    expectNoBoxes();
    EXPECT_EQ(working(), middle);

    // A range beyond 1..100 is limited to it: nothing of the neighbouring sets is written.
    Save_Stock_Range(ctx, 2, 1, -40, 250);
    expectNoBoxes();
    d = differences(before, working());
    EXPECT_GE(d.front(), RecordOffset(2, 1, 1));
    EXPECT_LT(d.back(), RecordOffset(2, 2, 1));
    for (int n = 1; n <= 100; ++n)
        EXPECT_EQ(DecodeRecord(working().data() + RecordOffset(2, 1, n)).HeavyCount, 500 + n);

    // No set at that level or size: reported, nothing written.
    const auto last = working();
    Save_Stock_Range(ctx, 4, 1, 1, 100);
    expectOneFileError(kWriteErrorText);
    Save_Puzzle(ctx, 0, 0, 101);
    expectOneFileError(kWriteErrorText);
    Reset_Puzzle_Time(ctx, 0, -1, 1);
    expectOneFileError(kResetErrorText);
    EXPECT_EQ(working(), last);
}
