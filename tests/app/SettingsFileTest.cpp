#include "SettingsFile.h"
#include "RecordingUserInterface.h"
#include "Settings.h"

#include <gtest/gtest.h>

#include <bit>
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
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<uint8_t>;

Bytes readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

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

void expectSameRecord(const Settings& actual, const Settings& expected) {
    EXPECT_EQ(actual.whitePlayer, expected.whitePlayer);
    EXPECT_EQ(actual.blackPlayer, expected.blackPlayer);
    EXPECT_EQ(actual.maxDepth, expected.maxDepth);
    EXPECT_EQ(0, std::memcmp(actual.reserved9, expected.reserved9, sizeof actual.reserved9));
    EXPECT_EQ(std::bit_cast<uint64_t>(actual.timePerMove),
              std::bit_cast<uint64_t>(expected.timePerMove));
    EXPECT_EQ(actual.useSee, expected.useSee);
    EXPECT_EQ(actual.threadCount, expected.threadCount);
    EXPECT_EQ(0, std::memcmp(actual.reserved26, expected.reserved26, sizeof actual.reserved26));
    EXPECT_EQ(std::bit_cast<uint64_t>(actual.reflectivity),
              std::bit_cast<uint64_t>(expected.reflectivity));
    EXPECT_EQ(actual.announceGameEnd, expected.announceGameEnd);
    EXPECT_EQ(0, std::memcmp(actual.whiteColor, expected.whiteColor, 4));
    EXPECT_EQ(0, std::memcmp(actual.blackColor, expected.blackColor, 4));
    EXPECT_EQ(0, std::memcmp(actual.reserved49, expected.reserved49, sizeof actual.reserved49));
    EXPECT_EQ(actual.knightsFace, expected.knightsFace);
}

// The older-layout fields of `older`, with the rest as on a fresh start.
Settings takenOver(const Settings& older) {
    Settings expected = older;
    const Settings defaults = defaultSettings();
    std::memcpy(expected.whiteColor, defaults.whiteColor, 4);
    std::memcpy(expected.blackColor, defaults.blackColor, 4);
    std::memcpy(expected.reserved49, defaults.reserved49, sizeof expected.reserved49);
    expected.knightsFace = 0;
    return expected;
}

std::string cannotOpen(const std::string& path) {
    return "Failed to open the settings file for writing.\nYour settings can't be saved. Please "
           "ensure that the file\n" +
           path + "\nexists and is writable.";
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
        const Settings record = decodeSettings(image);
        EXPECT_EQ(encodeSettings(record), image);
        expectSameRecord(decodeSettings(encodeSettings(record)), record);
    }
}

TEST(SettingsLayout, PathsAreJoinedWithOneSlash) {
    EXPECT_EQ(joinPath("/home/u", ".config"), "/home/u/.config");
    EXPECT_EQ(joinPath("/home/u/", ".config"), "/home/u/.config");
    EXPECT_EQ(joinPath("D:\\u", "Veltmark"), "D:\\u/Veltmark");
}

// Each test runs in a fresh temporary tree: "work" is the working directory and "home" is HOME,
// so neither the real home directory nor the repository is touched.
class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedDirectory = fs::current_path();
        for (const char* name : variables) {
            const char* value = std::getenv(name);
            savedVariables.push_back(value ? std::optional<std::string>(value) : std::nullopt);
            unsetenv(name);
        }
        std::string pattern = (fs::temp_directory_path() / "veltmark-settings-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        root = pattern;
        work = root / "work";
        home = root / "home";
        fs::create_directories(work);
        fs::create_directories(home);
        fs::current_path(work);
        setenv("HOME", home.c_str(), 1);
        resetState();
    }

    void TearDown() override {
        resetState();
        fs::current_path(savedDirectory);
        for (std::size_t i = 0; i < std::size(variables); ++i) {
            if (savedVariables[i]) {
                setenv(variables[i], savedVariables[i]->c_str(), 1);
            } else {
                unsetenv(variables[i]);
            }
        }
        fs::remove_all(root);
    }

    void resetState() {
        closeSettingsFile();
        settings = defaultSettings();
        settingsInHomeDirectory = false;
        settingsWarningAllowed = true;
        recorder.ui.warnings.clear();
    }

    std::vector<std::string>& warnings() { return recorder.ui.warnings; }
    fs::path homeConfigFile() const { return home / ".config" / "veltmark" / "settings.dat"; }

    static constexpr const char* variables[] = {"APPDATA", "XDG_CONFIG_HOME", "HOME"};
    std::vector<std::optional<std::string>> savedVariables;
    fs::path savedDirectory, root, work, home;
    ScopedRecordingUserInterface recorder;
};

