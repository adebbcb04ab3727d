#include "InputHandlers.h"

namespace {

void dispatchButton(InputHandlers& handler, const InputEvent& event, bool pressed) {
    const int x = event.x;
    const int y = event.y;
    switch (event.button) {
    case MouseButton::Left:
        pressed ? handler.leftButtonPressed(x, y) : handler.leftButtonReleased(x, y);
        break;
    case MouseButton::Middle:
        pressed ? handler.middleButtonPressed(x, y) : handler.middleButtonReleased(x, y);
        break;
    case MouseButton::Right:
        pressed ? handler.rightButtonPressed(x, y) : handler.rightButtonReleased(x, y);
        break;
    case MouseButton::WheelUp:
        // A wheel step comes as a press and a release; only the press turns the wheel.
        if (pressed) {
            handler.wheelTurned(true, false);
        }
        break;
    case MouseButton::WheelDown:
        if (pressed) {
            handler.wheelTurned(false, true);
        }
        break;
    default:
        break;
    }
}

} // namespace

void InputHandlers::dispatchEvent(const InputEvent& event) {
    switch (event.type) {
    case InputEvent::Type::KeyDown:
        keyPressed(event.key, event.modifiers, event.unicode);
        break;
    case InputEvent::Type::KeyUp:
        keyReleased(event.key, event.modifiers, event.unicode);
        break;
    case InputEvent::Type::PointerMoved:
        mouseMoved(event.x, event.y, event.dx, event.dy, event.leftHeld, event.rightHeld,
                   event.middleHeld);
        break;
    case InputEvent::Type::ButtonDown:
        dispatchButton(*this, event, true);
        break;
    case InputEvent::Type::ButtonUp:
        dispatchButton(*this, event, false);
        break;
    case InputEvent::Type::WindowResized:
        windowResized(event.width, event.height);
        break;
    case InputEvent::Type::QuitRequested:
        quitRequested();
        break;
    case InputEvent::Type::Other:
        break;
    }
}
