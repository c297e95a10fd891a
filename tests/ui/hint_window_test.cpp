// The Hint button and its menu item in the game window: enabled with a game in progress, the
// hint engine's marks, text, penalty and sound shown on the window, a paused game resumed, the
// last hint's coupler lines erased first, and nothing done without a game.
#include "game_window_fixture.h"
#include "hints/hint_engine.h"
#include "support/recording_hint_window.h"

#include <QTest>

using namespace tl;
using namespace tl::test;

namespace {

class HintWindowTest : public GameWindowTest {
protected:
    Main &Playing(int sizeIndex = 0)
    {
        Main &w = Started();
        w.mnu_size_n_Click(sizeIndex);
        QTest::mouseClick(w.cmdNext, Qt::LeftButton);
        EXPECT_FALSE(m().Finished);
        return w;
    }
    GameModel &m() { return window->model(); }
    int GridOf(int cell) { return cell / m().GridSize * kMaxSide + cell % m().GridSize; }
    // What the engine does on the board as it stands, recorded without the window.
    RecordingHintWindow Expected()
    {
        RecordingHintWindow rec;
        Show_Hint(HintPuzzle{m().Board, m().Solution, m().GridSize, m().LastCell, m().Finished},
                  SharedLineTables(), rec);
        return rec;
    }
    // Fills every k-th cell with its solution's value by clicks.
    void FillEvery(int k)
    {
        for (int i = 0; i <= m().LastCell; i += k)
            while (m().Board[i] != m().Solution[i])
                QTest::mouseClick(window->Grid[GridOf(i)], Qt::LeftButton);
    }
    bool HintUsable() const
    {
        EXPECT_EQ(window->cmdHint->isEnabled(), window->mnu_solve_hint->isEnabled());
        return window->cmdHint->isEnabled();
    }
    int Elapsed()
    {
        window->Timer1_Timer();
        return m().Clock.Elapsed;
    }
};

TEST_F(HintWindowTest, HintIsUsableExactlyWhileAGameIsInProgress)
{
    Main &w = Started();
    EXPECT_FALSE(HintUsable());
    QTest::mouseClick(w.cmdNext, Qt::LeftButton);
    EXPECT_TRUE(HintUsable());
    w.cmdPauze_Click();
    EXPECT_TRUE(HintUsable()) << "pausing leaves the hint usable";
    w.Picture1_Click();
    w.cmdSolution_Click();
    EXPECT_FALSE(HintUsable());
    QTest::mouseClick(w.cmdNext, Qt::LeftButton);
    EXPECT_TRUE(HintUsable());
    w.cmdRestart_Click();
    EXPECT_TRUE(HintUsable());
    // Completing the puzzle ends the game.
    for (int i = 0; i <= m().LastCell; ++i)
        while (m().Board[i] != m().Solution[i] && !m().Finished)
            QTest::mouseClick(w.Grid[GridOf(i)], Qt::LeftButton);
    ASSERT_TRUE(m().Finished);
    EXPECT_FALSE(HintUsable());
}

TEST_F(HintWindowTest, TheButtonAndTheMenuItemShowTheEnginesHintOnTheWindow)
{
    for (const bool byMenu : {false, true}) {
        SCOPED_TRACE(byMenu ? "menu item" : "button");
        Main &w = Playing(byMenu ? 1 : 0);
        FillEvery(3);
        const CellGrid board = m().Board;
        const RecordingHintWindow expected = Expected();
        ASSERT_EQ(expected.Penalties().size(), 1u) << "a board with a hint";
        const int before = Elapsed();
        fake.sound.played.clear();
        if (byMenu)
            w.mnu_solve_hint->trigger();
        else
            QTest::mouseClick(w.cmdHint, Qt::LeftButton);

        EXPECT_EQ(w.lblInfo->text().toStdString(), expected.info);
        EXPECT_EQ(w.lblInfo->cursorPosition(), 0) << "the explanation is shown from its start";
        for (const int g : expected.Coloured(kHintedCellColour))
            EXPECT_EQ(Back(w.Grid[g]), Q(kHintedCellColour)) << "label " << g;
        EXPECT_EQ(Elapsed() - before, expected.Penalties()[0]);
        EXPECT_EQ(fake.sound.played, std::vector<std::string>{"Hint.wav"});
        // The engine read the board only.
        EXPECT_EQ(m().Board, board);
        window.reset();
    }
}

TEST_F(HintWindowTest, AWrongCellIsShownInRedWithoutPenalty)
{
    Main &w = Playing(2);
    int cell = 0;
    while (m().StartBoard[cell] != -1)
        ++cell;
    while (m().Board[cell] != 1 - m().Solution[cell])
        QTest::mouseClick(w.Grid[GridOf(cell)], Qt::LeftButton);
    const int before = Elapsed();
    fake.sound.played.clear();
    QTest::mouseClick(w.cmdHint, Qt::LeftButton);
    EXPECT_EQ(Back(w.Grid[GridOf(cell)]), Q(kWrongCellColour));
    EXPECT_EQ(w.lblInfo->text(), "The value of the marked cell is wrong...");
    EXPECT_EQ(fake.sound.played, std::vector<std::string>{"Error.wav"});
    EXPECT_EQ(Elapsed(), before);
}

TEST_F(HintWindowTest, APausedGameIsResumedAndTheLastHintsLinesAreErased)
{
    Main &w = Playing();
    m().Couplers.Add_Coupler(CouplerLine{1500, 1500, 1860, 1500});
    w.cmdPauze_Click();
    ASSERT_TRUE(w.Shield->isVisibleTo(&w));
    QTest::mouseClick(w.cmdHint, Qt::LeftButton);
    EXPECT_FALSE(w.Shield->isVisibleTo(&w));
    EXPECT_FALSE(m().ShieldVisible);
    EXPECT_FALSE(m().Clock.Paused);
    EXPECT_EQ(m().Couplers.CouplerCount(), 0);
}

TEST_F(HintWindowTest, WithoutAGameTheHandlerChangesNothing)
{
    Main &w = Started();
    const QString info = w.lblInfo->text();
    w.cmdHint_Click();
    EXPECT_EQ(w.lblInfo->text(), info);
    QTest::mouseClick(w.cmdNext, Qt::LeftButton);
    w.cmdSolution_Click();
    const QString after = w.lblInfo->text();
    fake.sound.played.clear();
    w.cmdHint_Click();
    EXPECT_EQ(w.lblInfo->text(), after);
    EXPECT_TRUE(fake.sound.played.empty());
}

TEST_F(HintWindowTest, AHintedTwelveByTwelveBoard)
{
    Main &w = Playing(2);
    FillEvery(7);
    const RecordingHintWindow expected = Expected();
    QTest::mouseClick(w.cmdHint, Qt::LeftButton);
    EXPECT_EQ(w.lblInfo->text().toStdString(), expected.info);
    Shot("hint_12x12.png");
}

} // namespace
