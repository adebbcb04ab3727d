// Every game played in the window goes to the archive: when it ends, when a new game replaces
// it, and when the window closes.
#include "GameArchive.h"
#include "PgnWriter.h"
#include "SDLUserInterface.h"
#include "Settings.h"

#include <iostream>

void SDLUserInterface::archiveGame(bool windowOpen) {
    std::string text;
    {
        std::lock_guard scene(sceneLock);
        if (gameMoves.empty()) {
            return;
        }
        const PgnGame record{pgnDate(gameStarted), pgnPlayerName(settings.whitePlayer),
                             pgnPlayerName(settings.blackPlayer), pgnResult(game), gameMoves};
        text = pgnText(record);
        // An end and the new game or the close that follows it see the same game: it is
        // written once. A failed write is not tried again, so that it warns once.
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
