#include "SettingsFile.h"

#include "Environment.h"
#include "UserInterface.h"
#include "WholeWrites.h"

#include <bit>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <iostream>
#include <limits>
#include <unistd.h>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

static_assert(std::numeric_limits<double>::is_iec559, "the file stores IEEE 754 binary64 reals");

bool settingsWarningAllowed = true;

namespace {

constexpr const char* fileName = "settings.dat";

// File offsets of the fields.
constexpr std::size_t whitePlayerAt = 0;
constexpr std::size_t blackPlayerAt = 4;
constexpr std::size_t maxDepthAt = 8;
constexpr std::size_t reserved9At = 9;
constexpr std::size_t timePerMoveAt = 16;
constexpr std::size_t useSeeAt = 24;
constexpr std::size_t threadCountAt = 25;
constexpr std::size_t reserved26At = 26;
constexpr std::size_t reflectivityAt = 32;
constexpr std::size_t announceGameEndAt = 40;
constexpr std::size_t whiteColorAt = 41;
constexpr std::size_t blackColorAt = 45;
constexpr std::size_t reserved49At = 49;
constexpr std::size_t knightsFaceAt = 52;

// The upper limits of what the settings dialog lets the user choose.
constexpr double longestTimePerMove = 1000.0;
constexpr int deepestSearch = 100;
constexpr int mostThreads = 64;

// The open settings file, -1 when none is open.
int settingsFile = -1;
std::string openPath;
// An older folder whose settings were taken over. It is removed only once the new file holds
// them, so that a failure to create the new file cannot lose what the user had stored.
std::optional<std::string> olderFolderToRemove;

void warn(std::string text) {
    if (theUserInterface != nullptr) {
        theUserInterface->showWarning(std::move(text));
    } else {
        std::cerr << "Warning: " << text << '\n';
    }
}

bool exists(const std::string& path) {
    std::error_code error;
    return fs::exists(path, error);
}

std::string displayPath(const std::string& path) {
    std::error_code error;
    const fs::path absolute = fs::absolute(path, error);
    return error ? path : absolute.string();
}

std::string cannotOpenText(const std::string& path) {
    return "Failed to open the settings file for writing.\n"
           "Your settings can't be saved. "
           "Please ensure that the file\n" +
           path + "\nexists and is writable.";
}

void closeSettingsDescriptor() {
    if (settingsFile >= 0) {
        ::close(settingsFile);
        settingsFile = -1;
    }
}

// Opens without truncation when the file exists, else creates it empty.
bool openForUpdate(const std::string& path) {
    closeSettingsDescriptor();
    settingsFile = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    return settingsFile >= 0;
}

// Reads up to `count` bytes from offset 0 over the start of `image`; returns how many arrived.
std::size_t readImage(SettingsImage& image, std::size_t count) {
    std::size_t arrived = 0;
    while (arrived < count) {
        const ssize_t n = ::pread(settingsFile, image.data() + arrived, count - arrived,
                                  static_cast<off_t>(arrived));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        arrived += static_cast<std::size_t>(n);
    }
    return arrived;
}

void putUnsigned(SettingsImage& image, std::size_t at, uint64_t value, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        image[at + i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

uint64_t getUnsigned(const SettingsImage& image, std::size_t at, std::size_t size) {
    uint64_t value = 0;
    for (std::size_t i = 0; i < size; ++i) {
        value |= static_cast<uint64_t>(image[at + i]) << (8 * i);
    }
    return value;
}

void putInt32(SettingsImage& image, std::size_t at, int32_t value) {
    putUnsigned(image, at, static_cast<uint32_t>(value), 4);
}

int32_t getInt32(const SettingsImage& image, std::size_t at) {
    return static_cast<int32_t>(static_cast<uint32_t>(getUnsigned(image, at, 4)));
}

void putDouble(SettingsImage& image, std::size_t at, double value) {
    putUnsigned(image, at, std::bit_cast<uint64_t>(value), 8);
}

double getDouble(const SettingsImage& image, std::size_t at) {
    return std::bit_cast<double>(getUnsigned(image, at, 8));
}

template <std::size_t N>
void putBytes(SettingsImage& image, std::size_t at, const uint8_t (&bytes)[N]) {
    std::memcpy(image.data() + at, bytes, N);
}

template <std::size_t N>
void getBytes(const SettingsImage& image, std::size_t at, uint8_t (&bytes)[N]) {
    std::memcpy(bytes, image.data() + at, N);
}

void removeOlderFolder(const std::string& folder) {
    const std::string file = joinPath(folder, fileName);
    std::error_code error;
    // Only a file is deleted; a directory of that name is the user's and stays.
    bool removed = !fs::is_directory(file, error) && fs::remove(file, error);
    removed = removed && fs::remove(folder, error);
    if (!removed) {
        warn("Failed the delete the old settings directory.\n"
             "Please delete the directory\n" +
             folder + " manually.\n");
    }
}

// Opens the file of the older layout and reads it over the start of `image`; returns how many
// bytes arrived. The stream is left open for the migration to close.
std::size_t readOlderFile(SettingsImage& image) {
    if (!settingsInHomeDirectory && openForUpdate(fileName)) {
        return readImage(image, olderSettingsFileSize);
    }
    std::string folder;
    if (auto appData = environmentValue("APPDATA")) {
        folder = joinPath(*appData, "Veltmark");
    } else if (auto home = environmentValue("HOME")) {
        folder = joinPath(*home, ".veltmark");
    } else {
        return 0; // no place where an older file could be
    }
    const std::string path = joinPath(folder, fileName);
    // Nothing to take over. Neither the folder nor the file is made for the sake of reading
    // them: a home folder that does not exist yet is no failure.
    if (!exists(path)) {
        return 0;
    }
    if (!openForUpdate(path)) {
        warn(cannotOpenText(path));
        return 0;
    }
    return readImage(image, olderSettingsFileSize);
}

// Takes over a file of the older layout; with a target, also creates the new directory.
void migrate(const ConfigurationDirectory* target) {
    SettingsImage image = encodeSettings(settings);
    const std::size_t olderBytes = readOlderFile(image);
    const Settings older = decodeSettings(image);
    settings.whitePlayer = older.whitePlayer;
    settings.blackPlayer = older.blackPlayer;
    settings.maxDepth = older.maxDepth;
    std::memcpy(settings.reserved9, older.reserved9, sizeof settings.reserved9);
    settings.timePerMove = older.timePerMove;
    settings.useSee = older.useSee;
    settings.threadCount = older.threadCount;
    std::memcpy(settings.reserved26, older.reserved26, sizeof settings.reserved26);
    settings.reflectivity = older.reflectivity;
    settings.announceGameEnd = older.announceGameEnd;
    const Settings defaults = defaultSettings();
    std::memcpy(settings.whiteColor, defaults.whiteColor, sizeof settings.whiteColor);
    std::memcpy(settings.blackColor, defaults.blackColor, sizeof settings.blackColor);
    settings.knightsFace = defaults.knightsFace;

    closeSettingsDescriptor();
    settingsWarningAllowed = false;
    if (!settingsInHomeDirectory && exists(fileName)) {
        return;
    }
    // Under APPDATA the older folder is the new one: nothing to remove.
    auto home = environmentValue("HOME");
    if (home && !environmentValue("APPDATA")) {
        const std::string folder = joinPath(*home, ".veltmark");
        if (exists(joinPath(folder, fileName))) {
            if (olderBytes == 0) {
                removeOlderFolder(folder);
            } else {
                olderFolderToRemove = folder;
            }
        }
    }
    if (target == nullptr) {
        return;
    }
    std::error_code error;
    fs::create_directories(target->directory, error);
    if (error) {
        warn("Failed to create a directory for storing settings.\n"
             "Your settings can't be saved.\n"
             "Please ensure that the directory\n" +
             target->base + "\nexists and is writable.");
        return;
    }
    settingsWarningAllowed = true;
}

// Values that no version of the program writes would reach the engine and the renderer as they
// stand; each is put back to its default and named to the user.
void correctMeaninglessValues() {
    const Settings defaults = defaultSettings();
    std::vector<std::string> corrected;
    auto check = [&](bool valid, auto& field, auto defaultValue, const char* name) {
        if (!valid) {
            field = defaultValue;
            corrected.emplace_back(name);
        }
    };
    auto isFlag = [](auto value) { return value == 0 || value == 1; };
    check(isFlag(settings.whitePlayer), settings.whitePlayer, defaults.whitePlayer, "white player");
    check(isFlag(settings.blackPlayer), settings.blackPlayer, defaults.blackPlayer, "black player");
    check(settings.maxDepth >= 1 && settings.maxDepth <= deepestSearch, settings.maxDepth,
          defaults.maxDepth, "search depth limit");
    check(std::isfinite(settings.timePerMove) && settings.timePerMove > 0.0 &&
              settings.timePerMove <= longestTimePerMove,
          settings.timePerMove, defaults.timePerMove, "thinking time");
    check(isFlag(settings.useSee), settings.useSee, defaults.useSee, "static exchange evaluation");
    check(settings.threadCount >= 1 && settings.threadCount <= mostThreads, settings.threadCount,
          defaults.threadCount, "number of threads");
    check(settings.reflectivity >= 0.0 && settings.reflectivity <= 1.0, settings.reflectivity,
          defaults.reflectivity, "reflectivity");
    check(isFlag(settings.announceGameEnd), settings.announceGameEnd, defaults.announceGameEnd,
          "game end announcement");
    check(isFlag(settings.knightsFace), settings.knightsFace, defaults.knightsFace,
          "knights facing");
    if (corrected.empty()) {
        return;
    }
    std::string names;
    for (const auto& name : corrected) {
        names += (names.empty() ? "" : ", ") + name;
    }
    warn("The settings file held invalid values for: " + names +
         ".\nThese settings were reset to their defaults.");
}

// A record that cannot be written whole leaves the file as it was: a new file that a full disk
// cut short would otherwise be taken for the older layout at the next start.
bool writeRecord() {
    const SettingsImage image = encodeSettings(settings);
    const std::string_view bytes(reinterpret_cast<const char*>(image.data()), image.size());
    if (!overwriteStartWhole(settingsFile, bytes)) {
        warn("Failed to save the settings.\n"
             "Please ensure that the file\n" +
             displayPath(openPath) + "\nis writable.");
        return false;
    }
    return true;
}

} // namespace

std::optional<ConfigurationDirectory> configurationDirectory() {
    if (auto appData = environmentValue("APPDATA")) {
        return ConfigurationDirectory{*appData, joinPath(*appData, "Veltmark")};
    }
    std::string base;
    if (auto xdg = environmentValue("XDG_CONFIG_HOME")) {
        base = *xdg;
    } else if (auto home = environmentValue("HOME")) {
        base = joinPath(*home, ".config");
    } else {
        return std::nullopt;
    }
    return ConfigurationDirectory{base, joinPath(base, "veltmark")};
}

SettingsImage encodeSettings(const Settings& record) {
    SettingsImage image{};
    putInt32(image, whitePlayerAt, record.whitePlayer);
    putInt32(image, blackPlayerAt, record.blackPlayer);
    image[maxDepthAt] = record.maxDepth;
    putBytes(image, reserved9At, record.reserved9);
    putDouble(image, timePerMoveAt, record.timePerMove);
    image[useSeeAt] = record.useSee;
    image[threadCountAt] = record.threadCount;
    putBytes(image, reserved26At, record.reserved26);
    putDouble(image, reflectivityAt, record.reflectivity);
    image[announceGameEndAt] = record.announceGameEnd;
    putBytes(image, whiteColorAt, record.whiteColor);
    putBytes(image, blackColorAt, record.blackColor);
    putBytes(image, reserved49At, record.reserved49);
    putInt32(image, knightsFaceAt, record.knightsFace);
    return image;
}

Settings decodeSettings(const SettingsImage& image) {
    Settings record{};
    record.whitePlayer = getInt32(image, whitePlayerAt);
    record.blackPlayer = getInt32(image, blackPlayerAt);
    record.maxDepth = image[maxDepthAt];
    getBytes(image, reserved9At, record.reserved9);
    record.timePerMove = getDouble(image, timePerMoveAt);
    record.useSee = image[useSeeAt];
    record.threadCount = image[threadCountAt];
    getBytes(image, reserved26At, record.reserved26);
    record.reflectivity = getDouble(image, reflectivityAt);
    record.announceGameEnd = image[announceGameEndAt];
    getBytes(image, whiteColorAt, record.whiteColor);
    getBytes(image, blackColorAt, record.blackColor);
    getBytes(image, reserved49At, record.reserved49);
    record.knightsFace = getInt32(image, knightsFaceAt);
    return record;
}

void loadSettings() {
    closeSettingsFile();
    std::string path;
    bool directoryMadeNow = false;
    if (!settingsInHomeDirectory && openForUpdate(fileName)) {
        path = fileName;
    } else {
        settingsInHomeDirectory = true;
        const auto location = configurationDirectory();
        if (!location) {
            warn("Failed to find a directory for storing settings.\n"
                 "Your settings can't be saved. "
                 "Please set the environment variable HOME.");
            return;
        }
        if (!exists(location->directory)) {
            migrate(&*location);
            directoryMadeNow = true;
        }
        path = joinPath(location->directory, fileName);
        if (!openForUpdate(path)) {
            if (settingsWarningAllowed) {
                warn(cannotOpenText(path));
            }
            return;
        }
    }

    SettingsImage image = encodeSettings(settings);
    const std::size_t arrived = readImage(image, settingsFileSize);
    settings = decodeSettings(image);
    if (arrived < settingsFileSize && !directoryMadeNow) {
        // A short file is taken to be of the older layout. It is reopened without truncation:
        // the 56 bytes written below cover all of it, and a failing write then leaves it intact.
        closeSettingsDescriptor();
        migrate(nullptr);
        if (!openForUpdate(path)) {
            warn(cannotOpenText(displayPath(path)));
            return;
        }
    }
    correctMeaninglessValues();

    openPath = path;
    if (writeRecord() && olderFolderToRemove) {
        if (exists(joinPath(*olderFolderToRemove, fileName))) {
            removeOlderFolder(*olderFolderToRemove);
        }
    }
    olderFolderToRemove.reset();
}

void saveSettings() {
    if (settingsFile >= 0) {
        writeRecord();
    }
}

void closeSettingsFile() {
    // Every save is flushed when made, so closing has nothing left that could fail to be written.
    closeSettingsDescriptor();
    openPath.clear();
    olderFolderToRemove.reset();
}

std::string settingsFilePath() {
    return openPath;
}
