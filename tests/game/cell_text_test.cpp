// Reading cell numbers from box texts and writing them back.

#include <gtest/gtest.h>

#include "game/cell_text.h"

namespace morvane {
namespace {

TEST(LeadingNumber, ReadsTheNumberAtTheStartOfTheText) {
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"", 0},     {"0", 0},       {"x", 0},    {".5", 0.5}, {".6", 0.6}, {"2.", 2},  {"-1", -1},
        {"05", 5},   {"+5", 5},      {"28", 28},  {"29", 29},  {"5x", 5},   {" 7", 7},  {"1 2", 12},
        {"- 3", -3}, {"1.2.3", 1.2}, {"+", 0},    {"-", 0},    {".", 0},    {"x5", 0},  {"12.5", 12.5},
        {"87", 87},  {"1e3", 1},     {"0x1A", 0}, {"--1", 0},  {"1-", 1},   {"inf", 0}, {"nan", 0},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(leading_number(c.text), c.value) << '"' << c.text << '"';
}

TEST(LeadingNumber, SurvivesHugeNumbers) {
    EXPECT_GT(leading_number(std::string(300, '9')), 1e299);
    EXPECT_EQ(leading_number(std::string(400, '9')), 0.0);  // beyond any real: no number
}

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
    const struct {
        double value;
        std::int64_t cell;
    } cases[] = {{0.5, 0},  {1.5, 2},   {2.5, 2},   {12.5, 12}, {13.5, 14}, {0.6, 1},         {0.4, 0},
                 {-0.5, 0}, {-1.5, -2}, {27.5, 28}, {28.5, 28}, {3.49, 3},  {1e30, INT64_MAX}};
    for (const auto& c : cases) EXPECT_EQ(round_half_even(c.value), c.cell) << c.value;
}

TEST(CellText, BoxesNameCellsByValueButCompareAsText) {
    EXPECT_EQ(cell_of(""), 0);
    EXPECT_EQ(cell_of(".5"), 0);
    EXPECT_EQ(cell_of(".6"), 1);
    EXPECT_EQ(cell_of("2."), 2);
    EXPECT_EQ(cell_of("05"), 5);
    EXPECT_EQ(cell_of("28"), 28);
    EXPECT_EQ(cell_of("29"), std::nullopt);
    EXPECT_EQ(cell_of("-1"), std::nullopt);

    EXPECT_EQ(cell_spelled("5"), 5);
    EXPECT_EQ(cell_spelled("28"), 28);
    EXPECT_EQ(cell_spelled("05"), std::nullopt);
    EXPECT_EQ(cell_spelled("5."), std::nullopt);
    EXPECT_EQ(cell_spelled(" 5"), std::nullopt);
    EXPECT_EQ(cell_spelled("0"), std::nullopt);

    EXPECT_EQ(exact_cell("1"), 1);
    EXPECT_EQ(exact_cell("05"), 5);
    EXPECT_EQ(exact_cell("2."), 2);
    EXPECT_EQ(exact_cell(".5"), std::nullopt);
    EXPECT_EQ(exact_cell("0"), std::nullopt);
    EXPECT_EQ(exact_cell("29"), std::nullopt);
    EXPECT_EQ(exact_cell(""), std::nullopt);
}

TEST(PlainDecimal, HasNoBlanksSignsOrLeadingZeros) {
    EXPECT_EQ(plain_decimal(9), "9");
    EXPECT_EQ(plain_decimal(0), "0");
    EXPECT_EQ(plain_decimal(33), "33");
    EXPECT_EQ(plain_decimal(-4), "-4");
}

}  // namespace
}  // namespace morvane
