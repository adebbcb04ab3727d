#pragma once

// Loads the settings file into the settings record (or creates it), keeping it open for saves.
void loadSettings();
// Writes the settings record back to the open settings file.
void saveSettings();
