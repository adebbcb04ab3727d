#include "SDLUserInterface.h"

#include <iostream>

SDLUserInterface::SDLUserInterface() : assets_(loadAssetsOrStop()) {}

int SDLUserInterface::run() {
    std::cerr << "veltmark: the window is not available in this version; "
                 "start with --xboard to use the engine from a chess GUI\n";
    return -1;
}

// Until the window exists, messages go to the terminal.
void SDLUserInterface::showError(std::string message) {
    std::cerr << "Error: " << message << '\n';
}
void SDLUserInterface::showWarning(std::string message) {
    std::cerr << "Warning: " << message << '\n';
}
void SDLUserInterface::showInformation(std::string message) {
    std::cerr << "Information: " << message << '\n';
}
void SDLUserInterface::logMessage(std::string) {}
bool SDLUserInterface::askYesNo(std::string) {
    return false;
}
int SDLUserInterface::askPromotionPiece() {
    return 0;
}
void SDLUserInterface::reportSearchProgress(SearchReport) {}
void SDLUserInterface::claimDraw() {}
