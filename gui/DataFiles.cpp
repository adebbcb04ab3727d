#include "DataFiles.h"

#include "Environment.h"

#include <filesystem>
#include <iostream>

std::vector<std::string> dataFileCandidates(const std::string& relativePath) {
    const std::string inOurFolder = "veltmark/" + relativePath;
    std::vector<std::string> candidates{relativePath};

    if (const auto userData = userDataDirectory()) {
        candidates.push_back(joinPath(*userData, relativePath));
    }

    const std::string dataDirs =
        environmentValue("XDG_DATA_DIRS").value_or("/usr/local/share/:/usr/share/");
    size_t start = 0;
    while (start <= dataDirs.size()) {
        size_t end = dataDirs.find(':', start);
        if (end == std::string::npos) {
            end = dataDirs.size();
        }
        if (end > start) {
            candidates.push_back(joinPath(dataDirs.substr(start, end - start), inOurFolder));
        }
        start = end + 1;
    }
    return candidates;
}

std::optional<std::string> findDataFile(const std::string& relativePath) {
    for (const auto& candidate : dataFileCandidates(relativePath)) {
        std::error_code error;
        if (std::filesystem::exists(candidate, error)) {
            return candidate;
        }
    }
    return std::nullopt;
}

std::string requireDataFile(const std::string& relativePath) {
    if (auto path = findDataFile(relativePath)) {
        return *path;
    }
    std::string message = "cannot find the data file \"" + relativePath + "\"; looked for";
    const auto candidates = dataFileCandidates(relativePath);
    for (size_t i = 0; i < candidates.size(); ++i) {
        message += (i == 0 ? " " : ", ") + candidates[i];
    }
    throw DataFileException(message);
}

void stopForMissingData(const std::string& message) {
    std::cerr << "veltmark: " << message << std::endl;
    std::exit(-1);
}
