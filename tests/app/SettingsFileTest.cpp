#include "SettingsFile.h"
#include "FileSizeLimit.h"
#include "ScratchSettingsTree.h"
#include "Settings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<uint8_t>;

void writeFile(const fs::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

Bytes imageBytes(const Settings& record, std::size_t size = settingsFileSize) {
    const SettingsImage image = encodeSettings(record);
    return Bytes(image.begin(), image.begin() + static_cast<std::ptrdiff_t>(size));
}

// A valid record in which every field differs from its default, reserved bytes included.
Settings sampleSettings() {
    Settings s = defaultSettings();
    s.whitePlayer = 1;
    s.blackPlayer = 0;
    s.maxDepth = 12;
    s.timePerMove = 3.5;
    s.useSee = 0;
    s.threadCount = 2;
    s.reflectivity = 0.5;
    s.announceGameEnd = 0;
    const uint8_t white[4] = {1, 2, 3, 4}, black[4] = {5, 6, 7, 8};
    std::memcpy(s.whiteColor, white, 4);
    std::memcpy(s.blackColor, black, 4);
    s.knightsFace = 1;
    std::memset(s.reserved9, 0x99, sizeof s.reserved9);
    std::memset(s.reserved26, 0x26, sizeof s.reserved26);
    std::memset(s.reserved49, 0x49, sizeof s.reserved49);
    return s;
}

// What a short file loads as: its bytes over the defaults, then the fields that the older
// layout lacked at their defaults. The reserved bytes before them are kept as read.
Settings loadedFromShortFile(const Bytes& stored) {
    SettingsImage image = encodeSettings(defaultSettings());
    std::copy(stored.begin(), stored.end(), image.begin());
    Settings expected = decodeSettings(image);
    const Settings defaults = defaultSettings();
    std::memcpy(expected.whiteColor, defaults.whiteColor, 4);
    std::memcpy(expected.blackColor, defaults.blackColor, 4);
    expected.knightsFace = defaults.knightsFace;
    return expected;
}

// The older-layout fields of `older`, with the rest as on a fresh start.
Settings takenOver(const Settings& older) {
    return loadedFromShortFile(imageBytes(older, olderSettingsFileSize));
}

std::string cannotOpen(const std::string& path) {
    return "Failed to open the settings file for writing.\nYour settings can't be saved. Please "
           "ensure that the file\n" +
           path + "\nexists and is writable.";
}

const std::string cannotCreate = "Failed to create a directory for storing settings.\nYour "
                                 "settings can't be saved.\nPlease ensure that the directory\n";

std::string cannotRemove(const fs::path& folder) {
    return "Failed the delete the old settings directory.\nPlease delete the directory\n" +
           folder.string() + " manually.\n";
}

// Every regular file below the folder, so that a test can tell that nothing else was left.
std::vector<fs::path> filesBelow(const fs::path& folder) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            files.push_back(entry.path());
        }
    }
    return files;
}

TEST(SettingsLayout, DefaultsEncodeToTheDocumentedBytes) {
    const Bytes expected = {0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, // players
                            0x64, 0,    0,    0,    0,    0,    0,    0,    // depth 100, reserved
                            0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x2E, 0x40, // 15.0
                            0x01, 0x04, 0,    0,    0,    0,    0,    0, // SEE, threads, reserved
                            0x9A, 0x99, 0x99, 0x99, 0x99, 0x99, 0xB9, 0x3F, // 0.1
                            0x01, 0xC0, 0xC0, 0xC0, 0xFF, 0x40, 0x20, 0x10,
                            0xFF, 0,    0,    0,     // announce, colours
                            0x00, 0x00, 0x00, 0x00}; // knights
    EXPECT_EQ(imageBytes(defaultSettings()), expected);
}

TEST(SettingsLayout, FieldsSitAtTheirOffsetsLittleEndian) {
    Settings s = sampleSettings();
    s.whitePlayer = 0x01020304;
    s.knightsFace = -2;
    s.timePerMove = 2.5; // 0x4004000000000000
    const SettingsImage image = encodeSettings(s);
    EXPECT_EQ(Bytes(image.begin(), image.begin() + 4), (Bytes{4, 3, 2, 1}));
    EXPECT_EQ(image[8], 12);
    EXPECT_EQ(image[9], 0x99);
    EXPECT_EQ(image[15], 0x99);
    EXPECT_EQ(image[22], 0x04);
    EXPECT_EQ(image[23], 0x40);
    EXPECT_EQ(image[25], 2);
    EXPECT_EQ(image[31], 0x26);
    EXPECT_EQ(image[39], 0x3F); // 0.5
    EXPECT_EQ(Bytes(image.begin() + 41, image.begin() + 52),
              (Bytes{1, 2, 3, 4, 5, 6, 7, 8, 0x49, 0x49, 0x49}));
    EXPECT_EQ(Bytes(image.begin() + 52, image.end()), (Bytes{0xFE, 0xFF, 0xFF, 0xFF}));
}

