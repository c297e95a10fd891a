#include "printing/print_run.h"

#include "game/puzzle_stock.h"
#include "platform/services.h"

#include <cmath>
#include <limits>

namespace tl {

namespace {

constexpr std::uint32_t kBlack = 0x000000;
constexpr int kLineWidth = 8; // device pixels

int PerPageRow(int perPage)
{
    return perPage == 2 ? 1 : perPage == 4 ? 2 : 0;
}

bool FitsShort(long long v)
{
    return v >= std::numeric_limits<std::int16_t>::min() &&
           v <= std::numeric_limits<std::int16_t>::max();
}

// Int() of the layout: the next whole number downwards.
int Floor(double v)
{
    return static_cast<int>(std::floor(v));
}

} // namespace

std::optional<PageGeometry> Page_Geometry(int width, int height)
{
    if (width <= 0 || height <= 0)
        return std::nullopt;
    PageGeometry g;
    g.MmUnit = static_cast<float>((width / 210.0 + height / 297.0) / 2.0);
    const long long cm = static_cast<long long>(std::floor(g.MmUnit * 10.0f));
    const long long margin = static_cast<long long>(std::floor(g.MmUnit * 25.0f));
    const long long printWidth = width - 2 * margin;
    const long long printHeight = height - 2 * margin;
    const long long bottom = printHeight + margin;
    const long long right = margin + printWidth;
    for (long long v : {cm, margin, printWidth, printHeight, bottom, right})
        if (!FitsShort(v))
            return std::nullopt;
    g.Cm = static_cast<int>(cm);
    g.Margin = static_cast<int>(margin);
    g.PageLeft = g.PageTop = g.Margin;
    g.PrintWidth = static_cast<int>(printWidth);
    g.PrintHeight = static_cast<int>(printHeight);
    g.PageBottom = static_cast<int>(bottom);
    g.PageRight = static_cast<int>(right);
    return g;
}

int GivenDigitPoints(int perPage, int sizeIndex)
{
    static constexpr int kPoints[3][4] = {{42, 34, 28, 24}, {28, 22, 19, 16}, {18, 14, 12, 10}};
    return kPoints[PerPageRow(perPage)][sizeIndex & 3];
}

int SolutionDigitPoints(int perPage, int sizeIndex)
{
    static constexpr int kPoints[3][4] = {{19, 15, 13, 11}, {14, 11, 9, 8}, {10, 8, 7, 6}};
    return kPoints[PerPageRow(perPage)][sizeIndex & 3];
}

std::string LevelTitle(int level)
{
    static const char *const kNames[4] = {"Easy", "Medium", "Hard", "Insane"};
    return level >= 0 && level < 4 ? kNames[level] : "";
}

void PrintRun::Print_All()
{
    const int perPage = choices_.PerPage;
    for (int Pagina = 1; Pagina <= choices_.PageCount; ++Pagina) {
        PrintTitel();
        for (int SudRang = 1; SudRang <= perPage; ++SudRang) {
            const int number = choices_.FirstNumber + (Pagina - 1) * perPage + SudRang - 1;
            // A slot whose puzzle is not in the stock stays empty rather than showing the
            // previous puzzle under a wrong number.
            if (!OpenBinPuz(number))
                continue;
            PrintBinPuz(SudRang, number);
            if (choices_.WithSolutions)
                PrintSolution(SudRang);
        }
        PrintPaginanummer(Pagina);
        if (Pagina < choices_.PageCount)
            canvas_.newPage();
    }
    canvas_.endDoc();
}

void PrintRun::PrintTitel()
{
    canvas_.setFont("Arial", 18, false);
    canvas_.print(g_.PageLeft, g_.PageTop, kTitleText);
    const std::string level = LevelTitle(choices_.LevelChoice);
    canvas_.print(g_.PageRight - canvas_.textWidth(level), g_.PageTop, level);
}

bool PrintRun::OpenBinPuz(int Nr)
{
    const PuzzleRecord *record = puzzles_.find(choices_.LevelChoice, choices_.SizeChoice, Nr);
    if (!record)
        return false;
    Givens = record->StartCells;
    SolutionGrid = record->SolutionCells;
    return true;
}

void PrintRun::Draw_Grid(const CellGrid &cells, int points)
{
    const int n = (choices_.SizeChoice + 4) * 2;
    const float cellSize = static_cast<float>(box.Width) / static_cast<float>(n);

    canvas_.setDrawWidth(kLineWidth);
    canvas_.drawBox(box.Left, box.Top, box.Right, box.Bottom);
    for (int i = 1; i < n; ++i) {
        const int offset = Floor(static_cast<float>(i) * cellSize);
        canvas_.drawLine(box.Left, box.Top + offset, box.Right, box.Top + offset);
        canvas_.drawLine(box.Left + offset, box.Top, box.Left + offset, box.Bottom);
    }

    canvas_.setFont("Times New Roman", points, true);
    for (int r = 0; r < n; ++r) {
        for (int c = 0; c < n; ++c) {
            const int value = cells[r * n + c];
            if (value != 0 && value != 1)
                continue;
            const std::string text = value == 0 ? "0" : "1";
            const int dx = Floor((cellSize - canvas_.textWidth(text)) / 2);
            const int dy = Floor((cellSize - canvas_.textHeight(text)) / 2);
            canvas_.print(box.Left + Floor(static_cast<float>(c) * cellSize) + dx,
                          box.Top + Floor(static_cast<float>(r) * cellSize) + dy, text);
        }
    }
}

void PrintRun::PrintBinPuz(int SudRang, int SudNr)
{
    const int cm = g_.Cm;
    const int lowerTop = Floor(4.5 * cm);
    switch (choices_.PerPage) {
    case 1:
        box.Width = g_.PrintWidth;
        box.Top = g_.PageTop + cm;
        box.Left = g_.PageLeft;
        break;
    case 2:
        box.Width = 10 * cm;
        box.Top = SudRang == 1 ? g_.PageTop + cm : g_.PageBottom - (box.Width + cm);
        box.Left = g_.PageLeft;
        break;
    default:
        box.Width = 7 * cm;
        box.Top = SudRang <= 2 ? g_.PageTop + cm : g_.PageBottom - (lowerTop + box.Width);
        box.Left = SudRang % 2 == 1 ? g_.PageLeft : g_.PageRight - box.Width;
        break;
    }
    box.Height = box.Width;
    box.Right = box.Left + box.Width;
    box.Bottom = box.Top + box.Height;

    canvas_.setTextColour(kBlack);
    Draw_Grid(Givens, GivenDigitPoints(choices_.PerPage, choices_.SizeChoice));

    const int captionPoints = choices_.PerPage == 1 ? 18 : choices_.PerPage == 2 ? 11 : 8;
    canvas_.setTextColour(kBlack);
    canvas_.setFont("Arial", captionPoints, false);
    const std::string caption = "# " + std::to_string(SudNr);
    canvas_.print(box.Right - canvas_.textWidth(caption),
                  box.Bottom + Floor(canvas_.textHeight(caption) * 1.25), caption);
}

void PrintRun::PrintSolution(int SudRang)
{
    const int cm = g_.Cm;
    switch (choices_.PerPage) {
    case 1:
        box.Width = 7 * cm;
        box.Top = g_.PageBottom - box.Width;
        box.Left = g_.PageLeft;
        break;
    case 2:
        box.Width = 5 * cm;
        box.Top = SudRang == 1 ? g_.PageTop + 6 * cm : g_.PageBottom - (box.Width + cm);
        box.Left = g_.PageRight - box.Width;
        break;
    default:
        box.Width = 4 * cm;
        box.Top = SudRang <= 2 ? g_.PageTop + Floor(8.5 * cm) : g_.PageBottom - 4 * cm;
        box.Left = SudRang % 2 == 1 ? g_.PageLeft : g_.PageRight - 7 * cm;
        break;
    }
    box.Height = box.Width;
    box.Right = box.Left + box.Width;
    box.Bottom = box.Top + box.Height;
    Draw_Grid(SolutionGrid, SolutionDigitPoints(choices_.PerPage, choices_.SizeChoice));
}

void PrintRun::PrintPaginanummer(int Pagina)
{
    canvas_.setFont("Arial", 18, false);
    const std::string text = "Page " + std::to_string(Pagina);
    canvas_.print(g_.PageRight - canvas_.textWidth(text), g_.PageBottom - canvas_.textHeight(text),
                  text);
}

} // namespace tl
