#pragma once

#include "Assets.h"
#include "UserInterface.h"

// The graphical face. This version finds and loads its data files (font, models, board image)
// as the window needs them; the window itself is not part of this version yet, so run() reports
// that and ends as a start failure.
class SDLUserInterface : public UserInterface {
public:
    // Loads the assets; a data file found nowhere or unreadable stops the program with a
    // message naming it.
    SDLUserInterface();

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

private:
    GuiAssets assets_;
};
