#pragma once

#include <optional>
#include <string>
#include <string_view>

// The value of an environment variable; an empty value counts as unset, because joined with a
// folder name it would point at the file system root.
std::optional<std::string> environmentValue(const char* name);

// Joins with "/", adding one only when the first part does not already end with it.
std::string joinPath(std::string_view first, std::string_view second);

// The user's data folder of the program: $XDG_DATA_HOME/veltmark, else ~/.local/share/veltmark;
// nothing when neither variable is set.
std::optional<std::string> userDataDirectory();
