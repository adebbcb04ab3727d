#include "WholeWrites.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// All of the bytes at the offset; false at the first write that fails.
bool writeAllAt(int file, std::string_view bytes, off_t offset) {
    for (size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::pwrite(file, bytes.data() + done, bytes.size() - done,
                                   offset + static_cast<off_t>(done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

// Held while a write and its undoing run, so that a second instance neither writes in between
// nor has its text cut off by this one's undoing. A file system without locks goes on unlocked.
class WriteTurn {
public:
    explicit WriteTurn(int file) : file_(file) {
        while (::flock(file_, LOCK_EX) != 0 && errno == EINTR) {
        }
    }
    ~WriteTurn() { ::flock(file_, LOCK_UN); }
    WriteTurn(const WriteTurn&) = delete;
    WriteTurn& operator=(const WriteTurn&) = delete;

private:
    int file_;
};

} // namespace

bool appendWhole(int file, std::string_view text, bool sync) {
    const WriteTurn turn(file);
    struct stat before {};
    if (::fstat(file, &before) != 0) {
        return false;
    }
    // Written at the end as it stands under the lock; a descriptor opened for appending lands
    // there anyway.
    if (writeAllAt(file, text, before.st_size) && (!sync || ::fsync(file) == 0)) {
        return true;
    }
    if (::ftruncate(file, before.st_size) == 0 && sync) {
        ::fsync(file);
    }
    return false;
}

bool overwriteStartWhole(int file, std::string_view bytes) {
    const WriteTurn turn(file);
    struct stat before {};
    if (::fstat(file, &before) != 0) {
        return false;
    }
    // What the write will cover, to put back: rewriting bytes that the file already has needs no
    // new room, so that undoing succeeds where the write failed for want of it.
    std::string old(std::min<size_t>(bytes.size(), static_cast<size_t>(before.st_size)), '\0');
    for (size_t done = 0; done < old.size();) {
        const ssize_t n =
            ::pread(file, old.data() + done, old.size() - done, static_cast<off_t>(done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return false; // what could not be read could not be put back
        }
        if (n == 0) {
            old.resize(done); // the file shrank meanwhile
            break;
        }
        done += static_cast<size_t>(n);
    }
    if (writeAllAt(file, bytes, 0)) {
        return true;
    }
    writeAllAt(file, old, 0);
    ::ftruncate(file, before.st_size);
    return false;
}

bool makeParentFolder(const std::string& path) {
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    std::error_code error;
    if (folder.empty() || std::filesystem::is_directory(folder, error)) {
        return true;
    }
    std::filesystem::create_directories(folder, error);
    return !error;
}

bool replaceWhole(const std::string& path, std::string_view text) {
    if (!makeParentFolder(path)) {
        return false;
    }
    // One temporary name per process: two instances never write into each other's.
    const std::string temporary = path + ".tmp" + std::to_string(::getpid());
    const int file = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (file < 0) {
        return false;
    }
    const bool written = writeAllAt(file, text, 0) && ::fsync(file) == 0;
    if (::close(file) != 0 || !written || std::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    // The rename itself is on the disk only once the folder is.
    const std::string folder = std::filesystem::path(path).parent_path().string();
    const int directory = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_CLOEXEC);
    if (directory >= 0) {
        ::fsync(directory);
        ::close(directory);
    }
    return true;
}

AppendOnlyFile::~AppendOnlyFile() {
    close();
}

bool AppendOnlyFile::open(const std::string& path, bool startEmpty) {
    close();
    const int flags = O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC | (startEmpty ? O_TRUNC : 0);
    file_ = ::open(path.c_str(), flags, 0666);
    return file_ >= 0;
}

bool AppendOnlyFile::append(std::string_view text, bool sync) {
    return file_ >= 0 && appendWhole(file_, text, sync);
}

bool AppendOnlyFile::close() {
    if (file_ < 0) {
        return true;
    }
    const bool closed = ::close(file_) == 0;
    file_ = -1;
    return closed;
}
