#include "XBoardProcess.h"

#include <gtest/gtest.h>

#include <chrono>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

using Lines = std::vector<std::string>;

namespace {

// Feeds the whole input, lets it end and returns every line written; the program must have
// ended on its own with status 0.
Lines transcript(const std::string& input) {
    XBoardProcess p;
    EXPECT_TRUE(p.started());
    p.send(input);
    EXPECT_EQ(p.finish(), 0) << input;
    return p.lines;
}

const std::string notImplemented = "Error (not implemented): ";
const std::string badParameter = "Error (parameter is missing or has an illegal value): ";
const std::string cannotUndo = "tellusererror Can't undo in the initial position.";
// White: Kg6, Ra1; Black: Kh8. White to move mates with a1a8 only.
const std::string mateInOne = "edit\n#\nKg6\nRa1\nc\nKh8\n.\n";

// Depth, score, centiseconds, nodes and a move, nothing else.
bool isThinkingLine(const std::string& line) {
    std::istringstream fields(line);
    int depth = 0;
    int score = 0;
    int centiseconds = 0;
    unsigned long long nodes = 0;
    std::string move;
    std::string extra;
    return static_cast<bool>(fields >> depth >> score >> centiseconds >> nodes >> move) &&
           !(fields >> extra) && depth >= 1 && centiseconds >= 0 && isMoveText(move);
}

} // namespace

TEST(TranscriptTest, FeatureLinesFollowTheCurrentOptions) {
    const Lines features = {
        "feature draw=0",
        "feature sigint=0",
        "feature analyze=0",
        "feature myname=\"Veltmark\"",
        "feature variants=\"normal\"",
        "feature name=0",
        "feature nps=0",
        "feature debug=1",
        "feature smp=1",
        "feature option=\"Static Exchange Evaluation -check 1\"",
        "feature option=\"Announce when the game ends -check 1\"",
        "feature done=1",
    };
    EXPECT_EQ(transcript("xboard\nprotover 2\n"), features);

    Lines changed = features;
    changed[9] = "feature option=\"Static Exchange Evaluation -check 0\"";
    changed[10] = "feature option=\"Announce when the game ends -check 0\"";
    EXPECT_EQ(transcript("protover 1\noption Static Exchange Evaluation=0\n"
                         "option Announce when the game ends=0\nprotover 3\nprotover x\n"),
              [&] {
                  Lines l = changed;
                  l.push_back(badParameter + "protover x");
                  return l;
              }());
}

TEST(TranscriptTest, NumericArgumentsAreChecked) {
    EXPECT_EQ(transcript("sd 0\nsd 256\nsd x\nsd 255\nsd 99999999999999999999\nsd -3\n"
                         "st 0\nst 3600\nst 2.5\nst\n"),
              (Lines{badParameter + "sd 0", badParameter + "sd 256", badParameter + "sd x",
                     badParameter + "sd 99999999999999999999", badParameter + "sd -3",
                     badParameter + "st 0", badParameter + "st "}));
    EXPECT_EQ(transcript("cores 0\ncores 256\ncores abc\ncores 2\ncores 1x\nprotover 0\n"),
              (Lines{badParameter + "cores 0", badParameter + "cores 256",
                     badParameter + "cores abc", badParameter + "protover 0"}));
}

TEST(TranscriptTest, OptionErrors) {
    EXPECT_EQ(transcript("option Announce when the game ends=2\n"
                         "option   Static Exchange Evaluation=yes\n"
                         "option Ponder=1 2\n"
                         "option Static Exchange Evaluation=1\r\n"
                         "option Clear Hash\r\nfoo\n"),
              (Lines{"Error (illegal option value): option Announce when the game ends=2",
                     "Error (illegal option value): option Static Exchange Evaluation=yes",
                     "Error (illegal option name): option Ponder=1 2",
                     "Error (illegal option name): option Clear Hash", notImplemented + "foo"}));
}

TEST(TranscriptTest, UnknownCommandsAndSkippedLines) {
    EXPECT_EQ(transcript("foo bar baz\nname Some Body\nrating 2100 1900\notim 100\nhard\n"
                         "ping 7\nrandom\ncomputer\ndraw\naccepted myname\nrejected ping x\n"
                         "e2e4x\n"),
              (Lines{notImplemented + "foo bar baz", notImplemented + "hard",
                     notImplemented + "ping 7", notImplemented + "e2e4x"}));
}

