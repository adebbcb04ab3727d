#pragma once

#include <SDL.h>

#include <cstdint>

// The handlers that window events are dispatched to. Every handler does nothing by default; the
// front-end overrides those it reacts to.
class SDLUserInterfaceEvent {
public:
    virtual ~SDLUserInterfaceEvent() = default;

    // Calls the handler for the event's type.
    virtual void dispatchEvent(const SDL_Event& event);

    virtual void inputFocusGained() {}
    virtual void inputFocusLost() {}
    virtual void keyPressed(SDLKey, SDLMod, uint16_t /*unicode*/) {}
    virtual void keyReleased(SDLKey, SDLMod, uint16_t /*unicode*/) {}
    virtual void mouseFocusGained() {}
    virtual void mouseFocusLost() {}
    virtual void mouseMoved(int /*x*/, int /*y*/, int /*dx*/, int /*dy*/, bool /*left*/,
                            bool /*right*/, bool /*middle*/) {}
    virtual void wheelTurned(bool /*up*/, bool /*down*/) {}
    virtual void leftButtonPressed(int /*x*/, int /*y*/) {}
    virtual void leftButtonReleased(int /*x*/, int /*y*/) {}
    virtual void rightButtonPressed(int /*x*/, int /*y*/) {}
    virtual void rightButtonReleased(int /*x*/, int /*y*/) {}
    virtual void middleButtonPressed(int /*x*/, int /*y*/) {}
    virtual void middleButtonReleased(int /*x*/, int /*y*/) {}
    virtual void joystickAxisMoved(int /*device*/, int /*axis*/, int /*value*/) {}
    virtual void joystickButtonPressed(int /*device*/, int /*button*/) {}
    virtual void joystickButtonReleased(int /*device*/, int /*button*/) {}
    virtual void joystickHatMoved(int /*device*/, int /*hat*/, int /*value*/) {}
    virtual void joystickBallMoved(int /*device*/, int /*ball*/, int /*dx*/, int /*dy*/) {}
    virtual void windowMinimized() {}
    virtual void windowRestored() {}
    virtual void windowResized(int /*width*/, int /*height*/) {}
    virtual void windowExposed() {}
    virtual void quitRequested() {}
    virtual void userEvent(int /*type*/, int /*code*/, void* /*data1*/, void* /*data2*/) {}
};
