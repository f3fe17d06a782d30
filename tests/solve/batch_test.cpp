// What morvane-solve answers for a line of input.

#include <gtest/gtest.h>

#include <sstream>

#include "real_game.h"
#include "solve/batch.h"

namespace morvane::solve_test {
namespace {

std::vector<int> cells_of(const std::string& answer) {
    std::istringstream in(answer);
    std::vector<int> cells;
    for (int cell; in >> cell;) cells.push_back(cell);
    return cells;
}

TEST(Answer, ClicksThatWinOrUnsolvableOrTheReason) {
    solver::Solver solver;
    for (const char* line : {"5,05,,x,.5,2.,28", "1,,,,,,", "14,7,7,7,7,7,7", "28,1,2,3,4,5,6"}) {
        const std::string answer = solver::answer(line, solver);
        const auto clicks = cells_of(answer);
        ASSERT_FALSE(clicks.empty()) << line << " -> " << answer;
        std::array<std::string, 7> code;
        std::istringstream in(line);
        for (auto& box : code) std::getline(in, box, ',');
        Table table(code);
        EXPECT_EQ(replay(table.game, table.heard, clicks), "won") << line;
    }
    // Lost: the corner 22 can be left only for 15, whose yellow piece then
    // leaves no way on, so the game must end there; but the green piece on
    // 24, which must be landed on before, takes 16 and 23, and the red piece
    // on 8 or the yellow one on 15 close the last ways in.
    EXPECT_EQ(solver::answer("9,15,21,22,24,8,9", solver), "unsolvable");
}

TEST(Answer, RefusedAndMalformedLines) {
    solver::Solver solver;
    EXPECT_EQ(solver::answer("5,29,,,,,", solver), "invalid: " + std::string(kEachNumber));
    EXPECT_EQ(solver::answer("0,,,,,,", solver), "invalid: " + std::string(kTheNumber));
    EXPECT_EQ(solver::answer(",,,,,,", solver), "invalid: " + std::string(kTheNumber));
    EXPECT_EQ(solver::answer("5,1,297,,,,", solver), "invalid: " + std::string(kTheNumber));
    EXPECT_EQ(solver::answer("5,1,2", solver),
              "invalid: a board code has 7 boxes separated by commas, this line has 3");
    EXPECT_EQ(solver::answer("", solver),
              "invalid: a board code has 7 boxes separated by commas, this line has 1");
    EXPECT_EQ(solver::answer("1,2,3,4,5,6,7,8", solver),
              "invalid: a board code has 7 boxes separated by commas, this line has 8");
}

TEST(Answer, BoxesKeepTwoCharactersAndLinesMayEndInCarriageReturns) {
    solver::Solver solver;
    EXPECT_EQ(solver::answer("5,05,,x,.5,2.,28\r", solver), solver::answer("5,05,,x,.5,2.,28", solver));
    EXPECT_EQ(solver::answer("5,055,,xyz,.55,2.5,289", solver), solver::answer("5,05,,xy,.5,2.,28", solver));
    // Blanks count, as in a box: " 9" is placed on 9 but never fires.
    EXPECT_EQ(solver::answer("1, 9,,,,,", solver), solver::answer("1,,,,,,", solver));
}

// Lines are read whole up to the limit; a longer one is only skipped, and
// the lines after it are read as usual.
TEST(ReadLine, LinesUpToTheLimitAndLongerOnesSkipped) {
    using solver::LineRead;
    const std::string limit(solver::kLongestLine, '7');
    std::istringstream in("6,1,2,1,21,26,1\r\n\n" + limit + "\r\n" + limit + "8\n" +
                          std::string(1 << 20, ',') + "\n" + limit + "\r\r\nlast");
    const std::pair<LineRead, std::string> expected[] = {
        {LineRead::Line, "6,1,2,1,21,26,1"}, {LineRead::Line, ""},   {LineRead::Line, limit},
        {LineRead::TooLong, {}},             {LineRead::TooLong, {}}, {LineRead::TooLong, {}},
        {LineRead::Line, "last"},            {LineRead::End, ""},
    };
    std::string line;
    for (const auto& [read, text] : expected) {
        ASSERT_EQ(solver::read_line(in, line), read) << text.substr(0, 20);
        if (read != LineRead::TooLong) {
            EXPECT_EQ(line, text);
        }
        EXPECT_LE(line.capacity(), 2 * solver::kLongestLine);
    }
}

TEST(Deal, DealsAsTheRandomizerAndSummarizes) {
    solver::Solver solver;
    const auto report = solver::deal(200, 3, solver);
    EXPECT_EQ(report.boards, 200u);
    EXPECT_EQ(report.microseconds.size(), 200u);
    EXPECT_GT(report.solvable, 180u);
    EXPECT_LE(report.solvable, 200u);

    // The same boards as the game's own Randomizer deals from the same seed.
    Recorder heard;
    Morvane1 game(heard);
    game.dealer.seed(3);
    std::uint64_t solvable = 0;
    for (int board = 0; board < 200; ++board) {
        game.Randomizer_button_Click();
        solvable += solver.solve(solver::position_of(game)).has_value();
    }
    EXPECT_EQ(solvable, report.solvable);

    const auto times = solver::summarize({5, 1, 4, 2, 3});
    EXPECT_EQ(times.median, 3);
    EXPECT_EQ(times.p99, 5);
    EXPECT_EQ(times.max, 5);
    std::vector<double> hundred;
    for (int i = 1; i <= 100; ++i) hundred.push_back(i);
    EXPECT_EQ(solver::summarize(hundred).median, 50);
    EXPECT_EQ(solver::summarize(hundred).p99, 99);
    EXPECT_EQ(solver::summarize({}).max, 0);
}

}  // namespace
}  // namespace morvane::solve_test
