#include "PlayedBy.h"

#include <algorithm>
#include <string_view>

namespace {

constexpr std::string_view separator = " / ";

// Appends the players that a name stands for, skipping one that repeats the last.
void appendPlayers(std::vector<std::string>& players, std::string_view name) {
    for (;;) {
        const size_t at = name.find(separator);
        const std::string_view player = name.substr(0, at);
        if (players.empty() || players.back() != player) {
            players.emplace_back(player);
        }
        if (at == std::string_view::npos) {
            return;
        }
        name.remove_prefix(at + separator.size());
    }
}

} // namespace

void PlayedBy::reset(bool whiteMovesFirst) {
    whiteMovesFirst_ = whiteMovesFirst;
    movers_.clear();
}

void PlayedBy::takeOver(bool whiteMovesFirst, int plies, const std::string& white,
                        const std::string& black) {
    reset(whiteMovesFirst);
    for (int i = 0; i < plies; ++i) {
        const bool whitesMove = (i % 2 == 0) == whiteMovesFirst;
        movers_.push_back(whitesMove ? white : black);
    }
}

void PlayedBy::moveMade(int index, const std::string& player) {
    // A move made after undo replaces the undone ones; a record that lost track of earlier
    // moves (it cannot, but a name is cheaper than a crash) fills them with the same player.
    movers_.resize(static_cast<size_t>(std::max(0, index)), player);
    movers_.push_back(player);
}

std::string PlayedBy::white(int plies, const std::string& toMove) const {
    return side(true, plies, toMove);
}

std::string PlayedBy::black(int plies, const std::string& toMove) const {
    return side(false, plies, toMove);
}

std::string PlayedBy::side(bool forWhite, int plies, const std::string& toMove) const {
    std::vector<std::string> players;
    const std::string* previous = nullptr;
    const int known = std::min(plies, static_cast<int>(movers_.size()));
    for (int i = 0; i < known; ++i) {
        const std::string& mover = movers_[static_cast<size_t>(i)];
        // A taken-over game's joined name stands for all of its moves at once.
        if ((i % 2 == 0) == (whiteMovesFirst_ == forWhite) &&
            (previous == nullptr || mover != *previous)) {
            appendPlayers(players, mover);
            previous = &mover;
        }
    }
    if (players.empty()) {
        return toMove;
    }
    std::string joined = players.front();
    for (size_t i = 1; i < players.size(); ++i) {
        joined += std::string(separator) + players[i];
    }
    return joined;
}
