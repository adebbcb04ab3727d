#include "ScenePasses.h"

#include "SceneSetUp.h"

#include <GL/glu.h>

namespace {

void drawSurface(const SceneToDraw& scene) {
    // White, so that the second pass, which multiplies the texture by this colour, fades only the
    // reflection: a black surface would darken the board in proportion to its opacity, to pure
    // black at reflectivity 0.
    drawBoardSurface(scene.boardTexture, 1, 1, 1, scene.surfaceOpacity);
}

} // namespace

void drawScenePasses(const CameraView& view, const Vector3& target, const SceneToDraw& scene) {
    useSceneDrawingState();
    glClearColor(0, 0, 0, 0);
    glClearDepth(1.0);
    glClearStencil(0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);

    gluLookAt(view.eye.x + target.x, view.eye.y + target.y, view.eye.z + target.z, target.x,
              target.y, target.z, view.up.x, view.up.y, view.up.z);

    beginClosedModels();
    glColor3f(0.5f, 0.6f, 0.5f);
    scene.boardModel.draw();
    endClosedModels();
    // The board model hides nothing that is drawn after it.
    glClear(GL_DEPTH_BUFFER_BIT);
    glDepthMask(GL_FALSE);
    glTranslatef(-9, 0, 9);

    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    drawSurface(scene);

    drawMirrorWalls();

    beginMirrorImage();
    scene.drawPieces(true);
    endMirrorImage();

    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    drawSurface(scene);
    glDisable(GL_BLEND);

    beginClosedModels();
    scene.drawPieces(false);
    endClosedModels();
}
