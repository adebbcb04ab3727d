#pragma once

#include "UserInterface.h"

#include <cstdint>
#include <string>

// The name of the log that `--log` writes in the working directory.
inline constexpr const char* logFileName = "Veltmark.log";

// "<depth> plies, <nodes> nodes, <seconds> s, <nodes per second> NPS, best move <move>".
std::string searchProgressLine(const SearchReport& report);

// "AI made up its mind in <seconds> seconds."
std::string thinkingTimeLine(int64_t milliseconds);
