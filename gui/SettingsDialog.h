#pragma once

#include "AcceptSettings.h"
#include "PixelTexture.h"
#include "SettingsForm.h"
#include "Toolkit.h"

#include <functional>
#include <mutex>

class ColorWindow;

// The "Settings" window: edits the settings record and saves it when accepted with "OK";
// "Cancel" and closing the window drop the edits. Its actions run on the rendering thread inside
// a frame, which holds sceneLock and guiLock.
class SettingsDialog : public ToolkitWindow {
public:
    // The toolkit that the dialog belongs to and its lock, where the colour windows go; what
    // accepting asks of the front-end; and how the front-end is told that the dialog closed, the
    // settings changed or not.
    SettingsDialog(Toolkit& toolkit, std::recursive_mutex& guiLock, SettingsActions& frontEnd,
                   std::function<void()> closed);

    void drawContents() override;
    void closeRequested() override { cancel(); }
    void defaultAction() override { accept(); }

private:
    // Copies the settings record into the widgets and hides the window.
    void load();
    // Applies the widgets to the settings record, saves it and hides the window.
    void accept();
    // Drops the edits and hides the window.
    void cancel();
    void drawGeneralTab();
    void drawEngineTab();
    void drawGraphicsTab();
    void colorRow(const char* label, bool forWhitePieces);
    // A numeric field; what was typed is brought into range when editing ends.
    void numericField(const char* id, double& value, FieldRange range, double& valueBefore);
    // "Change...": the colour window of one side's pieces.
    void openColorWindow(bool forWhitePieces);
    void closeColorWindow();

    Toolkit& toolkit_;
    std::recursive_mutex& guiLock_;
    SettingsActions& frontEnd_;
    std::function<void()> closed_;
    // The widgets' values and the working copies of the reflectivity and the colours.
    SettingsForm form;
    double sliderMin = 0.0;
    double sliderMax = 1.0;
    PixelTexture whiteSwatchPixmap;
    PixelTexture blackSwatchPixmap;
    // The colour window open now, if any; it belongs to the toolkit's window list.
    ColorWindow* colorWindow = nullptr;
    // Each field's value when its editing began.
    double thinkBefore_ = 0.0;
    double depthBefore_ = 0.0;
    double threadsBefore_ = 0.0;
};
