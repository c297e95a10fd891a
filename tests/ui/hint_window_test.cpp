// The Hint button and its menu item in the game window: enabled with a game in progress, the
// hint engine's marks, text, penalty and sound shown on the window, a paused game resumed, the
// last hint's coupler lines erased first, and nothing done without a game.
#include "game/ui/coupler_widgets.h"
#include "game_window_fixture.h"
#include "hints/hint_engine.h"
#include "hints/upper_links.h"
#include "support/brute_force.h"
#include "support/recording_hint_window.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QImage>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextLayout>
#include <QScrollBar>
#include <QTest>

#include <algorithm>
#include <utility>
#include <vector>

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

// The lines of the message line's text as they lie in its viewport: top and bottom of each.
std::vector<std::pair<int, int>> LinesInView(const QPlainTextEdit &e)
{
    std::vector<std::pair<int, int>> lines;
    for (QTextBlock b = e.document()->begin(); b.isValid(); b = b.next()) {
        const QTextLayout *layout = b.layout();
        const int top = e.cursorRect(QTextCursor(b)).top() - qRound(layout->lineAt(0).y());
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QRectF r = layout->lineAt(i).rect();
            lines.emplace_back(top + qRound(r.top()), top + qRound(r.bottom()));
        }
    }
    return lines;
}

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
        ASSERT_FALSE(expected.Coloured(kHintedCellColour).empty());
        for (const int g : expected.Coloured(kHintedCellColour))
            EXPECT_EQ(Back(w.Grid[g]), QColor(160, 127, 0)) << "label " << g;
        EXPECT_EQ(Elapsed() - before, expected.Penalties()[0]);
        EXPECT_EQ(fake.sound.played, std::vector<std::string>{"Hint.wav"});
        // The engine read the board only.
        EXPECT_EQ(m().Board, board);
        if (byMenu)
            Shot("hint_12x12.png");
        window.reset();
    }
}

TEST_F(HintWindowTest, AWrongCellAndTheEndOfTheChainAreShownWithoutPenalty)
{
    struct Case {
        const char *name;
        bool wrongCell; // else a board on which no technique applies
        std::string text;
        std::string sound;
    };
    const Case cases[] = {
        {"wrong cell", true, "The value of the marked cell is wrong...", "Error.wav"},
        {"end of the chain", false, "No more logical hints...", "ResetCell.wav"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Main &w = Playing(c.wrongCell ? 2 : 0);
        int cell = -1;
        if (c.wrongCell) {
            cell = 0;
            while (m().StartBoard[cell] != -1)
                ++cell;
            while (m().Board[cell] != 1 - m().Solution[cell])
                QTest::mouseClick(w.Grid[GridOf(cell)], Qt::LeftButton);
        } else {
            // Row 0 holds one couple, (0,1) with (0,4), which the chain draws on its way;
            // nothing on the board can be solved. The solution is a completion of it.
            std::vector<std::int32_t> rows(64, -1);
            const std::string first = "0-10-101";
            for (int i = 0; i < 8; ++i)
                rows[i] = first[i] == '-' ? -1 : first[i] - '0';
            const brute::Completions done = brute::Analyse(8, rows, 1);
            ASSERT_EQ(done.count, 1);
            for (int i = 0; i < 64; ++i) {
                m().Board[i] = static_cast<std::int16_t>(rows[i]);
                m().Solution[i] = static_cast<std::int16_t>(done.seen[i] == 2 ? 1 : 0);
            }
        }
        std::array<QColor, kGridCells> backs;
        for (int g = 0; g < kGridCells; ++g)
            backs[g] = Back(w.Grid[g]);
        const int before = Elapsed();
        fake.sound.played.clear();
        QTest::mouseClick(w.cmdHint, Qt::LeftButton);

        EXPECT_EQ(w.lblInfo->toPlainText().toStdString(), c.text);
        EXPECT_EQ(fake.sound.played, std::vector<std::string>{c.sound});
        EXPECT_EQ(Elapsed(), before) << "no penalty";
        for (int g = 0; g < kGridCells; ++g) {
            const bool marked = c.wrongCell && g == GridOf(cell);
            EXPECT_EQ(Back(w.Grid[g]), marked ? QColor(255, 0, 0) : backs[g]) << "label " << g;
        }
        // No coupler line is left on the board.
        EXPECT_EQ(m().Couplers.CouplerCount(), 0);
        QWidget *board = w.couplerWidgets().lineLayer()->parentWidget();
        const QImage shot = board->grab().toImage();
        int linePixels = 0;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                linePixels += shot.pixelColor(x, y) == CouplerWidgets::kLineColour;
        EXPECT_EQ(linePixels, 0);
        window.reset();
    }
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
        // As the running game shows it (scroll bar laid out), from the first line and scrolled
        // to the last: three whole lines, or all of them, and nothing of the line below them.
        // (A line may reach a pixel into the box where it has no ink. Scrolled, the text box
        // may leave the bottom pixel of the line above in view: its line height is rounded.)
        QApplication::processEvents();
        QScrollBar *bar = w.lblInfo->verticalScrollBar();
        EXPECT_EQ(bar->isVisible(), lines > 3);
        for (const int at : {0, bar->maximum()}) {
            bar->setValue(at);
            const auto shown = LinesInView(*w.lblInfo);
            EXPECT_EQ(static_cast<int>(shown.size()), lines);
            const QImage view = w.lblInfo->viewport()->grab().toImage();
            const QColor paper = w.lblInfo->palette().color(QPalette::Base);
            int whole = 0;
            for (const auto &[top, bottom] : shown) {
                if (top >= 0 && bottom <= view.height()) {
                    ++whole;
                } else if (top < view.height() && bottom > view.height()) {
                    int ink = 0;
                    for (int y = top; y < view.height(); ++y)
                        for (int x = 0; x < view.width(); ++x)
                            ink += view.pixelColor(x, y) != paper;
                    EXPECT_EQ(ink, 0) << "a line cut off at the bottom: " << top << ".." << bottom
                                      << " in 0.." << view.height() << ", scrolled to " << at;
                } else {
                    EXPECT_TRUE(bottom <= 1 || top >= view.height())
                        << "a line cut off: " << top << ".." << bottom << ", scrolled to " << at;
                }
            }
            EXPECT_EQ(whole, std::min(lines, 3)) << "scrolled to " << at;
        }
        bar->setValue(0);
    }
    Shot("hint_long_explanation.png");
    for (const QObject *o : w.centralWidget()->children()) {
        const auto *other = qobject_cast<const QWidget *>(o);
        if (other && other != w.lblInfo && other->isVisibleTo(&w)) {
            EXPECT_FALSE(other->geometry().intersects(w.lblInfo->geometry()))
                << other->objectName().toStdString();
        }
    }
}

} // namespace
