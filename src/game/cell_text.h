#pragma once
// Reading and writing cell numbers as the text boxes hold them.
//
// Every box of the game holds text. A cell number is read back as the
// leading decimal number of that text and rounded half to even; whole numbers
// are written back as plain decimal text.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace morvane {

// The decimal number at the start of `text`: an optional sign, digits and at
// most one decimal point, with blanks ignored wherever they stand. Reading
// stops at the first other character. Text that does not start with a number
// (the empty text included) reads as 0.
double leading_number(std::string_view text);

// Nearest whole number, a value exactly halfway going to the even neighbour
// (0.5 -> 0, 1.5 -> 2, 2.5 -> 2). Values beyond the range of int64 saturate.
std::int64_t round_half_even(double value);

// A whole number written without blanks, leading zeros or a plus sign.
std::string plain_decimal(std::int64_t value);

// The cell a box names for board placement: its leading number rounded half
// to even, when that lies in 0..28.
std::optional<int> cell_of(std::string_view text);

// The cell whose plain decimal text is exactly `text` ("5" names cell 5,
// "05" and "5." name none). Used where the game compares texts, not numbers.
std::optional<int> cell_spelled(std::string_view text);

// The cell when the leading number of `text` is exactly one of the whole
// numbers 1 to 28 (no fraction), as the legal-target marking needs it.
std::optional<int> exact_cell(std::string_view text);

// The first `count` characters of the UTF-8 `text`, as the player sees
// characters: a letter with its combining accents is one, and a character is
// never cut in two. A byte that starts no valid character counts as one.
std::string first_characters(std::string_view text, std::size_t count);

}  // namespace morvane
