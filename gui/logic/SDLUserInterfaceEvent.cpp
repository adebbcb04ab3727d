#include "SDLUserInterfaceEvent.h"

namespace {

void dispatchButton(SDLUserInterfaceEvent& handler, const SDL_MouseButtonEvent& button,
                    bool pressed) {
    const int x = button.x;
    const int y = button.y;
    switch (button.button) {
    case SDL_BUTTON_LEFT:
        pressed ? handler.leftButtonPressed(x, y) : handler.leftButtonReleased(x, y);
        break;
    case SDL_BUTTON_MIDDLE:
        pressed ? handler.middleButtonPressed(x, y) : handler.middleButtonReleased(x, y);
        break;
    case SDL_BUTTON_RIGHT:
        pressed ? handler.rightButtonPressed(x, y) : handler.rightButtonReleased(x, y);
        break;
    case SDL_BUTTON_WHEELUP:
        // A wheel step comes as a press and a release; only the press turns the wheel.
        if (pressed) {
            handler.wheelTurned(true, false);
        }
        break;
    case SDL_BUTTON_WHEELDOWN:
        if (pressed) {
            handler.wheelTurned(false, true);
        }
        break;
    default:
        break;
    }
}

void dispatchActive(SDLUserInterfaceEvent& handler, const SDL_ActiveEvent& active) {
    // One event may carry several states; each is reported on its own.
    if (active.state & SDL_APPMOUSEFOCUS) {
        active.gain ? handler.mouseFocusGained() : handler.mouseFocusLost();
    }
    if (active.state & SDL_APPINPUTFOCUS) {
        active.gain ? handler.inputFocusGained() : handler.inputFocusLost();
    }
    if (active.state & SDL_APPACTIVE) {
        active.gain ? handler.windowRestored() : handler.windowMinimized();
    }
}

} // namespace

void SDLUserInterfaceEvent::dispatchEvent(const SDL_Event& event) {
    switch (event.type) {
    case SDL_ACTIVEEVENT:
        dispatchActive(*this, event.active);
        break;
    case SDL_KEYDOWN:
        keyPressed(event.key.keysym.sym, event.key.keysym.mod, event.key.keysym.unicode);
        break;
    case SDL_KEYUP:
        keyReleased(event.key.keysym.sym, event.key.keysym.mod, event.key.keysym.unicode);
        break;
    case SDL_MOUSEMOTION: {
        const SDL_MouseMotionEvent& m = event.motion;
        mouseMoved(m.x, m.y, m.xrel, m.yrel, (m.state & SDL_BUTTON(SDL_BUTTON_LEFT)) != 0,
                   (m.state & SDL_BUTTON(SDL_BUTTON_RIGHT)) != 0,
                   (m.state & SDL_BUTTON(SDL_BUTTON_MIDDLE)) != 0);
        break;
    }
    case SDL_MOUSEBUTTONDOWN:
        dispatchButton(*this, event.button, true);
        break;
    case SDL_MOUSEBUTTONUP:
        dispatchButton(*this, event.button, false);
        break;
    case SDL_JOYAXISMOTION:
        joystickAxisMoved(event.jaxis.which, event.jaxis.axis, event.jaxis.value);
        break;
    case SDL_JOYBUTTONDOWN:
        joystickButtonPressed(event.jbutton.which, event.jbutton.button);
        break;
    case SDL_JOYBUTTONUP:
        joystickButtonReleased(event.jbutton.which, event.jbutton.button);
        break;
    case SDL_JOYHATMOTION:
        joystickHatMoved(event.jhat.which, event.jhat.hat, event.jhat.value);
        break;
    case SDL_JOYBALLMOTION:
        joystickBallMoved(event.jball.which, event.jball.ball, event.jball.xrel, event.jball.yrel);
        break;
    case SDL_VIDEORESIZE:
        windowResized(event.resize.w, event.resize.h);
        break;
    case SDL_VIDEOEXPOSE:
        windowExposed();
        break;
    case SDL_QUIT:
        quitRequested();
        break;
    case SDL_SYSWMEVENT:
        break;
    default:
        userEvent(event.user.type, event.user.code, event.user.data1, event.user.data2);
        break;
    }
}
