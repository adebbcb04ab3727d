#pragma once

#include "Exceptions.h"
#include "Position.h"
#include "SearchControl.h"
#include "ThreadPool.h"
#include "UserInterface.h"

#include <atomic>
#include <cstdint>
#include <iostream>
#include <mutex>
#include <string>
#include <vector>

class XBoardUserInterface;

// Thrown by parsePiecePlacement for a placement command that cannot be applied.
class PiecePlacingParsingException : public VeltmarkException {
public:
    using VeltmarkException::VeltmarkException;
};

// The task of the engine pool: one engine turn per pass.
class EngineThread {
public:
    enum State : int32_t { Idle = 0, Thinking = 1, Finished = 2, Stopped = 4 };

    Position* gamePosition = nullptr;
    std::atomic<int32_t> state{Idle};
    // The running turn must not play the move it finds.
    std::atomic<bool> aborted{false};
    XBoardUserInterface* frontEnd = nullptr;

    void operator()();
};

// The engine face: reads xboard protocol commands and answers on the given streams.
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

    void stopEngine();
    void restartIfThinking();
    bool startEngineIfItsTurn();
    int32_t timeForMove() const;
    bool reportResultIfOver();

    void editMode();
    void parsePiecePlacement(const std::string& token, bool white);

    // One engine turn; the body of EngineThread.
    void engineTurn();

    Position game{};
    EngineThread engine;
    ThreadPool<EngineThread> enginePool;
    bool levelMode = false;
    // Written by the engine turn and by "time"/"level" on the command loop.
    std::atomic<int32_t> movesToGo{0};
    std::atomic<int32_t> timeLeftMs{300000};
    int32_t incrementMs = 0;
    // Read by the search threads while they report.
    std::atomic<bool> post{true};
    std::atomic<bool> debug{false};

private:
    // The commands, one handler each; a handler reads its own arguments.
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
    bool isLegalInGame(const Move& move);

    std::string readToken();
    bool readInt(int& value);
    std::string restOfLine();

    void writeLine(const std::string& line);
    void writeParameterError(const std::string& command, const std::string& argument);
    void writeFeatureLines();

    bool announceGameEnd() const;
    void setAnnounceGameEnd(bool on);

    bool engineThinking() const { return engine.state.load() == EngineThread::Thinking; }
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

    std::istream& in_;
    std::ostream& out_;
    std::mutex outputLock_;
    std::vector<std::string> ignoredWords_;
    std::vector<std::string> skipLineWords_;
};
