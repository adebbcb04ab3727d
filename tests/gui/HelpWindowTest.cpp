// Moving by clicks, the engine's thinking line, a new game in the middle of one and the hint,
// in the real window.
#include "WindowSession.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

using namespace window_test;

namespace {

const Rect thinkingLine{20, 576, 560, 22};

bool thinkingShown(const Screenshot& shot) {
    return shot.brightPixels(thinkingLine) > 40;
}

Settings againstTheEngine(double seconds) {
    return preparedSettings(0, 1, seconds, defaultSettings().maxDepth);
}

// The hint's mark: a blue that neither the board nor the pieces have.
int hintBlue(const Screenshot& shot, const std::string& square) {
    return shot.count(around(squareOnScreen(square), 20),
                      [](const uint8_t* p) { return p[2] > p[0] + 70 && p[2] > 150; });
}

void clickMove(const WindowSession& window, const std::string& move) {
    window.click(squareOnScreen(move.substr(0, 2)));
    window.click(squareOnScreen(move.substr(2, 2)));
}

// The opening of one of the window's sounds (its first 2000 samples after the 44 bytes of the
// WAVE header), as SDL's disk driver writes it: the program plays the samples unconverted.
std::string openingOfSound(const std::string& name) {
    std::ifstream in(std::string(VELTMARK_BUILD_DATA) + "/veltmark/sounds/" + name,
                     std::ios::binary);
    const std::string wav((std::istreambuf_iterator<char>(in)), {});
    return wav.size() > 44 + 4000 ? wav.substr(44, 4000) : std::string("missing ") + name;
}

bool heard(const WindowSession& window, const std::string& sound) {
    return window.fileText("audio.raw").find(sound) != std::string::npos;
}

class HelpWindow : public OnVirtualDisplay {};

TEST_F(HelpWindow, AGameWonByClicksAlone) {
    WindowSession window(display, "clicks", humanAgainstHuman());
    const fs::path archive = window.directory() / "home/.local/share/veltmark/games.pgn";
    ASSERT_TRUE(window.waitForWindow());
    const Screenshot start = window.closeOpeningDialog();

    window.click(squareOnScreen("f2"));
    const Screenshot picked = window.waitForScreen(
        [&](const Screenshot& s) {
            return s.differingPixels(start, around(squareOnScreen("f3"))) > 100;
        },
        10);
    window.screenshot("40-a-clicked-pawn-stays-picked");
    ASSERT_GT(picked.differingPixels(start, around(squareOnScreen("f3"))), 100)
        << "its targets are marked after the button went up";
    window.click(squareOnScreen("f3"));
    clickMove(window, "e7e5");
    clickMove(window, "g2g4");
    clickMove(window, "d8h4");
    const Screenshot mate = window.waitForScreen(boxInTheMiddle, 30);
    window.screenshot("41-fools-mate-by-clicks");
    ASSERT_TRUE(boxInTheMiddle(mate)) << "the mate is announced";
    ASSERT_TRUE(waitUntil([&] { return countOf(window.fileText(archive), "0-1") == 2; }, 10))
        << window.fileText(archive);
    EXPECT_NE(window.fileText(archive).find("1. f3 e5 2. g4 Qh4# 0-1"), std::string::npos)
        << window.fileText(archive);
}

TEST_F(HelpWindow, TheThinkingLineAndANewGameInTheMiddleOfOne) {
    WindowSession window(display, "thinking", againstTheEngine(60.0));
    const fs::path archive = window.directory() / "home/.local/share/veltmark/games.pgn";
    ASSERT_TRUE(window.waitForWindow());
    const Screenshot start = window.closeOpeningDialog();
    EXPECT_FALSE(thinkingShown(start));

    clickMove(window, "e2e4");
    const Screenshot thinking = window.waitForScreen(thinkingShown, 20);
    ASSERT_TRUE(thinkingShown(thinking)) << "the status line tells that the engine thinks";
    // The line follows the search: its depth grows within the first seconds.
    const Screenshot later = window.waitForScreen(
        [&](const Screenshot& s) { return s.differingPixels(thinking, thinkingLine) > 20; }, 20);
    window.screenshot("42-the-engine-thinking");
    EXPECT_GT(later.differingPixels(thinking, thinkingLine), 20);

    window.key("ctrl+n");
    const Screenshot asked = window.waitForScreen(boxInTheMiddle, 20);
    window.screenshot("43-new-game-asked-during-a-game");
    ASSERT_TRUE(boxInTheMiddle(asked));
    window.key("Return");
    const Screenshot fresh = window.waitForScreen(
        [&](const Screenshot& s) {
            return !boxInTheMiddle(s) && !thinkingShown(s) &&
                   s.differingPixels(start, {100, 60, 600, 470}) < 200;
        },
        20);
    window.screenshot("44-the-new-game");
    EXPECT_LT(fresh.differingPixels(start, {100, 60, 600, 470}), 200) << "the board is reset";
    ASSERT_TRUE(waitUntil([&] { return fs::exists(archive); }, 10));
    EXPECT_EQ(countOf(window.fileText(archive), "[Event "), 1);
    EXPECT_NE(window.fileText(archive).find("[Result \"*\"]"), std::string::npos);
    EXPECT_NE(window.fileText(archive).find("1. e4 *"), std::string::npos)
        << window.fileText(archive);

    ASSERT_EQ(window.terminate(), 0);
    EXPECT_EQ(countOf(window.fileText(archive), "[Event "), 1)
        << "the game abandoned is archived once, the new one has no moves";
}

TEST_F(HelpWindow, AHintIsMarkedAndThenPlayed) {
    WindowSession window(display, "hint", againstTheEngine(1.0), {"--log"});
    // Unfinished when the window closes, the game is kept to be continued.
    const fs::path kept = window.directory() / "home/.local/share/veltmark/current-game.pgn";
    ASSERT_TRUE(window.waitForWindow());
    const Screenshot start = window.closeOpeningDialog();

    window.key("h");
    std::array<std::string, 64> squares;
    for (int i = 0; i < 64; ++i) {
        squares[i] = {static_cast<char>('a' + i % 8), static_cast<char>('1' + i / 8)};
    }
    const auto markedSquares = [&](const Screenshot& s) {
        std::vector<std::string> marked;
        for (const auto& square : squares) {
            if (hintBlue(s, square) > hintBlue(start, square) + 40) {
                marked.push_back(square);
            }
        }
        return marked;
    };
    const Screenshot hinted =
        window.waitForScreen([&](const Screenshot& s) { return markedSquares(s).size() == 2; }, 20);
    window.screenshot("45-the-hint-marked");
    const std::vector<std::string> hint = markedSquares(hinted);
    ASSERT_EQ(hint.size(), 2u);
    // White's pieces stand on ranks 1 and 2: the hint's move starts there.
    const bool firstIsFrom = hint[0][1] <= '2';
    const std::string from = firstIsFrom ? hint[0] : hint[1];
    const std::string to = firstIsFrom ? hint[1] : hint[0];

    clickMove(window, from + to);
    const Screenshot played =
        window.waitForScreen([&](const Screenshot& s) { return markedSquares(s).empty(); }, 10);
    EXPECT_TRUE(markedSquares(played).empty()) << "the mark goes with the player's move";
    ASSERT_TRUE(waitUntil([&] { return window.loggedMoves().size() == 1; }, 20))
        << "the engine answers as ever";
    window.settledScreen();
    window.screenshot("46-the-hint-played-and-answered");
    ASSERT_EQ(window.terminate(), 0);
    const std::string pgn = window.fileText(kept);
    EXPECT_NE(pgn.find("1. "), std::string::npos) << pgn;
    EXPECT_NE(pgn.substr(pgn.find("1. ")).find(to), std::string::npos)
        << "the move played goes to the hint's square " << to << ":\n"
        << pgn;
}

TEST_F(HelpWindow, AMoveSoundsAndAMutedWindowStaysSilent) {
    const std::string move = openingOfSound("move.wav");
    const std::string capture = openingOfSound("capture.wav");
    WindowSession window(display, "sound", humanAgainstHuman(), {}, {}, true);
    ASSERT_TRUE(window.waitForWindow());
    const Screenshot start = window.closeOpeningDialog();

    window.play({"e2e4"});
    ASSERT_TRUE(waitUntil([&] { return heard(window, move); }, 10)) << "the move is heard";
    EXPECT_FALSE(heard(window, capture));

    const Rect soundOff{20, 20, 120, 30};
    EXPECT_EQ(start.brightPixels(soundOff), 0);
    window.key("s");
    const Screenshot muted = window.waitForScreen(
        [&](const Screenshot& s) { return s.brightPixels(soundOff) > 40; }, 10);
    window.screenshot("47-sound-off");
    EXPECT_GT(muted.brightPixels(soundOff), 40) << "the window says that the sound is off";
    EXPECT_NE(window.fileText("home/.config/veltmark/window.conf").find("sound off"),
              std::string::npos);
    // A capture sounds otherwise than a move. The device, open or opened again, would have
    // written it within its two seconds of silence before it closes.
    window.play({"d7d5", "e4d5"});
    EXPECT_FALSE(waitUntil([&] { return heard(window, capture); }, 4))
        << "a muted window plays nothing";

    window.key("s");
    window.waitForScreen([&](const Screenshot& s) { return s.brightPixels(soundOff) == 0; }, 10);
    const std::string silent = window.fileText("audio.raw");
    window.play({"d8d5"});
    ASSERT_TRUE(waitUntil(
        [&] { return window.fileText("audio.raw") != silent && heard(window, capture); }, 10))
        << "sound on again, the queen's capture is heard";
    EXPECT_NE(window.fileText("home/.config/veltmark/window.conf").find("sound on"),
              std::string::npos);
}

} // namespace