TEST(TranscriptTest, UndoAndRemoveAtTheStart) {
    // After the failed remove, e2e4 is still on the board: one undo works, the next does not.
    EXPECT_EQ(transcript("undo\nforce\nremove\ne2e4\nremove\nundo\nundo\n"),
              (Lines{cannotUndo, cannotUndo, cannotUndo, cannotUndo}));
    // A move the rules forbid is refused and leaves the game as it was.
    EXPECT_EQ(transcript("force\ne2e5\ne7e5\ne2e4\nremove\nundo\n"),
              (Lines{"Illegal move: e2e5", "Illegal move: e7e5", cannotUndo}));
}

TEST(TranscriptTest, EditMode) {
    // Two kings and a pawn, no castling rights; the set-up cannot be undone.
    EXPECT_EQ(transcript("force\nedit\n#\nKe1\nPe2\nc\nKe8\n.\nundo\ne1g1\ne2e4\n"),
              (Lines{cannotUndo, "Illegal move: e1g1"}));
    // Each king and rook at home get their castling right back, and no other.
    EXPECT_EQ(transcript("force\nedit\n#\nKe1\nRh1\nRa2\nc\nKe8\nRa8\n.\ne1c1\ne1g1\ne8c8\n"),
              (Lines{"Illegal move: e1c1"}));
    EXPECT_EQ(transcript("edit\nPe9\npe2\nKe\nKe1x\nxe2\n.\nforce\ne2e4\n"),
              (Lines{"Error (unknown command in edit mode): Pe9",
                     "Error (unknown command in edit mode): pe2",
                     "Error (unknown command in edit mode): Ke",
                     "Error (unknown command in edit mode): Ke1x", "Illegal move: e2e4"}));
    // Black without a piece: rejected, and the game starts from the starting array again.
    EXPECT_EQ(transcript("edit\n#\nKe1\n.\nforce\ne2e4\n"),
              (Lines{"tellusererror The position is invalid. Veltmark has rejected it."}));
    // No kings at all is accepted: the rook stands where it was put.
    EXPECT_EQ(transcript("edit\n#\nRa1\nc\nPh7\n.\nforce\na1a2\n"), Lines{});
}

// Edit mode accepts two kings of a colour; the search then takes the king that the record
// follows (Black's Ra8xa1) or starts with that king already removed (xe3). The checked builds
// assert that the record stays on a king.
TEST(TranscriptTest, SetUpsWithTwoWhiteKingsAreSearched) {
    for (const std::string setUp : {"edit\n#\nKe1\nKa1\nc\nKe8\nRa8\n.\nblack\n",
                                    "edit\n#\nKe1\nKe3\nPa2\nxe3\nc\nKe8\n.\n"}) {
        XBoardProcess p;
        p.send("nopost\nsd 3\n" + setUp + "go\n");
        EXPECT_TRUE(p.waitFor(isMoveLine)) << setUp;
        EXPECT_EQ(p.finish(), 0) << setUp;
    }
}

TEST(TranscriptTest, SixteenPiecesPerSideAtMost) {
    std::string sixteen = "edit\n#\n";
    for (char file = 'a'; file <= 'h'; ++file) {
        sixteen += std::string("P") + file + "3\nN" + file + "4\n";
    }
    sixteen += "c\nKh8\n";
    EXPECT_EQ(transcript(sixteen + ".\n"), Lines{});
    EXPECT_EQ(transcript(sixteen + "c\nQa1\n.\n"),
              (Lines{"tellusererror The position is invalid. Veltmark has rejected it."}));
}

TEST(TranscriptTest, ResultClaimsOnlyAClaimableDraw) {
    const std::string shuffle = "g1f3\ng8f6\nf3g1\nf6g8\n";
    // The third occurrence of the starting array: the claim is accepted and the game is over.
    XBoardProcess claimed;
    claimed.send("force\nnopost\nsd 2\n" + shuffle + shuffle + "result 1/2-1/2 {claim}\ngo\n");
    EXPECT_TRUE(claimed.waitForLine("1/2-1/2 {Threefold repetition}"));
    EXPECT_EQ(claimed.finish(), 0);
    EXPECT_EQ(claimed.lines,
              (Lines{"tellusererror No legal moves", "1/2-1/2 {Threefold repetition}"}));

    // Only the second occurrence: the game goes on.
    XBoardProcess running;
    running.send("force\nnopost\nsd 2\n" + shuffle + "result 1/2-1/2 {claim}\ngo\n");
    EXPECT_TRUE(running.waitFor(isMoveLine));
    EXPECT_EQ(running.finish(), 0);
    ASSERT_EQ(running.lines.size(), 1u);
    EXPECT_TRUE(isMoveLine(running.lines[0])) << running.lines[0];
}

