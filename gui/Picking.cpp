// Mouse and keyboard on the board: the camera, the on-screen buttons, and moving a piece by
// pressing on it, dragging and releasing on its target, or by clicking it and then its target.
#include "BoardPicking.h"
#include "GameFlowRules.h"
#include "GamesWindow.h"
#include "MovesWindow.h"
#include "SDLUserInterface.h"

#include <limits>

void SDLUserInterface::keyPressed(Key key, Modifiers modifiers, uint16_t) {
    if (key == Key::N && (modifiers & (LeftControl | RightControl)) != 0) {
        newGameChosen();
        return;
    }
    switch (key) {
    case Key::M:
        toggleMovesWindow();
        return;
    case Key::G:
        toggleGamesWindow();
        return;
    case Key::PageUp:
        stepBy(-1);
        return;
    case Key::PageDown:
        stepBy(1);
        return;
    case Key::Home:
        stepTo(0);
        return;
    case Key::End:
        stepBy(std::numeric_limits<int>::max() / 2);
        return;
    default:
        break;
    }
    if (key == Key::H) {
        askForHint();
        return;
    }
    if (key == Key::S) {
        toggleSound();
        return;
    }
    if (key == Key::Escape) {
        std::lock_guard scene(sceneLock);
        cancelPick();
        return;
    }
    bool moved;
    {
        std::lock_guard scene(sceneLock);
        moved = camera.keyPressed(key);
    }
    if (moved) {
        wakeRenderer();
    }
}

void SDLUserInterface::toggleMovesWindow() {
    {
        std::lock_guard gui(guiLock);
        if (movesWindow == nullptr) {
            return;
        }
        if (movesWindow->isShown()) {
            movesWindow->hide();
        } else {
            movesWindow->show();
        }
    }
    wakeRenderer();
}

void SDLUserInterface::keyReleased(Key, Modifiers, uint16_t) {
    std::lock_guard scene(sceneLock);
    camera.released();
}

void SDLUserInterface::middleButtonReleased(int, int) {
    std::lock_guard scene(sceneLock);
    camera.released();
}

void SDLUserInterface::wheelTurned(bool up, bool down) {
    {
        std::lock_guard scene(sceneLock);
        camera.wheelTurned(up, down);
    }
    wakeRenderer();
}

void SDLUserInterface::windowResized(int width, int height) {
    std::lock_guard scene(sceneLock);
    windowWidth = width;
    windowHeight = height;
    layOutButtons(buttons, width, height);
}

void SDLUserInterface::mouseMoved(int x, int y, int dx, int dy, bool left, bool, bool middle) {
    bool redraw = false;
    if (middle || (left && (SDL_GetModState() & KMOD_SHIFT) != 0)) {
        std::lock_guard scene(sceneLock);
        camera.drag(dx, dy, windowHeight);
        redraw = true;
    }
    for (auto& [text, button] : buttons) {
        const bool over = button.contains(x, y);
        redraw = redraw || button.hovered != over;
        button.hovered = over;
    }
    Hover now = hoverUnder(x, y);
    // The piece is shown on a target only while it is dragged there, not under a mouse that
    // passes over the targets of a clicked piece.
    now.isTarget = now.isTarget && left;
    if (now != Hover{hoverValid, hoverFile, hoverRank, hoverIsTarget}) {
        // Only a dragged piece, shown on the target under the mouse, shows where the mouse is.
        redraw = redraw || (squareSelected && (now.isTarget || hoverIsTarget));
        std::lock_guard scene(sceneLock);
        setHover(now);
    }
    if (redraw) {
        wakeRenderer();
    }
}

SDLUserInterface::Hover SDLUserInterface::hoverUnder(int x, int y) const {
    // The camera, the window size and the pick change only on this thread: no lock is needed
    // to read them here.
    const auto square = squareUnderMouse(camera, x, y, {windowWidth, windowHeight});
    if (!square) {
        return {false, hoverFile, hoverRank, false};
    }
    Hover hover{true, square->file, square->rank, false};
    for (const Move& move : targetMoves) {
        if (move.toFile == hover.file && move.toRank == hover.rank) {
            hover.isTarget = true;
        }
    }
    return hover;
}

