#include "DataFiles.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>

namespace {

std::optional<std::string> environment(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr)
        return std::nullopt;
    return std::string(value);
}

std::string withSlash(std::string directory) {
    if (directory.empty() || directory.back() != '/')
        directory += '/';
    return directory;
}

} // namespace

std::vector<std::string> dataFileCandidates(const std::string& relativePath) {
    std::vector<std::string> candidates{relativePath};

    const auto dataHome = environment("XDG_DATA_HOME");
    if (dataHome && !dataHome->empty()) {
        candidates.push_back(withSlash(*dataHome) + "veltmark/" + relativePath);
    } else if (const auto home = environment("HOME")) {
        candidates.push_back(withSlash(*home) + ".local/share/veltmark/" + relativePath);
    }

    auto dataDirs = environment("XDG_DATA_DIRS");
    if (!dataDirs || dataDirs->empty())
        dataDirs = "/usr/local/share/:/usr/share/";
    size_t start = 0;
    while (start <= dataDirs->size()) {
        size_t end = dataDirs->find(':', start);
        if (end == std::string::npos)
            end = dataDirs->size();
        if (end > start)
            candidates.push_back(withSlash(dataDirs->substr(start, end - start)) + "veltmark/" +
                                 relativePath);
        start = end + 1;
    }
    return candidates;
}

std::optional<std::string> findDataFile(const std::string& relativePath) {
    for (const auto& candidate : dataFileCandidates(relativePath)) {
        std::error_code error;
        if (std::filesystem::exists(candidate, error))
            return candidate;
    }
    return std::nullopt;
}

std::string requireDataFile(const std::string& relativePath) {
    if (auto path = findDataFile(relativePath))
        return *path;
    std::string message = "cannot find the data file \"" + relativePath + "\"; looked for";
    const auto candidates = dataFileCandidates(relativePath);
    for (size_t i = 0; i < candidates.size(); ++i)
        message += (i == 0 ? " " : ", ") + candidates[i];
    throw DataFileException(message);
}

void stopForMissingData(const std::string& message) {
    std::cerr << "veltmark: " << message << std::endl;
    std::exit(-1);
}
