#include "BoardPicking.h"
#include "Camera.h"
#include "MoveAnimation.h"
#include "ScreenButtons.h"
#include "TestPositions.h"
#include "TextWrapping.h"
#include "VectorMath.h"
#include "WindowGeometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

namespace {

std::optional<Square> squareAt(double x, double z) {
    return squareUnderRay({x, 1, z}, {x, -1, z});
}

Vector3 normalised(Vector3 v) {
    const double n = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    return {v.x / n, v.y / n, v.z / n};
}

// The mouse ray of the perspective view runs from the eye through the board point under the
// mouse; the frame unprojects it to the near plane, 1 unit away, and the far plane, 500.
std::optional<Square> pickThrough(const Camera& camera, double x, double z) {
    const Vector3 world = cameraView(camera).eye;
    const Vector3 eye{world.x + 9, world.y, world.z - 9}; // board coordinates
    const Vector3 d = normalised({x - eye.x, -eye.y, z - eye.z});
    const auto along = [&](double k) {
        return Vector3{eye.x + k * d.x, eye.y + k * d.y, eye.z + k * d.z};
    };
    return squareUnderRay(along(1), along(500));
}

} // namespace

TEST(BoardPickingTest, SquareBoundariesBelongToTheLowerFileAndTheNearerRank) {
    // Square (f, r) covers 2f - 1 <= X < 2f + 1 and -2r - 1 < Z <= -2r + 1.
    EXPECT_EQ(squareAt(3.0, -2.0), (Square{2, 1}));
    EXPECT_EQ(squareAt(2.999, -2.0), (Square{1, 1}));
    EXPECT_EQ(squareAt(4.0, -3.0), (Square{2, 2}));
    EXPECT_EQ(squareAt(4.0, -2.999), (Square{2, 1}));
    // The outer edges.
    EXPECT_EQ(squareAt(1.0, -1.0), (Square{1, 1}));
    EXPECT_EQ(squareAt(16.999, -16.999), (Square{8, 8}));
    EXPECT_EQ(squareAt(16.999, -1.001), (Square{8, 1}));
    const std::pair<double, double> outside[] = {{0.999, -2.0}, {17.0, -2.0}, {4.0, -0.999},
                                                 {4.0, -17.0},  {-1.5, -2.0}, {4.0, 1.5},
                                                 {-30.0, 30.0}, {1e12, -4.0}};
    for (const auto& [x, z] : outside) {
        EXPECT_EQ(squareAt(x, z), std::nullopt) << x << ", " << z;
    }
}

TEST(BoardPickingTest, ARealCameraPicksTheSquareUnderTheMouseAndAParallelRayNone) {
    EXPECT_EQ(squareUnderRay({4, 2, -4}, {10, 2, -10}), std::nullopt);
    EXPECT_EQ(squareUnderRay({4, 0, -4}, {10, 0, -10}), std::nullopt);
    Camera low;
    low.cameraAzimuth = 2.5;
    low.cameraElevation = 0.3;
    low.cameraDistance = 12;
    for (const Camera& camera : {Camera{}, low}) {
        for (int file = 1; file <= 8; ++file) {
            for (int rank = 1; rank <= 8; ++rank) {
                // Near the corners of the square as well as at its centre.
                for (const double d : {0.0, 0.9, -0.9}) {
                    EXPECT_EQ(pickThrough(camera, 2 * file + d, -2 * rank - d),
                              (Square{file, rank}))
                        << file << rank << " offset " << d;
                }
            }
        }
    }
}

namespace {

// Where a board point appears in the window, projected forward as the frame draws it.
std::pair<double, double> onScreen(const Camera& camera, const WindowView& window, double x,
                                   double z) {
    const CameraView view = cameraView(camera);
    const Vector3 forward = normalised({-view.eye.x, -view.eye.y, -view.eye.z});
    const Vector3 side = normalised({forward.y * view.up.z - forward.z * view.up.y,
                                     forward.z * view.up.x - forward.x * view.up.z,
                                     forward.x * view.up.y - forward.y * view.up.x});
    const Vector3 up{side.y * forward.z - side.z * forward.y,
                     side.z * forward.x - side.x * forward.z,
                     side.x * forward.y - side.y * forward.x};
    const Vector3 d{x - 9 - view.eye.x, -view.eye.y, z + 9 - view.eye.z};
    const ScenePerspective perspective = scenePerspective(window.width, window.height);
    const double depth = dot(forward, d) * std::tan(perspective.fieldOfViewY * pi / 360);
    const double ndcX = dot(side, d) / (depth * perspective.aspect);
    const double ndcY = dot(up, d) / depth;
    return {(ndcX + 1) / 2 * window.width, window.height - (ndcY + 1) / 2 * window.height};
}

} // namespace

