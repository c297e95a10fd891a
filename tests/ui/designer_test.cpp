// The puzzle designer as the user meets it: opened from the Design menu, puzzles typed in by
// clicks, validated, played or closed, and a long validation that takes no input.
#include "designer/ui/form_make.h"
#include "game_window_fixture.h"

#include <QGroupBox>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

using namespace tl;
using namespace tl::test;

namespace {

PuzzleRecord ShippedPuzzle(int level, int sizeIndex, int number)
{
    static const auto bytes = ReadBytes(std::string(TL_SOURCE_DIR) + "/assets/DudEzadu.qzk");
    return DecodeRecord(bytes.data() + RecordOffset(level, sizeIndex, number));
}

class DesignerTest : public GameWindowTest {
protected:
    // Opens the designer from the Design menu and runs `drive` while it is shown modally;
    // whatever `drive` leaves open is closed, so a failed check cannot hang the test.
    void WhileShown(const std::function<void(FormMake &)> &drive)
    {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            auto *f = window->findChild<FormMake *>("FormMake");
            ran = f && QApplication::activeModalWidget() == f;
            if (ran)
                drive(*f);
            if (f && f->isVisible())
                f->done(QDialog::Rejected);
        });
        window->mnu_puzzle_design->trigger();
        EXPECT_TRUE(ran);
    }
    // New (answered Yes) at the size of `puzzle`, then its given cells typed in: a left click
    // makes a 0, a right and a left click a 1.
    void Type(FormMake &f, const PuzzleRecord &puzzle)
    {
        f.OptionSize[puzzle.SizeIndex]->click();
        QTest::mouseClick(f.Command1, Qt::LeftButton);
        const int n = puzzle.side();
        for (int i = 0; i < n * n; ++i) {
            ClickLabel *label = f.Grid[i / n * kMaxSide + i % n];
            if (puzzle.StartCells[i] == 1)
                QTest::mouseClick(label, Qt::RightButton);
            if (puzzle.StartCells[i] != -1)
                QTest::mouseClick(label, Qt::LeftButton);
        }
    }
    const RecordedBox &LastBox() const { return fake.messages.shown.back(); }
};

TEST_F(DesignerTest, OpensWithItsTextsAndNewCloseOrTheFramePlayNothing)
{
    Main &w = Started();
    WhileShown([&](FormMake &f) {
        QStringList texts{f.windowTitle(), f.Frame1->title()};
        for (QRadioButton *o : f.OptionSize)
            texts << o->text() + (o->isChecked() ? "*" : "");
        for (QPushButton *b : {f.Command1, f.Command2, f.Command3, f.Command4})
            texts << b->text() + (b->isEnabled() ? "+" : "-");
        for (int k : {0, 13, 14, 27})
            texts << f.LabelCol[k]->text() + f.LabelRow[k]->text();
        EXPECT_EQ(texts, (QStringList{"Dornel's Tilloran - Design", "Size", "8 x 8*", "10 x 10",
                                      "12 x 12", "14 x 14", "New+", "Validate+", "Solve-",
                                      "Close+", "1A", "14N", "1A", "14N"}));
        EXPECT_EQ(Back(f.Grid[8 * kMaxSide + 8]), QColor(Qt::black));
        EXPECT_EQ(Back(f.LabelRow[20]), QColor(Qt::white));
        Shot("designer_empty_8x8.png", &f);
        // With 12 x 12 chosen, New answered No keeps the 8 x 8 design; a click on its border
        // changes nothing.
        f.OptionSize[2]->click();
        QTest::mouseClick(f.Grid[0], Qt::LeftButton);
        QTest::mouseClick(f.Grid[8], Qt::LeftButton);
        fake.messages.answers = {MsgAnswer::No};
        QTest::mouseClick(f.Command1, Qt::LeftButton);
        EXPECT_EQ(LastBox().title + "|" + LastBox().text,
                  "Start New Design|Are you sure to abandon current design and start a new?");
        EXPECT_EQ(f.Grid[0]->text() + f.Grid[8]->text(), "0");
        EXPECT_EQ(Back(f.Grid[8 * kMaxSide]), QColor(Qt::black));
        QTest::mouseClick(f.Command4, Qt::LeftButton);
        EXPECT_FALSE(f.isVisible());
    });
    EXPECT_FALSE(w.PlayingDesign());
    EXPECT_EQ(w.model().LastCell, 0);
    // Hidden by Close, the same designer opens again with an empty design of the size chosen;
    // closed by its frame it plays nothing and is discarded, so the next one starts at 8 x 8.
    WhileShown([&](FormMake &f) {
        f.setProperty("shownBefore", true);
        EXPECT_TRUE(f.OptionSize[2]->isChecked());
        EXPECT_EQ(f.Grid[0]->text(), "");
        EXPECT_EQ(Back(f.Grid[12 * kMaxSide]), QColor(Qt::black));
        EXPECT_TRUE(f.close());
    });
    EXPECT_FALSE(w.PlayingDesign());
    EXPECT_EQ(w.model().LastCell, 0);
    WhileShown([&](FormMake &f) {
        EXPECT_FALSE(f.property("shownBefore").isValid());
        EXPECT_TRUE(f.OptionSize[0]->isChecked());
        EXPECT_EQ(Back(f.Grid[8 * kMaxSide]), QColor(Qt::black));
    });
    EXPECT_EQ(w.findChildren<FormMake *>().size(), 1);
}

