// Draws the set on the textured board with the window's own passes and camera and saves the
// frame as a PNG, for looking at the models: run it under a virtual display, for example
//   xvfb-run -s "-screen 0 1024x768x24" veltmark-preview --out set.png
// Options: --layout start|lineup|single:CODE (the starting array, the six pieces of each side on
// the fourth and fifth ranks, or one piece on d4), --azimuth and --elevation in degrees,
// --distance, --knights forward|sideways, --out FILE.
#include "Assets.h"
#include "Camera.h"
#include "DataFiles.h"
#include "Png.h"
#include "ScenePasses.h"
#include "SceneSetUp.h"
#include "Settings.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <SDL.h>

#include <cstring>
#include <fstream>
#include <iostream>
#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr int windowWidth = 800, windowHeight = 600;

struct Options {
    std::string out = "preview.png";
    std::string layout = "lineup";
    double azimuth = 0, elevation = 60, distance = 20;
    bool sideways = false;
};

// Piece codes by square, file-major like the scene draws them.
std::vector<std::pair<int, std::pair<int, int>>> layoutPieces(const std::string& layout) {
    std::vector<std::pair<int, std::pair<int, int>>> placed;
    if (layout == "start") {
        const int back[8] = {3, 5, 4, 2, 1, 4, 5, 3};
        for (int file = 1; file <= 8; ++file) {
            placed.push_back({back[file - 1], {file, 1}});
            placed.push_back({6, {file, 2}});
            placed.push_back({12, {file, 7}});
            placed.push_back({back[file - 1] + 6, {file, 8}});
        }
    } else if (layout.rfind("single:", 0) == 0) {
        placed.push_back({std::stoi(layout.substr(7)), {4, 4}});
    } else {
        for (int kind = 1; kind <= 6; ++kind) {
            placed.push_back({kind, {kind + 1, 4}});
            placed.push_back({kind + 6, {kind + 1, 5}});
        }
    }
    return placed;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i], value = argv[i + 1];
        if (name == "--out") {
            options.out = value;
        } else if (name == "--layout") {
            options.layout = value;
        } else if (name == "--azimuth") {
            options.azimuth = std::stod(value);
        } else if (name == "--elevation") {
            options.elevation = std::stod(value);
        } else if (name == "--distance") {
            options.distance = std::stod(value);
        } else if (name == "--knights") {
            options.sideways = value == "sideways";
        } else {
            std::cerr << "veltmark-preview: unknown option " << name << "\n";
            return 2;
        }
    }

    GuiAssets assets = loadAssetsOrStop();
    settings = defaultSettings();
    assets.pieceModels[5]->rotationDegrees = options.sideways ? 90.0 : 180.0;
    assets.pieceModels[11]->rotationDegrees = options.sideways ? 90.0 : 0.0;

    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::cerr << "veltmark-preview: " << SDL_GetError() << "\n";
        return 1;
    }
    if (openOpenGLWindow(windowWidth, windowHeight) == nullptr) {
        std::cerr << "veltmark-preview: " << SDL_GetError() << "\n";
        return 1;
    }

    // The scene's set-up: projection, light fixed to the camera, colour material.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(60.0, static_cast<float>(windowWidth) / static_cast<float>(windowHeight), 1.0,
                   500.0);
    glViewport(0, 0, windowWidth, windowHeight);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    setUpSceneLighting();
    const GLuint texture = createBoardTexture(*assets.boardImage);

    Camera camera;
    camera.cameraAzimuth = options.azimuth * std::numbers::pi / 180;
    camera.cameraElevation = options.elevation * std::numbers::pi / 180;
    camera.cameraDistance = options.distance;
    // A single piece is looked at from close by: aim at its middle instead of the board's centre.
    const bool single = options.layout.rfind("single:", 0) == 0;
    const Vector3 target = single ? Vector3{-1, 1.1, 1} : Vector3{};

    const auto placed = layoutPieces(options.layout);
    const auto drawPieces = [&](bool mirrored) {
        for (const auto& [code, square] : placed) {
            glPushMatrix();
            glTranslated(2.0 * square.first, 0, -2.0 * square.second);
            Piece3Dmodel& model = *assets.pieceModels[code];
            if (mirrored) {
                model.drawAs(assets.mirrorShape(code));
            } else {
                model.draw();
            }
            glPopMatrix();
        }
    };
    drawScenePasses(
        cameraView(camera), target,
        {*assets.boardModel, texture, static_cast<float>(1.0 - settings.reflectivity), drawPieces});
    glFinish();

    std::vector<uint8_t> pixels(windowWidth * windowHeight * 4), flipped(pixels.size());
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, windowWidth, windowHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    for (int y = 0; y < windowHeight; ++y) {
        std::memcpy(&flipped[y * windowWidth * 4],
                    &pixels[(windowHeight - 1 - y) * windowWidth * 4], windowWidth * 4);
    }
    for (size_t i = 3; i < flipped.size(); i += 4) {
        flipped[i] = 255; // the picture is opaque whatever the frame's alpha holds
    }
    SDL_Quit();
    if (!writeRgbaPng(options.out, windowWidth, windowHeight, flipped)) {
        std::cerr << "veltmark-preview: cannot write " << options.out << "\n";
        return 1;
    }
    return 0;
}
