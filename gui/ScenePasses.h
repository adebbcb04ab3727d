#pragma once

#include "Camera.h"
#include "Models.h"

#include <GL/gl.h>

#include <functional>

// One frame of the board scene, pass by pass: the window's frame and the developer tools both
// draw it here, so that a tool's picture is the window's.

struct SceneToDraw {
    Assimp3Dmodel& boardModel;
    GLuint boardTexture = 0;
    // How much of the pieces' mirror image the board surface hides: 1 hides it all.
    float surfaceOpacity = 1;
    // The pieces in board coordinates (the centre of a1 at (2, 0, -2)); mirrored, in the coarse
    // shapes of the mirror image.
    std::function<void(bool mirrored)> drawPieces;
};

// Clears the frame and draws the board model, the board surface with the pieces mirrored in it,
// and the pieces, seen from the camera's place shifted by target and looking at target. Leaves
// the model-view matrix in board coordinates, the depth buffer read-only and the scene's state
// on, for what the frame draws over the board.
void drawScenePasses(const CameraView& view, const Vector3& target, const SceneToDraw& scene);
