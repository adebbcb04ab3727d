#include "XBoardUserInterface.h"

#include "Clock.h"
#include "LegalMove.h"
#include "Move.h"
#include "ProtocolNumbers.h"
#include "SearchControl.h"
#include "Settings.h"

#include <algorithm>
#include <cctype>
#include <optional>

namespace {

// Whether the text has the form of a move. The form alone decides, so a scratch position serves
// and the game need not be touched while the engine may be thinking on it.
bool looksLikeMove(const std::string& token) {
    Position scratch{};
    scratch.setInitialPosition();
    scratch.previous = nullptr;
    Move probe(&scratch);
    probe.userInterface = nullptr;
    return probe.fromString(token);
}

} // namespace

XBoardUserInterface::XBoardUserInterface(std::istream& in, std::ostream& out) : in_(in), out_(out) {
    game_.setInitialPosition();
    game_.previous = nullptr;
    game_.halfmoveClock = 0;
}

XBoardUserInterface::~XBoardUserInterface() {
    // Only tests destroy the front-end; a turn still running must not outlive the game.
    stopAndWaitForEngine();
}

int XBoardUserInterface::run() {
    // Every line is flushed on its own; flushing the output before each read would only add a
    // second writer to it.
    in_.tie(nullptr);

    startSearchPoolFor(game_);
    newGame();

    std::string token;
    while (in_ >> token) {
        dispatch(token);
        if (token == "quit") {
            break;
        }
    }

    // The turn uses the search pool, so it has to end before the pool goes.
    stopAndWaitForEngine();
    stopSearch();
    destroySearchPool();
    game_.clearHistory();
    return 0;
}

void XBoardUserInterface::dispatch(const std::string& token) {
    using Handler = void (*)(XBoardUserInterface&);
    struct Command {
        const char* token;
        Handler handler;
    };
    static constexpr Handler ignore = [](XBoardUserInterface&) {};
    static constexpr Handler skipLine = [](XBoardUserInterface& xb) { xb.restOfLine(); };
    // Whole tokens, tested in this order; a token that none names is tried as a move.
    static constexpr Command commands[] = {
        {"new", [](XBoardUserInterface& xb) { xb.newGame(); }},
        {"force", [](XBoardUserInterface& xb) { xb.forceMode(); }},
        {"go", [](XBoardUserInterface& xb) { xb.go(); }},
        {"white", [](XBoardUserInterface& xb) { xb.setSideToMove(true); }},
        {"black", [](XBoardUserInterface& xb) { xb.setSideToMove(false); }},
        {"sd", [](XBoardUserInterface& xb) { xb.setDepthLimit(); }},
        {"result", [](XBoardUserInterface& xb) { xb.result(); }},
        {"edit", [](XBoardUserInterface& xb) { xb.edit(); }},
        {"level", [](XBoardUserInterface& xb) { xb.setLevel(); }},
        {"st", [](XBoardUserInterface& xb) { xb.setTimePerMove(); }},
        {"time", [](XBoardUserInterface& xb) { xb.setEngineClock(); }},
        {"post", [](XBoardUserInterface& xb) { xb.post_ = true; }},
        {"nopost", [](XBoardUserInterface& xb) { xb.post_ = false; }},
        {"protover", [](XBoardUserInterface& xb) { xb.announceFeatures(); }},
        {"accepted", [](XBoardUserInterface& xb) { xb.acceptFeature(); }},
        {"cores", [](XBoardUserInterface& xb) { xb.setThreadCount(); }},
        {"option", [](XBoardUserInterface& xb) { xb.setOption(); }},
        {"?", [](XBoardUserInterface&) { stopSearch(); }},
        {"undo", [](XBoardUserInterface& xb) { xb.undo(); }},
        {"remove", [](XBoardUserInterface& xb) { xb.remove(); }},
        // Words that need no answer; "quit" also ends the loop.
        {"quit", ignore},
        {"xboard", ignore},
        {"random", ignore},
        {"draw", ignore},
        {"computer", ignore},
        // Words whose arguments, up to the end of the line, are of no use here.
        {"name", skipLine},
        {"rating", skipLine},
        {"otim", skipLine},
        {"rejected", skipLine},
    };
    for (const Command& command : commands) {
        if (token == command.token) {
            command.handler(*this);
            return;
        }
    }
    if (looksLikeMove(token)) {
        userMove(token);
    } else {
        writeLine("Error (not implemented): " + token + restOfLine());
    }
}

