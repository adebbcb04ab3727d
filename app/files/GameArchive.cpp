#include "GameArchive.h"

#include "Environment.h"

#include <filesystem>
#include <fstream>

std::optional<std::string> gameArchivePath() {
    if (auto folder = userDataDirectory()) {
        return joinPath(*folder, gameArchiveName);
    }
    return std::nullopt;
}

bool appendToArchive(const std::string& path, const std::string& text) {
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    std::error_code error;
    if (!folder.empty() && !std::filesystem::is_directory(folder, error)) {
        std::filesystem::create_directories(folder, error);
        if (error) {
            return false;
        }
    }
    std::ofstream out(path, std::ios::binary | std::ios::app);
    if (!out) {
        return false;
    }
    out << text;
    out.flush();
    out.close();
    return !out.fail();
}
