#include "CommandOutput.h"
#include "FileSizeLimit.h"
#include "GameArchive.h"
#include "PgnWriter.h"
#include "TestPositions.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

PgnGame sampleGame(std::vector<std::string> moves, std::string result) {
    return PgnGame{"2026.12.09", "Human", "Veltmark", std::move(result), std::move(moves)};
}

} // namespace

TEST(PgnWriterTest, SevenTagRosterInOrderThenNumberedMovesAndTheResult) {
    EXPECT_EQ(pgnText(sampleGame({"e4", "e5", "Nf3"}, "*")),
              "[Event \"Veltmark game\"]\n[Site \"?\"]\n[Date \"2026.12.09\"]\n[Round \"-\"]\n"
              "[White \"Human\"]\n[Black \"Veltmark\"]\n[Result \"*\"]\n\n"
              "1. e4 e5 2. Nf3 *\n\n");
    std::tm noon{};
    noon.tm_year = 2027 - 1900;
    noon.tm_mon = 0;
    noon.tm_mday = 5;
    noon.tm_hour = 12;
    noon.tm_isdst = -1;
    EXPECT_EQ(pgnDate(std::mktime(&noon)), "2027.01.05");
    EXPECT_STREQ(pgnPlayerName(0), "Human");
    EXPECT_STREQ(pgnPlayerName(1), "Veltmark");
}

TEST(PgnWriterTest, AGameFromASetUpPositionCarriesItAndCountsFromItsMoveNumber) {
    PgnGame game = sampleGame({"e5", "Nf3", "Nc6"}, "*");
    game.fen = "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - 0 12";
    EXPECT_EQ(pgnText(game),
              "[Event \"Veltmark game\"]\n[Site \"?\"]\n[Date \"2026.12.09\"]\n[Round \"-\"]\n"
              "[White \"Human\"]\n[Black \"Veltmark\"]\n[Result \"*\"]\n[SetUp \"1\"]\n"
              "[FEN \"rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - 0 12\"]\n\n"
              "12... e5 13. Nf3 Nc6 *\n\n");
}

TEST(PgnWriterTest, LongMovetextIsWrappedAtEightyCharactersWithoutLosingATokenOrANumber) {
    std::vector<std::string> moves;
    for (int i = 0; i < 150; ++i) {
        moves.push_back(i % 3 == 0 ? "Qa1xb2+" : (i % 3 == 1 ? "exd8=Q#" : "Kh1"));
    }
    const std::string text = pgnText(sampleGame(moves, "1-0"));
    const std::string movetext = text.substr(text.find("\n\n") + 2);

    std::istringstream lines(movetext);
    std::string line, joined;
    int lineCount = 0;
    while (std::getline(lines, line) && !line.empty()) {
        EXPECT_LE(line.size(), 80u) << line;
        // A line never ends with a move number whose move went to the next line.
        EXPECT_NE(line.back(), '.') << line;
        joined += (joined.empty() ? "" : " ") + line;
        ++lineCount;
    }
    EXPECT_GT(lineCount, 10);
    std::string expected;
    for (size_t i = 0; i < moves.size(); ++i) {
        if (i % 2 == 0) {
            expected += std::to_string(i / 2 + 1) + ". ";
        }
        expected += moves[i] + " ";
    }
    EXPECT_EQ(joined, expected + "1-0");
}

TEST(PgnWriterTest, ResultFollowsHowTheGameEnded) {
    EXPECT_EQ(pgnResult(fromFen("R5k1/5ppp/8/8/8/8/8/6K1 b - - 0 1")), "1-0");
    EXPECT_EQ(pgnResult(fromFen("rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq - 1 3")),
              "0-1");
    EXPECT_EQ(pgnResult(fromFen("7k/5Q2/6K1/8/8/8/8/8 b - - 0 1")), "1/2-1/2");
    EXPECT_EQ(pgnResult(fromFen("4k3/8/8/8/8/8/8/4KN2 b - - 0 1")), "1/2-1/2");
    Position claimed = startingPosition();
    EXPECT_EQ(pgnResult(claimed), "*");
    claimed.drawClaimed = true;
    EXPECT_EQ(pgnResult(claimed), "1/2-1/2");
}

class GameArchiveTest : public ::testing::Test {
protected:
    fs::path dir;
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "archiveXXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern;
    }
    void TearDown() override { fs::remove_all(dir); }
};

TEST_F(GameArchiveTest, GamesAreAppendedAfterWhatTheFileHeldAndFoldersAreCreated) {
    const fs::path path = dir / "not" / "yet" / "games.pgn";
    const std::string first = pgnText(sampleGame({"e4"}, "*"));
    const std::string second = pgnText(sampleGame({"d4", "d5"}, "1/2-1/2"));
    ASSERT_TRUE(appendToArchive(path.string(), first));
    ASSERT_TRUE(appendToArchive(path.string(), second));
    EXPECT_EQ(readFile(path), first + second);
}

TEST_F(GameArchiveTest, AFolderThatCannotBeMadeOrAFileThatCannotBeOpenedIsAFailure) {
    // Tests may run as root, for whom no permission bit stops a write: a file where the folder
    // should be, and a folder where the file should be, stop everyone.
    std::ofstream(dir / "plain") << "x";
    EXPECT_FALSE(appendToArchive((dir / "plain" / "veltmark" / "games.pgn").string(), "text"));
    fs::create_directories(dir / "veltmark" / "games.pgn");
    EXPECT_FALSE(appendToArchive((dir / "veltmark" / "games.pgn").string(), "text"));
    EXPECT_EQ(readFile(dir / "plain"), "x");
}

TEST_F(GameArchiveTest, AGameThatCannotBeWrittenWholeLeavesTheFileAsItWas) {
    ASSERT_TRUE(std::filesystem::exists(VELTMARK_PGN_READER)) << "install pgn-extract";
    const fs::path path = dir / "games.pgn";
    const std::string first = pgnText(sampleGame({"e4", "e5"}, "*"));
    ASSERT_TRUE(appendToArchive(path.string(), first));
    std::vector<std::string> shuffles;
    for (int i = 0; i < 40; ++i) {
        shuffles.insert(shuffles.end(), {"Nf3", "Nf6", "Ng1", "Ng8"});
    }
    const std::string second = pgnText(sampleGame(shuffles, "1/2-1/2"));
    // Half of the second game would fit: the write fails part way, as on a full disk.
    EXPECT_EQ(underFileSizeLimit(first.size() + second.size() / 2,
                                 [&] { return appendToArchive(path.string(), second) ? 1 : 0; }),
              0);
    EXPECT_EQ(readFile(path), first);

    // Once there is room again, the next game follows whole and an independent reader takes both.
    const std::string third = pgnText(sampleGame({"d4", "d5", "c4"}, "1-0"));
    ASSERT_TRUE(appendToArchive(path.string(), third));
    EXPECT_EQ(readFile(path), first + third);
    const std::string read = commandOutput(std::string(VELTMARK_PGN_READER) +
                                           " -s --notags -Wuci " + path.string() + " 2>&1");
    EXPECT_EQ(read, "e2e4 e7e5 *\n\nd2d4 d7d5 c2c4 1-0\n\n");
}
