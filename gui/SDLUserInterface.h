#pragma once

#include "UserInterface.h"

// Placeholder until the graphical face is built: reports that it is missing.
class SDLUserInterface : public UserInterface {
public:
    int run();

    bool logEnabled = false;

    void showError(std::string message) override;
    void showWarning(std::string message) override;
    void showInformation(std::string message) override;
    void logMessage(std::string line) override;
    bool askYesNo(std::string question) override;
    int askPromotionPiece() override;
    void reportSearchProgress(SearchReport report) override;
    void claimDraw() override;
};
