#include "WindowSession.h"

#include <gtest/gtest.h>

#include <string>

using namespace window_test;

namespace {

constexpr WindowSize screen{1920, 1080};

class ResizedWindow : public ::testing::Test {
protected:
    void SetUp() override {
        if (!display.ready()) {
            GTEST_SKIP() << "no Xvfb display could be started";
        }
    }
    VirtualDisplay display{screen};
};

bool notBlack(const uint8_t* p) {
    return p[0] + p[1] + p[2] > 30;
}

// A frame of the given size is on the screen: the status line stands above its bottom edge
// and nothing is drawn below or beside it.
bool drawnAtSize(const Screenshot& shot, WindowSize window) {
    return shot.brightPixels({20, window.height - 52, 150, 30}) > 20 &&
           shot.count({0, window.height, screen.width, screen.height - window.height}, notBlack) ==
               0 &&
           shot.count({window.width, 0, screen.width - window.width, window.height}, notBlack) == 0;
}

// Where the board's edges cross the row of the sixth rank: their middle is the window's middle
// when the board is centred.
int boardMiddleOnRow(const Screenshot& shot, WindowSize window) {
    const int y = squareOnScreen("d6", window).y;
    int first = -1, last = -1;
    for (int x = 0; x < window.width; ++x) {
        if (notBlack(shot.at(x, y))) {
            first = first < 0 ? x : first;
            last = x;
        }
    }
    return (first + last) / 2;
}

TEST_F(ResizedWindow, BoardButtonsAndDialogsFollowTheSizeFullscreenAndTheNextStart) {
    WindowSession window(display, "resize", humanAgainstHuman());
    ASSERT_TRUE(window.waitForWindow());
    // Without a window manager the keys go to the window under the pointer.
    window.moveMouse({400, 5});
    window.closeOpeningDialog();
    ScreenButtons buttons = buttonsOnScreen();

    struct Step {
        WindowSize asked, shown;
        std::string move;
    };
    // The last size asked is below the minimum, which the window keeps instead.
    for (const Step& step :
         {Step{{1280, 720}, {1280, 720}, "e2e4"}, Step{{1600, 1000}, {1600, 1000}, "e7e5"},
          Step{{400, 300}, {minimumWindowWidth, minimumWindowHeight}, "g1f3"}}) {
        const WindowSize size = step.shown;
        const std::string name = std::to_string(size.width) + "x" + std::to_string(size.height);
        SCOPED_TRACE(name);
        window.xdotool("search --name '^Veltmark$' windowsize " + std::to_string(step.asked.width) +
                       " " + std::to_string(step.asked.height));
        const Screenshot resized =
            window.waitForScreen([&](const Screenshot& s) { return drawnAtSize(s, size); }, 30);
        window.screenshot("30-resized-to-" + name);
        ASSERT_TRUE(drawnAtSize(resized, size));
        EXPECT_NEAR(boardMiddleOnRow(resized, size), size.width / 2, 3) << "the board is centred";

        window.drag(step.move.substr(0, 2), step.move.substr(2, 2), size);
        layOutButtons(buttons, size.width, size.height);
        const Rect redo = around(centreOf(buttons.at(redoButton)), 10);
        window.click(centreOf(buttons.at(undoButton)));
        window.waitForScreen([&](const Screenshot& s) { return s.brightPixels(redo) > 20; }, 30);
        window.click(centreOf(buttons.at(redoButton)));
        const Screenshot redone = window.waitForScreen(
            [&](const Screenshot& s) { return s.brightPixels(redo) == 0; }, 30);
        EXPECT_EQ(redone.brightPixels(redo), 0) << "undone and played again by the buttons";

        window.click(centreOf(buttons.at(settingsButton)));
        const Rect inside{0, 0, size.width, size.height};
        const Screenshot dialog = window.waitForScreen(
            [&](const Screenshot& s) { return toolkitWindowIn(s, inside); }, 30);
        window.screenshot("31-settings-at-" + name);
        EXPECT_TRUE(toolkitWindowIn(dialog, inside));
        EXPECT_TRUE(drawnAtSize(dialog, size)) << "the dialog stays inside the window";
        window.key("Escape");
        window.waitForScreen([&](const Screenshot& s) { return !toolkitWindowIn(s, inside); }, 30);
    }

    window.key("F11");
    const Screenshot full =
        window.waitForScreen([&](const Screenshot& s) { return drawnAtSize(s, screen); }, 30);
    window.screenshot("32-fullscreen");
    ASSERT_TRUE(drawnAtSize(full, screen));
    EXPECT_NEAR(boardMiddleOnRow(full, screen), screen.width / 2, 3);
    window.drag("b8", "c6", screen);
    window.key("alt+Return");
    const WindowSize smallest{minimumWindowWidth, minimumWindowHeight};
    ASSERT_TRUE(drawnAtSize(
        window.waitForScreen([&](const Screenshot& s) { return drawnAtSize(s, smallest); }, 30),
        smallest))
        << "back to the size before fullscreen";

    ASSERT_EQ(window.terminate(), 0);
    EXPECT_EQ(window.fileText("home/.config/veltmark/window.conf"),
              "width 640\nheight 480\nfullscreen off\nsound on\n");
    // The unfinished game is kept to be continued.
    EXPECT_NE(window.fileText("home/.local/share/veltmark/current-game.pgn")
                  .find("1. e4 e5 2. Nf3 Nc6 *"),
              std::string::npos)
        << "every drag found its squares";
    window.restart();
    const Screenshot again =
        window.waitForScreen([&](const Screenshot& s) { return drawnAtSize(s, smallest); }, 30);
    window.screenshot("33-restarted");
    EXPECT_TRUE(drawnAtSize(again, smallest)) << "the next start comes back at the last size";
}

} // namespace
