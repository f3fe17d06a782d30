#pragma once
// Where the window's controls stand, in twips (15 to a pixel at 96 DPI),
// each in its parent: the window, or the frame named for it. The game
// window builds itself from this table; its tests and the bench's bare
// window read the same.

#include "game/controls.h"
#include "game/geometry.h"

namespace morvane::layout {

inline constexpr int kTwipsPerPixel = 15;

struct Place {
    int left, top, width, height;
};

inline constexpr Place kWindow{0, 0, 7905, 5505};
inline constexpr Place kBoardBorder{2520, 1320, 5295, 3135};  // Frame2, white behind the board
inline constexpr Place kCodeFrame{120, 240, 7695, 975};       // Frame1
inline constexpr Place kCinsert{4320, 360, 615, 375};         // in Frame1
inline constexpr Place kRandomizer{5040, 360, 1215, 375};     // in Frame1
inline constexpr Place kReseto{5040, 360, 1215, 375};         // in Frame1, where the Randomizer stands
inline constexpr Place kReset{6360, 360, 1215, 375};          // in Frame1
inline constexpr Place kScoreFrame{120, 4440, 2055, 855};
inline constexpr Place kScoreBox{120, 360, 1815, 405};        // in the score frame
inline constexpr Place kSpot{240, 600, 495, 375};             // on the window, over CODE(0)
inline constexpr Place kLegend{120, 1440, 1785, 2895};        // Image1
inline constexpr Place kHelpLabel{6000, 15, 1815, 375};       // Label1
inline constexpr Place kVersionLabel{6660, 5175, 1185, 195};  // Label2
// The hint's note: below the board in play; in code entry, the strip below
// the palette, between the score frame and the version label.
inline constexpr Place kNoteInPlay{2520, 4470, 5295, 705};
inline constexpr Place kNoteInEntry{2190, 5175, 4470, 330};

// Cell n: 1..28 on the board's grid, 0 (hidden) below the board.
constexpr Place cell(int n) {
    if (n == 0) return {2370, 4650, 735, 735};
    return {2640 + 720 * column_of(n), 1440 + 720 * row_of(n), 735, 735};
}

// Code box i, in Frame1.
constexpr Place code_box(int i) { return {120 + 600 * i, 360, 495, 375}; }

// Palette figure i.
constexpr Place figure(int i) { return {3000 + 600 * i, i == kBoxes - 1 ? 4605 : 4620, i == 0 ? 420 : 540, 540}; }

}  // namespace morvane::layout
