// Games that go on: the game in progress survives a killed window, games open from a PGN file,
// and the move list steps through a game. The real program, played by mouse and keys.
#include "WindowSession.h"

#include <gtest/gtest.h>

#include <signal.h>

using namespace window_test;

namespace {

const Rect movesArea{8, 8, 208, 245};

bool noBox(const Screenshot& shot) {
    return !toolkitWindowShown(shot);
}

const std::string dataFolder = "home/.local/share/veltmark/";

// The kept game in progress holds this text (its moves, as the archive writes them).
bool keptHolds(const WindowSession& window, const std::string& text) {
    return waitUntil(
        [&] {
            return window.fileText(dataFolder + "current-game.pgn").find(text) != std::string::npos;
        },
        15);
}

// The centre of a move's cell in the move list, counted from 0 for White's first move.
Point moveInList(int ply) {
    return {ply % 2 == 0 ? 72 : 152, 58 + 24 * (ply / 2)};
}

class GamesWindowTest : public OnVirtualDisplay {};

TEST_F(GamesWindowTest, AKilledGameIsOfferedAtTheNextStartAndReachesTheArchiveOnce) {
    std::string kept;
    {
        WindowSession window(display, "killed", humanAgainstHuman());
        ASSERT_TRUE(window.waitForWindow());
        window.closeOpeningDialog();
        window.play({"f2f3", "e7e5"});
        ASSERT_TRUE(keptHolds(window, "1. f3 e5 *")) << window.fileText("output.txt");
        kill(window.pid(), SIGKILL);
        ASSERT_TRUE(window.waitForEnd(10));
        kept = window.fileText(dataFolder + "current-game.pgn");
    }
    const auto keptBefore = [&](const fs::path& directory) {
        fs::create_directories(directory / dataFolder);
        std::ofstream(directory / dataFolder / "current-game.pgn") << kept;
    };

    WindowSession window(display, "continued", humanAgainstHuman(), {}, keptBefore);
    ASSERT_TRUE(window.waitForWindow());
    window.waitForScreen(boxInTheMiddle, 30);
    window.screenshot("60-continue-the-killed-game");
    window.key("Return");
    window.closeOpeningDialog();
    window.key("m");
    const Screenshot restored = window.settledScreen();
    window.screenshot("61-killed-game-restored-with-its-moves");
    EXPECT_GT(restored.brightPixels(movesArea), 100) << "the move list shows the moves";
    // The mate is legal only on the restored board.
    window.play({"g2g4", "d8h4"});
    window.waitForScreen(boxInTheMiddle, 30);
    window.screenshot("62-continued-game-finished");
    window.key("Return");
    window.waitForScreen([](const Screenshot& s) { return !boxInTheMiddle(s); }, 30);
    EXPECT_EQ(window.terminate(), 0);
    const std::string archive = window.fileText(dataFolder + "games.pgn");
    EXPECT_EQ(countOf(archive, "[Event "), 1) << archive;
    EXPECT_EQ(countOf(archive, "1. f3 e5 2. g4 Qh4# 0-1"), 1) << archive;
}

TEST_F(GamesWindowTest, AGameThatIsNotContinuedIsArchivedUnfinished) {
    const auto keptBefore = [](const fs::path& directory) {
        fs::create_directories(directory / dataFolder);
        std::ofstream(directory / dataFolder / "current-game.pgn")
            << "[Event \"Veltmark game\"]\n[Site \"?\"]\n[Date \"2026.12.01\"]\n[Round \"-\"]\n"
               "[White \"Veltmark\"]\n[Black \"Human\"]\n[Result \"*\"]\n\n1. e4 c5 2. Nf3 *\n\n";
    };
    WindowSession window(display, "declined", humanAgainstHuman(), {}, keptBefore);
    ASSERT_TRUE(window.waitForWindow());
    window.waitForScreen(boxInTheMiddle, 30);
    window.key("Escape");
    window.closeOpeningDialog();
    window.play({"d2d4"});
    ASSERT_TRUE(keptHolds(window, "1. d4 *"));
    EXPECT_EQ(window.terminate(), 0);
    const std::string archive = window.fileText(dataFolder + "games.pgn");
    EXPECT_EQ(countOf(archive, "[Event "), 1) << archive;
    EXPECT_NE(archive.find("[Date \"2026.12.01\"]\n[Round \"-\"]\n[White \"Veltmark\"]\n"
                           "[Black \"Human\"]\n[Result \"*\"]\n\n1. e4 c5 2. Nf3 *"),
              std::string::npos)
        << archive;
}

TEST_F(GamesWindowTest, AGameChosenFromAFileGoesOnAndABrokenOneIsNamed) {
    const auto games = [](const fs::path& directory) {
        std::ofstream(directory / "sent.pgn")
            << "[White \"Anna\"]\n[Black \"Ben\"]\n[Result \"1-0\"]\n\n1. e4 e5 2. Qh5 Nc6 3. Bc4 "
               "Nf6 4. Qxf7# 1-0\n\n"
               "[Date \"2024.05.06\"]\n[White \"Carl\"]\n[Black \"Dora\"]\n[Result \"*\"]\n\n"
               "1. d4 d5 2. c4 {the gambit} e6 *\n\n"
               "[White \"Eve\"]\n[Black \"Finn\"]\n[Result \"*\"]\n\n1. e4 e5 2. Nf9 *\n";
    };
    WindowSession window(display, "file", humanAgainstHuman(), {"sent.pgn"}, games);
    ASSERT_TRUE(window.waitForWindow());
    window.waitForScreen(toolkitWindowShown, 30);
    window.screenshot("63-games-of-the-file");
    window.key("Down Down Return");
    // The message stands over the list, below its title.
    window.waitForScreen(
        [](const Screenshot& s) {
            return toolkitWindowIn(s, {60, 105, 400, 25});
        },
        30);
    window.screenshot("64-a-broken-game-is-named");
    window.key("Return");
    window.pause(300);
    window.key("Up Return");
    window.waitForScreen(noBox, 30);
    window.screenshot("65-chosen-game-on-the-board");
    window.play({"b1c3"});
    ASSERT_TRUE(keptHolds(window, "1. d4 d5 2. c4 e6 3. Nc3 *")) << window.fileText("output.txt");
    const std::string kept = window.fileText(dataFolder + "current-game.pgn");
    EXPECT_NE(kept.find("[Date \"2024.05.06\"]\n[Round \"-\"]\n[White \"Carl / Human\"]\n"
                        "[Black \"Dora\"]"),
              std::string::npos)
        << kept;
    EXPECT_EQ(window.terminate(), 0);
}

TEST_F(GamesWindowTest, AClickOnAnEarlierMoveShowsItsBoardWhereTheGameGoesOnDifferently) {
    WindowSession window(display, "stepping", preparedSettings(0, 1, 0.2, 3), {"--log"});
    ASSERT_TRUE(window.waitForWindow());
    window.closeOpeningDialog();
    window.play({"e2e4"});
    ASSERT_TRUE(waitUntil([&] { return window.loggedMoves().size() == 1; }, 20));
    window.pause(700); // the reply's slide
    window.play({"d2d4"});
    ASSERT_TRUE(waitUntil([&] { return window.loggedMoves().size() == 2; }, 20));
    window.key("m");
    const Screenshot atEnd = window.settledScreen();
    window.screenshot("66-four-moves-listed");

    // After White's first move it is the engine's turn, but it does not play while the player
    // looks at an earlier position.
    window.click(moveInList(0));
    const Screenshot early = window.settledScreen();
    window.screenshot("67-board-after-the-first-move");
    EXPECT_GT(early.differingPixels(atEnd, {100, 60, 600, 470}), 500) << "the board changed";
    ASSERT_TRUE(keptHolds(window, "[PliesOnBoard \"1\"]"));
    window.pause(1500);
    EXPECT_EQ(window.loggedMoves().size(), 2u) << "the engine stays silent";

    // Page Down shows the engine's reply; a move made there replaces d4, and the engine answers.
    window.key("Next");
    ASSERT_TRUE(keptHolds(window, "[PliesOnBoard \"2\"]"));
    window.play({"g1f3"});
    ASSERT_TRUE(waitUntil([&] { return window.loggedMoves().size() == 3; }, 20));
    window.pause(700);
    window.screenshot("68-game-gone-on-from-the-earlier-position");
    ASSERT_TRUE(keptHolds(window, "[PliesOnBoard \"4\"]"));
    const std::string kept = window.fileText(dataFolder + "current-game.pgn");
    EXPECT_NE(kept.find("1. e4 "), std::string::npos) << kept;
    EXPECT_NE(kept.find(" 2. Nf3 "), std::string::npos) << kept;
    EXPECT_EQ(kept.find("2. d4"), std::string::npos) << "the replaced move is gone: " << kept;
    EXPECT_EQ(window.terminate(), 0);
}

TEST_F(GamesWindowTest, APositionFromTheCommandLineIsPlayedOnAndKeptWithItsStart) {
    // Black to move at move 30: the move list numbers from there, Black's move first.
    const std::string fen = "4k3/8/8/8/8/8/4P3/4K3 b - - 0 30";
    WindowSession window(display, "fen", humanAgainstHuman(), {"--fen", fen});
    ASSERT_TRUE(window.waitForWindow());
    window.closeOpeningDialog();
    window.play({"e8d7", "e2e4"});
    window.key("m");
    window.settledScreen();
    window.screenshot("69-position-from-the-command-line");
    ASSERT_TRUE(keptHolds(window, "30... Kd7 31. e4 *"));
    EXPECT_NE(window.fileText(dataFolder + "current-game.pgn")
                  .find("[SetUp \"1\"]\n[FEN \"" + fen + "\"]"),
              std::string::npos);
    EXPECT_EQ(window.terminate(), 0);
}

} // namespace
