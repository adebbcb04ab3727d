#include "Environment.h"

#include <cstdlib>

std::optional<std::string> environmentValue(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') {
        return std::nullopt;
    }
    return std::string(value);
}

std::string joinPath(std::string_view first, std::string_view second) {
    std::string joined(first);
    if (joined.empty() || joined.back() != '/') {
        joined += '/';
    }
    joined += second;
    return joined;
}

std::optional<std::string> userDataDirectory() {
    if (auto dataHome = environmentValue("XDG_DATA_HOME")) {
        return joinPath(*dataHome, "veltmark");
    }
    if (auto home = environmentValue("HOME")) {
        return joinPath(*home, ".local/share/veltmark");
    }
    return std::nullopt;
}
