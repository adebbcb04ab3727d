#pragma once

#include <cstdint>

// The window's input as the game sees it, free of the platform's types: gui/ translates the
// platform's events into these.

// A key by the code the keyboard reports: a printable key by its lower-case character. Only
// the keys that the game names are listed; any other code passes through unnamed.
enum class Key : uint16_t {
    Unknown = 0,
    Return = 13,
    Escape = 27,
    G = 'g',
    H = 'h',
    M = 'm',
    N = 'n',
    S = 's',
    Up = 273,
    Down = 274,
    Right = 275,
    Left = 276,
    Home = 278,
    End = 279,
    PageUp = 280,
    PageDown = 281,
};

// The modifier keys held, one bit each.
using Modifiers = uint16_t;
enum Modifier : Modifiers {
    NoModifier = 0,
    LeftShift = 0x0001,
    RightShift = 0x0002,
    LeftControl = 0x0040,
    RightControl = 0x0080,
    LeftAlt = 0x0100,
    RightAlt = 0x0200,
    LeftMeta = 0x0400,
    RightMeta = 0x0800,
    NumLock = 0x1000,
    CapsLock = 0x2000,
    ModeSwitch = 0x4000,
};

// The wheel comes as buttons: one press and one release for each step.
enum class MouseButton : uint8_t {
    None = 0,
    Left = 1,
    Middle = 2,
    Right = 3,
    WheelUp = 4,
    WheelDown = 5,
};

struct InputEvent {
    enum class Type : uint8_t {
        // Input that the game does not react to (focus, exposure, the renderer's wake-ups).
        Other,
        KeyDown,
        KeyUp,
        PointerMoved,
        ButtonDown,
        ButtonUp,
        WindowResized,
        QuitRequested,
    };
    Type type = Type::Other;

    Key key = Key::Unknown;
    Modifiers modifiers = NoModifier;
    uint16_t unicode = 0; // the character the key typed, 0 for none

    // The pointer, in window pixels from the top left; for a move also how far it went and
    // which buttons are held.
    int x = 0, y = 0;
    int dx = 0, dy = 0;
    bool leftHeld = false, middleHeld = false, rightHeld = false;
    MouseButton button = MouseButton::None;

    // The window's new size.
    int width = 0, height = 0;
};
