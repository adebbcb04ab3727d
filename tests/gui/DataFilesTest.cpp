#include "DataFiles.h"
#include "TempDataTree.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

const std::string font = "fonts/LiberationSans-Regular.ttf";

TEST(FindDataFile, CurrentDirectoryWinsOverEveryDataDirectory) {
    TempDataTree tree;
    tree.touch("cwd/" + font);
    tree.touch("user/veltmark/" + font);
    tree.touch("system/veltmark/" + font);
    ::setenv("XDG_DATA_HOME", tree.path("user").c_str(), 1);
    ::setenv("XDG_DATA_DIRS", tree.path("system").c_str(), 1);
    EXPECT_EQ(findDataFile(font), font);
}

TEST(FindDataFile, UserDirectoryComesBeforeSystemDirectories) {
    TempDataTree tree;
    const auto user = tree.touch("user/veltmark/gfx/king.lwo");
    const auto system = tree.touch("system/veltmark/gfx/king.lwo");
    ::setenv("XDG_DATA_HOME", tree.path("user").c_str(), 1);
    ::setenv("XDG_DATA_DIRS", tree.path("system").c_str(), 1);
    EXPECT_EQ(findDataFile("gfx/king.lwo"), user);
    std::filesystem::remove(user);
    EXPECT_EQ(findDataFile("gfx/king.lwo"), system);
}

TEST(FindDataFile, EmptyOrUnsetXdgDataHomeFallsBackToHome) {
    TempDataTree tree;
    const auto inHome = tree.touch("home/.local/share/veltmark/gfx/pawn.lwo");
    ::setenv("HOME", tree.path("home").c_str(), 1);
    EXPECT_EQ(findDataFile("gfx/pawn.lwo"), inHome);
    ::setenv("XDG_DATA_HOME", "", 1);
    EXPECT_EQ(findDataFile("gfx/pawn.lwo"), inHome);
    // A set XDG_DATA_HOME replaces HOME: the file there is no longer seen.
    ::setenv("XDG_DATA_HOME", tree.path("elsewhere").c_str(), 1);
    EXPECT_EQ(findDataFile("gfx/pawn.lwo"), std::nullopt);
}

TEST(FindDataFile, TrailingSlashesMakeNoDifference) {
    TempDataTree tree;
    ::setenv("XDG_DATA_HOME", "/data/home", 1);
    ::setenv("XDG_DATA_DIRS", "/data/a:/data/b", 1);
    const auto without = dataFileCandidates("textures/board.gif");
    ::setenv("XDG_DATA_HOME", "/data/home/", 1);
    ::setenv("XDG_DATA_DIRS", "/data/a/:/data/b/", 1);
    EXPECT_EQ(dataFileCandidates("textures/board.gif"), without);
    const std::vector<std::string> expected{
        "textures/board.gif", "/data/home/veltmark/textures/board.gif",
        "/data/a/veltmark/textures/board.gif", "/data/b/veltmark/textures/board.gif"};
    EXPECT_EQ(without, expected);
    ::unsetenv("XDG_DATA_HOME");
    ::setenv("HOME", "/home/user/", 1);
    EXPECT_EQ(dataFileCandidates("x")[1], "/home/user/.local/share/veltmark/x");
}

TEST(FindDataFile, SystemDirectoriesInOrderSkippingEmptyPieces) {
    TempDataTree tree;
    const auto second = tree.touch("b/veltmark/gfx/rook.lwo");
    const std::string dirs = "::" + tree.path("a").string() + "::" + tree.path("b").string() + ":";
    ::setenv("XDG_DATA_DIRS", dirs.c_str(), 1);
    EXPECT_EQ(dataFileCandidates("gfx/rook.lwo").size(), 3u); // no HOME: no user directory
    EXPECT_EQ(findDataFile("gfx/rook.lwo"), second);
    const auto first = tree.touch("a/veltmark/gfx/rook.lwo");
    EXPECT_EQ(findDataFile("gfx/rook.lwo"), first);
}

TEST(FindDataFile, DefaultSystemDirectoriesWhenUnsetOrEmpty) {
    TempDataTree tree;
    const std::vector<std::string> expected{"gfx/queen.lwo",
                                            "/usr/local/share/veltmark/gfx/queen.lwo",
                                            "/usr/share/veltmark/gfx/queen.lwo"};
    EXPECT_EQ(dataFileCandidates("gfx/queen.lwo"), expected);
    ::setenv("XDG_DATA_DIRS", "", 1);
    EXPECT_EQ(dataFileCandidates("gfx/queen.lwo"), expected);
}

TEST(FindDataFile, ADirectoryCountsAndNothingFoundIsNull) {
    TempDataTree tree;
    ::setenv("XDG_DATA_DIRS", tree.path("system").c_str(), 1);
    EXPECT_EQ(findDataFile("fonts"), std::nullopt);
    std::filesystem::create_directories(tree.path("system/veltmark/fonts"));
    EXPECT_EQ(findDataFile("fonts"), tree.path("system/veltmark/fonts").string());
}

TEST(RequireDataFile, NamesTheMissingFileAndWhereItLooked) {
    TempDataTree tree;
    ::setenv("XDG_DATA_DIRS", "/nowhere", 1);
    try {
        requireDataFile("gfx/knight.lwo");
        FAIL() << "a missing file was reported as found";
    } catch (const DataFileException& missing) {
        const std::string message = missing.what();
        EXPECT_NE(message.find("\"gfx/knight.lwo\""), std::string::npos) << message;
        EXPECT_NE(message.find("/nowhere/veltmark/gfx/knight.lwo"), std::string::npos) << message;
    }
    tree.touch("cwd/gfx/knight.lwo");
    EXPECT_EQ(requireDataFile("gfx/knight.lwo"), "gfx/knight.lwo");
}

} // namespace
