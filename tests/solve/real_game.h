#pragma once
// The real game as the solver's tests use it: a window whose events are
// recorded, boards set up the way the game sets them up, solutions
// replayed click by click, and a deliberately simple exhaustive search that
// plays every line on copies of the window.

#include <cstdint>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "game/morvane1.h"
#include "game/cell_text.h"
#include "recorder.h"

namespace morvane::solve_test {

inline constexpr std::string_view kSolved = "You have solved the puzzle!";
inline constexpr std::string_view kNoMoves = "Sorry, you have no more moves.";
inline constexpr std::string_view kEachNumber = "Invalid Code.  Make sure each number in each box is below 29.";
inline constexpr std::string_view kTheNumber = "Invalid Code.  Make sure the number in each box is below 29.";

using Code = std::array<std::string, kBoxes>;

// A window with the board `code` placed by "Reset", as after typing it.
struct Table {
    Recorder heard;
    Morvane1 game{heard};

    explicit Table(const Code& code) {
        for (int box = 0; box < kBoxes; ++box) game.CODE[box].text = code[box];
        game.spot.text = "0";
        game.Reset_button_Click();
    }
    // Takes cells off the board as if they had gone in play.
    void remove(const std::vector<int>& cells) {
        for (const int cell : cells) game.Square[cell].shown = false;
    }
};

// The cells shown, as a bit set (cell n is bit n - 1).
inline std::uint32_t shown_cells(const Morvane1& game) {
    std::uint32_t cells = 0;
    for (int n = 1; n <= kCells; ++n)
        if (game.Square[n].shown) cells |= std::uint32_t{1} << (n - 1);
    return cells;
}

// What clicking `clicks` in order does to the window: "won" when the last
// click brings the win message and no click before it ends the game or is
// refused, otherwise a description of what went wrong.
inline std::string replay(Morvane1 game, Recorder& heard, const std::vector<int>& clicks) {
    for (std::size_t i = 0; i < clicks.size(); ++i) {
        const std::size_t messages = heard.messages.size();
        const std::size_t cues = heard.cues.size();
        const std::string player = game.CODE[0].text;
        game.Square_Click(clicks[i]);
        const std::string where =
            "click " + std::to_string(i + 1) + " on " + std::to_string(clicks[i]) + " from " + player;
        if (heard.cues.size() > cues && heard.cues.back() == "no.wav") return where + ": refused";
        if (heard.messages.size() == messages) {
            if (game.CODE[0].text != std::to_string(clicks[i])) return where + ": not taken";
            continue;
        }
        if (heard.messages.back().text != kSolved) return where + ": " + heard.messages.back().text;
        return i + 1 == clicks.size() ? "won" : where + ": won before the end";
    }
    return "not won after " + std::to_string(clicks.size()) + " clicks";
}

// Whether the game can still be won from the window as it stands, found by
// trying every click on a copy of the window and every line after it. Lost
// states (cells shown, player's text) are remembered, nothing else.
class PlayEverything {
public:
    explicit PlayEverything(Recorder& heard) : heard_(heard) {}

    bool winnable(const Morvane1& game) {
        const auto state = std::make_pair(shown_cells(game), game.CODE[0].text);
        if (lost_.count(state)) return false;
        for (int cell = 1; cell <= kCells; ++cell) {
            if (!game.Square[cell].shown || game.Square[cell].pointer != kPointerArrow) continue;
            Morvane1 copy = game;
            const std::size_t messages = heard_.messages.size();
            copy.Square_Click(cell);
            heard_.cues.clear();
            if (heard_.messages.size() > messages) {
                const bool won = heard_.messages.back().text == kSolved;
                heard_.messages.resize(messages);
                if (won) return true;
                continue;  // lost; the game has put the board back
            }
            if (winnable(copy)) return true;
        }
        lost_.insert(state);
        return false;
    }

private:
    Recorder& heard_;
    std::set<std::pair<std::uint32_t, std::string>> lost_;
};

}  // namespace morvane::solve_test
