#include "XBoardProcess.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Plays the given number of rounds in one program: the engine answers 1. e4, and the instant
// its move line arrives the peer sends the command under test, which must be answered by a
// second engine move. A command read while the ending turn is still winding up was lost.
void everyCommandAnsweredAtOnce(const std::string& command, int rounds) {
    XBoardProcess p;
    ASSERT_TRUE(p.started());
    for (int round = 0; round < rounds; ++round) {
        p.send("new\nnopost\nsd 1\ne2e4\n");
        ASSERT_TRUE(p.waitFor(isMoveLine)) << "round " << round << ": no answer to e2e4";
        p.send(command);
        ASSERT_TRUE(p.waitFor(isMoveLine, 5000))
            << "round " << round << ": no answer to " << command;
    }
    EXPECT_EQ(p.finish(), 0);
}

} // namespace

TEST(TurnHandOverTest, GoRightAfterTheEnginesMoveIsAnswered) {
    everyCommandAnsweredAtOnce("go\n", 400);
}

// g1f3 is legal after 1. e4 whatever Black replied.
TEST(TurnHandOverTest, MoveRightAfterTheEnginesMoveIsAnswered) {
    everyCommandAnsweredAtOnce("g1f3\n", 400);
}

// "?" read while the turn is only getting going must still end its search after depth 1.
TEST(TurnHandOverTest, QuestionMarkAsTheTurnStartsIsObeyed) {
    XBoardProcess p;
    ASSERT_TRUE(p.started());
    for (int round = 0; round < 20; ++round) {
        p.send("new\nnopost\nst 600\ne2e4\n?\n");
        ASSERT_TRUE(p.waitFor(isMoveLine, 10000)) << "round " << round;
    }
    EXPECT_EQ(p.finish(), 0);
}
