// Every game played in the window goes to the archive once: when it ends, when a new game
// replaces it, or when the player declines to continue it. Until then it is kept, after every
// change, in a file of its own from which the next start can continue it.
#include "GameArchive.h"
#include "GameFlowRules.h"
#include "PgnWriter.h"
#include "SDLUserInterface.h"
#include "Settings.h"

#include <iostream>

PgnGame SDLUserInterface::gameRecord(bool wholeLine) const {
    const std::vector<std::string>& moves = wholeLine ? gameLine : gameMoves;
    const int plies = static_cast<int>(moves.size());
    return {gameDate,
            playedBy.white(plies, pgnPlayerName(settings.whitePlayer)),
            playedBy.black(plies, pgnPlayerName(settings.blackPlayer)),
            pgnResult(wholeLine ? *redoHead : game),
            moves,
            startFen};
}

void SDLUserInterface::archiveGame(bool windowOpen) {
    std::string text;
    {
        std::lock_guard scene(sceneLock);
        if (gameMoves.empty()) {
            return;
        }
        text = pgnText(gameRecord(false));
        // An end and the new game that follows it see the same game: it is written once. A
        // failed write is not tried again, so that it warns once.
        if (text == archivedGame) {
            return;
        }
        archivedGame = text;
    }
    const auto path = gameArchivePath();
    if (path && appendToArchive(*path, text)) {
        return;
    }
    const std::string where =
        path ? *path : std::string("the data directory: neither XDG_DATA_HOME nor HOME is set");
    std::cerr << "veltmark: cannot save the game to " << where << std::endl;
    if (windowOpen) {
        showWarning("The game could not be saved to\n" + where +
                    "\nCheck that the folder can be created and the file written.");
    }
}

void SDLUserInterface::keepCurrentGame() {
    if (!keepingStarted || currentGameKeeper == nullptr) {
        return;
    }
    std::string text;
    {
        std::lock_guard scene(sceneLock);
        PgnGame record = gameRecord(true);
        record.extraTags.emplace_back(pliesOnBoardTag, std::to_string(gameMoves.size()));
        text = pgnText(record);
    }
    currentGameKeeper->write(std::move(text));
}
