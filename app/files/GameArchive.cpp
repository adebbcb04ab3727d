#include "GameArchive.h"

#include "Environment.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

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
    // One write of the whole game to a file opened for appending: the text lands after whatever
    // the file holds, even when another instance of the program appends at the same time.
    const int file = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (file < 0) {
        return false;
    }
    bool written = true;
    for (size_t done = 0; written && done < text.size();) {
        const ssize_t n = ::write(file, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        written = n > 0;
        done += written ? static_cast<size_t>(n) : 0;
    }
    // On the disk before the next game begins, so that a crash later loses nothing.
    written = ::fsync(file) == 0 && written;
    return ::close(file) == 0 && written;
}
