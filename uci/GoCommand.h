#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The arguments of "go", as the GUI gave them. Times in milliseconds.
struct GoCommand {
    std::optional<int64_t> whiteTimeMs, blackTimeMs;
    int64_t whiteIncrementMs = 0, blackIncrementMs = 0;
    int movesToGo = 0;
    std::optional<int64_t> moveTimeMs;
    std::optional<int64_t> depth;
    std::optional<int64_t> nodes;
    std::optional<int64_t> mateIn;
    bool infinite = false;
    bool ponder = false;
};

// Reads the arguments of "go". Each argument that cannot be used is skipped, and a sentence
// saying why is added to the problems.
GoCommand readGoCommand(std::string_view arguments, std::vector<std::string>& problems);

// A search budget that no game needs: bestMove's time argument for "until stopped".
constexpr int32_t unlimitedTimeMs = 2147483647;
// The deepest search the engine takes.
constexpr int deepestSearch = 255;

// How the engine turn runs a search for one "go".
struct SearchPlan {
    int32_t timeMs = unlimitedTimeMs; // bestMove's budget
    int depth = deepestSearch;        // bestMove's depth limit
    uint64_t nodeLimit = 0;           // 0: none
    // The best move is not sent before "stop": "infinite", and "ponder" until "ponderhit".
    bool infinite = false;
    bool pondering = false;
    // For a ponder search: the budget that starts at "ponderhit".
    int32_t budgetAfterPonderHitMs = unlimitedTimeMs;
};

SearchPlan planSearch(const GoCommand& go, bool whiteToMove);
