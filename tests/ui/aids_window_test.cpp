// The game window's solving aids, coupler marks, help pages, best-time resets and generation
// runs, driven through its controls on the fake platform.
#include "game_window_fixture.h"

#include "game/ui/coupler_widgets.h"
#include "solver/solver.h"

#include <QMenu>
#include <QTest>

#include <filesystem>
#include <stdexcept>

namespace tl::test {
namespace {

class AidsWindowTest : public GameWindowTest {
protected:
    // Starts on Easy 8 x 8 (or the given set) and shows puzzle 1 with no given cells at all,
    // so that every line of the board is still open.
    Main &StartedOnEmptyBoard(int sizeIndex = 0)
    {
        Main &w = Started();
        w.mnu_size_n_Click(sizeIndex);
        PuzzleRecord &r = w.puzzles().at(0, sizeIndex, 1);
        r.StartCells.fill(-1);
        w.cmdNext_Click();
        return w;
    }
    // A working copy with best times already in it (not a first run).
    void WriteWorkingCopyWithBestTimes()
    {
        std::filesystem::create_directories(localDir.path() + "Farrowdel");
        ASSERT_TRUE(WriteTestStockFile(WorkingCopy(), true));
    }
    void Left(QWidget *w) { QTest::mouseClick(w, Qt::LeftButton); }
    void Right(QWidget *w) { QTest::mouseClick(w, Qt::RightButton); }
    QWidget *Cell(int row, int col) { return window->Grid[row * 14 + col]; }
    QWidget *Mark(int k) { return window->findChild<QWidget *>(QString("CustomCouplers_%1").arg(k)); }
};

// ---- Solving aids ---------------------------------------------------------------------------

TEST_F(AidsWindowTest, DuplicatePairsFollowSlotAndColourSequenceAfterAClick)
{
    Main &w = StartedOnEmptyBoard();
    // Right after Next the markers are blank.
    for (auto *m : w.UniqueCol)
        ASSERT_EQ(Back(m), Q(colour::White));
    Left(Cell(7, 7)); // a 0 in the corner: no two lines conflict yet

    // Column 0 pairs with columns 1..4 in slots 0..3: black, light red, yellow, light green;
    // (1,2) slot 2 light blue, (1,3) slot 1 light cyan, (1,5) slot 3 light magenta, (2,3)
    // slot 0 black again.
    const std::pair<int, Rgb> expected[] = {
        {0 * 14 + 0, colour::Black},      {0 * 14 + 1, colour::Black},
        {1 * 14 + 0, colour::LightRed},   {1 * 14 + 2, colour::LightRed},
        {2 * 14 + 0, colour::Yellow},     {2 * 14 + 3, colour::Yellow},
        {3 * 14 + 0, colour::LightGreen}, {3 * 14 + 4, colour::LightGreen},
        {2 * 14 + 1, colour::LightBlue},  {1 * 14 + 1, colour::LightCyan},
        {3 * 14 + 1, colour::LightMagenta}, {3 * 14 + 5, colour::LightMagenta},
        {0 * 14 + 2, colour::Black},      {0 * 14 + 3, colour::Black}};
    for (auto [index, c] : expected) {
        EXPECT_EQ(Back(w.UniqueCol[index]), Q(c)) << "UniqueCol_" << index;
        EXPECT_EQ(Back(w.UniqueRow[index]), Q(c)) << "UniqueRow_" << index;
    }
    EXPECT_EQ(Back(w.UniqueCol[8]), Q(colour::White)) << "no markers beyond the board";
    EXPECT_EQ(Back(w.DupColor), Q(w.model().Aids.DupColor));
    for (int i = 0; i < 14; ++i)
        EXPECT_EQ(Back(w.Line_X[i]), Q(colour::White));
}

TEST_F(AidsWindowTest, UniquenessMarksAppearForLinesThatDifferFromAllOthers)
{
    Main &w = StartedOnEmptyBoard();
    // Row 0 becomes 0 . . . and row 1 .. row 7 get a 1 in column 0: row 0 differs from each.
    Left(Cell(0, 0));
    for (int r = 1; r < 8; ++r) {
        Left(Cell(r, 0));
        Left(Cell(r, 0));
    }
    EXPECT_EQ(Back(w.Line_Y[0]), Q(colour::Black));
    for (int r = 1; r < 8; ++r)
        EXPECT_EQ(Back(w.Line_Y[r]), Q(colour::White)) << r;
    // Emptying the cell takes the mark away again.
    Left(Cell(0, 0));
    Left(Cell(0, 0));
    EXPECT_EQ(Back(w.Line_Y[0]), Q(colour::White));
}

TEST_F(AidsWindowTest, MarkersTakeManualClicksOnlyWithTheirOptionOff)
{
    Main &w = StartedOnEmptyBoard();
    Left(w.UniqueCol[42]);
    Left(w.Line_X[3]);
    EXPECT_EQ(Back(w.UniqueCol[42]), Q(colour::White)) << "options on: clicks ignored";
    EXPECT_EQ(Back(w.Line_X[3]), Q(colour::White));

    w.mnu_options_duplicates->trigger();
    w.mnu_options_uniqueness->trigger();
    ASSERT_FALSE(w.model().DuplicatesOn);
    EXPECT_EQ(Stored("Options", "Duplicates"), "False");

    // The swatch steps white -> black -> light red; a marker takes the swatch's colour.
    Left(w.DupColor);
    Left(w.DupColor);
    EXPECT_EQ(Back(w.DupColor), Q(colour::LightRed));
    Left(w.UniqueCol[42]); // column 0, slot 3
    EXPECT_EQ(Back(w.UniqueCol[42]), Q(colour::LightRed));
    Left(w.UniqueCol[42]);
    EXPECT_EQ(Back(w.UniqueCol[42]), Q(colour::White));
    Left(w.UniqueRow[9]); // row 9 is beyond an 8 x 8 board
    EXPECT_EQ(Back(w.UniqueRow[9]), Q(colour::White));
    Left(w.Line_X[3]);
    EXPECT_EQ(Back(w.Line_X[3]), Q(colour::Black));
    Left(w.Line_X[9]);
    EXPECT_EQ(Back(w.Line_X[9]), Q(colour::White));

    // The notes survive a move while the options are off ...
    Left(Cell(4, 4));
    EXPECT_EQ(Back(w.Line_X[3]), Q(colour::Black));
    // ... and switching an option on recomputes and drops them.
    w.mnu_options_uniqueness->trigger();
    EXPECT_EQ(Back(w.Line_X[3]), Q(colour::White));
    EXPECT_EQ(Stored("Options", "Uniqueness"), "True");
}

TEST_F(AidsWindowTest, WellsShowCountsWithTheirColoursAndDashesWhenOff)
{
    Main &w = StartedOnEmptyBoard(1); // 10 x 10
    for (int c = 0; c < 4; ++c)
        Left(Cell(0, c)); // four 0s in row 0: one short of five
    EXPECT_EQ(w.lblRowNull[0]->text(), "4");
    EXPECT_EQ(Back(w.lblRowNull[0]), Q(colour::Orange));
    Left(Cell(0, 4));
    EXPECT_EQ(Back(w.lblRowNull[0]), Q(colour::LightGreen));
    Left(Cell(0, 5));
    EXPECT_EQ(Back(w.lblRowNull[0]), Q(colour::LightRed));

    w.mnu_options_wells->trigger();
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(w.lblRowNull[i]->text(), "-");
        EXPECT_EQ(Back(w.lblRowNull[i]), Back(w.lblNull));
    }
    w.mnu_options_wells->trigger();
    EXPECT_EQ(w.lblRowNull[0]->text(), "6");
    EXPECT_EQ(Back(w.lblRowNull[0]), Q(colour::LightRed));
}

// ---- Coupler marks --------------------------------------------------------------------------

TEST_F(AidsWindowTest, RightClickPairsSetMarksAtTheirSidesAndFillingTheSecondCellDropsThem)
{
    Main &w = StartedOnEmptyBoard();
    Right(Cell(2, 1));
    Right(Cell(2, 5));
    ASSERT_NE(Mark(1), nullptr);
    ASSERT_NE(Mark(2), nullptr);
    EXPECT_EQ(Mark(1)->geometry(), QRect(1620 / 15 + 24 * 1, 1470 / 15 + 24 * 2, 5, 5));
    EXPECT_EQ(Mark(2)->geometry(), QRect(1320 / 15 + 24 * 5, 1470 / 15 + 24 * 2, 5, 5));
    EXPECT_TRUE(Mark(1)->isVisible());

    Right(Cell(1, 3));
    Right(Cell(6, 3)); // a column pair
    ASSERT_NE(Mark(4), nullptr);
    EXPECT_EQ(Mark(3)->pos(), QPoint(1470 / 15 + 24 * 3, 1620 / 15 + 24 * 1));
    EXPECT_EQ(Mark(4)->pos(), QPoint(1470 / 15 + 24 * 3, 1320 / 15 + 24 * 6));

    // Filling the first cell of the row pair keeps it; filling the second removes its two
    // marks, and the column pair's marks move into their places.
    Left(Cell(2, 1));
    EXPECT_EQ(w.model().Couplers.CustomCouplerCount(), 4);
    Left(Cell(2, 5));
    EXPECT_EQ(w.model().Couplers.CustomCouplerCount(), 2);
    EXPECT_EQ(Mark(3), nullptr);
    EXPECT_EQ(Mark(1)->pos(), QPoint(1470 / 15 + 24 * 3, 1320 / 15 + 24 * 6));
    EXPECT_EQ(Mark(2)->pos(), QPoint(1470 / 15 + 24 * 3, 1620 / 15 + 24 * 1));
    EXPECT_FALSE(Mark(0)->isVisible()) << "the template is never shown";
}

TEST_F(AidsWindowTest, RectangleMarksAllFourSidesAndNextClearsThem)
{
    Main &w = StartedOnEmptyBoard();
    Right(Cell(1, 1));
    Right(Cell(4, 6));
    EXPECT_EQ(w.model().Couplers.CustomCouplerCount(), 8);
    for (int k = 1; k <= 8; ++k)
        ASSERT_TRUE(Mark(k) && Mark(k)->isVisible()) << k;
    Right(Cell(4, 6));
    Right(Cell(1, 1)); // the same rectangle again removes it
    EXPECT_EQ(w.model().Couplers.CustomCouplerCount(), 0);
    EXPECT_EQ(Mark(1), nullptr);

    Right(Cell(0, 0));
    Right(Cell(0, 7));
    ASSERT_NE(Mark(2), nullptr);
    w.cmdSolution->click();
    w.cmdNext_Click();
    EXPECT_EQ(w.model().Couplers.CustomCouplerCount(), 0);
    EXPECT_EQ(Mark(1), nullptr);
}

TEST_F(AidsWindowTest, HintLinesAreDrawnOverTheBoardUntilErased)
{
    Main &w = StartedOnEmptyBoard();
    w.model().Couplers.Add_Coupler({1320 + 180, 1320 + 180, 1320 + 180 + 720, 1320 + 180});
    w.Refresh();
    auto *layer = w.couplerWidgets().lineLayer();
    EXPECT_TRUE(layer->isVisible());
    const QImage img = w.centralWidget()->grab().toImage();
    EXPECT_EQ(img.pixelColor(100 + 24, 100), CouplerWidgets::kLineColour);
    w.Erase_Couplers();
    EXPECT_FALSE(layer->isVisible());
    EXPECT_EQ(w.model().Couplers.CouplerCount(), 0);
}

TEST_F(AidsWindowTest, MarksAndHintLinesStayUnderThePauseCoverAndTheBanner)
{
    Main &w = StartedOnEmptyBoard();
    Right(Cell(6, 1));
    Right(Cell(6, 5)); // marks at the right of (6, 1) and the left of (6, 5), under the banner
    w.model().Couplers.Add_Coupler({1320 + 180, 1320 + 180, 1320 + 180 + 720, 1320 + 180});
    w.Refresh();
    const QPoint mark(1620 / 15 + 24 * 1 + 2, 1470 / 15 + 24 * 6 + 2);
    const QPoint line(100 + 24, 100);
    auto pixel = [&](QPoint p) { return w.centralWidget()->grab().toImage().pixelColor(p); };
    ASSERT_EQ(pixel(mark), CouplerWidgets::kMarkColour);
    ASSERT_EQ(pixel(line), CouplerWidgets::kLineColour);

    w.cmdPauze_Click();
    ASSERT_TRUE(w.model().ShieldVisible);
    const QColor cover = w.Shield->palette().color(QPalette::Window);
    EXPECT_EQ(pixel(mark), cover) << "a mark shows through the pause cover";
    EXPECT_EQ(pixel(line), cover) << "a hint line shows through the pause cover";
    w.Picture1_Click();
    EXPECT_EQ(pixel(mark), CouplerWidgets::kMarkColour);

    // Showing the solution keeps the player's marks but puts its banner over them.
    w.cmdSolution->click();
    ASSERT_TRUE(w.LabelSolved->isVisible());
    ASSERT_EQ(w.model().Couplers.CustomCouplerCount(), 2);
    EXPECT_NE(pixel(mark), CouplerWidgets::kMarkColour) << "a mark shows through the banner";
}

// ---- Help and web pages ---------------------------------------------------------------------

TEST_F(AidsWindowTest, HelpAndTheMakersSiteOpenInTheAssociatedBrowser)
{
    Main &w = Started();
    ASSERT_TRUE(w.cmdHelp->isEnabled());
    ASSERT_TRUE(w.mnu_help_contents->isEnabled());
    w.cmdHelp->click();
    w.mnu_help_contents->trigger();
    w.mnu_help_website->trigger();
    Left(w.Label2);
    QTest::mouseClick(w.Label3, Qt::LeftButton); // only "Software" reacts
    ASSERT_EQ(fake.browser.launches.size(), 4u);
    const std::string help = fake.folders.program + "/help/index.html";
    EXPECT_EQ(fake.browser.launches[0].url, help);
    EXPECT_TRUE(fake.browser.launches[0].maximised);
    EXPECT_EQ(fake.browser.launches[1].url, help);
    for (int i : {2, 3}) {
        EXPECT_EQ(fake.browser.launches[i].url, "https://www.dornel-software.com");
        EXPECT_FALSE(fake.browser.launches[i].maximised);
        EXPECT_EQ(fake.browser.launches[i].program, fake.browser.program);
    }
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(AidsWindowTest, MissingOrFailingBrowserIsReportedAndLeavesNoFileBehind)
{
    Main &w = Started();
    const auto before = std::distance(std::filesystem::directory_iterator(localDir.path() + "Farrowdel"),
                                      std::filesystem::directory_iterator());
    fake.browser.launchOk = false;
    w.cmdHelp->click();
    fake.browser.program = "";
    w.mnu_help_website->trigger();
    ASSERT_EQ(fake.messages.shown.size(), 2u);
    EXPECT_EQ(fake.messages.shown[0].title, "URL Failed");
    EXPECT_EQ(fake.messages.shown[0].text, "Web Page not Opened");
    EXPECT_EQ(fake.messages.shown[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(fake.messages.shown[1].title, "Browser Not Found");
    EXPECT_EQ(fake.messages.shown[1].text, "Could not find associated Browser");
    EXPECT_EQ(fake.browser.launches.size(), 1u);
    const auto after = std::distance(std::filesystem::directory_iterator(localDir.path() + "Farrowdel"),
                                     std::filesystem::directory_iterator());
    EXPECT_EQ(after, before);
    EXPECT_FALSE(std::filesystem::exists(localDir.path() + "Farrowdel/temphtm.HTM"));
}

// ---- Best-time resets -----------------------------------------------------------------------

TEST_F(AidsWindowTest, ResetSelectionAsksForTheShownSetAndChangesOnlyItsBestTimeBytes)
{
    WriteStock();
    WriteWorkingCopyWithBestTimes();
    Set("Players", "Count", "3");
    for (const char *key : {"Player01", "Player02", "Player03"})
        Set("Players", key, "Ann             ");
    ASSERT_TRUE(Start());
    Main &w = *window;
    w.cmdNext_Click(); // Easy 8 x 8, puzzle 1
    w.mnu_level_n_Click(1);
    w.mnu_size_n_Click(1); // Medium 10 x 10 checked, Easy 8 x 8 on the board
    const auto before = ReadBytes(WorkingCopy());

    fake.messages.answers = {MsgAnswer::No};
    w.mnu_reset_selection->trigger();
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].title, "Confirm Time Reset");
    EXPECT_EQ(fake.messages.shown[0].text,
              "Are you sure to reset Best Times for level Easy, with size 8x8 ?");
    EXPECT_EQ(fake.messages.shown[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(fake.messages.shown[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(ReadBytes(WorkingCopy()), before);
    const QString panelBefore = w.StatusBar1[3]->text();
    EXPECT_NE(panelBefore, "Best Time: 00:00 (No Best Time Yet)");

    fake.messages.answers = {MsgAnswer::Yes};
    w.mnu_reset_selection->trigger();
    const auto after = ReadBytes(WorkingCopy());
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < after.size(); ++i) {
        if (after[i] == before[i])
            continue;
        const std::size_t rec = i / kRecordBytes, off = i % kRecordBytes;
        ASSERT_LT(rec, 100u) << "only Easy 8 x 8 changes";
        ASSERT_TRUE(off >= kOffsetBestMin && off < kOffsetBestPlayer + 2) << off;
    }
    for (int n = 1; n <= 100; ++n) {
        const PuzzleRecord r = DecodeRecord(after.data() + (n - 1) * kRecordBytes);
        ASSERT_EQ(r.BestMin | r.BestSec | r.BestPlayer, 0) << n;
    }
    EXPECT_EQ(w.StatusBar1[3]->text(), "Best Time: 00:00 (No Best Time Yet)");
    EXPECT_EQ(w.puzzles().at(1, 1, 5).BestMin, DecodeRecord(before.data() + 504 * kRecordBytes).BestMin);
}

TEST_F(AidsWindowTest, ResetLevelAndAllQuestionsAndEffect)
{
    WriteStock();
    WriteWorkingCopyWithBestTimes();
    Set("Options", "Level", "3");
    Set("Options", "Size", "2");
    ASSERT_TRUE(Start());
    Main &w = *window;
    w.mnu_reset_level->trigger(); // before any puzzle: the set selected at start-up
    EXPECT_EQ(fake.messages.shown.back().text,
              "Are you sure to reset Best Times for level Insane, all sizes ?");
    auto bytes = ReadBytes(WorkingCopy());
    for (int rec = 0; rec < kStockRecords; ++rec) {
        const PuzzleRecord r = DecodeRecord(bytes.data() + rec * kRecordBytes);
        if (rec >= 1200) {
            ASSERT_FALSE(r.hasBestTime()) << rec;
        }
    }
    EXPECT_EQ(w.StatusBar1[3]->text(), "Best Time: 00:00 (No Best Time Yet)");

    w.mnu_reset_all->trigger();
    EXPECT_EQ(fake.messages.shown.back().text, "Are you sure to reset all Best Times ?");
    bytes = ReadBytes(WorkingCopy());
    for (int rec = 0; rec < kStockRecords; ++rec) {
        const PuzzleRecord r = DecodeRecord(bytes.data() + rec * kRecordBytes);
        ASSERT_EQ(r.BestMin | r.BestSec | r.BestPlayer, 0) << rec;
    }
}

TEST_F(AidsWindowTest, AfterAResetAnySlowerFinishIsTheNewBestTime)
{
    WriteStock();
    Set("Players", "Count", "1");
    Set("Players", "Player01", "Ann             ");
    Set("Players", "Last_Player", "1");
    ASSERT_TRUE(Start());
    Main &w = *window;
    PuzzleRecord &stock = w.puzzles().at(0, 0, 1);
    stock.BestMin = 0;
    stock.BestSec = 1; // a record nobody can beat
    stock.BestPlayer = 1;
    w.cmdNext_Click();
    ASSERT_EQ(w.model().BestSec, 1);
    fake.clock.advance(300);
    w.Timer1_Timer();

    w.mnu_reset_selection->trigger();
    EXPECT_EQ(w.model().BestMin | w.model().BestSec | w.model().BestPlayer, 0);
    EXPECT_EQ(stock.BestMin | stock.BestSec | stock.BestPlayer, 0);

    GameModel &m = w.model();
    for (int i = 0; i <= m.LastCell && !m.Finished; ++i)
        while (m.Board[i] != m.Solution[i] && !m.Finished)
            Left(Cell(i / m.GridSize, i % m.GridSize));
    ASSERT_TRUE(m.Finished);
    EXPECT_EQ(fake.messages.shown.back().title, "New Best Time!");
    EXPECT_EQ(stock.BestMin, 5);
    EXPECT_EQ(stock.BestSec, 0);
    EXPECT_EQ(stock.BestPlayer, 1);
    const PuzzleRecord onFile = DecodeRecord(ReadBytes(WorkingCopy()).data());
    EXPECT_EQ(onFile.BestMin, 5);
    EXPECT_EQ(w.StatusBar1[3]->text(), "Best Time: 05:00 by Ann");
}

TEST_F(AidsWindowTest, ReadOnlyStockReportsAFailedResetOnceAndForgetsTheTimesInMemory)
{
    WriteStock();
    WriteWorkingCopyWithBestTimes();
    ASSERT_TRUE(Start());
    Main &w = *window;
    ReadOnlyScope readOnly(WorkingCopy());
    if (!readOnly.active())
        GTEST_SKIP() << "cannot make the working copy read-only here";
    fake.messages.answers = {MsgAnswer::Yes};
    w.mnu_reset_all->trigger();
    ASSERT_EQ(fake.messages.shown.size(), 2u);
    EXPECT_EQ(fake.messages.shown[1].title, "File Error");
    EXPECT_EQ(fake.messages.shown[1].text, "Error resetting binary puzzle time to file!");
    for (const PuzzleRecord &r : w.puzzles().records())
        ASSERT_FALSE(r.hasBestTime());
}

// ---- Generation -----------------------------------------------------------------------------

TEST_F(AidsWindowTest, GenerationRunLocksMenusStopAsksAndHaltsAndStoresWhatIsDone)
{
    Main &w = Started(); // Easy 8 x 8 selected
    w.mnu_level_n_Click(1); // Medium selected, 8 x 8: the Level item Easy is locked in the run
    ASSERT_TRUE(w.mnu_puzzle_gen[0][0]->isEnabled());
    const auto before = ReadBytes(WorkingCopy());

    bool checkedDuringRun = false;
    int stopQuestions = 0;
    fake.pump.onPump = [&](long) {
        if (w.model().ProgressValue >= 3 && !checkedDuringRun) {
            checkedDuringRun = true;
            EXPECT_FALSE(w.mnu_puzzle_generate->menuAction()->isEnabled());
            EXPECT_FALSE(w.mnu_puzzle_design->isEnabled());
            EXPECT_FALSE(w.mnu_level_n[0]->isEnabled());
            EXPECT_TRUE(w.mnu_size_n[0]->isEnabled());
            EXPECT_TRUE(w.cmdHaltGenerator->isEnabled());
            EXPECT_EQ(w.lblProgress->text(), "Generating Easy 8x8");
            EXPECT_EQ(w.ProgressBar1->value(), 3);
            // Stop answered No first: the run goes on.
            fake.messages.answers = {MsgAnswer::No};
            QTest::mouseClick(w.cmdHaltGenerator, Qt::LeftButton);
            ++stopQuestions;
            EXPECT_FALSE(w.solver().HaltGenerator);
        } else if (w.model().ProgressValue >= 5 && stopQuestions == 1) {
            fake.messages.answers = {MsgAnswer::Yes};
            QTest::mouseClick(w.cmdHaltGenerator, Qt::LeftButton);
            ++stopQuestions;
        }
    };
    w.mnu_puzzle_gen[0][0]->trigger();
    fake.pump.onPump = nullptr;

    ASSERT_TRUE(checkedDuringRun);
    ASSERT_EQ(stopQuestions, 2);
    // Confirmation, then Stop twice.
    ASSERT_EQ(fake.messages.shown.size(), 3u);
    EXPECT_EQ(fake.messages.shown[0].title, "Confirm Generator");
    for (int i : {1, 2}) {
        EXPECT_EQ(fake.messages.shown[i].title, "Stop generating new Vivere Puzzles?");
        EXPECT_EQ(fake.messages.shown[i].text, "Are you sure you want to stop the Generator?");
        EXPECT_EQ(fake.messages.shown[i].icon, MsgIcon::Question);
    }
    EXPECT_EQ(w.lblProgress->text(), "Generating none");
    EXPECT_TRUE(w.mnu_puzzle_generate->menuAction()->isEnabled());
    EXPECT_TRUE(w.mnu_puzzle_design->isEnabled());
    EXPECT_FALSE(w.cmdHaltGenerator->isEnabled());
    EXPECT_EQ(w.ProgressBar1->value(), 0);
    for (int i = 0; i < kLevels; ++i)
        EXPECT_TRUE(w.mnu_level_n[i]->isEnabled());
    EXPECT_FALSE(w.mnu_puzzle_gen[1][0]->isEnabled()) << "the selection is not generable";
    EXPECT_TRUE(w.mnu_puzzle_gen[0][0]->isEnabled());

    // The puzzles done before the stop are written, nothing else.
    const int done = std::stoi(Stored("Generator", "L1S1"));
    EXPECT_GE(done, 5);
    EXPECT_LT(done, 100);
    const auto after = ReadBytes(WorkingCopy());
    for (int rec = 0; rec < kStockRecords; ++rec) {
        const bool same = std::equal(after.begin() + rec * kRecordBytes,
                                     after.begin() + (rec + 1) * kRecordBytes,
                                     before.begin() + rec * kRecordBytes);
        EXPECT_EQ(same, rec >= done) << "record " << rec + 1;
    }

    // Continued in the same window, on the workers kept from the stopped run: the rest of the
    // set is made and written, and the key is cleared.
    fake.messages.answers = {MsgAnswer::Yes};
    w.mnu_puzzle_gen[0][0]->trigger();
    EXPECT_EQ(fake.messages.shown.back().title, "Continue previous task?");
    EXPECT_EQ(Stored("Generator", "L1S1"), "0");
    const auto resumed = ReadBytes(WorkingCopy());
    for (int rec = 0; rec < kStockRecords; ++rec) {
        const bool same = std::equal(resumed.begin() + rec * kRecordBytes,
                                     resumed.begin() + (rec + 1) * kRecordBytes,
                                     after.begin() + rec * kRecordBytes);
        EXPECT_EQ(same, rec < done || rec >= kPuzzlesPerSet) << "record " << rec + 1;
    }
}

TEST_F(AidsWindowTest, DeclinedRunRestoresTheMenus)
{
    Main &w = Started();
    fake.messages.answers = {MsgAnswer::No};
    w.mnu_puzzle_gen[2][3]->trigger();
    EXPECT_EQ(w.lblProgress->text(), "Generating none");
    EXPECT_TRUE(w.mnu_puzzle_generate->menuAction()->isEnabled());
    EXPECT_TRUE(w.solver().HaltGenerator);
    // The longest caption a run can show fits its label.
    for (const char *caption : {"Generating Medium 10x10", "Generating Insane 14x14"})
        EXPECT_LE(w.lblProgress->fontMetrics().horizontalAdvance(caption),
                  w.lblProgress->contentsRect().width())
            << caption;
    for (int i = 0; i < kSizes; ++i)
        EXPECT_TRUE(w.mnu_size_n[i]->isEnabled());
}

struct ProgramEnded {};

TEST_F(AidsWindowTest, EndingTheProgramDuringARunLosesOnlyThatRunsPuzzles)
{
    Main &w = Started();
    w.mnu_level_n_Click(3);
    w.cmdNext_Click();
    const auto before = ReadBytes(WorkingCopy());
    Set("Generator", "L1S1", "0");
    // The quit question answered Yes in the middle of the run ends the program at once.
    w.endProgram = [](int) { throw ProgramEnded{}; };
    fake.pump.onPump = [&](long) {
        if (w.model().ProgressValue >= 4) {
            fake.messages.answers = {MsgAnswer::Yes};
            w.cmdExit_Click();
        }
    };
    fake.messages.answers = {MsgAnswer::Yes};
    EXPECT_THROW(w.mnu_puzzle_gen_Click(0, 0), ProgramEnded);
    fake.pump.onPump = nullptr;
    EXPECT_EQ(ReadBytes(WorkingCopy()), before);
    EXPECT_EQ(Stored("Generator", "L1S1"), "0");
    EXPECT_EQ(w.puzzles().at(0, 0, 1), DecodeRecord(before.data()));
}

} // namespace
} // namespace tl::test
