// Printing puzzles of the stock: the page geometry and the layout of every printed page.
//
// How it fits together: the print dialog (FormPrint) keeps the choices (print_dialog_model.h)
// and, each time it is shown, asks the default printer for its paper size and works out the
// page frame here (Page_Geometry): 25 mm margins and a unit `Cm` of ten millimetres, all in
// twips. Its Print button then runs a PrintRun over one document of the printer. The run draws
// through the PageCanvas interface (platform/services.h) only, so the same code prints on the
// printer, writes a PDF file to look at and records its calls for the tests.
//
// A page holds the title line (the game's name at the left, the level at the right, on the top
// margin), one, two or four puzzle grids with their numbers ("# 7") under their right edges,
// optionally a smaller solution grid beside or under each puzzle, and "Page n" in the
// bottom-right corner of the margin frame. Grid lines are drawn 8 device pixels wide; digits are
// centred in their cells in bold Times New Roman, the other texts are in Arial.
#pragma once

#include "game/puzzle_record.h"
#include "printing/print_dialog_model.h"

#include <optional>
#include <string>

namespace tl {

class PageCanvas;
class Puzzles;

// The page frame in twips.
struct PageGeometry {
    float MmUnit = 0;   // twips per millimetre
    int Cm = 0;         // ten millimetres
    int Margin = 0;     // 25 millimetres
    int PageTop = 0, PageLeft = 0, PageBottom = 0, PageRight = 0;
    int PrintWidth = 0, PrintHeight = 0;
};

// The frame of a paper of `width` x `height` twips (A4 portrait); nothing when the paper is not
// a usable size (a value does not fit the 16-bit fields the layout works with).
std::optional<PageGeometry> Page_Geometry(int width, int height);

inline constexpr const char *kTitleText = "Dornel's Tilloran";

// One print run: the choices of the dialog, the page frame, the stock to read and the document
// to draw on. Its procedures are those of the print dialog's Print button.
class PrintRun {
public:
    PrintRun(const PrintChoices &choices, const PageGeometry &geometry, const Puzzles &puzzles,
             PageCanvas &canvas)
        : choices_(choices), g_(geometry), puzzles_(puzzles), canvas_(canvas)
    {
    }

    // Prints every page and ends the document. Each page is separated from the next by a new
    // page call; there is none after the last, so no empty sheet comes out.
    void Print_All();

    void PrintTitel();
    // Copies puzzle `Nr` of the run's level and size into Givens and SolutionGrid; false (and
    // nothing copied) when no such puzzle exists.
    bool OpenBinPuz(int Nr);
    // The puzzle grid in slot `SudRang` (1..PerPage), its givens and its caption "# SudNr".
    void PrintBinPuz(int SudRang, int SudNr);
    // The solution grid that belongs to slot `SudRang`.
    void PrintSolution(int SudRang);
    void PrintPaginanummer(int Pagina);

    CellGrid Givens{};
    CellGrid SolutionGrid{};

    // The grid drawn last, in twips.
    struct Box {
        int Top = 0, Left = 0, Bottom = 0, Right = 0, Width = 0, Height = 0;
    };
    Box box;

private:
    // The frame, the N - 1 inner lines of each direction and the digits of `cells` (-1 cells
    // are left empty) in the box, digits in bold Times New Roman of `points`.
    void Draw_Grid(const CellGrid &cells, int points);

    const PrintChoices &choices_;
    const PageGeometry &g_;
    const Puzzles &puzzles_;
    PageCanvas &canvas_;
};

// The sizes in points of the digits of puzzles and of solutions by puzzles per page (1, 2, 4)
// and board size index.
int GivenDigitPoints(int perPage, int sizeIndex);
int SolutionDigitPoints(int perPage, int sizeIndex);

// The level's name in the title line ("" for an unknown level).
std::string LevelTitle(int level);

} // namespace tl
