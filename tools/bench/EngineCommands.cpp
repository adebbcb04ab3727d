#include "BenchCommands.h"

#include "Clock.h"
#include "Fen.h"
#include "NodeCounter.h"
#include "SearchControl.h"
#include "Settings.h"
#include "UserInterface.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

// Prints what the engine tells the user; answers no questions.
class ConsoleUserInterface : public UserInterface {
public:
    bool printReports = true;
    // The last report: the depth and score that the search ended with.
    int lastDepth = 0, lastScore = 0;
    void showError(std::string message) override { std::printf("error: %s\n", message.c_str()); }
    void showWarning(std::string message) override {
        std::printf("warning: %s\n", message.c_str());
    }
    void showInformation(std::string message) override {
        std::printf("info: %s\n", message.c_str());
    }
    void logMessage(std::string line) override { std::printf("# %s\n", line.c_str()); }
    bool askYesNo(std::string) override { return false; }
    int askPromotionPiece() override { return WhiteQueen; }
    void reportSearchProgress(SearchReport r) override {
        lastDepth = r.depth;
        lastScore = r.score;
        if (printReports) {
            std::printf("depth %d score %d ms %d nodes %llu best %s\n", r.depth, r.score,
                        r.elapsedMs, static_cast<unsigned long long>(r.nodes),
                        r.bestMoveText.c_str());
            std::fflush(stdout);
        }
    }
    void claimDraw() override { std::printf("draw claimed\n"); }
};

ConsoleUserInterface console;

struct SearchOutcome {
    std::string move;
    int score = 0;
    int depth = 0;
    uint64_t nodes = 0;
    double ms = 0;
};

SearchOutcome runSearch(Position& game, int depth, int timeMs) {
    redoHead = &game;
    createSearchPool(&game, settings.threadCount);
    SearchOutcome out;
    console.lastDepth = console.lastScore = 0;
    UserInterface* saved = theUserInterface;
    theUserInterface = &console;
    const auto start = std::chrono::steady_clock::now();
    Move best = game.bestMove(timeMs, depth);
    out.ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    theUserInterface = saved;
    out.move = best.toString();
    out.nodes = nodeCount.load();
    out.depth = console.lastDepth;
    out.score = console.lastScore;
    destroySearchPool();
    return out;
}

} // namespace

bool readPosition(const char* fen, Position& p) {
    try {
        p = readFen(fen).position;
        return true;
    } catch (const InvalidFenException& e) {
        std::fprintf(stderr, "not a FEN position: %s: %s\n", e.what(), fen);
        return false;
    }
}

int evalCommand(const char* fen) {
    theUserInterface = &console;
    Position p{};
    if (!readPosition(fen, p)) {
        return 2;
    }
    Position scratch = p;
    MoveList list(&scratch);
    std::printf("%d\n", p.evaluate(list, scratch));
    return 0;
}

int searchCommand(int argc, char** argv) {
    theUserInterface = &console;
    console.printReports = true;
    // veltmark-bench search "<FEN>" --depth N [--time MS] [--threads T] [--see 0|1]
    //                      [--stop-after MS]
    const char* fen = argv[0];
    int depth = 0, timeMs = 1000000000, stopAfterMs = -1;
    settings = defaultSettings();
    settings.threadCount = 1;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        const int value = std::atoi(argv[i + 1]);
        if (option == "--depth") {
            depth = value;
        } else if (option == "--time") {
            timeMs = value;
        } else if (option == "--threads") {
            settings.threadCount = static_cast<uint8_t>(value);
        } else if (option == "--see") {
            settings.useSee = value != 0;
        } else if (option == "--stop-after") {
            stopAfterMs = value;
        } else {
            std::fprintf(stderr, "unknown option %s\n", option.c_str());
            return 2;
        }
    }
    if (depth < 1 || depth > 255 || settings.threadCount < 1) {
        std::fprintf(stderr, "search needs --depth 1..255 and at least one thread\n");
        return 2;
    }
    Position game{};
    if (!readPosition(fen, game)) {
        return 2;
    }
    // Another thread ends the search, as a front-end does; the delay until bestMove returns is
    // how long the workers take to reach their next cut-off.
    std::atomic<int64_t> stoppedAt{0};
    std::thread stopper;
    if (stopAfterMs >= 0) {
        stopper = std::thread([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(stopAfterMs));
            stoppedAt = clockTicks();
            stopSearch();
        });
    }
    try {
        const SearchOutcome out = runSearch(game, depth, timeMs);
        if (stopper.joinable()) {
            const int64_t returnedAt = clockTicks();
            stopper.join();
            std::printf("returned %.3f ms after stopSearch\n",
                        (returnedAt - stoppedAt.load()) / 10000.0);
        }
        std::printf("bestmove %s score %d depth %d nodes %llu ms %.0f\n", out.move.c_str(),
                    out.score, out.depth, static_cast<unsigned long long>(out.nodes), out.ms);
    } catch (const NoLegalMovesException&) {
        if (stopper.joinable()) {
            stopper.join();
        }
        std::printf("no legal moves\n");
        destroySearchPool();
        return 1;
    }
    return 0;
}

int searchSpeedCommand() {
    theUserInterface = &console;
    struct Case {
        const char* fen;
        int depth;
    };
    // Openings, middlegames and endgames, each searched to a depth that takes about a second with
    // one thread on the development machine.
    const Case cases[] = {
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", 7},
        {"r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 2 3", 6},
        {"r1bq1rk1/pp2nppp/2n1p3/3pP3/1b1P4/2NB1N2/PP3PPP/R1BQK2R w KQ - 0 9", 6},
        {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1", 5},
        {"r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10", 5},
        {"2rq1rk1/pp1bppbp/3p1np1/4n3/3NP3/1BN1BP2/PPPQ2PP/2KR3R b - - 0 11", 6},
        {"8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1", 8},
        {"8/8/4kpp1/3p4/p6P/2B4b/6P1/6K1 w - - 0 1", 9},
        {"4k3/8/8/8/8/8/4P3/4K3 w - - 0 1", 12},
    };
    settings = defaultSettings();
    double totalMs[3] = {};
    uint64_t totalNodes[3] = {};
    for (int threads = 1; threads <= 2; ++threads) {
        settings.threadCount = static_cast<uint8_t>(threads);
        for (const auto& c : cases) {
            Position game{};
            if (!readPosition(c.fen, game)) {
                return 2;
            }
            console.printReports = false;
            const SearchOutcome out = runSearch(game, c.depth, 1000000000);
            std::printf("threads %d depth %d %-8s %8.0f ms %12llu nodes  %s\n", threads, c.depth,
                        out.move.c_str(), out.ms, static_cast<unsigned long long>(out.nodes),
                        c.fen);
            std::fflush(stdout);
            totalMs[threads] += out.ms;
            totalNodes[threads] += out.nodes;
        }
    }
    for (int threads = 1; threads <= 2; ++threads) {
        std::printf("threads %d: total %.0f ms, %llu nodes, %.0f nodes per second\n", threads,
                    totalMs[threads], static_cast<unsigned long long>(totalNodes[threads]),
                    totalNodes[threads] / (totalMs[threads] / 1000.0));
    }
    std::printf("speed-up of 2 threads over 1 (time to the same depths): %.2fx\n",
                totalMs[1] / totalMs[2]);
    return 0;
}
