#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

// What the window remembers from one start to the next, kept as "key value" lines in a small
// text file of its own beside the settings, so that settings.dat keeps its fixed layout.
struct RememberedWindow {
    int width = 800;
    int height = 600;
    bool fullscreen = false;
    bool soundOn = true;

    bool operator==(const RememberedWindow&) const = default;
};

inline constexpr const char* rememberedWindowFileName = "window.conf";

// Reads the text leniently: unknown keys and lines are skipped, and a value that cannot be read,
// or a size that no screen has, leaves its field at the default. Width and height are a pair:
// when either is unusable both stay at the default.
RememberedWindow parseRememberedWindow(std::string_view text);
std::string formatRememberedWindow(const RememberedWindow& remembered);

// The remembered size when the screen can show it, else the default size; fullscreen and sound
// are kept either way.
RememberedWindow fittedToScreen(RememberedWindow remembered, int screenWidth, int screenHeight);

// $XDG_CONFIG_HOME/veltmark/window.conf (else under ~/.config); nothing without a usable
// environment.
std::optional<std::string> rememberedWindowFilePath();

// The defaults when the file is missing or unreadable: the window always starts.
RememberedWindow loadRememberedWindow();

// Reads the file afresh, lets `change` set its own fields and writes the result whole (a
// temporary file renamed over the old one), so that the window's size and the sound switch,
// saved at different times, do not overwrite each other. False when the file could not be
// written; it then stays as it was.
bool updateRememberedWindow(const std::function<void(RememberedWindow&)>& change);
