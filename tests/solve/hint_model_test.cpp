// The hint's model on the real game: when H may hint, which searches it
// asks for, and which answers it takes without a search.

#include <gtest/gtest.h>

#include <optional>

#include "game/board_code.h"
#include "real_game.h"
#include "solve/hint_model.h"

namespace morvane::solver {
namespace {

using solve_test::kSolved;

// Searches at once on the asking thread, or keeps the answer back until
// release() when `late`.
class CountingSource : public HintSource {
public:
    int asks = 0, cancels = 0;
    bool late = false;
    std::optional<std::uint64_t> ticket;
    std::optional<Hint> found;
    bool told = false;

    void ask(const Position& position, std::uint64_t t) override {
        ++asks;
        ticket = t;
        found = hint_for(position);
        told = false;
    }
    void cancel() override {
        ++cancels;
        found.reset();
    }
    std::optional<Hint> answer(std::uint64_t t, bool tell) override {
        if (!late && ticket == t) return found;
        told = told || tell;
        return std::nullopt;
    }
};

struct Play {
    Recorder heard;
    Morvane1 game{heard};
    CountingSource source;
    HintModel model{source};
    void place(std::string_view code) { place_code(game, code_boxes(code)); }
};

TEST(HintModel, HintsOnlyOnABoardInPlay) {
    Play p;
    auto note = p.model.press(p.game);
    ASSERT_TRUE(note);
    EXPECT_EQ(note->kind, HintShown::Kind::Note);
    EXPECT_EQ(note->text, "Deal or set up a board first.");
    p.game.cinsert_Click();
    note = p.model.press(p.game);
    ASSERT_TRUE(note);
    EXPECT_EQ(note->text, "Press OK first: hints need a board in play.");
    EXPECT_EQ(p.source.asks, 0);
    EXPECT_FALSE(in_play(p.game));
    p.place("9,23,28,21,15,4,27");
    EXPECT_TRUE(in_play(p.game));
}

TEST(HintModel, AsksOncePerBoardAndFollowsItsLine) {
    Play p;
    p.place("9,23,28,21,15,4,27");
    p.model.think_ahead(p.game);
    p.model.think_ahead(p.game);
    EXPECT_EQ(p.source.asks, 1);  // the same board is not searched again
    auto mark = p.model.press(p.game);
    ASSERT_TRUE(mark);
    ASSERT_EQ(mark->kind, HintShown::Kind::Mark);
    EXPECT_EQ(mark->text, "Hint: cell " + std::to_string(mark->cell) + ".");
    EXPECT_EQ(p.game.Square[mark->cell].pointer, kPointerArrow);
    // Clicking along the winning line needs no search, and wins.
    for (int click = 0; click < 28 && mark && p.heard.messages.empty(); ++click) {
        p.game.Square_Click(mark->cell);
        if (!p.heard.messages.empty()) break;
        p.model.think_ahead(p.game);
        mark = p.model.press(p.game);
        ASSERT_TRUE(mark);
        ASSERT_EQ(mark->kind, HintShown::Kind::Mark);
    }
    ASSERT_EQ(p.heard.messages.size(), 1u);
    EXPECT_EQ(p.heard.messages[0].text, kSolved);
    EXPECT_EQ(p.source.asks, 1);
    // A click off the line is a board of its own.
    p.model.think_ahead(p.game);  // the next board, dealt after the win
    const int asked = p.source.asks;
    const auto next = p.model.press(p.game);
    ASSERT_TRUE(next && next->kind == HintShown::Kind::Mark);
    for (int n = 1; n <= kCells; ++n)
        if (n != next->cell && p.game.Square[n].shown && p.game.Square[n].pointer == kPointerArrow) {
            p.game.Square_Click(n);
            break;
        }
    p.model.think_ahead(p.game);
    EXPECT_EQ(p.source.asks, asked + 1);
}

TEST(HintModel, WaitsForALateAnswerOnlyForTheBoardItWasAskedFor) {
    Play p;
    p.source.late = true;
    p.place("9,23,28,21,15,4,27");
    EXPECT_FALSE(p.model.press(p.game));  // asked, not answered yet
    EXPECT_TRUE(p.model.waiting());
    EXPECT_TRUE(p.source.told);
    const std::uint64_t ticket = *p.source.ticket;
    EXPECT_FALSE(p.model.found(ticket + 1, *p.source.found, p.game));  // an older search's answer
    const auto shown = p.model.found(ticket, *p.source.found, p.game);
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->kind, HintShown::Kind::Mark);
    EXPECT_FALSE(p.model.waiting());
    EXPECT_TRUE(p.model.still_about(p.game));
}

TEST(HintModel, NeverShowsAnAnswerForABoardLeftSince) {
    Play p;
    p.source.late = true;
    p.place("9,23,28,21,15,4,27");
    EXPECT_FALSE(p.model.press(p.game));
    for (int n = 1; n <= kCells; ++n)
        if (p.game.Square[n].pointer == kPointerArrow) {
            p.game.Square_Click(n);
            break;
        }
    EXPECT_FALSE(p.model.found(*p.source.ticket, *p.source.found, p.game));
    EXPECT_FALSE(p.model.still_about(p.game));
}

TEST(HintModel, LeavingPlayDropsTheSearch) {
    Play p;
    p.place("9,23,28,21,15,4,27");
    p.model.think_ahead(p.game);
    const int cancels = p.source.cancels;
    p.game.cinsert_Click();
    p.model.think_ahead(p.game);
    EXPECT_EQ(p.source.cancels, cancels + 1);
    EXPECT_FALSE(p.model.waiting());
    p.model.think_ahead(p.game);
    EXPECT_EQ(p.source.cancels, cancels + 1);  // nothing asked, nothing to drop
}

}  // namespace
}  // namespace morvane::solver
