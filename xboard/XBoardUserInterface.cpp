#include "XBoardUserInterface.h"

#include "Clock.h"
#include "Move.h"
#include "ProtocolNumbers.h"
#include "Settings.h"

#include <algorithm>

namespace {

bool contains(const std::vector<std::string>& words, const std::string& word) {
    return std::find(words.begin(), words.end(), word) != words.end();
}

void dropCarriageReturn(std::string& text) {
    if (!text.empty() && text.back() == '\r') {
        text.pop_back();
    }
}

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

void EngineThread::operator()() {
    frontEnd->engineTurn();
}

XBoardUserInterface::XBoardUserInterface(std::istream& in, std::ostream& out)
    : enginePool(&engine, 1), in_(in), out_(out) {
    engine.frontEnd = this;
    engine.state = EngineThread::Idle;
    engine.aborted = false;
    game.setInitialPosition();
    game.previous = nullptr;
    game.halfmoveClock = 0;
}

XBoardUserInterface::~XBoardUserInterface() {
    // Only tests destroy the front-end; a turn still running must not outlive the game.
    stopAndWaitForEngine();
}

int XBoardUserInterface::run() {
    ignoredWords_ = {"quit", "xboard", "random", "draw", "computer"};
    skipLineWords_ = {"name", "rating", "otim", "rejected"};
    // Every line is flushed on its own; flushing the output before each read would only add a
    // second writer to it.
    in_.tie(nullptr);

    startSearchPoolFor(game);
    newGame();
    engine.gamePosition = &game;

    std::string token;
    while (in_ >> token) {
        if (token == "new") {
            newGame();
        } else if (token == "force") {
            forceMode();
        } else if (token == "go") {
            go();
        } else if (token == "white" || token == "black") {
            setSideToMove(token == "white");
        } else if (token == "sd") {
            setDepthLimit();
        } else if (token == "result") {
            result();
        } else if (token == "edit") {
            edit();
        } else if (token == "level") {
            setLevel();
        } else if (token == "st") {
            setTimePerMove();
        } else if (token == "time") {
            setEngineClock();
        } else if (token == "post") {
            post = true;
        } else if (token == "nopost") {
            post = false;
        } else if (token == "protover") {
            announceFeatures();
        } else if (token == "accepted") {
            acceptFeature();
        } else if (token == "cores") {
            setThreadCount();
        } else if (token == "option") {
            setOption();
        } else if (token == "?") {
            stopSearch();
        } else if (token == "undo") {
            undo();
        } else if (token == "remove") {
            remove();
        } else if (contains(ignoredWords_, token)) {
            // nothing to do
        } else if (contains(skipLineWords_, token)) {
            restOfLine();
        } else if (looksLikeMove(token)) {
            userMove(token);
        } else {
            writeLine("Error (not implemented): " + token + restOfLine());
        }
        if (token == "quit") {
            break;
        }
    }

    // The turn uses the search pool, so it has to end before the pool goes.
    stopAndWaitForEngine();
    stopSearch();
    destroySearchPool();
    game.clearHistory();
    ignoredWords_.clear();
    skipLineWords_.clear();
    return 0;
}

void XBoardUserInterface::newGame() {
    stopAndWaitForEngine();
    game.setInitialPosition();
    game.clearHistory();
    settings.whitePlayer = 0;
    settings.blackPlayer = 1;
    settings.maxDepth = 100;
    levelMode = false;
    movesToGo = 0;
    timeLeftMs = 300000;
    incrementMs = 0;
    post = true;
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
    const bool whiteToMove = game.sideToMove == 1;
    settings.whitePlayer = whiteToMove ? 1 : 0;
    settings.blackPlayer = whiteToMove ? 0 : 1;
    startEngine();
}

// The engine takes the other colour.
void XBoardUserInterface::setSideToMove(bool white) {
    stopAndWaitForEngine();
    game.sideToMove = white ? 1 : 0;
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
    std::string outcome;
    in_ >> outcome;
    restOfLine();
    stopAndWaitForEngine();
    if (outcome == "1/2-1/2" && game.isDrawClaimable()) {
        game.drawClaimed = true;
    }
}

void XBoardUserInterface::edit() {
    stopAndWaitForEngine();
    editMode();
}

void XBoardUserInterface::setLevel() {
    int moves = 0;
    std::string base;
    int increment = 0;
    if (!readInt(moves) || !(in_ >> base) || !readInt(increment)) {
        return;
    }
    pauseEngineFor([&] {
        levelMode = true;
        movesToGo = moves;
        timeLeftMs = clampToInt32(levelBaseTimeMs(base));
        incrementMs = clampToInt32(int64_t{increment} * 1000);
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
        levelMode = false;
    });
}

void XBoardUserInterface::setEngineClock() {
    int centiseconds = 0;
    if (!readInt(centiseconds)) {
        return;
    }
    // A reading of half the engine's own clock or less is taken for a peer's mistake and ignored.
    if (timeLeftMs.load() < 20 * int64_t{centiseconds}) {
        timeLeftMs = clampToInt32(10 * int64_t{centiseconds});
    } else if (debug) {
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
        debug = true;
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
        name += static_cast<char>(c);
    }
    if (!sawEquals) {
        return; // the input ended inside the name
    }
    std::string value;
    std::getline(in_, value);
    dropCarriageReturn(value);
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
        game.undoMove();
    } catch (const CannotUndoException&) {
        showError("Can't undo in the initial position.");
    }
    startEngineIfItsTurn();
}

