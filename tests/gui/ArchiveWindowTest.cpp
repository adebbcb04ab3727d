// The game archive and the move list, played by mouse in the real window.
#include "CommandOutput.h"
#include "WindowSession.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>
#include <sys/resource.h>

using namespace window_test;

namespace {

// Where the move list appears.
const Rect movesArea{8, 8, 208, 245};

class ArchiveWindow : public OnVirtualDisplay {};

TEST_F(ArchiveWindow, GamesPlayedByMouseAreArchivedAndListedWhileTheBoardStaysPlayable) {
    ASSERT_TRUE(fs::exists(VELTMARK_PGN_READER)) << "install pgn-extract";
    WindowSession window(display, "archive", humanAgainstHuman());
    const fs::path dataFolder = window.directory() / "home/.local/share/veltmark";
    const fs::path archive = dataFolder / "games.pgn";
    ASSERT_TRUE(window.waitForWindow());
    const Screenshot empty = window.closeOpeningDialog();

    // The move list opens on M and the board goes on taking moves while it is shown.
    window.play({"f2f3", "e7e5"});
    window.key("m");
    window.waitForScreen(
        [&](const Screenshot& s) { return s.differingPixels(empty, movesArea) > 2000; }, 30);
    window.play({"g2g4", "d8h4"});
    const Screenshot mate = window.waitForScreen(boxInTheMiddle, 30);
    window.screenshot("20-moves-at-the-end-of-a-game");
    ASSERT_TRUE(boxInTheMiddle(mate)) << "the mate is announced";
    ASSERT_TRUE(
        waitUntil([&] { return countOf(window.fileText(archive.string()), "[Event ") == 1; }, 10))
        << "the finished game is archived at once";

    // The archive cannot be written: a file stands where its folder should be. Keeping the new
    // game in progress there fails at once, and says so once.
    window.key("Return");
    window.waitForScreen([](const Screenshot& s) { return !boxInTheMiddle(s); }, 30);
    fs::rename(dataFolder, dataFolder.string() + ".kept");
    std::ofstream(dataFolder) << "in the way";
    const ScreenButtons buttons = buttonsOnScreen();
    window.click(centreOf(buttons.at(newGameButton)));
    window.waitForScreen(boxInTheMiddle, 30);
    window.key("Return");
    const std::string kept = (dataFolder / "current-game.pgn").string();
    window.waitForScreen(boxInTheMiddle, 30);
    window.screenshot("21a-warning-the-game-in-progress-could-not-be-kept");
    window.key("Return");
    window.waitForScreen([](const Screenshot& s) { return !boxInTheMiddle(s); }, 30);
    window.play({"f2f3", "e7e5", "g2g4", "d8h4"});
    ASSERT_TRUE(waitUntil(
        [&] { return window.fileText("output.txt").find(archive.string()) != std::string::npos; },
        30))
        << "the failed write names the file";
    window.waitForScreen(boxInTheMiddle, 30);
    window.screenshot("21-warning-the-game-could-not-be-saved");
    // The warning, then the end of the game; then play goes on with a new game.
    window.key("Return");
    window.pause(300);
    window.key("Return");
    window.waitForScreen([](const Screenshot& s) { return !boxInTheMiddle(s); }, 30);
    fs::remove(dataFolder);
    fs::rename(dataFolder.string() + ".kept", dataFolder);
    window.click(centreOf(buttons.at(newGameButton)));
    window.waitForScreen(boxInTheMiddle, 30);
    window.key("Return");
    window.waitForScreen([](const Screenshot& s) { return !boxInTheMiddle(s); }, 30);

    // Past a file size limit, which the program meets as a full disk, the game is not written in
    // part: the archive stays as it was, and the program goes on.
    const std::string archived = window.fileText(archive.string());
    const rlimit nearlyFull{archived.size() + 100, RLIM_INFINITY};
    ASSERT_EQ(prlimit(window.pid(), RLIMIT_FSIZE, &nearlyFull, nullptr), 0);
    window.play({"f2f4", "e7e6", "g2g4", "d8h4"});
    ASSERT_TRUE(waitUntil(
        [&] { return countOf(window.fileText("output.txt"), archive.string()) == 2; }, 30))
        << "the failed write is reported: " << window.fileText("output.txt");
    window.waitForScreen(boxInTheMiddle, 30);
    window.screenshot("21b-warning-past-the-file-size-limit");
    EXPECT_EQ(window.fileText(archive.string()), archived);
    window.key("Return");
    window.pause(300);
    window.key("Return");
    window.waitForScreen([](const Screenshot& s) { return !boxInTheMiddle(s); }, 30);
    const rlimit room{RLIM_INFINITY, RLIM_INFINITY};
    ASSERT_EQ(prlimit(window.pid(), RLIMIT_FSIZE, &room, nullptr), 0);
    window.click(centreOf(buttons.at(newGameButton)));
    window.waitForScreen(boxInTheMiddle, 30);
    window.key("Return");
    window.waitForScreen([](const Screenshot& s) { return !boxInTheMiddle(s); }, 30);

    // A dozen moves, castling among them, then one taken back and another played instead.
    window.play({"e2e4", "e7e5", "g1f3", "b8c6", "f1b5", "a7a6", "b5a4", "g8f6", "e1g1", "f8e7",
                 "f1e1", "b7b5"});
    const Screenshot dozen = window.settledScreen();
    window.screenshot("22-moves-after-a-dozen-moves");
    window.click(centreOf(buttons.at(undoButton)));
    const Screenshot undone = window.settledScreen();
    window.screenshot("23-moves-after-an-undo");
    EXPECT_GT(undone.differingPixels(dozen, movesArea), 20) << "the list follows the undo";
    window.play({"d7d6"});
    window.key("m");
    const Screenshot hidden = window.waitForScreen(
        [&](const Screenshot& s) { return s.differingPixels(empty, movesArea) < 200; }, 30);
    EXPECT_LT(hidden.differingPixels(empty, movesArea), 200) << "M hides the list again";
    // Its frame's close button and Escape close it as well.
    const auto shown = [&](const Screenshot& s) {
        return s.differingPixels(empty, movesArea) > 2000;
    };
    const auto gone = [&](const Screenshot& s) { return !shown(s); };
    window.key("m");
    window.waitForScreen(shown, 30);
    window.click({movesArea.x + movesArea.w - 8, movesArea.y + 12});
    EXPECT_TRUE(gone(window.waitForScreen(gone, 30))) << "closed by its frame";
    window.key("m");
    window.waitForScreen(shown, 30);
    window.key("Escape");
    EXPECT_TRUE(gone(window.waitForScreen(gone, 30))) << "closed by Escape";
    EXPECT_EQ(window.terminate(), 0);

    // An independent reader takes both games move by move, with their results: the finished one
    // from the archive, the unfinished one from where it is kept to be continued.
    const std::string tags = window.fileText(archive.string()) + window.fileText(kept);
    EXPECT_EQ(countOf(tags, "[Event \"Veltmark game\"]"), 2) << tags;
    char today[16];
    const std::time_t now = std::time(nullptr);
    std::strftime(today, sizeof today, "%Y.%m.%d", std::localtime(&now));
    EXPECT_EQ(countOf(tags, std::string("[Date \"") + today + "\"]"), 2) << tags;
    EXPECT_EQ(countOf(tags, "[White \"Human\"]\n[Black \"Human\"]"), 2) << tags;
    const fs::path errors = window.directory() / "reader-errors.txt";
    const std::string read = commandOutput(std::string(VELTMARK_PGN_READER) +
                                           " -s --notags -Wuci -w1000 " + quoted(archive.string()) +
                                           " " + quoted(kept) + " 2>" + quoted(errors.string()));
    EXPECT_EQ(read, "f2f3 e7e5 g2g4 d8h4 0-1\n\n"
                    "e2e4 e7e5 g1f3 b8c6 f1b5 a7a6 b5a4 g8f6 e1g1 f8e7 f1e1 d7d6 *\n\n");
    std::ifstream readerErrors(errors);
    std::string complaint;
    EXPECT_FALSE(std::getline(readerErrors, complaint)) << complaint;
}

TEST_F(ArchiveWindow, TheMoveListShowsTheWidestMovesWholeBesideItsScrollbar) {
    // Quiet moves enough for the scrollbar, then a pawn each way that takes a queen on its last
    // rank with check: "exd8=Q+" and, the last move, "exd1=Q+".
    const auto game = [](const fs::path& directory) {
        std::ofstream(directory / "widest.pgn")
            << "[White \"Anna\"]\n[Black \"Ben\"]\n[Result \"*\"]\n\n"
               "1. a3 a6 2. a4 b6 3. b3 c6 4. c3 g6 5. g3 h6 6. h3 a5 7. f4 d5 8. f5 d4 9. f6 d3 "
               "10. fxe7 dxe2 11. exd8=Q+ Kxd8 12. Nf3 exd1=Q+ *\n";
    };
    WindowSession window(display, "widest-moves", humanAgainstHuman(), {"widest.pgn"}, game);
    ASSERT_TRUE(window.waitForWindow());
    // A file of one game opens at once, at its last move.
    window.waitForScreen([](const Screenshot& s) { return !toolkitWindowShown(s); }, 30);
    window.key("m");
    window.settledScreen();
    const Screenshot shot = window.settledScreen();
    window.screenshot("24-moves-widest-beside-the-scrollbar");

    // The last move's cell is marked; its text must end inside it, not at its clipped edge.
    const auto marked = [](const uint8_t* p) { return p[0] == 200 && p[1] == 150 && p[2] == 40; };
    int left = screenWidth, right = -1, top = screenHeight, bottom = -1;
    for (int y = movesArea.y; y < movesArea.y + movesArea.h; ++y) {
        for (int x = movesArea.x; x < movesArea.x + movesArea.w; ++x) {
            if (marked(shot.at(x, y))) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
        }
    }
    ASSERT_GT(right, left) << "the last move is marked";
    int textRight = -1;
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            const uint8_t* p = shot.at(x, y);
            if (p[0] < 100 && p[1] < 100 && p[2] < 100) {
                textRight = std::max(textRight, x);
            }
        }
    }
    ASSERT_GT(textRight, left) << "the marked move's text";
    EXPECT_GE(right - textRight, 3) << "the move's check sign is cut off";
}

} // namespace
