// The 3D scene: the board model, the textured board surface with the pieces mirrored in it, the
// pieces, the highlights of a move being made, the status line, the on-screen buttons and, over
// everything, the toolkit's windows.
#include "MoveAnimation.h"
#include "SDLUserInterface.h"
#include "ScenePasses.h"
#include "SceneSetUp.h"
#include "Settings.h"
#include "ThinkingText.h"

#include <GL/glu.h>

#include <cmath>

void SDLUserInterface::setUpOpenGL() {
    glMatrixMode(GL_TEXTURE);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();

    glEnable(GL_TEXTURE_2D);

    setUpSceneLighting();

    const SDL_Surface& image = *assets.boardImage;
    if ((image.w & (image.w - 1)) != 0) {
        showWarning("board.gif's width is not a power of 2\n");
    }
    if ((image.h & (image.h - 1)) != 0) {
        showWarning("board.gif's height is not a power of 2\n");
    }
    boardTexture = createBoardTexture(image);
    if (boardTexture == 0) {
        showError("the image is not truecolor..  this will probably break\n");
    }

    glGetFloatv(GL_MODELVIEW_MATRIX, savedModelview);
    glGetFloatv(GL_PROJECTION_MATRIX, savedProjection);
    glGetFloatv(GL_TEXTURE_MATRIX, savedTextureMatrix);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glMatrixMode(GL_TEXTURE);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    setUpProjection();
}

void SDLUserInterface::setUpProjection() {
    const ScenePerspective perspective = scenePerspective(drawnWidth, drawnHeight);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    // The aspect as a float, as the 800 x 600 pictures have always been drawn.
    gluPerspective(perspective.fieldOfViewY, static_cast<float>(perspective.aspect),
                   perspective.nearPlane, perspective.farPlane);
    glGetFloatv(GL_PROJECTION_MATRIX, savedProjection);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glViewport(0, 0, drawnWidth, drawnHeight);
}

void SDLUserInterface::drawFrame() {
    glMatrixMode(GL_TEXTURE);
    glPushMatrix();
    glLoadMatrixf(savedTextureMatrix);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadMatrixf(savedProjection);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadMatrixf(savedModelview);

    glPushAttrib(GL_ALL_ATTRIB_BITS);
    drawScenePasses(cameraView(camera), {},
                    {*assets.boardModel, boardTexture,
                     static_cast<float>(1.0 - settings.reflectivity),
                     [this](bool mirrored) { drawPieces(mirrored); }});

    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    if (squareSelected) {
        drawHighlight(selectedFile, selectedRank, 1, 0, 0, 0.75f);
    }
    for (const Move& move : targetMoves) {
        drawHighlight(move.toFile, move.toRank, 1, 1, 0, 0.5f);
    }
    if (hintSquares) {
        for (const Square& square : {hintSquares->first, hintSquares->second}) {
            drawHighlight(square.file, square.rank, 0.2f, 0.6f, 1, 0.6f);
        }
    }

    drawOverlay();

    glPopAttrib();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glMatrixMode(GL_TEXTURE);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);

    {
        std::lock_guard gui(guiLock);
        toolkit.drawWindows(drawnWidth, drawnHeight);
    }
    SDL_GL_SwapBuffers();
}

void SDLUserInterface::drawPiece(int piece, bool mirrored) {
    Piece3Dmodel& model = *assets.pieceModels.at(piece);
    if (mirrored) {
        model.drawAs(assets.mirrorShape(piece));
    } else {
        model.draw();
    }
}

void SDLUserInterface::drawPieces(bool mirrored) {
    if (!animating) {
        drawStaticPieces(game, mirrored);
        return;
    }
    drawStaticPieces(animationPosition, mirrored);
    const double t = animationFraction(SDL_GetTicks(), animationStart);
    for (const Move* part = &lastEngineMove; part != nullptr;
         part = part->hasCompanion ? part->companion.get() : nullptr) {
        const Vector3 at = animatedPiecePosition(*part, t);
        glPushMatrix();
        glTranslated(at.x, at.y, at.z);
        drawPiece(animatedPiece(*part, t), mirrored);
        glPopMatrix();
    }
}