void SDLUserInterface::setHover(const Hover& hover) {
    hoverValid = hover.valid;
    hoverFile = hover.file;
    hoverRank = hover.rank;
    hoverIsTarget = hover.isTarget;
}

void SDLUserInterface::leftButtonPressed(int x, int y) {
    for (auto& [text, button] : buttons) {
        if (button.enabled && button.contains(x, y)) {
            button.hovered = false;
            button.action();
        }
    }
    if (engineState == Thinking || (SDL_GetModState() & KMOD_SHIFT) != 0) {
        return;
    }
    // The press acts on the square where it happened, however late it is handled.
    const Hover at = hoverUnder(x, y);
    Square from;
    Square to;
    {
        std::lock_guard scene(sceneLock);
        setHover(at);
        switch (moveGesture.pressed(pickedSquare(), underMouse())) {
        case MoveGesture::Step::PickUp:
            dropPick();
            pickUp();
            return;
        case MoveGesture::Step::Drop:
            dropPick();
            return;
        case MoveGesture::Step::Nothing:
            return;
        case MoveGesture::Step::Move:
            from = {selectedFile, selectedRank};
            to = {hoverFile, hoverRank};
            break;
        }
    }
    playHumanMove(from, to);
}

std::optional<Square> SDLUserInterface::pickedSquare() const {
    if (!squareSelected) {
        return std::nullopt;
    }
    return Square{selectedFile, selectedRank};
}

MoveGesture::Under SDLUserInterface::underMouse() const {
    if (!hoverValid) {
        return {};
    }
    const int piece = game.at(hoverFile, hoverRank);
    const bool own = game.sideToMove == 1 ? isWhitePiece(piece) : isBlackPiece(piece);
    return {Square{hoverFile, hoverRank}, own, hoverIsTarget};
}

void SDLUserInterface::pickUp() {
    selectedFile = hoverFile;
    selectedRank = hoverRank;
    squareSelected = true;
    for (int i = 0; i < legalMoveCount; ++i) {
        const Move& move = legalMoves[i];
        if (move.fromFile == selectedFile && move.fromRank == selectedRank) {
            targetMoves.push_back(move);
        }
    }
    wakeRenderer();
}

void SDLUserInterface::dropPick() {
    squareSelected = false;
    hoverIsTarget = false;
    targetMoves.clear();
    wakeRenderer();
}

void SDLUserInterface::cancelPick() {
    // A piece clicked before the game changed would offer the old position's moves.
    moveGesture.reset();
    if (squareSelected) {
        dropPick();
    }
}

void SDLUserInterface::leftButtonReleased(int x, int y) {
    const Hover at = hoverUnder(x, y);
    Square from;
    Square to;
    {
        std::lock_guard scene(sceneLock);
        setHover(at);
        // A turn that the settings started meanwhile owns the game now.
        if (engineState == Thinking) {
            moveGesture.reset();
            if (squareSelected) {
                dropPick();
            }
            return;
        }
        switch (moveGesture.released(pickedSquare(), underMouse())) {
        case MoveGesture::Step::Drop:
            dropPick();
            return;
        case MoveGesture::Step::PickUp:
        case MoveGesture::Step::Nothing:
            return;
        case MoveGesture::Step::Move:
            from = {selectedFile, selectedRank};
            to = {hoverFile, hoverRank};
            break;
        }
    }
    playHumanMove(from, to);
}

void SDLUserInterface::playHumanMove(Square from, Square to) {
    // The hint's search reads the game, and its squares belong to the position before.
    dropHint();
    Move move(&game);
    move.userInterface = this;
    // Built before the game record changes: a promotion that gets no answer (the window closed
    // meanwhile) leaves the game as it was.
    move.setFromSquares(from.file, from.rank, to.file, to.rank);
    if (move.resultPiece == Empty) {
        std::lock_guard scene(sceneLock);
        dropPick();
        return;
    }
    {
        std::lock_guard scene(sceneLock);
        playedBy.moveMade(movesInRecord(game), pgnPlayerName(0));
        showingEarlierPosition = false;
        game.pushHistory();
        game.makeMove(move);
        dropPick();
        // The engine's move may still be sliding: the frame would draw its position and hide
        // this reply until the slide ends.
        animating = false;
    }
    refreshGameState();
    playMoveSound(move);
    setButton(undoButton, true);
    setButton(redoButton, false);
    offerDrawClaim();
}
