#include "Settings.h"
#include "XBoardUserInterface.h"

#include <atomic>

// Lines come from the command loop, the engine turn and the search threads; each is written
// whole so that two of them never interleave.
void XBoardUserInterface::writeLine(const std::string& line) {
    std::lock_guard lock(outputLock_);
    out_ << line << std::endl;
}

void XBoardUserInterface::writeParameterError(const std::string& command,
                                              const std::string& argument) {
    writeLine("Error (parameter is missing or has an illegal value): " + command + " " + argument);
}

// The answer to "protover" 2 or higher; the options show their current values.
void XBoardUserInterface::writeFeatureLines() {
    writeLine("feature draw=0");
    writeLine("feature sigint=0");
    writeLine("feature analyze=0");
    writeLine("feature myname=\"Veltmark\"");
    writeLine("feature variants=\"normal\"");
    writeLine("feature name=0");
    writeLine("feature nps=0");
    writeLine("feature debug=1");
    writeLine("feature smp=1");
    writeLine(std::string("feature option=\"Static Exchange Evaluation -check ") +
              (settings.useSee ? "1" : "0") + "\"");
    writeLine(std::string("feature option=\"Announce when the game ends -check ") +
              (announceGameEnd() ? "1" : "0") + "\"");
    writeLine("feature done=1");
}

// The option command changes the flag while an engine turn may be reading it.
bool XBoardUserInterface::announceGameEnd() const {
    return std::atomic_ref<uint8_t>(settings.announceGameEnd).load() != 0;
}

void XBoardUserInterface::setAnnounceGameEnd(bool on) {
    std::atomic_ref<uint8_t>(settings.announceGameEnd).store(on ? 1 : 0);
}

void XBoardUserInterface::showError(std::string message) {
    writeLine("tellusererror " + message);
}

void XBoardUserInterface::showWarning(std::string message) {
    writeLine("telluser Warning: " + message);
}

void XBoardUserInterface::showInformation(std::string message) {
    writeLine("telluser Info:" + message);
}

void XBoardUserInterface::logMessage(std::string line) {
    if (debug_) {
        writeLine("# " + line);
    }
}

bool XBoardUserInterface::askYesNo(std::string question) {
    for (;;) {
        writeLine("askuser _answer " + question + " (y/n)");
        std::string reply;
        if (!readLine(reply)) {
            return false; // no answer can come any more
        }
        if (reply == "_answer y" || reply == "_answer Y") {
            return true;
        }
        if (reply == "_answer n" || reply == "_answer N") {
            return false;
        }
    }
}

int XBoardUserInterface::askPromotionPiece() {
    const int colour = game_.sideToMove == 1 ? 0 : BlackKing - WhiteKing;
    for (;;) {
        writeLine("askuser _answer Promote your pawn to a "
                  "Queen (Q), kNight (N), Rook (R) or Bishop (B)? (Q/N/R/B)");
        std::string reply;
        if (!std::getline(in_, reply)) {
            return WhiteQueen + colour; // no answer can come any more
        }
        if (reply.size() < 9 || reply.compare(0, 8, "_answer ") != 0) {
            continue;
        }
        switch (reply[8]) {
        case 'Q':
        case 'q':
            return WhiteQueen + colour;
        case 'N':
        case 'n':
            return WhiteKnight + colour;
        case 'R':
        case 'r':
            return WhiteRook + colour;
        case 'B':
        case 'b':
            return WhiteBishop + colour;
        default:
            break;
        }
    }
}

void XBoardUserInterface::reportSearchProgress(SearchReport report) {
    if (!post_) {
        return;
    }
    // Centipawns from the engine's side, which is the side to move while it thinks.
    int32_t score = report.score / 2;
    if (game_.sideToMove == 0) {
        score = -score;
    }
    writeLine(std::to_string(report.depth) + " " + std::to_string(score) + " " +
              std::to_string(report.elapsedMs / 10) + " " + std::to_string(report.nodes) + " " +
              report.bestMoveText);
}

void XBoardUserInterface::claimDraw() {
    game_.drawClaimed = true;
    // Stopped before the line goes out, so that a "go" answering it does not find the turn
    // still thinking.
    stopEngine();
    writeLine(std::string("1/2-1/2 {") + game_.gameEndReason() + "}");
}

bool XBoardUserInterface::reportResultIfOver() {
    if (!game_.hasNoLegalMoves()) {
        return false;
    }
    if (!announceGameEnd()) {
        return true;
    }
    if (game_.isBlackCheckmated()) {
        writeLine("1-0 {White has won}");
    } else if (game_.isWhiteCheckmated()) {
        writeLine("0-1 {Black has won}");
    } else {
        writeLine(std::string("1/2-1/2 {") + game_.gameEndReason() + "}");
    }
    return true;
}
