// Every cell a level-0 or level-1 deduction writes must hold that value in every completion of
// the board, as counted by the independent brute-force counter.
#include "solver/solver.h"
#include "support/brute_force.h"
#include "support/solver_boards.h"

#include <gtest/gtest.h>

using namespace tl;

namespace {

using Finder = bool (*)(const OrientedGrid &, Deduction &);

bool byValidLines(const OrientedGrid &g, Deduction &d)
{
    return FindUncoveredByValidLines(g, SharedLineTables(), d);
}

const std::pair<const char *, Finder> kFinders[] = {
    {"Bordering", FindBordering},
    {"Centering", FindCentering},
    {"OneKindLeft", FindOneKindLeft},
    {"UncoveredByCounting", FindUncoveredByCounting},
    {"UncoveredByValidLines", byValidLines},
    {"AvoidableDuplicates", FindAvoidableDuplicates},
};

// A random solved board of side n with a random share of its cells emptied, whose completions
// the brute-force counter can list completely.
struct RandomPuzzle {
    std::vector<std::int32_t> solution, clues;
    brute::Completions completions;
};

RandomPuzzle makePuzzle(int n, std::mt19937_64 &rng)
{
    const double most = n <= 10 ? 0.65 : n == 12 ? 0.55 : 0.48;
    std::uniform_real_distribution<double> share(0.25, most), unit(0.0, 1.0);
    for (;;) {
        RandomPuzzle p;
        p.solution = brute::RandomSolution(n, rng);
        p.clues = p.solution;
        const double f = share(rng);
        for (auto &c : p.clues)
            if (unit(rng) < f)
                c = -1;
        p.completions = brute::Analyse(n, p.clues, 3000);
        if (p.completions.exhaustive)
            return p;
    }
}

// Checks one deduction made on `before`: it decides empty cells only, and each value it writes
// is the value of that cell in every completion.
void expectSound(const Deduction &d, const std::vector<std::int32_t> &before,
                 const brute::Completions &all, int n, const std::string &what)
{
    ASSERT_GT(d.count, 0) << what;
    for (int k = 0; k < d.count; ++k) {
        const int cell = d.cells[k];
        const int value = d.values[k];
        ASSERT_EQ(before[cell], -1) << what << " wrote a filled cell " << cell << "\n"
                                    << testboards::Show(before, n);
        EXPECT_EQ(all.seen[cell], 1u << value)
            << what << " set cell " << cell << " to " << value << " on\n"
            << testboards::Show(before, n);
    }
}

} // namespace

// Each finder on its own, on the clue grid as drawn (so finders are tried on boards where an
// easier technique would normally have come first).
class SolverSoundness : public ::testing::TestWithParam<int> {};

INSTANTIATE_TEST_SUITE_P(Sizes, SolverSoundness, ::testing::Values(8, 10, 12, 14),
                         [](const auto &info) { return "N" + std::to_string(info.param); });

// Fewer boards for the larger sizes keep each test within a second or two.
static int roundsFor(int n)
{
    return n == 8 ? 400 : n == 10 ? 300 : n == 12 ? 100 : 60;
}

TEST_P(SolverSoundness, EveryFinderOnRandomBoards)
{
    const int n = GetParam();
    std::mt19937_64 rng(20240611 + n);
    {
        int made[6] = {};
        for (int round = 0; round < roundsFor(n); ++round) {
            const RandomPuzzle p = makePuzzle(n, rng);
            const GridView view{p.clues.data(), n};
            for (int f = 0; f < 6; ++f) {
                for (Orientation o : {Orientation::Rows, Orientation::Columns}) {
                    Deduction d;
                    if (kFinders[f].second(OrientedGrid(view, o), d)) {
                        ++made[f];
                        expectSound(d, p.clues, p.completions, n, kFinders[f].first);
                    }
                }
            }
        }
        for (int f = 0; f < 6; ++f)
            EXPECT_GT(made[f], 0) << kFinders[f].first << " never applied at N = " << n;
    }
}

