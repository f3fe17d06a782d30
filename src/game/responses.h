#pragma once
// What the player gets for each event: the cue heard, the message box shown
// (text, title, icon), the help file opened and the fixed words a screen
// reader says. The game's cue names and message texts stand here and
// nowhere else; every front end plays and shows what this table says.

#include <span>
#include <string_view>

#include "game/events.h"

namespace morvane {

struct Response {
    std::string_view cue{};   // a WAV file of the program's folder; empty for none
    std::string_view text{};  // a message box with one OK button; empty for none
    std::string_view title{};
    Icon icon = Icon::Warning;
    std::string_view help_file{};  // opened from the program's folder; empty for none
    std::string_view words{};      // what a screen reader says for it, when that never varies
};

// The response to `event`; empty for the events that only change the board.
const Response& response_to(const Event& event);

// Every cue file the game plays, each once, in the order of the table.
std::span<const std::string_view> cue_files();

// The help file the help key opens.
std::string_view help_file();

}  // namespace morvane
