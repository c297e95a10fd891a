#include "game/game_model.h"

#include "game/completion.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

namespace tl {

namespace {

const char *const kLevelNames[kLevels] = {"Easy", "Medium", "Hard", "Insane"};
const char *const kSizeNames[kSizes] = {"8x8", "10x10", "12x12", "14x14"};

} // namespace

std::string LevelPanelText(int level)
{
    return level >= 0 && level < kLevels ? std::string("Level: ") + kLevelNames[level] : "";
}

std::string SizePanelText(int sizeIndex)
{
    return sizeIndex >= 0 && sizeIndex < kSizes ? std::string("Size: ") + kSizeNames[sizeIndex]
                                                : "";
}

std::string WindowCaption(const Roster &roster)
{
    if (roster.hasPlayer(roster.CurrentPlayer()))
        return "Dornel's Tilloran - " + roster.shownName(roster.CurrentPlayer()) + " is playing";
    return "Dornel's Tilloran - Free Play (no player selected)";
}

int ReadPuzzleNumber(const std::string &answer)
{
    std::size_t i = 0;
    while (i < answer.size() && answer[i] == ' ')
        ++i;
    // The longest leading part that reads as a number.
    std::string number;
    if (i < answer.size() && (answer[i] == '+' || answer[i] == '-'))
        number += answer[i++];
    bool digits = false;
    while (i < answer.size() && std::isdigit(static_cast<unsigned char>(answer[i]))) {
        number += answer[i++];
        digits = true;
    }
    if (i < answer.size() && answer[i] == '.') {
        number += answer[i++];
        while (i < answer.size() && std::isdigit(static_cast<unsigned char>(answer[i]))) {
            number += answer[i++];
            digits = true;
        }
    }
    if (!digits)
        return 0;
    if (i < answer.size() && (answer[i] == 'e' || answer[i] == 'E')) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (j < answer.size() && (answer[j] == '+' || answer[j] == '-'))
            exponent += answer[j++];
        bool expDigits = false;
        while (j < answer.size() && std::isdigit(static_cast<unsigned char>(answer[j]))) {
            exponent += answer[j++];
            expDigits = true;
        }
        if (expDigits)
            number += exponent;
    }
    const double value = std::strtod(number.c_str(), nullptr);
    if (!std::isfinite(value))
        return 0;
    const double rounded = std::nearbyint(value); // the default rounding: halves to even
    if (rounded < -32768.0 || rounded > 32767.0)
        return 0;
    return static_cast<int>(rounded);
}

GameModel::GameModel(ClockService &clock) : clock_(clock)
{
    Board.fill(-1);
    StartBoard.fill(-1);
    Solution.fill(-1);
    StatusPanels = {LevelPanelText(0), SizePanelText(0), "Number: --",
                    "Best Time: 00:00 (No Best Time Yet)"};
    // The window as designed: a puzzle can be taken, nothing can be played yet.
    for (Command c : {Command::Next, Command::Open, Command::Players, Command::Exit,
                      Command::Help, Command::Design, Command::Print})
        setEnabled(c, true);
    LevelItemEnabled.fill(true);
    SizeItemEnabled.fill(true);
    for (auto &row : GenerateItemEnabled)
        row.fill(true);
    GenerateItemEnabled[0][0] = false;
}

void GameModel::Clear_Board_Labels(int n, bool wholeGrid)
{
    const int side = wholeGrid ? kMaxSide : n;
    for (int r = 0; r < side; ++r)
        for (int c = 0; c < side; ++c)
            Grid[r * kMaxSide + c] = CellView{};
    if (wholeGrid && n < kMaxSide) {
        // The row below and the column right of the board frame it in black.
        for (int k = 0; k <= n; ++k) {
            Grid[n * kMaxSide + k].back = colour::Black;
            Grid[k * kMaxSide + n].back = colour::Black;
        }
    }
}

void GameModel::Reset_Counts()
{
    for (int i = 0; i < kLineCount; ++i) {
        RowZeros[i] = RowOnes[i] = ColZeros[i] = ColOnes[i] = 0;
        lblRowNull[i] = {"-", lblNullBack};
        lblColNull[i] = {"-", lblNullBack};
        lblRowOne[i] = {"-", lblOneBack};
        lblColOne[i] = {"-", lblOneBack};
    }
}

void GameModel::Prepare_Empty_Board()
{
    GridSize = SideOfSizeIndex(SelectedSize);
    PairMinCount = static_cast<std::int16_t>(GridSize / 2 - 4);
    Clear_Board_Labels(GridSize, true);
    ShownLevel = SelectedLevel;
    ShownSize = SelectedSize;
    StatusPanels[0] = LevelPanelText(ShownLevel);
    StatusPanels[1] = SizePanelText(ShownSize);
    Finished = true;
}

bool GameModel::mnu_level_n_Click(int index)
{
    if (index < 0 || index >= kLevels)
        return false;
    SelectedLevel = static_cast<std::int16_t>(index);
    if (GenerateMenuEnabled) {
        Update_Generate_Menus();
    } else {
        // A run is active: the set being generated must never become the selection.
        SizeItemEnabled.fill(true);
        if (GenLevel == index && GenSize >= 0 && GenSize < kSizes)
            SizeItemEnabled[GenSize] = false;
    }
    return !LoadingOptions;
}

bool GameModel::mnu_size_n_Click(int index)
{
    if (index < 0 || index >= kSizes)
        return false;
    SelectedSize = static_cast<std::int16_t>(index);
    if (GenerateMenuEnabled) {
        Update_Generate_Menus();
    } else {
        LevelItemEnabled.fill(true);
        if (GenSize == index && GenLevel >= 0 && GenLevel < kLevels)
            LevelItemEnabled[GenLevel] = false;
    }
    return !LoadingOptions;
}

