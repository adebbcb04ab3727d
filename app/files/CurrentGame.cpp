#include "CurrentGame.h"

#include "Environment.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <sys/stat.h>

std::optional<std::string> currentGamePath() {
    if (auto folder = userDataDirectory()) {
        return joinPath(*folder, currentGameName);
    }
    return std::nullopt;
}

std::optional<UnfinishedGame> unfinishedGameIn(const std::string& path, std::string& error) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 && errno == ENOENT) {
        return std::nullopt;
    }
    auto file = PgnFile::open(path, error);
    if (!file || file->games().empty()) {
        return std::nullopt;
    }
    auto record = file->readGame(0, error);
    if (!record || record->moves.empty() || record->result != "*") {
        return std::nullopt;
    }
    const int plies = static_cast<int>(record->moves.size());
    int onBoard = plies;
    if (const std::string* tag = record->tag(pliesOnBoardTag)) {
        int value = 0;
        const auto [end, problem] = std::from_chars(tag->data(), tag->data() + tag->size(), value);
        if (problem == std::errc() && end == tag->data() + tag->size()) {
            onBoard = std::clamp(value, 0, plies);
        }
    }
    return UnfinishedGame{std::move(*record), onBoard};
}

std::string continueQuestion(const UnfinishedGame& game) {
    const std::string* date = game.record.tag("Date");
    const size_t plies = game.record.moves.size();
    // Moves as players count them: White's and Black's together make one.
    const size_t moves = (plies + 1) / 2;
    return "Continue the unfinished game" +
           (date != nullptr && !date->empty() && date->find('?') == std::string::npos
                ? " of " + *date
                : std::string()) +
           " (" + std::to_string(moves) + (moves == 1 ? " move" : " moves") + ")?";
}
