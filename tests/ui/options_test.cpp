// The Options, Level and Size menus, sounds and what they leave in the settings store.
#include "game_window_fixture.h"

namespace tl::test {
namespace {

using OptionsTest = GameWindowTest;

std::vector<std::string> OptionKeysWritten(const MemorySettings &s)
{
    std::vector<std::string> keys;
    for (const auto &w : s.writes) {
        EXPECT_EQ(w.section, "Options");
        keys.push_back(w.key + "=" + w.value);
    }
    return keys;
}

TEST_F(OptionsTest, EachToggleWritesTheWholeSectionOnce)
{
    Main &w = Started();
    w.mnu_options_wells->trigger();
    EXPECT_FALSE(w.mnu_options_wells->isChecked());
    EXPECT_EQ(OptionKeysWritten(fake.settings),
              (std::vector<std::string>{"Wells=False", "Duplicates=True", "Uniqueness=True",
                                        "Sounds=True", "Level=0", "Size=0"}));
    fake.settings.writes.clear();
    w.mnu_options_duplicates->trigger();
    w.mnu_options_uniqueness->trigger();
    w.mnu_options_sounds->trigger();
    EXPECT_EQ(fake.settings.writes.size(), 18u);
    EXPECT_EQ(Stored("Options", "Duplicates"), "False");
    EXPECT_EQ(Stored("Options", "Uniqueness"), "False");
    EXPECT_EQ(Stored("Options", "Sounds"), "False");
    EXPECT_FALSE(w.mnu_options_sounds->isChecked());

    // With sounds off a new puzzle plays nothing.
    w.cmdNext->click();
    EXPECT_TRUE(fake.sound.played.empty());
}

TEST_F(OptionsTest, StoredOptionsAreAppliedAtStart)
{
    Set("Options", "Wells", "False");
    Set("Options", "Duplicates", "False");
    Set("Options", "Sounds", "False");
    Main &w = Started();
    EXPECT_FALSE(w.mnu_options_wells->isChecked());
    EXPECT_FALSE(w.mnu_options_duplicates->isChecked());
    EXPECT_TRUE(w.mnu_options_uniqueness->isChecked());
    EXPECT_FALSE(w.mnu_options_sounds->isChecked());
    EXPECT_TRUE(w.mnu_options_sounds->isEnabled());
    w.cmdNext->click();
    EXPECT_TRUE(fake.sound.played.empty());
    EXPECT_EQ(w.lblRowNull[0]->text(), "-");
}

TEST_F(OptionsTest, WithoutAudioOutputSoundsAreOffAndTheStoredChoiceIsKept)
{
    fake.sound.isUsable = false;
    Set("Options", "Sounds", "True");
    Main &w = Started();
    EXPECT_FALSE(w.mnu_options_sounds->isChecked());
    EXPECT_FALSE(w.mnu_options_sounds->isEnabled());
    EXPECT_TRUE(fake.sound.loaded.empty());
    EXPECT_TRUE(fake.settings.writes.empty());

    w.mnu_options_wells->trigger();
    w.mnu_size_n[2]->trigger();
    EXPECT_EQ(Stored("Options", "Sounds"), "True");
    EXPECT_EQ(Stored("Options", "Size"), "2");
    w.cmdNext->click();
    EXPECT_TRUE(fake.sound.played.empty());
}

TEST_F(OptionsTest, LevelAndSizeMovesTheCheckMarksAndTheUngenerableSet)
{
    Main &w = Started();
    w.mnu_level_n[1]->trigger();
    EXPECT_TRUE(w.mnu_level_n[1]->isChecked());
    EXPECT_FALSE(w.mnu_level_n[0]->isChecked());
    EXPECT_TRUE(w.model().GenerateItemEnabled[0][0]);
    EXPECT_FALSE(w.model().GenerateItemEnabled[1][0]);
    EXPECT_EQ(OptionKeysWritten(fake.settings),
              (std::vector<std::string>{"Wells=True", "Duplicates=True", "Uniqueness=True",
                                        "Sounds=True", "Level=1", "Size=0"}));
    w.mnu_size_n[3]->trigger();
    EXPECT_TRUE(w.mnu_size_n[3]->isChecked());
    EXPECT_EQ(Stored("Options", "Size"), "3");
    EXPECT_FALSE(w.model().GenerateItemEnabled[1][3]);
    EXPECT_TRUE(w.model().GenerateItemEnabled[1][0]);
    // The board keeps its size until the next puzzle.
    EXPECT_EQ(w.StatusBar1[1]->text(), "Size: 8x8");
}

TEST_F(OptionsTest, UnbuiltHandOversStayDisabledWithTheirButtons)
{
    Main &w = Started();
    w.cmdNext->click();
    EXPECT_TRUE(w.model().enabled(Command::Hint));
    EXPECT_EQ(w.cmdHint->isEnabled(), w.mnu_solve_hint->isEnabled());
    EXPECT_EQ(w.cmdRestart->isEnabled(), w.mnu_solve_restart->isEnabled());
    EXPECT_EQ(w.cmdSolution->isEnabled(), w.mnu_solve_solution->isEnabled());
    EXPECT_EQ(w.cmdHelp->isEnabled(), w.mnu_help_contents->isEnabled());
    EXPECT_EQ(w.cmdHint->isEnabled(), w.wired.hint);
    EXPECT_EQ(w.mnu_puzzle_print->isEnabled(), w.wired.print);
    for (int l = 0; l < kLevels; ++l)
        for (int s = 0; s < kSizes; ++s)
            EXPECT_EQ(w.mnu_puzzle_gen[l][s]->isEnabled(),
                      w.wired.generate && w.model().GenerateItemEnabled[l][s]);
}

} // namespace
} // namespace tl::test
