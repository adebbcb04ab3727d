#include "SceneSetUp.h"

#include <initializer_list>

SDL_Surface* openOpenGLWindow(int width, int height, Uint32 flags) {
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    for (int samples : {16, 8, 4, 2, 0}) {
        SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, samples > 0 ? 1 : 0);
        SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, samples);
        if (SDL_Surface* screen = SDL_SetVideoMode(width, height, 0, SDL_OPENGL | flags)) {
            return screen;
        }
    }
    return nullptr;
}

void useSceneDrawingState() {
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_NORMALIZE);
    glDisable(GL_DITHER);
    glDisable(GL_COLOR_LOGIC_OP);
}

void setUpSceneLighting() {
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    const GLfloat ambient[] = {0.3f, 0.3f, 0.3f, 1.0f};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
    glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, GL_TRUE);
    const GLfloat lightPosition[] = {1.0f, 0.5f, 1.0f, 0.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, lightPosition);
    glPopMatrix();
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
}

GLuint createBoardTexture(const SDL_Surface& image) {
    const bool redFirst = image.format->Rmask == 0x000000FF;
    GLenum format;
    switch (image.format->BytesPerPixel) {
    case 4:
        format = redFirst ? GL_RGBA : GL_BGRA;
        break;
    case 3:
        format = redFirst ? GL_RGB : GL_BGR;
        break;
    default:
        return 0;
    }
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    // Rows of an SDL surface may be padded; the pitch gives their real length.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, image.pitch / image.format->BytesPerPixel);
    glTexImage2D(GL_TEXTURE_2D, 0, image.format->BytesPerPixel, image.w, image.h, 0, format,
                 GL_UNSIGNED_BYTE, image.pixels);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    return texture;
}

void drawBoardSurface(GLuint texture, float red, float green, float blue, float alpha) {
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    glColor4f(red, green, blue, alpha);
    glBegin(GL_QUADS);
    glNormal3f(0, 1, 0);
    glTexCoord2f(0, 0);
    glVertex3f(1, 0.01f, -17);
    glTexCoord2f(0, 1);
    glVertex3f(17, 0.01f, -17);
    glTexCoord2f(1, 1);
    glVertex3f(17, 0.01f, -1);
    glTexCoord2f(1, 0);
    glVertex3f(1, 0.01f, -1);
    glEnd();
    glDisable(GL_TEXTURE_2D);
}

void drawMirrorWalls() {
    // Far, right, near and left wall, from the board's edge 5 units down.
    static const float walls[4][4] = {
        {1, -17, 17, -17}, {17, -17, 17, -1}, {17, -1, 1, -1}, {1, -1, 1, -17}};
    glDepthMask(GL_TRUE);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    glBegin(GL_QUADS);
    for (const auto& w : walls) {
        glVertex3f(w[0], 0, w[1]);
        glVertex3f(w[2], 0, w[3]);
        glVertex3f(w[2], -5, w[3]);
        glVertex3f(w[0], -5, w[1]);
    }
    glEnd();
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
}

void beginClosedModels() {
    glEnable(GL_CULL_FACE);
}

void endClosedModels() {
    glDisable(GL_CULL_FACE);
}

void beginMirrorImage() {
    glScalef(1, -1, 1);
    glFrontFace(GL_CW);
    glDisable(GL_MULTISAMPLE);
    beginClosedModels();
}

void endMirrorImage() {
    endClosedModels();
    glEnable(GL_MULTISAMPLE);
    glFrontFace(GL_CCW);
    glScalef(1, -1, 1);
}
