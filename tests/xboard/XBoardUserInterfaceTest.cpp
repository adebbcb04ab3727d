#include "XBoardUserInterface.h"
#include "ProtocolNumbers.h"
#include "Settings.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

// What the tests read and set inside the front-end, by name.
struct XBoardTestSeam {
    static Position& game(XBoardUserInterface& xb) { return xb.game_; }
    static void setPost(XBoardUserInterface& xb, bool on) { xb.post_ = on; }
    static void setDebug(XBoardUserInterface& xb, bool on) { xb.debug_ = on; }
    static bool levelMode(const XBoardUserInterface& xb) { return xb.levelMode_; }
    static int32_t movesToGo(const XBoardUserInterface& xb) { return xb.movesToGo_.load(); }
    static void setMovesToGo(XBoardUserInterface& xb, int32_t n) { xb.movesToGo_ = n; }
    static int32_t timeLeftMs(const XBoardUserInterface& xb) { return xb.timeLeftMs_.load(); }
    static void setTimeLeftMs(XBoardUserInterface& xb, int32_t ms) { xb.timeLeftMs_ = ms; }
    static int32_t incrementMs(const XBoardUserInterface& xb) { return xb.incrementMs_; }
    static int32_t timeForMove(const XBoardUserInterface& xb) { return xb.timeForMove(); }
    static bool engineAborted(const XBoardUserInterface& xb) { return xb.engineAborted_.load(); }
    static bool engineStopped(const XBoardUserInterface& xb) {
        return xb.engineState_.load() == XBoardUserInterface::Stopped;
    }
    static bool engineThinking(const XBoardUserInterface& xb) { return xb.engineThinking(); }
    static bool enginePassRunning(const XBoardUserInterface& xb) {
        return xb.enginePool_.passRunning();
    }
};

namespace {

using Seam = XBoardTestSeam;

// The front-end on string streams, installed as the program's user interface.
class XBoardTest : public ::testing::Test {
protected:
    void SetUp() override {
        settings = defaultSettings();
        theUserInterface = nullptr;
    }
    void TearDown() override { theUserInterface = nullptr; }

    // Runs the whole script as the command loop and returns what it wrote.
    std::string run(XBoardUserInterface& xb, const std::string& script) {
        in.str(script);
        in.clear();
        theUserInterface = &xb;
        EXPECT_EQ(xb.run(), 0);
        return taken();
    }

    std::string taken() {
        std::string s = out.str();
        out.str("");
        return s;
    }

    std::istringstream in;
    std::ostringstream out;
};

} // namespace

TEST(ProtocolNumbersTest, LeadingDigitsAndLevelBaseTime) {
    EXPECT_EQ(leadingDigitsValue("12abc"), 12);
    EXPECT_EQ(leadingDigitsValue("-7"), -7);
    EXPECT_EQ(leadingDigitsValue("+3x"), 3);
    EXPECT_EQ(leadingDigitsValue("x12"), 0);
    EXPECT_EQ(leadingDigitsValue(""), 0);
    EXPECT_GT(leadingDigitsValue("99999999999999999999999"), 255);
    EXPECT_EQ(levelBaseTimeMs("5"), 300000);
    EXPECT_EQ(levelBaseTimeMs("5:30"), 330000);
    EXPECT_EQ(levelBaseTimeMs("0:45"), 45000);
    EXPECT_EQ(levelBaseTimeMs("1.5"), 60000);
    EXPECT_EQ(clampToInt32(levelBaseTimeMs("99999999999")), 2147483647);
}

