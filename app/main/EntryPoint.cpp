#include "EntryPoint.h"

#include "SDLUserInterface.h"
#include "Settings.h"
#include "UciUserInterface.h"
#include "UserInterface.h"
#include "XBoardUserInterface.h"

#include <csignal>
#include <cstring>
#include <iostream>

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
    "Usage: veltmark [--log] [--settings-to-home-directory]\n"
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
    "  --help         print this help and exit\n"
    "  --version      print the version and exit\n"
    "\n"
    "In the window the M key shows the moves of the game. Every game is appended to\n"
    "games.pgn in $XDG_DATA_HOME/veltmark/ (else ~/.local/share/veltmark/).\n";

} // namespace

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
    auto* window = new SDLUserInterface();
    theUserInterface = window;
    if (hasOption(argc, argv, "--log")) {
        window->enableLog();
    }
    if (hasOption(argc, argv, "--settings-to-home-directory")) {
        settingsInHomeDirectory = true;
    }
    return window->run();
}
