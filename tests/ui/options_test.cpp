// The Options, Level and Size menus, sounds and what they leave in the settings store.
#include "game_window_fixture.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>

#include <tuple>

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

TEST_F(OptionsTest, ButtonsAndMenuItemsAreEnabledExactlyAsTheGamesStateSays)
{
    Main &w = Started();
    const auto check = [&](const char *state) {
        SCOPED_TRACE(state);
        const GameModel &m = w.model();
        const std::tuple<QPushButton *, QAction *, Command> shared[] = {
            {w.cmdNext, w.mnu_puzzle_next, Command::Next},
            {w.cmdOpen, w.mnu_puzzle_open, Command::Open},
            {w.cmdPlayers, w.mnu_puzzle_players, Command::Players},
            {w.cmdExit, w.mnu_puzzle_exit, Command::Exit},
            {w.cmdRestart, w.mnu_solve_restart, Command::Restart},
            {w.cmdUndo, w.mnu_solve_undo, Command::Undo},
            {w.cmdRedo, w.mnu_solve_redo, Command::Redo},
            {w.cmdHint, w.mnu_solve_hint, Command::Hint},
            {w.cmdSolution, w.mnu_solve_solution, Command::Solution},
            {w.cmdHelp, w.mnu_help_contents, Command::Help},
            {w.cmdPauze, nullptr, Command::Pause},
            {w.cmdHaltGenerator, nullptr, Command::HaltGenerator},
            {nullptr, w.mnu_puzzle_design, Command::Design},
            {nullptr, w.mnu_puzzle_print, Command::Print}};
        for (const auto &[button, item, c] : shared) {
            const bool on = m.enabled(c);
            if (button) {
                EXPECT_EQ(button->isEnabled(), on) << button->objectName().toStdString();
            }
            if (item) {
                EXPECT_EQ(item->isEnabled(), on) << item->objectName().toStdString();
            }
        }
        for (int l = 0; l < kLevels; ++l)
            for (int s = 0; s < kSizes; ++s)
                EXPECT_EQ(w.mnu_puzzle_gen[l][s]->isEnabled(), m.GenerateItemEnabled[l][s]);
        EXPECT_TRUE(w.mnu_reset_time->menuAction()->isEnabled());
        EXPECT_TRUE(w.mnu_help_website->isEnabled());
    };
    check("before the first puzzle");
    EXPECT_FALSE(w.cmdHint->isEnabled());
    EXPECT_TRUE(w.mnu_puzzle_design->isEnabled());
    EXPECT_TRUE(w.mnu_puzzle_print->isEnabled());
    w.cmdNext->click();
    check("in play");
    EXPECT_TRUE(w.cmdHint->isEnabled());
    EXPECT_TRUE(w.cmdPauze->isEnabled());
    EXPECT_FALSE(w.mnu_puzzle_design->isEnabled());
    w.cmdSolution->click();
    check("after the solution");
    EXPECT_FALSE(w.cmdHint->isEnabled());
    EXPECT_TRUE(w.mnu_puzzle_design->isEnabled());
}

} // namespace
} // namespace tl::test
