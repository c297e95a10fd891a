// Playing in the game window: a puzzle played to its end by a named player, undo and redo,
// pause and penalty, restart, the solution, designs and minimising.
#include "game/design_guard.h"
#include "game_window_fixture.h"

#include <QDir>
#include <QTest>

#include <cstdint>

using namespace tl;
using namespace tl::test;

namespace {

class PlayWindowTest : public GameWindowTest {
protected:
    Main &Playing()
    {
        Set("Players", "Count", "2");
        Set("Players", "Player01", "Anna            ");
        Set("Players", "Player02", "Bob             ");
        Set("Players", "Last_Player", "2");
        Main &w = Started();
        QTest::mouseClick(w.cmdNext, Qt::LeftButton);
        EXPECT_EQ(w.model().LastCell, 63);
        return w;
    }
    GameModel &m() { return window->model(); }
    int GridOf(int cell) { return cell / m().GridSize * kMaxSide + cell % m().GridSize; }
    void Click(int cell, Qt::MouseButton b = Qt::LeftButton)
    {
        QTest::mouseClick(window->Grid[GridOf(cell)], b);
    }
    int FirstEmpty(int after = -1)
    {
        for (int i = after + 1; i <= m().LastCell; ++i)
            if (m().StartBoard[i] == -1)
                return i;
        return -1;
    }
    void SolveByClicks()
    {
        for (int i = 0; i <= m().LastCell; ++i)
            while (m().Board[i] != m().Solution[i] && !m().Finished)
                Click(i);
    }
    void Tick(int seconds)
    {
        fake.clock.advance(seconds);
        window->Timer1_Timer();
    }
    // The best-time fields of a record in the working copy: minutes, seconds, holder.
    std::array<int, 3> StoredBest(int level, int size, int number)
    {
        const auto bytes = ReadBytes(WorkingCopy());
        const std::size_t at = RecordOffset(level, size, number);
        std::array<int, 3> out{};
        for (int k = 0; k < 3; ++k)
            out[k] = static_cast<std::int16_t>(bytes.at(at + kOffsetBestMin + 2 * k) |
                                               (bytes.at(at + kOffsetBestMin + 2 * k + 1) << 8));
        return out;
    }
    // The designer, when shown, hands `design` over to be played as after Solve.
    void DesignerHandsOver(const PuzzleRecord &design)
    {
        window->showDesigner = [this, design] {
            window->DesignPuzzle = design;
            window->PlayingDesign() = true;
        };
    }
};

// A design as the designer hands it over after a successful validation.
PuzzleRecord ValidatedDesign(int sizeIndex, unsigned seed = 11)
{
    const int n = SideOfSizeIndex(sizeIndex);
    PuzzleRecord d;
    d.SizeIndex = static_cast<std::int16_t>(sizeIndex);
    d.StartCells.fill(-1);
    d.SolutionCells.fill(-1);
    d.ExtraCells.fill(-1);
    const auto board = MakeValidBoard(n, seed);
    for (int i = 0; i < n * n; ++i)
        d.StartCells[i] = d.SolutionCells[i] = static_cast<std::int16_t>(board[i]);
    for (int i = 0; i < n * n; i += 2) {
        PuzzleRecord trial = d;
        trial.StartCells[i] = -1;
        if (Revalidate_Design(trial, SharedLineTables()))
            d = trial;
    }
    return d;
}

} // namespace

