#include "ToolkitInput.h"

#include <imgui.h>

#include <algorithm>
#include <cfloat>

namespace {

SDL_Event motionTo(int x, int y) {
    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.x = static_cast<Uint16>(x);
    motion.motion.y = static_cast<Uint16>(y);
    return motion;
}

} // namespace

std::optional<std::pair<int, int>> pointerOf(const SDL_Event& event) {
    if (event.type == SDL_MOUSEMOTION) {
        return std::pair<int, int>{event.motion.x, event.motion.y};
    }
    if (event.type == SDL_MOUSEBUTTONDOWN || event.type == SDL_MOUSEBUTTONUP) {
        return std::pair<int, int>{event.button.x, event.button.y};
    }
    return std::nullopt;
}

void ToolkitInput::mapKeys(ImGuiIO& io) {
    io.KeyMap[ImGuiKey_Tab] = SDLK_TAB;
    io.KeyMap[ImGuiKey_LeftArrow] = SDLK_LEFT;
    io.KeyMap[ImGuiKey_RightArrow] = SDLK_RIGHT;
    io.KeyMap[ImGuiKey_UpArrow] = SDLK_UP;
    io.KeyMap[ImGuiKey_DownArrow] = SDLK_DOWN;
    io.KeyMap[ImGuiKey_PageUp] = SDLK_PAGEUP;
    io.KeyMap[ImGuiKey_PageDown] = SDLK_PAGEDOWN;
    io.KeyMap[ImGuiKey_Home] = SDLK_HOME;
    io.KeyMap[ImGuiKey_End] = SDLK_END;
    io.KeyMap[ImGuiKey_Insert] = SDLK_INSERT;
    io.KeyMap[ImGuiKey_Delete] = SDLK_DELETE;
    io.KeyMap[ImGuiKey_Backspace] = SDLK_BACKSPACE;
    io.KeyMap[ImGuiKey_Space] = SDLK_SPACE;
    io.KeyMap[ImGuiKey_Enter] = SDLK_RETURN;
    io.KeyMap[ImGuiKey_Escape] = SDLK_ESCAPE;
    io.KeyMap[ImGuiKey_KeyPadEnter] = SDLK_KP_ENTER;
    io.KeyMap[ImGuiKey_A] = SDLK_a;
    io.KeyMap[ImGuiKey_C] = SDLK_c;
    io.KeyMap[ImGuiKey_V] = SDLK_v;
    io.KeyMap[ImGuiKey_X] = SDLK_x;
    io.KeyMap[ImGuiKey_Y] = SDLK_y;
    io.KeyMap[ImGuiKey_Z] = SDLK_z;
}

void ToolkitInput::hold(const SDL_Event& event) {
    held_.push_back(event);
}

namespace {

// The toolkit's index of an SDL mouse button: left, right, middle; -1 for the others.
int toolkitButton(int sdlButton) {
    return sdlButton == SDL_BUTTON_LEFT     ? 0
           : sdlButton == SDL_BUTTON_RIGHT  ? 1
           : sdlButton == SDL_BUTTON_MIDDLE ? 2
                                            : -1;
}

bool releases(const SDL_Event& up, const SDL_Event& down) {
    if (up.type == SDL_KEYUP) {
        return down.type == SDL_KEYDOWN && down.key.keysym.sym == up.key.keysym.sym;
    }
    return down.type == SDL_MOUSEBUTTONDOWN && down.button.button == up.button.button;
}

} // namespace

bool ToolkitInput::downForTheToolkit(const SDL_Event& up) const {
    const ImGuiIO& io = ImGui::GetIO();
    if (up.type == SDL_KEYUP) {
        const auto index = static_cast<size_t>(up.key.keysym.sym);
        if (index < keysChanged_.size() && io.KeysDown[index]) {
            return true;
        }
    } else {
        const int index = toolkitButton(up.button.button);
        if (index >= 0 && io.MouseDown[index]) {
            return true;
        }
    }
    return std::any_of(held_.begin(), held_.end(),
                       [&](const SDL_Event& held) { return releases(up, held); });
}

