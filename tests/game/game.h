#pragma once
// A window whose events are recorded, and the small helpers the game's tests
// share: setting up boards, reading the board back, and the neighbour table.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <initializer_list>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "game/morvane1.h"
#include "recorder.h"

namespace morvane {

inline void PrintTo(Picture picture, std::ostream* os) {
    *os << (picture == Picture::None ? "None" : picture_name(picture));
}

using Cells = std::vector<int>;                // ascending cell numbers
using Code = std::array<std::string, kBoxes>;  // CODE(0) player, CODE(1..6) yellow..orange
using Pictures = std::map<int, Picture>;       // cells 1..28 that show a picture

// Palette indices of the figures, as Square_DragDrop takes them.
enum Figure { kMorvy, kYel, kBlu, kNav, kGre, kRed, kOra };

// The texts the game shows.
inline constexpr const char* kCodeTitle = "Morvane's Challenge";
inline constexpr const char* kGameTitle = "Morvane's Challenge II";
inline constexpr const char* kEachNumber = "Invalid Code.  Make sure each number in each box is below 29.";
inline constexpr const char* kTheNumber = "Invalid Code.  Make sure the number in each box is below 29.";
inline constexpr const char* kSolved = "You have solved the puzzle!";
inline constexpr const char* kNoMoves = "Sorry, you have no more moves.";
inline constexpr const char* kLongPrompt =
    "Enter Code or Drag objects to create playing board.  Press OK when finished.";
inline constexpr const char* kDragPrompt = "Drag objects to create playing board.";

// The king-move neighbours of each cell, in the order they are flagged.
inline const std::array<Cells, kCells + 1> kNeighbourTable{{
    {},
    /* 1*/ {2, 8, 9},
    /* 2*/ {1, 3, 8, 9, 10},
    /* 3*/ {2, 4, 9, 10, 11},
    /* 4*/ {3, 5, 10, 11, 12},
    /* 5*/ {4, 6, 11, 12, 13},
    /* 6*/ {5, 7, 12, 13, 14},
    /* 7*/ {6, 13, 14},
    /* 8*/ {1, 2, 9, 15, 16},
    /* 9*/ {1, 2, 3, 8, 10, 15, 16, 17},
    /*10*/ {2, 3, 4, 9, 11, 16, 17, 18},
    /*11*/ {3, 4, 5, 10, 12, 17, 18, 19},
    /*12*/ {4, 5, 6, 11, 13, 18, 19, 20},
    /*13*/ {5, 6, 7, 12, 14, 19, 20, 21},
    /*14*/ {6, 7, 13, 20, 21},
    /*15*/ {8, 9, 16, 22, 23},
    /*16*/ {8, 9, 10, 15, 17, 22, 23, 24},
    /*17*/ {9, 10, 11, 16, 18, 23, 24, 25},
    /*18*/ {10, 11, 12, 17, 19, 24, 25, 26},
    /*19*/ {11, 12, 13, 18, 20, 25, 26, 27},
    /*20*/ {12, 13, 14, 19, 21, 26, 27, 28},
    /*21*/ {13, 14, 20, 27, 28},
    /*22*/ {15, 16, 23},
    /*23*/ {15, 16, 17, 22, 24},
    /*24*/ {16, 17, 18, 23, 25},
    /*25*/ {17, 18, 19, 24, 26},
    /*26*/ {18, 19, 20, 25, 27},
    /*27*/ {19, 20, 21, 26, 28},
    /*28*/ {20, 21, 27},
}};

inline Cells all_cells() {
    Cells cells;
    for (int n = 1; n <= kCells; ++n) cells.push_back(n);
    return cells;
}

// The board as the game's end-of-game tests and the player see it.
struct Moment {
    Cells removed;  // cells 1..28 off the board
    Cells flagged;  // cells 1..28 carrying the arrow pointer
    Pictures pictures;
    std::string player;  // CODE(0)
    std::string score_box;
    std::int64_t moves_left = 0;
    std::int64_t score = 0;
    std::vector<std::string> cues;  // played so far
};

// Every property of the window, one per line, to tell whether anything changed.
inline std::string dump(const Morvane1& w) {
    std::ostringstream out;
    for (int n = 0; n <= kCells; ++n) {
        const Cell& c = w.Square[n];
        out << "Square(" << n << ") shown=" << c.shown << " picture=" << picture_name(c.picture) << " caption='"
            << c.caption << "' pointer=" << c.pointer << '\n';
    }
    auto box = [&](const char* name, const TextBox& b) {
        out << name << " '" << b.text << "' locked=" << b.locked << " shown=" << b.shown << '\n';
    };
    for (int i = 0; i < kBoxes; ++i) box(("CODE(" + std::to_string(i) + ")").c_str(), w.CODE[i]);
    box("spot", w.spot);
    box("score_box", w.score_box);
    for (const Button* b : {&w.cinsert, &w.Randomizer_button, &w.reseto, &w.Reset_button})
        out << "button '" << b->caption << "' shown=" << b->shown << '\n';
    out << "Frame1 '" << w.Frame1.caption << "' " << w.Frame1.font_size << " bold=" << w.Frame1.bold << '\n';
    for (const auto& f : w.palette) out << "palette " << picture_name(f.picture) << " shown=" << f.shown << '\n';
    out << "moves_left=" << w.morvymod.moves_left << " score=" << w.morvymod.score
        << " cell_count=" << w.morvymod.cell_count << " restore_mode=" << w.morvymod.restore_mode << '\n';
    return out.str();
}

struct Game {
    Recorder heard;
    Morvane1 window{heard};
    std::optional<Moment> at_message;  // the board when the last message box came up

