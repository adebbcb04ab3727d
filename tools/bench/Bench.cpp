// Developer benchmark: move-generation counts and speed, and (with the engine) evaluation and
// search figures. Not part of the program.
#include "BenchCommands.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

int usage() {
    std::fprintf(stderr,
                 "usage: veltmark-bench perft \"<FEN>\" <depth>\n"
                 "       veltmark-bench perft-speed\n"
                 "       veltmark-bench eval \"<FEN>\"\n"
                 "       veltmark-bench search \"<FEN>\" --depth N [--time MS] [--threads T] "
                 "[--see 0|1] [--stop-after MS]\n"
                 "       veltmark-bench search-speed\n"
                 "       veltmark-bench pgn-make FILE [GAMES] [SEED]\n"
                 "       veltmark-bench pgn-speed FILE [ROUNDS]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        return usage();
    }
    const std::string command = argv[1];
    if (command == "perft" && argc == 4) {
        return perftCommand(argv[2], std::atoi(argv[3]));
    }
    if (command == "perft-speed" && argc == 2) {
        return perftSpeedCommand();
    }
    if (command == "eval" && argc == 3) {
        return evalCommand(argv[2]);
    }
    if (command == "search" && argc >= 3) {
        return searchCommand(argc - 2, argv + 2);
    }
    if (command == "search-speed" && argc == 2) {
        return searchSpeedCommand();
    }
    if (command == "pgn-make" && argc >= 3 && argc <= 5) {
        return pgnMakeCommand(argv[2], argc > 3 ? std::atoi(argv[3]) : 20000,
                              argc > 4 ? static_cast<unsigned>(std::atoi(argv[4])) : 1);
    }
    if (command == "pgn-speed" && argc >= 3 && argc <= 4) {
        return pgnSpeedCommand(argv[2], argc > 3 ? std::atoi(argv[3]) : 5);
    }
    return usage();
}
