// Start-up and shut-down of the game window.
#include "game_window_fixture.h"

#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>

#include <filesystem>

namespace tl::test {
namespace {

// The captions of a menu's items, "-" for a separator.
QStringList Items(const QMenu *menu)
{
    QStringList items;
    for (QAction *a : menu->actions())
        items << (a->isSeparator() ? "-" : a->text());
    return items;
}

int BlackCells(const Main &w)
{
    int black = 0;
    for (int i = 0; i < kGridCells; ++i)
        if (w.Grid[i]->palette().color(QPalette::Window) == Q(colour::Black))
            ++black;
    return black;
}

TEST_F(GameWindowTest, FirstStartMakesTheWorkingCopyAndShowsAnEmptyEasy8x8Board)
{
    Main &w = Started();
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.windowTitle(), "Dornel's Tilloran - Free Play (no player selected)");

    // The working copy exists and every best time in it is cleared.
    const std::vector<std::uint8_t> bytes = ReadBytes(WorkingCopy());
    ASSERT_EQ(bytes.size(), kStockBytes);
    for (int r = 0; r < kStockRecords; ++r)
        for (std::size_t b = kOffsetBestMin; b < kOffsetBestPlayer + 2; ++b)
            ASSERT_EQ(bytes[r * kRecordBytes + b], 0) << "record " << r + 1;

    // The 8 x 8 frame: row 8 and column 8, cells 0..8 of each, black; nothing else.
    EXPECT_EQ(BlackCells(w), 17);
    for (int k = 0; k <= 8; ++k) {
        EXPECT_EQ(Back(w.Grid[8 * 14 + k]), Q(colour::Black));
        EXPECT_EQ(Back(w.Grid[k * 14 + 8]), Q(colour::Black));
    }
    EXPECT_EQ(Back(w.Grid[0]), Q(colour::WindowBack));
    EXPECT_EQ(Caption(0), "");

    EXPECT_EQ(w.StatusBar1[0]->text(), "Level: Easy");
    EXPECT_EQ(w.StatusBar1[1]->text(), "Size: 8x8");
    EXPECT_EQ(w.StatusBar1[2]->text(), "Number: --");
    EXPECT_EQ(w.StatusBar1[3]->text(), "Best Time: 00:00 (No Best Time Yet)");
    EXPECT_EQ(w.lblInfo->toPlainText(), "Select Size and Level and press \"Next\"");
    EXPECT_EQ(w.LabelTijd->text(), "00:00");
    EXPECT_EQ(w.lblProgress->text(), "Generating none");
    EXPECT_FALSE(w.LabelSolved->isVisible());

    // Options default to on; Easy and 8 x 8 are checked.
    EXPECT_TRUE(w.mnu_options_wells->isChecked());
    EXPECT_TRUE(w.mnu_options_duplicates->isChecked());
    EXPECT_TRUE(w.mnu_options_uniqueness->isChecked());
    EXPECT_TRUE(w.mnu_options_sounds->isChecked());
    EXPECT_TRUE(w.mnu_level_n[0]->isChecked());
    EXPECT_TRUE(w.mnu_size_n[0]->isChecked());
    EXPECT_FALSE(w.model().GenerateItemEnabled[0][0]);
    EXPECT_TRUE(w.model().GenerateItemEnabled[1][0]);

    // Only what can be done before a puzzle is usable.
    for (QPushButton *b : {w.cmdNext, w.cmdOpen, w.cmdPlayers, w.cmdExit})
        EXPECT_TRUE(b->isEnabled()) << b->objectName().toStdString();
    for (QPushButton *b : {w.cmdPauze, w.cmdUndo, w.cmdRedo, w.cmdRestart, w.cmdSolution,
                           w.cmdHint, w.cmdHaltGenerator})
        EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
    for (QAction *a : {w.mnu_solve_restart, w.mnu_solve_undo, w.mnu_solve_redo,
                       w.mnu_solve_hint, w.mnu_solve_solution})
        EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();

    // The ten sounds were loaded from the program folder.
    ASSERT_EQ(fake.sound.loaded.size(), 10u);
    EXPECT_EQ(fake.sound.loaded[0], programDir.path() + "Applause.wav");
    EXPECT_EQ(fake.sound.loaded[9], programDir.path() + "Giggle.wav");