TEST(SettingsLayout, AnyRecordSurvivesEncodingAndDecoding) {
    std::mt19937_64 random(5);
    for (int i = 0; i < 500; ++i) {
        SettingsImage image;
        for (auto& byte : image) {
            byte = static_cast<uint8_t>(random());
        }
        EXPECT_EQ(encodeSettings(decodeSettings(image)), image);
    }
}

TEST(SettingsLayout, PathsAreJoinedWithOneSlash) {
    EXPECT_EQ(joinPath("/home/u", ".config"), "/home/u/.config");
    EXPECT_EQ(joinPath("/home/u/", ".config"), "/home/u/.config");
    EXPECT_EQ(joinPath("D:\\u", "Veltmark"), "D:\\u/Veltmark");
}

using SettingsFileTest = ScratchSettingsTree;

TEST_F(SettingsFileTest, FirstRunWritesTheDefaultsIntoTheWorkingDirectory) {
    loadSettings();
    EXPECT_EQ(readFile(work / "settings.dat"), imageBytes(defaultSettings()));
    EXPECT_FALSE(settingsInHomeDirectory);
    EXPECT_TRUE(fs::is_empty(home));
    EXPECT_TRUE(warnings().empty());
}

TEST_F(SettingsFileTest, ShortFilesAreTakenOverAndCompletedWhereTheyLie) {
    const struct {
        const char* what;
        fs::path file;
        std::size_t size;
        bool inHomeDirectory;
        fs::path rewritten;
    } cases[] = {
        {"an older file", work / "settings.dat", olderSettingsFileSize, false,
         work / "settings.dat"},
        {"one reaching into the new fields", work / "settings.dat", 54, false,
         work / "settings.dat"},
        {"an empty file", work / "settings.dat", 0, false, work / "settings.dat"},
        {"the older folder's", home / ".veltmark" / "settings.dat", olderSettingsFileSize, true,
         homeConfigFile()},
        {"one in the configuration directory", homeConfigFile(), 30, true, homeConfigFile()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        resetState();
        fs::remove_all(home);
        fs::remove(work / "settings.dat");
        fs::create_directories(home);
        fs::create_directories(c.file.parent_path());
        // The bytes after the old colours are reserved there: they must not be taken for colours.
        Bytes stored = imageBytes(sampleSettings(), c.size);
        std::fill(stored.begin() + std::min<std::ptrdiff_t>(41, std::ssize(stored)), stored.end(),
                  0xAA);
        writeFile(c.file, stored);
        settingsInHomeDirectory = c.inHomeDirectory;
        loadSettings();
        EXPECT_EQ(imageBytes(settings), imageBytes(loadedFromShortFile(stored)));
        EXPECT_EQ(readFile(c.rewritten), imageBytes(settings));
        // The older folder is gone, and with it the file that was taken over.
        EXPECT_EQ(filesBelow(root), std::vector<fs::path>{c.rewritten});
        EXPECT_FALSE(fs::exists(home / ".veltmark"));
        if (!c.inHomeDirectory) {
            EXPECT_TRUE(fs::is_empty(home));
        }
        EXPECT_TRUE(warnings().empty());
    }
}

TEST_F(SettingsFileTest, SavedRecordsLoadBackEqualAndLongerFilesKeepTheirTail) {
    Bytes stored = imageBytes(sampleSettings());
    const Bytes tail = {0xDE, 0xAD, 0xBE, 0xEF};
    stored.insert(stored.end(), tail.begin(), tail.end());
    writeFile("settings.dat", stored);
    loadSettings();
    EXPECT_EQ(imageBytes(settings), imageBytes(sampleSettings()));
    EXPECT_EQ(readFile("settings.dat"), stored);

    std::mt19937 random(7);
    for (int i = 0; i < 20; ++i) {
        Settings record = sampleSettings();
        record.whitePlayer = static_cast<int32_t>(random() % 2);
        record.maxDepth = static_cast<uint8_t>(1 + random() % 100);
        record.timePerMove = 1.0 + (random() % 999000) / 1000.0;
        record.threadCount = static_cast<uint8_t>(1 + random() % 64);
        record.reflectivity = (random() % 1001) / 1000.0;
        record.whiteColor[1] = static_cast<uint8_t>(random());
        record.knightsFace = static_cast<int32_t>(random() % 2);
        settings = record;
        saveSettings();
        closeSettingsFile();
        settings = defaultSettings();
        loadSettings();
        EXPECT_EQ(imageBytes(settings), imageBytes(record));
        Bytes expected = imageBytes(record);
        expected.insert(expected.end(), tail.begin(), tail.end());
        EXPECT_EQ(readFile("settings.dat"), expected);
    }
    EXPECT_TRUE(warnings().empty());
}

// APPDATA before XDG_CONFIG_HOME before HOME; an empty one counts as unset, since it would
// point at the file system root. Nothing is left in the older folder's place.
TEST_F(SettingsFileTest, HomeDirectoryModeWritesWhereTheEnvironmentPoints) {
    const struct {
        const char* appData;
        const char* xdg;
        const char* home;
        const char* base;
        const char* file;
    } cases[] = {
        {nullptr, nullptr, "home", "home/.config", "home/.config/veltmark/settings.dat"},
        {nullptr, nullptr, "home/", "home/.config", "home/.config/veltmark/settings.dat"},
        {"", "", "home", "home/.config", "home/.config/veltmark/settings.dat"},
        {nullptr, "xdg", "home", "xdg", "xdg/veltmark/settings.dat"},
        {"", "xdg", "home", "xdg", "xdg/veltmark/settings.dat"},
        {"appdata", "xdg", "home", "appdata", "appdata/Veltmark/settings.dat"},
    };
    auto put = [&](const char* name, const char* value) {
        if (value == nullptr) {
            unsetenv(name);
        } else {
            setenv(name, *value == '\0' ? "" : (root.string() + "/" + value).c_str(), 1);
        }
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        resetState();
        for (const char* folder : {"home", "xdg", "appdata"}) {
            fs::remove_all(root / folder);
        }
        fs::create_directories(home);
        fs::create_directories(root / "appdata");
        put("APPDATA", c.appData);
        put("XDG_CONFIG_HOME", c.xdg);
        put("HOME", c.home);
        EXPECT_EQ(configurationDirectory().value_or(ConfigurationDirectory{}).base,
                  (root / c.base).string());
        settingsInHomeDirectory = true;
        loadSettings();
        EXPECT_EQ(settingsFilePath(), (root / c.file).string());
        EXPECT_EQ(readFile(root / c.file), imageBytes(defaultSettings()));
        EXPECT_EQ(filesBelow(root), std::vector<fs::path>{root / c.file});
        EXPECT_FALSE(fs::exists(home / ".veltmark"));
        if (!std::string_view(c.file).starts_with("home")) {
            EXPECT_TRUE(fs::is_empty(home));
        }
        EXPECT_TRUE(warnings().empty());
    }
}

TEST_F(SettingsFileTest, AHomeThatDoesNotExistYetGetsTheFileWithoutAWarning) {
    // A fresh account, or HOME pointed at a new folder: nothing to take over, nothing failed.
    const fs::path newHome = root / "new" / "home";
    setenv("HOME", newHome.c_str(), 1);
    settingsInHomeDirectory = true;
    loadSettings();
    const fs::path file = newHome / ".config" / "veltmark" / "settings.dat";
    EXPECT_EQ(readFile(file), imageBytes(defaultSettings()));
    EXPECT_TRUE(warnings().empty()) << warnings().front();
    settings.threadCount = 3;
    saveSettings();
    EXPECT_EQ(readFile(file), imageBytes(settings));
    EXPECT_TRUE(warnings().empty());
    EXPECT_EQ(filesBelow(newHome), std::vector<fs::path>{file});
    EXPECT_FALSE(fs::exists(newHome / ".veltmark"));
}

TEST_F(SettingsFileTest, OlderFolderWithOtherFilesStaysWithAWarning) {
    fs::create_directories(home / ".veltmark");
    writeFile(home / ".veltmark" / "settings.dat",
              imageBytes(sampleSettings(), olderSettingsFileSize));
    writeFile(home / ".veltmark" / "notes.txt", {'x'});
    settingsInHomeDirectory = true;
    loadSettings();
    EXPECT_EQ(warnings(), std::vector<std::string>{cannotRemove(home / ".veltmark")});
    EXPECT_TRUE(fs::exists(home / ".veltmark" / "notes.txt"));
    EXPECT_EQ(readFile(homeConfigFile()), imageBytes(takenOver(sampleSettings())));
}

TEST_F(SettingsFileTest, UnwritableWorkingDirectoryFallsBackSilently) {
    // Root may write anywhere, so the working directory is made unusable in two other ways: a
    // directory stands where the file belongs, and the working directory no longer exists.
    fs::create_directory(work / "settings.dat");
    loadSettings();
    EXPECT_TRUE(settingsInHomeDirectory);
    EXPECT_EQ(readFile(homeConfigFile()), imageBytes(defaultSettings()));

    resetState();
    fs::remove_all(home / ".config");
    fs::create_directory(root / "gone");
    fs::current_path(root / "gone");
    fs::remove(root / "gone");
    loadSettings();
    EXPECT_TRUE(settingsInHomeDirectory);
    EXPECT_EQ(readFile(homeConfigFile()), imageBytes(defaultSettings()));
    EXPECT_TRUE(warnings().empty());
}

TEST_F(SettingsFileTest, ConfigurationFileThatCannotBeOpenedIsReported) {
    fs::create_directories(homeConfigFile()); // a directory in the file's place
    settingsInHomeDirectory = true;
    loadSettings();
    EXPECT_EQ(warnings(), std::vector<std::string>{cannotOpen(homeConfigFile().string())});
    settings.threadCount = 9;
    saveSettings(); // nothing is open: must neither write nor fail
    EXPECT_EQ(settingsFilePath(), "");
    EXPECT_TRUE(fs::is_directory(homeConfigFile()));
}

TEST_F(SettingsFileTest, DirectoryThatCannotBeCreatedIsReportedOnceAndKeepsTheOlderFile) {
    writeFile(home / ".config", {'x'}); // a regular file where a directory must go
    const Bytes older = imageBytes(sampleSettings(), olderSettingsFileSize);
    fs::create_directories(home / ".veltmark");
    writeFile(home / ".veltmark" / "settings.dat", older);
    settingsInHomeDirectory = true;
    loadSettings();
    EXPECT_EQ(warnings(), std::vector<std::string>{cannotCreate + home.string() +
                                                   "/.config\nexists and is writable."});
    EXPECT_EQ(imageBytes(settings), imageBytes(takenOver(sampleSettings())));
    // Nothing holds the taken-over values on disk yet, so the older file must still be there.
    EXPECT_EQ(readFile(home / ".veltmark" / "settings.dat"), older);
}

TEST_F(SettingsFileTest, OlderLocationProblemsAreReportedOnlyWhenTheyKeepSomethingBack) {
    // A HOME that cannot hold an older folder holds no older settings either, and the file is
    // written elsewhere.
    const std::string blocker = (root / "blocker").string();
    writeFile(blocker, {'x'});
    setenv("HOME", blocker.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (root / "xdg").c_str(), 1);
    settingsInHomeDirectory = true;
    loadSettings();
    EXPECT_TRUE(warnings().empty());
    EXPECT_EQ(readFile(root / "xdg" / "veltmark" / "settings.dat"), imageBytes(defaultSettings()));

    resetState();
    setenv("APPDATA", blocker.c_str(), 1);
    settingsInHomeDirectory = true;
    loadSettings();
    EXPECT_EQ(warnings(),
              std::vector<std::string>{cannotCreate + blocker + "\nexists and is writable."});
    EXPECT_EQ(settingsFilePath(), "");

    resetState();
    unsetenv("APPDATA");
    unsetenv("XDG_CONFIG_HOME");
    setenv("HOME", home.c_str(), 1);
    fs::create_directories(home / ".veltmark" / "settings.dat");
    settingsInHomeDirectory = true;
    loadSettings();
    EXPECT_EQ(warnings(),
              (std::vector<std::string>{cannotOpen(home.string() + "/.veltmark/settings.dat"),
                                        cannotRemove(home / ".veltmark")}));
    EXPECT_TRUE(fs::is_directory(home / ".veltmark" / "settings.dat"));
    EXPECT_EQ(readFile(homeConfigFile()), imageBytes(defaultSettings()));
}

TEST_F(SettingsFileTest, NoUsableConfigurationDirectoryKeepsTheDefaults) {
    unsetenv("HOME");
    EXPECT_FALSE(configurationDirectory().has_value());
    settingsInHomeDirectory = true;
    loadSettings();
    ASSERT_EQ(warnings().size(), 1u);
    EXPECT_NE(warnings()[0].find("Your settings can't be saved."), std::string::npos);
    EXPECT_EQ(imageBytes(settings), imageBytes(defaultSettings()));
    EXPECT_EQ(settingsFilePath(), "");
    EXPECT_TRUE(fs::is_empty(work));
}

// One field of a stored record spoiled, and how it must come back.
struct Spoiled {
    std::function<void(Settings&)> spoil, repair;
    std::string name;
};

template <typename T>
Spoiled spoiled(T Settings::*field, std::type_identity_t<T> value, std::string name) {
    return {[=](Settings& s) { s.*field = value; },
            [=](Settings& s) { s.*field = defaultSettings().*field; }, std::move(name)};
}

TEST_F(SettingsFileTest, MeaninglessValuesAreReplacedByDefaultsAndNamed) {
    const std::vector<std::vector<Spoiled>> cases = {
        {spoiled(&Settings::whitePlayer, 7, "white player")},
        {spoiled(&Settings::blackPlayer, -1, "black player")},
        {spoiled(&Settings::maxDepth, 0, "search depth limit")},
        {spoiled(&Settings::maxDepth, 101, "search depth limit")},
        {spoiled(&Settings::timePerMove, -1.0, "thinking time")},
        {spoiled(&Settings::timePerMove, std::nan(""), "thinking time")},
        {spoiled(&Settings::timePerMove, 1e300, "thinking time")},
        {spoiled(&Settings::useSee, 2, "static exchange evaluation")},
        {spoiled(&Settings::reflectivity, 1.5, "reflectivity")},
        {spoiled(&Settings::announceGameEnd, 9, "game end announcement")},
        {spoiled(&Settings::knightsFace, 2, "knights facing")},
        {spoiled(&Settings::threadCount, 0, "number of threads"),
         spoiled(&Settings::reflectivity, -0.1, "reflectivity")},
    };
    for (const auto& fields : cases) {
        resetState();
        Settings stored = sampleSettings();
        Settings expected = stored;
        std::string names;
        for (const Spoiled& field : fields) {
            field.spoil(stored);
            field.repair(expected);
            names += (names.empty() ? "" : ", ") + field.name;
        }
        SCOPED_TRACE(names);
        writeFile("settings.dat", imageBytes(stored));
        loadSettings();
        EXPECT_EQ(imageBytes(settings), imageBytes(expected));
        EXPECT_EQ(readFile("settings.dat"), imageBytes(expected));
        EXPECT_EQ(warnings(),
                  std::vector<std::string>{"The settings file held invalid values for: " + names +
                                           ".\nThese settings were reset to their "
                                           "defaults."});
    }

    // The extremes that the settings dialog itself allows are kept.
    for (auto [depth, threads, time, reflectivity] :
         {std::tuple{1, 1, 1000.0, 0.0}, {100, 64, 0.25, 1.0}}) {
        resetState();
        Settings stored = sampleSettings();
        stored.maxDepth = static_cast<uint8_t>(depth);
        stored.threadCount = static_cast<uint8_t>(threads);
        stored.timePerMove = time;
        stored.reflectivity = reflectivity;
        writeFile("settings.dat", imageBytes(stored));
        loadSettings();
        EXPECT_EQ(imageBytes(settings), imageBytes(stored));
        EXPECT_TRUE(warnings().empty());
    }
}

TEST_F(SettingsFileTest, FailingWritesAreReportedAndDoNotEndTheProgram) {
    if (!fs::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full to fail the writes";
    }
    // Reads give zeros and every write fails, like a full disk.
    fs::create_symlink("/dev/full", work / "settings.dat");
    loadSettings();
    const std::string failed = "Failed to save the settings.\nPlease ensure that the file\n" +
                               (work / "settings.dat").string() + "\nis writable.";
    ASSERT_EQ(warnings().size(), 2u);
    EXPECT_EQ(warnings()[1], failed);
    saveSettings();
    ASSERT_EQ(warnings().size(), 3u);
    EXPECT_EQ(warnings()[2], failed);
}

TEST_F(SettingsFileTest, ARecordThatCannotBeWrittenWholeLeavesTheFileAsItWas) {
    // The older layout is completed to 56 bytes on load; only two more fit.
    const Bytes older = imageBytes(sampleSettings(), olderSettingsFileSize);
    writeFile("settings.dat", older);
    const std::string failed = "Failed to save the settings.\nPlease ensure that the file\n" +
                               (work / "settings.dat").string() + "\nis writable.";
    EXPECT_EQ(underFileSizeLimit(olderSettingsFileSize + 2,
                                 [&] {
                                     loadSettings();
                                     return warnings() == std::vector<std::string>{failed} ? 0 : 1;
                                 }),
              0);
    EXPECT_EQ(readFile("settings.dat"), older);

    loadSettings();
    EXPECT_EQ(readFile("settings.dat"), imageBytes(takenOver(sampleSettings())));
    EXPECT_TRUE(warnings().empty());
}

} // namespace
