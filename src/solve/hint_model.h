#pragma once
// When the hint key may hint, what it shows, and which search it waits for:
// everything about the hint but the thread it is searched on and how it is
// drawn. Whenever the board is shown the front end calls think_ahead(), so
// the search starts as soon as a board is in play; H calls press().

#include <cstdint>
#include <optional>
#include <string>

#include "solve/hint.h"

namespace morvane {
class Morvane1;
}

namespace morvane::solver {

// Where searches for hints are run (a thread, in the window).
class HintSource {
public:
    virtual ~HintSource() = default;
    // Starts the search for `position`; only the last one asked is answered.
    virtual void ask(const Position& position, std::uint64_t ticket) = 0;
    // Cancels the search under way: no answer comes for it.
    virtual void cancel() = 0;
    // The answer for `ticket` once found. With `tell`, when it is not found
    // yet, it is handed to HintModel::found() as soon as it is.
    virtual std::optional<Hint> answer(std::uint64_t ticket, bool tell) = 0;
};

// What the front end shows for the hint.
struct HintShown {
    enum class Kind { Mark, Note };
    Kind kind = Kind::Note;
    int cell = 0;      // Mark: the cell to mark
    std::string text;  // what it says (the note, or what the mark means)
};

// A board is in play exactly when some cell is a legal target.
bool in_play(const Morvane1& game);

class HintModel {
public:
    explicit HintModel(HintSource& source) : source_(source) {}

    // H was pressed: what to show now, or nullopt when the answer is still
    // being worked out (found() gives it then).
    std::optional<HintShown> press(const Morvane1& game);
    // The board as it stands now: asks for its hint, unless that is known
    // already (the same board, or the next one along a known answer);
    // drops the search when no board is in play.
    void think_ahead(const Morvane1& game);
    // The source's answer for `ticket`: what to show when H waits for it.
    std::optional<HintShown> found(std::uint64_t ticket, const Hint& hint, const Morvane1& game);
    // Drops the search and its answer.
    void forget();
    // H no longer waits (the player did something else).
    void stop_waiting() { waiting_ = false; }
    bool waiting() const { return waiting_; }

    // Something about the hint is shown for `game`'s board; still_about()
    // tells whether the board is the same.
    void shown_for(const Morvane1& game) { shown_board_ = key(game); }
    bool still_about(const Morvane1& game) const { return key(game) == shown_board_; }

    // What a hint depends on: code entry, the cells and the code.
    static std::string key(const Morvane1& game);

private:
    HintShown shown(const Hint& hint, const Morvane1& game);

    HintSource& source_;
    std::string asked_board_;   // the board the latest search is for
    Position asked_position_;   // the same, as the solver reads it
    std::uint64_t ticket_ = 0;  // tells that search's answer from older ones
    std::optional<Hint> answer_;
    bool waiting_ = false;
    std::string shown_board_;
};

}  // namespace morvane::solver
