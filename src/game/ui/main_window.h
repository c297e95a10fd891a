// The game window `Main`: the 14 x 14 board with its count labels and markers, the command
// buttons, the clock, the message line, the generator's progress, the status bar and the menus.
// It shows a GameModel and hands every click to it; start-up, the puzzle stock, the roster,
// the sounds and the settings are reached from here.
#pragma once

#include "game/game_model.h"
#include "game/game_sound.h"
#include "game/global_helpers.h"
#include "game/line_tables.h"
#include "game/puzzle_stock.h"
#include "game/roster.h"
#include "platform/services.h"

#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>

class QAction;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QTimer;

namespace tl {

class ClickLabel;
class CouplerWidgets;
class FormNamen;
class FormPrint;
class RatingSolver;

// The pixel of a position given in twips (15 twips per pixel).
constexpr int Px(int twips) { return twips / 15; }

class Main : public QMainWindow {
    Q_OBJECT
public:
    explicit Main(Platform &platform, QWidget *parent = nullptr);
    ~Main() override;

    // Start-up. Shows the window and returns true; or, when the stock cannot be loaded, reports
    // it and returns false without ever showing the window.
    bool Form_Load();

    // Ends the program at once (the quit question answered Yes), without exit-time work; tests
    // replace it.
    std::function<void(int)> endProgram;

    // ---- Public procedures other parts of the game call -----------------------------------
    void Setup_Players();
    void Init_Sound();
    void Speel(int mmid);
    // Resumes a paused game (the click on the cover's picture).
    void Picture1_Click();
    // Adds seconds to the clock.
    void Penalty(int Strafseconden);

    // Removes the hint's coupler lines; the player's marks: set or remove a link, remove all.
    void Erase_Couplers();
    void Toggle_Custom_Coupler(int Col1, int Col2, int Row1, int Row2, int Kind);
    void Clear_Custom_Couplers();
    // The rating solver of generation runs (its HaltGenerator is the Stop button's flag).
    RatingSolver &solver();
    CouplerWidgets &couplerWidgets();

    // ---- Designs -----------------------------------------------------------------------------
    // The designer's hand-over: the record it edits and whether the user accepted it.
    PuzzleRecord DesignPuzzle;
    bool &PlayingDesign() { return model_.PlayingDesign; }
    // Shows the designer modally and returns when it is hidden.
    std::function<void()> showDesigner;
    // Puts the accepted design on the board.
    void Load_Design();

    // ---- State other parts read -------------------------------------------------------------
    GameModel &model() { return model_; }
    Roster &roster() { return roster_; }
    Puzzles &puzzles() { return puzzles_; }
    const Folders &folders() const { return folders_; }
    StockContext stockContext();
    FormNamen *formNamen() const { return formNamen_; }
    FormPrint *formPrint() const { return formPrint_; }

    // Brings every control in line with the model.
    void Refresh();

public slots:
    void cmdNext_Click();
    void cmdOpen_Click();
    void cmdPlayers_Click();
    void cmdExit_Click();
    void mnu_level_n_Click(int index);
    void mnu_size_n_Click(int index);
    void mnu_options_sounds_Click();
    void mnu_options_wells_Click();
    void mnu_options_duplicates_Click();
    void mnu_options_uniqueness_Click();
    void Grid_MouseUp(int index, Qt::MouseButton button);
    void Timer1_Timer();
    void cmdUndo_Click();
    void cmdRedo_Click();
    void cmdRestart_Click();
    void cmdSolution_Click();
    void cmdPauze_Click();
    // Hint: removes the last hint's coupler lines and asks the hint engine for the next hint.
    void cmdHint_Click();
    void LabelSolved_Click();
    void mnu_puzzle_design_Click();
    // Pauses a game in play, shows the print dialog and resumes the game (main_print.cpp).
    void mnu_puzzle_print_Click();
    // Solving-aid markers, help pages, best-time resets and generation (main_window_aids.cpp).
    void DupColor_Click();
    void Line_X_Click(int index);
    void Line_Y_Click(int index);
    void UniqueCol_Click(int index);
    void UniqueRow_Click(int index);
    void cmdHelp_Click();
    void mnu_help_website_Click();
    void Label2_Click();
    void mnu_reset_selection_Click();
    void mnu_reset_level_Click();
    void mnu_reset_all_Click();
    // The sixteen Generate items, one handler with the item's level and size.
    void mnu_puzzle_gen_Click(int level, int sizeIndex);
    void cmdHaltGenerator_Click();

protected:
    void closeEvent(QCloseEvent *event) override; // Form_QueryUnload
    void changeEvent(QEvent *event) override;     // Form_Resize
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Build_Board();
    void Build_Controls();
    void Build_Menus();
    void Build_Play();
    void Refresh_Play();
    // Keeps the banner and the pause cover above everything drawn on the board.
    void Refresh_Cover();
    // The end of a solved game: applause, the best time, the banner.
    void Complete_Puzzle();
    void Record_Best_Time();
    void Refresh_Menus();
    void Load_Options();
    void Save_Options();
    // Asks "Do you really want to quit ?"; true when the answer is Yes.
    bool Ask_Quit();
    void Quit_Now();
    // Connects the aids' markers, Help, the reset items and the Generate items.
    void Wire_Aids();
    // Connects the Hint button and its menu item (main_window_hint.cpp).
    void Wire_Hint();
    void Refresh_Couplers();
    // Loads the print dialog hidden and connects the Print item to it.
    void Load_Print_Dialog();
    void Reset_Times(int scope);

