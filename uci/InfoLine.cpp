#include "InfoLine.h"

#include "PieceValues.h"

#include <algorithm>
#include <cstdlib>

std::string uciScore(int32_t whiteScore, int depth, bool whiteToMove) {
    const int64_t own = whiteToMove ? int64_t{whiteScore} : -int64_t{whiteScore};
    // No material count comes near half a mate score; the exchange correction of the first
    // iteration can move a mate score a little off its value.
    if (std::llabs(own) >= MateScore / 2) {
        const int moves = std::max(1, (depth + 1) / 2);
        return "mate " + std::to_string(own > 0 ? moves : -moves);
    }
    return "cp " + std::to_string(own / 2);
}

std::string infoLine(const SearchReport& report, bool whiteToMove) {
    const int64_t ms = std::max<int32_t>(report.elapsedMs, 0);
    const uint64_t nps = report.nodes * 1000 / static_cast<uint64_t>(std::max<int64_t>(ms, 1));
    return "info depth " + std::to_string(report.depth) + " score " +
           uciScore(report.score, report.depth, whiteToMove) + " time " + std::to_string(ms) +
           " nodes " + std::to_string(report.nodes) + " nps " + std::to_string(nps) + " pv " +
           report.bestMoveText;
}