TEST_F(SettingsFileTest, FirstRunWritesTheDefaultsIntoTheWorkingDirectory) {
    loadSettings();
    const Bytes bytes = readFile(work / "settings.dat");
    ASSERT_EQ(bytes.size(), 56u);
    EXPECT_EQ(bytes, imageBytes(defaultSettings()));
    for (auto [from, to] : {std::pair{9, 16}, {26, 32}, {49, 52}}) {
        for (int i = from; i < to; ++i) {
            EXPECT_EQ(bytes[i], 0) << "offset " << i;
        }
    }
    EXPECT_FALSE(settingsInHomeDirectory);
    EXPECT_TRUE(fs::is_empty(home));
    EXPECT_TRUE(warnings().empty());
}

TEST_F(SettingsFileTest, ShortFilesAreTakenOverAndCompleted) {
    // An older 48-byte file, whose reserved tail must not be mistaken for colours.
    Bytes older = imageBytes(sampleSettings(), olderSettingsFileSize);
    std::fill(older.begin() + 41, older.end(), 0xAA);
    writeFile("settings.dat", older);
    loadSettings();
    expectSameRecord(settings, takenOver(sampleSettings()));
    EXPECT_EQ(readFile("settings.dat"), imageBytes(settings));

    // Any short file counts as the older layout, even one that reaches into the new fields.
    resetState();
    writeFile("settings.dat", imageBytes(sampleSettings(), 54));
    loadSettings();
    Settings expected = takenOver(sampleSettings());
    std::memcpy(expected.reserved49, sampleSettings().reserved49, sizeof expected.reserved49);
    expectSameRecord(settings, expected);

    resetState();
    writeFile("settings.dat", {});
    loadSettings();
    expectSameRecord(settings, defaultSettings());
    EXPECT_EQ(readFile("settings.dat"), imageBytes(defaultSettings()));
    EXPECT_TRUE(fs::is_empty(home));
    EXPECT_TRUE(warnings().empty());
}

TEST_F(SettingsFileTest, SavedRecordsLoadBackEqualAndLongerFilesKeepTheirTail) {
    Bytes stored = imageBytes(sampleSettings());
    const Bytes tail = {0xDE, 0xAD, 0xBE, 0xEF};
    stored.insert(stored.end(), tail.begin(), tail.end());
    writeFile("settings.dat", stored);
    loadSettings();
    expectSameRecord(settings, sampleSettings());
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
        expectSameRecord(settings, record);
        const Bytes bytes = readFile("settings.dat");
        EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 56), imageBytes(record));
        EXPECT_EQ(Bytes(bytes.begin() + 56, bytes.end()), tail);
    }
    EXPECT_TRUE(warnings().empty());
}

TEST_F(SettingsFileTest, ConfigurationDirectoryFollowsTheEnvironment) {
    auto directory = [] { return configurationDirectory().value_or(ConfigurationDirectory{}); };
    setenv("HOME", "/home/u", 1);
    EXPECT_EQ(directory().directory, "/home/u/.config/veltmark");
    setenv("HOME", "/home/u/", 1);
    setenv("XDG_CONFIG_HOME", "", 1);
    EXPECT_EQ(directory().base, "/home/u/.config");
    EXPECT_EQ(directory().directory, "/home/u/.config/veltmark");
    setenv("XDG_CONFIG_HOME", "/x", 1);
    setenv("APPDATA", "", 1); // empty would point at the file system root
    EXPECT_EQ(directory().directory, "/x/veltmark");
    setenv("APPDATA", "D:\\u", 1);
    EXPECT_EQ(directory().base, "D:\\u");
    EXPECT_EQ(directory().directory, "D:\\u/Veltmark");
    unsetenv("APPDATA");
    unsetenv("XDG_CONFIG_HOME");
    unsetenv("HOME");
    EXPECT_FALSE(configurationDirectory().has_value());
}

