#include "Assets.h"
#include "DataFiles.h"
#include "TempDataTree.h"

#include <gtest/gtest.h>

namespace {

const std::string buildData = VELTMARK_BUILD_DATA;

// The build's data folder first, as ./run.sh arranges it.
void useBuildData() {
    ::setenv("XDG_DATA_DIRS", buildData.c_str(), 1);
}

int brightness(const SDL_Surface* image, int column, int row) {
    const auto* p = static_cast<const uint8_t*>(image->pixels) + row * image->pitch + column * 3;
    return p[0] + p[1] + p[2];
}

TEST(LoadAssets, LoadsEverythingFromTheBuildsDataFolder) {
    TempDataTree tree;
    useBuildData();
    const GuiAssets assets = loadAssets();
    ASSERT_TRUE(assets.text && assets.text->font);
    ASSERT_TRUE(assets.boardModel);
    EXPECT_GT(assets.boardModel->triangleCount, 0);

    ASSERT_EQ(assets.pieceModels.size(), 12u);
    for (int code = 1; code <= 12; ++code) {
        SCOPED_TRACE(code);
        const auto& model = assets.pieceModels.at(code);
        EXPECT_EQ(model->isWhite, code <= 6 ? 1 : 0);
        EXPECT_EQ(model->rotationDegrees, 0.0);
        if (code > 6) {
            // Each colour has its own model read from the same file.
            const auto& white = assets.pieceModels.at(code - 6);
            EXPECT_NE(model.get(), white.get());
            EXPECT_EQ(model->vertices, white->vertices);
        }
    }
    // King to pawn in order: the king is the tallest, the pawn the smallest.
    auto height = [&](int code) {
        float top = 0;
        const auto& v = assets.pieceModels.at(code)->vertices;
        for (size_t i = 1; i < v.size(); i += 3) {
            top = std::max(top, v[i]);
        }
        return top;
    };
    EXPECT_GT(height(1), height(2));
    EXPECT_GT(height(4), height(6));
    EXPECT_GT(height(5), height(3));

    const SDL_Surface* image = assets.boardImage.get();
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->w, 512);
    EXPECT_EQ(image->h, 512);
    EXPECT_EQ(image->format->BytesPerPixel, 3);
    EXPECT_EQ(image->format->Rmask, 0x00FF0000u);
    EXPECT_EQ(image->format->Gmask, 0x0000FF00u);
    EXPECT_EQ(image->format->Bmask, 0x000000FFu);
    EXPECT_EQ(image->format->Amask, 0u);
    // Rows run along the files from a, columns along the ranks from 8: a1 is the top right
    // square and dark, h1 below it light, a8 at the top left light.
    const int a1 = brightness(image, 480, 32), h1 = brightness(image, 480, 480);
    const int a8 = brightness(image, 32, 32), b1 = brightness(image, 480, 96);
    EXPECT_LT(a1 + 120, h1);
    EXPECT_LT(a1 + 120, a8);
    EXPECT_LT(a1 + 120, b1);
}

TEST(LoadAssets, TheFontRendersTextOnceWhenCached) {
    TempDataTree tree;
    useBuildData();
    TextRenderer text(requireDataFile(fontFile));
    EXPECT_EQ(TTF_FontHeight(text.font), TTF_FontHeight(text.font)); // opened
    SDL_Surface* first = text.render("White to move", true);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(text.render("White to move", true), first);
    EXPECT_EQ(first->format->BytesPerPixel, 4);
    EXPECT_GT(first->w, 60);
    EXPECT_GT(first->h, 10);
    // White letters on a transparent ground: some pixels opaque white, the corner clear.
    const auto* pixels = static_cast<const uint8_t*>(first->pixels);
    int opaque = 0;
    for (int y = 0; y < first->h; ++y) {
        for (int x = 0; x < first->w; ++x) {
            const uint8_t* p = pixels + y * first->pitch + x * 4;
            if (p[3] == 255) {
                ++opaque;
                EXPECT_EQ(p[0] + p[1] + p[2], 3 * 255);
            }
        }
    }
    EXPECT_GT(opaque, 50);
    EXPECT_EQ(pixels[3], 0);
    SurfacePointer uncached(text.render("Check", false));
    ASSERT_TRUE(uncached);
    EXPECT_LT(uncached->w, first->w);
}

