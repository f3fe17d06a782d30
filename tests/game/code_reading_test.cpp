// Board codes as people write them: what is read into the seven boxes, and
// what is no code at all.

#include <gtest/gtest.h>

#include "game/code_reading.h"

namespace morvane {
namespace {

TEST(CodeReading, ReadsWhatAPersonMeans) {
    using Boxes = std::array<std::string, kBoxes>;
    const Boxes dealt{"9", "23", "28", "21", "15", "4", "27"};
    const struct {
        const char* text;
        Boxes boxes;
    } codes[] = {
        {"9,23,28,21,15,4,27", dealt},
        {"9, 23, 28, 21, 15, 4, 27", dealt},
        {"  9 ,23 , 28,21,15 ,4,  27 \n", dealt},
        {"9 23 28 21 15 4 27", dealt},
        {"9\t23  28 21 15 4 27", dealt},
        {"9, 16, 17, 18, 19, 20, 21", {"9", "16", "17", "18", "19", "20", "21"}},
        {"1,9,,,,,28", {"1", "9", "", "", "", "", "28"}},  // pieces left off, as copied
        {"1, , , , , , 3", {"1", "", "", "", "", "", "3"}},
        {"05,0,0,0,0,0,99", {"05", "0", "0", "0", "0", "0", "99"}},  // the game judges the numbers
        {"5 1 -1 +2 .5 2. 0", {"5", "1", "-1", "+2", ".5", "2.", "0"}},
    };
    for (const auto& code : codes) {
        const auto read = read_code(code.text);
        ASSERT_TRUE(read.has_value()) << code.text;
        EXPECT_EQ(*read, code.boxes) << code.text;
    }
    for (const char* text :
         {"", "   ", "9", "9,23", "9 23 28 21 15 4", "9,23,28,21,15,4,27,1", "9 23 28 21 15 4 27 1", ",1,2,3,4,5,6",
          "9,a,28,21,15,4,27", "9 23 28 21 15 4 x", "-12,2,3,4,5,6,7", "-,2,3,4,5,6,7", "..,2,3,4,5,6,7",
          "100,1,2,3,4,5,6", "9;23;28;21;15;4;27", "9, 23 28, 21, 15, 4, 27", "1.5,1,2,3,4,5,6"})
        EXPECT_FALSE(read_code(text).has_value()) << '"' << text << '"';
}

}  // namespace
}  // namespace morvane
