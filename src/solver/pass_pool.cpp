#include "solver/pass_pool.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <map>
#include <semaphore>

namespace tl {

namespace {

// How long a committer waits for a result before it lets window events run again.
constexpr auto kCommitterWait = std::chrono::milliseconds(2);
// How often a committer looks for the pool's lock while a worker holds it.
constexpr auto kLockPoll = std::chrono::microseconds(50);
// Work needed with a smaller chance than this is never started.
constexpr double kUnlikely = 0.1;

enum class Work { Waiting, Running, Done, Failed };

} // namespace

int AllCores()
{
    return std::max(1u, std::thread::hardware_concurrency());
}

struct PassPool::Board {
    Work state = Work::Waiting; // of the board search
    FullBoard full;
    std::array<Work, kPassesPerBoard> passes{};
    std::array<PassResult, kPassesPerBoard> results;
    std::atomic<bool> dropped{false}; // the committer is done with it
};

struct PassPool::Task {
    std::shared_ptr<Run> run;
    long index = 0;
    std::shared_ptr<Board> board;
    int pass = -1; // -1: the board search
};

// A worker's event pump: it has no window to serve, it only brings a stop of its run, or the
// dropping of the board it works on, into its solver's halt flag.
class StopPump : public EventPump {
public:
    RatingSolver *solver = nullptr;
    const std::atomic<bool> *stop = nullptr;
    const std::atomic<bool> *dropped = nullptr;
    void pumpEvents() override
    {
        if (stop->load(std::memory_order_relaxed) || dropped->load(std::memory_order_relaxed))
            solver->HaltGenerator = true;
    }
};

struct PassPool::Worker {
    explicit Worker(const LineTables &tables) : solver(tables, &pump), evaluator(solver)
    {
        pump.solver = &solver;
    }
    StopPump pump;
    RatingSolver solver;
    PassEvaluator evaluator;
    bool prepared = false;
    std::thread thread;
};

// A run's state, shared by its committer's source and the workers with a task of it: a worker
// still winding a stopped task down keeps it alive after the committer has left.
class PassPool::Run {
public:
    Run(PassPool &pool, const RunSpec &request)
        : pool_(pool), request(request), puzzlesLeft(request.puzzles) {}

    // The committer is gone: the run's tasks under way stop at their next step, no new one
    // begins, and a worker takes the run off the pool's list. Neither waits for a worker: a stop
    // then waits only for the piece of work the committer needed, never for the rest.
    void close()
    {
        stop = true;
        pool_.workCv_.notify_all();
    }

    const FullBoard *board(long index)
    {
        std::unique_lock lock = lockForCommitter();
        committerBoard = index;
        committerPass = 0;
        pool_.workCv_.notify_all();
        Board &b = *at(index);
        for (;;) {
            if (b.state == Work::Done)
                return &b.full;
            if (b.state == Work::Failed)
                return nullptr;
            if (haltSeen && b.state == Work::Waiting) {
                b.state = Work::Failed; // never begun: the stop came first
                return nullptr;
            }
            wait(lock);
        }
    }

    const PassResult *pass(long index, int pass)
    {
        std::unique_lock lock = lockForCommitter();
        committerBoard = index;
        committerPass = pass;
        pool_.workCv_.notify_all();
        Board &b = *at(index);
        for (;;) {
            if (b.passes[pass] == Work::Done)
                return &b.results[pass];
            if (haltSeen && b.passes[pass] == Work::Waiting) {
                b.passes[pass] = Work::Failed;
                return nullptr;
            }
            wait(lock);
        }
    }

    void finishBoard(long index, int passes, bool accepted)
    {
        std::unique_lock lock = lockForCommitter();
        committedPasses += passes;
        rejectedPasses += accepted ? passes - 1 : passes;
        if (accepted)
            --puzzlesLeft;
        auto it = boards.find(index);
        if (it != boards.end()) {
            it->second->dropped = true;
            boards.erase(it);
        }
        committerBoard = index + 1;
        committerPass = 0;
        pool_.workCv_.notify_all();
    }

    long evaluatedPasses() const { return evaluated; }

    // The chance that a pass is rejected, from the run's committed passes (one half to begin
    // with).
    double rejectChance() const
    {
        return (static_cast<double>(rejectedPasses) + 1) / (static_cast<double>(committedPasses) + 2);
    }

    // The board `index`, made (waiting) when it is new.
    const std::shared_ptr<Board> &at(long index)
    {
        auto &b = boards[index];
        if (!b)
            b = std::make_shared<Board>();
        return b;
    }

    PassPool &pool_;
    const RunSpec request;
    std::map<long, std::shared_ptr<Board>> boards; // from the committer's board on
    long committerBoard = 0;
    int committerPass = 0;
    long committedPasses = 0, rejectedPasses = 0;
    long puzzlesLeft;
    std::atomic<long> evaluated{0};
    bool haltSeen = false; // the committer's alone
    std::atomic<bool> stop{false};
    // Released by a worker each time it has finished a piece of the run's work: the committer
    // waits here, holding no lock.
    std::counting_semaphore<> progress{0};

private:
    // Lets window events run and looks at the halt flag.
    void pump()
    {
        if (request.pump)
            request.pump->pumpEvents();
        if (request.halt && *request.halt && !haltSeen) {
            haltSeen = true;
            stop = true;
        }
    }

