#include "Assets.h"
#include "WindowSession.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>

using namespace window_test;

namespace window_test {

ScreenButtons buttonsOnScreen() {
    TextRenderer text(std::string(VELTMARK_BUILD_DATA) + "/veltmark/" + fontFile);
    ScreenButtons buttons;
    for (const std::string* name : {&newGameButton, &settingsButton, &undoButton, &redoButton}) {
        const SDL_Surface* image = text.render(*name, true);
        ScreenButton& button = buttons[*name];
        button.width = image->w;
        button.height = image->h;
    }
    layOutButtons(buttons, screenWidth, screenHeight);
    return buttons;
}

} // namespace window_test

namespace {

// The board without the texts and buttons around it.
const Rect boardArea{100, 60, 600, 470};
const Rect checkText{370, 548, 80, 28};
const Rect newGameArea{650, 20, 145, 35};

class Window : public OnVirtualDisplay {};

// The nice value of each of the program's own threads; those that the graphics library starts
// have names of their own and set their own.
// The nice value of each of the program's own threads, by thread id.
std::vector<std::pair<pid_t, int>> threadNiceValues(pid_t pid) {
    std::vector<std::pair<pid_t, int>> values;
    for (const auto& task : fs::directory_iterator("/proc/" + std::to_string(pid) + "/task")) {
        std::string name;
        std::getline(std::ifstream(task.path() / "comm"), name);
        if (name != "veltmark") {
            continue;
        }
        std::ifstream in(task.path() / "stat");
        std::string stat((std::istreambuf_iterator<char>(in)), {});
        // After the name in parentheses, the nice value is the seventeenth field.
        std::istringstream fields(stat.substr(stat.rfind(')') + 1));
        std::string field;
        for (int i = 0; i < 17; ++i) {
            fields >> field;
        }
        values.emplace_back(std::stoi(task.path().filename().string()), std::stoi(field));
    }
    return values;
}

TEST_F(Window, HumanMoveEngineReplyAndUndoOfBoth) {
    WindowSession window(display, "undo", preparedSettings(0, 1, 1.0, 100), {"--log"});
    ASSERT_TRUE(window.waitForWindow());
    const Screenshot start = window.waitForScreen(toolkitWindowShown, 10);
    window.screenshot("01-start-with-settings-dialog");
    EXPECT_TRUE(toolkitWindowShown(start)) << "the settings dialog is open at start";

    window.key("Escape");
    const Screenshot initial =
        window.waitForScreen([](const Screenshot& s) { return !toolkitWindowShown(s); }, 10);
    ASSERT_FALSE(toolkitWindowShown(initial)) << "Escape closes the settings dialog";

    // Press on e2, drag: the preview shows the pawn on e4 before the release.
    const Point e2 = squareOnScreen("e2");
    const Point e4 = squareOnScreen("e4");
    window.moveMouse(e2);
    window.pause(150);
    window.xdotool("mousedown 1");
    window.pause(80);
    window.moveMouse(e4);
    // The press alone marks e4 as a target, while the pawn still hides most of e2's mark: the
    // preview has moved the pawn off e2.
    const Screenshot preview = window.waitForScreen(
        [&](const Screenshot& s) {
            return s.differingPixels(initial, around(e4)) > 100 &&
                   s.differingPixels(initial, around(e2)) > 100;
        },
        10);
    window.screenshot("02-picked-pawn-with-targets-and-preview");
    EXPECT_GT(preview.differingPixels(initial, around(e2)), 100) << "e2 marked as picked";
    const auto released = Clock::now();
    window.xdotool("mouseup 1");

    ASSERT_TRUE(waitUntil([&] { return !window.loggedMoves().empty(); }, 10))
        << "the engine answers";
    const double answerSeconds = std::chrono::duration<double>(Clock::now() - released).count();
    EXPECT_LT(answerSeconds, 1.0 + 1.5) << "within its thinking time of one second";
    const auto log = window.fileText("Veltmark.log");
    EXPECT_NE(log.find(" plies, "), std::string::npos);
    EXPECT_NE(log.find("AI made up its mind in "), std::string::npos);

    window.pause(700); // the move's animation
    const Screenshot answered = window.screenshot("03-engine-answered");
    EXPECT_GT(answered.differingPixels(initial, around(e4)), 100) << "a pawn stands on e4";

    const ScreenButtons buttons = buttonsOnScreen();
    window.click(centreOf(buttons.at(undoButton)));
    const Screenshot undone = window.waitForScreen(
        [&](const Screenshot& s) { return s.differingPixels(initial, boardArea) < 30; }, 10);
    window.screenshot("04-both-moves-undone");
    EXPECT_LT(undone.differingPixels(initial, boardArea), 30)
        << "one undo takes back the engine's reply and the human's move";

    // The arrow keys turn the camera.
    window.key("Left Left Left Up");
    const Screenshot turned = window.waitForScreen(
        [&](const Screenshot& s) { return s.differingPixels(initial, boardArea) > 5000; }, 10);
    window.screenshot("05-camera-turned");
    EXPECT_GT(turned.differingPixels(initial, boardArea), 5000);

    EXPECT_EQ(window.terminate(), 0) << "SIGTERM ends the program as closing the window does";
}

TEST_F(Window, PromotionByMouseTakesThePieceFromTheDialogByKey) {
    WindowSession window(display, "promotion", preparedSettings(0, 0, 1.0, 100));
    ASSERT_TRUE(window.waitForWindow());
    window.closeOpeningDialog();

    // The White pawn walks to a7 and takes the knight on b8; Black's king waits on d7, where
    // only a new knight gives check.
    window.play({"b2b4", "d7d6", "b4b5", "e8d7", "b5b6", "h7h6", "b6a7", "h6h5"});
    const Screenshot before = window.screenshot();
    EXPECT_LT(before.brightPixels(checkText), 5) << "no check before the promotion";

    window.drag("a7", "b8");
    const Screenshot dialog = window.waitForScreen(toolkitWindowShown, 15);
    window.screenshot("06-promotion-dialog");
    ASSERT_TRUE(toolkitWindowShown(dialog)) << "the promotion dialog asks for the piece";

    window.key("n");
    const Screenshot check = window.waitForScreen(
        [](const Screenshot& s) {
            return !toolkitWindowShown(s) && s.brightPixels(checkText) > 20;
        },
        10);
    window.screenshot("07-knight-gives-check");
    EXPECT_GT(check.brightPixels(checkText), 20) << "the knight chosen by key gives check";
    EXPECT_EQ(window.terminate(), 0);
    EXPECT_FALSE(fs::exists(window.directory() / "Veltmark.log")) << "no log without --log";
}

TEST_F(Window, EngineAgainstEngineRunsToTheEndOfTheGame) {
    // The last 14 plies of the game that depth 1 plays from the start, ending in White's mate:
    // long enough for the settings to be opened beside it, without the 40 slid moves before.
    const std::string lateInTheGame = "8/2p2p1Q/4k3/8/4P3/2KB4/2P2qPP/7R b - - 1 22";
    WindowSession window(display, "engines", preparedSettings(1, 1, 5.0, 1),
                         {"--log", "--fen", lateInTheGame});
    ASSERT_TRUE(window.waitForWindow());
    // The game begins when the settings dialog shown at start closes: a search of depth 1 takes
    // milliseconds, yet no move comes while it is open.
    window.waitForScreen(toolkitWindowShown, 10);
    window.pause(1500);
    EXPECT_TRUE(window.loggedMoves().empty()) << "a move was made behind the opening dialog";
    // The two search threads yield the processor to the window's own, which keep theirs.
    const auto nice = threadNiceValues(window.pid());
    const auto niced = std::count_if(nice.begin(), nice.end(), [](auto t) { return t.second > 0; });
    EXPECT_EQ(niced, 2);
    EXPECT_EQ(std::count_if(nice.begin(), nice.end(), [](auto t) { return t.second == 0; }),
              std::ssize(nice) - 2);
    // The rest of the suite runs beside this test at full priority, and would starve the
    // searches of a whole game: they get the program's priority back where the test may give it.
    for (const auto& [thread, value] : nice) {
        if (value > 0) {
            setpriority(PRIO_PROCESS, static_cast<id_t>(thread), 0);
        }
    }
    // The first move shows the dialog gone. (Two threads may break a tie otherwise than the
    // game above: its end may then come soon, in a box of its own.)
    window.key("Escape");
    ASSERT_TRUE(waitUntil([&] { return !window.loggedMoves().empty(); }, 30))
        << "the game begins when the dialog closes";
    // Opened again, the dialog does not hold the engines back.
    window.click(centreOf(buttonsOnScreen().at(settingsButton)));
    const Screenshot over = window.waitForScreen(
        [](const Screenshot& s) { return s.brightPixels(newGameArea) > 40; }, 240);
    window.screenshot("08-engine-game-over");
    ASSERT_GT(over.brightPixels(newGameArea), 40) << "\"New game\" is enabled at the end";
    EXPECT_TRUE(toolkitWindowShown(over)) << "the end of the game is announced in a box";
    EXPECT_EQ(window.terminate(), 0);
}

TEST_F(Window, MouseInputDrawsOnlyTheFramesThatShowSomething) {
    // The program writes a line per frame drawn to this file.
    const fs::path frames =
        fs::temp_directory_path() / ("veltmark-frames-" + std::to_string(getpid()));
    ::setenv("VELTMARK_FRAME_TIMES", frames.c_str(), 1);
    WindowSession window(display, "frames", preparedSettings(0, 0, 1.0, 100));
    ::unsetenv("VELTMARK_FRAME_TIMES");
    ASSERT_TRUE(window.waitForWindow());
    window.closeOpeningDialog();
    window.pause(1000);
    const auto framesDrawn = [&] {
        std::ifstream in(frames);
        return std::count(std::istreambuf_iterator<char>(in), {}, '\n');
    };

    // The mouse wanders over the board from the point given, and the frames drawn meanwhile.
    const auto framesWhileWandering = [&](Point from) {
        const auto before = framesDrawn();
        for (int i = 0; i < 12; ++i) {
            window.moveMouse({from.x + 30 * i, from.y + 20 * (i % 4)});
            window.pause(60);
        }
        window.pause(500);
        return framesDrawn() - before;
    };
    EXPECT_EQ(framesWhileWandering({200, 250}), 0) << "the mouse over the board changes nothing";

    const Point e2 = squareOnScreen("e2");
    window.moveMouse(e2);
    window.pause(300);
    const auto beforePress = framesDrawn();
    window.xdotool("mousedown 1");
    // The pawn stays on its square and covers its middle: the red shows around it.
    const auto redAroundE2 = [&](const Screenshot& s) {
        return s.count(around(e2, 24),
                       [](const uint8_t* p) { return p[0] > 150 && p[1] < 90 && p[2] < 90; });
    };
    const Screenshot picked =
        window.waitForScreen([&](const Screenshot& s) { return redAroundE2(s) > 200; }, 5);
    EXPECT_GT(redAroundE2(picked), 200) << "e2 marked as picked";
    EXPECT_LE(framesDrawn() - beforePress, 2) << "one frame shows the pick";
    window.xdotool("mouseup 1");

    // With the move list open in its corner, the mouse over the board still draws nothing.
    window.key("m");
    window.settledScreen();
    EXPECT_EQ(framesWhileWandering({300, 350}), 0)
        << "the mouse beside the move list changes nothing";
    EXPECT_EQ(window.terminate(), 0);
    fs::remove(frames);
}

TEST(WindowWithoutDisplay, EndsWithMinusOneAndPointsToTheEngineFace) {
    const fs::path output = fs::temp_directory_path() / "veltmark-nodisplay.txt";
    std::vector<std::string> env;
    for (const auto& e : VirtualDisplay::environmentStrings()) {
        if (e.rfind("DISPLAY=", 0) != 0 && e.rfind("XDG_DATA_DIRS=", 0) != 0) {
            env.push_back(e);
        }
    }
    env.push_back(std::string("XDG_DATA_DIRS=") + VELTMARK_BUILD_DATA);
    const fs::path directory = fs::temp_directory_path() / "veltmark-nodisplay";
    fs::create_directories(directory);
    // No display named at all, and one named that is not there.
    for (const std::string& display : {std::string(), std::string(":4093")}) {
        SCOPED_TRACE("DISPLAY=" + display);
        std::vector<std::string> withDisplay = env;
        if (!display.empty()) {
            withDisplay.push_back("DISPLAY=" + display);
        }
        const pid_t pid = spawnProcess({VELTMARK_BINARY}, withDisplay, directory, output);
        EXPECT_EQ(waitForExit(pid, 20), 255);
        std::ifstream in(output);
        std::string first;
        std::getline(in, first);
        EXPECT_NE(first.find("no graphical display was found"), std::string::npos) << first;
        EXPECT_NE(first.find(display.empty() ? "DISPLAY is not set" : display), std::string::npos)
            << first;
        EXPECT_NE(first.find("\"veltmark --xboard\" runs the engine without one"),
                  std::string::npos)
            << first;
        std::string more;
        EXPECT_FALSE(std::getline(in, more)) << "one line only";
    }
    fs::remove_all(directory);
    fs::remove(output);
}

} // namespace
