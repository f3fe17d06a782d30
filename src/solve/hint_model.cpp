#include "solve/hint_model.h"

#include <algorithm>
#include <utility>

#include "game/morvane1.h"

namespace morvane::solver {

bool in_play(const Morvane1& game) {
    return std::any_of(game.Square.begin(), game.Square.end(),
                       [](const Cell& cell) { return cell.pointer == kPointerArrow; });
}

std::string HintModel::key(const Morvane1& game) {
    std::string key(game.code_entry_on() ? "entry " : "play ");
    for (const Cell& cell : game.Square)
        key += std::to_string(cell.shown) + std::to_string(static_cast<int>(cell.picture)) + ' ';
    for (const TextBox& box : game.CODE) key += box.text + '\n';
    return key;
}

std::optional<HintShown> HintModel::press(const Morvane1& game) {
    waiting_ = false;
    if (game.code_entry_on()) {
        shown_for(game);
        return HintShown{HintShown::Kind::Note, 0, "Press OK first: hints need a board in play."};
    }
    if (!in_play(game)) {
        shown_for(game);
        return HintShown{HintShown::Kind::Note, 0, "Deal or set up a board first."};
    }
    think_ahead(game);  // the board may have changed without being shown yet
    if (!answer_) answer_ = source_.answer(ticket_, true);
    if (answer_) return shown(*answer_, game);
    waiting_ = true;
    return std::nullopt;
}

void HintModel::think_ahead(const Morvane1& game) {
    if (game.code_entry_on() || !in_play(game)) {
        if (!asked_board_.empty()) forget();
        return;
    }
    std::string board = key(game);
    if (board == asked_board_) return;
    Position now = position_of(game);
    // After a click on a board that can no longer be won, or on the next
    // cell of the winning line the answer gave, the answer is known: no
    // search, and no waking of the search.
    if (!answer_ && !asked_board_.empty()) answer_ = source_.answer(ticket_, false);
    if (answer_)
        if (const auto known = hint_after(asked_position_, *answer_, now)) {
            asked_board_ = std::move(board);
            asked_position_ = std::move(now);
            answer_ = known;
            return;
        }
    forget();
    asked_board_ = std::move(board);
    asked_position_ = now;
    source_.ask(now, ++ticket_);
}

std::optional<HintShown> HintModel::found(std::uint64_t ticket, const Hint& hint, const Morvane1& game) {
    // An answer for a board left since is never shown.
    if (ticket != ticket_ || asked_board_.empty() || key(game) != asked_board_) return std::nullopt;
    answer_ = hint;
    if (!waiting_) return std::nullopt;
    return shown(hint, game);
}

void HintModel::forget() {
    source_.cancel();
    asked_board_.clear();
    answer_.reset();
    waiting_ = false;
}

HintShown HintModel::shown(const Hint& hint, const Morvane1& game) {
    waiting_ = false;
    shown_for(game);
    switch (hint.verdict) {
        case Hint::Verdict::Click:
            return {HintShown::Kind::Mark, hint.cell, "Hint: cell " + std::to_string(hint.cell) + "."};
        case Hint::Verdict::NoWin:
            return {HintShown::Kind::Note, 0, "No way to solve the board is left from here.\nReset tries it again."};
        case Hint::Verdict::Undecided: break;
    }
    return {HintShown::Kind::Note, 0, "This board is too tangled for a quick hint."};
}

}  // namespace morvane::solver