TEST_F(PlayWindowTest, ANamedPlayerSolvesAPuzzleAndRecordsABestTime)
{
    Main &w = Playing();
    EXPECT_EQ(w.windowTitle(), "Dornel's Tilloran - Bob is playing");
    ASSERT_EQ(StoredBest(0, 0, 1), (std::array<int, 3>{0, 0, 0}));
    Tick(125);
    EXPECT_EQ(w.LabelTijd->text(), "02:05");
    fake.sound.played.clear();
    SolveByClicks();

    ASSERT_TRUE(m().Finished);
    ASSERT_FALSE(fake.sound.played.empty());
    EXPECT_EQ(fake.sound.played.back(), "Applause.wav");
    for (std::size_t i = 0; i + 1 < fake.sound.played.size(); ++i)
        EXPECT_EQ(fake.sound.played[i], "Assign.wav");
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].title, "New Best Time!");
    EXPECT_EQ(fake.messages.shown[0].text, "New Best Time for this puzzle. Congratulations!!!");
    EXPECT_EQ(fake.messages.shown[0].icon, MsgIcon::Information);
    EXPECT_EQ(w.StatusBar1[3]->text(), "Best Time: 02:05 by Bob");
    EXPECT_TRUE(w.LabelSolved->isVisible());
    EXPECT_EQ(w.LabelSolved->text(), "CONGRATULATIONS");
    EXPECT_EQ(w.lblInfo->toPlainText(), "");
    EXPECT_EQ(StoredBest(0, 0, 1), (std::array<int, 3>{2, 5, 2}));
    EXPECT_EQ(w.puzzles().at(0, 0, 1).BestMin, 2);
    // The clock stopped; the game is over.
    Tick(30);
    EXPECT_EQ(w.LabelTijd->text(), "02:05");
    EXPECT_TRUE(w.cmdNext->isEnabled());
    EXPECT_TRUE(w.cmdOpen->isEnabled());
    EXPECT_TRUE(w.cmdPlayers->isEnabled());
    for (QPushButton *b : {w.cmdUndo, w.cmdRedo, w.cmdRestart, w.cmdSolution, w.cmdPauze})
        EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
    EXPECT_FALSE(w.mnu_solve_undo->isEnabled());
    Shot("finished_puzzle.png");
    // The banner goes away when clicked.
    QTest::mouseClick(w.LabelSolved, Qt::LeftButton);
    EXPECT_FALSE(w.LabelSolved->isVisible());
}

TEST_F(PlayWindowTest, ABestTimeIsNotWrittenIntoARecordReplacedDuringPlay)
{
    Main &w = Playing();
    // A generation run replaces the set's puzzles while this one is played.
    PuzzleRecord generated = MakeTestRecord(0, 0, 7, false);
    generated.Number = 1;
    w.puzzles().at(0, 0, 1) = generated;
    Tick(60);
    SolveByClicks();
    ASSERT_TRUE(m().Finished);
    EXPECT_EQ(fake.sound.played.back(), "Applause.wav");
    EXPECT_TRUE(fake.messages.shown.empty());
    EXPECT_EQ(w.puzzles().at(0, 0, 1), generated);
    EXPECT_EQ(StoredBest(0, 0, 1), (std::array<int, 3>{0, 0, 0}));
    EXPECT_EQ(w.StatusBar1[3]->text(), "Best Time: 00:00 (No Best Time Yet)");
}

TEST_F(PlayWindowTest, OutOfRangeStoredCellsReadAsEmptyAndThePuzzleStaysPlayable)
{
    // Easy 8 x 8 number 1 with every empty cell stored as 32767, three given cells damaged
    // into other values and a damaged solution cell beyond the board.
    std::vector<PuzzleRecord> records = MakeTestStock(false);
    PuzzleRecord &damaged = records[0];
    std::vector<int> givens;
    for (int k = 0; k < 64; ++k) {
        if (damaged.StartCells[k] == -1)
            damaged.StartCells[k] = 32767;
        else
            givens.push_back(k);
    }
    ASSERT_GE(givens.size(), 3u);
    const std::int16_t odd[] = {2, -2, -32768};
    for (int i = 0; i < 3; ++i)
        damaged.StartCells[givens[i]] = odd[i];
    damaged.SolutionCells[100] = 32767;
    ASSERT_TRUE(WriteBytes(programDir / "DudEzadu.qzk", StockBytes(records)));
    Set("Players", "Count", "1");
    Set("Players", "Last_Player", "1");
    ASSERT_TRUE(Start());
    Main &w = *window;
    QTest::mouseClick(w.cmdNext, Qt::LeftButton);

    for (int k = 0; k < kGridCells; ++k) {
        EXPECT_GE(m().StartBoard[k], -1) << k;
        EXPECT_LE(m().StartBoard[k], 1) << k;
        EXPECT_GE(m().Solution[k], -1) << k;
        EXPECT_LE(m().Solution[k], 1) << k;
    }
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Caption(GridOf(givens[i])), "") << givens[i];
        EXPECT_EQ(Back(w.Grid[GridOf(givens[i])]), Q(colour::WindowBack)) << givens[i];
    }
    EXPECT_EQ(Caption(GridOf(givens[3])), QString::number(damaged.StartCells[givens[3]]));
    // Every cell that is not a sound given cell takes clicks, and the puzzle can be finished
    // with a best time (at most two clicks bring a cell to its value).
    Tick(65);
    for (int k = 0; k < 64 && !m().Finished; ++k)
        for (int click = 0; click < 2 && m().Board[k] != m().Solution[k]; ++click)
            Click(k);
    EXPECT_EQ(Caption(GridOf(givens[0])), QString::number(m().Solution[givens[0]]));
    ASSERT_TRUE(m().Finished);
    EXPECT_EQ(StoredBest(0, 0, 1), (std::array<int, 3>{1, 5, 1}));
    // The damaged values themselves are kept as stored.
    const auto bytes = ReadBytes(WorkingCopy());
    EXPECT_EQ(DecodeRecord(bytes.data()).StartCells, damaged.StartCells);
}

