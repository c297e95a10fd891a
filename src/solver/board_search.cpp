#include "solver/board_search.h"

#include "platform/seeded_random.h"

#include <utility>

namespace tl {

BoardSearch::BoardSearch(const LineTables &tables, RandomSource &random, EventPump *pump,
                         const bool *halt)
    : tables_(tables), random_(random), pump_(pump), halt_(halt)
{
    RowChoice.fill(-1);
}

void BoardSearch::setSize(int n)
{
    n_ = n;
    bits_ = &tables_.bits(n);
    GenLastLine = tables_.lastLine(n);
    switch (n) {
    case 8: swaps_ = 1024; break;
    case 10: swaps_ = 4096; break;
    case 12: swaps_ = 8192; break;
    case 14: swaps_ = 16384; break;
    default: swaps_ = 0; break;
    }
    allOnes_ = (1 << n) - 1;
    words_ = (GenLastLine + 1 + 63) / 64;
    groups_ = (n + 2) / 3;
}

namespace {

constexpr int kPatterns = 27; // per group of three columns: each asks 0, 1 or anything

// The patterns of a group of three columns that the values t (bit j = column j) meet: for
// each subset of the columns, the one that asks those columns for their values in t.
struct PatternsMet {
    std::array<std::array<std::uint8_t, 8>, 8> of{};
    constexpr PatternsMet()
    {
        for (int t = 0; t < 8; ++t)
            for (int subset = 0; subset < 8; ++subset) {
                int p = 0, weight = 1;
                for (int j = 0; j < 3; ++j, weight *= 3)
                    if ((subset >> j) & 1)
                        p += (1 + ((t >> j) & 1)) * weight;
                of[t][subset] = static_cast<std::uint8_t>(p);
            }
    }
};
constexpr PatternsMet kPatternsMet;

// The pattern that asks the columns of `zero` (bit j = column j of a group) for a 0 and those
// of `one` for a 1: patternOf[zero][one].
struct PatternOf {
    std::array<std::array<std::uint8_t, 8>, 8> of{};
    constexpr PatternOf()
    {
        for (int zero = 0; zero < 8; ++zero)
            for (int one = 0; one < 8; ++one) {
                int p = 0, weight = 1;
                for (int j = 0; j < 3; ++j, weight *= 3)
                    p += (((zero >> j) & 1) + 2 * ((one >> j) & 1)) * weight;
                of[zero][one] = static_cast<std::uint8_t>(p);
            }
    }
};
constexpr PatternOf kPatternOf;

} // namespace

void BoardSearch::indexOrder()
{
    index_.assign(static_cast<std::size_t>(words_) * groups_ * kPatterns, 0);
    for (std::size_t k = 0; k < LineOrder.size(); ++k) {
        const std::uint64_t bit = std::uint64_t{1} << (k % 64);
        std::uint64_t *word = &index_[(k / 64) * groups_ * kPatterns];
        const auto v = static_cast<std::uint32_t>((*bits_)[LineOrder[k]]);
        for (int g = 0; g < groups_; ++g, word += kPatterns)
            for (std::uint8_t p : kPatternsMet.of[(v >> (3 * g)) & 7])
                word[p] |= bit;
    }
}

void BoardSearch::useForced(std::int32_t mustBeZero, std::int32_t mustBeOne)
{
    patterns_ = 0;
    // A column forced both ways allows no candidate, as the one-by-one test finds.
    noneAllowed_ = (mustBeZero & mustBeOne) != 0;
    if (noneAllowed_)
        return;
    for (int g = 0; g < groups_; ++g) {
        const int p = kPatternOf.of[(mustBeZero >> (3 * g)) & 7][(mustBeOne >> (3 * g)) & 7];
        if (p != 0)
            patternAt_[patterns_++] = g * kPatterns + p;
    }
}

std::uint64_t BoardSearch::allowedWord(int w) const
{
    // A candidate is allowed when it meets the pattern of every group with a constraint.
    const std::uint64_t *word = &index_[static_cast<std::size_t>(w) * groups_ * kPatterns];
    std::uint64_t a = noneAllowed_ ? 0 : ~std::uint64_t{0};
    for (int i = 0; i < patterns_; ++i)
        a &= word[patternAt_[i]];
    return a;
}

std::int32_t BoardSearch::nextAllowed(std::int32_t k) const
{
    // The lowest allowed candidate at or after k; the one-by-one skip stops at it, or at
    // GenLastLine when that comes first (found beyond it or not found at all).
    int w = k / 64;
    std::uint64_t bits = allowedWord(w) & (~std::uint64_t{0} << (k % 64));
    while (bits == 0) {
        if (++w == words_)
            return GenLastLine;
        bits = allowedWord(w);
    }
    const std::int32_t found = w * 64 + __builtin_ctzll(bits);
    return found < GenLastLine ? found : GenLastLine;
}

namespace {

template <class Source>
void Shuffle(std::vector<std::int32_t> &order, std::uint32_t bound, int swaps, Source &source)
{
    const BoundedDraw draw(bound);
    for (int s = 0; s < swaps; ++s) {
        const std::uint32_t a = draw(source);
        const std::uint32_t b = draw(source);
        std::swap(order[a], order[b]);
    }
}

} // namespace

void BoardSearch::shuffle()
{
    // The run's own source is a SeededRandom: its numbers are taken without a virtual call.
    if (auto *seeded = dynamic_cast<SeededRandom *>(&random_))
        Shuffle(LineOrder, static_cast<std::uint32_t>(GenLastLine + 1), swaps_, *seeded);
    else
        Shuffle(LineOrder, static_cast<std::uint32_t>(GenLastLine + 1), swaps_, random_);
}

bool BoardSearch::Row_Fits(int row)
{
    const int n = n_;
    const std::int32_t v = (*bits_)[LineOrder[RowChoice[row]]];
    RowBits[row] = v;

    // A row may not repeat a row already placed below it.
    for (int i = row + 1; i < n; ++i)
        if (RowBits[i] == v)
            return false;

    // Three equal values in a column, tested for all columns at once: rows row + 1 and
    // row + 2 are placed and their bit values are in RowBits (ColumnBits holds the same values
    // for them, so a test one column at a time would find the same).
    if (row < n - 2) {
        const std::int32_t a = RowBits[row + 1], b = RowBits[row + 2];
        if ((v & a & b) != 0 || (~v & ~a & ~b & allOnes_) != 0)
            return false;
    }

    // Column bits: grid row r is bit n - 1 - r, so the rows below `row` are the low bits.
    const std::int32_t below = allOnes_ >> (row + 1);
    const std::int32_t rowBit = 1 << (n - 1 - row);
    const int half = n / 2;
    for (int c = 0; c < n; ++c)
        ColumnBits[c] = (ColumnBits[c] & below) | (((v >> c) & 1) != 0 ? rowBit : 0);
    // Above the middle no column may hold more than N/2 of either value.
    if (row < half) {
        bool over = false;
        for (int c = 0; c < n; ++c) {
            const int ones = tables_.BitCount[ColumnBits[c]];
            over |= ones > half || ones < half - row;
        }
        if (over)
            return false;
    }

    // Once only the top row is missing, two equal columns could never become different. Each
    // column marks its value in a bitmap (all clear between calls): a value marked twice is a
    // pair of equal columns. The marks are cleared again before returning.
    if (row == 1) {
        bool equal = false;
        for (int c = 0; c < n; ++c) {
            const auto col = static_cast<std::uint32_t>(ColumnBits[c]);
            const std::uint64_t bit = std::uint64_t{1} << (col % 64);
            equal |= (columnSeen_[col / 64] & bit) != 0;
            columnSeen_[col / 64] |= bit;
        }
        for (int c = 0; c < n; ++c)
            columnSeen_[static_cast<std::uint32_t>(ColumnBits[c]) / 64] = 0;
        if (equal)
            return false;
    }
    return true;
}

bool BoardSearch::Build_Full_Board(std::vector<std::int32_t> &board)
{
    const int n = n_;
    board.assign(static_cast<std::size_t>(n) * n, -1);
    LineOrder.resize(static_cast<std::size_t>(GenLastLine) + 1);
    for (std::int32_t k = 0; k <= GenLastLine; ++k)
        LineOrder[k] = k;
    attempts_ = 0;

    for (;;) {
        // One attempt: a fresh shuffle of the order left by the previous attempt.
        if (*halt_)
            return false;
        ++attempts_;
        bool restart = false;
        int steps = 0;
        shuffle();
        indexOrder();
        RowChoice.fill(-1);
        int row = n - 1;
        // The row whose forced values useForced last took.
        int maskRow = -1;

        while (row < n && !*halt_) {
            if (pump_)
                pump_->pumpEvents();
            if (++steps >= kStepLimit) {
                restart = true;
                break;
            }
            if (row == -1)
                break; // every row is placed
            for (;;) {
                if (RowChoice[row] == GenLastLine) {
                    RowChoice[row] = -1;
                    ++row;
                    // Moving back: the row's excluded candidates depend on the rows below
                    // it, which may have changed since they were worked out for this row.
                    maskRow = -1;
                    if (row == n) {
                        // Every line has been tried in the bottom row: this order holds no
                        // board. Start again with a new shuffle rather than leave the rows.
                        restart = true;
                        break;
                    }
                    continue;
                }
                ++RowChoice[row];
                if (row < n - 2) {
                    // Most candidates put three equal values in a column with the two rows
                    // below, or (above the middle) a value into a column that already holds
                    // N/2 of it; Row_Fits would refuse them, so they are passed over here
                    // without a call, up to the next candidate it may accept (found through
                    // the index of the order, 64 candidates at a time). The columns below stay
                    // as they are while the candidates of one row are tried.
                    if (row != maskRow) {
                        const std::int32_t a = RowBits[row + 1], b = RowBits[row + 2];
                        std::int32_t mustBeZero = a & b;
                        std::int32_t mustBeOne = ~a & ~b & allOnes_;
                        if (row < n / 2) {
                            const std::int32_t below = allOnes_ >> (row + 1);
                            const int placed = n - 1 - row;
                            // Without branches: a column holds N/2 ones or N/2 zeros, never
                            // both (fewer than N rows are placed).
                            for (int c = 0; c < n; ++c) {
                                const int ones = tables_.BitCount[ColumnBits[c] & below];
                                mustBeZero |= static_cast<std::int32_t>(ones == n / 2) << c;
                                mustBeOne |= static_cast<std::int32_t>(placed - ones == n / 2) << c;
                            }
                        }
                        maskRow = row;
                        useForced(mustBeZero, mustBeOne);
                    }
                    RowChoice[row] = nextAllowed(RowChoice[row]);
                }
                if (Row_Fits(row)) {
                    --row;
                    break;
                }
                if (*halt_)
                    break;
            }
            if (restart)
                break;
        }
        if (restart)
            continue;
        if (*halt_ || row != -1)
            return false;
        break;
    }

    for (int r = 0; r < n; ++r) {
        const std::int32_t v = (*bits_)[LineOrder[RowChoice[r]]];
        for (int c = 0; c < n; ++c)
            board[static_cast<std::size_t>(r) * n + (n - 1 - c)] = (v >> c) & 1;
    }
    return true;
}

} // namespace tl