void ToolkitInput::keepOnlyPointer(const SDL_Event& event) {
    // A key or button that the toolkit has down must reach it going up, even once no window is
    // left: the Escape that closed the last one would stay down, and its next press would change
    // nothing for the toolkit.
    if ((event.type == SDL_KEYUP || event.type == SDL_MOUSEBUTTONUP) && downForTheToolkit(event)) {
        held_.push_back(event);
        return;
    }
    SDL_Event motion{};
    if (const auto pointer = pointerOf(event)) {
        motion = motionTo(pointer->first, pointer->second);
    } else if (event.type == SDL_ACTIVEEVENT) {
        // The mouse may have left the window.
        motion = event;
    } else {
        return;
    }
    std::erase_if(held_, [](const SDL_Event& held) {
        return held.type == SDL_MOUSEMOTION || held.type == SDL_ACTIVEEVENT;
    });
    held_.push_back(motion);
}

void ToolkitInput::notePointer(int x, int y) {
    if (!held_.empty()) {
        held_.push_back(motionTo(x, y));
        return;
    }
    notedPointer_ = {x, y};
}

void ToolkitInput::feedFrame(ImGuiIO& io) {
    buttonsChanged_.reset();
    keysChanged_.reset();
    frameClosed_ = false;
    if (notedPointer_) {
        io.MousePos = ImVec2(static_cast<float>(notedPointer_->first),
                             static_cast<float>(notedPointer_->second));
        notedPointer_.reset();
    }
    if (framesToSkip_ > 0) {
        --framesToSkip_;
        return;
    }
    while (!held_.empty() && !frameClosed_ && feed(io, held_.front())) {
        held_.pop_front();
    }
}

bool ToolkitInput::feed(ImGuiIO& io, const SDL_Event& event) {
    switch (event.type) {
    case SDL_MOUSEMOTION:
        // Motion after a press or release waits a frame: widgets see the button where it changed.
        if (buttonsChanged_.any()) {
            return false;
        }
        io.MousePos = ImVec2(event.motion.x, event.motion.y);
        return true;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        const bool down = event.type == SDL_MOUSEBUTTONDOWN;
        const int button = event.button.button;
        if (button == SDL_BUTTON_WHEELUP || button == SDL_BUTTON_WHEELDOWN) {
            if (down) {
                io.MouseWheel += button == SDL_BUTTON_WHEELUP ? 1.0f : -1.0f;
            }
            return true;
        }
        // The toolkit numbers left, right, middle; SDL left, middle, right.
        const int index = toolkitButton(button);
        if (index < 0) {
            return true;
        }
        if (buttonsChanged_[index]) {
            return false;
        }
        buttonsChanged_[index] = true;
        io.MousePos = ImVec2(event.button.x, event.button.y);
        io.MouseDown[index] = down;
        if (!down) {
            // A button acts on the release and may close its window; the toolkit still takes
            // that window to be under the mouse in the next frame, so input waits a frame more.
            frameClosed_ = true;
            framesToSkip_ = 1;
        }
        return true;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        const bool down = event.type == SDL_KEYDOWN;
        const SDL_keysym& key = event.key.keysym;
        const auto index = static_cast<size_t>(key.sym);
        if (index < keysChanged_.size()) {
            // A repeated press changes nothing and may follow the first in the same frame.
            if (io.KeysDown[index] != down) {
                if (keysChanged_[index]) {
                    return false;
                }
                keysChanged_[index] = true;
                io.KeysDown[index] = down;
            }
        }
        io.KeyShift = (key.mod & KMOD_SHIFT) != 0;
        io.KeyCtrl = (key.mod & KMOD_CTRL) != 0;
        io.KeyAlt = (key.mod & KMOD_ALT) != 0;
        io.KeySuper = (key.mod & KMOD_META) != 0;
        if (down && key.unicode >= 32 && key.unicode != 127) {
            io.AddInputCharacter(key.unicode);
        }
        // What is typed after Tab, Enter or Escape belongs to the field or window they lead to.
        if (down && (key.sym == SDLK_TAB || key.sym == SDLK_RETURN || key.sym == SDLK_KP_ENTER ||
                     key.sym == SDLK_ESCAPE)) {
            frameClosed_ = true;
        }
        return true;
    }
    case SDL_ACTIVEEVENT:
        if ((event.active.state & SDL_APPMOUSEFOCUS) && !event.active.gain) {
            io.MousePos = ImVec2(-FLT_MAX, -FLT_MAX);
        }
        return true;
    default:
        return true;
    }
}
