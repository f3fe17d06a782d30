// Typing into the boxes: the length limit counts characters as the player
// sees them, whatever their UTF-8 bytes.

#include <gtest/gtest.h>

#include "core/cell_text.h"
#include "game.h"

namespace morvane {
namespace {

const std::string kAcute = "e\xCC\x81";  // e with a combining acute accent

TEST(FirstCharacters, CountsCharactersNotBytes) {
    const struct {
        std::string text;
        std::size_t count;
        std::string kept;
    } cases[] = {
        {"12", 2, "12"},           {"123", 2, "12"},           {"", 2, ""},
        {"é5", 2, "é5"},           {"€", 2, "€"},              {"5é", 2, "5é"},
        {"€€€", 2, "€€"},          {"😀😀x", 2, "😀😀"},       {"é", 1, "é"},
        {kAcute + "5", 2, kAcute + "5"},                       {"5" + kAcute + "7", 2, "5" + kAcute},
        {"\xE2\x82", 2, "\xE2\x82"},                            // a cut-off € is two bytes alone
        {"\xFF" "ab", 2, "\xFF" "a"},                           // a stray byte counts as one
        {"\xCC\x81" "ab", 2, "\xCC\x81" "a"},                   // an accent with nothing before it
        {"abc", 0, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(first_characters(c.text, c.count), c.kept) << c.text << " " << c.count;
}

TEST(Typing, BoxesKeepWholeCharactersUpToTheirLimit) {
    const struct {
        std::string typed, kept;
    } cases[] = {{"é5", "é5"}, {"€", "€"}, {"5é", "5é"}, {"€€€", "€€"}, {"123", "12"}, {kAcute + "9", kAcute + "9"}};
    for (const auto& c : cases) {
        Game g;
        g.window.cinsert_Click();
        for (int box = 0; box < kBoxes; ++box) {
            g.window.CODE_Change(box, c.typed);
            EXPECT_EQ(g.window.CODE[box].text, c.kept) << "CODE(" << box << ") typed " << c.typed;
        }
        // The score box has no limit; unlocked, it takes all of it.
        g.window.score_box.locked = false;
        g.window.score_box_Change(c.typed + "€");
        EXPECT_EQ(g.window.score_box.text, c.typed + "€");
    }
}

}  // namespace
}  // namespace morvane
