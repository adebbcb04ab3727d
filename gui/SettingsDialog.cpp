#include "SettingsDialog.h"

#include "SDLUserInterface.h"
#include "SettingsFile.h"

#include <imgui.h>

SettingsDialog::SettingsDialog(SDLUserInterface& frontEnd, std::recursive_mutex& guiLock)
    : ToolkitWindow("Settings"), frontEnd_(frontEnd), guiLock_(&guiLock) {
    load();
}

void SettingsDialog::load() {
    hide();
}

void SettingsDialog::accept() {
    saveSettings();
    frontEnd_.updateUndoRedoButtons();
    frontEnd_.orientKnights();
    load();
}

void SettingsDialog::drawContents() {
    ImGui::Spacing();
    if (ImGui::Button("OK", ImVec2(110, 0))) {
        accept();
    }
    ImGui::SameLine();
    if (ImGui::Button("Cancel", ImVec2(110, 0))) {
        load();
    }
}