// Minimising and restoring the designer is no new showing: the design stays on the board.
TEST_F(DesignerTest, RestoringTheWindowKeepsTheDesign)
{
    Started();
    const PuzzleRecord puzzle = ShippedPuzzle(1, 1, 3);
    WhileShown([&](FormMake &f) {
        Type(f, puzzle);
        const QString first = f.Grid[0]->text();
        int given = 0;
        for (const ClickLabel *cell : f.Grid)
            given += cell->text().isEmpty() ? 0 : 1;
        ASSERT_GT(given, 0);
        MinimiseAndRestore(f);
        EXPECT_TRUE(f.isVisible());
        EXPECT_TRUE(f.OptionSize[1]->isChecked());
        int after = 0;
        for (const ClickLabel *cell : f.Grid)
            after += cell->text().isEmpty() ? 0 : 1;
        EXPECT_EQ(after, given);
        EXPECT_EQ(f.Grid[0]->text(), first);
        EXPECT_EQ(Back(f.Grid[10 * kMaxSide]), QColor(Qt::black)); // still 10 x 10
        QTest::mouseClick(f.Command4, Qt::LeftButton);
    });
    WhileShown([&](FormMake &f) { // the next showing starts a new design
        for (const ClickLabel *cell : f.Grid)
            EXPECT_EQ(cell->text(), "");
    });
}

TEST_F(DesignerTest, AClickOnTheFrameOfAn8x8DesignChangesNothing)
{
    Main &w = Started();
    WhileShown([&](FormMake &f) {
        const auto shown = [&] {
            QStringList s;
            for (ClickLabel *g : f.Grid)
                s << g->text() + Back(g).name();
            for (QPushButton *b : {f.Command1, f.Command2, f.Command3, f.Command4})
                s << (b->isEnabled() ? "+" : "-");
            return s;
        };
        // The black row 8 and column 8, their corner, and a label past them; every button.
        const auto clickFrame = [&] {
            for (const Qt::MouseButton b : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
                for (int k = 0; k <= 8; ++k) {
                    QTest::mouseClick(f.Grid[8 * kMaxSide + k], b);
                    QTest::mouseClick(f.Grid[k * kMaxSide + 8], b);
                }
                QTest::mouseClick(f.Grid[13 * kMaxSide + 13], b);
            }
        };
        for (const bool validated : {false, true}) {
            SCOPED_TRACE(validated ? "validated" : "editing");
            if (validated) {
                Type(f, ShippedPuzzle(1, 0, 5));
                QTest::mouseClick(f.Command2, Qt::LeftButton);
                ASSERT_TRUE(f.Command3->isEnabled());
            } else {
                QTest::mouseClick(f.Grid[0], Qt::LeftButton);
                QTest::mouseClick(f.Grid[7 * kMaxSide + 7], Qt::RightButton);
            }
            ASSERT_EQ(Back(f.Grid[8 * kMaxSide + 3]), QColor(Qt::black));
            const QStringList before = shown();
            const PuzzleRecord record = w.DesignPuzzle;
            const std::size_t boxes = fake.messages.shown.size();
            clickFrame();
            EXPECT_EQ(shown(), before);
            EXPECT_EQ(w.DesignPuzzle.StartCells, record.StartCells);
            EXPECT_EQ(w.DesignPuzzle.SolutionCells, record.SolutionCells);
            EXPECT_EQ(fake.messages.shown.size(), boxes);
        }
        QTest::mouseClick(f.Command3, Qt::LeftButton);
    });
    EXPECT_TRUE(w.PlayingDesign());
    EXPECT_EQ(w.StatusBar1[2]->text(), "Design");
}

TEST_F(DesignerTest, StockPuzzlesOfEveryLevelValidateAtTheirStockLevel)
{
    Started();
    WhileShown([&](FormMake &f) {
        for (int size = 0; size < kSizes; ++size)
            for (int level = 0; level < kLevels; ++level) {
                Type(f, ShippedPuzzle(level, size, 1 + 7 * level + size));
                QTest::mouseClick(f.Command2, Qt::LeftButton);
                EXPECT_EQ(LastBox().text.rfind("Your design has one unique solution.\n \nRate = " +
                                                   std::to_string(level) + "\nDuplicate = ", 0),
                          0u) << LastBox().text;
                EXPECT_TRUE(f.Command3->isEnabled() && !f.Command2->isEnabled());
            }
        // The last, 14 x 14: every cell shows its solution digit or is a blue given.
        const PuzzleRecord last = ShippedPuzzle(3, 3, 25);
        for (int i = 0; i < 196; ++i) {
            EXPECT_EQ(f.Grid[i]->text(), QString::number(last.SolutionCells[i]));
            EXPECT_EQ(Back(f.Grid[i]),
                      last.StartCells[i] == -1 ? Q(colour::WindowBack) : QColor(47, 95, 255));
        }
        Type(f, ShippedPuzzle(2, 2, 9));
        QTest::mouseClick(f.Command2, Qt::LeftButton);
        Shot("designer_validated_12x12.png", &f);
    });
}

