#pragma once
// Morvane1: the game's window as the game itself sees it, without a toolkit.
//
// It holds every control property the game reads or writes and the four
// game-wide variables, and it carries the window's event handlers under
// their own names. The Qt window (window.h) builds the real controls,
// forwards each user event to the handler here and shows the state after it.
// Handlers are defined next to the subsystem they belong to: board/, play/
// and rules/. What happens is told, as it happens, through events.h.

#include <array>
#include <string>
#include <string_view>

#include "game/controls.h"
#include "game/dealer.h"
#include "game/events.h"
#include "game/morvymod.h"

namespace morvane {

inline constexpr std::string_view kTitle = "Morvane's Challenge II";  // the window's

class Morvane1 {
public:
    // What happens is told to `events` as it happens (events.h).
    explicit Morvane1(GameEvents& events);

    // --- The controls -----------------------------------------------------
    std::array<Cell, kCells + 1> Square;  // 0 is the hidden cell
    std::array<TextBox, kBoxes> CODE;
    TextBox spot;
    TextBox score_box;
    Button cinsert;
    Button Randomizer_button;
    Button reseto;
    Button Reset_button;
    Frame Frame1;
    Palette palette;  // Morvy, YEL, BLU, NAV, GRE, RED, ORA

    // --- The game-wide variables ------------------------------------------
    Morvymod morvymod;

    // --- The random source of the Randomizer ------------------------------
    Dealer dealer;

    // --- Event handlers ---------------------------------------------------
    void cinsert_Click();                         // board/code_entry.cpp
    void reseto_Click();                          // board/code_entry.cpp
    void Randomizer_button_Click();               // board/randomizer.cpp
    void Reset_button_Click();                    // board/placement.cpp
    void Square_DragDrop(int index, int figure);  // board/drag_drop.cpp; figure = palette index
    void Square_Click(int index);                 // play/player_move.cpp
    void score_box_DblClick();                    // play/score_box.cpp
    void Form_KeyF1();                            // core/morvane1.cpp: the help key

    // The user typed into a box: the new text, taken only while it is unlocked.
    void CODE_Change(int box, std::string_view text);
    void score_box_Change(std::string_view text);

    // --- Methods of the window ----------------------------------------------
    void POINT_SET();     // play/move_targets.cpp
    void yellow_check();  // rules/landing_rules.cpp
    void blue_check();
    void navy_check();
    void green_check();
    void red_check();
    void orange_check();

    bool code_entry_on() const { return cinsert.caption == "OK"; }

private:
    void tell(const Event& event) { events_->happened(event); }
    void landing_rule(int piece);  // the frame every colour's rule shares

    GameEvents* events_;
};

}  // namespace morvane
