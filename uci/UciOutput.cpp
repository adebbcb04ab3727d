#include "InfoLine.h"
#include "UciUserInterface.h"

// Lines come from the command loop, the engine turn and the search threads; each is written
// whole so that two of them never interleave.
void UciUserInterface::writeLine(const std::string& line) {
    std::lock_guard lock(outputLock_);
    out_ << line << std::endl;
}

// The protocol has one way to tell the user anything: an "info string" line.
void UciUserInterface::showError(std::string message) {
    writeInfo(message);
}

void UciUserInterface::showWarning(std::string message) {
    writeInfo("Warning: " + message);
}

void UciUserInterface::showInformation(std::string message) {
    writeInfo(message);
}

void UciUserInterface::logMessage(std::string line) {
    if (debug_) {
        writeInfo(line);
    }
}

// Nothing in this face asks: moves come with their promotion letter, and the GUI owns the game.
bool UciUserInterface::askYesNo(std::string) {
    return false;
}

int UciUserInterface::askPromotionPiece() {
    return game_.sideToMove == 1 ? WhiteQueen : BlackQueen;
}

// The search's threads report while the turn runs, on the game the turn searches.
void UciUserInterface::reportSearchProgress(SearchReport report) {
    writeLine(infoLine(report, game_.sideToMove == 1));
}

// Draws are the GUI's to claim; the user learns why the engine scores the position as one.
void UciUserInterface::claimDraw() {
    writeInfo(std::string("A draw can be claimed: ") +
              (game_.halfmoveClock >= 100 ? "fifty-move rule" : "threefold repetition"));
}