    // Start-up writes nothing to the settings store and asks nothing.
    EXPECT_TRUE(fake.settings.writes.empty());
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(GameWindowTest, StoredLevelAndSizeAreAppliedWithoutBeingWritten)
{
    Set("Options", "Level", "2");
    Set("Options", "Size", "3");
    Main &w = Started();
    EXPECT_EQ(w.StatusBar1[0]->text(), "Level: Hard");
    EXPECT_EQ(w.StatusBar1[1]->text(), "Size: 14x14");
    EXPECT_EQ(BlackCells(w), 0);
    EXPECT_TRUE(w.mnu_level_n[2]->isChecked());
    EXPECT_FALSE(w.mnu_level_n[0]->isChecked());
    EXPECT_TRUE(w.mnu_size_n[3]->isChecked());
    EXPECT_FALSE(w.model().GenerateItemEnabled[2][3]);
    EXPECT_TRUE(w.model().GenerateItemEnabled[0][0]);
    EXPECT_TRUE(fake.settings.writes.empty());
}

TEST_F(GameWindowTest, StoredSize1FramesA10x10BoardWith21BlackCells)
{
    Set("Options", "Size", "1");
    Main &w = Started();
    EXPECT_EQ(BlackCells(w), 21);
    for (int k = 0; k <= 10; ++k) {
        EXPECT_EQ(Back(w.Grid[10 * 14 + k]), Q(colour::Black));
        EXPECT_EQ(Back(w.Grid[k * 14 + 10]), Q(colour::Black));
    }
    EXPECT_EQ(Back(w.Grid[11 * 14 + 11]), Q(colour::WindowBack));
    EXPECT_EQ(w.StatusBar1[1]->text(), "Size: 10x10");
}

TEST_F(GameWindowTest, DamagedSettingsGiveTheDefaults)
{
    Set("Options", "Level", "Hard");
    Set("Options", "Size", "9");
    Set("Options", "Wells", "yes");
    Set("Last_Easy", "Size_08", "-5");
    Set("Players", "Count", "many");
    Set("Players", "Last_Player", "7");
    Main &w = Started();
    EXPECT_EQ(w.StatusBar1[0]->text(), "Level: Easy");
    EXPECT_EQ(w.StatusBar1[1]->text(), "Size: 8x8");
    EXPECT_TRUE(w.mnu_options_wells->isChecked());
    EXPECT_EQ(w.windowTitle(), "Dornel's Tilloran - Free Play (no player selected)");
    w.cmdNext->click();
    EXPECT_EQ(w.StatusBar1[2]->text(), "Number: 1");
}

TEST_F(GameWindowTest, ClicksOnTheBoardBeforeTheFirstPuzzleDoNothing)
{
    Main &w = Started();
    for (int index : {0, 9, 63, 195}) {
        QTest::mouseClick(w.Grid[index], Qt::LeftButton);
        QTest::mouseClick(w.Grid[index], Qt::RightButton);
        EXPECT_EQ(Caption(index), "");
    }
    EXPECT_EQ(Back(w.Grid[0]), Q(colour::WindowBack));
    EXPECT_EQ(Back(w.Grid[8 * 14]), Q(colour::Black));
    EXPECT_EQ(w.model().Board[0], -1);
    EXPECT_TRUE(fake.sound.played.empty());
    EXPECT_TRUE(fake.settings.writes.empty());
}

TEST_F(GameWindowTest, MissingStockEndsStartUpWithACriticalErrorAndNoWindow)
{
    EXPECT_FALSE(Start());
    EXPECT_FALSE(window->isVisible());
    ASSERT_EQ(fake.messages.shown.size(), 2u);
    EXPECT_EQ(fake.messages.shown[0].title, "File Error");
    EXPECT_EQ(fake.messages.shown[1].title, "Critical Error!");
    EXPECT_EQ(fake.messages.shown[1].icon, MsgIcon::Critical);
    EXPECT_EQ(fake.messages.shown[1].buttons, MsgButtons::Ok);
    EXPECT_NE(fake.messages.shown[1].text.find("'DudEzadu.qzk' is in the program folder"),
              std::string::npos);
}

TEST_F(GameWindowTest, AStockThatIsNotWholeNeverBecomesAWorkingCopy)
{
    const std::vector<std::uint8_t> whole = StockBytes(MakeTestStock(true));
    const std::string pristine = programDir / "DudEzadu.qzk";
    const std::string dataFolder = localDir.path() + "Farrowdel";
    auto startFails = [&](const std::string &what) {
        fake.messages.shown.clear();
        EXPECT_FALSE(Start()) << what;
        EXPECT_FALSE(window->isVisible()) << what;
        ASSERT_EQ(fake.messages.shown.size(), 2u) << what;
        EXPECT_EQ(fake.messages.shown[0].title, "File Error") << what;
        EXPECT_EQ(fake.messages.shown[1].title, "Critical Error!") << what;
        window.reset();
    };
    // A first run on an empty, a truncated and a short pristine copy writes nothing.
    for (std::size_t bytes : {std::size_t{0}, kRecordBytes - 1, 400 * kRecordBytes}) {
        ASSERT_TRUE(WriteBytes(pristine, {whole.begin(), whole.begin() + bytes}));
        startFails("pristine copy of " + std::to_string(bytes) + " bytes");
        EXPECT_TRUE(std::filesystem::is_empty(dataFolder)) << bytes;
    }
    // Nor does one of the right length with a damaged record.
    for (std::int16_t level : {std::int16_t{99}, std::int16_t{2}}) {
        std::vector<PuzzleRecord> records = MakeTestStock(true);
        records[150].Level = level;
        ASSERT_TRUE(WriteBytes(pristine, StockBytes(records)));
        startFails("pristine record of level " + std::to_string(level) + " in an Easy slot");
        EXPECT_TRUE(std::filesystem::is_empty(dataFolder)) << level;
    }
    // A short working copy that the short pristine copy cannot complete is left as it is.
    const std::vector<std::uint8_t> shortCopy(whole.begin(), whole.begin() + 10 * kRecordBytes);
    ASSERT_TRUE(WriteBytes(WorkingCopy(), shortCopy));
    startFails("short working copy");
    EXPECT_EQ(ReadBytes(WorkingCopy()), shortCopy);

    // A good pristine copy completes the short working copy (its best times are kept) ...
    ASSERT_TRUE(WriteTestStockFile(pristine, false));
    ASSERT_TRUE(Start());
    EXPECT_EQ(window->puzzles().at(0, 0, 3), MakeTestRecord(0, 0, 3, true));
    EXPECT_EQ(window->puzzles().at(3, 3, 100), MakeTestRecord(3, 3, 100, false));
    window.reset();
    // ... and makes a new working copy on a first run, best times cleared.
    std::filesystem::remove(WorkingCopy());
    WriteStock();
    ASSERT_TRUE(Start());
    const std::vector<std::uint8_t> made = ReadBytes(WorkingCopy());
    ASSERT_EQ(made.size(), kStockBytes);
    PuzzleRecord last = MakeTestRecord(3, 3, 100, true);
    last.BestMin = last.BestSec = last.BestPlayer = 0;
    EXPECT_EQ(DecodeRecord(made.data() + RecordOffset(3, 3, 100)), last);
    window->cmdNext->click();
    EXPECT_EQ(window->model().StartBoard, MakeTestRecord(0, 0, 1, false).StartCells);
}

TEST_F(GameWindowTest, DamagedStockFieldsNeverCrash)
{
    // Fields no generator writes.
    std::vector<PuzzleRecord> records = MakeTestStock(false);
    records[0].StartCells.fill(9);
    records[0].BestPlayer = 300;
    records[0].BestMin = 5;
    ASSERT_TRUE(WriteBytes(programDir / "DudEzadu.qzk", StockBytes(records)));
    ASSERT_TRUE(Start());
    window->cmdNext->click();
    EXPECT_EQ(window->StatusBar1[2]->text(), "Number: 1");
    EXPECT_EQ(window->StatusBar1[3]->text(), "Best Time: 00:00 (No Best Time Yet)");
}

TEST_F(GameWindowTest, DamagedWorkingCopyRecordsAreMendedFromThePristineCopyAtStart)
{
    WriteStock();
    std::vector<PuzzleRecord> records = MakeTestStock(true);
    records[0].SolutionCells.fill(-1); // would make the empty board complete at once
    records[1].Level = 3;              // would file the best time of Easy 8 x 8 number 2 elsewhere
    std::filesystem::create_directories(localDir.path() + "Farrowdel");
    ASSERT_TRUE(WriteBytes(WorkingCopy(), StockBytes(records)));

    ASSERT_TRUE(Start());
    EXPECT_TRUE(fake.messages.shown.empty());
    for (int i : {0, 1}) {
        records[i] = MakeTestRecord(0, 0, i + 1, true);
        records[i].BestMin = records[i].BestSec = records[i].BestPlayer = 0;
    }
    const std::vector<std::uint8_t> mended = StockBytes(records);
    EXPECT_EQ(ReadBytes(WorkingCopy()), mended) << "only the two damaged records change";

    Main &w = *window;
    w.cmdNext->click();
    EXPECT_EQ(w.StatusBar1[2]->text(), "Number: 1");
    EXPECT_EQ(w.model().Solution, records[0].SolutionCells);
    EXPECT_EQ(w.StatusBar1[3]->text(), "Best Time: 00:00 (No Best Time Yet)");
    int empty = 0;
    while (w.model().StartBoard[empty] != -1)
        ++empty;
    QTest::mouseClick(w.Grid[empty / 8 * 14 + empty % 8], Qt::LeftButton);
    EXPECT_FALSE(w.model().Finished);

    // A later start finds a sound working copy and writes nothing.
    window.reset();
    ASSERT_TRUE(Start());
    EXPECT_TRUE(fake.messages.shown.empty());
    EXPECT_EQ(ReadBytes(WorkingCopy()), mended);
}

TEST_F(GameWindowTest, QuitQuestionNoKeepsTheGameYesEndsWithoutASecondQuestion)
{
    Main &w = Started();
    fake.messages.answers = {MsgAnswer::No};
    w.close();
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(exitCodes.empty());
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].title, "Quit Dornel's Tilloran");
    EXPECT_EQ(fake.messages.shown[0].text, "Do you really want to quit ?");
    EXPECT_EQ(fake.messages.shown[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(fake.messages.shown[0].icon, MsgIcon::None);

    fake.messages.answers = {MsgAnswer::Yes};
    w.close();
    EXPECT_EQ(exitCodes, std::vector<int>{0});
    EXPECT_EQ(fake.messages.shown.size(), 2u);
}

TEST_F(GameWindowTest, ExitButtonAndMenuItemAskOnce)
{
    Main &w = Started();
    fake.messages.answers = {MsgAnswer::No, MsgAnswer::Yes, MsgAnswer::Yes};
    w.cmdExit->click();
    EXPECT_TRUE(exitCodes.empty());
    w.cmdExit->click();
    EXPECT_EQ(exitCodes, std::vector<int>{0});
    w.mnu_puzzle_exit->trigger();
    EXPECT_EQ(exitCodes, (std::vector<int>{0, 0}));
    EXPECT_EQ(fake.messages.shown.size(), 3u);
}

// Yes to the quit question ends the process there and then: no exit-time work (static
// destructors, the sound and window system teardown, atexit handlers) runs after it. The handler
// below would turn the exit code into 3 if any did.
TEST_F(GameWindowTest, YesToTheQuitQuestionEndsTheProcessWithoutExitTimeWork)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    WriteStock();
    const std::pair<const char *, std::function<void(Main &)>> ways[] = {
        {"Exit button", [](Main &w) { w.cmdExit->click(); }},
        {"closing the window", [](Main &w) { w.close(); }}};
    for (const auto &[what, quit] : ways) {
        EXPECT_EXIT(
            {
                std::atexit([] { std::_Exit(3); });
                Main w(services); // with the game's own way of ending
                w.Form_Load();
                w.cmdNext->click();
                fake.messages.answers = {MsgAnswer::Yes};
                quit(w);
                std::_Exit(4); // the program did not end
            },
            ::testing::ExitedWithCode(0), "")
            << what;
    }
}

TEST_F(GameWindowTest, ButtonsHaveTheirCaptionsAndAreEnabledWithTheirMenuItems)
{
    Main &w = Started();
    const std::pair<QPushButton *, const char *> captions[] = {
        {w.cmdNext, "Next"},         {w.cmdOpen, "Open"},        {w.cmdPlayers, "Players..."},
        {w.cmdExit, "Exit"},         {w.cmdRestart, "Restart"},  {w.cmdUndo, "Undo"},
        {w.cmdRedo, "Redo"},         {w.cmdHint, "Hint"},        {w.cmdSolution, "Solution"},
        {w.cmdHelp, "Help"},         {w.cmdPauze, "Pause"},      {w.cmdHaltGenerator, "Stop"}};
    for (const auto &[b, caption] : captions)
        EXPECT_EQ(b->text().toStdString(), caption);

    const std::pair<QPushButton *, QAction *> pairs[] = {
        {w.cmdNext, w.mnu_puzzle_next},       {w.cmdOpen, w.mnu_puzzle_open},
        {w.cmdPlayers, w.mnu_puzzle_players}, {w.cmdExit, w.mnu_puzzle_exit},
        {w.cmdRestart, w.mnu_solve_restart},  {w.cmdUndo, w.mnu_solve_undo},
        {w.cmdRedo, w.mnu_solve_redo},        {w.cmdHint, w.mnu_solve_hint},
        {w.cmdSolution, w.mnu_solve_solution}, {w.cmdHelp, w.mnu_help_contents}};
    auto together = [&](const char *state) {
        for (const auto &[b, a] : pairs)
            EXPECT_EQ(b->isEnabled(), a->isEnabled())
                << b->objectName().toStdString() << " " << state;
    };
    together("at start");
    w.cmdNext->click();
    together("during a game");
    EXPECT_TRUE(w.cmdRestart->isEnabled());
    EXPECT_TRUE(w.cmdSolution->isEnabled());
    EXPECT_TRUE(w.cmdPauze->isEnabled());
    // The first change of a cell makes Undo usable, on the button and in the menu.
    int empty = 0;
    while (w.model().StartBoard[empty] != -1)
        ++empty;
    QTest::mouseClick(w.Grid[empty / 8 * 14 + empty % 8], Qt::LeftButton);
    EXPECT_TRUE(w.cmdUndo->isEnabled());
    together("after a move");
    w.cmdSolution->click();
    together("after the solution");
    EXPECT_TRUE(w.cmdNext->isEnabled());
    EXPECT_TRUE(w.cmdPlayers->isEnabled());
    EXPECT_FALSE(w.cmdRestart->isEnabled());
}

TEST_F(GameWindowTest, MenuBarHasSevenMenusWithAccessKeys)
{
    Main &w = Started();
    QStringList titles;
    for (QAction *a : w.menuBar()->actions())
        titles << a->text();
    EXPECT_EQ(titles, (QStringList{"&Puzzle", "&Level", "&Size", "Sol&ve", "&Options",
                                   "&Generate new set", "&Help"}));
    EXPECT_EQ(Items(w.mnu_puzzle), (QStringList{"&Open...", "&Next", "&Design...", "-", "P&layers...", "-",
                                   "&Print...", "-", "E&xit"}));
    const QStringList sizes{"&A - 8 X 8", "&B - 10 X 10", "&C - 12 X 12", "&D - 14 X 14"};
    const QStringList levels{"&Easy", "&Medium", "&Hard", "&Insane"};
    EXPECT_EQ(Items(w.mnu_level), levels);
    EXPECT_EQ(Items(w.mnu_size), sizes);
    EXPECT_EQ(Items(w.mnu_solve),
              (QStringList{"&Restart", "&Undo", "Re&do", "-", "&Hint", "&Solution"}));
    EXPECT_EQ(Items(w.mnu_options), (QStringList{"&Sounds", "&Wells", "&Duplicates",
                                                 "&Uniqueness", "-", "&Reset Time"}));
    EXPECT_EQ(Items(w.mnu_reset_time),
              (QStringList{"&Selection (Level - Size)", "&Level", "&All"}));
    EXPECT_EQ(Items(w.mnu_puzzle_generate), levels);
    for (int l = 0; l < kLevels; ++l)
        EXPECT_EQ(Items(w.mnu_puzzle_gen_level[l]), sizes) << l;
    EXPECT_EQ(Items(w.mnu_help), (QStringList{"&Contents...", "-",
                                              "&Dornel-Software on the Web..."}));
    // No item has a shortcut key: the access keys are the only keys of the menus.
    for (QAction *a : w.findChildren<QAction *>())
        EXPECT_TRUE(a->shortcut().isEmpty()) << a->objectName().toStdString();
    EXPECT_EQ(w.mnu_puzzle_gen[3][3]->objectName(), "mnu_puzzle_gen_insane_14");
    EXPECT_EQ(w.mnu_puzzle_gen[0][0]->objectName(), "mnu_puzzle_gen_easy_8");
    EXPECT_EQ(w.mnu_level_n[2]->objectName(), "mnu_level_n_2");
    EXPECT_EQ(w.Grid[37]->objectName(), "Grid_37");
    EXPECT_EQ(w.lblRowOne[3]->objectName(), "lblRowOne_3");
}

} // namespace
} // namespace tl::test
