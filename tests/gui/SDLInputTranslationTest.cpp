#include "SDLInputTranslation.h"
#include "InputHandlers.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

// Every handler writes its name and arguments, so a table can say which calls an event makes.
class RecordingHandlers : public InputHandlers {
public:
    std::vector<std::string> calls;

    void keyPressed(Key k, Modifiers m, uint16_t u) override { note("keyPressed", k, m, u); }
    void keyReleased(Key k, Modifiers m, uint16_t u) override { note("keyReleased", k, m, u); }
    void mouseMoved(int x, int y, int dx, int dy, bool l, bool r, bool m) override {
        note("mouseMoved", x, y, dx, dy, l, r, m);
    }
    void wheelTurned(bool up, bool down) override { note("wheelTurned", up, down); }
    void leftButtonPressed(int x, int y) override { note("leftButtonPressed", x, y); }
    void leftButtonReleased(int x, int y) override { note("leftButtonReleased", x, y); }
    void rightButtonPressed(int x, int y) override { note("rightButtonPressed", x, y); }
    void rightButtonReleased(int x, int y) override { note("rightButtonReleased", x, y); }
    void middleButtonPressed(int x, int y) override { note("middleButtonPressed", x, y); }
    void middleButtonReleased(int x, int y) override { note("middleButtonReleased", x, y); }
    void windowResized(int w, int h) override { note("windowResized", w, h); }
    void quitRequested() override { note("quitRequested"); }

private:
    template <typename... Args> void note(const char* name, Args... args) {
        std::ostringstream text;
        text << name;
        ((text << ' ' << static_cast<long>(args)), ...);
        calls.push_back(text.str());
    }
};

} // namespace

TEST(InputTranslationTest, EachSDLEventReachesItsHandlerWithItsArguments) {
    int marker = 0;
    const SDLMod shiftCaps = static_cast<SDLMod>(KMOD_LSHIFT | KMOD_CAPS);
    using B = SDL_MouseButtonEvent;
    const std::vector<std::pair<SDL_Event, std::vector<std::string>>> table = {
        {{.key = {SDL_KEYDOWN, 0, 1, {0, SDLK_a, shiftCaps, 0xe9}}}, {"keyPressed 97 8193 233"}},
        {{.key = {SDL_KEYUP, 0, 0, {0, SDLK_LEFT, KMOD_NONE, 0}}}, {"keyReleased 276 0 0"}},
        {{.key = {SDL_KEYDOWN, 0, 1, {0, SDLK_m, KMOD_RCTRL, 'm'}}}, {"keyPressed 109 128 109"}},
        // Left and middle held, right not: a swap of the two bits shows.
        {{.motion = {SDL_MOUSEMOTION, 0, SDL_BUTTON(1) | SDL_BUTTON(2), 10, 20, -3, 4}},
         {"mouseMoved 10 20 -3 4 1 0 1"}},
        {{.motion = {SDL_MOUSEMOTION, 0, SDL_BUTTON(3), 5, 6, 0, 0}}, {"mouseMoved 5 6 0 0 0 1 0"}},
        {{.button = B{SDL_MOUSEBUTTONDOWN, 0, 1, 1, 100, 200}}, {"leftButtonPressed 100 200"}},
        {{.button = B{SDL_MOUSEBUTTONUP, 0, 1, 0, 101, 201}}, {"leftButtonReleased 101 201"}},
        {{.button = B{SDL_MOUSEBUTTONDOWN, 0, 2, 1, 3, 4}}, {"middleButtonPressed 3 4"}},
        {{.button = B{SDL_MOUSEBUTTONUP, 0, 2, 0, 5, 6}}, {"middleButtonReleased 5 6"}},
        {{.button = B{SDL_MOUSEBUTTONDOWN, 0, 3, 1, 7, 8}}, {"rightButtonPressed 7 8"}},
        {{.button = B{SDL_MOUSEBUTTONUP, 0, 3, 0, 9, 10}}, {"rightButtonReleased 9 10"}},
        {{.button = B{SDL_MOUSEBUTTONDOWN, 0, 4, 1, 0, 0}}, {"wheelTurned 1 0"}},
        {{.button = B{SDL_MOUSEBUTTONDOWN, 0, 5, 1, 0, 0}}, {"wheelTurned 0 1"}},
        // A wheel step's release, and a sixth button, do nothing.
        {{.button = B{SDL_MOUSEBUTTONUP, 0, 4, 0, 0, 0}}, {}},
        {{.button = B{SDL_MOUSEBUTTONUP, 0, 5, 0, 0, 0}}, {}},
        {{.button = B{SDL_MOUSEBUTTONDOWN, 0, 6, 1, 0, 0}}, {}},
        {{.resize = {SDL_VIDEORESIZE, 1024, 768}}, {"windowResized 1024 768"}},
        {{.quit = {SDL_QUIT}}, {"quitRequested"}},
        // What the game does not react to reaches no handler.
        {{.active = {SDL_ACTIVEEVENT, 1, SDL_APPINPUTFOCUS}}, {}},
        {{.expose = {SDL_VIDEOEXPOSE}}, {}},
        {{.user = {SDL_USEREVENT, 3, &marker, nullptr}}, {}},
        {{.syswm = {SDL_SYSWMEVENT, nullptr}}, {}},
    };
    for (const auto& [event, expected] : table) {
        RecordingHandlers handlers;
        handlers.dispatchEvent(inputEventFrom(event));
        EXPECT_EQ(handlers.calls, expected) << "event type " << int(event.type);
    }
}
