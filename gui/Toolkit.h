#pragma once

#include "ToolkitInput.h"

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The least room a modal window leaves between itself and the program window's edges.
inline constexpr float modalWindowMargin = 16.0f;
// The width of the buttons under a dialog's text.
inline constexpr float dialogButtonWidth = 110.0f;

// A window of the interface toolkit: message boxes, dialogs, the settings. Windows are plain
// objects: any thread may build, show and hide one while it holds the front-end's guiLock; only
// the rendering thread draws them, and their widgets' actions run there, inside a frame.
class ToolkitWindow {
public:
    explicit ToolkitWindow(std::string title);
    virtual ~ToolkitWindow() = default;
    ToolkitWindow(const ToolkitWindow&) = delete;
    ToolkitWindow& operator=(const ToolkitWindow&) = delete;

    const std::string& title() const { return title_; }
    void show();
    void hide() { shown_ = false; }
    bool isShown() const { return shown_; }
    // Asks the toolkit to destroy the window once the frame is drawn.
    void closeAndDestroy();
    bool destroyRequested() const { return destroyRequested_; }

    // A modal window takes all input while it is shown.
    bool modal = false;
    // The frame offers a close button (which runs closeRequested).
    bool closable = true;
    // A passive window leaves the board playable while it is shown: the game still gets the
    // input, except the presses on the window itself.
    bool passive = false;
    // Where the window appears and its size, in pixels from the top left corner; without a
    // size it appears in the middle, as large as its contents.
    struct Placement {
        float x = 0, y = 0, width = 0, height = 0;
    } placement;

    // The least width that shows the contents whole, in pixels; asked inside a frame, where the
    // font can measure texts.
    virtual float minimumWidth() const { return 0.0f; }
    // Draws the widgets and runs the actions of those that were used.
    virtual void drawContents() = 0;
    // Frames wanted while shown, input or not: a window that fills itself a part per frame.
    virtual bool wantsFrames() const { return false; }
    // The frame's close button, and Escape.
    virtual void closeRequested() { hide(); }
    // Enter.
    virtual void defaultAction() {}

private:
    friend class Toolkit;
    struct Rect {
        float x = 0, y = 0, w = 0, h = 0;
    };
    std::string title_;
    // Where the last frame drew the window; empty before its first.
    Rect drawnAt_;
    // The toolkit tells windows apart by this, so that two with one title stay two.
    std::string key_;
    bool shown_ = false;
    bool takeFocus_ = false;
    bool destroyRequested_ = false;
};

// The interface toolkit: the windows and the frame that draws them over the scene. Started and
// stopped on the rendering thread; the window list is guarded by the front-end's guiLock.
class Toolkit {
public:
    Toolkit();
    ~Toolkit();
    Toolkit(const Toolkit&) = delete;
    Toolkit& operator=(const Toolkit&) = delete;

    // Once the OpenGL window exists. The font is rasterised at the given pixel height.
    bool start(const std::string& fontPath, std::string& error);
    // Destroys every window; later calls to detach do nothing.
    void stop();
    bool isRunning() const { return running_; }

    // Input for the windows. False when the event asks the application to end.
    bool takeEvent(const SDL_Event& event);
    // Draws every shown window as the last layer of the frame; guiLock held.
    void drawWindows(int width, int height);
    // After input, and when a window opens, the toolkit needs a few frames to act on it and
    // show the result; none while no window is on the screen.
    bool wantsMoreFrames() const;

    // The list owns its windows. guiLock held.
    ToolkitWindow* attach(std::unique_ptr<ToolkitWindow> window);
    void detach(ToolkitWindow* window);
    bool anyWindowShown() const;
    // Whether the event must not reach the board: a window other than a passive one is shown,
    // or the event is a press on a passive one. guiLock held.
    bool keepsFromBoard(const SDL_Event& event) const;
    const std::vector<std::unique_ptr<ToolkitWindow>>& windows() const { return windows_; }

private:
    void drawWindow(ToolkitWindow& window, bool takesInput, int width, int height);
    // Whether a mouse event at (x, y), and the mouse before it, are away from every window while
    // only passive ones are shown and none of their widgets is in use: the windows then show
    // nothing that depends on it.
    bool awayFromWindows(int x, int y) const;
    void placeModal(ToolkitWindow& window, int height);

    std::vector<std::unique_ptr<ToolkitWindow>> windows_;
    ToolkitInput input_;
    bool running_ = false;
    int settleFrames_ = 0;
    // Where the last mouse event was.
    int pointerX_ = -1, pointerY_ = -1;
    // Some window was drawn in the last frame.
    bool windowsDrawn_ = false;
    uint32_t lastFrameTicks_ = 0;
    unsigned nextKey_ = 0;
    // During drawWindows: the window that Enter and Escape act on, and the modal window drawn
    // last, below which the next one is placed.
    const ToolkitWindow* keyTarget_ = nullptr;
    const ToolkitWindow* previousModal_ = nullptr;
};
