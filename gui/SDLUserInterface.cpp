#include "SDLUserInterface.h"

#include <iostream>

int SDLUserInterface::run() {
    std::cerr << "veltmark: the graphical face is not built yet\n";
    return 1;
}

void SDLUserInterface::showError(std::string message) { std::cout << "tellusererror " << message << std::endl; }
void SDLUserInterface::showWarning(std::string message) { std::cout << "telluser Warning: " << message << std::endl; }
void SDLUserInterface::showInformation(std::string message) { std::cout << "telluser Info:" << message << std::endl; }
void SDLUserInterface::logMessage(std::string) {}
bool SDLUserInterface::askYesNo(std::string) { return false; }
int SDLUserInterface::askPromotionPiece() { return 0; }
void SDLUserInterface::reportSearchProgress(SearchReport) {}
void SDLUserInterface::claimDraw() {}