TEST(BoardPickingTest, TheMouseFindsTheSquareDrawnUnderItWithoutTheRenderer) {
    Camera low;
    low.cameraAzimuth = 2.5;
    low.cameraElevation = 0.3;
    low.cameraDistance = 12;
    Camera overhead;
    overhead.cameraAzimuth = -1.2;
    overhead.cameraElevation = 1.5;
    // The projection follows a resized window, wide or narrow.
    const WindowView wide{1600, 700};
    const WindowView narrow{640, 900};
    for (const auto& [camera, window] :
         {std::pair{Camera{}, WindowView{}}, std::pair{low, WindowView{}},
          std::pair{overhead, wide}, std::pair{Camera{}, wide}, std::pair{low, narrow}}) {
        for (int file = 1; file <= 8; ++file) {
            for (int rank = 1; rank <= 8; ++rank) {
                for (const double d : {0.0, 0.9, -0.9}) {
                    const auto [x, y] = onScreen(camera, window, 2 * file + d, -2 * rank - d);
                    EXPECT_EQ(squareUnderMouse(camera, x, y, window), (Square{file, rank}))
                        << file << rank << " offset " << d << " at " << x << ", " << y;
                }
            }
        }
        const auto [x, y] = onScreen(camera, window, 18.5, -4);
        EXPECT_EQ(squareUnderMouse(camera, x, y, window), std::nullopt) << "beside the board";
    }
    EXPECT_EQ(squareUnderMouse(Camera{}, 400, 2, WindowView{}), std::nullopt) << "above it";
}

TEST(MoveAnimationTest, PieceEasesFromItsSquareToItsTarget) {
    Game g;
    Move m(&g.position);
    ASSERT_TRUE(m.fromString("g1f3"));
    // g1 is at (14, -2), f3 at (12, -6); the knight slides straight between them.
    const auto at = [&](uint32_t ms) {
        const Vector3 p = animatedPiecePosition(m, animationFraction(1000 + ms, 1000));
        EXPECT_EQ(p.y, 0);
        EXPECT_NEAR(p.x - 14, (p.z + 2) / 2, 1e-12);
        return p.z;
    };
    EXPECT_NEAR(at(0), -2, 1e-12);
    EXPECT_NEAR(at(250), -4, 1e-12);
    EXPECT_NEAR(at(500), -6, 1e-12);
    // Symmetric in time, slow at both ends and fast in the middle.
    for (const uint32_t ms : {25, 100, 200}) {
        EXPECT_NEAR(at(ms) + at(500 - ms), -8, 1e-12) << ms;
    }
    const auto progress = [&](double t) { return (animatedPiecePosition(m, t).z + 2) / -4; };
    EXPECT_LT(progress(0.1), 0.05);
    EXPECT_GT(progress(0.9), 0.95);
    EXPECT_GT(progress(0.55) - progress(0.45), 0.1);

    // The tick counter wrapping around does not stop the animation.
    EXPECT_NEAR(animationFraction(100, 0xFFFFFFFFu - 149), 0.5, 1e-12);
}

TEST(MoveAnimationTest, PromotionSwitchesPieceAtHalfTimeAndCastlingMovesTheRook) {
    Game promotion("8/4P3/8/8/8/8/k7/6K1 w - - 0 1");
    Move m(&promotion.position);
    ASSERT_TRUE(m.fromString("e7e8n"));
    EXPECT_EQ(animatedPiece(m, animationFraction(249, 0)), WhitePawn);
    EXPECT_EQ(animatedPiece(m, animationFraction(250, 0)), WhiteKnight);
    EXPECT_EQ(animatedPiece(m, animationFraction(499, 0)), WhiteKnight);

    Game castling("r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1");
    Move castle(&castling.position);
    ASSERT_TRUE(castle.fromString("e8c8"));
    ASSERT_TRUE(castle.hasCompanion);
    const Move& rook = *castle.companion;
    EXPECT_EQ(animatedPiece(rook, 0.8), BlackRook);
    EXPECT_NEAR(animatedPiecePosition(rook, 0).x, 2, 1e-12);
    EXPECT_NEAR(animatedPiecePosition(rook, 1).x, 8, 1e-12);
    EXPECT_NEAR(animatedPiecePosition(rook, 1).z, -16, 1e-12);
}

TEST(ScreenButtonsTest, FourButtonsSitAtTheWindowEdgesAndHitOnlyStrictlyInside) {
    ScreenButtons buttons;
    for (const auto& text : {newGameButton, settingsButton, undoButton, redoButton}) {
        buttons[text].width = 80 + static_cast<int>(text.size());
        buttons[text].height = 22;
    }
    layOutButtons(buttons, 800, 600);
    const auto at = [&](const std::string& text) {
        const ScreenButton& b = buttons.at(text);
        return std::tuple{b.x, b.y, b.hitY};
    };
    EXPECT_EQ(at(newGameButton), std::tuple(800 - 88 - 25, 575, 25));
    EXPECT_EQ(at(settingsButton), std::tuple(800 - 88 - 25, 50, 550));
    EXPECT_EQ(at(undoButton), std::tuple(25, 314, 286));
    EXPECT_EQ(at(redoButton), std::tuple(800 - 84 - 25, 314, 286));

    // The image is drawn downward from y, so on screen it spans hitY to hitY + height.
    const ScreenButton& undo = buttons.at(undoButton);
    EXPECT_TRUE(undo.contains(26, 287));
    EXPECT_TRUE(undo.contains(25 + 83, 286 + 21));
    EXPECT_FALSE(undo.contains(25, 290));
    EXPECT_FALSE(undo.contains(25 + 84, 290));
    EXPECT_FALSE(undo.contains(30, 286));
    EXPECT_FALSE(undo.contains(30, 286 + 22));
}

