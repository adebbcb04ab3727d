#pragma once

#include <GL/gl.h>
#include <SDL.h>

// What the window's scene shares with the developer tools that draw the same models.

// An OpenGL window of the given size with the most multisampling the display offers: SDL 1.2
// reads the attributes when the window opens, and a display without such a visual refuses the
// window altogether. Null when no window can be opened at all. `flags` are added to SDL_OPENGL
// (SDL_RESIZABLE, SDL_FULLSCREEN); a later SDL_SetVideoMode keeps the attributes chosen here.
SDL_Surface* openOpenGLWindow(int width, int height, Uint32 flags = 0);

// The state that every pass of the scene draws in: depth test, lighting with light 0, normals
// normalised (the models are scaled), and neither dithering nor a logic operation.
void useSceneDrawingState();

// Ambient light, one directional light given while the model-view matrix is the identity (so it
// stays fixed relative to the camera), and colour material for ambient and diffuse.
void setUpSceneLighting();

// The board image as a 2D texture with linear filtering and clamped edges; 0 when its pixels
// are not 3 or 4 bytes each.
GLuint createBoardTexture(const SDL_Surface& image);

// The textured board surface, a hair above the board model, in the given colour.
void drawBoardSurface(GLuint texture, float red, float green, float blue, float alpha);

// The walls of an open box under the board, in depth only: a mirrored piece then shows only
// where the board's outline lets it, without the stencil buffer.
void drawMirrorWalls();

// Closed models (the board model and the pieces) are wound counter-clockwise seen from outside,
// so their back faces are always hidden behind front faces and need not be filled. Between
// these two calls back faces are culled; the board surface and the mirror walls, which are
// seen from both sides, are drawn outside them.
void beginClosedModels();
void endClosedModels();

// The mirror image of the pieces under the board: the scene mirrored in the board plane, whose
// winding turns over, so its front faces are the clockwise ones. The image is seen only faintly
// through the board, so it goes without multisampling, which is most of a frame's cost on a
// software renderer.
void beginMirrorImage();
void endMirrorImage();
