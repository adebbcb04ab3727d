#pragma once

#include "Fen.h"

#include <optional>
#include <string>

// True when one of the arguments, the program name included, is exactly the option.
bool hasOption(int argc, char** argv, const char* option);

// What the window starts with: the games of a PGN file (the first argument that is no option),
// or a position from --fen.
struct WindowStart {
    std::optional<std::string> file;
    std::optional<FenPosition> position;
};

// False, with the problem in words for the user, when --fen lacks its position or the position
// cannot be read, or when both are given.
bool readWindowStart(int argc, char** argv, WindowStart& start, std::string& error);

// The program: fills the settings defaults, creates the front-end the command line asks for
// and returns its exit code.
int runVeltmark(int argc, char** argv);
