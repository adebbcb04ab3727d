#include "BenchCommands.h"

#include "Perft.h"
#include "Position.h"

#include <chrono>
#include <cstdio>

int perftCommand(const char* fen, int depth) {
    Position position{};
    if (!readPosition(fen, position)) {
        return 2;
    }
    std::printf("%llu\n", static_cast<unsigned long long>(perft(position, depth)));
    return 0;
}

int perftSpeedCommand() {
    Position position{};
    position.setInitialPosition();
    position.halfmoveClock = 0;
    position.previous = nullptr;
    const auto start = std::chrono::steady_clock::now();
    const uint64_t nodes = perft(position, 6);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("perft 6 of the starting position\n");
    std::printf("nodes %llu\n", static_cast<unsigned long long>(nodes));
    std::printf("seconds %.3f\n", seconds);
    std::printf("nodes per second %.0f\n", nodes / seconds);
    return nodes == 119060324ULL ? 0 : 1;
}