TEST_F(PlayWindowTest, FreePlayRecordsNoTime)
{
    Main &w = Started();
    QTest::mouseClick(w.cmdNext, Qt::LeftButton);
    Tick(20);
    SolveByClicks();
    EXPECT_TRUE(m().Finished);
    EXPECT_EQ(fake.sound.played.back(), "Applause.wav");
    EXPECT_TRUE(fake.messages.shown.empty());
    EXPECT_EQ(StoredBest(0, 0, 1), (std::array<int, 3>{0, 0, 0}));
}

TEST_F(PlayWindowTest, UndoAndRedoButtonsWalkRunsWithTheirSounds)
{
    Main &w = Playing();
    const int x = FirstEmpty(), y = FirstEmpty(x);
    EXPECT_FALSE(w.cmdUndo->isEnabled());
    for (int c : {x, x, y, x})
        Click(c);
    EXPECT_TRUE(w.cmdUndo->isEnabled());
    EXPECT_TRUE(w.mnu_solve_undo->isEnabled());
    EXPECT_FALSE(w.cmdRedo->isEnabled());
    fake.sound.played.clear();
    QTest::mouseClick(w.cmdUndo, Qt::LeftButton);
    EXPECT_EQ(w.Grid[GridOf(x)]->text(), "1");
    QTest::mouseClick(w.cmdUndo, Qt::LeftButton);
    EXPECT_EQ(w.Grid[GridOf(y)]->text(), "");
    w.mnu_solve_undo->trigger();
    EXPECT_EQ(w.Grid[GridOf(x)]->text(), "");
    EXPECT_FALSE(w.cmdUndo->isEnabled());
    EXPECT_FALSE(w.mnu_solve_undo->isEnabled());
    EXPECT_TRUE(w.cmdRedo->isEnabled());
    EXPECT_EQ(fake.sound.played, (std::vector<std::string>{"Discard.wav", "Discard.wav", "Discard.wav"}));
    fake.sound.played.clear();
    QTest::mouseClick(w.cmdRedo, Qt::LeftButton);
    EXPECT_EQ(w.Grid[GridOf(x)]->text(), "1");
    w.mnu_solve_redo->trigger();
    EXPECT_EQ(w.Grid[GridOf(y)]->text(), "0");
    QTest::mouseClick(w.cmdRedo, Qt::LeftButton);
    EXPECT_EQ(w.Grid[GridOf(x)]->text(), "");
    EXPECT_FALSE(w.cmdRedo->isEnabled());
    EXPECT_TRUE(w.cmdUndo->isEnabled());
    EXPECT_EQ(fake.sound.played, (std::vector<std::string>{"UndoRedo.wav", "UndoRedo.wav", "UndoRedo.wav"}));
}

TEST_F(PlayWindowTest, PauseCoversTheBoardResumeAndPenaltyOnAFakeClock)
{
    Main &w = Playing();
    Tick(55);
    QTest::mouseClick(w.cmdPauze, Qt::LeftButton);
    EXPECT_TRUE(w.Shield->isVisible());
    EXPECT_TRUE(w.Picture1->isVisible());
    Shot("paused_board.png");
    Tick(600);
    EXPECT_EQ(w.LabelTijd->text(), "00:55");
    EXPECT_TRUE(w.cmdPauze->isEnabled()); // pausing neither disables nor relabels it
    EXPECT_EQ(w.cmdPauze->text(), "Pause");
    QTest::mouseClick(w.Picture1, Qt::LeftButton);
    EXPECT_FALSE(w.Shield->isVisible());
    Tick(1);
    EXPECT_EQ(w.LabelTijd->text(), "00:56");
    w.Penalty(40);
    Tick(0);
    EXPECT_EQ(w.LabelTijd->text(), "01:36");
    // Undo on a paused game uncovers the board first.
    const int x = FirstEmpty();
    Click(x);
    QTest::mouseClick(w.cmdPauze, Qt::LeftButton);
    QTest::mouseClick(w.cmdUndo, Qt::LeftButton);
    EXPECT_FALSE(w.Shield->isVisible());
    EXPECT_EQ(w.Grid[GridOf(x)]->text(), "");
}