void XBoardUserInterface::newGame() {
    stopAndWaitForEngine();
    game_.setInitialPosition();
    game_.clearHistory();
    settings.whitePlayer = 0;
    settings.blackPlayer = 1;
    settings.maxDepth = 100;
    levelMode_ = false;
    movesToGo_ = 0;
    timeLeftMs_ = 300000;
    incrementMs_ = 0;
    // post and nopost outlast new: a GUI says them once, before its first game.
}

void XBoardUserInterface::forceMode() {
    stopEngine();
    settings.whitePlayer = 0;
    settings.blackPlayer = 0;
}

void XBoardUserInterface::go() {
    if (engineThinking()) {
        // Already thinking for the side to move; a second turn would play for the other side.
        return;
    }
    waitForEngine();
    const bool whiteToMove = game_.sideToMove == 1;
    settings.whitePlayer = whiteToMove ? 1 : 0;
    settings.blackPlayer = whiteToMove ? 0 : 1;
    startEngine();
}

// The engine takes the other colour.
void XBoardUserInterface::setSideToMove(bool white) {
    stopAndWaitForEngine();
    game_.sideToMove = white ? 1 : 0;
    settings.whitePlayer = white ? 0 : 1;
    settings.blackPlayer = white ? 1 : 0;
}

void XBoardUserInterface::setDepthLimit() {
    const std::string argument = readToken();
    const int64_t n = leadingDigitsValue(argument);
    if (n < 1 || n > 255) {
        writeParameterError("sd", argument);
        return;
    }
    pauseEngineFor([&] { settings.maxDepth = static_cast<uint8_t>(n); });
}

void XBoardUserInterface::result() {
    const std::string outcome = readToken();
    if (outcome.empty()) {
        return;
    }
    restOfLine();
    stopAndWaitForEngine();
    if (outcome == "1/2-1/2" && game_.isDrawClaimable()) {
        game_.drawClaimed = true;
    }
}

void XBoardUserInterface::edit() {
    stopAndWaitForEngine();
    editMode();
}

void XBoardUserInterface::setLevel() {
    int moves = 0;
    if (!readInt(moves)) {
        return;
    }
    const std::string base = readToken();
    int increment = 0;
    if (base.empty() || !readInt(increment)) {
        return;
    }
    pauseEngineFor([&] {
        levelMode_ = true;
        movesToGo_ = moves;
        timeLeftMs_ = clampToInt32(levelBaseTimeMs(base));
        incrementMs_ = clampToInt32(int64_t{increment} * 1000);
    });
}

void XBoardUserInterface::setTimePerMove() {
    const std::string argument = readToken();
    const int64_t n = leadingDigitsValue(argument);
    if (n <= 0) {
        writeParameterError("st", argument);
        return;
    }
    pauseEngineFor([&] {
        settings.timePerMove = static_cast<double>(n);
        levelMode_ = false;
    });
}

void XBoardUserInterface::setEngineClock() {
    int centiseconds = 0;
    if (!readInt(centiseconds)) {
        return;
    }
    // A reading of half the engine's own clock or less is taken for a peer's mistake and ignored.
    if (timeLeftMs_.load() < 20 * int64_t{centiseconds}) {
        timeLeftMs_ = clampToInt32(10 * int64_t{centiseconds});
    } else if (debug_) {
        writeLine("# Working around an Arena bug by ignoring the \"time\" command.");
    }
}