    Game() {
        heard.on_message = [this] { at_message = moment(); };
    }
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    void set_code(const Code& code) {
        for (int i = 0; i < kBoxes; ++i) window.CODE[i].text = code[i];
    }
    // A new board, handed to placement as code entry or the Randomizer hand
    // it over: no starting cell recorded yet. Forgets the placement's cue.
    void place(const Code& code) {
        window.spot.text = "0";
        set_code(code);
        window.Reset_button_Click();
        forget();
    }
    // The user presses "Code", types the code and presses "OK".
    void type_board(const Code& code) {
        window.cinsert_Click();
        for (int i = 0; i < kBoxes; ++i) window.CODE_Change(i, code[i]);
        window.cinsert_Click();
    }
    void click(std::initializer_list<int> cells) {
        for (int n : cells) window.Square_Click(n);
    }
    void forget() {
        heard.forget();
        at_message.reset();
    }

    Cells removed() const {
        Cells cells;
        for (int n = 1; n <= kCells; ++n)
            if (!window.Square[n].shown) cells.push_back(n);
        return cells;
    }
    Cells flagged() const {
        Cells cells;
        for (int n = 1; n <= kCells; ++n)
            if (window.Square[n].pointer == kPointerArrow) cells.push_back(n);
        return cells;
    }
    Pictures pictures() const {
        Pictures shown;
        for (int n = 1; n <= kCells; ++n)
            if (window.Square[n].picture != Picture::None) shown[n] = window.Square[n].picture;
        return shown;
    }
    std::vector<std::string> captions() const {
        std::vector<std::string> all;
        for (int n = 1; n <= kCells; ++n) all.push_back(window.Square[n].caption);
        return all;
    }
    Moment moment() const {
        return {removed(),
                flagged(),
                pictures(),
                window.CODE[0].text,
                window.score_box.text,
                window.morvymod.moves_left,
                window.morvymod.score,
                heard.cues};
    }
    // The board as the last click left it, before an end of game set up the next one.
    Moment after_move() const { return at_message ? *at_message : moment(); }
};

inline Cells sorted(Cells cells) {
    std::sort(cells.begin(), cells.end());
    cells.erase(std::unique(cells.begin(), cells.end()), cells.end());
    return cells;
}

}  // namespace morvane
