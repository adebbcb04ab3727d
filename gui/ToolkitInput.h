#pragma once

#include <SDL.h>

#include <bitset>
#include <deque>
#include <optional>
#include <utility>

struct ImGuiIO;

// Where a mouse event happened; nothing for the other events.
std::optional<std::pair<int, int>> pointerOf(const SDL_Event& event);

// Hands SDL 1.2 input to the toolkit. The toolkit looks at button and key states once per frame,
// so a press and its release that arrive between two frames would never be seen: events are held
// here and passed on with at most one change of each button and each key per frame.
class ToolkitInput {
public:
    // Tells the toolkit which SDL keys are its navigation and editing keys.
    static void mapKeys(ImGuiIO& io);

    void hold(const SDL_Event& event);
    // While no window is shown: only where the mouse is, as this event says, if it says so.
    void keepOnlyPointer(const SDL_Event& event);
    // Where the mouse went, for a frame that something else asks for: the windows show
    // nothing that depends on it.
    void notePointer(int x, int y);
    // Passes on the held events that fit into the coming frame.
    void feedFrame(ImGuiIO& io);
    bool holding() const { return !held_.empty(); }

private:
    // False when the event changes a button or key already changed in this frame.
    bool feed(ImGuiIO& io, const SDL_Event& event);
    // Whether the key or button that this release lets go is down for the toolkit, or will be
    // once the held events are passed on.
    bool downForTheToolkit(const SDL_Event& up) const;

    std::deque<SDL_Event> held_;
    // A pointer noted while nothing was held: it goes before everything held after it.
    std::optional<std::pair<int, int>> notedPointer_;
    // Nothing more is fed in this frame.
    bool frameClosed_ = false;
    int framesToSkip_ = 0;
    std::bitset<3> buttonsChanged_;
    std::bitset<512> keysChanged_;
};
