#include "GameArchive.h"

#include "Environment.h"
#include "WholeWrites.h"

std::optional<std::string> gameArchivePath() {
    if (auto folder = userDataDirectory()) {
        return joinPath(*folder, gameArchiveName);
    }
    return std::nullopt;
}

bool appendToArchive(const std::string& path, const std::string& text) {
    if (!makeParentFolder(path)) {
        return false;
    }
    // Opened for appending: the game lands after whatever the file holds, also when another
    // instance of the program appends at the same time. On the disk before the next game begins,
    // so that a crash later loses nothing.
    AppendOnlyFile archive;
    return archive.open(path, false) && archive.append(text, true) && archive.close();
}
