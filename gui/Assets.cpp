#include "Assets.h"

#include "DataFiles.h"

#include <SDL_image.h>

const char* const fontFile = "fonts/LiberationSans-Regular.ttf";
const char* const boardModelFile = "gfx/board.lwo";
const char* const pieceModelFiles[6] = {"gfx/king.lwo",   "gfx/queen.lwo",  "gfx/rook.lwo",
                                        "gfx/bishop.lwo", "gfx/knight.lwo", "gfx/pawn.lwo"};
const char* const boardImageFile = "textures/board.gif";
const char* const coarsePieceModelFiles[6] = {"gfx/coarse/king.lwo",   "gfx/coarse/queen.lwo",
                                              "gfx/coarse/rook.lwo",   "gfx/coarse/bishop.lwo",
                                              "gfx/coarse/knight.lwo", "gfx/coarse/pawn.lwo"};

TextRenderer::TextRenderer(const std::string& fontPath) {
    if (TTF_WasInit() == 0 && TTF_Init() != 0) {
        throw DataFileException(std::string("cannot start the font library: ") + TTF_GetError());
    }
    font = TTF_OpenFont(fontPath.c_str(), 20);
    if (font == nullptr) {
        throw DataFileException("cannot open the font \"" + fontPath + "\": " + TTF_GetError());
    }
}

TextRenderer::~TextRenderer() {
    cache_.clear();
    TTF_CloseFont(font);
}

SDL_Surface* TextRenderer::render(const std::string& text, bool cache) {
    if (cache) {
        if (auto found = cache_.find(text); found != cache_.end()) {
            return found->second.get();
        }
    }
    if (text.empty()) {
        return nullptr;
    }
    SurfacePointer rendered(TTF_RenderText_Blended(font, text.c_str(), color));
    if (!rendered) {
        return nullptr;
    }
    // Byte order R, G, B, A whatever the machine's endianness.
    const bool bigEndian = SDL_BYTEORDER == SDL_BIG_ENDIAN;
    SurfacePointer rgba(SDL_CreateRGBSurface(
        SDL_SWSURFACE, rendered->w, rendered->h, 32, bigEndian ? 0xFF000000 : 0x000000FF,
        bigEndian ? 0x00FF0000 : 0x0000FF00, bigEndian ? 0x0000FF00 : 0x00FF0000,
        bigEndian ? 0x000000FF : 0xFF000000));
    if (!rgba) {
        return nullptr;
    }
    // Copy the alpha channel as it is instead of blending onto the empty target.
    SDL_SetAlpha(rendered.get(), 0, 255);
    SDL_BlitSurface(rendered.get(), nullptr, rgba.get(), nullptr);
    if (!cache) {
        return rgba.release();
    }
    return cache_.emplace(text, std::move(rgba)).first->second.get();
}

SurfacePointer loadBoardImage(const std::string& path) {
    SurfacePointer loaded(IMG_Load(path.c_str()));
    if (!loaded) {
        throw DataFileException("cannot read the image \"" + path + "\": " + IMG_GetError());
    }
    SurfacePointer converted(SDL_CreateRGBSurface(SDL_SWSURFACE, loaded->w, loaded->h, 24,
                                                  0x00FF0000, 0x0000FF00, 0x000000FF, 0));
    if (!converted) {
        throw DataFileException("cannot convert the image \"" + path + "\": " + SDL_GetError());
    }
    SDL_SetAlpha(loaded.get(), 0, 255);
    SDL_SetColorKey(loaded.get(), 0, 0);
    if (SDL_BlitSurface(loaded.get(), nullptr, converted.get(), nullptr) != 0) {
        throw DataFileException("cannot convert the image \"" + path + "\": " + SDL_GetError());
    }
    return converted;
}

GuiAssets loadAssets() {
    GuiAssets assets;
    assets.text = std::make_unique<TextRenderer>(requireDataFile(fontFile));
    assets.boardModel = std::make_unique<Assimp3Dmodel>(requireDataFile(boardModelFile));
    for (int side = 0; side < 2; ++side) {
        for (int kind = 0; kind < 6; ++kind) {
            const int code = 1 + kind + 6 * side;
            assets.pieceModels[code] = std::make_unique<Piece3Dmodel>(
                requireDataFile(pieceModelFiles[kind]), side == 0, 0.0);
        }
    }
    assets.boardImage = loadBoardImage(requireDataFile(boardImageFile));
    for (int kind = 0; kind < 6; ++kind) {
        if (const auto path = findDataFile(coarsePieceModelFiles[kind])) {
            assets.coarsePieceShapes[1 + kind] = std::make_unique<Assimp3Dmodel>(*path);
        }
    }
    return assets;
}

const Assimp3Dmodel& GuiAssets::mirrorShape(int piece) const {
    const int whiteCode = (piece - 1) % 6 + 1;
    if (const auto coarse = coarsePieceShapes.find(whiteCode); coarse != coarsePieceShapes.end()) {
        return *coarse->second;
    }
    return *pieceModels.at(piece);
}

GuiAssets loadAssetsOrStop() {
    try {
        return loadAssets();
    } catch (const DataFileException& failure) {
        stopForMissingData(failure.what());
    }
}
