#pragma once
// A stand-in for the world outside the game. It records every cue, message
// box, focus change, help request and change of folder the game asks for,
// and lets a test look at the window while a message box is up.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "game/outside.h"

namespace morvane {

struct Message {
    std::string text;
    std::string title;
    Icon icon;
};

inline void PrintTo(Icon icon, std::ostream* os) {
    *os << (icon == Icon::Warning ? "Warning" : "Information");
}

class RecordingOutside : public Outside {
public:
    std::vector<std::string> cues;
    std::vector<Message> messages;
    std::vector<int> focused_boxes;
    std::vector<std::string> help_files;
    int folder_entries = 0;
    // Runs while a message box is "open", before the game goes on.
    std::function<void()> on_message;

    void enter_program_folder() override { ++folder_entries; }
    void play_cue(std::string_view file) override { cues.emplace_back(file); }
    void message(std::string_view text, std::string_view title, Icon icon) override {
        messages.push_back({std::string(text), std::string(title), icon});
        if (on_message) on_message();
    }
    void focus_code_box(int box) override { focused_boxes.push_back(box); }
    void open_help(std::string_view file) override { help_files.emplace_back(file); }

    // Forgets what was recorded so far; the message hook stays.
    void forget() {
        cues.clear();
        messages.clear();
        focused_boxes.clear();
        help_files.clear();
        folder_entries = 0;
    }
};

}  // namespace morvane