TEST(TranscriptTest, MateAnnouncedAfterEitherSidesMove) {
    XBoardProcess engine;
    engine.send("nopost\nsd 2\n" + mateInOne + "go\n");
    EXPECT_TRUE(engine.waitForLine("1-0 {White has won}"));
    EXPECT_EQ(engine.finish(), 0);
    EXPECT_EQ(engine.lines, (Lines{"move a1a8", "1-0 {White has won}"}));

    XBoardProcess silent;
    silent.send("option Announce when the game ends=0\nnopost\nsd 2\n" + mateInOne + "go\n");
    EXPECT_TRUE(silent.waitForLine("move a1a8"));
    EXPECT_EQ(silent.finish(), 0);
    EXPECT_EQ(silent.lines, Lines{"move a1a8"});

    // The peer mates, and stalemates: the result comes at once, and the engine does not start.
    EXPECT_EQ(transcript(mateInOne + "a1a8\n"), Lines{"1-0 {White has won}"});
    EXPECT_EQ(transcript("edit\n#\nKg6\nQe7\nc\nKh8\n.\ne7f7\n"), Lines{"1/2-1/2 {Stalemate}"});
}

TEST(TranscriptTest, GoInAMatedPosition) {
    XBoardProcess p;
    p.send("edit\n#\nKg6\nRa8\nc\nKh8\n.\nblack\ngo\n");
    EXPECT_TRUE(p.waitForLine("1-0 {White has won}"));
    EXPECT_EQ(p.finish(), 0);
    EXPECT_EQ(p.lines, (Lines{"tellusererror No legal moves", "1-0 {White has won}"}));
}

TEST(TranscriptTest, EngineAnswersAMoveWithThinkingLines) {
    XBoardProcess p;
    p.send("new\nsd 2\ncores 1\ne2e4\n");
    ASSERT_TRUE(p.waitFor(isMoveLine));
    EXPECT_EQ(p.finish(), 0);
    ASSERT_GE(p.lines.size(), 2u);
    for (std::size_t i = 0; i + 1 < p.lines.size(); ++i) {
        EXPECT_TRUE(isThinkingLine(p.lines[i]) && p.lines[i][0] <= '2') << p.lines[i];
    }
    // Black answers from its first two ranks.
    const std::string& move = p.lines.back();
    EXPECT_TRUE(isMoveLine(move) && (move[6] == '7' || move[6] == '8')) << move;
}

TEST(TranscriptTest, QuitAndEndOfInputWhileThinking) {
    for (const bool sayQuit : {true, false}) {
        XBoardProcess p;
        p.send("st 600\nsd 100\ngo\n");
        // The first thinking line shows that the search runs.
        ASSERT_TRUE(p.waitFor([](const std::string& l) { return !l.empty(); }));
        const auto start = std::chrono::steady_clock::now();
        if (sayQuit) {
            p.send("quit\nforce\n");
        }
        EXPECT_EQ(p.finish(5000), 0);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
        for (const auto& line : p.lines) {
            EXPECT_NE(line.rfind("move ", 0), 0u) << "a cancelled turn played " << line;
        }
    }
}

TEST(TranscriptTest, UnreadableNumbersAndEndOfInputDoNotHang) {
    EXPECT_EQ(transcript("time abc\nlevel x 5 0\nfoo\n"),
              (Lines{notImplemented + "abc", notImplemented + "x 5 0", notImplemented + "foo"}));
    EXPECT_EQ(transcript("time"), Lines{});
    EXPECT_EQ(transcript("edit\n#\nKe1"), Lines{});
    EXPECT_EQ(transcript("option Static Exchange"), Lines{});
    EXPECT_EQ(transcript("foo"), Lines{notImplemented + "foo"});
}