void GameModel::Update_Generate_Menus()
{
    LevelItemEnabled.fill(true);
    SizeItemEnabled.fill(true);
    for (auto &row : GenerateItemEnabled)
        row.fill(true);
    GenerateItemEnabled[SelectedLevel][SelectedSize] = false;
}

int GameModel::Step_Puzzle_Number()
{
    ShownLevel = SelectedLevel;
    ShownSize = SelectedSize;
    std::int16_t &nr = PuzzleNr[ShownLevel][ShownSize];
    // A stored number outside 0..100 can only come from a hand-edited settings file; it counts
    // as none shown yet.
    if (nr < 0 || nr > kPuzzlesPerSet)
        nr = 0;
    nr = static_cast<std::int16_t>(nr + 1);
    if (nr > kPuzzlesPerSet)
        nr = 1;
    return nr;
}

void GameModel::Show_Puzzle(const PuzzleRecord &record, const Roster &roster)
{
    Couplers.Clear_Custom_Couplers();
    ShowingDesign = false;
    // No game is in progress here, so every pair and uniqueness marker is cleared.
    Aids.Show_Duplicates(Aids_Board(), DuplicatesOn, PairMinCount);
    Aids.Show_Uniqueness(Aids_Board(), UniquenessOn);
    Reset_Counts();

    const int n = SideOfSizeIndex(ShownSize);
    if (n != GridSize) {
        GridSize = n;
        Clear_Board_Labels(n, true);
    } else {
        Clear_Board_Labels(n, false);
    }
    LastCell = n * n - 1;
    PairMinCount = static_cast<std::int16_t>(n / 2 - 4);

    StartBoard = CellValuesOf(record.StartCells);
    Solution = CellValuesOf(record.SolutionCells);
    Board = StartBoard;
    BestMin = record.BestMin;
    BestSec = record.BestSec;
    BestPlayer = record.BestPlayer;

    StatusPanels[0] = LevelPanelText(ShownLevel);
    StatusPanels[1] = SizePanelText(ShownSize);
    StatusPanels[2] = "Number: " + std::to_string(PuzzleNr[ShownLevel][ShownSize]);
    StatusPanels[3] = BestTimeText(BestMin, BestSec, BestPlayer, roster.PlayerCount(),
                                   roster.shownName(BestPlayer));

    Draw_Start_Board();

    History.clear();
    // The selection of the last board ends with it (its cell was repainted above).
    SelectionPending = false;
    lblInfo = "Vivere Puzzle ready to solve...";
    LabelSolvedVisible = false;
    LabelSolvedText = "CONGRATULATIONS";
    Finished = false;

    for (Command c : {Command::Next, Command::Open, Command::Undo, Command::Redo,
                      Command::Players, Command::Design})
        setEnabled(c, false);
    for (Command c : {Command::Restart, Command::Solution, Command::Pause, Command::Hint})
        setEnabled(c, true);
}

void GameModel::Draw_Start_Board()
{
    // The given cells, counted per line; every other cell blank in the window's colour.
    const int n = GridSize;
    const int half = n / 2;
    auto colourCount = [&](CountView &label, int count) {
        if (count == half)
            label.back = colour::LightGreen;
        else if (count == half - 1)
            label.back = colour::Orange;
    };
    for (int r = 0; r < n; ++r) {
        for (int c = 0; c < n; ++c) {
            const int v = StartBoard[r * n + c];
            CellView &cell = Grid[r * kMaxSide + c];
            if (v == 1 || v == 0) {
                cell.caption = v == 1 ? "1" : "0";
                cell.back = colour::GivenCell;
                int &rowCount = v == 1 ? RowOnes[r] : RowZeros[r];
                int &colCount = v == 1 ? ColOnes[c] : ColZeros[c];
                CountView &rowLabel = v == 1 ? lblRowOne[r] : lblRowNull[r];
                CountView &colLabel = v == 1 ? lblColOne[c] : lblColNull[c];
                ++rowCount;
                ++colCount;
                if (WellsOn) {
                    rowLabel.caption = std::to_string(rowCount);
                    colLabel.caption = std::to_string(colCount);
                    colourCount(rowLabel, rowCount);
                    colourCount(colLabel, colCount);
                }
            } else {
                cell.caption.clear();
                cell.back = colour::WindowBack;
            }
        }
    }
}

void GameModel::Start_Clock()
{
    Clock.Start_Clock(clock_);
    LabelTijd = "00:00";
}

void GameModel::Timer1_Timer()
{
    if (Clock.Paused || !Clock.Running)
        return;
    Clock.tick(clock_);
    LabelTijd = Clock.text();
}

void GameModel::Show_Wells()
{
    const int n = GridSize;
    for (int i = 0; i < n && i < kLineCount; ++i) {
        if (!WellsOn) {
            lblRowNull[i] = {"-", lblNullBack};
            lblColNull[i] = {"-", lblNullBack};
            lblRowOne[i] = {"-", lblOneBack};
            lblColOne[i] = {"-", lblOneBack};
            continue;
        }
        // A count that meets no highlight keeps its background (the legend's, as Wells was off).
        auto show = [&](CountView &label, int count) {
            label.caption = std::to_string(count);
            label.back = WellColour(count, n, label.back);
        };
        show(lblRowNull[i], RowZeros[i]);
        show(lblColNull[i], ColZeros[i]);
        show(lblRowOne[i], RowOnes[i]);
        show(lblColOne[i], ColOnes[i]);
    }
}

} // namespace tl
