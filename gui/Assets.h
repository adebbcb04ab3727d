#pragma once

#include "Models.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <map>
#include <memory>
#include <string>

struct SurfaceDeleter {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using SurfacePointer = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

// The interface font and the images of the texts drawn with it.
class TextRenderer {
public:
    // Initialises the font library and opens the font at 20 points.
    explicit TextRenderer(const std::string& fontPath);
    ~TextRenderer();
    TextRenderer(const TextRenderer&) = delete;
    TextRenderer& operator=(const TextRenderer&) = delete;

    // The text in the text colour as 32-bit RGBA pixels (bytes R, G, B, A); with caching each
    // distinct text is rendered once and the image stays owned by the renderer. Without
    // caching the caller owns the image. Null for an empty text or a rendering failure.
    SDL_Surface* render(const std::string& text, bool cache);

    TTF_Font* font = nullptr;
    SDL_Color color{255, 255, 255, 0};

private:
    std::map<std::string, SurfacePointer> cache_;
};

// The image at path as 24-bit pixels (3 bytes per pixel, red mask 0x00FF0000, green 0x0000FF00,
// blue 0x000000FF, no alpha); DataFileException when the image library cannot read it.
SurfacePointer loadBoardImage(const std::string& path);

// What the graphical face loads when it is made, in this order: the font, the board model, the
// White pieces king to pawn (codes 1 to 6), the Black pieces from the same files (7 to 12), the
// board image, the coarse pieces. Every piece file is read once per colour so that each code has
// its own model.
struct GuiAssets {
    std::unique_ptr<TextRenderer> text;
    std::unique_ptr<Assimp3Dmodel> boardModel;
    std::map<int, std::unique_ptr<Piece3Dmodel>> pieceModels;
    SurfacePointer boardImage;
    // The pieces' shapes cut with fewer triangles, by the White piece's code, for the mirror
    // image in the board. A kind whose file is missing (data from an older installation) is
    // mirrored with its full model.
    std::map<int, std::unique_ptr<Assimp3Dmodel>> coarsePieceShapes;

    // What the mirror image of the piece with this code is drawn with.
    const Assimp3Dmodel& mirrorShape(int piece) const;
};

// Raises DataFileException for a file found nowhere or unreadable.
GuiAssets loadAssets();

// loadAssets, or the message on standard error and the end of the process.
GuiAssets loadAssetsOrStop();

// The relative paths of the data files, in loading order.
extern const char* const fontFile;
extern const char* const boardModelFile;
extern const char* const pieceModelFiles[6]; // king, queen, rook, bishop, knight, pawn
extern const char* const boardImageFile;
extern const char* const coarsePieceModelFiles[6];
