#include "RememberedWindowFile.h"
#include "FileSizeLimit.h"
#include "ScratchSettingsTree.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

const RememberedWindow defaults;

TEST(RememberedWindowText, ReadsBackWhatItWrites) {
    const RememberedWindow stored{1600, 1000, true, false};
    EXPECT_EQ(parseRememberedWindow(formatRememberedWindow(stored)), stored);
}

TEST(RememberedWindowText, SkipsUnknownKeysAndStrayLines) {
    const auto read = parseRememberedWindow("# note\ncolour blue\n\n  width 1280 \r\n"
                                            "height\t720\nwidth\nsound off\n");
    EXPECT_EQ(read, (RememberedWindow{1280, 720, false, false}));
}

TEST(RememberedWindowText, UnusableSizeGivesTheDefaultSizeOnly) {
    for (const char* text :
         {"width -800\nheight 600\nfullscreen on\n", "width 800x\nheight 600\nfullscreen on\n",
          "width 0\nheight 600\nfullscreen on\n", "width 99999999999\nheight 600\nfullscreen on\n",
          "width 40000\nheight 600\nfullscreen on\n", "height 700\nfullscreen on\n",
          "width 1024\nheight 700\nwidth junk\nfullscreen on\n"}) {
        SCOPED_TRACE(text);
        const auto read = parseRememberedWindow(text);
        EXPECT_EQ(read.width, defaults.width);
        EXPECT_EQ(read.height, defaults.height);
        EXPECT_TRUE(read.fullscreen);
    }
}

TEST(RememberedWindowText, GarbageGivesTheDefaults) {
    EXPECT_EQ(
        parseRememberedWindow(std::string("\x00\xff\x7f garbage\nfullscreen yes\nsound 0", 30)),
        defaults);
    EXPECT_EQ(parseRememberedWindow(""), defaults);
}

TEST(RememberedWindowText, SizeLargerThanTheScreenFallsBackToTheDefault) {
    const RememberedWindow big{2560, 1440, true, false};
    EXPECT_EQ(fittedToScreen(big, 2560, 1440), big);
    EXPECT_EQ(fittedToScreen(big, 1920, 1440), (RememberedWindow{800, 600, true, false}));
    EXPECT_EQ(fittedToScreen(big, 2560, 1080), (RememberedWindow{800, 600, true, false}));
}

class RememberedWindowFile : public ScratchSettingsTree {
protected:
    std::filesystem::path file() const { return home / ".config" / "veltmark" / "window.conf"; }
};

TEST_F(RememberedWindowFile, MissingFileGivesTheDefaults) {
    EXPECT_EQ(loadRememberedWindow(), defaults);
    unsetenv("HOME");
    EXPECT_EQ(loadRememberedWindow(), defaults);
    EXPECT_FALSE(updateRememberedWindow([](RememberedWindow&) {}));
}

TEST_F(RememberedWindowFile, UpdatesKeepTheOtherFields) {
    ASSERT_TRUE(updateRememberedWindow([](RememberedWindow& r) { r.soundOn = false; }));
    ASSERT_TRUE(updateRememberedWindow([](RememberedWindow& r) {
        r.width = 1280;
        r.height = 720;
    }));
    EXPECT_EQ(loadRememberedWindow(), (RememberedWindow{1280, 720, false, false}));
    setenv("XDG_CONFIG_HOME", (root / "elsewhere").c_str(), 1);
    EXPECT_EQ(loadRememberedWindow(), defaults);
    ASSERT_TRUE(updateRememberedWindow([](RememberedWindow& r) { r.fullscreen = true; }));
    EXPECT_TRUE(std::filesystem::exists(root / "elsewhere" / "veltmark" / "window.conf"));
}

TEST_F(RememberedWindowFile, FailedWriteLeavesTheFileAsItWas) {
    ASSERT_TRUE(updateRememberedWindow([](RememberedWindow& r) { r.width = 1024; }));
    const auto before = readFile(file());
    const int result = underFileSizeLimit(10, [] {
        return updateRememberedWindow([](RememberedWindow& r) { r.soundOn = false; }) ? 1 : 0;
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(readFile(file()), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(file().parent_path()),
                            std::filesystem::directory_iterator()),
              1);
}

} // namespace