// A GUI's truncated line: the command gets its error reply where it has one, is ignored
// otherwise, and the quit on the next line ends the program at once.
TEST(TranscriptTest, ACommandWithoutItsArgumentLeavesTheNextLineAlone) {
    const std::pair<std::string, Lines> cases[] = {
        {"sd", {badParameter + "sd "}},
        {"st \r", {badParameter + "st "}},
        {"cores", {badParameter + "cores "}},
        {"protover", {badParameter + "protover "}},
        {"option", {"Error (illegal option name): option "}},
        {"level", {}},
        {"level 40 5", {}},
        {"time", {}},
        {"result", {}},
        {"accepted", {}},
        {"otim", {}},
        {"name", {}},
        {"rating", {}},
        {"rejected", {}},
    };
    for (const auto& [command, replies] : cases) {
        XBoardProcess p;
        p.send(command + "\nquit\n");
        EXPECT_EQ(p.waitForExit(5000), 0) << command;
        EXPECT_EQ(p.lines, replies) << command;
    }
}

// A GUI without setboard sets up a position with Black to move by a move, then edit.
TEST(TranscriptTest, ClearingTheBoardInEditModeKeepsTheSideToMove) {
    const std::string pieces =
        "Ra1\nNb1\nBc1\nQd1\nKe1\nBf1\nNg1\nRh1\nPa3\nPb2\nPc2\nPd2\nPe2\nPf2\n"
        "Pg2\nPh2\nc\nRa8\nNb8\nBc8\nQd8\nKe8\nBf8\nNg8\nRh8\nPa7\nPb7\nPc7\n"
        "Pd7\nPe7\nPf7\nPg7\nPh7\n";
    EXPECT_EQ(transcript("force\na2a3\nedit\n#\n" + pieces + ".\nd7d5\ne2e4\nd5e4\n"), Lines{});
}

TEST(TranscriptTest, NopostOutlastsNew) {
    XBoardProcess p;
    p.send("nopost\nnew\nsd 2\ngo\n");
    EXPECT_TRUE(p.waitFor(isMoveLine));
    EXPECT_EQ(p.finish(), 0);
    ASSERT_EQ(p.lines.size(), 1u);
    EXPECT_TRUE(isMoveLine(p.lines[0])) << p.lines[0];
}

// Positions repeat only with the same castling rights for both sides. The engine claims a draw
// at depth 2 here when the rules allow it.
TEST(TranscriptTest, RepetitionClaimsCompareEveryCastlingRight) {
    const std::string start = "force\nnopost\nsd 2\n";
    const std::string shuffle = "g1f3\ng8f6\nf3g1\nf6g8\n";
    // The starting array for the third time, but Black's rook went to g8 and back after the
    // second: the engine plays on.
    XBoardProcess engine;
    engine.send(start + shuffle + "g1f3\ng8f6\nf3g1\nh8g8\ng1f3\ng8h8\nf3g1\nf6g8\ngo\n");
    EXPECT_TRUE(engine.waitFor(isMoveLine));
    EXPECT_EQ(engine.finish(), 0);
    EXPECT_EQ(engine.lines.size(), 1u);

    // The true third occurrence is still claimed.
    XBoardProcess claiming;
    claiming.send(start + shuffle + shuffle + "go\n");
    EXPECT_TRUE(claiming.waitForLine("1/2-1/2 {Threefold repetition}"));
    EXPECT_EQ(claiming.finish(), 0);
    EXPECT_EQ(claiming.lines, Lines{"1/2-1/2 {Threefold repetition}"});

    // White's rook leaves h1 between the first and second occurrence of the position with Black
    // to move: the GUI's claim is refused and the engine moves for Black.
    XBoardProcess refused;
    refused.send(start + "g1f3\ng8f6\nh1g1\nf6g8\ng1h1\ng8f6\nb1c3\nf6g8\nc3b1\n"
                         "result 1/2-1/2 {claim}\ngo\n");
    EXPECT_TRUE(refused.waitFor(isMoveLine));
    EXPECT_EQ(refused.finish(), 0);
    ASSERT_EQ(refused.lines.size(), 1u);
    const std::string& move = refused.lines[0];
    EXPECT_TRUE(isMoveLine(move) && (move[6] == '7' || move[6] == '8')) << move;
}
