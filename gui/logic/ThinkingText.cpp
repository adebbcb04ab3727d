#include "ThinkingText.h"

#include "LegalMove.h"
#include "PieceValues.h"
#include "San.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

std::string scoreText(const SearchReport& report, bool whiteToMove) {
    const int64_t own = whiteToMove ? int64_t{report.score} : -int64_t{report.score};
    // No material count comes near half a mate score.
    if (std::llabs(own) >= MateScore / 2) {
        const int moves = std::max(1, (report.depth + 1) / 2);
        return (own > 0 ? "mate in " : "mated in ") + std::to_string(moves);
    }
    char pawns[32];
    std::snprintf(pawns, sizeof pawns, "score %+.2f", static_cast<double>(own) / 200.0);
    return pawns;
}

} // namespace

std::string thinkingText(const SearchReport& report, Position& searched) {
    std::string text = "depth " + std::to_string(report.depth) + ", " +
                       scoreText(report, searched.sideToMove == 1);
    // A report of another position (a search that ended as the game moved on) names no move.
    if (const auto move = legalMoveFromText(searched, report.bestMoveText)) {
        text += ", best " + sanText(searched, *move);
    }
    return text;
}
