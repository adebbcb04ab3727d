#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

// A data file that is missing or unreadable; the graphical face cannot start without it.
class DataFileException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The places where a data file given by its relative path is looked for, in order: the current
// directory, then the user's and the system's data directories, each under "veltmark/".
std::vector<std::string> dataFileCandidates(const std::string& relativePath);

// The first candidate that exists, or nothing.
std::optional<std::string> findDataFile(const std::string& relativePath);

// findDataFile, or a DataFileException whose message names the relative path and where it was
// looked for.
std::string requireDataFile(const std::string& relativePath);

// Writes the message to standard error and ends the process with status -1: without its data
// the window cannot start.
[[noreturn]] void stopForMissingData(const std::string& message);
