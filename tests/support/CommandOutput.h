#pragma once

#include <cstdio>
#include <string>

// Runs the command through the shell; its standard output, or nothing when it could not be run.
inline std::string commandOutput(const std::string& command) {
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
            output.append(buffer, n);
        }
        pclose(pipe);
    }
    return output;
}