    // The pool's lock for the committer. A worker holds it only for moments, but the system may
    // take the processor from a worker in such a moment and give it back only much later: the
    // committer, the window's own thread, then looks for the lock again every few microseconds
    // and keeps letting window events run meanwhile.
    std::unique_lock<std::mutex> lockForCommitter()
    {
        std::unique_lock lock(pool_.mutex_, std::defer_lock);
        if (!request.pump) {
            lock.lock();
            return lock;
        }
        auto pumped = std::chrono::steady_clock::now();
        while (!lock.try_lock()) {
            std::this_thread::sleep_for(kLockPoll);
            const auto now = std::chrono::steady_clock::now();
            if (now - pumped >= kCommitterWait) {
                pump();
                pumped = now;
            }
        }
        return lock;
    }

    // Waits, without the lock, a little for a worker, then lets window events run and looks at
    // the halt flag. Without an event pump nothing can set the halt flag meanwhile (it belongs
    // to the committer's thread), so the wait lasts until a worker has finished something.
    void wait(std::unique_lock<std::mutex> &lock)
    {
        lock.unlock();
        if (request.pump) {
            progress.try_acquire_for(kCommitterWait);
            pump();
        } else {
            progress.acquire();
        }
        lock = lockForCommitter();
    }
};

// The committer's side of a run; destroying it closes the run.
class PassPool::Source : public PassSource {
public:
    explicit Source(std::shared_ptr<Run> run) : run_(std::move(run)) {}
    ~Source() override { run_->close(); }
    const FullBoard *board(long board) override { return run_->board(board); }
    const PassResult *pass(long board, int pass) override { return run_->pass(board, pass); }
    void finishBoard(long board, int passes, bool accepted) override
    {
        run_->finishBoard(board, passes, accepted);
    }
    long evaluatedPasses() const override { return run_->evaluatedPasses(); }

private:
    std::shared_ptr<Run> run_;
};

PassPool::PassPool(const LineTables &tables, int workers)
{
    window_ = 2 * std::max(1, workers) + 2;
    for (int i = 0; i < std::max(1, workers); ++i)
        workers_.push_back(std::make_unique<Worker>(tables));
    for (auto &w : workers_)
        w->thread = std::thread([this, worker = w.get()] { work(*worker); });
}

PassPool::~PassPool()
{
    {
        std::lock_guard lock(mutex_);
        shutdown_ = true;
    }
    workCv_.notify_all();
    for (auto &w : workers_)
        w->thread.join();
}

std::unique_ptr<PassSource> PassPool::open(const RunSpec &request)
{
    auto run = std::make_shared<Run>(*this, request);
    {
        std::lock_guard lock(mutex_);
        runs_.push_back(run);
    }
    workCv_.notify_all();
    return std::make_unique<Source>(std::move(run));
}

bool PassPool::pickTask(Task &task)
{
    // The piece of work most likely to be needed; among equals the one a committer needs first.
    double best = kUnlikely;
    bool found = false;
    // A stopped run gets no more work; its committer and its tasks under way keep it alive.
    std::erase_if(runs_, [](const std::shared_ptr<Run> &run) { return run->stop.load(); });
    for (const std::shared_ptr<Run> &run : runs_) {
        const double reject = run->rejectChance();
        double boardFails = 1; // the chance that a board gives no puzzle: all 20 passes rejected
        for (int p = 0; p < kPassesPerBoard; ++p)
            boardFails *= reject;
        double boardChance = 1;
        for (long k = 0; k < window_; ++k) {
            const long index = run->committerBoard + k;
            // The run ends with its last puzzle: a board after as many boards as there are
            // puzzles left is needed only when enough of those give none.
            if (k >= run->puzzlesLeft)
                boardChance *= boardFails;
            if (boardChance <= best)
                break;
            const std::shared_ptr<Board> &b = run->at(index);
            if (b->state == Work::Waiting) {
                task = Task{run, index, b, -1};
                best = boardChance;
                found = true;
                continue;
            }
            if (b->state != Work::Done)
                continue;
            // The first pass not yet taken; those after it are needed less often.
            const int base = k == 0 ? run->committerPass : 0;
            double chance = boardChance;
            for (int p = base; p < kPassesPerBoard && chance > best; ++p, chance *= reject) {
                if (b->passes[p] != Work::Waiting)
                    continue;
                task = Task{run, index, b, p};
                best = chance;
                found = true;
                break;
            }
        }
    }
    return found;
}

void PassPool::work(Worker &w)
{
    std::unique_lock lock(mutex_);
    for (;;) {
        Task task;
        if (shutdown_)
            return;
        if (!pickTask(task)) {
            workCv_.wait(lock);
            continue;
        }
        Run &run = *task.run;
        Board &b = *task.board;
        if (task.pass < 0)
            b.state = Work::Running;
        else
            b.passes[task.pass] = Work::Running;
        lock.unlock();

        if (!w.prepared || w.evaluator.level() != run.request.level ||
            w.evaluator.sizeIndex() != run.request.sizeIndex) {
            w.evaluator.prepare(run.request.level, run.request.sizeIndex);
            w.prepared = true;
        }
        w.evaluator.solve = run.request.solve;
        w.pump.stop = &run.stop;
        w.pump.dropped = &b.dropped;
        w.solver.HaltGenerator = false;
        FullBoard full;
        PassResult result;
        bool built = false;
        if (task.pass < 0)
            built = w.evaluator.buildBoard(run.request.seed, task.index, full);
        else
            w.evaluator.runPass(run.request.seed, task.index, task.pass, b.full, result);
        w.evaluator.solve = nullptr; // what the run's solve holds goes with the run

        lock.lock();
        if (task.pass < 0) {
            b.full = std::move(full);
            b.state = built ? Work::Done : Work::Failed;
        } else {
            b.results[task.pass] = std::move(result);
            b.passes[task.pass] = Work::Done;
            ++run.evaluated;
        }
        run.progress.release();
        if (task.pass < 0)
            workCv_.notify_all(); // its passes can begin
    }
}

} // namespace tl
