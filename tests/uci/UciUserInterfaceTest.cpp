#include "UciUserInterface.h"
#include "Settings.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

// Commands that come while a search runs, all read at once: each "go" is answered by exactly one
// best move however the commands fall against the turns (the thread sanitizer build watches the
// hand-overs).
TEST(UciUserInterfaceTest, EveryGoIsAnsweredOnceWhateverInterruptsIt) {
    settings = defaultSettings();
    std::istringstream in("uci\nposition startpos moves e2e4\ngo depth 3\ngo infinite\nisready\n"
                          "stop\nsetoption name Threads value 2\ngo movetime 50\n"
                          "position startpos\ngo ponder movetime 100\nponderhit\ngo nodes 3000\n"
                          "ucinewgame\ngo infinite\nsetoption name SEE value false\n"
                          "go depth 2\nstop\nstop\nquit\ngo depth 1\n");
    std::ostringstream out;
    UciUserInterface uci("test", in, out);
    theUserInterface = &uci;
    EXPECT_EQ(uci.run(), 0);
    theUserInterface = nullptr;

    std::istringstream lines(out.str());
    int bestMoves = 0;
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("bestmove ", 0) == 0) {
            ++bestMoves;
            EXPECT_EQ(line.size(), 13u) << line; // a move, never 0000 here
        } else {
            EXPECT_TRUE(line.rfind("info ", 0) == 0 || line.rfind("id ", 0) == 0 ||
                        line.rfind("option ", 0) == 0 || line == "uciok" || line == "readyok")
                << line;
        }
    }
    EXPECT_EQ(bestMoves, 7) << out.str();
    EXPECT_EQ(settings.threadCount, 2);
    EXPECT_EQ(settings.useSee, 0);
}
