#pragma once

#include "Environment.h"
#include "Settings.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

inline constexpr std::size_t settingsFileSize = 56;
// The layout before the piece colours and the knights' facing were added.
inline constexpr std::size_t olderSettingsFileSize = 48;

using SettingsImage = std::array<uint8_t, settingsFileSize>;

// Whether a failure to open the file in the configuration directory is reported. A migration
// that could not prepare the directory has already told the user, so it switches this off.
// Shared between threads: the README's "Shared state" says who writes it and what guards it.
extern bool settingsWarningAllowed;

// Loads the settings file into the settings record (or creates it), keeping it open for saves.
// Called once by the graphical front-end at start-up; the xboard face never touches the file.
void loadSettings();
// Writes the settings record back to the open settings file; does nothing when none is open.
// A failing write is reported with showWarning and leaves the file as it was.
void saveSettings();
// Flushes and closes the settings file; later saves do nothing until the next load.
void closeSettingsFile();
// Path of the open settings file, empty when none is open.
std::string settingsFilePath();

// The little-endian file image of a record, written field by field.
SettingsImage encodeSettings(const Settings& record);
Settings decodeSettings(const SettingsImage& image);

struct ConfigurationDirectory {
    std::string base;      // APPDATA, XDG_CONFIG_HOME or HOME/.config
    std::string directory; // base joined with the program's folder
};
// Where the settings live in home-directory mode, from the environment; nothing when neither
// APPDATA, XDG_CONFIG_HOME nor HOME is usable.
std::optional<ConfigurationDirectory> configurationDirectory();
