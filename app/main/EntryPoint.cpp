#include "EntryPoint.h"

#include "SDLUserInterface.h"
#include "Settings.h"
#include "UserInterface.h"
#include "XBoardUserInterface.h"

#include <cstring>

bool hasOption(int argc, char** argv, const char* option) {
    for (int i = 0; i < argc; ++i) {
        if (argv[i] != nullptr && std::strcmp(argv[i], option) == 0) {
            return true;
        }
    }
    return false;
}

int runVeltmark(int argc, char** argv) {
    settings = defaultSettings();
    if (hasOption(argc, argv, "--xboard")) {
        if (theUserInterface == nullptr) {
            auto* xboard = new XBoardUserInterface();
            theUserInterface = xboard;
            return xboard->run();
        }
        return 0;
    }
    auto* window = new SDLUserInterface();
    theUserInterface = window;
    if (hasOption(argc, argv, "--log")) {
        window->logEnabled = true;
    }
    if (hasOption(argc, argv, "--settings-to-home-directory")) {
        settingsInHomeDirectory = true;
    }
    return window->run();
}