    Platform &platform_;
    GameModel model_;
    GameSound sound_;
    Roster roster_;
    Puzzles puzzles_;
    Folders folders_;
    LineTables lineTables_;
    GeneratorThresholds thresholds_;
    FormNamen *formNamen_ = nullptr;
    FormPrint *formPrint_ = nullptr;
    friend class MainGeneratorHost;
    struct AidsParts;
    std::unique_ptr<AidsParts> aids_;

    // ---- Controls, named as in the game's design ------------------------------------------
public:
    std::array<ClickLabel *, kGridCells> Grid{};
    std::array<QLabel *, kLineCount> lblRowNull{}, lblRowOne{}, lblColNull{}, lblColOne{};
    QLabel *lblNull = nullptr, *lblOne = nullptr;
    std::array<ClickLabel *, 4 * kLineCount> UniqueRow{}, UniqueCol{};
    std::array<ClickLabel *, kLineCount> Line_X{}, Line_Y{};
    ClickLabel *DupColor = nullptr;
    QLabel *Label8 = nullptr;
    QPushButton *cmdNext = nullptr, *cmdOpen = nullptr, *cmdPlayers = nullptr,
                *cmdExit = nullptr, *cmdRestart = nullptr, *cmdUndo = nullptr,
                *cmdRedo = nullptr, *cmdHint = nullptr, *cmdSolution = nullptr,
                *cmdHelp = nullptr, *cmdPauze = nullptr, *cmdHaltGenerator = nullptr;
    QLabel *LabelTijd = nullptr;
    QPlainTextEdit *lblInfo = nullptr;
    QLineEdit *LabelSolved = nullptr;
    QLabel *Label5 = nullptr; // "Generator Progress"
    QLabel *lblProgress = nullptr;
    QProgressBar *ProgressBar1 = nullptr;
    QLabel *Label3 = nullptr, *Label2 = nullptr; // the maker's name
    std::array<QLabel *, 4> StatusBar1{};        // the four panels of the status bar
    QTimer *Timer1 = nullptr;
    QWidget *Shield = nullptr;      // the cover over a paused board
    ClickLabel *Picture1 = nullptr; // "Click Here to CONTINUE" on the cover

    // Menus and their items.
    QMenu *mnu_puzzle = nullptr, *mnu_level = nullptr, *mnu_size = nullptr,
          *mnu_solve = nullptr, *mnu_options = nullptr, *mnu_reset_time = nullptr,
          *mnu_puzzle_generate = nullptr, *mnu_help = nullptr;
    QAction *mnu_puzzle_open = nullptr, *mnu_puzzle_next = nullptr,
            *mnu_puzzle_design = nullptr, *mnu_puzzle_players = nullptr,
            *mnu_puzzle_print = nullptr, *mnu_puzzle_exit = nullptr;
    std::array<QAction *, kLevels> mnu_level_n{};
    std::array<QAction *, kSizes> mnu_size_n{};
    QAction *mnu_solve_restart = nullptr, *mnu_solve_undo = nullptr, *mnu_solve_redo = nullptr,
            *mnu_solve_hint = nullptr, *mnu_solve_solution = nullptr;
    QAction *mnu_options_sounds = nullptr, *mnu_options_wells = nullptr,
            *mnu_options_duplicates = nullptr, *mnu_options_uniqueness = nullptr;
    QAction *mnu_reset_selection = nullptr, *mnu_reset_level = nullptr,
            *mnu_reset_all = nullptr;
    std::array<QMenu *, kLevels> mnu_puzzle_gen_level{}; // "&Easy" .. "&Insane" submenus
    std::array<std::array<QAction *, kSizes>, kLevels> mnu_puzzle_gen{}; // [level][size]
    QAction *mnu_help_contents = nullptr, *mnu_help_website = nullptr;
};

} // namespace tl
