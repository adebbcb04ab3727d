#include "SDLInputTranslation.h"

namespace {

// The game's keys, modifiers and buttons carry SDL's numbers, so that every key passes through
// as it came, named by the game or not.
template <typename Ours, typename Theirs> constexpr bool sameNumber(Ours ours, Theirs theirs) {
    return static_cast<int>(ours) == static_cast<int>(theirs);
}
static_assert(sameNumber(Key::Return, SDLK_RETURN));
static_assert(sameNumber(Key::Escape, SDLK_ESCAPE));
static_assert(sameNumber(Key::G, SDLK_g));
static_assert(sameNumber(Key::H, SDLK_h));
static_assert(sameNumber(Key::M, SDLK_m));
static_assert(sameNumber(Key::N, SDLK_n));
static_assert(sameNumber(Key::S, SDLK_s));
static_assert(sameNumber(Key::Up, SDLK_UP));
static_assert(sameNumber(Key::Down, SDLK_DOWN));
static_assert(sameNumber(Key::Right, SDLK_RIGHT));
static_assert(sameNumber(Key::Left, SDLK_LEFT));
static_assert(sameNumber(Key::Home, SDLK_HOME));
static_assert(sameNumber(Key::End, SDLK_END));
static_assert(sameNumber(Key::PageUp, SDLK_PAGEUP));
static_assert(sameNumber(Key::PageDown, SDLK_PAGEDOWN));
static_assert(sameNumber(LeftShift, KMOD_LSHIFT));
static_assert(sameNumber(RightShift, KMOD_RSHIFT));
static_assert(sameNumber(LeftControl, KMOD_LCTRL));
static_assert(sameNumber(RightControl, KMOD_RCTRL));
static_assert(sameNumber(LeftAlt, KMOD_LALT));
static_assert(sameNumber(RightAlt, KMOD_RALT));
static_assert(sameNumber(LeftMeta, KMOD_LMETA));
static_assert(sameNumber(RightMeta, KMOD_RMETA));
static_assert(sameNumber(NumLock, KMOD_NUM));
static_assert(sameNumber(CapsLock, KMOD_CAPS));
static_assert(sameNumber(ModeSwitch, KMOD_MODE));
static_assert(sameNumber(MouseButton::Left, SDL_BUTTON_LEFT));
static_assert(sameNumber(MouseButton::Middle, SDL_BUTTON_MIDDLE));
static_assert(sameNumber(MouseButton::Right, SDL_BUTTON_RIGHT));
static_assert(sameNumber(MouseButton::WheelUp, SDL_BUTTON_WHEELUP));
static_assert(sameNumber(MouseButton::WheelDown, SDL_BUTTON_WHEELDOWN));

InputEvent keyEvent(InputEvent::Type type, const SDL_keysym& keysym) {
    InputEvent event;
    event.type = type;
    event.key = static_cast<Key>(keysym.sym);
    event.modifiers = static_cast<Modifiers>(keysym.mod);
    event.unicode = keysym.unicode;
    return event;
}

InputEvent buttonEvent(InputEvent::Type type, const SDL_MouseButtonEvent& button) {
    InputEvent event;
    event.type = type;
    event.x = button.x;
    event.y = button.y;
    event.button = static_cast<MouseButton>(button.button);
    return event;
}

} // namespace

InputEvent inputEventFrom(const SDL_Event& sdl) {
    InputEvent event;
    switch (sdl.type) {
    case SDL_KEYDOWN:
        return keyEvent(InputEvent::Type::KeyDown, sdl.key.keysym);
    case SDL_KEYUP:
        return keyEvent(InputEvent::Type::KeyUp, sdl.key.keysym);
    case SDL_MOUSEMOTION:
        event.type = InputEvent::Type::PointerMoved;
        event.x = sdl.motion.x;
        event.y = sdl.motion.y;
        event.dx = sdl.motion.xrel;
        event.dy = sdl.motion.yrel;
        event.leftHeld = (sdl.motion.state & SDL_BUTTON(SDL_BUTTON_LEFT)) != 0;
        event.middleHeld = (sdl.motion.state & SDL_BUTTON(SDL_BUTTON_MIDDLE)) != 0;
        event.rightHeld = (sdl.motion.state & SDL_BUTTON(SDL_BUTTON_RIGHT)) != 0;
        return event;
    case SDL_MOUSEBUTTONDOWN:
        return buttonEvent(InputEvent::Type::ButtonDown, sdl.button);
    case SDL_MOUSEBUTTONUP:
        return buttonEvent(InputEvent::Type::ButtonUp, sdl.button);
    case SDL_VIDEORESIZE:
        event.type = InputEvent::Type::WindowResized;
        event.width = sdl.resize.w;
        event.height = sdl.resize.h;
        return event;
    case SDL_QUIT:
        event.type = InputEvent::Type::QuitRequested;
        return event;
    default:
        return event;
    }
}