TEST(LoadAssets, AMissingFileStopsTheLoadingWithItsName) {
    TempDataTree tree;
    // A data folder with every file but the pawn.
    for (const char* name : {fontFile, boardModelFile, boardImageFile, "gfx/king.lwo",
                             "gfx/queen.lwo", "gfx/rook.lwo", "gfx/bishop.lwo", "gfx/knight.lwo"}) {
        const auto target = tree.path(std::string("data/veltmark/") + name);
        std::filesystem::create_directories(target.parent_path());
        std::filesystem::create_symlink(std::filesystem::canonical(buildData + "/veltmark/" + name),
                                        target);
    }
    ::setenv("XDG_DATA_DIRS", tree.path("data").c_str(), 1);
    try {
        loadAssets();
        FAIL() << "loaded without the pawn";
    } catch (const DataFileException& missing) {
        EXPECT_NE(std::string(missing.what()).find("\"gfx/pawn.lwo\""), std::string::npos)
            << missing.what();
    }
}

TEST(LoadAssets, MirrorsEachPieceWithItsCoarseShapeOrWithoutOneWithTheFullModel) {
    TempDataTree tree;
    useBuildData();
    const GuiAssets assets = loadAssets();
    ASSERT_EQ(assets.coarsePieceShapes.size(), 6u);
    for (int code = 1; code <= 12; ++code) {
        SCOPED_TRACE(code);
        const Assimp3Dmodel& coarse = assets.mirrorShape(code);
        EXPECT_EQ(&coarse, assets.coarsePieceShapes.at((code - 1) % 6 + 1).get());
        EXPECT_GT(coarse.triangleCount, 0);
        EXPECT_LT(coarse.triangleCount, assets.pieceModels.at(code)->triangleCount * 3 / 5);
    }

    // Data from before the coarse set: every file but those.
    for (const char* name :
         {fontFile, boardModelFile, boardImageFile, "gfx/king.lwo", "gfx/queen.lwo", "gfx/rook.lwo",
          "gfx/bishop.lwo", "gfx/knight.lwo", "gfx/pawn.lwo"}) {
        const auto target = tree.path(std::string("data/veltmark/") + name);
        std::filesystem::create_directories(target.parent_path());
        std::filesystem::create_symlink(std::filesystem::canonical(buildData + "/veltmark/" + name),
                                        target);
    }
    ::setenv("XDG_DATA_DIRS", tree.path("data").c_str(), 1);
    const GuiAssets older = loadAssets();
    EXPECT_TRUE(older.coarsePieceShapes.empty());
    EXPECT_EQ(&older.mirrorShape(11), older.pieceModels.at(11).get());
}

TEST(LoadAssets, AnUnreadableImageIsNamed) {
    TempDataTree tree;
    const auto path = tree.touch("board.gif", "GIF89a");
    try {
        loadBoardImage(path);
        FAIL() << "read a broken image";
    } catch (const DataFileException& failure) {
        EXPECT_NE(std::string(failure.what()).find(path), std::string::npos);
    }
}

TEST(LoadAssetsOrStop, EndsTheProgramNamingTheMissingFile) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    TempDataTree tree;
    ::setenv("XDG_DATA_DIRS", tree.path("empty").c_str(), 1);
    EXPECT_EXIT(loadAssetsOrStop(), testing::ExitedWithCode(255),
                "veltmark: cannot find the data file \"fonts/LiberationSans-Regular.ttf\"");
}

} // namespace
