// The three solving aids drawn around the board: the colour of the line counts ("wells"), the
// duplicate-pair markers and the uniqueness marks. Plain state; the game window shows it.
#pragma once

#include "game/puzzle_record.h"

#include <array>
#include <cstdint>
#include <string>

namespace tl {

// A colour as 0xRRGGBB.
using Rgb = std::uint32_t;

namespace colour {
constexpr Rgb Black = 0x000000;        // console 0
constexpr Rgb LightBlue = 0x0000FF;    // console 9
constexpr Rgb LightGreen = 0x00FF00;   // console 10
constexpr Rgb LightCyan = 0x00FFFF;    // console 11
constexpr Rgb LightRed = 0xFF0000;     // console 12
constexpr Rgb LightMagenta = 0xFF00FF; // console 13
constexpr Rgb Yellow = 0xFFFF00;       // console 14
constexpr Rgb White = 0xFFFFFF;        // console 15
constexpr Rgb Orange = 0xFF7F00;       // a count one short of half the line
} // namespace colour

// The colour of a count label showing `count` zeros (or ones) of a line of `n` cells: too many,
// exactly half and one short are highlighted; anything else takes the legend's colour.
Rgb WellColour(int count, int n, Rgb legend);

// The successor of `c` in the pair-colour cycle white, black, light red, yellow, light green,
// light blue, light cyan, light magenta. While pairs are being assigned (`marking`), light
// magenta is followed by black so that white never marks a pair. Other colours stay.
Rgb NextPairColour(Rgb c, bool marking);

constexpr int kPairSlots = 4;
constexpr int kPairMarkers = kPairSlots * kMaxSide; // 56 per direction: slot x 14 + line

// What the aids need to know of the puzzle on the board.
struct AidsBoard {
    const CellGrid &board; // the player's cells, row x N + column, -1 empty
    int gridSize;          // N
    int lastCell;          // N x N - 1, 0 while no puzzle has been shown
    bool finished;         // solved or solution shown
    bool inPlay() const { return lastCell > 0 && !finished; }
};

class SolvingAids {
public:
    // Pair markers beside the rows (UniqueRow) and above the columns (UniqueCol), index
    // slot x 14 + line; uniqueness marks below the columns (Line_X) and right of the rows
    // (Line_Y); the swatch (DupColor) holds the colour the next pair receives.
    std::array<Rgb, kPairMarkers> UniqueRow{};
    std::array<Rgb, kPairMarkers> UniqueCol{};
    std::array<Rgb, kMaxSide> Line_X{};
    std::array<Rgb, kMaxSide> Line_Y{};
    Rgb DupColor = colour::White;
    bool DupMarking = false;

    SolvingAids();

    // Recomputes the duplicate pairs (or clears them when no puzzle is in play). With the option
    // off the markers are the player's notes and stay as they are.
    void Show_Duplicates(const AidsBoard &b, bool duplicatesOn, int pairMinCount);
    // Recomputes the marks of lines that can no longer equal any other line of their direction.
    void Show_Uniqueness(const AidsBoard &b, bool uniquenessOn);
    // Steps the swatch through the pair-colour cycle.
    void DupColor_Click();

    // The player's own marks, accepted only while the aid's option is off and a puzzle is in
    // play. Each returns true when a marker changed.
    bool Line_X_Click(int index, const AidsBoard &b, bool uniquenessOn);
    bool Line_Y_Click(int index, const AidsBoard &b, bool uniquenessOn);
    bool UniqueCol_Click(int index, const AidsBoard &b, bool duplicatesOn);
    bool UniqueRow_Click(int index, const AidsBoard &b, bool duplicatesOn);

private:
    void clearPairs();
    void clearUniqueness();
    void markPairs(std::array<Rgb, kPairMarkers> &markers, const AidsBoard &b, int pairMinCount,
                   bool columns);
    static bool toggleUniqueMark(std::array<Rgb, kMaxSide> &marks, int index, const AidsBoard &b,
                                 bool optionOn);
    bool togglePairMarker(std::array<Rgb, kPairMarkers> &markers, int index, const AidsBoard &b,
                          bool optionOn);
};

} // namespace tl
