#pragma once

#include "Toolkit.h"

#include <mutex>

class SDLUserInterface;

// The "Settings" window: edits the settings record and saves it when accepted with "OK";
// "Cancel" and closing the window drop the edits.
class SettingsDialog : public ToolkitWindow {
public:
    SettingsDialog(SDLUserInterface& frontEnd, std::recursive_mutex& guiLock);

    void drawContents() override;
    void closeRequested() override { load(); }
    void defaultAction() override { accept(); }

    // Copies the settings record into the widgets and hides the window.
    void load();
    // Applies the widgets to the settings record, saves it and hides the window.
    void accept();

private:
    SDLUserInterface& frontEnd_;
    std::recursive_mutex* guiLock_;
};