TEST_F(PlayWindowTest, MinimisingDuringPlayPausesAndRestoringDoesNotResume)
{
    Main &w = Playing();
    Tick(10);
    w.setWindowState(Qt::WindowMinimized);
    EXPECT_TRUE(m().Clock.Paused);
    EXPECT_TRUE(m().ShieldVisible);
    w.setWindowState(Qt::WindowNoState);
    EXPECT_TRUE(m().Clock.Paused);
    EXPECT_TRUE(m().ShieldVisible);
    Tick(100);
    EXPECT_EQ(w.LabelTijd->text(), "00:10");
}

TEST_F(PlayWindowTest, RestartOnAPausedGameUncoversAndStartsAgain)
{
    Main &w = Playing();
    const int x = FirstEmpty();
    Click(x);
    Tick(42);
    QTest::mouseClick(w.cmdPauze, Qt::LeftButton);
    fake.sound.played.clear();
    QTest::mouseClick(w.cmdRestart, Qt::LeftButton);
    EXPECT_EQ(fake.sound.played, (std::vector<std::string>{"Giggle.wav"}));
    EXPECT_FALSE(w.Shield->isVisible());
    EXPECT_EQ(w.LabelTijd->text(), "00:00");
    EXPECT_EQ(w.Grid[GridOf(x)]->text(), "");
    EXPECT_EQ(m().Board, m().StartBoard);
    EXPECT_FALSE(w.cmdUndo->isEnabled());
    EXPECT_FALSE(w.mnu_solve_undo->isEnabled());
    Tick(3);
    EXPECT_EQ(w.LabelTijd->text(), "00:03");
}

TEST_F(PlayWindowTest, TheSolutionEndsTheGameWithoutABestTime)
{
    Main &w = Playing();
    Tick(30);
    fake.sound.played.clear();
    w.mnu_solve_solution->trigger();
    EXPECT_EQ(fake.sound.played, (std::vector<std::string>{"Error.wav"}));
    EXPECT_EQ(w.LabelSolved->text(), "Better luck, next time!");
    EXPECT_TRUE(w.LabelSolved->isVisible());
    for (int i = 0; i <= 63; ++i)
        EXPECT_EQ(w.Grid[GridOf(i)]->text(), m().Solution[i] == 1 ? "1" : "0");
    Tick(30);
    EXPECT_EQ(w.LabelTijd->text(), "00:30");
    EXPECT_TRUE(fake.messages.shown.empty());
    EXPECT_EQ(StoredBest(0, 0, 1), (std::array<int, 3>{0, 0, 0}));
    EXPECT_TRUE(w.cmdNext->isEnabled());
    EXPECT_FALSE(w.cmdSolution->isEnabled());
    // The next puzzle is played as usual.
    QTest::mouseClick(w.cmdNext, Qt::LeftButton);
    EXPECT_EQ(w.StatusBar1[2]->text(), "Number: 2");
    EXPECT_FALSE(w.LabelSolved->isVisible());
}

