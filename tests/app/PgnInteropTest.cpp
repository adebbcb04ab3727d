// Veltmark's PGN against an independent reader and writer, Debian's pgn-extract, and against a
// file that xboard wrote in a match of fairymax against stockfish.
#include "CommandOutput.h"
#include "GameArchive.h"
#include "PgnReader.h"
#include "PgnWriter.h"
#include "RandomGame.h"
#include "San.h"
#include "TestPositions.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The games of the file as pgn-extract reads them: each game's moves in coordinate notation and
// its result, one game a line (its promotion letters, upper case, made lower case as this
// program writes them). Its complaints go to `complaints`, through the file `errors`.
std::vector<std::string> pgnExtractMoves(const fs::path& file, const fs::path& errors,
                                         std::string& complaints) {
    std::istringstream lines(commandOutput(std::string(VELTMARK_PGN_READER) +
                                           " -s --notags -Wuci -w100000 '" + file.string() +
                                           "' 2>'" + errors.string() + "'"));
    std::vector<std::string> games;
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty()) {
            for (char& c : line) {
                c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            }
            games.push_back(line);
        }
    }
    complaints = commandOutput("cat '" + errors.string() + "'");
    return games;
}

// The same as Veltmark reads them, or the first error.
std::vector<std::string> veltmarkMoves(const fs::path& file, std::string& error) {
    std::vector<std::string> games;
    const auto pgn = PgnFile::open(file.string(), error);
    for (size_t i = 0; pgn && i < pgn->games().size(); ++i) {
        const auto game = pgn->readGame(i, error);
        if (!game) {
            return games;
        }
        std::string line;
        for (const std::string& move : game->moves) {
            line += move + " ";
        }
        games.push_back(line + game->result);
    }
    return games;
}

class PgnInteropTest : public ::testing::Test {
protected:
    fs::path dir;
    void SetUp() override {
        ASSERT_TRUE(fs::exists(VELTMARK_PGN_READER)) << "install pgn-extract";
        std::string pattern = (fs::temp_directory_path() / "pgnXXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern;
    }
    void TearDown() override { fs::remove_all(dir); }
};

} // namespace

// Random games reach promotions, castlings, en passant, mates and long games; some start from a
// set-up position with Black to move. Veltmark's reader takes back the very moves and start, and
// pgn-extract reads the same moves.
TEST_F(PgnInteropTest, EveryGameTheArchiveWritesIsReadBackMoveForMove) {
    std::mt19937 random(24);
    const fs::path archive = dir / "games.pgn";
    std::vector<RandomGame> written;
    for (int i = 0; i < 40; ++i) {
        written.push_back(randomGame(random, 40 + i * 8, i % 4 == 1 ? 9 : (i % 4 == 3 ? 10 : 0)));
        const RandomGame& game = written.back();
        ASSERT_TRUE(appendToArchive(
            archive.string(),
            pgnText({"2026.01.10", "Human", "Veltmark", pgnResult(game.end), game.san, game.fen})));
    }

    std::string error;
    const auto file = PgnFile::open(archive.string(), error);
    ASSERT_TRUE(file) << error;
    ASSERT_EQ(file->games().size(), written.size());
    std::vector<std::string> expected;
    for (size_t i = 0; i < written.size(); ++i) {
        const auto read = file->readGame(i, error);
        ASSERT_TRUE(read) << error;
        EXPECT_TRUE(meaningfullyEqual(read->start, written[i].start)) << "game " << i + 1;
        EXPECT_EQ(read->result, pgnResult(written[i].end));
        EXPECT_EQ(file->games()[i].plyCount, static_cast<int>(written[i].san.size()));
        Game game;
        read->playInto(game.position);
        EXPECT_EQ(sanMovesOfRecord(game.position), written[i].san) << "game " << i + 1;

        std::string moves;
        for (const std::string& move : written[i].coordinates) {
            moves += move + " ";
        }
        expected.push_back(moves + pgnResult(written[i].end));
    }

    std::string complaints;
    EXPECT_EQ(pgnExtractMoves(archive, dir / "errors.txt", complaints), expected);
    EXPECT_EQ(complaints, "");
}

// xboard's file carries its engines' evaluations as comments, move numbers at line ends, a
// board diagram in a comment and a set-up game; pgn-extract rewrites it in its own standard
// algebraic and long algebraic forms. Veltmark reads each the way pgn-extract reads xboard's.
TEST_F(PgnInteropTest, FilesThatOtherProgramsWroteAreReadAsTheyRead) {
    const fs::path xboardFile = fs::path(VELTMARK_TEST_DATA) / "xboard-games.pgn";
    std::string complaints, error;
    const std::vector<std::string> expected =
        pgnExtractMoves(xboardFile, dir / "errors.txt", complaints);
    ASSERT_EQ(expected.size(), 3u) << complaints;
    EXPECT_EQ(veltmarkMoves(xboardFile, error), expected) << error;

    for (const char* format : {"san", "lalg", "elalg"}) {
        const fs::path rewritten = dir / (std::string(format) + ".pgn");
        commandOutput(std::string(VELTMARK_PGN_READER) + " -s -W" + format + " -o '" +
                      rewritten.string() + "' '" + xboardFile.string() + "' 2>/dev/null");
        EXPECT_EQ(veltmarkMoves(rewritten, error), expected) << format << ": " << error;
    }
}
