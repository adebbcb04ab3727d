// Whose turn it is, the engine's turns, moves, the end of a game, undo, redo and draw claims.
#include "GameFlowRules.h"
#include "LogFile.h"
#include "MovesWindow.h"
#include "PgnWriter.h"
#include "RememberedWindowFile.h"
#include "SDLUserInterface.h"
#include "San.h"
#include "SearchControl.h"
#include "Settings.h"
#include "SettingsFile.h"

namespace {

// The search calls claimDraw on the thread that asked for the move; a hint's search claims
// nothing in the player's name.
thread_local bool searchingForHint = false;

} // namespace

void SDLUserInterface::startNewGame() {
    // The game it replaces, unless its end has written it already.
    archiveGame(true);
    {
        std::lock_guard scene(sceneLock);
        game.setInitialPosition();
        game.clearHistory();
        gameDate = pgnDate(std::time(nullptr));
        startFen.clear();
        startBlackFirst = false;
        startMoveNumber = 1;
        playedBy.reset(true);
        archivedGame.clear();
        showingEarlierPosition = false;
        animationPosition.setInitialPosition();
        animating = false;
        cancelPick();
        hintSquares.reset();
    }
    refreshGameState();
    setButton(undoButton, false);
    setButton(redoButton, false);
}

void SDLUserInterface::refreshGameState() {
    int32_t count;
    std::string announcement;
    {
        std::lock_guard scene(sceneLock);
        Position scratch = game;
        count = game.generateMoves(legalMoves, scratch, false);
        for (int i = 0; i < count; ++i) {
            legalMoves[i].userInterface = theUserInterface;
            legalMoves[i].position = &game;
        }
        legalMoveCount = count;
        if (count == 0) {
            announcement = gameEndAnnouncement(game);
        }
        // The moves taken back stay in the list, after those on the board.
        gameLine = sanMovesOfRecord(*redoHead);
        const int onBoard = movesInRecord(game);
        gameMoves.assign(gameLine.begin(), gameLine.begin() + onBoard);
        std::lock_guard gui(guiLock);
        if (movesWindow != nullptr) {
            movesWindow->setMoves(gameLine, onBoard, startMoveNumber, startBlackFirst);
        }
    }
    // Shown exactly while the game has ended: an undo out of the end hides it again.
    setButton(newGameButton, count == 0);
    if (count == 0) {
        showInformation(announcement);
        archiveGame(true);
    }
    // After the archive: a crash in between must not leave a finished game kept and unarchived.
    keepCurrentGame();
    wakeRenderer();
}

void SDLUserInterface::newGameChosen() {
    if (!askYesNo("Do you want to start a new game?")) {
        return;
    }
    // The abandoned game's turn must not think on, nor play its move into the new game.
    stopEngineTurn();
    joinEngineTurn();
    dropHint();
    startNewGame();
}

void SDLUserInterface::playMove(const Move& move) {
    {
        std::lock_guard scene(sceneLock);
        playedBy.moveMade(movesInRecord(game), pgnPlayerName(1));
        showingEarlierPosition = false;
        game.pushHistory();
        game.makeMove(move);
        animationPosition = game;
        animationPosition.removeMovePieces(move);
        lastEngineMove = move;
        animating = true;
        animationStart = SDL_GetTicks();
    }
    if (logEnabled) {
        logFile.append(move.toString() + "\n");
    }
    refreshGameState();
    playMoveSound(move);
    setButton(redoButton, false);
    offerDrawClaim();
}

void SDLUserInterface::offerDrawClaim() {
    bool offer;
    {
        std::lock_guard scene(sceneLock);
        offer = shouldOfferDrawClaim(game, settings);
    }
    if (offer && askYesNo("Do you wish to claim a draw?")) {
        {
            std::lock_guard scene(sceneLock);
            game.drawClaimed = true;
        }
        refreshGameState();
        sounds.play(GameSound::GameEnd);
    }
}

void SDLUserInterface::claimDraw() {
    if (searchingForHint) {
        return;
    }
    stopEngineTurn();
    {
        std::lock_guard scene(sceneLock);
        game.drawClaimed = true;
    }
    refreshGameState();
    sounds.play(GameSound::GameEnd);
}

