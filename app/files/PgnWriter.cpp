#include "PgnWriter.h"

#include "Fen.h"
#include "Position.h"

#include <algorithm>
#include <ctime>

namespace {

constexpr size_t maxLineLength = 80;

// Tag values are strings, in which a quote and a backslash are escaped.
std::string tag(const char* name, const std::string& value) {
    std::string escaped;
    for (char c : value) {
        if (c == '"' || c == '\\') {
            escaped += '\\';
        }
        escaped += c;
    }
    return std::string("[") + name + " \"" + escaped + "\"]\n";
}

// The side to move and the move number of the FEN that a game starts from.
void startOfNumbering(const std::string& fen, bool& blackFirst, int& firstNumber) {
    try {
        const FenPosition start = readFen(fen);
        blackFirst = start.position.sideToMove == 0;
        firstNumber = std::max(1, start.fullmoveNumber);
    } catch (const InvalidFenException&) {
        // Numbered from 1 with White: the FEN tag still says where the game starts.
    }
}

} // namespace

std::string pgnText(const PgnGame& game) {
    std::string text = tag("Event", "Veltmark game") + tag("Site", "?") + tag("Date", game.date) +
                       tag("Round", "-") + tag("White", game.white) + tag("Black", game.black) +
                       tag("Result", game.result);
    bool blackFirst = false;
    int firstNumber = 1;
    if (!game.fen.empty()) {
        text += tag("SetUp", "1") + tag("FEN", game.fen);
        startOfNumbering(game.fen, blackFirst, firstNumber);
    }
    for (const auto& [name, value] : game.extraTags) {
        text += tag(name.c_str(), value);
    }
    text += "\n";

    // A move number stays on the line of its move; a game that Black begins starts with "N...".
    std::vector<std::string> units;
    for (size_t i = 0; i < game.moves.size(); ++i) {
        const size_t ply = i + (blackFirst ? 1 : 0);
        const std::string number = std::to_string(firstNumber + static_cast<int>(ply / 2));
        if (ply % 2 == 0) {
            units.push_back(number + ". " + game.moves[i]);
        } else {
            units.push_back(i == 0 ? number + "... " + game.moves[i] : game.moves[i]);
        }
    }
    units.push_back(game.result);

    std::string line;
    for (const auto& unit : units) {
        if (!line.empty() && line.size() + 1 + unit.size() > maxLineLength) {
            text += line + "\n";
            line.clear();
        }
        line += (line.empty() ? "" : " ") + unit;
    }
    text += line + "\n\n";
    return text;
}

std::string pgnDate(std::time_t moment) {
    std::tm local{};
    localtime_r(&moment, &local);
    char date[16];
    std::strftime(date, sizeof date, "%Y.%m.%d", &local);
    return date;
}

std::string pgnResult(const Position& current) {
    if (current.isBlackCheckmated()) {
        return "1-0";
    }
    if (current.isWhiteCheckmated()) {
        return "0-1";
    }
    if (current.hasNoLegalMoves()) {
        return "1/2-1/2";
    }
    return "*";
}

const char* pgnPlayerName(int player) {
    return player == 0 ? "Human" : "Veltmark";
}
