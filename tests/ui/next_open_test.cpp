// Putting a puzzle on the board: Next and Open.
#include "game_window_fixture.h"

#include <QTimer>

namespace tl::test {
namespace {

using NextOpenTest = GameWindowTest;

TEST_F(NextOpenTest, FirstNextShowsPuzzle1WithItsGivenCellsAndStartsTheGame)
{
    Main &w = Started();
    const PuzzleRecord &record = w.puzzles().at(0, 0, 1);
    w.cmdNext->click();

    for (int r = 0; r < 8; ++r) {
        for (int c = 0; c < 8; ++c) {
            const int v = record.StartCells[r * 8 + c];
            ClickLabel *cell = w.Grid[r * 14 + c];
            EXPECT_EQ(cell->text(), v == 1 ? "1" : v == 0 ? "0" : "") << r << "," << c;
            EXPECT_EQ(Back(cell), Q(v == -1 ? colour::WindowBack : colour::GivenCell));
        }
    }
    EXPECT_EQ(Back(w.Grid[8 * 14 + 3]), Q(colour::Black));
    EXPECT_EQ(w.model().LastCell, 63);
    EXPECT_FALSE(w.model().Finished);
    EXPECT_EQ(w.StatusBar1[2]->text(), "Number: 1");
    EXPECT_EQ(w.StatusBar1[3]->text(), "Best Time: 00:00 (No Best Time Yet)");
    EXPECT_EQ(w.lblInfo->toPlainText(), "Vivere Puzzle ready to solve...");
    EXPECT_EQ(w.LabelTijd->text(), "00:00");
    EXPECT_TRUE(w.Timer1->isActive());
    EXPECT_EQ(fake.sound.played, std::vector<std::string>{"Label.wav"});

    // The number is stored, and all sixteen numbers are written.
    EXPECT_EQ(Stored("Last_Easy", "Size_08"), "1");
    EXPECT_EQ(Stored("Last_Insane", "Size_14"), "0");
    EXPECT_EQ(fake.settings.writes.size(), 16u);

    // No second puzzle, no players and no design while the game runs; the game's commands
    // are on.
    for (QPushButton *b : {w.cmdNext, w.cmdOpen, w.cmdPlayers, w.cmdUndo, w.cmdRedo})
        EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
    for (QAction *a : {w.mnu_puzzle_next, w.mnu_puzzle_open, w.mnu_puzzle_players,
                       w.mnu_puzzle_design, w.mnu_solve_undo, w.mnu_solve_redo})
        EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
    for (Command c : {Command::Restart, Command::Solution, Command::Pause, Command::Hint})
        EXPECT_TRUE(w.model().enabled(c));
    EXPECT_TRUE(w.cmdExit->isEnabled());
}

TEST_F(NextOpenTest, NumbersStepOnFrom100To1AndANumberOutOfRangeCountsAsNone)
{
    Set("Last_Medium", "Size_12", "100");
    Set("Last_Easy", "Size_08", "150");
    Set("Options", "Level", "1");
    Set("Options", "Size", "2");
    Main &w = Started();
    w.cmdNext->click();
    EXPECT_EQ(w.StatusBar1[0]->text(), "Level: Medium");
    EXPECT_EQ(w.StatusBar1[1]->text(), "Size: 12x12");
    EXPECT_EQ(w.StatusBar1[2]->text(), "Number: 1");
    EXPECT_EQ(Stored("Last_Medium", "Size_12"), "1");

    // The game ends; the selection changes to Easy 8 x 8, whose stored 150 counts as none.
    w.model().Finished = true;
    w.mnu_level_n[0]->trigger();
    w.mnu_size_n[0]->trigger();
    w.cmdNext_Click();
    EXPECT_EQ(w.StatusBar1[2]->text(), "Number: 1");
    EXPECT_EQ(Stored("Last_Easy", "Size_08"), "1");
    EXPECT_EQ(Stored("Last_Medium", "Size_12"), "1");
}

TEST_F(NextOpenTest, ChangingTheSizeRedrawsTheFrameAndTheSameSizeKeepsIt)
{
    Set("Options", "Size", "3");
    Main &w = Started();
    w.cmdNext->click();
    for (int i = 0; i < kGridCells; ++i)
        ASSERT_NE(Back(w.Grid[i]), Q(colour::Black));

    w.mnu_size_n[0]->trigger();
    w.cmdNext_Click();
    int black = 0;
    for (int i = 0; i < kGridCells; ++i) {
        const int r = i / 14, c = i % 14;
        const bool frame = (r == 8 && c <= 8) || (c == 8 && r <= 8);
        EXPECT_EQ(Back(w.Grid[i]) == Q(colour::Black), frame) << i;
        if (r > 8 || c > 8) {
            EXPECT_EQ(w.Grid[i]->text(), "") << i;
        }
        black += frame;
    }
    EXPECT_EQ(black, 17);

    w.cmdNext_Click();
    EXPECT_EQ(w.StatusBar1[2]->text(), "Number: 2");
    EXPECT_EQ(Back(w.Grid[8 * 14 + 8]), Q(colour::Black));
    EXPECT_EQ(Back(w.Grid[13 * 14 + 13]), Q(colour::WindowBack));
}

TEST_F(NextOpenTest, CountLabelsFollowTheWellsOption)
{
    Main &w = Started();
    // Rows 0, 1 and 2 hold three, four and two given 1s.
    PuzzleRecord record = w.puzzles().at(0, 0, 1);
    record.StartCells.fill(-1);
    for (int c : {0, 2, 4})
        record.StartCells[c] = 1;
    for (int c : {0, 2, 4, 6})
        record.StartCells[8 + c] = 1;
    for (int c : {1, 3})
        record.StartCells[16 + c] = 1;
    w.puzzles().at(0, 0, 1) = record;
    w.cmdNext->click();
    EXPECT_EQ(w.lblRowOne[0]->text(), "3");
    EXPECT_EQ(Back(w.lblRowOne[0]), Q(colour::Orange));
    EXPECT_EQ(w.lblRowOne[1]->text(), "4");
    EXPECT_EQ(Back(w.lblRowOne[1]), Q(colour::LightGreen));
    EXPECT_EQ(w.lblRowOne[2]->text(), "2");
    EXPECT_EQ(Back(w.lblRowOne[2]), Back(w.lblOne));
    EXPECT_EQ(w.lblColOne[0]->text(), "2");
    EXPECT_EQ(w.lblRowNull[0]->text(), "-");
    EXPECT_EQ(w.lblColNull[5]->text(), "-");

    // Wells off: the counts are kept, the labels show "-" in the legend colours.
    w.mnu_options_wells->trigger();
    EXPECT_EQ(w.lblRowOne[1]->text(), "-");
    EXPECT_EQ(Back(w.lblRowOne[1]), Back(w.lblOne));
    EXPECT_EQ(w.model().RowOnes[1], 4);
    w.model().Finished = true;
    w.cmdNext_Click();
    w.puzzles().at(0, 0, 3) = record;
    w.cmdNext_Click();
    EXPECT_EQ(w.lblRowOne[1]->text(), "-");
    EXPECT_EQ(Back(w.lblRowOne[1]), Back(w.lblOne));
    EXPECT_EQ(w.model().RowOnes[1], 4);
    EXPECT_EQ(w.model().ColOnes[0], 2);

    // Wells on again: the counts come back with their colours.
    w.mnu_options_wells->trigger();
    EXPECT_EQ(w.lblRowOne[1]->text(), "4");
    EXPECT_EQ(Back(w.lblRowOne[1]), Q(colour::LightGreen));
    EXPECT_EQ(w.lblRowNull[1]->text(), "0");
}

TEST_F(NextOpenTest, BestTimeNamesItsHolderOnlyWhenTheHolderIsOnTheRoster)
{
    Set("Players", "Count", "2");
    Set("Players", "Player01", "Ann             ");
    Set("Players", "Player02", "Bob             ");
    Main &w = Started();
    auto shown = [&](int min, int sec, int player) {
        PuzzleRecord &r = w.puzzles().at(0, 0, 1);
        r.BestMin = static_cast<std::int16_t>(min);
        r.BestSec = static_cast<std::int16_t>(sec);
        r.BestPlayer = static_cast<std::int16_t>(player);
        w.model().PuzzleNr[0][0] = 0;
        w.model().Finished = true;
        w.cmdNext_Click();
        return w.StatusBar1[3]->text().toStdString();
    };
    EXPECT_EQ(shown(3, 7, 2), "Best Time: 03:07 by Bob");
    EXPECT_EQ(shown(125, 0, 1), "Best Time: 25:00 by Ann");
    EXPECT_EQ(shown(3, 7, 0), "Best Time: 00:00 (No Best Time Yet)");
    EXPECT_EQ(shown(3, 7, 3), "Best Time: 00:00 (No Best Time Yet)");
    EXPECT_EQ(shown(0, 0, 1), "Best Time: 00:00 (No Best Time Yet)");
}

TEST_F(NextOpenTest, OpenAsksAgainUntilANumberFrom1To100AndOpensIt)
{
    Main &w = Started();
    fake.input.answers = {"abc", "0", "101", "1e3", "7.5"};
    w.cmdOpen->click();
    ASSERT_EQ(fake.input.asked.size(), 5u);
    for (const auto &a : fake.input.asked) {
        EXPECT_EQ(a.prompt, "Enter a value between 1 and 100");
        EXPECT_EQ(a.title, "Vivere Puzzle number");
        EXPECT_EQ(a.defaultText, "1");
    }
    EXPECT_EQ(w.StatusBar1[2]->text(), "Number: 8");
    EXPECT_EQ(Stored("Last_Easy", "Size_08"), "8");
    EXPECT_TRUE(fake.messages.shown.empty());

    for (const auto &[answer, number] : std::vector<std::pair<std::string, std::string>>{
             {"100.5", "100"}, {"0.6", "1"}, {"  42abc", "42"}}) {
        w.model().Finished = true;
        fake.input.answers = {answer};
        w.cmdOpen_Click();
        EXPECT_EQ(w.StatusBar1[2]->text().toStdString(), "Number: " + number) << answer;
    }
}

TEST_F(NextOpenTest, CancelledOpenChangesNothing)
{
    Main &w = Started();
    w.mnu_puzzle_open->trigger(); // no answer: Cancel
    EXPECT_EQ(fake.input.asked.size(), 1u);
    EXPECT_EQ(w.StatusBar1[2]->text(), "Number: --");
    EXPECT_EQ(w.model().PuzzleNr[0][0], 0);
    EXPECT_TRUE(fake.settings.writes.empty());
    EXPECT_TRUE(w.cmdNext->isEnabled());
    EXPECT_EQ(w.model().LastCell, 0);
}

TEST_F(NextOpenTest, ChangingLevelDuringAGameKeepsTheShownPuzzle)
{
    Main &w = Started();
    w.mnu_puzzle_next->trigger();
    w.mnu_level_n[3]->trigger();
    EXPECT_EQ(w.model().SelectedLevel, 3);
    EXPECT_EQ(w.model().ShownLevel, 0);
    EXPECT_EQ(w.StatusBar1[0]->text(), "Level: Easy");
    EXPECT_EQ(Stored("Options", "Level"), "3");
}

} // namespace
} // namespace tl::test