TEST_F(SettingsFileTest, HomeDirectoryModeCreatesTheFileUnderDotConfig) {
    for (const std::string suffix : {"", "/"}) {
        resetState();
        fs::remove_all(home / ".config");
        setenv("HOME", (home.string() + suffix).c_str(), 1);
        settingsInHomeDirectory = true;
        loadSettings();
        EXPECT_EQ(settingsFilePath(), home.string() + "/.config/veltmark/settings.dat");
        EXPECT_EQ(readFile(homeConfigFile()), imageBytes(defaultSettings()));
        // The older folder is made by the migration's look for an older file, then removed.
        EXPECT_FALSE(fs::exists(home / ".veltmark"));
        EXPECT_FALSE(fs::exists(work / "settings.dat"));
        EXPECT_TRUE(warnings().empty());
    }
}

TEST_F(SettingsFileTest, XdgConfigHomeAndAppDataChooseTheDirectory) {
    setenv("XDG_CONFIG_HOME", (root / "xdg").c_str(), 1);
    settingsInHomeDirectory = true;
    loadSettings();
    EXPECT_EQ(readFile(root / "xdg" / "veltmark" / "settings.dat"), imageBytes(defaultSettings()));
    EXPECT_TRUE(fs::is_empty(home));

    resetState();
    fs::create_directories(root / "appdata");
    setenv("APPDATA", (root / "appdata").c_str(), 1);
    settingsInHomeDirectory = true;
    loadSettings();
    EXPECT_EQ(settingsFilePath(), (root / "appdata" / "Veltmark" / "settings.dat").string());
    EXPECT_EQ(readFile(settingsFilePath()), imageBytes(defaultSettings()));
    EXPECT_TRUE(fs::is_empty(home));
    EXPECT_TRUE(warnings().empty());
}

TEST_F(SettingsFileTest, OlderFolderUnderHomeIsTakenOverAndRemoved) {
    fs::create_directories(home / ".veltmark");
    writeFile(home / ".veltmark" / "settings.dat",
              imageBytes(sampleSettings(), olderSettingsFileSize));
    settingsInHomeDirectory = true;
    loadSettings();
    expectSameRecord(settings, takenOver(sampleSettings()));
    EXPECT_EQ(readFile(homeConfigFile()), imageBytes(settings));
    EXPECT_FALSE(fs::exists(home / ".veltmark"));
    EXPECT_TRUE(warnings().empty());

    // A short file in an existing configuration directory goes the same way.
    resetState();
    writeFile(homeConfigFile(), imageBytes(sampleSettings(), 30));
    settingsInHomeDirectory = true;
    loadSettings();
    EXPECT_EQ(settings.threadCount, sampleSettings().threadCount);
    EXPECT_EQ(readFile(homeConfigFile()), imageBytes(settings));
    EXPECT_FALSE(fs::exists(home / ".veltmark"));
    EXPECT_TRUE(warnings().empty());
}

TEST_F(SettingsFileTest, OlderFolderWithOtherFilesStaysWithAWarning) {
    fs::create_directories(home / ".veltmark");
    writeFile(home / ".veltmark" / "settings.dat",
              imageBytes(sampleSettings(), olderSettingsFileSize));
    writeFile(home / ".veltmark" / "notes.txt", {'x'});
    settingsInHomeDirectory = true;
    loadSettings();
    EXPECT_EQ(warnings(), std::vector<std::string>{
                              "Failed the delete the old settings directory.\nPlease delete the "
                              "directory\n" +
                              home.string() + "/.veltmark manually.\n"});
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
    EXPECT_EQ(warnings(), std::vector<std::string>{
                              "Failed to create a directory for storing settings.\nYour settings "
                              "can't be saved.\nPlease ensure that the directory\n" +
                              home.string() + "/.config\nexists and is writable."});
    expectSameRecord(settings, takenOver(sampleSettings()));
    // Nothing holds the taken-over values on disk yet, so the older file must still be there.
    EXPECT_EQ(readFile(home / ".veltmark" / "settings.dat"), older);
}