void SDLUserInterface::playMoveSound(const Move& move) {
    GameSound sound;
    {
        std::lock_guard scene(sceneLock);
        sound = soundOfMove(game, move.isCapture, legalMoveCount);
    }
    sounds.play(sound);
}

void SDLUserInterface::toggleSound() {
    const bool on = !sounds.isOn();
    sounds.setOn(on);
    // A file that cannot be written leaves the choice to this session: nothing else is lost.
    updateRememberedWindow([on](RememberedWindow& remembered) { remembered.soundOn = on; });
    // The overlay says when the sound is off.
    wakeRenderer();
}

void SDLUserInterface::scheduleEngine(std::unique_lock<std::mutex>& queueHold) {
    // Every event counts, also one the board does not take while a toolkit window is shown:
    // the settings dialog's "OK" may make the engine due while a message stays on the screen.
    const uint64_t seen = eventsCollected;
    // Joining may wait for a turn that asks a question, and answering one takes queueLock.
    queueHold.unlock();
    startEngineTurnIfDue();
    queueHold.lock();
    // An event or the end of a turn that came while the lock was free must not be slept over.
    eventsAvailable.wait(queueHold, [this, seen] {
        return !eventQueue.empty() || !mainThreadTasks.empty() || eventsCollected != seen ||
               !running || engineState == Finished;
    });
}

void SDLUserInterface::startEngineTurnIfDue() {
    if (engineState == Finished || engineState == Stopping) {
        joinEngineTurn();
    }
    // A turn that is still running may end at any moment: whether its thread is still there
    // decides, not a state read once more after that.
    if (engineThread.joinable()) {
        return;
    }
    bool due;
    {
        std::lock_guard scene(sceneLock);
        // While an earlier position is shown the player looks; a move there goes on from it.
        due = !openingDialogShown && legalMoveCount > 0 && isEnginesTurn(game, settings) &&
              !showingEarlierPosition;
    }
    if (due) {
        // The settings may have given the engine the side that asked for a hint: one search
        // at a time.
        dropHint();
        // Cleared here rather than by the turn, so that a stop that comes before the turn has
        // begun is not forgotten.
        engineStop = false;
        clearLastSearch();
        engineState = Thinking;
        engineThread = std::thread([this] { engineTurn(); });
        // The status line says at once that the engine thinks.
        wakeRenderer();
    }
}

void SDLUserInterface::clearLastSearch() {
    clearSearchStop();
    std::lock_guard hold(progressLock);
    latestReport.reset();
}

void SDLUserInterface::engineTurn() {
    const uint32_t start = SDL_GetTicks();
    Move move;
    bool found = true;
    int thinkingMs;
    int depthLimit;
    {
        // The settings dialog changes the record on the rendering thread, inside a frame.
        std::lock_guard scene(sceneLock);
        thinkingMs = thinkingTimeMs(settings.timePerMove);
        depthLimit = settings.maxDepth;
    }
    try {
        move = game.bestMove(thinkingMs, depthLimit);
    } catch (const NoLegalMovesException&) {
        found = false;
    }
    if (found && !engineStop) {
        logMessage(thinkingTimeLine(SDL_GetTicks() - start));
        playMove(move);
    }
    engineState = Finished;
    // The main thread joins the turn when it next wakes.
    wakeRenderer();
}

void SDLUserInterface::stopEngineTurn() {
    // Only a thinking turn is stopped: a flag set with none would make the next turn, about to
    // start, think its whole time and then drop its move.
    int32_t thinking = Thinking;
    if (engineState.compare_exchange_strong(thinking, Stopping)) {
        engineStop = true;
        stopSearch();
    }
    // The settings dialog resizes the search pool after this, which waits for the search.
    if (hintSearching) {
        hintStop = true;
        stopSearch();
    }
}

void SDLUserInterface::askForHint() {
    if (engineState == Thinking || hintSearching) {
        return;
    }
    // A turn that the settings stopped may still be unwinding its search.
    joinEngineTurn();
    dropHint();
    bool due;
    {
        std::lock_guard scene(sceneLock);
        due = !openingDialogShown && legalMoveCount > 0 && !isEnginesTurn(game, settings);
    }
    if (!due) {
        return;
    }
    // No search runs: no engine turn thinks, and the last hint's thread has ended.
    hintStop = false;
    clearLastSearch();
    hintSearching = true;
    hintThread = std::thread([this] { hintSearch(); });
    wakeRenderer();
}

