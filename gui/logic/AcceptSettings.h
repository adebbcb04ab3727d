#pragma once

#include "Settings.h"
#include "SettingsForm.h"

// What accepting the settings asks of the rest of the program.
class SettingsActions {
public:
    virtual ~SettingsActions() = default;
    virtual void stopEngineTurn() = 0;
    virtual void resizeSearchPool(int threads) = 0;
    virtual void saveSettings() = 0;
    virtual void updateUndoRedoButtons() = 0;
    virtual void orientKnights() = 0;
};

// Whether the form differs from the record in something that a running search uses: the
// players, the thinking time (by more than a millisecond), the depth limit, SEE, the threads.
bool changesEngine(const SettingsForm& form, const Settings& record);

// "OK" of the "Settings" window: stops a search that the change concerns, stores the form into
// the record, resizes the search pool when the thread count changed, saves, refreshes the
// buttons and the knights, and shows the stored record in the form again.
void acceptSettings(SettingsForm& form, Settings& record, SettingsActions& actions);
