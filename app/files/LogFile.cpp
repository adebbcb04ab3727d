#include "LogFile.h"

#include <climits>
#include <cstdio>
#include <sstream>

std::string searchProgressLine(const SearchReport& report) {
    const double seconds = report.elapsedMs * 0.001;
    // A report in the search's first millisecond has no rate to tell; dividing would give an
    // infinity that no int can hold.
    int nodesPerSecond = 0;
    if (seconds > 0) {
        const double rate = static_cast<double>(report.nodes) / seconds;
        nodesPerSecond = rate >= static_cast<double>(INT_MAX) ? INT_MAX : static_cast<int>(rate);
    }
    char line[256];
    std::snprintf(line, sizeof line, "%d plies, %llu nodes, %lf s, %d NPS, best move ",
                  report.depth, static_cast<unsigned long long>(report.nodes), seconds,
                  nodesPerSecond);
    return line + report.bestMoveText;
}

std::string thinkingTimeLine(int64_t milliseconds) {
    std::ostringstream line;
    line << "AI made up its mind in " << milliseconds * 0.001 << " seconds.";
    return line.str();
}
