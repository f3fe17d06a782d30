#include "game/rules/removal_patterns.h"

#include "game/geometry.h"

namespace morvane {

namespace {
struct Step {
    int dr, dc;
};
using Line = std::array<Step, 3>;
constexpr Line kRowAbove{{{-1, -1}, {-1, 0}, {-1, 1}}};
constexpr Line kRowBelow{{{1, -1}, {1, 0}, {1, 1}}};
constexpr Line kColumnLeft{{{-1, -1}, {0, -1}, {1, -1}}};
constexpr Line kColumnRight{{{-1, 1}, {0, 1}, {1, 1}}};

void add_line(std::vector<int>& cells, int cell, const Line& line) {
    for (const Step& step : line)
        if (const int m = cell_at(row_of(cell) + step.dr, column_of(cell) + step.dc)) cells.push_back(m);
}
}  // namespace

std::vector<int> removal_pattern(Colour colour, int cell) {
    std::vector<int> cells;
    if (cell < 1 || cell > kRows * kColumns) return cells;
    switch (colour) {
        case Colour::Yellow: add_line(cells, cell, kRowAbove); break;
        case Colour::Blue: add_line(cells, cell, kColumnRight); break;
        case Colour::Navy:
            add_line(cells, cell, kColumnLeft);
            add_line(cells, cell, kColumnRight);
            break;
        case Colour::Green: add_line(cells, cell, kColumnLeft); break;
        case Colour::Red: add_line(cells, cell, kRowBelow); break;
        case Colour::Orange:
            add_line(cells, cell, kRowAbove);
            add_line(cells, cell, kRowBelow);
            break;
    }
    return cells;
}

}  // namespace morvane