void SDLUserInterface::drawStaticPieces(const Position& position, bool mirrored) {
    const auto drawAt = [&](int piece, int file, int rank) {
        if (piece == Empty) {
            return;
        }
        glPushMatrix();
        glTranslatef(2.0f * file, 0, -2.0f * rank);
        drawPiece(piece, mirrored);
        glPopMatrix();
    };
    // While the mouse is over a target, the picked piece is shown there instead of its own
    // square.
    const bool preview = hoverIsTarget && squareSelected;
    for (int file = 1; file <= 8; ++file) {
        for (int rank = 1; rank <= 8; ++rank) {
            const bool moved = preview && ((file == selectedFile && rank == selectedRank) ||
                                           (file == hoverFile && rank == hoverRank));
            if (!moved) {
                drawAt(position.at(file, rank), file, rank);
            }
        }
    }
    if (preview) {
        drawAt(position.at(selectedFile, selectedRank), hoverFile, hoverRank);
    }
}

void SDLUserInterface::drawHighlight(int file, int rank, float r, float g, float b, float a) {
    glColor4f(r, g, b, a);
    glBegin(GL_QUADS);
    glNormal3f(0, 1, 0);
    glVertex3f(2.0f * file - 1, 0.015f, -2.0f * rank + 1);
    glVertex3f(2.0f * file + 1, 0.015f, -2.0f * rank + 1);
    glVertex3f(2.0f * file + 1, 0.015f, -2.0f * rank - 1);
    glVertex3f(2.0f * file - 1, 0.015f, -2.0f * rank - 1);
    glEnd();
}

void SDLUserInterface::drawOverlay() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluOrtho2D(0, drawnWidth, 0, drawnHeight);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    // Images are drawn downward from their raster position.
    glPixelZoom(1, -1);

    if (legalMoveCount > 0) {
        drawText(game.sideToMove == 1 ? "White to move" : "Black to move", 25, 50);
        if (game.isWhiteKingAttacked() || game.isBlackKingAttacked()) {
            drawText("Check", drawnWidth / 2 - 20, 50);
        }
        drawThinkingLine();
    } else {
        drawText("Game has ended", 25, 50);
        const std::string reason = game.gameEndReason();
        drawText(reason, drawnWidth / 2 - 4 * static_cast<int>(reason.size()), 50);
    }

    if (!sounds.isOn()) {
        drawText("Sound off", 25, drawnHeight - 25);
    }
    for (const auto& [text, button] : buttons) {
        if (!button.enabled) {
            continue;
        }
        // Placed from the frame's own size: the main thread's layout may not have caught up
        // with a resize yet.
        const ButtonPlace at =
            buttonPlace(text, button.width, button.height, drawnWidth, drawnHeight);
        if (button.hovered) {
            glColor4f(1, 1, 1, 0.5f);
            glBegin(GL_QUADS);
            glVertex2i(at.x, at.y - button.height);
            glVertex2i(at.x + button.width, at.y - button.height);
            glVertex2i(at.x + button.width, at.y);
            glVertex2i(at.x, at.y);
            glEnd();
        }
        drawText(text, at.x, at.y);
    }
}

void SDLUserInterface::drawThinkingLine() {
    const bool forHint = hintSearching;
    if (engineState != Thinking && !forHint) {
        return;
    }
    std::optional<SearchReport> report;
    {
        std::lock_guard hold(progressLock);
        report = latestReport;
    }
    // A copy: the search reads the game meanwhile.
    Position searched = game;
    const std::string what = forHint ? "Looking for a hint" : "Thinking";
    const std::string text = report ? what + ": " + thinkingText(*report, searched) : what;
    if (text != thinkingLineText || thinkingLineImage == nullptr) {
        SDL_FreeSurface(thinkingLineImage);
        thinkingLineImage = assets.text->render(text, false);
        thinkingLineText = text;
    }
    if (thinkingLineImage != nullptr) {
        drawImage(*thinkingLineImage, 25, 25);
    }
}

void SDLUserInterface::drawText(const std::string& text, int x, int y) {
    if (const SDL_Surface* image = assets.text->render(text, true)) {
        drawImage(*image, x, y);
    }
}

void SDLUserInterface::drawImage(const SDL_Surface& image, int x, int y) {
    glRasterPos2i(x, y);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, image.pitch / 4);
    glDrawPixels(image.w, image.h, GL_RGBA, GL_UNSIGNED_BYTE, image.pixels);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
}