TEST_F(SettingsFileTest, OlderLocationProblemsAreReported) {
    const std::string blocker = (root / "blocker").string();
    writeFile(blocker, {'x'});
    setenv("HOME", blocker.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (root / "xdg").c_str(), 1);
    settingsInHomeDirectory = true;
    loadSettings();
    const std::string cannotCreate = "Failed to create a directory for storing settings.\nYour "
                                     "settings can't be saved.\nPlease ensure that the directory\n";
    EXPECT_EQ(warnings(), std::vector<std::string>{cannotCreate + blocker + " is writable."});
    EXPECT_EQ(readFile(root / "xdg" / "veltmark" / "settings.dat"), imageBytes(defaultSettings()));

    resetState();
    setenv("APPDATA", blocker.c_str(), 1);
    settingsInHomeDirectory = true;
    loadSettings();
    EXPECT_EQ(warnings(), std::vector<std::string>{cannotCreate + blocker + " is writable."});

    resetState();
    unsetenv("APPDATA");
    unsetenv("XDG_CONFIG_HOME");
    setenv("HOME", home.c_str(), 1);
    fs::create_directories(home / ".veltmark" / "settings.dat");
    settingsInHomeDirectory = true;
    loadSettings();
    EXPECT_EQ(warnings(),
              (std::vector<std::string>{
                  cannotOpen(home.string() + "/.veltmark/settings.dat"),
                  "Failed the delete the old settings directory.\nPlease delete the directory\n" +
                      home.string() + "/.veltmark manually.\n"}));
    EXPECT_TRUE(fs::is_directory(home / ".veltmark" / "settings.dat"));
    EXPECT_EQ(readFile(homeConfigFile()), imageBytes(defaultSettings()));
}

TEST_F(SettingsFileTest, NoUsableConfigurationDirectoryKeepsTheDefaults) {
    unsetenv("HOME");
    settingsInHomeDirectory = true;
    loadSettings();
    ASSERT_EQ(warnings().size(), 1u);
    EXPECT_NE(warnings()[0].find("Your settings can't be saved."), std::string::npos);
    expectSameRecord(settings, defaultSettings());
    EXPECT_EQ(settingsFilePath(), "");
    EXPECT_TRUE(fs::is_empty(work));
}

TEST_F(SettingsFileTest, MeaninglessValuesAreReplacedByDefaultsAndNamed) {
    const Settings defaults = defaultSettings();
    struct Case {
        std::function<void(Settings&)> spoil;
        std::string names;
        std::function<void(Settings&)> repair;
    };
    const std::vector<Case> cases = {
        {[](Settings& s) { s.whitePlayer = 7; }, "white player",
         [&](Settings& s) { s.whitePlayer = defaults.whitePlayer; }},
        {[](Settings& s) { s.blackPlayer = -1; }, "black player",
         [&](Settings& s) { s.blackPlayer = defaults.blackPlayer; }},
        {[](Settings& s) { s.maxDepth = 0; }, "search depth limit",
         [&](Settings& s) { s.maxDepth = defaults.maxDepth; }},
        {[](Settings& s) { s.maxDepth = 101; }, "search depth limit",
         [&](Settings& s) { s.maxDepth = defaults.maxDepth; }},
        {[](Settings& s) { s.timePerMove = -1.0; }, "thinking time",
         [&](Settings& s) { s.timePerMove = defaults.timePerMove; }},
        {[](Settings& s) { s.timePerMove = std::nan(""); }, "thinking time",
         [&](Settings& s) { s.timePerMove = defaults.timePerMove; }},
        {[](Settings& s) { s.timePerMove = 1e300; }, "thinking time",
         [&](Settings& s) { s.timePerMove = defaults.timePerMove; }},
        {[](Settings& s) { s.useSee = 2; }, "static exchange evaluation",
         [&](Settings& s) { s.useSee = defaults.useSee; }},
        {[](Settings& s) { s.reflectivity = 1.5; }, "reflectivity",
         [&](Settings& s) { s.reflectivity = defaults.reflectivity; }},
        {[](Settings& s) { s.announceGameEnd = 9; }, "game end announcement",
         [&](Settings& s) { s.announceGameEnd = defaults.announceGameEnd; }},
        {[](Settings& s) { s.knightsFace = 2; }, "knights facing",
         [&](Settings& s) { s.knightsFace = defaults.knightsFace; }},
        {[](Settings& s) {
             s.threadCount = 0;
             s.reflectivity = -0.1;
         },
         "number of threads, reflectivity",
         [&](Settings& s) {
             s.threadCount = defaults.threadCount;
             s.reflectivity = defaults.reflectivity;
         }},
    };
    for (const Case& c : cases) {
        resetState();
        Settings stored = sampleSettings();
        c.spoil(stored);
        writeFile("settings.dat", imageBytes(stored));
        loadSettings();
        Settings expected = stored;
        c.repair(expected);
        SCOPED_TRACE(c.names);
        expectSameRecord(settings, expected);
        EXPECT_EQ(readFile("settings.dat"), imageBytes(expected));
        EXPECT_EQ(warnings(), std::vector<std::string>{"The settings file held invalid values "
                                                       "for: " +
                                                       c.names +
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
        expectSameRecord(settings, stored);
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

} // namespace
