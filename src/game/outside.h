#pragma once
// What the game asks of the world outside it: sounds, message boxes,
// keyboard focus, the help file and the process's current directory.
// The window implements it; tests record what was asked.

#include <string_view>

namespace morvane {

enum class Icon { Warning, Information };

class Outside {
public:
    virtual ~Outside() = default;

    // Makes the program's own folder the current directory of the process.
    virtual void enter_program_folder() = 0;
    // Plays cue `file` from the program's folder without waiting for it;
    // leaves that folder the current directory. Never fails visibly.
    virtual void play_cue(std::string_view file) = 0;
    // A modal message box with a single OK button; returns once it is closed.
    virtual void message(std::string_view text, std::string_view title, Icon icon) = 0;
    // Gives code box `box` the keyboard focus.
    virtual void focus_code_box(int box) = 0;
    // Opens help file `file` from the program's folder.
    virtual void open_help(std::string_view file) = 0;
};

}  // namespace morvane
