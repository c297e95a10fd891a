// The print dialog's choices: the first showing, the From box, the puzzles-per-page switch, the
// pictures, remembering between showings, and that no sequence of choices can make a run ask
// for a puzzle outside 1..100.
#include "printing/print_dialog_model.h"

#include <gtest/gtest.h>

#include <ostream>
#include <random>
#include <string>

using namespace tl;

namespace {

// A dialog as it is after loading and a successful showing.
PrintDialogModel Shown()
{
    PrintDialogModel m;
    m.Form_Load();
    m.Restore_Choices();
    m.Printer_Ready();
    return m;
}

void Reopen(PrintDialogModel &m)
{
    m.Restore_Choices();
    m.Printer_Ready();
}

TEST(PrintDialogModel, FirstShowingShowsTheDefaults)
{
    const PrintDialogModel m = Shown();
    EXPECT_EQ(m.view.BinPuzTypeKeuze, 0);
    EXPECT_EQ(m.view.BinPuzFormaatKeuze, 0);
    EXPECT_EQ(m.view.PageSlider, 1);
    EXPECT_EQ(m.view.PageSliderMax, 100);
    EXPECT_EQ(m.view.OptionAantal, 0);
    EXPECT_TRUE(m.view.CheckSolution);
    EXPECT_EQ(m.view.TextFrom, " 1"); // a blank for the sign
    EXPECT_EQ(m.view.LabelTo, "to 1");
    EXPECT_EQ(m.view.Frame2, "Pages");
    EXPECT_EQ(m.view.Label1, "1       20        40        60        80       100");
    EXPECT_EQ(m.view.Preview, "PRN1S.GIF");
    EXPECT_EQ(m.Run_Numbers(), std::vector<int>{1});
}

struct RangeCase {
    std::string name;
    int option, pages;
    std::string typed;
    std::string text;  // what the box shows afterwards
    int first;
    std::string labelTo;
};

void PrintTo(const RangeCase &c, std::ostream *os) { *os << c.name; }


class FromBox : public ::testing::TestWithParam<RangeCase> {};

TEST_P(FromBox, EnterAppliesTheNumberWithinTheRange)
{
    const RangeCase &c = GetParam();
    PrintDialogModel m = Shown();
    m.OptionAantal_Click(c.option);
    m.PageSlider_Change(c.pages);
    m.TextFrom_Change(c.typed);
    EXPECT_FALSE(m.TextFrom_KeyPress(13)); // Enter is swallowed
    EXPECT_EQ(m.view.TextFrom, c.text);
    EXPECT_EQ(m.current.FirstNumber, c.first);
    EXPECT_EQ(m.view.LabelTo, c.labelTo);
}

INSTANTIATE_TEST_SUITE_P(
    PrintDialogModel, FromBox,
    ::testing::Values(
        RangeCase{"Zero", 0, 1, "0", "1", 1, "to 1"},
        RangeCase{"Empty", 0, 1, "", "1", 1, "to 1"},
        RangeCase{"NotANumber", 0, 1, "abc", "1", 1, "to 1"},
        RangeCase{"Negative", 0, 1, "-5", "1", 1, "to 1"},
        RangeCase{"TrailingBlanksKept", 0, 3, "7  ", "7  ", 7, "to 9"},
        RangeCase{"HalfRoundsToEven", 0, 1, "12.5", "12.5", 12, "to 12"},
        RangeCase{"FractionRoundsToNearest", 0, 1, "12.7", "12.7", 13, "to 13"},
        RangeCase{"ExponentIsNotRead", 0, 1, "1e5", "1", 1, "to 1"},
        RangeCase{"NinetyFiveTwoPerPageFivePages", 1, 5, "95", "91", 91, "to 100"},
        RangeCase{"BeyondSixteenBits", 0, 1, "40000", "100", 100, "to 100"},
        RangeCase{"FarBeyond", 2, 2, "99999999999999999999", "93", 93, "to 100"},
        RangeCase{"Hundred", 0, 1, "100", "100", 100, "to 100"}),
    [](const auto &info) { return info.param.name; });

TEST(PrintDialogModel, OnlyDigitsAndControlKeysReachTheFromBox)
{
    PrintDialogModel m = Shown();
    for (char key : std::string("0123456789"))
        EXPECT_TRUE(m.TextFrom_KeyPress(key)) << key;
    for (char key : std::string("a.,- Z+e"))
        EXPECT_FALSE(m.TextFrom_KeyPress(key)) << key;
    EXPECT_TRUE(m.TextFrom_KeyPress(8)); // Backspace
    EXPECT_EQ(m.current.FirstNumber, 1);
}

constexpr const char *kScaleOf1 = "1       20        40        60        80       100";
constexpr const char *kScaleOf2 = "1       10        20        30        40        50";
constexpr const char *kScaleOf4 = "1        5         10        15        20        25";

struct SwitchCase {
    std::string name;
    int option, pages;  // the layout and the pages chosen first
    std::string typed;  // then typed into the From box, not applied
    int newOption;      // then this option is clicked
    int pagesAfter, sliderMax;
    std::string scale, frame2;
    std::string text;   // what the From box shows afterwards
    int first;
    std::string labelTo;
};

void PrintTo(const SwitchCase &c, std::ostream *os) { *os << c.name; }

class PerPageSwitch : public ::testing::TestWithParam<SwitchCase> {};

// Switching the puzzles per page keeps the number of puzzles chosen as far as the new layout
// allows: Int(pages x old count / new count) pages, at least one, at most the slider's maximum.
TEST_P(PerPageSwitch, KeepsThePuzzleCountAsFarAsItGoes)
{
    const SwitchCase &c = GetParam();
    PrintDialogModel m = Shown();
    m.OptionAantal_Click(c.option);
    m.PageSlider_Change(c.pages);
    if (!c.typed.empty())
        m.TextFrom_Change(c.typed);
    m.OptionAantal_Click(c.newOption);
    EXPECT_EQ(m.current.PerPage, c.newOption == 0 ? 1 : c.newOption == 1 ? 2 : 4);
    EXPECT_EQ(m.view.OptionAantal, c.newOption);
    EXPECT_EQ(m.current.PageCount, c.pagesAfter);
    EXPECT_EQ(m.view.PageSlider, c.pagesAfter);
    EXPECT_EQ(m.view.PageSliderMax, c.sliderMax);
    EXPECT_EQ(m.view.Label1, c.scale);
    EXPECT_EQ(m.view.Frame2, c.frame2);
    EXPECT_EQ(m.view.TextFrom, c.text);
    EXPECT_EQ(m.current.FirstNumber, c.first);
    EXPECT_EQ(m.view.LabelTo, c.labelTo);
    EXPECT_FALSE(m.Updating);
}

INSTANTIATE_TEST_SUITE_P(
    PrintDialogModel, PerPageSwitch,
    ::testing::Values(
        // Int(10 / 4) = 2 pages of four.
        SwitchCase{"TenOfOneToFour", 0, 10, "", 2, 2, 25, kScaleOf4, "Pages (2)", "1", 1, "to 8"},
        // 4 x 10 = 40 puzzles: 40 pages of one, on a slider up to 100.
        SwitchCase{"TenOfFourToOne", 2, 10, "", 0, 40, 100, kScaleOf1, "Pages (40)", "1", 1,
                   "to 40"},
        SwitchCase{"FiveOfOneToTwo", 0, 5, "", 1, 2, 50, kScaleOf2, "Pages (2)", "1", 1, "to 4"},
        SwitchCase{"OneOfOneToTwo", 0, 1, "", 1, 1, 50, kScaleOf2, "Pages (1)", "1", 1, "to 2"},
        // A hundred pages of one, then four per page: 25 pages, From clamped to 1.
        SwitchCase{"HundredOfOneToFour", 0, 100, "50", 2, 25, 25, kScaleOf4, "Pages (25)", "1", 1,
                   "to 100"},
        SwitchCase{"FiftyOfTwoToOne", 1, 50, "", 0, 100, 100, kScaleOf1, "Pages (100)", "1", 1,
                   "to 100"},
        // The From text is read as it stands, fraction and all, and rounded to a whole
        // puzzle number; it is rewritten only when the run would pass puzzle 100.
        SwitchCase{"FractionalFromTwoPerPage", 0, 1, "7.6", 1, 1, 50, kScaleOf2, "Pages (1)",
                   "7.6", 8, "to 9"},
        SwitchCase{"FromNinetyFiveFourPerPage", 0, 12, "95", 2, 3, 25, kScaleOf4, "Pages (3)",
                   "89", 89, "to 100"}),
    [](const auto &info) { return info.param.name; });

TEST(PrintDialogModel, ThePictureFollowsTheLayoutAndTheSolutionsBox)
{
    PrintDialogModel m = Shown();
    m.OptionAantal_Click(1);
    EXPECT_EQ(m.view.Preview, "PRN2S.GIF");
    m.CheckSolution_Click(false);
    EXPECT_EQ(m.view.Preview, "PRN2.GIF");
    EXPECT_FALSE(m.current.WithSolutions);
    m.CheckSolution_Click(true);
    EXPECT_EQ(m.view.Preview, "PRN2S.GIF");
    m.OptionAantal_Click(2);
    EXPECT_EQ(m.view.Preview, "PRN4S.GIF");
}

TEST(PrintDialogModel, HandlersDoNothingWhileTheDialogRestoresItself)
{
    PrintDialogModel m;
    m.Form_Load();
    m.Restore_Choices(); // the printer is not ready yet
    m.PageSlider_Change(5);
    m.OptionAantal_Click(2);
    m.CheckSolution_Click(false);
    m.BinPuzTypeKeuze_Click(3);
    EXPECT_EQ(m.current, PrintChoices{});
}

TEST(PrintDialogModel, CloseRemembersTheChoicesForTheNextShowing)
{
    PrintDialogModel m = Shown();
    m.BinPuzTypeKeuze_Click(2);
    m.BinPuzFormaatKeuze_Click(3);
    m.OptionAantal_Click(1);
    m.PageSlider_Change(4);
    m.TextFrom_Change("30");
    m.Update_Range();
    m.CheckSolution_Click(false);
    m.Command1_Click();
    const PrintChoices closed = m.current;

    m.BinPuzFormaatKeuze_Click(0); // changed again, but not closed with Close
    Reopen(m);
    EXPECT_EQ(m.current, closed);
    EXPECT_EQ(m.view.BinPuzFormaatKeuze, 3);
    EXPECT_EQ(m.view.BinPuzTypeKeuze, 2);
    EXPECT_EQ(m.view.OptionAantal, 1);
    EXPECT_EQ(m.view.PageSlider, 4);
    EXPECT_EQ(m.view.PageSliderMax, 50);
    EXPECT_EQ(m.view.TextFrom, " 30");
    EXPECT_EQ(m.view.Preview, "PRN2.GIF");
    EXPECT_FALSE(m.view.CheckSolution);
}

// Closing without remembering (the window's close box used to do that) and opening again gave
// the slider of the last layout with the choices of the one before: four per page with a slider
// that still went to 100 pages, and a first puzzle far below 1.
TEST(PrintDialogModel, ReopeningWithoutCloseCannotWidenTheSlider)
{
    PrintDialogModel m = Shown();
    m.OptionAantal_Click(2);
    m.PageSlider_Change(25);
    m.Command1_Click(); // remembered: 25 pages of 4
    m.OptionAantal_Click(0);
    EXPECT_EQ(m.view.PageSliderMax, 100);
    Reopen(m); // no Close in between
    EXPECT_EQ(m.current.PerPage, 4);
    EXPECT_EQ(m.view.PageSliderMax, 25);
    m.PageSlider_Change(60);
    EXPECT_EQ(m.current.PageCount, 25);
    EXPECT_EQ(m.current.FirstNumber, 1);
    EXPECT_EQ(m.Run_Numbers().back(), 100);
}

TEST(PrintDialogModel, RunNumbersFillEachPageInOrder)
{
    PrintDialogModel m = Shown();
    m.OptionAantal_Click(2);
    m.PageSlider_Change(2);
    m.TextFrom_Change("7");
    m.Update_Range();
    EXPECT_EQ(m.Run_Numbers(), (std::vector<int>{7, 8, 9, 10, 11, 12, 13, 14}));
}

// Whatever the user does, in any order, a run stays within puzzles 1..100.
TEST(PrintDialogModel, NoSequenceOfChoicesLeavesPuzzlesOneToHundred)
{
    const std::vector<std::string> texts = {"", "0", "1", "7", "50", "95", "100", "101",
                                            "32767", "40000", "-3", "abc", "1e9", "12.5"};
    std::mt19937 rng(2024);
    PrintDialogModel m = Shown();
    for (int step = 0; step < 20000; ++step) {
        switch (rng() % 9) {
        case 0: m.PageSlider_Change(static_cast<int>(rng() % 130) - 10); break;
        case 1: m.OptionAantal_Click(static_cast<int>(rng() % 3)); break;
        case 2: m.TextFrom_Change(texts[rng() % texts.size()]); break;
        case 3: m.TextFrom_KeyPress(13); break;
        case 4: m.TextFrom_LostFocus(); break;
        case 5: m.Command1_Click(); break;
        case 6: Reopen(m); break;
        case 7: m.Command2_Click(); break;
        case 8: m.CheckSolution_Click(rng() % 2 == 0); break;
        }
        const std::vector<int> numbers = m.Run_Numbers();
        ASSERT_FALSE(numbers.empty());
        ASSERT_GE(numbers.front(), 1) << "step " << step;
        ASSERT_LE(numbers.back(), 100) << "step " << step;
        ASSERT_LE(m.current.PageCount, m.view.PageSliderMax);
    }
}

} // namespace