TEST_F(XBoardTest, ThinkingLineConvertsScoreAndTime) {
    XBoardUserInterface xb(in, out);
    SearchReport report;
    report.depth = 7;
    report.score = -101;
    report.elapsedMs = 1999;
    report.nodes = 12345678901ULL;
    report.bestMoveText = "e7e5";
    Seam::game(xb).sideToMove = 0;
    xb.reportSearchProgress(report);
    Seam::game(xb).sideToMove = 1;
    report.score = 101;
    xb.reportSearchProgress(report);
    report.score = 3;
    report.elapsedMs = 9;
    xb.reportSearchProgress(report);
    EXPECT_EQ(taken(), "7 50 199 12345678901 e7e5\n7 50 199 12345678901 e7e5\n"
                       "7 1 0 12345678901 e7e5\n");
    Seam::setPost(xb, false);
    xb.reportSearchProgress(report);
    EXPECT_EQ(taken(), "");
}

TEST_F(XBoardTest, MessagesAndDebugLines) {
    XBoardUserInterface xb(in, out);
    xb.showError("e");
    xb.showWarning("w");
    xb.showInformation("i");
    xb.logMessage("hidden");
    Seam::setDebug(xb, true);
    xb.logMessage("shown");
    EXPECT_EQ(taken(), "tellusererror e\ntelluser Warning: w\ntelluser Info:i\n# shown\n");
}

TEST_F(XBoardTest, QuestionsRepeatUntilUnderstoodAndGiveUpAtTheEnd) {
    XBoardUserInterface xb(in, out);
    in.str("maybe\n_answer Y\n_answer n\r\n");
    EXPECT_TRUE(xb.askYesNo("Draw?"));
    EXPECT_FALSE(xb.askYesNo("Draw?"));
    EXPECT_FALSE(xb.askYesNo("Draw?"));
    EXPECT_EQ(taken(), "askuser _answer Draw? (y/n)\naskuser _answer Draw? (y/n)\n"
                       "askuser _answer Draw? (y/n)\naskuser _answer Draw? (y/n)\n");

    in.clear();
    in.str("_answer x\n_answern\n_answer n\n_answer B\n");
    Seam::game(xb).sideToMove = 0;
    EXPECT_EQ(xb.askPromotionPiece(), BlackKnight);
    Seam::game(xb).sideToMove = 1;
    EXPECT_EQ(xb.askPromotionPiece(), WhiteBishop);
    EXPECT_EQ(xb.askPromotionPiece(), WhiteQueen);
    const std::string question = "askuser _answer Promote your pawn to a Queen (Q), kNight (N), "
                                 "Rook (R) or Bishop (B)? (Q/N/R/B)\n";
    std::string expected;
    for (int i = 0; i < 5; ++i) {
        expected += question;
    }
    EXPECT_EQ(taken(), expected);
}

TEST_F(XBoardTest, DrawClaimNamesTheRuleAndCancelsTheMove) {
    XBoardUserInterface xb(in, out);
    Seam::game(xb).halfmoveClock = 100;
    xb.claimDraw();
    EXPECT_TRUE(Seam::game(xb).drawClaimed);
    EXPECT_TRUE(Seam::engineAborted(xb));
    EXPECT_TRUE(Seam::engineStopped(xb));
    Seam::game(xb).halfmoveClock = 12;
    // Written whatever the announcement option says.
    settings.announceGameEnd = 0;
    xb.claimDraw();
    EXPECT_EQ(taken(), "1/2-1/2 {Fifty-move rule}\n1/2-1/2 {Threefold repetition}\n");
}