TEST(ScreenButtonsTest, ButtonsKeepTheirDistanceFromTheirEdgesAtAnySize) {
    for (const auto& text : {newGameButton, settingsButton, undoButton, redoButton}) {
        const ButtonPlace small = buttonPlace(text, 80, 22, 800, 600);
        const ButtonPlace large = buttonPlace(text, 80, 22, 1600, 1000);
        SCOPED_TRACE(text);
        if (text == undoButton) {
            EXPECT_EQ(large.x, small.x);
        } else {
            EXPECT_EQ(1600 - large.x, 800 - small.x);
        }
        if (text == newGameButton) {
            EXPECT_EQ(large.hitY, small.hitY);
        } else if (text == settingsButton) {
            EXPECT_EQ(1000 - large.hitY, 600 - small.hitY);
        } else {
            EXPECT_EQ(large.hitY + 11 - 500, small.hitY + 11 - 300) << "centred at the side";
        }
        EXPECT_EQ(large.hitY, 1000 - large.y);
    }
}

TEST(WindowGeometryTest, PerspectiveKeepsTheBoardUnstretchedAndAcrossTheWindow) {
    const ScenePerspective start = scenePerspective(800, 600);
    EXPECT_EQ(start.fieldOfViewY, 60.0) << "the 800 x 600 picture stays as it was";
    EXPECT_DOUBLE_EQ(start.aspect, 800.0 / 600.0);
    const auto halfWidth = [](const ScenePerspective& p) {
        return std::tan(p.fieldOfViewY * pi / 360) * p.aspect;
    };
    for (const auto& [width, height] : {std::pair{1920, 1080}, std::pair{1600, 1000}}) {
        const ScenePerspective p = scenePerspective(width, height);
        EXPECT_EQ(p.fieldOfViewY, 60.0);
        EXPECT_DOUBLE_EQ(p.aspect, static_cast<double>(width) / height);
    }
    // Narrower than 4:3: as much across as at 800 x 600, so the board still fits.
    for (const auto& [width, height] : {std::pair{640, 900}, std::pair{640, 481}}) {
        const ScenePerspective p = scenePerspective(width, height);
        EXPECT_GT(p.fieldOfViewY, 60.0);
        EXPECT_DOUBLE_EQ(p.aspect, static_cast<double>(width) / height);
        EXPECT_NEAR(halfWidth(p), halfWidth(start), 1e-12);
    }
}

TEST(WindowGeometryTest, SizesGrowToTheMinimumAndToolkitWindowsComeBackInside) {
    EXPECT_EQ(allowedWindowSize(300, 2000), (WindowSize{minimumWindowWidth, 2000}));
    EXPECT_EQ(allowedWindowSize(-5, 0), (WindowSize{minimumWindowWidth, minimumWindowHeight}));
    EXPECT_EQ(allowedWindowSize(1280, 720), (WindowSize{1280, 720}));

    EXPECT_EQ(keptOnScreen({100, 50}, 300, 200, 800, 600), (WindowCorner{100, 50}));
    EXPECT_EQ(keptOnScreen({700, 550}, 300, 200, 800, 600), (WindowCorner{500, 400}));
    EXPECT_EQ(keptOnScreen({-40, -10}, 300, 200, 800, 600), (WindowCorner{0, 0}));
    EXPECT_EQ(keptOnScreen({200, 100}, 900, 700, 800, 600), (WindowCorner{0, 0}))
        << "too large: the title bar stays reachable";
}

TEST(TextWrappingTest, LinesBreakBetweenWordsAndLongPathsBetweenCharacters) {
    // Every character, one byte or a UTF-8 sequence, ten pixels wide.
    const auto widthOf = [](std::string_view text) {
        float width = 0;
        for (const char c : text) {
            width += (static_cast<unsigned char>(c) & 0xC0) == 0x80 ? 0 : 10;
        }
        return width;
    };
    using Lines = std::vector<std::string>;
    EXPECT_EQ(wrapText("white player, black player\nreset.", 130, widthOf),
              (Lines{"white player,", "black player", "reset."}));
    EXPECT_EQ(wrapText("The file\n/home/j\xc3\xb6rg/.config/veltmark\n", 60, widthOf),
              (Lines{"The", "file", "/home/", "j\xc3\xb6rg/.", "config", "/veltm", "ark", ""}));
    EXPECT_EQ(wrapText("ab", 5, widthOf), (Lines{"a", "b"})) << "one character at least";
}
