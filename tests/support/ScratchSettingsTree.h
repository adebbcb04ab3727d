#pragma once

// A fixture for the tests that load and save the real settings file.

#include "RecordingUserInterface.h"
#include "SettingsFile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

// Each test runs in a fresh temporary tree: "work" is the working directory and "home" is HOME,
// so neither the real home directory nor the repository is touched.
class ScratchSettingsTree : public ::testing::Test {
protected:
    void SetUp() override {
        savedDirectory = std::filesystem::current_path();
        for (const char* name : variables) {
            const char* value = std::getenv(name);
            savedVariables.push_back(value ? std::optional<std::string>(value) : std::nullopt);
            unsetenv(name);
        }
        std::string pattern =
            (std::filesystem::temp_directory_path() / "veltmark-settings-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        root = pattern;
        work = root / "work";
        home = root / "home";
        std::filesystem::create_directories(work);
        std::filesystem::create_directories(home);
        std::filesystem::current_path(work);
        setenv("HOME", home.c_str(), 1);
        resetState();
    }

    void TearDown() override {
        resetState();
        std::filesystem::current_path(savedDirectory);
        for (std::size_t i = 0; i < std::size(variables); ++i) {
            if (savedVariables[i]) {
                setenv(variables[i], savedVariables[i]->c_str(), 1);
            } else {
                unsetenv(variables[i]);
            }
        }
        std::filesystem::remove_all(root);
    }

    void resetState() {
        closeSettingsFile();
        settings = defaultSettings();
        settingsInHomeDirectory = false;
        settingsWarningAllowed = true;
        recorder.ui.warnings.clear();
    }

    static std::vector<uint8_t> readFile(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    std::vector<std::string>& warnings() { return recorder.ui.warnings; }
    std::filesystem::path homeConfigFile() const {
        return home / ".config" / "veltmark" / "settings.dat";
    }

    static constexpr const char* variables[] = {"APPDATA", "XDG_CONFIG_HOME", "HOME"};
    std::vector<std::optional<std::string>> savedVariables;
    std::filesystem::path savedDirectory, root, work, home;
    ScopedRecordingUserInterface recorder;
};