// The solver's own chain, deduction by deduction, from the clue grid to the end of the solve.
TEST_P(SolverSoundness, StepChainOnRandomBoards)
{
    const int n = GetParam();
    std::mt19937_64 rng(99 + n);
    RatingSolver solver(SharedLineTables());
    {
        int deductions = 0, multiCell = 0, solved = 0;
        for (int round = 0; round < roundsFor(n); ++round) {
            const RandomPuzzle p = makePuzzle(n, rng);
            testboards::Load(solver, p.clues, n, 1);
            solver.WorkGrid = p.clues;
            for (;;) {
                const std::vector<std::int32_t> before = solver.WorkGrid;
                if (!solver.Solve_Step_Basic())
                    break;
                int changed = 0;
                for (int i = 0; i < n * n; ++i) {
                    if (solver.WorkGrid[i] == before[i])
                        continue;
                    ++changed;
                    ASSERT_EQ(before[i], -1) << solver.TechniqueName;
                    ASSERT_EQ(p.completions.seen[i], 1u << solver.WorkGrid[i])
                        << solver.TechniqueName << " set cell " << i << " to " << solver.WorkGrid[i]
                        << " on\n" << testboards::Show(before, n);
                }
                ASSERT_GT(changed, 0) << solver.TechniqueName;
                ++deductions;
                multiCell += changed > 1;
            }
            if (std::find(solver.WorkGrid.begin(), solver.WorkGrid.end(), -1) == solver.WorkGrid.end()) {
                ++solved;
                EXPECT_EQ(solver.WorkGrid, p.solution);
            }
        }
        EXPECT_GT(deductions, 0);
        if (n > 8) { // multi-cell deductions are rare on small random boards
            EXPECT_GT(multiCell, 0) << "no multi-cell deduction at N = " << n;
        }
        EXPECT_GT(solved, 0) << "no board solved at N = " << n;
    }
}

// The counting form and the valid-line form of Uncovered cell(s) look at one line only, so
// they must agree with every valid line that fits it: checked for every partial line of 8 and
// 10 cells, as a row and as a column.
TEST(SolverLineSoundness, UncoveredFormsOnEveryPartialLineOfEightAndTen)
{
    for (int n : {8, 10}) {
        int total = 1;
        for (int p = 0; p < n; ++p)
            total *= 3;
        int counted = 0, byLines = 0;
        std::vector<std::int32_t> grid(static_cast<std::size_t>(n) * n, -1);
        for (int code = 0; code < total; ++code) {
            std::vector<std::int32_t> line(n);
            for (int p = 0, c = code; p < n; ++p, c /= 3)
                line[p] = c % 3 - 1;
            const std::vector<std::uint32_t> fitting = brute::LinesFitting(n, line);
            for (Orientation o : {Orientation::Rows, Orientation::Columns}) {
                // The line is row 3 (or column 3) of an otherwise empty board.
                std::fill(grid.begin(), grid.end(), -1);
                const OrientedGrid g(GridView{grid.data(), n}, o);
                for (int p = 0; p < n; ++p)
                    grid[g.index(3, p)] = line[p];
                for (int form = 0; form < 2; ++form) {
                    Deduction d;
                    const bool found = form == 0
                        ? ExamineLineByCounting(g, 3, d)
                        : ExamineLineByValidLines(g, 3, SharedLineTables(), d);
                    if (!found)
                        continue;
                    (form == 0 ? counted : byLines)++;
                    if (fitting.empty())
                        continue; // a line that already breaks the rules
                    for (int k = 0; k < d.count; ++k) {
                        const int p = g.posOf(d.cells[k]);
                        ASSERT_EQ(g.lineOf(d.cells[k]), 3);
                        ASSERT_EQ(line[p], -1);
                        for (const std::uint32_t v : fitting)
                            ASSERT_EQ(static_cast<int>((v >> p) & 1u), d.values[k])
                                << (form == 0 ? "counting" : "valid lines") << " form, n = " << n
                                << ", line code " << code << ", position " << p;
                    }
                }
            }
        }
        EXPECT_GT(counted, 100);
        EXPECT_GT(byLines, 100);
    }
}
