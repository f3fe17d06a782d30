#include "core/cell_text.h"

#include <cmath>
#include <cstdlib>
#include <limits>

namespace morvane {

namespace {
bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }
}  // namespace

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
