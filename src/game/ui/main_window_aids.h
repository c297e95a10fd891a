// The parts of the game window that serve the solving aids' coupler marks and generation runs.
// Included by the window's own source files so that Main can own them.
#pragma once

#include "game/ui/coupler_widgets.h"
#include "game/ui/main_window.h"
#include "solver/generator.h"
#include "solver/pass_pool.h"
#include "solver/solver.h"

#include <QProgressBar>

#include <memory>

namespace tl {

// The window's side of a generation run: the generator reaches the progress label, the progress
// bar, the Stop button and the stock only through this.
class MainGeneratorHost : public GeneratorHost {
public:
    explicit MainGeneratorHost(Main &main) : main_(main) {}
    MessageBoxService &messages() override { return main_.platform_.messages; }
    SettingsStore &settings() override { return main_.platform_.settings; }
    void setProgressCaption(const std::string &caption) override
    {
        main_.model_.lblProgress = caption;
        main_.Refresh();
    }
    void setProgressMaximum(int maximum) override { main_.ProgressBar1->setMaximum(maximum); }
    void setProgressValue(int value) override
    {
        main_.model_.ProgressValue = value;
        main_.ProgressBar1->setValue(value);
    }
    void setHaltEnabled(bool enabled) override
    {
        main_.model_.setEnabled(Command::HaltGenerator, enabled);
        main_.Refresh();
    }
    void storePuzzles(std::int16_t level, std::int16_t sizeIndex, std::int16_t fromNr,
                      std::int16_t toNr, const PuzzleRecord *records) override
    {
        for (int n = fromNr; n <= toNr; ++n)
            main_.puzzles_.at(level, sizeIndex, n) = records[n - fromNr];
        Save_Stock_Range(main_.stockContext(), level, sizeIndex, fromNr, toNr);
    }
    std::uint64_t runSeed() override { return main_.platform_.random.next(); }

private:
    Main &main_;
};


struct Main::AidsParts {
    explicit AidsParts(Main &main)
        : solver(main.lineTables_, &main.platform_.pump), host(main),
          generator(solver, main.thresholds_, host),
          couplerWidgets(main.model_.Couplers, main.centralWidget())
    {
    }
    RatingSolver solver;
    MainGeneratorHost host;
    Generator generator;
    CouplerWidgets couplerWidgets;
    // The workers of every generation run of the window, started with the first run. Kept
    // between runs so that the end of a run, a stopped one above all, never waits for threads
    // to end.
    std::unique_ptr<PassPool> pool;
};


} // namespace tl
