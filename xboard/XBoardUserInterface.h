#pragma once

#include "Exceptions.h"
#include "Move.h"
#include "Position.h"
#include "ThreadPool.h"
#include "UserInterface.h"

#include <atomic>
#include <cstdint>
#include <iostream>
#include <mutex>
#include <string>

// Thrown by parsePiecePlacement for a placement command that cannot be applied.
class PiecePlacingParsingException : public VeltmarkException {
public:
    using VeltmarkException::VeltmarkException;
};

// The engine face: reads xboard protocol commands and answers on the given streams.
//
// Two threads of its own: the command loop (run) and the engine turn, one pass of the engine
// pool, which plays the engine's move; the turn's search threads call back to report. The loop
// hands the game over to a turn by starting it and takes it back by waiting for it, so the game
// and the time control need no lock; what both touch at once is atomic, and the output has a
// lock of its own.
class XBoardUserInterface : public UserInterface {
public:
    explicit XBoardUserInterface(std::istream& in = std::cin, std::ostream& out = std::cout);
    ~XBoardUserInterface();

    XBoardUserInterface(const XBoardUserInterface&) = delete;
    XBoardUserInterface& operator=(const XBoardUserInterface&) = delete;

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
    friend struct XBoardTestSeam; // the tests' only way to the state below

    enum EngineState : int32_t { Idle = 0, Thinking = 1, Finished = 2, Stopped = 4 };

    // The task of the engine pool: one engine turn per pass.
    struct EngineTurn {
        XBoardUserInterface* frontEnd;
        void operator()() { frontEnd->engineTurn(); }
    };

    // The commands, one handler each; a handler reads its own arguments.
    void dispatch(const std::string& token);
    void newGame();
    void forceMode();
    void go();
    void setSideToMove(bool white);
    void setDepthLimit();
    void result();
    void edit();
    void setLevel();
    void setTimePerMove();
    void setEngineClock();
    void announceFeatures();
    void acceptFeature();
    void setThreadCount();
    void setOption();
    void undo();
    void remove();
    void userMove(const std::string& token);

    void editMode();
    void parsePiecePlacement(const std::string& token, bool white);

    // A command's arguments come from its own line only: a GUI's truncated line must not make a
    // command swallow the next one. Both give nothing when the line has no more.
    std::string readToken();
    bool readInt(int& value);
    // Skips the blanks before the next argument; false when the line or the input ends first.
    bool argumentFollowsOnThisLine();
    // The next line without its carriage return; false at the end of the input.
    bool readLine(std::string& line);
    std::string restOfLine();

    void writeLine(const std::string& line);
    void writeParameterError(const std::string& command, const std::string& argument);
    void writeFeatureLines();

    bool announceGameEnd() const;
    void setAnnounceGameEnd(bool on);
    bool reportResultIfOver();

    // Engine control, from the command loop.
    bool engineThinking() const { return engineState_.load() == Thinking; }
    void stopEngine();
    bool startEngineIfItsTurn();
    void startEngine();
    // Returns once no engine turn runs. Call it only when no turn thinks or the turn has been
    // stopped: the stop holds even for a search that had not begun yet.
    void waitForEngine();
    void stopAndWaitForEngine();

    // Applies a change that a running turn must not see half-done. A turn that was thinking is
    // cancelled first and thinks again afterwards, with the change in force, if it is still the
    // engine's move.
    template <typename Change> void pauseEngineFor(Change change) {
        const bool wasThinking = engineThinking();
        if (wasThinking) {
            stopEngine();
        }
        waitForEngine();
        change();
        if (wasThinking) {
            startEngineIfItsTurn();
        }
    }

    // The engine turn, on the engine pool's worker.
    void engineTurn();
    int32_t timeForMove() const;

    // Command loop only.
    std::istream& in_;

    // Guarded by outputLock_: every line is written whole.
    std::mutex outputLock_;
    std::ostream& out_;

    // Handed between the command loop and the engine turn: the loop touches them only while no
    // turn runs (it waits for the turn first), a turn and its search threads only while it runs.
    Position game_{};
    bool levelMode_ = false;
    int32_t incrementMs_ = 0;

    // Atomic, any thread: the clock that the turn charges and "time"/"level" set, the flags
    // that the search threads read while they report, and the turn's state.
    std::atomic<int32_t> movesToGo_{0};
    std::atomic<int32_t> timeLeftMs_{300000};
    std::atomic<bool> post_{true};
    std::atomic<bool> debug_{false};
    std::atomic<int32_t> engineState_{Idle};
    // The running turn must not play the move it finds.
    std::atomic<bool> engineAborted_{false};

    // The engine turn's worker, whose pool has a mutex of its own; last, so that the worker is
    // joined before anything it uses goes.
    EngineTurn engineTurn_{this};
    ThreadPool<EngineTurn> enginePool_{&engineTurn_, 1};
};
