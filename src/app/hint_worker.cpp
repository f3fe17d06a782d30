#include "app/hint_worker.h"

#include <utility>

#include <pthread.h>
#include <sched.h>

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
        if (idle_) keep_beside_asker();
    }
    wake_.notify_one();
}

void HintWorker::keep_beside_asker() {
    // Waking a thread that sleeps on another processor interrupts that one,
    // which on a virtual machine whose other processor idles costs the
    // asker more than the rest of a click; woken on the
    // asker's own processor it is only queued there. As a batch thread it
    // then waits for the asker to be done (the window, at the end of the
    // click), and the asker's processor stays its own until the asker moves.
    const int cpu = sched_getcpu();
    if (cpu < 0 || cpu == cpu_) return;
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(cpu, &one);
    if (pthread_setaffinity_np(thread_.native_handle(), sizeof one, &one) == 0) cpu_ = cpu;
}

std::optional<solver::Hint> HintWorker::answer(std::uint64_t ticket) {
    const std::lock_guard lock(mutex_);
    if (found_ && found_->ticket == ticket) return found_->hint;
    return std::nullopt;
}

std::optional<solver::Hint> HintWorker::answer_or_tell(std::uint64_t ticket) {
    const std::lock_guard lock(mutex_);
    if (found_ && found_->ticket == ticket) return found_->hint;
    told_ = ticket;
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
    // A search in the background: woken by a move, it takes its turn on the
    // processor without pushing aside the thread that woke it (the window's,
    // still painting the move), and with the same share of it as any.
    sched_param plain{};
    pthread_setschedparam(pthread_self(), SCHED_BATCH, &plain);
    std::unique_lock lock(mutex_);
    for (;;) {
        idle_ = true;
        wake_.wait(lock, [this] { return stopping_ || waiting_; });
        idle_ = false;
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
