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
        found_.reset();
        told_ = 0;
        cancel_ = true;  // the search under way, if any, is stale
        if (!thread_.joinable()) thread_ = std::thread([this] { run(); });
    }
    wake_.notify_one();
}

std::optional<solver::Hint> HintWorker::answer(std::uint64_t ticket, bool tell) {
    const std::lock_guard lock(mutex_);
    if (found_ && found_->ticket == ticket) return found_->hint;
    if (tell) told_ = ticket;
    return std::nullopt;
}

void HintWorker::cancel() {
    const std::lock_guard lock(mutex_);
    waiting_.reset();
    found_.reset();
    told_ = 0;
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
        if (cancel_) continue;
        found_ = Found{job.ticket, hint};
        if (told_ == job.ticket) {
            told_ = 0;
            done_(job.ticket, hint);
        }
    }
}

}  // namespace morvane
