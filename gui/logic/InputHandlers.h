#pragma once

#include "InputEvent.h"

#include <cstdint>

// The handlers that window input is dispatched to. Every handler does nothing by default; the
// front-end overrides those it reacts to.
class InputHandlers {
public:
    virtual ~InputHandlers() = default;

    // Calls the handler for the event's type.
    void dispatchEvent(const InputEvent& event);

    virtual void keyPressed(Key, Modifiers, uint16_t /*unicode*/) {}
    virtual void keyReleased(Key, Modifiers, uint16_t /*unicode*/) {}
    virtual void mouseMoved(int /*x*/, int /*y*/, int /*dx*/, int /*dy*/, bool /*left*/,
                            bool /*right*/, bool /*middle*/) {}
    virtual void wheelTurned(bool /*up*/, bool /*down*/) {}
    virtual void leftButtonPressed(int /*x*/, int /*y*/) {}
    virtual void leftButtonReleased(int /*x*/, int /*y*/) {}
    virtual void rightButtonPressed(int /*x*/, int /*y*/) {}
    virtual void rightButtonReleased(int /*x*/, int /*y*/) {}
    virtual void middleButtonPressed(int /*x*/, int /*y*/) {}
    virtual void middleButtonReleased(int /*x*/, int /*y*/) {}
    virtual void windowResized(int /*width*/, int /*height*/) {}
    virtual void quitRequested() {}
};
