#pragma once
// Works the hint out off the user-interface thread, so that the window never
// waits for it: one search at a time, always for the position asked last.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

#include "solve/hint.h"

namespace morvane {

class HintWorker {
public:
    // A search for the hint from `position`; it should give up soon after
    // `cancel` is set (its answer is thrown away then).
    using Search = std::function<solver::Hint(const solver::Position& position, const std::atomic<bool>& cancel)>;
    // Called on the worker's thread with the answer for the position asked
    // with `ticket`; it should only pass the answer on.
    using Done = std::function<void(std::uint64_t ticket, solver::Hint hint)>;

    // The plain search: the hint's full budget of work.
    static solver::Hint full_search(const solver::Position& position, const std::atomic<bool>& cancel);

    explicit HintWorker(Done done, Search search = full_search);
    ~HintWorker();  // cancels the search under way and waits for its thread
    HintWorker(const HintWorker&) = delete;
    HintWorker& operator=(const HintWorker&) = delete;

    // Starts the search for `position` (the thread starts at the first one),
    // cancelling the one under way: only the last position asked is answered.
    void ask(const solver::Position& position, std::uint64_t ticket);
    // Cancels the search under way or waiting: no answer comes for it.
    void cancel();
    // The search for the next positions asked.
    void set_search(Search search);
    // Whether a position was ever asked: the thread, and the solver's
    // tables it fills, exist only from then on. (On the asking thread.)
    bool started() const { return thread_.joinable(); }

private:
    struct Job {
        solver::Position position;
        std::uint64_t ticket = 0;
    };
    void run();

    Done done_;
    std::mutex mutex_;
    std::condition_variable wake_;
    Search search_;
    std::optional<Job> waiting_;
    bool stopping_ = false;
    std::atomic<bool> cancel_{false};
    std::thread thread_;  // started last, stopped first
};

}  // namespace morvane