void XBoardUserInterface::announceFeatures() {
    const std::string argument = readToken();
    const int64_t version = leadingDigitsValue(argument);
    if (version <= 0) {
        writeParameterError("protover", argument);
    } else if (version >= 2) {
        writeFeatureLines();
    }
}

void XBoardUserInterface::acceptFeature() {
    if (readToken() == "debug") {
        debug_ = true;
    }
}

void XBoardUserInterface::setThreadCount() {
    const std::string argument = readToken();
    const int64_t n = leadingDigitsValue(argument);
    if (n < 1 || n > 255) {
        writeParameterError("cores", argument);
        return;
    }
    stopAndWaitForEngine();
    settings.threadCount = static_cast<uint8_t>(n);
    searchPool->resize(static_cast<int>(n));
    startEngineIfItsTurn();
}

void XBoardUserInterface::setOption() {
    while (in_.peek() == ' ') {
        in_.get();
    }
    std::string name;
    bool sawEquals = false;
    for (int c = in_.get(); c != std::char_traits<char>::eof(); c = in_.get()) {
        if (c == '=') {
            sawEquals = true;
            break;
        }
        if (c == '\n') {
            // A button option comes without a value. Looking for its "=" on the next lines would
            // swallow every command up to the next option with a value.
            if (!name.empty() && name.back() == '\r') {
                name.pop_back();
            }
            writeLine("Error (illegal option name): option " + name);
            return;
        }
        name += static_cast<char>(c);
    }
    if (!sawEquals) {
        return; // the input ended inside the name
    }
    std::string value;
    readLine(value);
    const std::string illegalValue = "Error (illegal option value): option " + name + "=" + value;
    if (name == "Static Exchange Evaluation") {
        if (value != "1" && value != "0") {
            writeLine(illegalValue);
        }
        pauseEngineFor([&] {
            if (value == "1" || value == "0") {
                settings.useSee = value == "1" ? 1 : 0;
            }
        });
    } else if (name == "Announce when the game ends") {
        if (value == "1" || value == "0") {
            setAnnounceGameEnd(value == "1");
        } else {
            writeLine(illegalValue);
        }
    } else {
        writeLine("Error (illegal option name): option " + name + "=" + value);
    }
}

void XBoardUserInterface::undo() {
    stopAndWaitForEngine();
    try {
        game_.undoMove();
    } catch (const CannotUndoException&) {
        showError("Can't undo in the initial position.");
    }
    startEngineIfItsTurn();
}

void XBoardUserInterface::remove() {
    pauseEngineFor([&] {
        try {
            game_.undoMove();
        } catch (const CannotUndoException&) {
            showError("Can't undo in the initial position.");
            return;
        }
        try {
            game_.undoMove();
        } catch (const CannotUndoException&) {
            showError("Can't undo in the initial position.");
            game_.redoMove();
        }
    });
}

void XBoardUserInterface::userMove(const std::string& token) {
    // Moves are expected only while the engine is idle; one that comes anyway must not meet a
    // turn that is still changing the game.
    stopAndWaitForEngine();
    const std::optional<Move> move = legalMoveFromText(game_, token);
    if (!move) {
        // Playing it would corrupt the game (a piece from an empty square, a captured king).
        writeLine("Illegal move: " + token);
        return;
    }
    game_.pushHistory();
    game_.makeMove(*move);
    reportResultIfOver();
    if (movesToGo_ > 0 && game_.sideToMove == 1) {
        --movesToGo_;
    }
    startEngineIfItsTurn();
}

bool XBoardUserInterface::argumentFollowsOnThisLine() {
    for (int c = in_.peek(); c != std::char_traits<char>::eof(); c = in_.peek()) {
        if (c == '\n') {
            return false;
        }
        if (!std::isspace(c)) {
            return true;
        }
        in_.get();
    }
    return false;
}