TEST_F(PlayWindowTest, ADesignIsPlayedAsDesignAndRecordsNoBestTime)
{
    Main &w = Playing();
    w.mnu_solve_solution->trigger();
    const PuzzleRecord design = ValidatedDesign(1);
    DesignerHandsOver(design);
    w.Refresh();
    ASSERT_TRUE(w.mnu_puzzle_design->isEnabled());
    const auto before = ReadBytes(WorkingCopy());
    fake.sound.played.clear();
    w.mnu_puzzle_design->trigger();
    EXPECT_EQ(fake.sound.played, (std::vector<std::string>{"Label.wav"}));
    EXPECT_EQ(w.StatusBar1[2]->text(), "Design");
    EXPECT_EQ(w.StatusBar1[1]->text(), "Size: 10x10");
    EXPECT_EQ(w.StatusBar1[3]->text(), "Best Time: 00:00 (No Best Time Yet)");
    EXPECT_FALSE(w.mnu_puzzle_design->isEnabled());
    Tick(90);
    SolveByClicks();
    EXPECT_TRUE(m().Finished);
    EXPECT_EQ(fake.sound.played.back(), "Applause.wav");
    EXPECT_TRUE(w.LabelSolved->isVisible());
    EXPECT_TRUE(fake.messages.shown.empty());
    EXPECT_EQ(ReadBytes(WorkingCopy()), before);
    EXPECT_FALSE(m().PlayingDesign);
    // A stock puzzle afterwards records its time again.
    QTest::mouseClick(w.cmdNext, Qt::LeftButton);
    Tick(15);
    SolveByClicks();
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(StoredBest(0, 0, 2), (std::array<int, 3>{0, 15, 2}));
}

TEST_F(PlayWindowTest, AHandedOverDesignWhoseCellsDoNotSolveIsNotPlayed)
{
    Main &w = Playing();
    w.mnu_solve_solution->trigger();
    PuzzleRecord design = ValidatedDesign(0);
    // A validated design with cells cleared, handed over as if accepted.
    for (int i = 0; i < 40; ++i)
        design.StartCells[i] = -1;
    DesignerHandsOver(design);
    w.mnu_puzzle_design_Click();
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].title, "Validate Result");
    EXPECT_EQ(fake.messages.shown[0].text, "Your design has no unique solution.");
    EXPECT_FALSE(m().PlayingDesign);
    EXPECT_TRUE(m().Finished);
    EXPECT_EQ(w.StatusBar1[2]->text(), "Number: 1");
    EXPECT_TRUE(w.cmdNext->isEnabled());
}

TEST_F(PlayWindowTest, AHandedOverDesignIsPlayedWithTheSolutionOfItsOwnGivenCells)
{
    Main &w = Playing();
    w.mnu_solve_solution->trigger();
    const PuzzleRecord validated = ValidatedDesign(0, 11);
    const PuzzleRecord other = ValidatedDesign(0, 29);
    ASSERT_NE(validated.SolutionCells, other.SolutionCells);
    // The record of one validated design with the given cells of another.
    PuzzleRecord handed = validated;
    handed.StartCells = other.StartCells;
    DesignerHandsOver(handed);
    w.mnu_puzzle_design_Click();
    EXPECT_TRUE(fake.messages.shown.empty());
    ASSERT_FALSE(m().Finished);
    EXPECT_EQ(w.StatusBar1[2]->text(), "Design");
    EXPECT_EQ(m().Solution, other.SolutionCells);
    // So the game can be completed.
    SolveByClicks();
    EXPECT_TRUE(m().Finished);
    EXPECT_EQ(w.LabelSolved->text(), "CONGRATULATIONS");
}

TEST_F(PlayWindowTest, ADesignWithEveryCellGivenIsPlayedAndEndedByAClickOfAnotherButton)
{
    // A full board is put on the board as any design; a click with any button but the left
    // and the right one runs the completion test alone and ends it, without a best time.
    Main &w = Playing();
    w.mnu_solve_solution->trigger();
    PuzzleRecord full = ValidatedDesign(0);
    full.StartCells = full.SolutionCells;
    DesignerHandsOver(full);
    const auto before = ReadBytes(WorkingCopy());
    fake.sound.played.clear();
    w.mnu_puzzle_design_Click();
    EXPECT_FALSE(m().Finished);
    EXPECT_TRUE(m().PlayingDesign);
    EXPECT_EQ(fake.sound.played, (std::vector<std::string>{"Label.wav"}));
    EXPECT_EQ(w.StatusBar1[2]->text(), "Design");
    EXPECT_FALSE(w.LabelSolved->isVisible());
    EXPECT_TRUE(w.cmdHint->isEnabled());
    EXPECT_TRUE(w.cmdSolution->isEnabled());
    Tick(7);
    EXPECT_EQ(w.LabelTijd->text(), "00:07");

    // The right button never completes; the middle button does, on any cell.
    Click(0, Qt::RightButton);
    EXPECT_FALSE(m().Finished);
    Click(m().LastCell, Qt::MiddleButton);
    EXPECT_TRUE(m().Finished);
    EXPECT_FALSE(m().PlayingDesign);
    EXPECT_EQ(w.LabelSolved->text(), "CONGRATULATIONS");
    EXPECT_TRUE(w.LabelSolved->isVisible());
    EXPECT_EQ(fake.sound.played.back(), "Applause.wav");
    EXPECT_FALSE(w.cmdHint->isEnabled());
    EXPECT_TRUE(w.cmdNext->isEnabled());
    EXPECT_TRUE(fake.messages.shown.empty()) << "no new best time";
    EXPECT_EQ(w.StatusBar1[3]->text(), "Best Time: 00:00 (No Best Time Yet)");
    EXPECT_EQ(ReadBytes(WorkingCopy()), before);
    Tick(5);
    EXPECT_EQ(w.LabelTijd->text(), "00:07") << "the clock stopped";
}

