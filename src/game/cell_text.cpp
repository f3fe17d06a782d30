#include "game/cell_text.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <utility>

namespace morvane {

namespace {
bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

// The code point at the start of `text` and its length in bytes; a byte that
// starts no valid UTF-8 sequence is taken alone, as code point -1.
std::pair<char32_t, std::size_t> code_point_at(std::string_view text) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return {lead, 1};
    const std::size_t length = lead >= 0xC2 && lead <= 0xDF   ? 2
                               : lead >= 0xE0 && lead <= 0xEF ? 3
                               : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                              : 0;
    if (length == 0 || text.size() < length) return {char32_t(-1), 1};
    char32_t point = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return {char32_t(-1), 1};
        point = point << 6 | (byte(i) & 0x3F);
    }
    const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (point < least[length] || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) return {char32_t(-1), 1};
    return {point, length};
}

// Marks that join the character before them: combining accents and
// variation selectors.
bool joins_previous(char32_t point) {
    return (point >= 0x0300 && point <= 0x036F) || (point >= 0x1AB0 && point <= 0x1AFF) ||
           (point >= 0x1DC0 && point <= 0x1DFF) || (point >= 0x20D0 && point <= 0x20FF) ||
           (point >= 0xFE00 && point <= 0xFE0F) || (point >= 0xFE20 && point <= 0xFE2F);
}
}  // namespace

std::string first_characters(std::string_view text, std::size_t count) {
    std::size_t end = 0;
    std::size_t taken = 0;
    while (end < text.size()) {
        const auto [point, length] = code_point_at(text.substr(end));
        if (!(taken > 0 && joins_previous(point))) {
            if (taken == count) break;
            ++taken;
        }
        end += length;
    }
    return std::string(text.substr(0, end));
}

double leading_number(std::string_view text) {
    std::string number;
    bool seen_sign = false;
    bool seen_point = false;
    bool seen_digit = false;
    for (char c : text) {
        if (is_blank(c)) continue;
        if ((c == '+' || c == '-') && !seen_sign && !seen_point && !seen_digit) {
            seen_sign = true;
            number += c;
        } else if (c == '.' && !seen_point) {
            seen_point = true;
            number += c;
        } else if (is_digit(c)) {
            seen_digit = true;
            number += c;
        } else {
            break;
        }
    }
    if (!seen_digit) return 0.0;
    // strtod is given only sign, digits and one point here, so it cannot be
    // led astray by hexadecimal, exponents, "inf" or "nan".
    const double value = std::strtod(number.c_str(), nullptr);
    return std::isfinite(value) ? value : 0.0;
}

std::int64_t round_half_even(double value) {
    if (std::isnan(value)) return 0;
    constexpr double kLimit = 9.2e18;  // comfortably inside int64
    if (value >= kLimit) return std::numeric_limits<std::int64_t>::max();
    if (value <= -kLimit) return std::numeric_limits<std::int64_t>::min();
    const double lower = std::floor(value);
    const double fraction = value - lower;
    auto result = static_cast<std::int64_t>(lower);
    if (fraction > 0.5 || (fraction == 0.5 && result % 2 != 0)) ++result;
    return result;
}

std::string plain_decimal(std::int64_t value) { return std::to_string(value); }

std::optional<int> cell_of(std::string_view text) {
    const std::int64_t cell = round_half_even(leading_number(text));
    if (cell < 0 || cell > 28) return std::nullopt;
    return static_cast<int>(cell);
}

std::optional<int> cell_spelled(std::string_view text) {
    for (int n = 1; n <= 28; ++n)
        if (text == plain_decimal(n)) return n;
    return std::nullopt;
}

std::optional<int> exact_cell(std::string_view text) {
    const double value = leading_number(text);
    if (value != std::floor(value) || value < 1 || value > 28) return std::nullopt;
    return static_cast<int>(value);
}

}  // namespace morvane
