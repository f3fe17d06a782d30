#include "game/code_reading.h"

#include <vector>

namespace morvane {

namespace {

bool blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

// A number that fits a box (two characters): digits, a sign in front, a
// decimal point ("05", "-1", ".5"); the game judges its value.
bool box_number(std::string_view text) {
    if (text.empty() || text.size() > 2) return false;
    if (text[0] == '-' || text[0] == '+') text.remove_prefix(1);
    bool digit = false, point = false;
    for (const char c : text) {
        if (c >= '0' && c <= '9')
            digit = true;
        else if (c == '.' && !point)
            point = true;
        else
            return false;
    }
    return digit;
}

}  // namespace

std::optional<std::array<std::string, kBoxes>> read_code(std::string_view text) {
    text = trimmed(text);
    std::vector<std::string_view> places;
    if (text.find(',') != std::string_view::npos) {
        // Commas separate: each place may be empty (a piece left off), but
        // the player's may not.
        std::size_t start = 0;
        for (std::size_t comma; (comma = text.find(',', start)) != std::string_view::npos; start = comma + 1)
            places.push_back(trimmed(text.substr(start, comma - start)));
        places.push_back(trimmed(text.substr(start)));
        if (places.size() != kBoxes || places[0].empty()) return std::nullopt;
        for (const std::string_view place : places)
            if (!place.empty() && !box_number(place)) return std::nullopt;
    } else {
        // Blanks separate: seven numbers.
        std::size_t i = 0;
        while (i < text.size()) {
            const std::size_t start = i;
            while (i < text.size() && !blank(text[i])) ++i;
            places.push_back(text.substr(start, i - start));
            while (i < text.size() && blank(text[i])) ++i;
        }
        if (places.size() != kBoxes) return std::nullopt;
        for (const std::string_view place : places)
            if (!box_number(place)) return std::nullopt;
    }
    std::array<std::string, kBoxes> boxes;
    for (int i = 0; i < kBoxes; ++i) boxes[i] = std::string(places[i]);
    return boxes;
}

}  // namespace morvane