TEST_F(DesignerTest, SolvePlaysTheDesignAsDesignAndRecordsNoBestTime)
{
    Set("Players", "Count", "1");
    Set("Players", "Player01", "Anna            ");
    Set("Players", "Last_Player", "1");
    Main &w = Started();
    WhileShown([&](FormMake &f) {
        Type(f, ShippedPuzzle(2, 1, 4));
        QTest::mouseClick(f.Command2, Qt::LeftButton);
        QTest::mouseClick(f.Command3, Qt::LeftButton);
    });
    ASSERT_FALSE(w.model().Finished);
    EXPECT_EQ(w.StatusBar1[0]->text() + w.StatusBar1[1]->text() + w.StatusBar1[2]->text(),
              "Level: HardSize: 10x10Design");
    const auto stock = ReadBytes(WorkingCopy());
    fake.clock.advance(30);
    for (int i = 0; i < 100; ++i)
        while (w.model().Board[i] != w.model().Solution[i] && !w.model().Finished)
            QTest::mouseClick(w.Grid[i / 10 * kMaxSide + i % 10], Qt::LeftButton);
    EXPECT_TRUE(w.model().Finished && w.LabelSolved->isVisible());
    EXPECT_EQ(ReadBytes(WorkingCopy()), stock);
    EXPECT_FALSE(w.PlayingDesign());
}

TEST_F(DesignerTest, ALongValidationPumpsEventsButTakesNoInput)
{
    Started();
    const PuzzleRecord puzzle = ShippedPuzzle(3, 3, 60);
    const int empty = int(std::find(puzzle.StartCells.begin(), puzzle.StartCells.end(), -1) -
                          puzzle.StartCells.begin());
    long pumps = 0;
    WhileShown([&](FormMake &f) {
        Type(f, puzzle);
        const std::size_t boxes = fake.messages.shown.size();
        fake.pump.onPump = [&](long) {
            if (++pumps > 1)
                return;
            for (QWidget *b : std::initializer_list<QWidget *>{f.Command1, f.Command2, f.Command3,
                                                              f.Command4, f.Frame1})
                EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
            QTest::mouseClick(f.Grid[empty], Qt::LeftButton);
            f.Command1_Click();
            f.Command2_Click();
            f.Command4_Click();
            QTest::keyClick(&f, Qt::Key_Escape);
            EXPECT_FALSE(f.close());
            EXPECT_TRUE(f.isVisible());
            EXPECT_EQ(f.Grid[empty]->text(), "");
            EXPECT_EQ(fake.messages.shown.size(), boxes);
        };
        // The result is reported over the buttons as they were before the validation; they
        // change once it is acknowledged.
        QStringList atReport;
        fake.messages.onShow = [&](const RecordedBox &) {
            for (QPushButton *b : {f.Command1, f.Command2, f.Command3, f.Command4})
                atReport << b->text() + (b->isEnabled() ? "+" : "-");
        };
        QTest::mouseClick(f.Command2, Qt::LeftButton);
        fake.pump.onPump = nullptr;
        fake.messages.onShow = nullptr;
        EXPECT_NE(LastBox().text.find("Rate = 3\n"), std::string::npos);
        EXPECT_EQ(atReport, (QStringList{"New+", "Validate+", "Solve-", "Close+"}));
        EXPECT_TRUE(f.Command3->isEnabled() && f.Command4->isEnabled() && f.Frame1->isEnabled());
    });
    EXPECT_GT(pumps, 60); // one pass of event processing per deduction
}

TEST_F(DesignerTest, ColouredButtonsLookDisabledWhenDisabled)
{
    PuzzleRecord design;
    bool playing = false;
    FormMake f(design, playing, SharedLineTables(), fake.messages, nullptr);
    f.show();
    const QColor colours[] = {{0, 192, 192}, {255, 128, 0}, {0, 255, 0}, {255, 0, 0}};
    int i = 0;
    for (QPushButton *b : {f.Command1, f.Command2, f.Command3, f.Command4}) {
        auto side = [b] { return b->grab().toImage().pixelColor(4, b->height() / 2); };
        b->setEnabled(true);
        const QColor on = side();
        b->setEnabled(false);
        EXPECT_EQ(on, colours[i++]);
        EXPECT_LT(side().hsvSaturation(), on.hsvSaturation() / 2);
    }
}

} // namespace
