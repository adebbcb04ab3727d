#include "CurrentGame.h"
#include "FileSizeLimit.h"
#include "LatestTextWriter.h"
#include "WholeWrites.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class CurrentGameTest : public ::testing::Test {
protected:
    fs::path dir;
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "currentXXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern;
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string write(const std::string& text) const {
        const fs::path path = dir / "current-game.pgn";
        std::ofstream(path) << text;
        return path.string();
    }
    static std::string read(const fs::path& path) {
        std::ifstream in(path);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
};

const std::string tags = "[Event \"Veltmark game\"]\n[Date \"2026.12.10\"]\n";

} // namespace

TEST_F(CurrentGameTest, OnlyAnUnfinishedGameWithMovesIsOffered) {
    std::string error;
    EXPECT_FALSE(unfinishedGameIn((dir / "missing.pgn").string(), error));
    EXPECT_EQ(error, "");
    EXPECT_FALSE(unfinishedGameIn(write(tags + "[Result \"*\"]\n\n*\n"), error));
    EXPECT_FALSE(unfinishedGameIn(write(tags + "\n1. f3 e5 2. g4 Qh4# 0-1\n"), error));
    EXPECT_EQ(error, "");

    const auto kept = unfinishedGameIn(
        write(tags + "[PliesOnBoard \"2\"]\n\n1. e4 e5 2. Nf3 Nc6 3. Bb5 *\n"), error);
    ASSERT_TRUE(kept) << error;
    EXPECT_EQ(kept->record.moves.size(), 5u);
    EXPECT_EQ(kept->pliesOnBoard, 2);
    EXPECT_EQ(continueQuestion(*kept), "Continue the unfinished game of 2026.12.10 (3 moves)?");

    // A count past the moves, or none, shows them all.
    const auto all = unfinishedGameIn(write(tags + "[PliesOnBoard \"99\"]\n\n1. e4 *\n"), error);
    ASSERT_TRUE(all);
    EXPECT_EQ(all->pliesOnBoard, 1);
    EXPECT_EQ(continueQuestion(*all), "Continue the unfinished game of 2026.12.10 (1 move)?");
}

TEST_F(CurrentGameTest, AKeptGameThatCannotBeReadIsNotOfferedAndSaysWhy) {
    std::string error;
    EXPECT_FALSE(unfinishedGameIn(write(tags + "\n1. e4 e5 2. Nf9 *\n"), error));
    EXPECT_NE(error.find("\"Nf9\" is not a legal move here"), std::string::npos) << error;
}

TEST_F(CurrentGameTest, TheWriterLeavesTheLatestTextAndReportsAFailureOnceNamingTheFile) {
    const fs::path path = dir / "veltmark" / "current-game.pgn";
    std::atomic<int> failures{0};
    std::string failedPath;
    {
        LatestTextWriter writer(path.string(), [&](const std::string& where) {
            failedPath = where;
            ++failures;
        });
        for (int i = 0; i < 200; ++i) {
            writer.write("text " + std::to_string(i));
        }
        writer.flush();
        EXPECT_EQ(read(path), "text 199");

        // A folder where the file should be stops everyone, root included.
        fs::remove(path);
        fs::create_directories(path / "in-the-way");
        writer.write("lost");
        writer.write("lost again");
        writer.flush();
        writer.write("lost once more");
        writer.flush();
        EXPECT_EQ(failures, 1);
        EXPECT_EQ(failedPath, path.string());
        fs::remove_all(path);
        writer.write("back");
        writer.write("last");
    }
    EXPECT_EQ(read(path), "last") << "what was pending is written before the writer goes";
    EXPECT_EQ(failures, 1);
    int leftovers = 0;
    for (const auto& entry : fs::directory_iterator(path.parent_path())) {
        leftovers += entry.path() != path;
    }
    EXPECT_EQ(leftovers, 0) << "no temporary file stays";
}

TEST_F(CurrentGameTest, AReplacementThatCannotBeWrittenWholeLeavesTheOldText) {
    const fs::path path = dir / "current-game.pgn";
    ASSERT_TRUE(replaceWhole(path.string(), "old"));
    const int result = underFileSizeLimit(
        100, [&] { return replaceWhole(path.string(), std::string(1000, 'x')) ? 1 : 0; });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(read(path), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}
