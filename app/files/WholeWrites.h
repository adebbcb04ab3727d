#pragma once

#include <string>
#include <string_view>

// Writes that land whole or not at all. A write that fails part way (a full disk, a file size
// limit, an I/O error) leaves the file byte for byte as it was, so that no reader ever finds a
// fragment and the next write does not glue its text onto one. Instances of the program writing
// the same file take turns: each write holds an advisory lock on it.

// Appends the text at the end of the open file; on failure the file is cut back to the length
// it had. With `sync`, the text is on the disk before this returns true.
bool appendWhole(int file, std::string_view text, bool sync);

// Writes the bytes over the start of the open file (opened for reading too); on failure the
// bytes they covered get their old contents back and the file its old length.
bool overwriteStartWhole(int file, std::string_view bytes);

// Replaces the file's contents with the text: written to a temporary file beside it, flushed to
// the disk and renamed over it, so that a reader, or the program after a crash, finds the old
// contents or the new ones, never a mix. The folders are created when missing. False when any
// step failed, and the file is then as it was.
bool replaceWhole(const std::string& path, std::string_view text);

// Creates the folder that will hold the file, when missing; false when it cannot be made.
bool makeParentFolder(const std::string& path);

// A file that is only ever appended to, each text whole or not at all; closed when it goes.
class AppendOnlyFile {
public:
    AppendOnlyFile() = default;
    ~AppendOnlyFile();
    AppendOnlyFile(const AppendOnlyFile&) = delete;
    AppendOnlyFile& operator=(const AppendOnlyFile&) = delete;

    // Opens the file, creating it when missing; `startEmpty` cuts it to nothing first.
    bool open(const std::string& path, bool startEmpty);
    bool isOpen() const { return file_ >= 0; }
    // False when nothing is open or the text could not be written whole.
    bool append(std::string_view text, bool sync = false);
    // False when the system reported an error of an earlier write only now.
    bool close();

private:
    int file_ = -1;
};
