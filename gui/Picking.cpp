// Mouse and keyboard on the board: the camera, the on-screen buttons, and moving a piece by
// pressing on it, dragging and releasing on its target.
#include "BoardPicking.h"
#include "Engine.h"
#include "MovesWindow.h"
#include "SDLUserInterface.h"

#include <GL/glu.h>

#include <chrono>

void SDLUserInterface::keyPressed(SDLKey key, SDLMod, uint16_t) {
    if (key == SDLK_m) {
        toggleMovesWindow();
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

void SDLUserInterface::keyReleased(SDLKey, SDLMod, uint16_t) {
    std::lock_guard scene(sceneLock);
    camera.keyReleased();
}

void SDLUserInterface::middleButtonReleased(int, int) {
    std::lock_guard scene(sceneLock);
    camera.cameraFlipped = false;
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
}

void SDLUserInterface::mouseMoved(int x, int y, int dx, int dy, bool left, bool, bool middle) {
    if (middle || (left && (SDL_GetModState() & KMOD_SHIFT) != 0)) {
        {
            std::lock_guard scene(sceneLock);
            camera.drag(dx, dy, windowHeight);
        }
        wakeRenderer();
    }
    bool hoverChanged = false;
    for (auto& [text, button] : buttons) {
        const bool over = button.contains(x, y);
        hoverChanged = hoverChanged || button.hovered != over;
        button.hovered = over;
    }
    bool dragging;
    {
        std::lock_guard scene(sceneLock);
        pickX = x;
        pickY = y;
        dragging = squareSelected;
    }
    pickPending = true;
    // Only a dragged piece and the buttons' marks show where the mouse is.
    if (dragging || hoverChanged) {
        wakeRenderer();
    }
}

void SDLUserInterface::pickAt(int x, int y) {
    std::unique_lock scene(sceneLock);
    pickX = x;
    pickY = y;
    pickPending = true;
    scene.unlock();
    wakeRenderer();
    scene.lock();
    // Looked at now and then: the rendering thread stops drawing once the window is closing.
    while (!pickDone.wait_for(scene, std::chrono::milliseconds(50),
                              [this] { return !pickPending || !running; })) {
    }
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
    pickAt(x, y);
    std::lock_guard scene(sceneLock);
    if (!hoverValid || squareSelected) {
        return;
    }
    const int piece = game.at(hoverFile, hoverRank);
    const bool ownPiece = game.sideToMove == 1 ? isWhitePiece(piece) : isBlackPiece(piece);
    if (ownPiece) {
        pickUp();
    }
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

void SDLUserInterface::leftButtonReleased(int x, int y) {
    pickAt(x, y);
    Square from;
    Square to;
    {
        std::lock_guard scene(sceneLock);
        // A turn that the settings started meanwhile owns the game now.
        if (!hoverIsTarget || !squareSelected || engineState == Thinking) {
            dropPick();
            return;
        }
        from = {selectedFile, selectedRank};
        to = {hoverFile, hoverRank};
    }
    playHumanMove(from, to);
}

void SDLUserInterface::playHumanMove(Square from, Square to) {
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
        game.pushHistory();
        game.makeMove(move);
        dropPick();
        // The engine's move may still be sliding: the frame would draw its position and hide
        // this reply until the slide ends.
        animating = false;
    }
    refreshGameState();
    setButton(undoButton, true);
    setButton(redoButton, false);
    offerDrawClaim();
}

void SDLUserInterface::pickSquare() {
    glViewport(0, 0, windowWidth, windowHeight);
    const double mx = pickX;
    const double my = windowHeight - pickY;

    GLdouble modelview[16];
    GLdouble projection[16];
    GLint viewport[4] = {0, 0, windowWidth, windowHeight};
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    Vector3 nearPoint;
    Vector3 farPoint;
    gluUnProject(mx, my, 0.0, modelview, projection, viewport, &nearPoint.x, &nearPoint.y,
                 &nearPoint.z);
    gluUnProject(mx, my, 1.0, modelview, projection, viewport, &farPoint.x, &farPoint.y,
                 &farPoint.z);

    hoverIsTarget = false;
    const auto square = squareUnderRay(nearPoint, farPoint);
    hoverValid = square.has_value();
    if (!square) {
        return;
    }
    hoverFile = square->file;
    hoverRank = square->rank;
    for (const Move& move : targetMoves) {
        if (move.toFile == hoverFile && move.toRank == hoverRank) {
            hoverIsTarget = true;
        }
    }
}
