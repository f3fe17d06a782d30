// The hint's thread without a window: which answers come back, which are
// dropped, and how an answer wanted early is handed over. Searches are held
// at a gate so that each race is played out on purpose, and the program is
// also built with ThreadSanitizer (hint_worker_tests_tsan), where every
// hand-over between the two threads is checked.

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

#include "app/hint_worker.h"

namespace morvane {
namespace {

using namespace std::chrono_literals;
using Verdict = solver::Hint::Verdict;

// Only against a hang: a sanitized build on a busy machine is slow.
constexpr auto kHangGuard = 120s;

// Waits until `ready()` holds, under `lock`'s mutex, or the guard runs out.
template <class Ready>
bool wait_for(std::condition_variable& changed, std::unique_lock<std::mutex>& lock, Ready ready) {
    return changed.wait_for(lock, kHangGuard, ready);
}

// Searches that wait at a gate until it opens or they are cancelled, then
// answer a click on the position's player cell (Undecided when cancelled).
struct Gate {
    std::mutex mutex;
    std::condition_variable changed;
    bool open = false;
    int started = 0;
    int cancelled = 0;

    HintWorker::Search search() {
        return [this](const solver::Position& position, const std::atomic<bool>& cancel) {
            std::unique_lock lock(mutex);
            ++started;
            changed.notify_all();
            while (!open && !cancel) changed.wait_for(lock, 1ms);
            if (cancel) {
                ++cancelled;
                changed.notify_all();
                return solver::Hint{Verdict::Undecided, 0};
            }
            return solver::Hint{Verdict::Click, position.player};
        };
    }
    void let_through() {
        const std::lock_guard lock(mutex);
        open = true;
        changed.notify_all();
    }
    bool wait_started(int count) {
        std::unique_lock lock(mutex);
        return wait_for(changed, lock, [&] { return started >= count; });
    }
};

// What the worker hands over to the asker, as the window's queued call would.
struct Told {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::pair<std::uint64_t, int>> answers;  // ticket, cell

