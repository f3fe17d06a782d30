#pragma once
// What the game tells the world: one event for each thing that happens to
// the player, delivered at once and in the order the handlers meet them, so
// that whatever a front end does with one (a message box that waits for
// OK, say) happens before the game goes on.
//
// Events say what happened, not how it is shown: the cue, the message box
// and the help file that go with each are in the game's response table
// (responses.h), which every front end plays and shows alike.

#include <cstdint>
#include <string>
#include <vector>

#include "game/controls.h"

namespace morvane {

enum class Icon { Warning, Information };

enum class EventKind {
    ProgramFolder,     // a cell was clicked: the program's folder becomes the current one
    Refused,           // `cell` is no legal target; nothing moved
    Moved,             // the player went from `from` to `to`, which showed `landed_on`; `from` is off the board
    RuleFired,         // the rule of `piece` (1..6) fired on `to`, taking `cells` off the board
    Won,               // only the player's cell is left; `score` is the score after it
    Lost,              // no neighbouring cell is left; `score` is the score after it
    PlacementStarted,  // the board code is being turned into a board
    BoardPlaced,       // the board `code` ("9,23,28,21,15,4,27", start cell first) is in play
    BadCode,           // the board code was refused at box `box` (0 the player, 1..6 the pieces)
    EntryStarted,      // code entry began (Code, or Start Over)
    EntryLeft,         // code entry ended with OK; placement follows
    FigurePut,         // palette figure `figure` (0..6) was put on `cell` in code entry
    HelpAsked,         // the player asked for the help file
    FocusBox,          // code box `box` takes the keyboard focus
};

struct Event {
    EventKind kind = EventKind::ProgramFolder;
    int cell = 0;                       // Refused, FigurePut
    int from = 0;                       // Moved
    int to = 0;                         // Moved, RuleFired
    Picture landed_on = Picture::None;  // Moved: what `to` showed before the move
    int piece = 0;                      // RuleFired: 1 yellow .. 6 orange
    int box = 0;                        // BadCode, FocusBox
    int figure = 0;                     // FigurePut: palette index, 0 the player
    std::int64_t score = 0;             // Won, Lost
    std::vector<int> cells{};           // RuleFired: the cells it took off, in the order they went
    std::string code{};                 // BoardPlaced
};

// The world outside the game: each front end (the window, the driver, the
// browser page, a test) implements it.
class GameEvents {
public:
    virtual ~GameEvents() = default;
    virtual void happened(const Event& event) = 0;
};

// Hears nothing: for games played where nobody looks (the solver's).
class NoEvents final : public GameEvents {
public:
    void happened(const Event&) override {}
};

}  // namespace morvane