std::string XBoardUserInterface::readToken() {
    std::string token;
    if (argumentFollowsOnThisLine()) {
        in_ >> token;
    }
    return token;
}

bool XBoardUserInterface::readInt(int& value) {
    if (!argumentFollowsOnThisLine()) {
        return false;
    }
    if (in_ >> value) {
        return true;
    }
    // An unreadable number: the stream must not stay failed, or the loop would end or spin. What
    // could not be read is left to the loop as the next token.
    if (!in_.eof()) {
        in_.clear();
    }
    return false;
}

bool XBoardUserInterface::readLine(std::string& line) {
    if (!std::getline(in_, line)) {
        return false;
    }
    // A peer on another system may end its lines with a carriage return too.
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return true;
}

std::string XBoardUserInterface::restOfLine() {
    std::string rest;
    readLine(rest);
    return rest;
}

// Engine control

void XBoardUserInterface::stopEngine() {
    engineAborted_.exchange(true);
    stopSearch();
    engineState_ = Stopped;
}

bool XBoardUserInterface::startEngineIfItsTurn() {
    if (game_.hasNoLegalMoves()) {
        return false;
    }
    const bool enginesTurn = (game_.sideToMove == 1 && settings.whitePlayer == 1) ||
                             (game_.sideToMove != 1 && settings.blackPlayer == 1);
    if (!enginesTurn) {
        return false;
    }
    startEngine();
    return true;
}

void XBoardUserInterface::startEngine() {
    // A pass must never be started while one runs: the worker would run the two back to back.
    waitForEngine();
    // Cleared here rather than by the turn itself, so that a stop arriving before the turn gets
    // going is not forgotten.
    engineAborted_ = false;
    clearSearchStop();
    engineState_ = Thinking;
    enginePool_.startPass();
}

void XBoardUserInterface::waitForEngine() {
    enginePool_.waitUntilFinished();
}

void XBoardUserInterface::stopAndWaitForEngine() {
    stopEngine();
    waitForEngine();
}

int32_t XBoardUserInterface::timeForMove() const {
    if (!levelMode_) {
        return thinkingTimeMs(settings.timePerMove);
    }
    const int64_t left = timeLeftMs_.load();
    const int32_t toGo = movesToGo_.load();
    const int64_t share = toGo > 0 ? left / toGo : left / 60;
    // The last move before a time control would otherwise get the whole clock, and the peer's
    // clock also runs while the move line travels: keep a tenth, at most a second, in hand.
    const int64_t reserve = std::min<int64_t>(left / 10, 1000);
    return clampToInt32(std::min(share + incrementMs_, left - reserve));
}

void XBoardUserInterface::engineTurn() {
    const int64_t start = clockTicks();
    const auto chargeClock = [&] {
        const int64_t elapsedMs = (clockTicks() - start) / 10000;
        timeLeftMs_ = clampToInt32(int64_t{timeLeftMs_.load()} + incrementMs_ - elapsedMs);
    };
    if (!engineAborted_.load()) {
        try {
            const Move best = game_.bestMove(timeForMove(), settings.maxDepth);
            if (!engineAborted_.load()) {
                // The move is made, the clock charged and the turn marked finished before the
                // move line goes out: the peer answers at once, with its clock readings, its move
                // or a "go" that must find the turn over (a command that touches the game still
                // waits until the turn has returned).
                const std::string text = best.toString();
                game_.pushHistory();
                game_.makeMove(best);
                if (movesToGo_ > 0 && game_.sideToMove == 1) {
                    --movesToGo_;
                }
                chargeClock();
                engineState_ = Finished;
                writeLine("move " + text);
                reportResultIfOver();
                return;
            }
        } catch (const NoLegalMovesException&) {
            engineState_ = Finished;
            showError("No legal moves");
            reportResultIfOver();
            return;
        }
    }
    chargeClock();
    engineState_ = Finished;
}
