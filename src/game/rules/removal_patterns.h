#pragma once
// What each coloured piece takes off the board when the player lands on it.

#include <array>
#include <string_view>
#include <vector>

namespace morvane {

// The six pieces in board-code order: CODE(1) yellow ... CODE(6) orange.
enum class Colour { Yellow = 1, Blue, Navy, Green, Red, Orange };

inline constexpr std::array<Colour, 6> kColours{Colour::Yellow, Colour::Blue, Colour::Navy,
                                                Colour::Green,  Colour::Red,  Colour::Orange};

// The cells removed around a player on `cell`, in the order they go: the
// colour's rows or columns next to the player, cut at the board's edges
// (never wrapping into the next row). Empty for anything but a cell 1..28.
std::vector<int> removal_pattern(Colour colour, int cell);

}  // namespace morvane
