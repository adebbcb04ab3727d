#include "GoCommand.h"

#include "TimeBudget.h"
#include "Words.h"

#include <algorithm>
#include <charconv>

namespace {

std::optional<int64_t> integer(std::string_view word) {
    int64_t value = 0;
    const char* end = word.data() + word.size();
    const auto [stop, error] = std::from_chars(word.data(), end, value);
    if (word.empty() || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

bool isKeyword(std::string_view word) {
    for (const char* keyword : {"wtime", "btime", "winc", "binc", "movestogo", "movetime", "depth",
                                "nodes", "mate", "infinite", "ponder", "searchmoves"}) {
        if (word == keyword) {
            return true;
        }
    }
    return false;
}

} // namespace

GoCommand readGoCommand(std::string_view arguments, std::vector<std::string>& problems) {
    GoCommand go;
    const std::vector<std::string_view> words = wordsOf(arguments);
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string_view word = words[i];
        if (word == "infinite") {
            go.infinite = true;
            continue;
        }
        if (word == "ponder") {
            go.ponder = true;
            continue;
        }
        if (word == "searchmoves") {
            while (i + 1 < words.size() && !isKeyword(words[i + 1])) {
                ++i;
            }
            problems.push_back("go: searchmoves is not supported; every move is searched");
            continue;
        }
        if (!isKeyword(word)) {
            problems.push_back("go: unknown argument " + std::string(word) + " ignored");
            continue;
        }
        const std::optional<int64_t> value =
            i + 1 < words.size() ? integer(words[i + 1]) : std::nullopt;
        // Times may be negative (a GUI reports an overdrawn clock so); counts and depths may not.
        const bool isTime = word == "wtime" || word == "btime" || word == "winc" || word == "binc";
        if (!value || (!isTime && *value < 0)) {
            problems.push_back(
                "go: " + std::string(word) + " needs a " +
                (isTime ? "number of milliseconds" : "whole number from 0 up") +
                (i + 1 < words.size() ? ", not " + std::string(words[i + 1]) : std::string()) +
                "; ignored");
            if (i + 1 < words.size() && !isKeyword(words[i + 1])) {
                ++i;
            }
            continue;
        }
        ++i;
        if (word == "wtime") {
            go.whiteTimeMs = value;
        } else if (word == "btime") {
            go.blackTimeMs = value;
        } else if (word == "winc") {
            go.whiteIncrementMs = *value;
        } else if (word == "binc") {
            go.blackIncrementMs = *value;
        } else if (word == "movestogo") {
            go.movesToGo = static_cast<int>(std::min<int64_t>(*value, 1000000));
        } else if (word == "movetime") {
            go.moveTimeMs = value;
        } else if (word == "depth") {
            go.depth = value;
        } else if (word == "nodes") {
            go.nodes = value;
        } else {
            go.mateIn = value;
        }
    }
    return go;
}

SearchPlan planSearch(const GoCommand& go, bool whiteToMove) {
    SearchPlan plan;
    int64_t budget = unlimitedTimeMs;
    const std::optional<int64_t>& clock = whiteToMove ? go.whiteTimeMs : go.blackTimeMs;
    if (clock) {
        budget = clockBudgetMs(*clock, whiteToMove ? go.whiteIncrementMs : go.blackIncrementMs,
                               go.movesToGo);
    }
    if (go.moveTimeMs) {
        budget = std::min(budget, std::max<int64_t>(*go.moveTimeMs, 1));
    }
    if (go.depth) {
        plan.depth = static_cast<int>(std::clamp<int64_t>(*go.depth, 1, deepestSearch));
    }
    if (go.mateIn) {
        // A mate in n moves lies 2n - 1 plies deep.
        const int64_t plies =
            std::clamp<int64_t>(2 * std::min<int64_t>(*go.mateIn, 1000) - 1, 1, deepestSearch);
        plan.depth = std::min(plan.depth, static_cast<int>(plies));
    }
    if (go.nodes) {
        plan.nodeLimit = static_cast<uint64_t>(std::max<int64_t>(*go.nodes, 1));
    }
    plan.timeMs = static_cast<int32_t>(budget);
    if (go.ponder) {
        plan.pondering = true;
        plan.budgetAfterPonderHitMs = plan.timeMs;
        plan.timeMs = unlimitedTimeMs;
    }
    if (go.infinite) {
        plan.infinite = true;
        plan.timeMs = unlimitedTimeMs;
    }
    return plan;
}
