// Legal move targets: the neighbours of the player's cell carry the arrow.

#include "game.h"

namespace morvane {
namespace {

TEST(MoveTargets, FlagExactlyTheNeighboursOfEveryCell) {
    Game g;
    for (int p = 1; p <= kCells; ++p) {
        SCOPED_TRACE("player on " + std::to_string(p));
        for (int n = 1; n <= kCells; ++n) g.window.Square[n].pointer = kPointerArrow;  // stale flags
        g.window.CODE[0].text = std::to_string(p);
        g.window.POINT_SET();
        EXPECT_EQ(g.flagged(), kNeighbourTable[p]);
        for (int n = 1; n <= kCells; ++n) {
            const int pointer = g.window.Square[n].pointer;
            EXPECT_TRUE(pointer == kPointerArrow || pointer == kPointerNoDrop) << "cell " << n;
        }
    }
}

TEST(MoveTargets, RemovedNeighboursAreFlaggedToo) {
    Game g;
    g.place({"10", "", "", "", "", "", ""});
    for (int n = 1; n <= kCells; ++n) g.window.Square[n].pointer = kPointerNoDrop;
    for (int n : {2, 9, 17, 25}) g.window.Square[n].shown = false;
    g.window.Square[0].pointer = 5;  // the hidden cell is never touched
    g.window.POINT_SET();
    EXPECT_EQ(g.flagged(), (Cells{2, 3, 4, 9, 11, 16, 17, 18}));
    EXPECT_EQ(g.removed(), (Cells{2, 9, 17, 25}));
    EXPECT_EQ(g.window.Square[0].pointer, 5);
    EXPECT_TRUE(g.heard.cues.empty());
}

TEST(MoveTargets, APlayerCellThatIsNoWholeCellGivesNoTargets) {
    Game g;
    for (const char* text : {"", "0", "29", ".5", "-1", "x", "1.5"}) {
        SCOPED_TRACE(std::string("CODE(0) '") + text + "'");
        for (int n = 1; n <= kCells; ++n) g.window.Square[n].pointer = kPointerArrow;
        g.window.CODE[0].text = text;
        g.window.POINT_SET();
        EXPECT_EQ(g.flagged(), Cells{});
    }
}

TEST(MoveTargets, SettingThemTwiceIsSettingThemOnce) {
    Game g;
    for (const char* text : {"1", "10", "28", ""}) {
        g.window.CODE[0].text = text;
        g.window.POINT_SET();
        const std::string once = dump(g.window);
        g.window.POINT_SET();
        EXPECT_EQ(dump(g.window), once) << text;
    }
}

}  // namespace
}  // namespace morvane
