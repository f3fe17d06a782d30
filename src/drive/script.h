#pragma once
// Reading morvane-drive's scripts: each line becomes a command, or the
// reason it cannot be carried out, without touching a window. The driver
// (driver.h) carries the commands out against the real window.

#include <QString>
#include <Qt>
#include <cstdint>
#include <optional>
#include <variant>
#include <vector>

namespace morvane {

// One key pressed and released as a person at a keyboard would: the key,
// the modifiers held down with it, and the text it types.
struct Keystroke {
    Qt::Key key = Qt::Key_unknown;
    Qt::KeyboardModifiers modifiers;
    QString text;
};

// A control of the window by the name scripts give it.
struct Control {
    enum Kind { Square, Code, Cinsert, Randomizer, Reset, Reseto, ScoreBox, Spot, Figure };
    Kind kind = Square;
    int index = 0;  // the cell, the code box or the palette figure
};

struct Command {
    enum Kind { Seed, Draws, Click, DoubleClick, Type, Drop, Key, Dump };
    Kind kind = Dump;
    Control control;              // click, dblclick, type
    std::uint64_t seed = 0;       // seed
    std::vector<int> cells;       // draws
    int figure = 0, cell = 0;     // drop: palette figure onto Square(cell)
    QString text;                 // type: typed key by key (key_typing)
    std::vector<Keystroke> keys;  // key: the key
};

// The longest script line read, in bytes; a longer line is refused.
inline constexpr std::size_t kMaxLineBytes = 1024 * 1024;

// The command a script line holds (neither blank nor a comment), or why the
// line cannot be carried out.
std::variant<Command, QString> parse_command(const QString& line);

// The control a script calls `name`, if any.
std::optional<Control> control_named(const QString& name);

// The key that types character `c`, or nothing for the control characters
// no key types: U+0000 to U+0007, U+000A, U+000C, U+000E to U+0012,
// U+0014, U+0016 to U+001F and U+007F.
std::optional<Keystroke> key_typing(QChar c);

// The key Qt names `name` ("F1", "Ctrl+A", "Copy", "€"), or nothing when it
// names no single key.
std::optional<Keystroke> key_named(const QString& name);

}  // namespace morvane
