// The hint's coupler lines on the game window: a player follows the hints of the shipped stock's
// Insane puzzles by clicks until a rectangle hint and a chained-couples hint come up, and each
// time the lines the engine loaded are drawn between the cell centres, above the cell labels, in
// a colour of their own, without taking a click from the cell under them.
#include "game/game_model.h"
#include "game/ui/coupler_widgets.h"
#include "game_window_fixture.h"
#include "hints/hint_engine.h"
#include "support/recording_hint_window.h"

#include <QImage>
#include <QTest>

#include <cstdlib>
#include <filesystem>

using namespace tl;
using namespace tl::test;

namespace {

int Distance(QColor a, QColor b)
{
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
           std::abs(a.blue() - b.blue());
}

class HintLinesWindowTest : public GameWindowTest {
protected:
    // The game on the shipped stock, at the Insane level and the given size.
    Main &PlayingInsane(int sizeIndex)
    {
        std::filesystem::copy_file(std::string(TL_SOURCE_DIR) + "/assets/DudEzadu.qzk",
                                   programDir / "DudEzadu.qzk");
        EXPECT_TRUE(Start());
        window->mnu_level_n_Click(3);
        window->mnu_size_n_Click(sizeIndex);
        QTest::mouseClick(window->cmdNext, Qt::LeftButton);
        return *window;
    }
    GameModel &m() { return window->model(); }

    // Asks for hints and fills every marked cell by clicks, puzzle after puzzle, until a hint's
    // explanation begins with `prefix`; `expected` then holds what the engine does on that board.
    bool HintUntil(const std::string &prefix, RecordingHintWindow &expected)
    {
        const int n = m().GridSize;
        for (int puzzle = 0; puzzle < 40; ++puzzle) {
            while (!m().Finished) {
                expected = RecordingHintWindow();
                Show_Hint(HintPuzzle{m().Board, m().Solution, n, m().LastCell, m().Finished},
                          SharedLineTables(), expected);
                QTest::mouseClick(window->cmdHint, Qt::LeftButton);
                if (window->lblInfo->toPlainText().toStdString().rfind(prefix, 0) == 0)
                    return true;
                const std::vector<int> marked = expected.Coloured(kHintedCellColour);
                if (marked.empty())
                    return false;
                for (const int g : marked) {
                    const int i = g / kMaxSide * n + g % kMaxSide;
                    while (m().Board[i] != m().Solution[i])
                        QTest::mouseClick(window->Grid[g], Qt::LeftButton);
                }
            }
            QTest::mouseClick(window->cmdNext, Qt::LeftButton);
        }
        return false;
    }

    // The engine's lines are the window's, drawn over the labels in the line colour, and a
    // click at a line's end still reaches the cell label under it.
    void ExpectLinesShown(const RecordingHintWindow &expected)
    {
        ASSERT_FALSE(expected.couplers.empty());
        const auto &model = m().Couplers.Couplers;
        EXPECT_EQ(std::vector<CouplerLine>(model.begin() + 1, model.end()), expected.couplers);

        QWidget *layer = window->couplerWidgets().lineLayer();
        QWidget *board = layer->parentWidget();
        EXPECT_TRUE(layer->isVisibleTo(window.get()));
        EXPECT_TRUE(layer->testAttribute(Qt::WA_TransparentForMouseEvents));
        const QObjectList &stack = board->children();
        const auto layerAt = stack.indexOf(layer);
        for (int g = 0; g < kGridCells; ++g) {
            if (window->Grid[g]->parentWidget() == board) {
                EXPECT_GT(layerAt, stack.indexOf(window->Grid[g])) << "label " << g;
            }
        }

        const QImage shot = board->grab().toImage();
        for (const CouplerLine &l : expected.couplers) {
            const QPoint from(l.x1 / kTwipsPerPixel, l.y1 / kTwipsPerPixel);
            const QPoint to(l.x2 / kTwipsPerPixel, l.y2 / kTwipsPerPixel);
            const int row = (l.y1 - 1500) / 360, col = (l.x1 - 1500) / 360;
            EXPECT_EQ(board->childAt(from), window->Grid[row * kMaxSide + col]);
            // Halfway along the line, one pixel of the two-pixel pen is the line colour.
            const QPoint mid = (from + to) / 2;
            int best = 1000;
            for (int d = -1; d <= 1; ++d) {
                const QPoint p = mid + (l.y1 == l.y2 ? QPoint(0, d) : QPoint(d, 0));
                best = std::min(best, Distance(shot.pixelColor(p), CouplerWidgets::kLineColour));
            }
            EXPECT_LT(best, 40) << "no line drawn at " << mid.x() << "," << mid.y();
        }
    }
};

TEST_F(HintLinesWindowTest, TheLineColourStandsApartFromEveryCellColourAndTheMarks)
{
    for (const Rgb cell : {colour::GivenCell, colour::SelectedCell, kHintedCellColour,
                           kWrongCellColour, colour::White, colour::WindowBack})
        EXPECT_GT(Distance(Q(cell), CouplerWidgets::kLineColour), 150) << std::hex << cell;
    EXPECT_GT(Distance(CouplerWidgets::kMarkColour, CouplerWidgets::kLineColour), 150);
}

TEST_F(HintLinesWindowTest, ARectangleHintShowsEveryCoupleOfTheBoard)
{
    PlayingInsane(0);
    RecordingHintWindow expected;
    ASSERT_TRUE(HintUntil("Rectangle with Leftover Cell", expected));
    ExpectLinesShown(expected);
    EXPECT_EQ(expected.Penalties(), std::vector<int>{40});
    Shot("hint_rectangle.png");
    // The next request starts without the last hint's lines.
    QTest::mouseClick(window->cmdHint, Qt::LeftButton);
    EXPECT_EQ(m().Couplers.CouplerCount(), static_cast<int>(expected.couplers.size()));
}

TEST_F(HintLinesWindowTest, AChainedCouplesHintShowsItsCouplesDerivedOnesIncluded)
{
    PlayingInsane(1);
    RecordingHintWindow expected;
    ASSERT_TRUE(HintUntil("Chained Couples", expected));
    ExpectLinesShown(expected);
    Shot("hint_chained_couples.png");
}

} // namespace
