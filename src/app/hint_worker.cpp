#include "app/hint_worker.h"

#include <utility>

namespace morvane {

solver::Hint HintWorker::full_search(const solver::Position& position, const std::atomic<bool>& cancel) {
    return solver::hint_for(position, solver::kHintWork, &cancel);
}

HintWorker::HintWorker(Done done, Search search) : done_(std::move(done)), search_(std::move(search)) {}

HintWorker::~HintWorker() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
        waiting_.reset();
        cancel_ = true;
    }
    wake_.notify_one();
    if (thread_.joinable()) thread_.join();
}

void HintWorker::ask(const solver::Position& position, std::uint64_t ticket) {
    {
        const std::lock_guard lock(mutex_);
        if (stopping_) return;
        waiting_ = Job{position, ticket};
        cancel_ = true;  // the search under way, if any, is stale
        if (!thread_.joinable()) thread_ = std::thread([this] { run(); });
    }
    wake_.notify_one();
}

void HintWorker::cancel() {
    const std::lock_guard lock(mutex_);
    waiting_.reset();
    cancel_ = true;
}

void HintWorker::set_search(Search search) {
    const std::lock_guard lock(mutex_);
    search_ = std::move(search);
}

void HintWorker::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || waiting_; });
        if (stopping_) return;
        const Job job = *std::exchange(waiting_, std::nullopt);
        cancel_ = false;  // under the lock: a later ask or cancel sets it again
        const Search search = search_;
        lock.unlock();
        const solver::Hint hint = search(job.position, cancel_);
        lock.lock();
        // Under the lock, so nothing cancelled is answered after cancel()
        // or ask() has returned.
        if (!cancel_) done_(job.ticket, hint);
    }
}

}  // namespace morvane