    HintWorker::Done done() {
        return [this](std::uint64_t ticket, solver::Hint hint) {
            const std::lock_guard lock(mutex);
            answers.emplace_back(ticket, hint.cell);
            changed.notify_all();
        };
    }
    std::vector<std::pair<std::uint64_t, int>> wait_count(std::size_t count) {
        std::unique_lock lock(mutex);
        wait_for(changed, lock, [&] { return answers.size() >= count; });
        return answers;
    }
    std::vector<std::pair<std::uint64_t, int>> now() {
        const std::lock_guard lock(mutex);
        return answers;
    }
};

solver::Position with_player(int cell) { return solver::dealt_position({cell, 1, 2, 3, 4, 5, 6}); }

// Polls answer(ticket, false) until it comes, or the guard runs out.
std::optional<solver::Hint> await_answer(HintWorker& worker, std::uint64_t ticket) {
    const auto until = std::chrono::steady_clock::now() + kHangGuard;
    while (std::chrono::steady_clock::now() < until) {
        if (auto answer = worker.answer(ticket, false)) return answer;
        std::this_thread::sleep_for(1ms);
    }
    return std::nullopt;
}

TEST(HintWorker, OnlyTheLastPositionAskedIsAnswered) {
    Gate gate;
    Told told;
    HintWorker worker(told.done(), gate.search());
    EXPECT_FALSE(worker.started());  // no thread before the first ask
    worker.ask(with_player(9), 1);
    EXPECT_TRUE(worker.started());
    ASSERT_TRUE(gate.wait_started(1));
    // Two more asks while the first search runs: it is cancelled, the
    // second never searched, and only the third answered.
    worker.ask(with_player(10), 2);
    worker.ask(with_player(11), 3);
    EXPECT_EQ(worker.answer(1, true), std::nullopt);
    gate.let_through();
    const auto third = await_answer(worker, 3);
    ASSERT_TRUE(third);
    EXPECT_EQ(third->verdict, Verdict::Click);
    EXPECT_EQ(third->cell, 11);
    EXPECT_EQ(worker.answer(1, false), std::nullopt);
    EXPECT_EQ(worker.answer(2, false), std::nullopt);
    {
        // Every search but the last one was cancelled.
        const std::lock_guard lock(gate.mutex);
        EXPECT_GE(gate.cancelled, 1);
        EXPECT_EQ(gate.cancelled, gate.started - 1);
    }
    // Nobody waited for the third answer, and a ticket told before its
    // position was asked again is forgotten: nothing was handed over.
    EXPECT_TRUE(told.now().empty());
}

TEST(HintWorker, AnAnswerWantedEarlyIsHandedOverOnceAndKept) {
    Gate gate;
    Told told;
    HintWorker worker(told.done(), gate.search());
    worker.ask(with_player(15), 7);
    ASSERT_TRUE(gate.wait_started(1));
    EXPECT_EQ(worker.answer(7, true), std::nullopt);
    gate.let_through();
    EXPECT_EQ(told.wait_count(1), (std::vector<std::pair<std::uint64_t, int>>{{7, 15}}));
    // Kept for the asker, which takes it without another hand-over.
    const auto kept = worker.answer(7, true);
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->cell, 15);
    worker.ask(with_player(16), 8);
    ASSERT_TRUE(await_answer(worker, 8));
    EXPECT_EQ(told.now().size(), 1u);
    EXPECT_EQ(worker.answer(7, false), std::nullopt);  // the next ask drops it
}

TEST(HintWorker, CancelledOrClosedSearchesAnswerNothing) {
    Told told;
    {
        Gate gate;
        HintWorker worker(told.done(), gate.search());
        worker.ask(with_player(20), 1);
        ASSERT_TRUE(gate.wait_started(1));
        EXPECT_EQ(worker.answer(1, true), std::nullopt);
        worker.cancel();
        gate.let_through();
        // The next position is answered; the cancelled one never is, though
        // it was wanted.
        worker.ask(with_player(21), 2);
        const auto next = await_answer(worker, 2);
        ASSERT_TRUE(next);
        EXPECT_EQ(next->cell, 21);
        EXPECT_EQ(worker.answer(1, false), std::nullopt);
    }
    {
        // Closing while a search is held: the search is cancelled and the
        // worker's thread joins (a hang here would be a missed cancel).
        Gate gate;
        HintWorker worker(told.done(), gate.search());
        worker.ask(with_player(22), 1);
        ASSERT_TRUE(gate.wait_started(1));
        worker.answer(1, true);
    }
    EXPECT_TRUE(told.now().empty());
}

// Asks, cancels and early wants racing a quick search, many times over, as
// a player clicking fast would make them: the last ask is always answered,
// handed over once when wanted, and nothing stale comes through.
TEST(HintWorker, RacingAsksEndWithTheLastAnswer) {
    Told told;
    HintWorker worker(told.done(), [](const solver::Position& position, const std::atomic<bool>&) {
        return solver::Hint{Verdict::Click, position.player};
    });
    const auto cell_of = [](std::uint64_t ticket) { return 1 + int(ticket % 28); };
    std::uint64_t ticket = 0;
    for (int round = 0; round < 200; ++round) {
        ++ticket;
        worker.ask(with_player(cell_of(ticket)), ticket);
        if (round % 3 == 0) worker.cancel();
        if (round % 3 == 1) worker.answer(ticket, true);
        if (round % 7 == 0) std::this_thread::yield();
    }
    ++ticket;
    worker.ask(with_player(cell_of(ticket)), ticket);
    worker.answer(ticket, true);
    const auto last = await_answer(worker, ticket);
    ASSERT_TRUE(last);
    EXPECT_EQ(last->cell, cell_of(ticket));
    // Each answer handed over was for a ticket wanted early, with that
    // ticket's own cell, and handed over once.
    const auto handed = told.now();
    for (std::size_t i = 0; i < handed.size(); ++i) {
        EXPECT_EQ(handed[i].second, cell_of(handed[i].first)) << handed[i].first;
        if (i > 0) {
            EXPECT_GT(handed[i].first, handed[i - 1].first);
        }
    }
}

// The real search on real boards, asked in quick succession: the answer for
// the last one is the one this thread finds for it.
TEST(HintWorker, TheRealSearchAnswersAsOnTheAskingThread) {
    const std::array<std::array<int, 7>, 4> boards{{
        {9, 15, 21, 22, 24, 8, 9},
        {6, 1, 2, 1, 21, 26, 1},
        {24, 14, 7, 10, 21, 28, 22},
        {14, 17, 17, 20, 13, 24, 16},
    }};
    Told told;
    HintWorker worker(told.done());
    std::uint64_t ticket = 0;
    for (const auto& board : boards) {
        const solver::Position position = solver::dealt_position(board);
        for (const auto& earlier : boards) worker.ask(solver::dealt_position(earlier), ++ticket);
        worker.ask(position, ++ticket);
        const auto found = await_answer(worker, ticket);
        ASSERT_TRUE(found);
        const solver::Hint here = solver::hint_for(position);
        EXPECT_EQ(found->verdict, here.verdict);
        EXPECT_NE(found->verdict, Verdict::Undecided);
        if (here.verdict == Verdict::Click) {
            EXPECT_GE(found->cell, 1);
        }
    }
}

}  // namespace
}  // namespace morvane
