// The player's coupler marks (links between two empty cells of a row or a column, or the four
// sides of a rectangle) and the hint engine's coupler lines. Plain state; the game window draws
// a 75 x 75 twip square for every mark and a line for every hint coupler.
#pragma once

#include "game/puzzle_record.h"

#include <array>
#include <cstdint>
#include <vector>

namespace tl {

// The partners of one cell of the 14 x 14 grid (GridIndex, -1 none).
struct CouplerLink {
    std::int16_t PartnerAbove = -1;
    std::int16_t PartnerBelow = -1;
    std::int16_t PartnerLeft = -1;
    std::int16_t PartnerRight = -1;
};

// A position in twips of the window.
struct TwipPoint {
    int left = 0;
    int top = 0;
    bool operator==(const TwipPoint &) const = default;
};

enum class CellSide { Right, Left, Bottom, Top };

// Top-left corner of the mark on `side` of cell (row, col): inside the cell, against that side,
// centred along it.
TwipPoint MarkPosition(int row, int col, CellSide side);

constexpr int kMarkSize = 75;               // twips
constexpr TwipPoint kMarkTemplate{120, 120}; // where the never-shown template mark lies

// A hint coupler line, from (x1, y1) to (x2, y2) in twips.
struct CouplerLine {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    bool operator==(const CouplerLine &) const = default;
};

constexpr CouplerLine kLineTemplate{120, 120, 120, 1680};

enum CouplerKind : int { kRowLink = 1, kColumnLink = 2, kRectangle = 3 };

class CouplerMarks {
public:
    std::array<CouplerLink, kGridCells> CouplerLinks{};
    // Element 0 is the template; elements 1 .. CustomCouplerCount() are the marks on the board.
    std::vector<TwipPoint> CustomCouplers{kMarkTemplate};
    // Element 0 is the template; elements 1 .. CouplerCount() are the hint's lines.
    std::vector<CouplerLine> Couplers{kLineTemplate};

    int CustomCouplerCount() const { return static_cast<int>(CustomCouplers.size()) - 1; }
    int CouplerCount() const { return static_cast<int>(Couplers.size()) - 1; }

    // Sets or removes a link between (Row1, Col1) and (Row2, Col2): kind 1 a row pair (Col1 <
    // Col2), 2 a column pair (Row1 < Row2), 3 the rectangle with those opposite corners. A link
    // that would take a side already linked to a third cell changes nothing.
    void Toggle_Custom_Coupler(int Col1, int Col2, int Row1, int Row2, int Kind);
    // Removes every mark and every link.
    void Clear_Custom_Couplers();
    // After cell (row, col) was filled: removes its links to partners that are filled too.
    void Drop_Filled_Links(int row, int col, const CellGrid &board, int gridSize);
    // Removes the hint's coupler lines.
    void Erase_Couplers();
    // The hint engine adds a line.
    void Add_Coupler(const CouplerLine &line) { Couplers.push_back(line); }

private:
    void addMark(TwipPoint p);
    void removeMark(TwipPoint p, std::int16_t &linkField);
    void linkRow(int row, int colA, int colB);
    void linkColumn(int col, int rowA, int rowB);
    void unlinkRow(int row, int colA, int colB);
    void unlinkColumn(int col, int rowA, int rowB);
    CouplerLink &at(int row, int col) { return CouplerLinks[row * kMaxSide + col]; }
};

} // namespace tl
