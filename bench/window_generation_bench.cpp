// Generation through the game window: Generate > Insane > 14 X 14 picked on a started window
// whose event pump and clock are the Qt ones the game uses (message boxes, settings and folders
// are fakes: every question is answered Yes, the stock is a test stock in a temporary folder).
// Reports the wall time of the whole menu handler, the processor time it used (in cores), and
// the longest gap between two calls of the event pump, which lets window events run at most
// every 15 ms; and, with Stop pressed a while into the run, the time from the Stop click to the
// end of the handler and the longest gap between pumps over all the runs.
#include "game/ui/main_window.h"
#include "platform/fake/fakes.h"
#include "platform/qt/qt_services.h"
#include "support/make_test_stock.h"
#include "support/temp_dir.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

namespace {

using namespace tl;
using Clock = std::chrono::steady_clock;

QApplication &App()
{
    static int argc = 1;
    static char name[] = "tilloran_bench";
    static char *argv[] = {name, nullptr};
    static QApplication *app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    return *app;
}

double CpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// The game's event pump, timed: the gaps between the run's calls, and a hook for pressing Stop.
class TimedPump : public EventPump {
public:
    explicit TimedPump(ClockService &clock) : inner_(clock) {}
    void pumpEvents() override
    {
        const auto now = Clock::now();
        if (last_ != Clock::time_point{})
            maxGap = std::max(maxGap, std::chrono::duration<double, std::milli>(now - last_).count());
        last_ = now;
        inner_.pumpEvents();
        if (onPump)
            onPump();
    }
    double maxGap = 0;
    std::function<void()> onPump;

private:
    QtEventPump inner_;
    Clock::time_point last_{};
};

struct Window {
    FakePlatform fake;
    QtClock clock;
    TimedPump pump{clock};
    Platform services{fake.messages, fake.input, fake.settings, fake.folders, fake.sound,
                      clock,         pump,       fake.random,   fake.browser, fake.printer};
    test::TempDir programDir, localDir;
    std::unique_ptr<Main> main;

    Window()
    {
        App();
        fake.folders.program = programDir.path().substr(0, programDir.path().size() - 1);
        fake.folders.localAppData = localDir.path().substr(0, localDir.path().size() - 1);
        test::WriteTestStockFile(programDir / "DudEzadu.qzk");
        main = std::make_unique<Main>(services);
        main->endProgram = [](int) {};
        main->Form_Load();
        main->show();
        // In the game the window is on the screen before a Generate item can be picked: its
        // first painting (the fonts' set-up included) belongs to the start, not to the run.
        QCoreApplication::processEvents();
    }
};

void BM_WindowGeneratesInsane14(benchmark::State &state)
{
    for (auto _ : state) {
        Window w;
        const double cpu0 = CpuSeconds();
        const auto t0 = Clock::now();
        w.main->mnu_puzzle_gen_Click(3, 3);
        const double wall = std::chrono::duration<double>(Clock::now() - t0).count();
        state.SetIterationTime(wall);
        state.counters["cores_used"] = (CpuSeconds() - cpu0) / wall;
        state.counters["max_pump_gap_ms"] = w.pump.maxGap;
    }
}

void BM_WindowStopToEndOfRun(benchmark::State &state)
{
    const auto delay = std::chrono::milliseconds(state.range(0));
    std::vector<double> ms;
    double maxGap = 0;
    for (auto _ : state) {
        Window w;
        const auto t0 = Clock::now();
        Clock::time_point stop{};
        w.pump.onPump = [&] {
            if (stop == Clock::time_point{} && Clock::now() - t0 >= delay) {
                stop = Clock::now();
                w.main->cmdHaltGenerator_Click(); // the question is answered Yes
            }
        };
        w.main->mnu_puzzle_gen_Click(3, 3);
        const double t = std::chrono::duration<double>(Clock::now() - stop).count();
        ms.push_back(t * 1000);
        maxGap = std::max(maxGap, w.pump.maxGap);
        state.SetIterationTime(t);
    }
    std::sort(ms.begin(), ms.end());
    state.counters["median_ms"] = ms[ms.size() / 2];
    state.counters["p99_ms"] = ms[std::min(ms.size() - 1, ms.size() * 99 / 100)];
    state.counters["max_ms"] = ms.back();
    state.counters["max_pump_gap_ms"] = maxGap;
}

BENCHMARK(BM_WindowGeneratesInsane14)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowStopToEndOfRun)->Arg(500)->Iterations(30)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