void XBoardUserInterface::remove() {
    pauseEngineFor([&] {
        try {
            game.undoMove();
        } catch (const CannotUndoException&) {
            showError("Can't undo in the initial position.");
            return;
        }
        try {
            game.undoMove();
        } catch (const CannotUndoException&) {
            showError("Can't undo in the initial position.");
            game.redoMove();
        }
    });
}

void XBoardUserInterface::userMove(const std::string& token) {
    // Moves are expected only while the engine is idle; one that comes anyway must not meet a
    // turn that is still changing the game.
    stopAndWaitForEngine();
    Move move(&game);
    move.fromString(token);
    if (!isLegalInGame(move)) {
        // Playing it would corrupt the game (a piece from an empty square, a captured king).
        writeLine("Illegal move: " + token);
        return;
    }
    game.pushHistory();
    game.makeMove(move);
    reportResultIfOver();
    if (movesToGo > 0 && game.sideToMove == 1) {
        --movesToGo;
    }
    startEngineIfItsTurn();
}

bool XBoardUserInterface::isLegalInGame(const Move& move) {
    Position generating = game;
    Position scratch = game;
    MoveList list(&generating);
    const int count = generating.generateMoves(list, scratch, false);
    for (int i = 0; i < count; ++i) {
        const Move& legal = list[i];
        if (legal.isLegal && legal.fromFile == move.fromFile && legal.fromRank == move.fromRank &&
            legal.toFile == move.toFile && legal.toRank == move.toRank &&
            legal.resultPiece == move.resultPiece) {
            return true;
        }
    }
    return false;
}

std::string XBoardUserInterface::readToken() {
    std::string token;
    in_ >> token; // empty at the end of the input
    return token;
}

bool XBoardUserInterface::readInt(int& value) {
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

std::string XBoardUserInterface::restOfLine() {
    std::string rest;
    std::getline(in_, rest);
    dropCarriageReturn(rest);
    return rest;
}

// Engine control

void XBoardUserInterface::stopEngine() {
    engine.aborted.exchange(true);
    stopSearch();
    engine.state = EngineThread::Stopped;
}

void XBoardUserInterface::restartIfThinking() {
    pauseEngineFor([] {});
}

bool XBoardUserInterface::startEngineIfItsTurn() {
    if (game.hasNoLegalMoves()) {
        return false;
    }
    const bool enginesTurn = (game.sideToMove == 1 && settings.whitePlayer == 1) ||
                             (game.sideToMove != 1 && settings.blackPlayer == 1);
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
    engine.aborted = false;
    clearSearchStop();
    engine.state = EngineThread::Thinking;
    enginePool.startPass();
}

void XBoardUserInterface::waitForEngine() {
    enginePool.waitUntilFinished();
}

void XBoardUserInterface::stopAndWaitForEngine() {
    stopEngine();
    waitForEngine();
}

int32_t XBoardUserInterface::timeForMove() const {
    if (!levelMode) {
        return thinkingTimeMs(settings.timePerMove);
    }
    const int64_t left = timeLeftMs.load();
    const int32_t toGo = movesToGo.load();
    const int64_t share = toGo > 0 ? left / toGo : left / 60;
    // The last move before a time control would otherwise get the whole clock, and the peer's
    // clock also runs while the move line travels: keep a tenth, at most a second, in hand.
    const int64_t reserve = std::min<int64_t>(left / 10, 1000);
    return clampToInt32(std::min(share + incrementMs, left - reserve));
}

void XBoardUserInterface::engineTurn() {
    const int64_t start = clockTicks();
    const auto chargeClock = [&] {
        const int64_t elapsedMs = (clockTicks() - start) / 10000;
        timeLeftMs = clampToInt32(int64_t{timeLeftMs.load()} + incrementMs - elapsedMs);
    };
    if (!engine.aborted.load()) {
        try {
            const Move best = game.bestMove(timeForMove(), settings.maxDepth);
            if (!engine.aborted.load()) {
                // The move is made, the clock charged and the turn marked finished before the
                // move line goes out: the peer answers at once, with its clock readings, its move
                // or a "go" that must find the turn over (a command that touches the game still
                // waits until the turn has returned).
                const std::string text = best.toString();
                game.pushHistory();
                game.makeMove(best);
                if (movesToGo > 0 && game.sideToMove == 1) {
                    --movesToGo;
                }
                chargeClock();
                engine.state = EngineThread::Finished;
                writeLine("move " + text);
                reportResultIfOver();
                return;
            }
        } catch (const NoLegalMovesException&) {
            engine.state = EngineThread::Finished;
            showError("No legal moves");
            reportResultIfOver();
            return;
        }
    }
    chargeClock();
    engine.state = EngineThread::Finished;
}
