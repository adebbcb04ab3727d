// Games that do not begin at the standard array on an empty record: the kept unfinished game,
// a game chosen from a PGN file, a set-up position; and stepping through the game's moves.
#include "GameArchive.h"
#include "GameFlowRules.h"
#include "GamesWindow.h"
#include "SDLUserInterface.h"
#include "San.h"
#include "Settings.h"

#include <algorithm>
#include <ctime>
#include <iostream>

namespace {

constexpr const char* standardStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

// A Date tag that names a day, with "??" for what is not known, as the archive writes them.
bool isPgnDate(const std::string& date) {
    return date.size() == 10 && date[4] == '.' && date[7] == '.' && date != "????.??.??";
}

} // namespace

void SDLUserInterface::runOnMainThread(std::function<void()> task) {
    std::lock_guard queue(queueLock);
    mainThreadTasks.push_back(std::move(task));
    eventsAvailable.notify_all();
}

void SDLUserInterface::startFromPosition(const FenPosition& start) {
    startNewGame();
    {
        std::lock_guard scene(sceneLock);
        game.clearHistory();
        game = start.position;
        game.previous = nullptr;
        game.drawClaimed = false;
        redoHead = &game;
        const std::string fen = toFen(game, start.fullmoveNumber);
        startFen = fen == standardStart ? std::string() : fen;
        startBlackFirst = game.sideToMove == 0;
        startMoveNumber = std::max(1, start.fullmoveNumber);
        playedBy.reset(game.sideToMove == 1);
        animationPosition = game;
        animating = false;
    }
    refreshGameState();
}

void SDLUserInterface::openGame(const PgnGameRecord& record, int onBoard, bool archived) {
    // The turn of the game it replaces must not play into this one.
    stopEngineTurn();
    joinEngineTurn();
    dropHint();
    archiveGame(true);
    {
        std::lock_guard scene(sceneLock);
        record.playInto(game);
        for (int i = static_cast<int>(record.moves.size()); i > onBoard; --i) {
            game.undoMove();
        }
        const std::string* date = record.tag("Date");
        gameDate = date != nullptr && isPgnDate(*date) ? *date : pgnDate(std::time(nullptr));
        const std::string fen = toFen(record.start, record.fullmoveNumber);
        startFen = fen == standardStart ? std::string() : fen;
        startBlackFirst = record.start.sideToMove == 0;
        startMoveNumber = std::max(1, record.fullmoveNumber);
        const std::string* white = record.tag("White");
        const std::string* black = record.tag("Black");
        playedBy.takeOver(record.start.sideToMove == 1, static_cast<int>(record.moves.size()),
                          white != nullptr ? *white : "?", black != nullptr ? *black : "?");
        animationPosition = game;
        animating = false;
        cancelPick();
        showingEarlierPosition = false;
        // Written to the archive again only once it has changed.
        gameLine = sanMovesOfRecord(*redoHead);
        gameMoves.assign(gameLine.begin(), gameLine.begin() + movesInRecord(game));
        archivedGame = archived ? pgnText(gameRecord(false)) : std::string();
    }
    refreshGameState();
    UndoRedoButtons after;
    {
        std::lock_guard scene(sceneLock);
        after = {buttonsAfterUndo(game, settings).undo, positionsToRedo(game) > 0};
    }
    setButton(undoButton, after.undo);
    setButton(redoButton, after.redo);
}

void SDLUserInterface::makeStartChoices() {
    if (unfinishedAtStart) {
        const UnfinishedGame kept = std::move(*unfinishedAtStart);
        unfinishedAtStart.reset();
        // A file or a position asked for on the command line replaces it, as a new game does.
        const bool resume = !fileAtStart && !positionAtStart && askYesNo(continueQuestion(kept));
        if (!running) {
            return; // closed while asked: it stays kept, to be offered again
        }
        openGame(kept.record, kept.pliesOnBoard, false);
        if (!resume) {
            startNewGame();
        }
    }
    keepingStarted = true;
    if (positionAtStart) {
        startFromPosition(*positionAtStart);
    } else {
        keepCurrentGame();
    }
    if (fileAtStart) {
        std::string error;
        auto file = PgnFile::open(*fileAtStart, error, false);
        if (file) {
            offerGames(std::move(*file), false);
        } else {
            std::cerr << "veltmark: " << error << std::endl;
            showError(error);
            openingDialogShown = false;
        }
    }
}

void SDLUserInterface::offerGames(PgnFile file, bool newestMarked) {
    // A small file is listed at once, so that its only game opens without the list.
    file.listMore(size_t{1} << 16);
    if (!newestMarked && file.listed() && file.games().size() == 1) {
        std::string error;
        if (const auto record = file.readGame(0, error)) {
            openGame(*record, static_cast<int>(record->moves.size()), true);
        } else {
            showError(error);
        }
        openingDialogShown = false;
        return;
    }
    {
        std::lock_guard gui(guiLock);
        if (gamesWindow != nullptr) {
            gamesWindow->setFile(std::move(file), newestMarked);
            gamesWindow->show();
        }
    }
    wakeRenderer();
}

void SDLUserInterface::toggleGamesWindow() {
    {
        std::lock_guard gui(guiLock);
        if (gamesWindow == nullptr) {
            return;
        }
        if (gamesWindow->isShown()) {
            gamesWindow->hide();
            wakeRenderer();
            return;
        }
    }
    const auto path = fileAtStart ? fileAtStart : gameArchivePath();
    if (!path) {
        showInformation("There is no archive of games: neither XDG_DATA_HOME nor HOME is set.");
        return;
    }
    std::string error;
    auto file = PgnFile::open(*path, error, false);
    if (!file) {
        showInformation(fileAtStart ? error : "No game has been saved yet in\n" + *path);
        return;
    }
    offerGames(std::move(*file), !fileAtStart);
}

void SDLUserInterface::stepTo(int plies) {
    int onBoard, target;
    {
        std::lock_guard scene(sceneLock);
        onBoard = movesInRecord(game);
        target = std::clamp(plies, 0, onBoard + positionsToRedo(game));
    }
    if (target == onBoard) {
        return;
    }
    // A turn thinking on the position shown so far must not play into the one shown next.
    stopEngineTurn();
    joinEngineTurn();
    dropHint();
    UndoRedoButtons after;
    {
        std::lock_guard scene(sceneLock);
        for (; onBoard > target; --onBoard) {
            game.undoMove();
        }
        for (; onBoard < target; ++onBoard) {
            game.redoMove();
        }
        animating = false;
        cancelPick();
        after = {buttonsAfterUndo(game, settings).undo, positionsToRedo(game) > 0};
        showingEarlierPosition = after.redo;
    }
    refreshGameState();
    setButton(undoButton, after.undo);
    setButton(redoButton, after.redo);
}

void SDLUserInterface::stepBy(int plies) {
    int onBoard;
    {
        std::lock_guard scene(sceneLock);
        onBoard = movesInRecord(game);
    }
    stepTo(onBoard + plies);
}
