#include "PgnWriter.h"

#include "Position.h"

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

} // namespace

std::string pgnText(const PgnGame& game) {
    std::string text = tag("Event", "Veltmark game") + tag("Site", "?") + tag("Date", game.date) +
                       tag("Round", "-") + tag("White", game.white) + tag("Black", game.black) +
                       tag("Result", game.result) + "\n";

    // A move number stays on the line of its move.
    std::vector<std::string> units;
    for (size_t i = 0; i < game.moves.size(); ++i) {
        units.push_back(i % 2 == 0 ? std::to_string(i / 2 + 1) + ". " + game.moves[i]
                                   : game.moves[i]);
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
