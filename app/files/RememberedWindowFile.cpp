#include "RememberedWindowFile.h"

#include "Environment.h"
#include "SettingsFile.h"
#include "WholeWrites.h"

#include <charconv>
#include <fstream>
#include <sstream>

namespace {

// No screen is wider or taller; larger numbers are damage, not a size.
constexpr int largestSide = 16384;

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

std::optional<int> sideLength(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || value <= 0 ||
        value > largestSide) {
        return std::nullopt;
    }
    return value;
}

std::optional<bool> onOff(std::string_view text) {
    if (text == "on") {
        return true;
    }
    if (text == "off") {
        return false;
    }
    return std::nullopt;
}

} // namespace

RememberedWindow parseRememberedWindow(std::string_view text) {
    RememberedWindow remembered;
    std::optional<int> width, height;
    bool sizeDamaged = false;
    while (!text.empty()) {
        const auto end = text.find('\n');
        const std::string_view line = trimmed(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        const auto space = line.find_first_of(" \t");
        if (space == std::string_view::npos) {
            continue;
        }
        const std::string_view key = line.substr(0, space);
        const std::string_view value = trimmed(line.substr(space));
        if (key == "width" || key == "height") {
            const auto side = sideLength(value);
            sizeDamaged = sizeDamaged || !side;
            (key == "width" ? width : height) = side;
        } else if (key == "fullscreen") {
            remembered.fullscreen = onOff(value).value_or(false);
        } else if (key == "sound") {
            remembered.soundOn = onOff(value).value_or(true);
        }
    }
    if (width && height && !sizeDamaged) {
        remembered.width = *width;
        remembered.height = *height;
    }
    return remembered;
}

std::string formatRememberedWindow(const RememberedWindow& remembered) {
    std::ostringstream text;
    text << "width " << remembered.width << '\n'
         << "height " << remembered.height << '\n'
         << "fullscreen " << (remembered.fullscreen ? "on" : "off") << '\n'
         << "sound " << (remembered.soundOn ? "on" : "off") << '\n';
    return text.str();
}

RememberedWindow fittedToScreen(RememberedWindow remembered, int screenWidth, int screenHeight) {
    if (remembered.width > screenWidth || remembered.height > screenHeight) {
        const RememberedWindow defaults;
        remembered.width = defaults.width;
        remembered.height = defaults.height;
    }
    return remembered;
}

std::optional<std::string> rememberedWindowFilePath() {
    const auto location = configurationDirectory();
    if (!location) {
        return std::nullopt;
    }
    return joinPath(location->directory, rememberedWindowFileName);
}

RememberedWindow loadRememberedWindow() {
    const auto path = rememberedWindowFilePath();
    if (!path) {
        return {};
    }
    std::ifstream in(*path, std::ios::binary);
    // A file this long is not one the program wrote; reading it all would only cost memory.
    constexpr std::streamsize longestText = 4096;
    std::string text(longestText, '\0');
    in.read(text.data(), longestText);
    text.resize(static_cast<std::size_t>(in.gcount()));
    return parseRememberedWindow(text);
}

bool updateRememberedWindow(const std::function<void(RememberedWindow&)>& change) {
    const auto path = rememberedWindowFilePath();
    if (!path) {
        return false;
    }
    RememberedWindow remembered = loadRememberedWindow();
    change(remembered);
    return replaceWhole(*path, formatRememberedWindow(remembered));
}
