// The "Settings" window of the real program, used with the mouse and the keyboard.
#include "WindowSession.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <utility>

using namespace window_test;

namespace {

// Where the dialog puts its widgets, centred on the 800 x 600 screen.
const Point generalTab{265, 159};
const Point aiTab{315, 159};
const Point graphicsTab{367, 159};
const Point whiteAiRadio{452, 189};
const Point blackHumanRadio{364, 219};
const Point blackSwatch{416, 273};
const Point okButton{288, 465};
const Point thinkField{326, 189};
const Rect depthField{389, 207, 90, 24};
const Rect threadsField{377, 327, 90, 24};
const Point sidewaysRadio{452, 303};
const Point forwardRadio{364, 303};
const Point changeBlackColour{488, 273};
const Point cancelButton{406, 465};
// The colour window over it: the hue/saturation field, the value bar and "OK".
const Rect pickerField{290, 169, 200, 200};
const Point pickerBarTop{500, 170};
const Point colourOk{344, 443};

// Where the black pieces stand at the far side of the board, and the four knights.
const Rect blackPiecesArea{200, 100, 400, 120};
const char* const knightSquares[] = {"b1", "g1", "b8", "g8"};
const char* const otherBackRankSquares[] = {"a1", "c1", "d1", "e1", "a8", "c8", "e8", "h8"};

Settings preparedSettings() {
    Settings s = defaultSettings();
    s.timePerMove = 1.0;
    s.threadCount = 2;
    return s;
}

std::vector<uint8_t> bytesOf(const Settings& record) {
    const SettingsImage image = encodeSettings(record);
    return {image.begin(), image.end()};
}

std::vector<uint8_t> fileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The blue picked below, lit or in shadow; the toolkit's own blues have far more green.
bool bluish(const uint8_t* p) {
    return p[2] > 100 && p[2] > 2 * p[0] && p[2] > 2 * p[1];
}

bool near(const uint8_t* p, int r, int g, int b) {
    return std::abs(p[0] - r) <= 6 && std::abs(p[1] - g) <= 6 && std::abs(p[2] - b) <= 6;
}

// A radio button is chosen when its centre shows the toolkit's check mark colour.
auto chosen(Point radio) {
    return [radio](const Screenshot& s) { return near(s.at(radio.x, radio.y), 66, 150, 250); };
}
// Each tab known by a pixel of its own: SEE's check mark, the white pieces' swatch.
bool engineTabShown(const Screenshot& s) {
    return near(s.at(240, 250), 66, 150, 250);
}
bool graphicsTabShown(const Screenshot& s) {
    return near(s.at(416, 243), 192, 192, 192);
}

bool pickerShown(const Screenshot& shot) {
    // The middle of the field's top row is cyan.
    const uint8_t* p = shot.at(pickerField.x + pickerField.w / 2, pickerField.y + 3);
    return p[0] < 60 && p[1] > 200 && p[2] > 200;
}

// The centre of the bright text in a rectangle: an on-screen button found as a person finds it.
std::optional<Point> brightTextCentre(const Screenshot& shot, Rect r) {
    int left = INT_MAX, right = -1, top = INT_MAX, bottom = -1;
    for (int y = r.y; y < r.y + r.h; ++y) {
        for (int x = r.x; x < r.x + r.w; ++x) {
            const uint8_t* p = shot.at(x, y);
            if (p[0] > 200 && p[1] > 200 && p[2] > 200) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
        }
    }
    if (right < 0) {
        return std::nullopt;
    }
    return Point{(left + right) / 2, (top + bottom) / 2};
}

// Presses the left button at the first point, moves through the others and releases it.
void dragThrough(const WindowSession& window, const std::vector<Point>& path) {
    window.moveMouse(path.front());
    window.pause(150);
    window.xdotool("mousedown 1");
    for (const Point& p : path) {
        window.pause(60);
        window.moveMouse(p);
    }
    window.pause(80);
    window.xdotool("mouseup 1");
    window.pause(150);
}

class SettingsWindow : public OnVirtualDisplay {
protected:
    // Starts the program and waits for the settings dialog that it opens with.
    static void startWithDialog(WindowSession& window) {
        ASSERT_TRUE(window.waitForWindow());
        ASSERT_TRUE(toolkitWindowShown(window.waitForScreen(toolkitWindowShown, 5)));
    }
    // Frames are slow on a busy machine: each step waits until the screen shows its effect, so
    // that the next one does not reach the toolkit before the window it aims at is ready.
    static bool clickAndSee(const WindowSession& window, Point p,
                            const std::function<bool(const Screenshot&)>& effect) {
        window.click(p);
        return effect(window.waitForScreen(effect, 10));
    }
    static Screenshot waitForDialogGone(const WindowSession& window) {
        const Screenshot shot =
            window.waitForScreen([](const Screenshot& s) { return !toolkitWindowShown(s); }, 10);
        EXPECT_FALSE(toolkitWindowShown(shot)) << "the settings dialog has closed";
        return shot;
    }
    static void clickSettingsButton(const WindowSession& window, const Screenshot& shot) {
        const auto button = brightTextCentre(shot, {600, 540, 200, 50});
        ASSERT_TRUE(button) << "the Settings button is on the screen";
        ASSERT_TRUE(clickAndSee(window, *button, toolkitWindowShown));
    }
    // Opens the black pieces' colour window and drags in it to a blue at full value.
    static void pickBlueForBlackPieces(const WindowSession& window) {
        ASSERT_TRUE(clickAndSee(window, graphicsTab, graphicsTabShown));
        ASSERT_TRUE(clickAndSee(window, changeBlackColour, pickerShown));
        // Across the field to a blue, then up the value bar and beyond its top.
        dragThrough(window, {{pickerField.x + 10, pickerField.y + 50},
                             {pickerField.x + 60, pickerField.y + 15},
                             {pickerField.x + 110, pickerField.y + 15},
                             {pickerField.x + 140, pickerField.y + 15}});
        dragThrough(window, {{pickerBarTop.x, pickerBarTop.y + 100},
                             {pickerBarTop.x, pickerBarTop.y - 30}});
        // The preview below the field turns blue.
        const Point preview{pickerField.x + 50, pickerField.y + pickerField.h + 25};
        ASSERT_TRUE(bluish(
            window
                .waitForScreen(
                    [&](const Screenshot& s) { return bluish(s.at(preview.x, preview.y)); }, 10)
                .at(preview.x, preview.y)));
        window.screenshot("settings-colour-window-after-drag");
        ASSERT_TRUE(clickAndSee(window, colourOk, [](const Screenshot& s) {
            return !pickerShown(s) && bluish(s.at(blackSwatch.x, blackSwatch.y));
        })) << "the colour window closed and the swatch shows the new colour";
    }
};

TEST_F(SettingsWindow, WhiteSwitchedToTheEngineStartsThinkingAtOnce) {
    WindowSession window(display, "white-ai", preparedSettings(), {"--log"});
    startWithDialog(window);
    ASSERT_TRUE(clickAndSee(window, whiteAiRadio, chosen(whiteAiRadio)));
    window.screenshot("settings-white-player-ai");
    window.key("Return");
    waitForDialogGone(window);

    // White's first move, from its first two ranks, comes within the second it may think.
    ASSERT_TRUE(waitUntil([&] { return !window.loggedMoves().empty(); }, 10))
        << window.fileText("Veltmark.log");
    const std::string first = window.loggedMoves().front();
    EXPECT_TRUE(first[1] == '1' || first[1] == '2') << first;
    const std::string log = window.fileText("Veltmark.log");
    EXPECT_NE(log.find(" plies, "), std::string::npos) << "the search reports its progress";
    EXPECT_NE(log.find("AI made up its mind in"), std::string::npos);
    Settings expected = preparedSettings();
    expected.whitePlayer = 1;
    EXPECT_EQ(fileBytes(window.directory() / "settings.dat"), bytesOf(expected));
}

TEST_F(SettingsWindow, TypedLimitsAreClampedOrKeptAndSavedAsThe56Bytes) {
    WindowSession window(display, "limits", preparedSettings());
    startWithDialog(window);
    ASSERT_TRUE(clickAndSee(window, aiTab, engineTabShown));
    // A click selects the whole field; Tab moves on to the next one and selects it too. The
    // next keys wait until the screen shows that the focus has moved.
    window.click(thinkField);
    window.xdotool("type 7.5");
    for (const auto& [field, keys] :
         {std::pair{depthField, "type 0"}, std::pair{threadsField, "key minus"}}) {
        const Screenshot before = window.screenshot();
        window.key("Tab");
        window.waitForScreen(
            [&](const Screenshot& s) { return s.differingPixels(before, field) > 20; }, 5);
        window.xdotool(keys);
    }
    window.pause(300);
    window.screenshot("settings-engine-limits-typed");
    window.key("Return");
    waitForDialogGone(window);

    Settings expected = preparedSettings();
    expected.timePerMove = 7.5;
    expected.maxDepth = 1;
    const fs::path file = window.directory() / "settings.dat";
    EXPECT_TRUE(waitUntil([&] { return fileBytes(file) == bytesOf(expected); }, 5))
        << "settings.dat holds the new time, the depth clamped to 1 and the threads unchanged";
}

TEST_F(SettingsWindow, BlackColourPickedByDraggingShowsOnTheBoard) {
    WindowSession window(display, "colour", preparedSettings());
    startWithDialog(window);
    pickBlueForBlackPieces(window);
    window.click(okButton);
    const Screenshot board = waitForDialogGone(window);
    window.screenshot("settings-black-pieces-blue");

    EXPECT_GT(board.count(blackPiecesArea, bluish), 1000) << "the black pieces are blue";
    const std::vector<uint8_t> bytes = fileBytes(window.directory() / "settings.dat");
    ASSERT_EQ(bytes.size(), settingsFileSize);
    const uint8_t* black = &bytes[45];
    EXPECT_TRUE(bluish(black)) << int(black[0]) << "," << int(black[1]) << "," << int(black[2]);
    EXPECT_EQ(black[3], 255);
}

TEST_F(SettingsWindow, CancelDropsTheEditsAndSidewaysTurnsBothKnights) {
    WindowSession window(display, "cancel-knights", preparedSettings());
    startWithDialog(window);
    window.key("Escape");
    const Screenshot before = waitForDialogGone(window);
    window.screenshot("settings-board-before");
    const fs::path file = window.directory() / "settings.dat";
    const std::vector<uint8_t> savedBefore = fileBytes(file);

    clickSettingsButton(window, before);
    pickBlueForBlackPieces(window);
    ASSERT_TRUE(clickAndSee(window, sidewaysRadio, chosen(sidewaysRadio)));
    ASSERT_TRUE(clickAndSee(window, generalTab, chosen({452, 219})));
    ASSERT_TRUE(clickAndSee(window, blackHumanRadio, chosen(blackHumanRadio)));
    window.click(cancelButton);
    const Screenshot cancelled = waitForDialogGone(window);
    window.screenshot("settings-board-after-cancel");
    EXPECT_LT(cancelled.differingPixels(before, {0, 0, screenWidth, screenHeight}), 50)
        << "the board is as it was";
    EXPECT_EQ(fileBytes(file), savedBefore);

    // Opened again, the dialog shows the record: the black swatch is brown and the knights face
    // forward.
    clickSettingsButton(window, cancelled);
    ASSERT_TRUE(clickAndSee(window, graphicsTab, graphicsTabShown));
    const Screenshot reopened = window.screenshot("settings-reopened-after-cancel");
    EXPECT_TRUE(near(reopened.at(blackSwatch.x, blackSwatch.y), 64, 32, 16));
    EXPECT_TRUE(chosen(forwardRadio)(reopened));
    ASSERT_TRUE(clickAndSee(window, sidewaysRadio, chosen(sidewaysRadio)));
    window.key("Return");
    waitForDialogGone(window);
    const Screenshot sideways = window.waitForScreen(
        [&](const Screenshot& s) {
            return s.differingPixels(before, around(squareOnScreen("b1"))) > 30;
        },
        5);
    window.screenshot("settings-knights-sideways");
    for (const char* square : knightSquares) {
        EXPECT_GT(sideways.differingPixels(before, around(squareOnScreen(square))), 30)
            << "the knight on " << square << " turned";
    }
    for (const char* square : otherBackRankSquares) {
        EXPECT_LT(sideways.differingPixels(before, around(squareOnScreen(square))), 10)
            << "the piece on " << square << " stayed as it was";
    }
    Settings expected = preparedSettings();
    expected.knightsFace = 1;
    EXPECT_EQ(fileBytes(file), bytesOf(expected));
}

TEST_F(SettingsWindow, FirstStartsWriteTheDefaultsHereOrInTheConfigurationDirectory) {
    std::vector<uint8_t> defaults = bytesOf(defaultSettings());
    for (int i : {9, 10, 11, 12, 13, 14, 15, 26, 27, 28, 29, 30, 31, 49, 50, 51}) {
        ASSERT_EQ(defaults[static_cast<size_t>(i)], 0) << "reserved byte " << i;
    }
    {
        WindowSession window(display, "first-start", std::nullopt);
        startWithDialog(window);
        EXPECT_EQ(fileBytes(window.directory() / "settings.dat"), defaults);
    }
    {
        // HOME names a folder that does not exist yet.
        WindowSession window(display, "first-start-home", std::nullopt,
                             {"--settings-to-home-directory"},
                             [](const fs::path& dir) { fs::remove_all(dir / "home"); });
        startWithDialog(window);
        const fs::path home = window.directory() / "home";
        EXPECT_EQ(fileBytes(home / ".config" / "veltmark" / "settings.dat"), defaults);
        EXPECT_FALSE(fs::exists(window.directory() / "settings.dat"));
        EXPECT_FALSE(fs::exists(home / ".veltmark")) << "the older folder is not left behind";
        const Screenshot shot = window.settledScreen();
        window.screenshot("settings-first-start-in-a-new-home");
        EXPECT_TRUE(toolkitWindowIn(shot, {230, 116, 320, 16}))
            << "the settings dialog is the window on top: no warning";
    }
}

} // namespace

