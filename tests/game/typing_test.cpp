// Typing into the boxes: the length limit counts characters as the player
// sees them, whatever their UTF-8 bytes.

#include <gtest/gtest.h>

#include "game/cell_text.h"
#include "game.h"

namespace morvane {
namespace {

TEST(Typing, BoxesKeepWholeCharactersUpToTheirLimit) {
    const std::string acute = "e\xCC\x81";  // e and a combining acute accent
    const struct {
        std::string typed, kept;
    } cases[] = {{"é5", "é5"},
                 {"€", "€"},
                 {"5é", "5é"},
                 {"€€€", "€€"},
                 {"123", "12"},
                 {"😀😀x", "😀😀"},
                 {acute + "9", acute + "9"},
                 {"5" + acute + "7", "5" + acute},
                 {"\xE2\x82", "\xE2\x82"},  // a cut-off character: two stray bytes
                 {"\xCC\x81"
                  "ab",
                  "\xCC\x81"
                  "a"}};  // an accent with nothing before it
    for (const auto& c : cases) {
        Game g;
        g.window.cinsert_Click();
        g.window.CODE_Change(3, c.typed);
        EXPECT_EQ(g.window.CODE[3].text, c.kept) << c.typed;
        g.window.score_box.locked = false;  // no limit there
        g.window.score_box_Change(c.typed + c.typed);
        EXPECT_EQ(g.window.score_box.text, c.typed + c.typed);
    }
    EXPECT_EQ(first_characters("abc", 0), "");
}

}  // namespace
}  // namespace morvane