TEST_F(PlayWindowTest, NoClickSequenceMakesAGivenCellEditable)
{
    Main &w = Playing();
    // A selection left on the board when the game ends, then the next puzzle.
    const PuzzleRecord &second = w.puzzles().at(0, 0, 2);
    int cell = -1;
    for (int i = 0; i <= 63 && cell < 0; ++i)
        if (m().StartBoard[i] == -1 && second.StartCells[i] != -1)
            cell = i;
    ASSERT_GE(cell, 0);
    Click(cell, Qt::RightButton);
    QTest::mouseClick(w.cmdSolution, Qt::LeftButton);
    QTest::mouseClick(w.cmdNext, Qt::LeftButton);
    Click(FirstEmpty());
    EXPECT_EQ(Back(w.Grid[GridOf(cell)]), Q(colour::GivenCell));
    const QString caption = w.Grid[GridOf(cell)]->text();
    fake.sound.played.clear();
    for (auto b : {Qt::LeftButton, Qt::RightButton, Qt::LeftButton, Qt::LeftButton})
        Click(cell, b);
    EXPECT_EQ(w.Grid[GridOf(cell)]->text(), caption);
    EXPECT_EQ(Back(w.Grid[GridOf(cell)]), Q(colour::GivenCell));
    EXPECT_TRUE(fake.sound.played.empty());
}

TEST_F(PlayWindowTest, TheCoverAndTheBannerHideThePlayersCouplerMarks)
{
    Main &w = Playing();
    // A pair of empty cells in a row that the banner lies over.
    const int n = m().GridSize;
    int a = -1, b = -1;
    for (int r = 6; r < n && b < 0; ++r) {
        a = b = -1;
        for (int c = 0; c < n; ++c)
            if (m().StartBoard[r * n + c] == -1) {
                if (a < 0)
                    a = r * n + c;
                else if (b < 0)
                    b = r * n + c;
            }
    }
    ASSERT_GE(b, 0);
    Click(a, Qt::RightButton);
    Click(b, Qt::RightButton);
    ASSERT_EQ(m().Couplers.CustomCouplerCount(), 2);
    QWidget *mark = w.findChild<QWidget *>("CustomCouplers_1");
    ASSERT_NE(mark, nullptr);
    ASSERT_TRUE(mark->isVisible());
    const QPoint at = mark->geometry().center();
    const QColor markColour = w.centralWidget()->grab().toImage().pixelColor(at);

    QTest::mouseClick(w.cmdPauze, Qt::LeftButton);
    ASSERT_TRUE(w.Shield->geometry().contains(at));
    QColor shown = w.centralWidget()->grab().toImage().pixelColor(at);
    EXPECT_NE(shown, markColour);
    EXPECT_EQ(shown, w.Shield->palette().color(QPalette::Window));

    QTest::mouseClick(w.Picture1, Qt::LeftButton);
    EXPECT_EQ(w.centralWidget()->grab().toImage().pixelColor(at), markColour);
    // The marks stay after the solution is shown, under the banner.
    QTest::mouseClick(w.cmdSolution, Qt::LeftButton);
    ASSERT_EQ(m().Couplers.CustomCouplerCount(), 2);
    ASSERT_TRUE(w.LabelSolved->geometry().contains(at));
    EXPECT_EQ(w.centralWidget()->grab().toImage().pixelColor(at),
              w.LabelSolved->palette().color(QPalette::Base));
}