namespace {

// The rows of the focused window's title bar, which is the topmost window's.
std::optional<Rect> activeTitleBar(const Screenshot& shot) {
    std::optional<Rect> bar;
    for (int y = 0; y < screenHeight; ++y) {
        int left = INT_MAX, right = -1;
        for (int x = 0; x < screenWidth; ++x) {
            const uint8_t* p = shot.at(x, y);
            if (focusedTitleColour(p)) {
                left = std::min(left, x), right = std::max(right, x);
            }
        }
        if (right - left < 50) {
            continue;
        }
        if (!bar) {
            bar = Rect{left, y, right - left + 1, 1};
        } else {
            bar->h = y - bar->y + 1;
        }
    }
    return bar;
}

// The dialog's title bar, focused or not.
bool settingsTitleBarShown(const Screenshot& shot) {
    return shot.count({230, 116, 320, 16}, [](const uint8_t* p) {
        return focusedTitleColour(p) || (p[0] == 10 && p[1] == 10 && p[2] == 10);
    }) > 2000;
}

TEST_F(SettingsWindow, EscapeClosesTheDialogAfterAClickOnTheBoard) {
    WindowSession window(display, "escape-after-click", preparedSettings());
    startWithDialog(window);
    // The click takes the focus from the dialog, whose title bar then turns dark.
    window.click({150, 450});
    window.waitForScreen([](const Screenshot& s) { return !toolkitWindowShown(s); }, 5);
    window.key("Escape");
    const Screenshot after =
        window.waitForScreen([](const Screenshot& s) { return !settingsTitleBarShown(s); }, 5);
    window.screenshot("settings-escape-after-click");
    EXPECT_FALSE(settingsTitleBarShown(after)) << "Escape closed the dialog";
}

TEST_F(SettingsWindow, ALongWarningWrapsInsideABoxThatFitsTheWindow) {
    // Every field out of its range: the warning names all nine.
    WindowSession window(display, "long-warning", std::nullopt, {}, [](const fs::path& dir) {
        std::ofstream(dir / "settings.dat", std::ios::binary) << std::string(56, '\xff');
    });
    ASSERT_TRUE(window.waitForWindow());
    window.waitForScreen(
        [](const Screenshot& s) {
            const auto bar = activeTitleBar(s);
            return bar && bar->y > 150;
        },
        10);
    const Screenshot shot = window.settledScreen();
    window.screenshot("settings-long-warning-wrapped");
    auto bar = activeTitleBar(shot);
    ASSERT_TRUE(bar) << "the warning is shown";
    // The bar's top row is narrower by its rounded corners; its middle row is the box's width.
    const int middle = bar->y + bar->h / 2;
    bar->x = screenWidth;
    bar->w = 0;
    for (int x = 0; x < screenWidth; ++x) {
        if (focusedTitleColour(shot.at(x, middle))) {
            bar->w = x - std::min(bar->x, x) + 1;
            bar->x = std::min(bar->x, x);
        }
    }
    EXPECT_GE(bar->x, 12) << "the box fits the window's width";
    EXPECT_LE(bar->x + bar->w, screenWidth - 12) << "the box fits the window's width";
    // The text: white lines below the title bar, within the box's width, and none reaching the
    // window's bottom: more than the message's two and the "Ok" button's.
    int lines = 0;
    bool inLine = false;
    int lastTextRow = 0;
    for (int y = bar->y + bar->h; y < screenHeight - 60; ++y) {
        const bool text = shot.brightPixels({bar->x + 2, y, bar->w - 4, 1}) > 0;
        lines += text && !inLine;
        inLine = text;
        lastTextRow = text ? y : lastTextRow;
    }
    EXPECT_GE(lines, 4) << "the list of settings is wrapped";
    EXPECT_GT(lastTextRow, bar->y);
    EXPECT_EQ(
        shot.brightPixels({0, bar->y + bar->h, bar->x - 1, lastTextRow - bar->y - bar->h}) +
            shot.brightPixels({bar->x + bar->w + 1, bar->y + bar->h,
                               screenWidth - bar->x - bar->w - 1, lastTextRow - bar->y - bar->h}),
        0)
        << "no text beside the box";
}

// A settings file that reads as zeros and takes no write: the start shows two warnings, and
// every save a third.
TEST_F(SettingsWindow, WarningsShownTogetherStayReadableAndTheEngineStartsUnderOne) {
    WindowSession window(display, "unwritable", std::nullopt, {"--log"}, [](const fs::path& dir) {
        fs::create_symlink("/dev/full", dir / "settings.dat");
    });
    ASSERT_TRUE(window.waitForWindow());
    const Screenshot both = window.waitForScreen(
        [](const Screenshot& s) {
            const auto bar = activeTitleBar(s);
            return bar && bar->y > 320;
        },
        10);
    window.screenshot("settings-two-warnings");
    const auto newest = activeTitleBar(both);
    ASSERT_TRUE(newest) << "a box is shown";

    window.key("Return");
    const Screenshot first = window.waitForScreen(
        [&](const Screenshot& s) {
            const auto bar = activeTitleBar(s);
            return bar && bar->y < newest->y;
        },
        10);
    const auto older = activeTitleBar(first);
    ASSERT_TRUE(older) << "the first warning is left after Enter closed the newer one";
    EXPECT_LT(older->y + older->h, newest->y) << "the newer box stands below the older one";
    // The older box's text looked the same while the newer one was shown.
    const Rect olderText{older->x, older->y + older->h + 2, older->w, 50};
    EXPECT_LT(both.differingPixels(first, olderText), olderText.w * olderText.h / 100);

    window.key("Return");
    window.waitForScreen([](const Screenshot& s) { return !activeTitleBar(s); }, 10);
    // White to the engine with one second to think: "OK" fails to save and shows a box, under
    // which the engine must play. (SEE is off here, so the tab is known by its changed first row.)
    ASSERT_TRUE(clickAndSee(window, whiteAiRadio, chosen(whiteAiRadio)));
    const Screenshot general = window.screenshot();
    ASSERT_TRUE(clickAndSee(window, aiTab, [&](const Screenshot& s) {
        return s.differingPixels(general, {230, 180, 340, 20}) > 100;
    }));
    window.click(thinkField);
    window.xdotool("type 1");
    // Tab takes the typed value into the field.
    window.key("Tab");
    window.pause(300);
    window.key("Return");
    ASSERT_TRUE(waitUntil([&] { return !window.loggedMoves().empty(); }, 8))
        << "no move while the box is shown";
    // "Black to move" replaces "White to move" while the warning stays.
    const Rect statusLine{20, 548, 150, 30};
    const Screenshot moved = window.waitForScreen(
        [&](const Screenshot& s) { return s.differingPixels(general, statusLine) > 30; }, 5);
    window.screenshot("settings-engine-moved-under-warning");
    EXPECT_GT(moved.differingPixels(general, statusLine), 30) << "the move is drawn";
    EXPECT_TRUE(toolkitWindowShown(moved));
}

} // namespace
