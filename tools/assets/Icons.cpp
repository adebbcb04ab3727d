// Renders the program's icon in the sizes that desktops ask for and the logo that chess GUIs show
// beside the engine's clock, from the piece models and the interface font, into the folder given
// on the command line:
//   <folder>/hicolor/<N>x<N>/apps/veltmark.png and <folder>/logo.png (100 × 50)
// It needs an OpenGL display; the target regenerate-icons runs it under a virtual one.
#include "Assets.h"
#include "DataFiles.h"
#include "Png.h"
#include "SceneSetUp.h"
#include "Settings.h"

#include <GL/gl.h>
#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <limits>
#include <string>
#include <vector>

namespace {

// Everything is drawn at this many pixels per output pixel and averaged down: at 16 pixels
// multisampling alone leaves the outline ragged.
constexpr int oversampling = 4;
constexpr int iconSizes[] = {16, 24, 32, 48, 64, 128, 256};
constexpr int logoWidth = 100, logoHeight = 50;
constexpr int windowSide = 256 * oversampling;

// Premultiplied RGBA, top row first.
struct Canvas {
    Canvas(int w, int h) : width(w), height(h), pixels(static_cast<size_t>(w) * h * 4, 0) {}
    uint8_t* at(int x, int y) { return &pixels[(static_cast<size_t>(y) * width + x) * 4]; }
    const uint8_t* at(int x, int y) const {
        return &pixels[(static_cast<size_t>(y) * width + x) * 4];
    }
    int width, height;
    std::vector<uint8_t> pixels;
};

struct Placement {
    int code;        // 1 to 6 White king to pawn, 7 to 12 Black
    double x, z;     // on the board plane, in model units
    double rotation; // degrees about the vertical axis; 0 faces the camera at azimuth 0
};

struct View {
    double azimuth, elevation; // degrees: where the camera stands, looking at the origin
};

// A white knight in front of a black king: the knight alone reads as "chess" at 16 pixels, the
// king gives the outline a second, darker shape on light panels.
const std::vector<Placement> iconPieces = {{1 + 6, 0.5, -1.4, 0.0}, {5, -0.1, 0.7, -70.0}};
const View iconView{20.0, 12.0};
const std::vector<Placement> logoPieces = {{5 + 6, 0.0, 0.0, 75.0}};
const View logoView{0.0, 10.0};
const SDL_Color logoText{64, 32, 16, 255};
const uint8_t logoBackground[3] = {244, 238, 224};

void lookFrom(const View& view) {
    glRotated(view.elevation, 1, 0, 0);
    glRotated(-view.azimuth, 0, 1, 0);
}

// Extents of the pieces in eye space, for fitting them into the frame.
struct Box {
    double minX = std::numeric_limits<double>::max(), maxX = -minX;
    double minY = minX, maxY = -minX, minZ = minX, maxZ = -minX;
};

Box eyeBounds(GuiAssets& assets, const std::vector<Placement>& pieces, const View& view) {
    Box box;
    glMatrixMode(GL_MODELVIEW);
    for (const auto& piece : pieces) {
        glLoadIdentity();
        lookFrom(view);
        glTranslated(piece.x, 0, piece.z);
        glRotated(piece.rotation, 0, 1, 0);
        GLdouble m[16];
        glGetDoublev(GL_MODELVIEW_MATRIX, m);
        const std::vector<float>& v = assets.pieceModels[piece.code]->vertices;
        for (size_t i = 0; i + 2 < v.size(); i += 3) {
            const double x = m[0] * v[i] + m[4] * v[i + 1] + m[8] * v[i + 2] + m[12];
            const double y = m[1] * v[i] + m[5] * v[i + 1] + m[9] * v[i + 2] + m[13];
            const double z = m[2] * v[i] + m[6] * v[i + 1] + m[10] * v[i + 2] + m[14];
            box.minX = std::min(box.minX, x);
            box.maxX = std::max(box.maxX, x);
            box.minY = std::min(box.minY, y);
            box.maxY = std::max(box.maxY, y);
            box.minZ = std::min(box.minZ, z);
            box.maxZ = std::max(box.maxZ, z);
        }
    }
    return box;
}

std::vector<uint8_t> drawAndRead(GuiAssets& assets, const std::vector<Placement>& pieces,
                                 const View& view, int width, int height, float background) {
    glViewport(0, 0, width, height);
    glClearColor(background, background, background, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    for (const auto& piece : pieces) {
        glLoadIdentity();
        lookFrom(view);
        glTranslated(piece.x, 0, piece.z);
        Piece3Dmodel& model = *assets.pieceModels[piece.code];
        model.rotationDegrees = piece.rotation;
        model.draw();
    }
    glFinish();
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    return rgb;
}

// The pieces on a transparent background, fitted into the frame with a margin on every side (a
// fraction of the frame's height). The window has no alpha channel that can be relied on, so the
// frame is drawn over black and over white: what shows through the white one is the
// transparency.
Canvas renderPieces(GuiAssets& assets, const std::vector<Placement>& pieces, const View& view,
                    int width, int height, double margin) {
    const Box box = eyeBounds(assets, pieces, view);
    const double aspect = static_cast<double>(width) / height;
    const double halfY =
        std::max(box.maxY - box.minY, (box.maxX - box.minX) / aspect) / 2 / (1 - 2 * margin);
    const double halfX = halfY * aspect;
    const double cx = (box.minX + box.maxX) / 2, cy = (box.minY + box.maxY) / 2;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(cx - halfX, cx + halfX, cy - halfY, cy + halfY, -box.maxZ - 1, -box.minZ + 1);

    const std::vector<uint8_t> overBlack = drawAndRead(assets, pieces, view, width, height, 0);
    const std::vector<uint8_t> overWhite = drawAndRead(assets, pieces, view, width, height, 1);
    Canvas canvas(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            // OpenGL rows run bottom to top.
            const size_t from = (static_cast<size_t>(height - 1 - y) * width + x) * 3;
            int shown = 0;
            for (int c = 0; c < 3; ++c) {
                shown += 255 - (overWhite[from + c] - overBlack[from + c]);
            }
            const int alpha = std::clamp((shown + 1) / 3, 0, 255);
            uint8_t* to = canvas.at(x, y);
            for (int c = 0; c < 3; ++c) {
                to[c] = static_cast<uint8_t>(std::min<int>(overBlack[from + c], alpha));
            }
            to[3] = static_cast<uint8_t>(alpha);
        }
    }
    return canvas;
}

Canvas downsample(const Canvas& big, int factor) {
    Canvas small(big.width / factor, big.height / factor);
    const int area = factor * factor;
    for (int y = 0; y < small.height; ++y) {
        for (int x = 0; x < small.width; ++x) {
            int sum[4] = {0, 0, 0, 0};
            for (int dy = 0; dy < factor; ++dy) {
                for (int dx = 0; dx < factor; ++dx) {
                    const uint8_t* p = big.at(x * factor + dx, y * factor + dy);
                    for (int c = 0; c < 4; ++c) {
                        sum[c] += p[c];
                    }
                }
            }
            for (int c = 0; c < 4; ++c) {
                small.at(x, y)[c] = static_cast<uint8_t>((sum[c] + area / 2) / area);
            }
        }
    }
    return small;
}

void drawOver(Canvas& target, const Canvas& layer, int left, int top) {
    for (int y = 0; y < layer.height; ++y) {
        for (int x = 0; x < layer.width; ++x) {
            if (left + x < 0 || left + x >= target.width || top + y < 0 ||
                top + y >= target.height) {
                continue;
            }
            const uint8_t* src = layer.at(x, y);
            uint8_t* dst = target.at(left + x, top + y);
            for (int c = 0; c < 4; ++c) {
                dst[c] = static_cast<uint8_t>(src[c] + (dst[c] * (255 - src[3]) + 127) / 255);
            }
        }
    }
}

std::vector<uint8_t> straightAlpha(const Canvas& canvas) {
    std::vector<uint8_t> rgba(canvas.pixels.size());
    for (size_t i = 0; i < rgba.size(); i += 4) {
        const int alpha = canvas.pixels[i + 3];
        for (int c = 0; c < 3; ++c) {
            rgba[i + c] = alpha == 0 ? 0
                                     : static_cast<uint8_t>(std::min(
                                           255, (canvas.pixels[i + c] * 255 + alpha / 2) / alpha));
        }
        rgba[i + 3] = static_cast<uint8_t>(alpha);
    }
    return rgba;
}

// The text in the largest point size whose image fits the box.
Canvas renderText(const std::string& fontPath, const std::string& text, SDL_Color colour,
                  int maxWidth, int maxHeight) {
    for (int points = maxHeight; points > 4; --points) {
        TTF_Font* font = TTF_OpenFont(fontPath.c_str(), points);
        if (font == nullptr) {
            throw DataFileException("cannot open the font \"" + fontPath + "\": " + TTF_GetError());
        }
        TTF_SetFontStyle(font, TTF_STYLE_BOLD);
        int w = 0, h = 0;
        TTF_SizeUTF8(font, text.c_str(), &w, &h);
        if (w > maxWidth || h > maxHeight) {
            TTF_CloseFont(font);
            continue;
        }
        SurfacePointer image(TTF_RenderUTF8_Blended(font, text.c_str(), colour));
        TTF_CloseFont(font);
        if (!image) {
            throw DataFileException(std::string("cannot draw the text: ") + TTF_GetError());
        }
        Canvas canvas(image->w, image->h);
        SDL_LockSurface(image.get());
        for (int y = 0; y < image->h; ++y) {
            const auto* row = static_cast<const uint8_t*>(image->pixels) + y * image->pitch;
            for (int x = 0; x < image->w; ++x) {
                const uint32_t pixel = reinterpret_cast<const uint32_t*>(row)[x];
                uint8_t r, g, b, a;
                SDL_GetRGBA(pixel, image->format, &r, &g, &b, &a);
                uint8_t* to = canvas.at(x, y);
                to[0] = static_cast<uint8_t>((r * a + 127) / 255);
                to[1] = static_cast<uint8_t>((g * a + 127) / 255);
                to[2] = static_cast<uint8_t>((b * a + 127) / 255);
                to[3] = a;
            }
        }
        SDL_UnlockSurface(image.get());
        return canvas;
    }
    throw DataFileException("the text \"" + text + "\" does not fit the logo");
}

void save(const std::filesystem::path& path, const Canvas& canvas) {
    std::filesystem::create_directories(path.parent_path());
    if (!writeRgbaPng(path.string(), canvas.width, canvas.height, straightAlpha(canvas))) {
        throw std::runtime_error("cannot write " + path.string());
    }
    std::cout << path.string() << "\n";
}

// The scene's light and depth set-up.
void setUpLighting() {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    setUpSceneLighting();
    useSceneDrawingState();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: veltmark-icons <output folder>\n";
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    GuiAssets assets = loadAssetsOrStop();
    settings = defaultSettings();
    if (SDL_Init(SDL_INIT_VIDEO) != 0 || openOpenGLWindow(windowSide, windowSide) == nullptr) {
        std::cerr << "veltmark-icons: " << SDL_GetError() << "\n";
        return 1;
    }
    setUpLighting();
    try {
        for (const int size : iconSizes) {
            const Canvas big = renderPieces(assets, iconPieces, iconView, size * oversampling,
                                            size * oversampling, 0.02);
            save(folder / "hicolor" / (std::to_string(size) + "x" + std::to_string(size)) / "apps" /
                     "veltmark.png",
                 downsample(big, oversampling));
        }

        const int w = logoWidth * oversampling, h = logoHeight * oversampling;
        Canvas logo(w, h);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                std::copy(logoBackground, logoBackground + 3, logo.at(x, y));
                logo.at(x, y)[3] = 255;
            }
        }
        drawOver(logo, renderPieces(assets, logoPieces, logoView, h, h, 0.06), 0, 0);
        const int gap = h / 20;
        const Canvas text =
            renderText(requireDataFile(fontFile), "Veltmark", logoText, w - h - 2 * gap, h / 2);
        drawOver(logo, text, h + (w - h - text.width) / 2 - gap, (h - text.height) / 2);
        save(folder / "logo.png", downsample(logo, oversampling));
    } catch (const std::exception& error) {
        std::cerr << "veltmark-icons: " << error.what() << "\n";
        SDL_Quit();
        return 1;
    }
    SDL_Quit();
    return 0;
}
