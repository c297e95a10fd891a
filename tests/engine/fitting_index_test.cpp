// The index of the valid lines that fit a partial line, built with the line tables: every copy
// of the tables reaches it, and the searches that use it answer as a scan of the whole table.
#include "solver/line_scan.h"
#include "solver/upper_finders.h"
#include "support/brute_force.h"
#include "support/solver_boards.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <vector>

using namespace tl;
using testboards::RandomGrid;

// The valid-line searches meet only the lines that fit, found through the index the tables are
// built with; tables without one (here a copy whose index is cleared) scan the whole table.
// Both must give the same answers on grids sparse and dense, keeping the rules or breaking
// them, and holding values other than -1, 0 and 1. Tables built by Init_Line_Tables into an
// object of their own, as the game window builds them, take the indexed path as the shared
// ones do; a copy given other lines, or whose code table was cut short, takes the scan.
TEST(FittingIndex, ValidLineSearchesMatchTheScanOfTheWholeTable)
{
    const LineTables &shared = SharedLineTables();
    LineTables window;
    GeneratorThresholds unused;
    Init_Line_Tables(window, unused);
    LineTables scan = shared;
    scan.Fitting = {};
    LineTables fewer = window;
    fewer.LineBits12.resize(20);
    fewer.LineCodes12.resize(20);
    LineTables fewerCodes = window;
    fewerCodes.LineCodes10.resize(fewerCodes.LineCodes10.size() - 1);
    for (int n : {8, 10, 12, 14}) {
        ASSERT_NE(window.fittingIndex(n), nullptr) << n;
        EXPECT_EQ(ValidLinesOf(window, n).index, window.fittingIndex(n)) << n;
        EXPECT_EQ(ValidLinesOf(LineTables(window), n).index, window.fittingIndex(n)) << n;
        EXPECT_EQ(scan.fittingIndex(n), nullptr) << n;
    }
    EXPECT_EQ(fewer.fittingIndex(12), nullptr);
    EXPECT_NE(fewer.fittingIndex(14), nullptr);
    EXPECT_EQ(fewerCodes.fittingIndex(10), nullptr);
    EXPECT_NE(fewerCodes.fittingIndex(8), nullptr);
    const std::array<const LineTables *, 2> indexedTables{&shared, &window};

    const auto expectSame = [](const Deduction &a, const Deduction &b) {
        ASSERT_EQ(a.count, b.count);
        for (int k = 0; k < a.count; ++k) {
            EXPECT_EQ(a.cells[k], b.cells[k]);
            EXPECT_EQ(a.values[k], b.values[k]);
        }
        EXPECT_EQ(a.otherLine, b.otherLine);
    };
    std::mt19937_64 rng(11);
    std::uniform_int_distribution<int> percent(0, 99);
    int deduced = 0, couples = 0, forcing = 0;
    for (int n : {8, 10, 12, 14}) {
        std::vector<std::int32_t> full;
        for (int round = 0; round < 300; ++round) {
            if (round % 10 == 0)
                full = brute::RandomSolution(n, rng);
            auto g = RandomGrid(full, rng, 20 + round % 8 * 10, round % 3 == 0);
            if (round % 11 == 0)
                g[percent(rng) % (n * n)] = 2;
            if (round % 2 == 1) {
                // Nearly full, with one row a copy of another but for a few empty cells: the
                // grids where a forcing cell avoids a duplicate.
                g = RandomGrid(full, rng, 8, false);
                const int from = percent(rng) % n, to = (from + 1 + percent(rng) % (n - 1)) % n;
                for (int c = 0; c < n; ++c)
                    g[to * n + c] = percent(rng) < 25 ? -1 : full[from * n + c];
            }
            const GridView view{g.data(), n};
            for (Orientation o : {Orientation::Rows, Orientation::Columns}) {
                const OrientedGrid og(view, o);
                for (int line = 0; line < n; ++line) {
                    Deduction scanned;
                    const bool found = ExamineLineByValidLines(og, line, scan, scanned);
                    for (const LineTables *indexed : indexedTables) {
                        Deduction d;
                        ASSERT_EQ(found, ExamineLineByValidLines(og, line, *indexed, d))
                            << "n " << n << " line " << line << "\n" << testboards::Show(g, n);
                        if (found)
                            expectSame(d, scanned);
                    }
                    deduced += found;
                }
                // The two forms of Avoidable Duplicates with forcing cell collect the lines
                // that fit a line through the index too.
                for (auto finder : {FindAvoidableForcingCell1, FindAvoidableForcingCell2}) {
                    Deduction scanned;
                    const bool found = finder(og, scan, scanned);
                    for (const LineTables *indexed : indexedTables) {
                        Deduction d;
                        ASSERT_EQ(found, finder(og, *indexed, d)) << "n " << n << "\n" << testboards::Show(g, n);
                        if (found)
                            expectSame(d, scanned);
                    }
                    forcing += found;
                }
            }
            CoupleTables scanned;
            BuildCouples(view, scan, scanned);
            for (const LineTables *indexed : indexedTables) {
                CoupleTables t;
                BuildCouples(view, *indexed, t);
                for (int k = 0; k < n; ++k) {
                    for (int p = 0; p < n; ++p) {
                        ASSERT_EQ(t.RowPartner[k][p], scanned.RowPartner[k][p]) << testboards::Show(g, n);
                        ASSERT_EQ(t.ColPartner[k][p], scanned.ColPartner[k][p]) << testboards::Show(g, n);
                    }
                    ASSERT_EQ(t.RowCouples[k], scanned.RowCouples[k]);
                    ASSERT_EQ(t.ColCouples[k], scanned.ColCouples[k]);
                }
            }
            for (int k = 0; k < n; ++k)
                couples += scanned.RowCouples[k];
        }
    }
    EXPECT_GT(deduced, 1000);
    EXPECT_GT(couples, 1000);
    EXPECT_GT(forcing, 100) << forcing;
}
