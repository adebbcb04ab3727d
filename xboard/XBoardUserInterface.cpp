#include "XBoardUserInterface.h"

#include <iostream>

int XBoardUserInterface::run() {
    std::cerr << "veltmark: the xboard face is not built yet\n";
    return 1;
}

void XBoardUserInterface::showError(std::string message) { std::cout << "tellusererror " << message << std::endl; }
void XBoardUserInterface::showWarning(std::string message) { std::cout << "telluser Warning: " << message << std::endl; }
void XBoardUserInterface::showInformation(std::string message) { std::cout << "telluser Info:" << message << std::endl; }
void XBoardUserInterface::logMessage(std::string) {}
bool XBoardUserInterface::askYesNo(std::string) { return false; }
int XBoardUserInterface::askPromotionPiece() { return 0; }
void XBoardUserInterface::reportSearchProgress(SearchReport) {}
void XBoardUserInterface::claimDraw() {}