void SDLUserInterface::hintSearch() {
    searchingForHint = true;
    int thinkingMs;
    int depthLimit;
    {
        std::lock_guard scene(sceneLock);
        thinkingMs = thinkingTimeMs(settings.timePerMove);
        depthLimit = settings.maxDepth;
    }
    try {
        // The main thread leaves the game alone until this thread has ended (dropHint).
        const Move move = game.bestMove(thinkingMs, depthLimit);
        std::lock_guard scene(sceneLock);
        if (!hintStop) {
            hintSquares.emplace(Square{move.fromFile, move.fromRank},
                                Square{move.toFile, move.toRank});
        }
    } catch (const NoLegalMovesException&) {
    }
    hintSearching = false;
    wakeRenderer();
}

void SDLUserInterface::dropHint() {
    if (hintSearching) {
        hintStop = true;
        stopSearch();
    }
    if (hintThread.joinable()) {
        hintThread.join();
    }
    bool shown;
    {
        std::lock_guard scene(sceneLock);
        shown = hintSquares.has_value();
        hintSquares.reset();
    }
    if (shown) {
        wakeRenderer();
    }
}

void SDLUserInterface::joinEngineTurn() {
    if (!engineThread.joinable() || engineThread.get_id() == std::this_thread::get_id()) {
        return;
    }
    // A stop holds for the whole turn, even one that came before the search began: the turn
    // ends after at most its first iteration.
    engineThread.join();
    engineState = Joined;
}

void SDLUserInterface::resizeSearchPool(int threads) {
    if (searchPool != nullptr) {
        // The resize waits for a running pass, which the stop that came before ends soon.
        searchPool->resize(threads);
    }
}

void SDLUserInterface::saveSettings() {
    // Reports a failing write itself; the program goes on with the values in memory.
    ::saveSettings();
}

void SDLUserInterface::undo() {
    stopEngineTurn();
    // The game may not change under a turn that is still unwinding.
    joinEngineTurn();
    dropHint();
    UndoRedoButtons after;
    {
        std::lock_guard scene(sceneLock);
        const int steps = halfMovesToUndo(game, settings);
        for (int i = 0; i < steps && game.previous != nullptr; ++i) {
            game.undoMove();
        }
        after = buttonsAfterUndo(game, settings);
        animating = false;
        cancelPick();
    }
    refreshGameState();
    setButton(redoButton, after.redo);
    setButton(undoButton, after.undo);
}

void SDLUserInterface::redo() {
    stopEngineTurn();
    joinEngineTurn();
    dropHint();
    UndoRedoButtons after;
    {
        std::lock_guard scene(sceneLock);
        if (redoHead != &game) {
            game.redoMove();
            if (redoHead != &game && isEnginesTurn(game, settings)) {
                game.redoMove();
            }
        }
        after = buttonsAfterRedo(game);
        showingEarlierPosition = showingEarlierPosition && after.redo;
        animating = false;
        cancelPick();
    }
    refreshGameState();
    setButton(undoButton, after.undo);
    setButton(redoButton, after.redo);
}

void SDLUserInterface::updateUndoRedoButtons() {
    // Called while the frame holds sceneLock, so the game cannot change meanwhile.
    const UndoRedoButtons after = buttonsAfterSettingsChange(
        game, settings, {buttonEnabled(undoButton), buttonEnabled(redoButton)});
    setButton(undoButton, after.undo);
    setButton(redoButton, after.redo);
    wakeRenderer();
}

void SDLUserInterface::setButton(const std::string& text, bool enabled) {
    buttons.at(text).enabled = enabled;
}

bool SDLUserInterface::buttonEnabled(const std::string& text) const {
    return buttons.at(text).enabled;
}

void SDLUserInterface::orientKnights() {
    // Only the rendering thread draws the models, and it is the one that calls this.
    const bool sideways = settings.knightsFace != 0;
    assets.pieceModels.at(WhiteKnight)->rotationDegrees = sideways ? 90.0 : 180.0;
    assets.pieceModels.at(BlackKnight)->rotationDegrees = sideways ? 90.0 : 0.0;
}
