#pragma once
// The window's controls as the game sees them, free of any toolkit.
//
// The game keeps its whole state in the controls of its one window: which
// cells are on the board, what each shows, which are legal targets, the
// board code in the seven code boxes, and so on. This header models exactly
// the properties the game reads or writes; the Qt window mirrors them.

#include <array>
#include <cstddef>
#include <string>

namespace morvane {

constexpr int kCells = 28;        // cells 1..28; Square[0] is the hidden cell
constexpr int kBoxes = 7;         // CODE(0) player, CODE(1..6) the pieces
constexpr int kPointerArrow = 1;  // legal move target
constexpr int kPointerNoDrop = 12;

// A picture a cell can show: none, or the picture of one palette figure.
// The figures are in board-code order, so Picture(i + 1) belongs to CODE(i).
enum class Picture { None, Morvy, YEL, BLU, NAV, GRE, RED, ORA };

constexpr Picture picture_of_box(int box) { return static_cast<Picture>(box + 1); }
const char* picture_name(Picture picture);  // "" for None, else "Morvy", "YEL", ...

struct Cell {
    bool shown = true;  // on the board; a removed cell is hidden
    Picture picture = Picture::None;
    std::string caption;
    int pointer = kPointerNoDrop;  // the legal-target flag
};

struct TextBox {
    std::string text;
    bool locked = true;
    bool shown = true;
    std::size_t max_length = 0;  // 0: no limit
};

struct Button {
    std::string caption;
    bool shown = true;
};

struct Frame {
    std::string caption;
    double font_size = 12;
    bool bold = true;
};

struct PaletteFigure {
    Picture picture = Picture::None;
    bool shown = false;
};

using Palette = std::array<PaletteFigure, kBoxes>;  // Morvy, YEL, BLU, NAV, GRE, RED, ORA

}  // namespace morvane
