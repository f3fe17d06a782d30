#pragma once
// The seven figures of the palette, in board-code order: the player, then
// the yellow, blue, navy, green, red and orange pieces. Everything that
// names, keys or colours a figure reads it here.

#include <array>
#include <cstdint>
#include <string_view>

#include "game/controls.h"

namespace morvane {

struct Figure {
    Picture picture;
    std::string_view name;           // its palette control and its picture: "Morvy", "YEL", ...
    std::string_view words;          // as a screen reader names it on a cell: "player", "yellow piece", ...
    std::string_view palette_words;  // the palette picture, as a screen reader names it
    char key;                        // puts it on the board cursor's cell in code entry
    std::uint32_t box_colour;        // its code box's ground, 0xRRGGBB
    bool light_text;                 // white text on that ground
};

inline constexpr std::array<Figure, kBoxes> kFigures{{
    {Picture::Morvy, "Morvy", "player", "Player figure", 'P', 0xFFFFFF, false},
    {Picture::YEL, "YEL", "yellow piece", "Yellow piece", 'Y', 0xFFFF80, false},
    {Picture::BLU, "BLU", "blue piece", "Blue piece", 'B', 0x80FFFF, false},
    {Picture::NAV, "NAV", "navy piece", "Navy piece", 'N', 0x0000FF, true},
    {Picture::GRE, "GRE", "green piece", "Green piece", 'G', 0x00FF00, false},
    {Picture::RED, "RED", "red piece", "Red piece", 'R', 0xFF0000, true},
    {Picture::ORA, "ORA", "orange piece", "Orange piece", 'O', 0xFF8000, false},
}};

// The palette index of the figure named `name` ("Morvy", "YEL", ...), or of
// the figure key `key` (upper case), -1 for none.
int figure_named(std::string_view name);
int figure_of_key(char key);

}  // namespace morvane
