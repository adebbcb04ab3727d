// The PGN reader's figures: a large file of generated games, read in alternating rounds with
// Debian's pgn-extract validating the same file.
#include "BenchCommands.h"

#include "Move.h"
#include "PgnReader.h"
#include "PgnWriter.h"
#include "Position.h"
#include "RandomGame.h"
#include "San.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <fstream>
#include <random>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The processor time of this thread: on a machine busy with other work the wall clock says more
// about the others than about the reader.
double threadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// Games of 20 to 160 random half-moves. Some carry comments, annotations and variations, some
// start from a position given by a FEN tag, so that the readers meet what real files hold.
PgnGame benchGame(std::mt19937& random, int number) {
    const int plies = 20 + static_cast<int>(random() % 141);
    const RandomGame played = randomGame(random, plies, number % 50 == 7 ? 12 : 0);
    PgnGame game{"2026.01." + std::to_string(10 + number % 20),
                 "Player " + std::to_string(number % 97),
                 "Player " + std::to_string(number % 89),
                 pgnResult(played.end),
                 played.san,
                 played.fen};
    if (number % 10 == 3) {
        // Another legal move from the same position as a variation, after a comment.
        Position position = played.start;
        for (size_t ply = 0; ply < played.coordinates.size(); ++ply) {
            Move move(&position);
            if (ply % 7 == 3 && randomLegalMove(position, random, move)) {
                game.moves[ply] +=
                    " $1 {a comment, with (brackets)} (" + sanText(position, move) + ")";
            }
            move.fromString(played.coordinates[ply]);
            position.makeMove(move);
        }
    }
    return game;
}

// pgn-extract from the path or from Debian's games folder.
std::string findPgnExtract() {
    for (const char* candidate : {"/usr/games/pgn-extract", "/usr/bin/pgn-extract"}) {
        if (::access(candidate, X_OK) == 0) {
            return candidate;
        }
    }
    return "";
}

// Runs the program with its output and diagnostics discarded; its exit status, or -1.
int runQuietly(const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    for (const std::string& a : arguments) {
        argv.push_back(const_cast<char*>(a.c_str()));
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int failed = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (failed != 0 || ::waitpid(child, &status, 0) != child) {
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct VeltmarkRound {
    double listSeconds = 0; // reading the file and listing its games
    double listCpuSeconds = 0;
    double totalSeconds = 0; // that, and every move of every game
    size_t games = 0, moves = 0, unreadable = 0;
};

VeltmarkRound readEverything(const std::string& path) {
    VeltmarkRound round;
    const auto start = Clock::now();
    const double cpuStart = threadCpuSeconds();
    std::string error;
    const auto file = PgnFile::open(path, error);
    round.listSeconds = secondsSince(start);
    round.listCpuSeconds = threadCpuSeconds() - cpuStart;
    if (!file) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return round;
    }
    for (size_t i = 0; i < file->games().size(); ++i) {
        const auto game = file->readGame(i, error);
        ++round.games;
        if (game) {
            round.moves += game->moves.size();
        } else if (++round.unreadable <= 3) {
            std::fprintf(stderr, "%s\n", error.c_str());
        }
    }
    round.totalSeconds = secondsSince(start);
    return round;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

} // namespace

int pgnMakeCommand(const char* path, int games, unsigned seed) {
    std::ofstream out(path, std::ios::binary);
    std::mt19937 random(seed);
    for (int number = 0; number < games; ++number) {
        out << pgnText(benchGame(random, number));
    }
    out.close();
    if (!out) {
        std::fprintf(stderr, "cannot write %s\n", path);
        return 1;
    }
    std::printf("%d games written to %s\n", games, path);
    return 0;
}

int pgnSpeedCommand(const char* path, int rounds) {
    const std::string pgnExtract = findPgnExtract();
    if (pgnExtract.empty()) {
        std::fprintf(stderr, "pgn-extract is not installed (apt-get install pgn-extract)\n");
        return 2;
    }
    struct stat info {};
    ::stat(path, &info);
    std::vector<double> ours, theirs, listing, listingCpu;
    VeltmarkRound last;
    for (int round = 1; round <= rounds; ++round) {
        // Alternating, so that a machine busy with something else slows both alike.
        last = readEverything(path);
        if (last.games == 0) {
            return 1;
        }
        const auto start = Clock::now();
        // -r: every move checked, nothing written out.
        if (runQuietly({pgnExtract, "-r", "-s", path}) < 0) {
            std::fprintf(stderr, "%s could not be run\n", pgnExtract.c_str());
            return 1;
        }
        const double extractSeconds = secondsSince(start);
        ours.push_back(last.games / last.totalSeconds);
        theirs.push_back(last.games / extractSeconds);
        listing.push_back(last.listSeconds * 1000);
        listingCpu.push_back(last.listCpuSeconds * 1000);
        std::printf("round %d: veltmark %.3f s (%.0f games/s), pgn-extract -r %.3f s "
                    "(%.0f games/s); listing %.1f ms (processor %.1f ms)\n",
                    round, last.totalSeconds, ours.back(), extractSeconds, theirs.back(),
                    listing.back(), listingCpu.back());
        std::fflush(stdout);
    }
    std::printf("file %s: %.1f MB, %zu games, %zu moves, %zu unreadable\n", path,
                info.st_size / 1e6, last.games, last.moves, last.unreadable);
    std::printf("median games per second: veltmark %.0f, pgn-extract %.0f, ratio %.2f\n",
                median(ours), median(theirs), median(ours) / median(theirs));
    std::printf("median time to list every game (read the file, tags, move counts): %.1f ms, "
                "processor time %.1f ms\n",
                median(listing), median(listingCpu));
    return last.unreadable == 0 ? 0 : 1;
}
