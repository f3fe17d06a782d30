#pragma once
// A stand-in for every front end: it hears the game's events and keeps
// them, and what a front end would have done with each by the game's
// response table: cues played, message boxes shown, boxes focused, help
// files opened, folders entered. It lets a test look at the game while a
// message box is up.

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "game/events.h"
#include "game/responses.h"

namespace morvane {

struct Message {
    std::string text;
    std::string title;
    Icon icon;
    bool operator==(const Message&) const = default;
};

inline void PrintTo(Icon icon, std::ostream* os) { *os << (icon == Icon::Warning ? "Warning" : "Information"); }

class Recorder : public GameEvents {
public:
    std::vector<Event> events;
    std::vector<std::string> cues;
    std::vector<Message> messages;
    std::vector<int> focused_boxes;
    std::vector<std::string> help_files;
    int folder_entries = 0;
    // Runs while a message box is "open", before the game goes on.
    std::function<void()> on_message;

    void happened(const Event& event) override {
        events.push_back(event);
        if (event.kind == EventKind::ProgramFolder) ++folder_entries;
        if (event.kind == EventKind::FocusBox) focused_boxes.push_back(event.box);
        const Response& response = response_to(event);
        if (!response.cue.empty()) cues.emplace_back(response.cue);
        if (!response.help_file.empty()) help_files.emplace_back(response.help_file);
        if (!response.text.empty()) {
            messages.push_back({std::string(response.text), std::string(response.title), response.icon});
            if (on_message) on_message();
        }
    }

    // The kinds of the events heard, in order.
    std::vector<EventKind> kinds() const {
        std::vector<EventKind> all;
        for (const Event& event : events) all.push_back(event.kind);
        return all;
    }

    // Forgets what was recorded so far; the message hook stays.
    void forget() {
        events.clear();
        cues.clear();
        messages.clear();
        focused_boxes.clear();
        help_files.clear();
        folder_entries = 0;
    }
};

}  // namespace morvane
