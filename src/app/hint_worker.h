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
#include "solve/hint_model.h"

namespace morvane {

class HintWorker final : public solver::HintSource {
public:
    // A search for the hint from `position`; it should give up soon after
    // `cancel` is set (its answer is thrown away then).
    using Search = std::function<solver::Hint(const solver::Position& position, const std::atomic<bool>& cancel)>;
    // Called on the worker's thread with the answer for the position asked
    // with `ticket`, when it was wanted before it was found (see
    // answer(ticket, true)); it should only pass the answer on.
    using Done = std::function<void(std::uint64_t ticket, solver::Hint hint)>;

    // The plain search: the hint's full budget of work.
    static solver::Hint full_search(const solver::Position& position, const std::atomic<bool>& cancel);

    explicit HintWorker(Done done, Search search = full_search);
    ~HintWorker();  // cancels the search under way and waits for its thread
    HintWorker(const HintWorker&) = delete;
    HintWorker& operator=(const HintWorker&) = delete;

    // Starts the search for `position` (the thread starts at the first one),
    // cancelling the one under way: only the last position asked is answered.
    void ask(const solver::Position& position, std::uint64_t ticket) override;
    // The answer for the position asked with `ticket`, once found; it is
    // kept until the next ask or cancel, so that nothing needs to be sent
    // to the asking thread for answers nobody waits for. With `tell`, when
    // it is not found yet, `done` is called with it as soon as it is.
    std::optional<solver::Hint> answer(std::uint64_t ticket, bool tell) override;
    // Cancels the search under way or waiting: no answer comes for it.
    void cancel() override;
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
    struct Found {
        std::uint64_t ticket = 0;
        solver::Hint hint;
    };
    std::optional<Found> found_;  // the answer to the last ask, once found
    std::uint64_t told_ = 0;      // the ticket whose answer goes to `done`, 0 for none
    bool stopping_ = false;
    std::atomic<bool> cancel_{false};
    std::thread thread_;  // started last, stopped first
};

}  // namespace morvane
