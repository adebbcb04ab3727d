#include "EngineProcess.h"

#include <gtest/gtest.h>

#include <chrono>
#include <sstream>
#include <string>
#include <vector>

using Lines = std::vector<std::string>;
using Clock = std::chrono::steady_clock;

namespace {

struct UciProcess : EngineProcess {
    UciProcess() : EngineProcess("--uci") {}
};

// Feeds the whole input, lets it end and returns every line written; the program must have
// ended on its own with status 0.
Lines transcript(const std::string& input) {
    UciProcess p;
    EXPECT_TRUE(p.started());
    p.send(input);
    EXPECT_EQ(p.finish(), 0) << input;
    return p.lines;
}

bool isBestMove(const std::string& line) {
    return line.rfind("bestmove ", 0) == 0;
}

bool isMoveText(const std::string& t) {
    return (t.size() == 4 || (t.size() == 5 && std::string("qrbn").find(t[4]) != t.npos)) &&
           t[0] >= 'a' && t[0] <= 'h' && t[1] >= '1' && t[1] <= '8' && t[2] >= 'a' && t[2] <= 'h' &&
           t[3] >= '1' && t[3] <= '8';
}

// "info depth D score cp|mate N time T nodes N nps R pv MOVE", nothing else.
bool isInfo(const std::string& line) {
    std::istringstream fields(line);
    std::string word[7], kind, move, extra;
    long long depth = -1, score = 0, time = -1, nodes = -1, nps = -1;
    fields >> word[0] >> word[1] >> depth >> word[2] >> kind >> score >> word[3] >> time >>
        word[4] >> nodes >> word[5] >> nps >> word[6] >> move;
    return fields && !(fields >> extra) && word[0] == "info" && word[1] == "depth" &&
           word[2] == "score" && (kind == "cp" || kind == "mate") && word[3] == "time" &&
           word[4] == "nodes" && word[5] == "nps" && word[6] == "pv" && depth >= 0 && time >= 0 &&
           nodes >= 0 && nps >= 0 && isMoveText(move);
}

// The lines of one search: its info lines, then exactly one best move, which is returned.
std::string searchOf(const Lines& lines) {
    EXPECT_FALSE(lines.empty());
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        EXPECT_TRUE(isInfo(lines[i])) << lines[i];
    }
    EXPECT_TRUE(!lines.empty() && isBestMove(lines.back()));
    return lines.empty() ? "" : lines.back();
}

long long msSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

const std::string mateInOne = "position fen 7k/8/6K1/8/8/8/8/R7 w - - 0 1\n";

} // namespace

TEST(UciTranscriptTest, HandshakeAndOptions) {
    const Lines lines = transcript(
        "uci\nsetoption name Threads value 2\nsetoption name threads value 65\n"
        "setoption name SEE value false\nsetoption name SEE value maybe\n"
        "setoption name Hash value 16\nsetoption Threads 3\nregister later\ndebug on\nisready\n");
    ASSERT_GE(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind("id name Veltmark ", 0), 0u) << lines[0];
    EXPECT_GT(lines[0].size(), 17u) << "no version: " << lines[0];
    EXPECT_EQ(Lines(lines.begin() + 1, lines.end()),
              (Lines{"id author the Veltmark developers",
                     "option name Threads type spin default 4 min 1 max 64",
                     "option name SEE type check default true", "uciok",
                     "info string Threads must be a whole number from 1 to 64, not \"65\"",
                     "info string SEE must be true or false, not \"maybe\"",
                     "info string No option named \"Hash\"",
                     "info string setoption needs: name <option> value <value>", "readyok"}));
}

TEST(UciTranscriptTest, BadLinesAreNamedAndChangeNothing) {
    EXPECT_EQ(transcript("hello world\n\n   \njoho isready\nstop\nponderhit\nposition\n"
                         "position fen 8/8 w\nposition fen 4k3/8/8/8/8/8/8/4K2r b - - 0 1\n"
                         "position startpos moves e2e4 e7e6 e4e6 g1f3\n"
                         "position startpos moves e2e4x\n"),
              (Lines{"info string Unknown command: hello world", "readyok",
                     "info string position needs startpos, or fen and a FEN record, then "
                     "optionally moves; not \"\"; the position is unchanged",
                     "info string Cannot read the FEN \"8/8 w\": the piece placement has 2 "
                     "ranks, not 8; the position is unchanged",
                     "info string Cannot read the FEN \"4k3/8/8/8/8/8/8/4K2r b - - 0 1\": White "
                     "is in check with Black to move; the position is unchanged",
                     "info string The move e4e6 (number 3 of the moves) is not a legal move "
                     "there; the position is unchanged",
                     "info string The move e2e4x (number 1 of the moves) is not a legal move "
                     "there; the position is unchanged"}));

    // A position that is refused leaves the last good one: Black, after 1. e4, still moves.
    UciProcess p;
    p.send("position startpos moves e2e4\nposition startpos moves e2e4 e7e5 e1e2 e8e7 e2e1 "
           "e7e5\ngo depth 2\n");
    ASSERT_TRUE(p.waitFor(isBestMove));
    EXPECT_EQ(p.finish(), 0);
    const std::string best = searchOf(Lines(p.lines.begin() + 1, p.lines.end()));
    EXPECT_TRUE(best[10] == '7' || best[10] == '8') << best;
}

