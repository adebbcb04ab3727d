#pragma once

#include "UserInterface.h"

// Placeholder until the xboard face is built: reports that it is missing.
class XBoardUserInterface : public UserInterface {
public:
    int run();

    void showError(std::string message) override;
    void showWarning(std::string message) override;
    void showInformation(std::string message) override;
    void logMessage(std::string line) override;
    bool askYesNo(std::string question) override;
    int askPromotionPiece() override;
    void reportSearchProgress(SearchReport report) override;
    void claimDraw() override;
};
