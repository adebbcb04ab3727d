#include "EntryPoint.h"

#include "Fen.h"
#include "SDLUserInterface.h"
#include "Settings.h"
#include "UciUserInterface.h"
#include "UserInterface.h"
#include "XBoardUserInterface.h"

#include <csignal>
#include <cstring>
#include <iostream>
#include <string_view>

bool hasOption(int argc, char** argv, const char* option) {
    for (int i = 0; i < argc; ++i) {
        if (argv[i] != nullptr && std::strcmp(argv[i], option) == 0) {
            return true;
        }
    }
    return false;
}

namespace {

constexpr const char* usage =
    "Usage: veltmark [--log] [--settings-to-home-directory] [FILE.pgn | --fen FEN]\n"
    "       veltmark --xboard\n"
    "       veltmark --uci\n"
    "Plays chess on a 3D board, or runs as an engine for xboard-protocol or UCI chess\n"
    "GUIs.\n"
    "\n"
    "  --xboard       run as an xboard-protocol engine on standard input and output\n"
    "                 instead of opening the window\n"
    "  --uci          run as a UCI engine on standard input and output instead of\n"
    "                 opening the window (--xboard wins if both are given)\n"
    "  --log          window: write the engine's progress to Veltmark.log\n"
    "  --settings-to-home-directory\n"
    "                 window: keep settings.dat in the configuration directory\n"
    "                 instead of the working directory\n"
    "  FILE.pgn       window: offer the games of the file, one of which is chosen\n"
    "                 to go on with (a file of one game opens it at once)\n"
    "  --fen FEN      window: start from the position in Forsyth-Edwards notation\n"
    "  --help         print this help and exit\n"
    "  --version      print the version and exit\n"
    "\n"
    "In the window the M key shows the moves of the game and G the games to open;\n"
    "Page Up, Page Down, Home and End step through the moves. Every game is appended\n"
    "to games.pgn in $XDG_DATA_HOME/veltmark/ (else ~/.local/share/veltmark/); the\n"
    "game in progress is kept there in current-game.pgn, to be continued.\n";

} // namespace

bool readWindowStart(int argc, char** argv, WindowStart& start, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i] != nullptr ? argv[i] : "";
        if (argument == "--fen") {
            if (i + 1 >= argc || argv[i + 1] == nullptr) {
                error = "--fen needs a position in Forsyth-Edwards notation, in quotes";
                return false;
            }
            try {
                start.position = readFen(argv[++i]);
            } catch (const InvalidFenException& problem) {
                error =
                    std::string("the position given with --fen cannot be read: ") + problem.what();
                return false;
            }
        } else if (!argument.empty() && argument[0] != '-' && !start.file) {
            start.file = std::string(argument);
        }
    }
    if (start.file && start.position) {
        error = "a PGN file and --fen cannot be given together: which game should start?";
        return false;
    }
    return true;
}

int runVeltmark(int argc, char** argv) {
    // Answered before anything starts: a GUI that probes the engine, or a user who asks, gets
    // text and an exit, never a window.
    if (hasOption(argc, argv, "--help")) {
        std::cout << usage;
        return 0;
    }
    if (hasOption(argc, argv, "--version")) {
        std::cout << "veltmark " << VELTMARK_VERSION << "\n";
        return 0;
    }
    settings = defaultSettings();
    if (hasOption(argc, argv, "--xboard")) {
        if (theUserInterface == nullptr) {
            auto* xboard = new XBoardUserInterface();
            theUserInterface = xboard;
            return xboard->run();
        }
        return 0;
    }
    if (hasOption(argc, argv, "--uci")) {
        if (theUserInterface == nullptr) {
            auto* uci = new UciUserInterface(VELTMARK_VERSION);
            theUserInterface = uci;
            return uci->run();
        }
        return 0;
    }
    // Past a file size limit a write then fails like one on a full disk: the file is left as it
    // was and the user warned, instead of the program being killed in the middle of the write.
    std::signal(SIGXFSZ, SIG_IGN);
    WindowStart start;
    std::string problem;
    if (!readWindowStart(argc, argv, start, problem)) {
        std::cerr << "veltmark: " << problem << "\n";
        return 2;
    }
    auto* window = new SDLUserInterface();
    theUserInterface = window;
    if (hasOption(argc, argv, "--log")) {
        window->enableLog();
    }
    if (hasOption(argc, argv, "--settings-to-home-directory")) {
        settingsInHomeDirectory = true;
    }
    if (start.file) {
        window->offerGamesOf(*start.file);
    }
    if (start.position) {
        window->startFrom(*start.position);
    }
    return window->run();
}
