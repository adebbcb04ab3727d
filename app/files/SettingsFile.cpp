#include "SettingsFile.h"
void loadSettings() {}
void saveSettings() {}