TEST(UciTranscriptTest, GoBeforePositionSearchesTheStartAndScoresForTheSideToMove) {
    UciProcess p;
    p.send("go depth 3\n");
    ASSERT_TRUE(p.waitFor(isBestMove));
    const std::string best = searchOf(p.lines);
    EXPECT_TRUE(best[10] == '1' || best[10] == '2') << best;
    EXPECT_EQ(p.lines.end()[-2].rfind("info depth 3 ", 0), 0u) << p.lines.end()[-2];
    // A new game starts from the starting position again.
    p.send("position startpos moves e2e4\nucinewgame\ngo depth 1\n");
    ASSERT_TRUE(p.waitFor(isBestMove));
    EXPECT_TRUE(p.lines.back()[10] == '1' || p.lines.back()[10] == '2') << p.lines.back();

    EXPECT_EQ(p.finish(), 0);

    // A queen down is a bad score for Black to move too.
    const Lines down = transcript("position fen 4K3/8/8/8/8/8/8/Q3k3 b - - 0 1\ngo depth 1\n");
    searchOf(down);
    EXPECT_NE(down[0].find(" score cp -"), std::string::npos) << down[0];
}

TEST(UciTranscriptTest, MatesAndGamesThatAreOver) {
    Lines lines = transcript(mateInOne + "go depth 5\n");
    EXPECT_EQ(searchOf(lines), "bestmove a1a8");
    EXPECT_NE(lines.end()[-2].find(" score mate 1 "), std::string::npos) << lines.end()[-2];
    // "mate" limits the depth: a mate in one is found at once.
    EXPECT_EQ(searchOf(transcript(mateInOne + "go mate 1\n")), "bestmove a1a8");

    // No legal move: the game's score, and the null move.
    EXPECT_EQ(transcript(mateInOne + "position fen R6k/8/6K1/8/8/8/8/8 b - - 0 1\ngo\n"),
              (Lines{"info depth 0 score mate 0", "bestmove 0000"}));
    EXPECT_EQ(transcript("position fen 7k/5Q2/6K1/8/8/8/8/8 b - - 0 1\ngo wtime 100 btime 100\n"),
              (Lines{"info depth 0 score cp 0", "bestmove 0000"}));
}

TEST(UciTranscriptTest, LimitsEndTheSearch) {
    // Each ends a search that would otherwise run for days; the times with room for the pipes
    // and for a sanitizer build on a busy machine. The clock starts once the program is ready,
    // so that its start-up is not counted.
    const struct {
        std::string go;
        long long withinMs;
    } limits[] = {{"movetime 300", 2000},
                  {"wtime 500 btime 500", 500},
                  {"nodes 20000", 10000},
                  {"wtime 100000 btime 100000 movestogo 1 depth 2", 10000}};
    for (const auto& limit : limits) {
        UciProcess p;
        p.send("position startpos moves d2d4\nsetoption name Threads value 1\nisready\n");
        ASSERT_TRUE(p.waitForLine("readyok", 10000));
        p.send("go " + limit.go + "\n");
        const auto start = Clock::now();
        ASSERT_TRUE(p.waitFor(isBestMove, 10000)) << limit.go;
        EXPECT_LT(msSince(start), limit.withinMs) << limit.go;
        EXPECT_EQ(p.finish(), 0);
        ASSERT_EQ(p.lines.front(), "readyok");
        p.lines.erase(p.lines.begin());
        searchOf(p.lines);
        if (limit.go.find("depth 2") != std::string::npos) {
            EXPECT_EQ(p.lines.end()[-2].rfind("info depth 2 ", 0), 0u) << p.lines.end()[-2];
        }
    }
}

// isready and stop are answered at once while a search runs; an infinite or ponder search
// keeps its best move until told, even when it has nothing more to search.
TEST(UciTranscriptTest, ReadyAndStopAnswerPromptlyAndHeldMovesWait) {
    UciProcess p;
    p.send("go infinite\n");
    ASSERT_TRUE(p.waitFor(isInfo));
    long long slowestReady = 0;
    for (int i = 0; i < 10; ++i) {
        const auto start = Clock::now();
        p.send("isready\n");
        ASSERT_TRUE(p.waitForLine("readyok", 2000));
        slowestReady = std::max(slowestReady, msSince(start));
    }
    EXPECT_LT(slowestReady, 100);
    const auto stopped = Clock::now();
    p.send("stop\n");
    ASSERT_TRUE(p.waitFor(isBestMove, 2000));
    EXPECT_LT(msSince(stopped), 100);
    // A stop without a search, and one after the best move, say nothing.
    p.send("stop\nstop\nisready\n");
    ASSERT_TRUE(p.waitForLine("readyok"));

    for (const std::string go : {"go infinite", "go ponder wtime 100000 btime 100000"}) {
        p.send(mateInOne + go + "\n");
        ASSERT_TRUE(p.waitFor([](const std::string& l) { return l.find("mate 1") != l.npos; }));
        EXPECT_FALSE(p.waitFor(isBestMove, 300)) << go;
        p.send(go.find("ponder") != go.npos ? "ponderhit\n" : "stop\n");
        EXPECT_TRUE(p.waitForLine("bestmove a1a8", 2000)) << go;
    }
    EXPECT_EQ(p.finish(), 0);
    int bestMoves = 0;
    for (const std::string& line : p.lines) {
        bestMoves += isBestMove(line) ? 1 : 0;
    }
    EXPECT_EQ(bestMoves, 3);
}

TEST(UciTranscriptTest, QuitAndEndOfInputDuringASearch) {
    for (const bool sayQuit : {true, false}) {
        UciProcess p;
        p.send("position startpos\ngo infinite\n");
        ASSERT_TRUE(p.waitFor(isInfo));
        const auto start = Clock::now();
        if (sayQuit) {
            p.send("quit\ngo depth 1\n");
        }
        EXPECT_EQ(p.finish(5000), 0);
        EXPECT_LT(msSince(start), 2000);
    }
}
