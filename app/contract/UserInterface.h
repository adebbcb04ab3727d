#pragma once

#include <cstdint>
#include <string>

// One progress report of the search, handed to the front-end by value.
struct SearchReport {
    int32_t depth = 0;
    int32_t score = 0; // White's point of view, pawn = 200
    int32_t elapsedMs = 0;
    uint64_t nodes = 0;
    std::string bestMoveText;
};

// The only way the rules, the engine and the settings file reach the user. Both front-ends
// implement it; any thread may call any operation.
class UserInterface {
public:
    virtual void showError(std::string message) = 0;
    virtual void showWarning(std::string message) = 0;
    virtual void showInformation(std::string message) = 0;
    virtual void logMessage(std::string line) = 0;
    virtual bool askYesNo(std::string question) = 0;
    // A piece code (see rules' Piece) in the colour of the side to move.
    virtual int askPromotionPiece() = 0;
    virtual void reportSearchProgress(SearchReport report) = 0;
    virtual void claimDraw() = 0;

protected:
    // The front-end lives until the process ends and is never deleted through this type.
    ~UserInterface() = default;
};

// The active front-end; set once by the entry point, never cleared.
// Shared between threads: the README's "Shared state" says who writes it and what guards it.
extern UserInterface* theUserInterface;
