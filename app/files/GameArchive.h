#pragma once

#include <optional>
#include <string>

// The archive of the games played in the window, in the user's data directory.
inline constexpr const char* gameArchiveName = "games.pgn";

// $XDG_DATA_HOME/veltmark/games.pgn, else ~/.local/share/veltmark/games.pgn; nothing when
// neither variable is set.
std::optional<std::string> gameArchivePath();

// Appends the text to the file, creating the file and its folders when missing. The file is
// only ever opened for appending, so what it held stays, and it is flushed and closed before
// this returns. False when any step failed; a game that could not be written whole leaves the
// file as it was.
bool appendToArchive(const std::string& path, const std::string& text);