TEST_F(XBoardTest, LevelCountsDownAfterBlackMoves) {
    XBoardUserInterface xb(in, out);
    EXPECT_EQ(run(xb, "level 40 5 0\nforce\ne2e4\n"), "");
    EXPECT_TRUE(Seam::levelMode(xb));
    EXPECT_EQ(Seam::movesToGo(xb), 40);
    EXPECT_EQ(run(xb, "level 2 5 0\nforce\ne2e4\ne7e5\ng1f3\nb8c6\nf1c4\ng8f6\n"), "");
    EXPECT_EQ(Seam::movesToGo(xb), 0);
    EXPECT_EQ(Seam::timeForMove(xb), 300000 / 60);

    EXPECT_EQ(run(xb, "level 40 0:30 2\nforce\ne2e4\ne7e5\n"), "");
    EXPECT_EQ(Seam::movesToGo(xb), 39);
    EXPECT_EQ(Seam::incrementMs(xb), 2000);
    EXPECT_EQ(Seam::timeForMove(xb), 30000 / 39 + 2000);
    // Never the whole clock: a tenth of it, at most a second, stays in hand.
    Seam::setTimeLeftMs(xb, 1500);
    EXPECT_EQ(Seam::timeForMove(xb), 1350);
    Seam::setMovesToGo(xb, 1);
    Seam::setTimeLeftMs(xb, 60000);
    EXPECT_EQ(Seam::timeForMove(xb), 59000);

    // "new" forgets the time control but keeps the time per move.
    EXPECT_EQ(run(xb, "st 3\n"), "");
    EXPECT_FALSE(Seam::levelMode(xb));
    EXPECT_EQ(Seam::timeForMove(xb), 3000);
    EXPECT_EQ(run(xb, "level 40 5 0\nnew\n"), "");
    EXPECT_FALSE(Seam::levelMode(xb));
    EXPECT_EQ(Seam::timeForMove(xb), 3000);
}

TEST_F(XBoardTest, TimeCommandIgnoresImplausiblyLowClocks) {
    XBoardUserInterface xb(in, out);
    EXPECT_EQ(run(xb, "time 20000\n"), "");
    EXPECT_EQ(Seam::timeLeftMs(xb), 200000);
    EXPECT_EQ(run(xb, "time 10000\naccepted debug\ntime 10000\n"),
              "# Working around an Arena bug by ignoring the \"time\" command.\n");
    EXPECT_EQ(Seam::timeLeftMs(xb), 300000);
    EXPECT_EQ(run(xb, "time 99999999999\nfoo\n"), "Error (not implemented): foo\n");
}

TEST_F(XBoardTest, CommandsSetTheSettings) {
    XBoardUserInterface xb(in, out);
    EXPECT_EQ(run(xb, "sd 7\ncores 2\noption Static Exchange Evaluation=0\nblack\n"), "");
    EXPECT_EQ(settings.maxDepth, 7);
    EXPECT_EQ(settings.threadCount, 2);
    EXPECT_EQ(settings.useSee, 0);
    EXPECT_EQ(settings.whitePlayer, 1);
    EXPECT_EQ(settings.blackPlayer, 0);
    EXPECT_EQ(Seam::game(xb).sideToMove, 0);
    EXPECT_EQ(run(xb, "force\n"), "");
    EXPECT_EQ(settings.whitePlayer, 0);
    EXPECT_EQ(settings.blackPlayer, 0);
    // The new game of run() restores the depth limit.
    EXPECT_EQ(run(xb, "white\n"), "");
    EXPECT_EQ(settings.maxDepth, 100);
    EXPECT_EQ(settings.blackPlayer, 1);
}

// Commands that arrive while the engine thinks, all at once: the turns and the command loop
// must not trip over each other (this is what the sanitizer builds watch), and every line
// written is a whole protocol line.
TEST_F(XBoardTest, CommandsRacingAThinkingEngine) {
    XBoardUserInterface xb(in, out);
    std::string script = "cores 2\nsd 3\n";
    for (int i = 0; i < 20; ++i) {
        script += "new\ne2e4\nsd 2\nforce\ngo\nst 1\ng1f3\n?\nundo\nremove\ngo\nlevel 40 5 0\n"
                  "edit\n#\nKe1\nRa1\nc\nKe8\n.\ngo\nwhite\ngo\nblack\ncores 1\n";
    }
    const std::string output = run(xb, script + "go\n");
    EXPECT_FALSE(Seam::enginePassRunning(xb));
    EXPECT_FALSE(Seam::engineThinking(xb));
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        const bool known = line.rfind("move ", 0) == 0 || (line[0] >= '1' && line[0] <= '9') ||
                           line == "tellusererror Can't undo in the initial position." ||
                           line == "Illegal move: g1f3";
        EXPECT_TRUE(known) << line;
    }
}
