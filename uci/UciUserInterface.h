#pragma once

#include "GoCommand.h"
#include "Position.h"
#include "SearchLimiter.h"
#include "ThreadPool.h"
#include "UserInterface.h"

#include <atomic>
#include <condition_variable>
#include <iostream>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

// The engine face for UCI GUIs: reads UCI commands and answers on the given streams.
//
// Two threads of its own: the command loop (run), which never waits for a search, so that it
// answers "isready" and "stop" at once, and the engine turn, one pass of the engine pool, which
// searches for one "go" and sends its "bestmove"; the turn's search threads call back to report.
// The loop hands the game over to a turn by starting it and takes it back by stopping the turn
// and waiting for it, so the game needs no lock; the output has a lock of its own.
class UciUserInterface : public UserInterface {
public:
    // The version goes into the "id name" line.
    explicit UciUserInterface(std::string version, std::istream& in = std::cin,
                              std::ostream& out = std::cout);
    ~UciUserInterface();

    UciUserInterface(const UciUserInterface&) = delete;
    UciUserInterface& operator=(const UciUserInterface&) = delete;

    // The command loop; returns 0 after "quit" or at the end of the input.
    int run();

    void showError(std::string message) override;
    void showWarning(std::string message) override;
    void showInformation(std::string message) override;
    void logMessage(std::string line) override;
    bool askYesNo(std::string question) override;
    int askPromotionPiece() override;
    void reportSearchProgress(SearchReport report) override;
    void claimDraw() override;

private:
    // The task of the engine pool: one search per pass.
    struct EngineTurn {
        UciUserInterface* frontEnd;
        void operator()() { frontEnd->engineTurn(); }
    };

    // One command line; false when it says quit.
    bool dispatch(std::string_view line);
    void identify();
    void setOption(const std::vector<std::string_view>& words);
    void newGame();
    void setPosition(std::string_view arguments);
    void go(std::string_view arguments);
    void stop();
    void ponderHit();

    // Engine control, from the command loop.
    void startTurn(const SearchPlan& plan);
    // Ends a running turn, whose best move then goes out, and returns once it is over.
    void finishTurn();
    void releaseBestMove();
    // The engine turn, on the engine pool's worker.
    void engineTurn();

    void writeLine(const std::string& line);
    void writeInfo(const std::string& text) { writeLine("info string " + text); }

    // Command loop only.
    std::istream& in_;
    const std::string version_;

    // Guarded by outputLock_: every line is written whole.
    std::mutex outputLock_;
    std::ostream& out_;

    // Handed between the command loop and the turn: the loop touches them only while no turn
    // runs, a turn and its search threads only while it runs.
    Position game_{};
    SearchPlan plan_{};

    // Guarded by holdLock_: the turn's best move waits until "stop" (or "ponderhit") releases it.
    std::mutex holdLock_;
    std::condition_variable holdReleased_;
    bool holdBestMove_ = false;
    bool pondering_ = false;

    // Any thread.
    std::atomic<bool> debug_{false};

    SearchLimiter limiter_;
    // The engine turn's worker, whose pool has a mutex of its own; last, so that the worker is
    // joined before anything it uses goes.
    EngineTurn engineTurn_{this};
    ThreadPool<EngineTurn> enginePool_{&engineTurn_, 1};
};
