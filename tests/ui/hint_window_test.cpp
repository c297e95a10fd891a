// The Hint button and its menu item in the game window: enabled with a game in progress, the
// hint engine's marks, text, penalty and sound shown on the window, a paused game resumed, the
// last hint's coupler lines erased first, and nothing done without a game.
#include "game_window_fixture.h"
#include "hints/hint_engine.h"
#include "hints/upper_links.h"
#include "support/recording_hint_window.h"

#include <QAbstractTextDocumentLayout>
#include <QScrollBar>
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
        Main &w = Playing(byMenu ? 2 : 0);
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

        EXPECT_EQ(w.lblInfo->toPlainText().toStdString(), expected.info);
        // The explanation is wrapped into the box and shown from its first line.
        EXPECT_EQ(w.lblInfo->verticalScrollBar()->value(), 0);
        EXPECT_EQ(w.lblInfo->horizontalScrollBar()->maximum(), 0);
        for (const int g : expected.Coloured(kHintedCellColour))
            EXPECT_EQ(Back(w.Grid[g]), Q(kHintedCellColour)) << "label " << g;
        EXPECT_EQ(Elapsed() - before, expected.Penalties()[0]);
        EXPECT_EQ(fake.sound.played, std::vector<std::string>{"Hint.wav"});
        // The engine read the board only.
        EXPECT_EQ(m().Board, board);
        if (byMenu)
            Shot("hint_12x12.png");
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
    EXPECT_EQ(w.lblInfo->toPlainText(), "The value of the marked cell is wrong...");
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
    const QString info = w.lblInfo->toPlainText();
    w.cmdHint_Click();
    EXPECT_EQ(w.lblInfo->toPlainText(), info);
    QTest::mouseClick(w.cmdNext, Qt::LeftButton);
    w.cmdSolution_Click();
    const QString after = w.lblInfo->toPlainText();
    fake.sound.played.clear();
    w.cmdHint_Click();
    EXPECT_EQ(w.lblInfo->toPlainText(), after);
    EXPECT_TRUE(fake.sound.played.empty());
}

TEST_F(HintWindowTest, EveryExplanationIsWrappedIntoTheMessageLineWithoutCoveringOtherControls)
{
    Main &w = Playing(2);
    const std::string_view texts[] = {
        hint_text::kWrongCell,        hint_text::kBorderingRow,
        hint_text::kOneKindLeftColumn, hint_text::kUncoveredColumn,
        hint_text::kNoMoreHints,      hint_text_upper::kAlmostDuplicatesColumns};
    for (const std::string_view text : texts) {
        SCOPED_TRACE(std::string(text));
        m().lblInfo = std::string(text);
        w.Refresh();
        EXPECT_EQ(w.lblInfo->toPlainText().toStdString(), text);
        // Nothing is cut off at the right; what does not fit below is reached by scrolling.
        EXPECT_EQ(w.lblInfo->horizontalScrollBar()->maximum(), 0);
        EXPECT_EQ(w.lblInfo->verticalScrollBar()->value(), 0) << "shown from its first line";
        const int lines = w.lblInfo->document()->documentLayout()->documentSize().height();
        EXPECT_EQ(w.lblInfo->verticalScrollBar()->maximum() > 0, lines > 3);
    }
    Shot("hint_long_explanation.png");
    for (const QObject *o : w.centralWidget()->children()) {
        const auto *other = qobject_cast<const QWidget *>(o);
        if (other && other != w.lblInfo && other->isVisibleTo(&w))
            EXPECT_FALSE(other->geometry().intersects(w.lblInfo->geometry()))
                << other->objectName().toStdString();
    }
}

} // namespace
