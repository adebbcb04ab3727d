// The window's size and fullscreen state: opened as it was left, resized by the user, switched
// to fullscreen and back, and remembered for the next start. All on the rendering thread, which
// owns SDL and OpenGL.
#include "SDLUserInterface.h"
#include "SceneSetUp.h"

#include <iostream>

namespace {

Uint32 modeFlags(bool fullscreen) {
    return fullscreen ? SDL_FULLSCREEN : SDL_RESIZABLE;
}

} // namespace

bool isFullscreenToggle(const SDL_Event& event) {
    if (event.type != SDL_KEYDOWN) {
        return false;
    }
    const SDL_keysym& key = event.key.keysym;
    return key.sym == SDLK_F11 ||
           ((key.sym == SDLK_RETURN || key.sym == SDLK_KP_ENTER) && (key.mod & KMOD_ALT) != 0);
}

SDL_Surface* SDLUserInterface::openRememberedWindow() {
    // Only before the first video mode does SDL tell the desktop's size; afterwards it tells the
    // window's.
    const SDL_VideoInfo* video = SDL_GetVideoInfo();
    const bool desktopKnown = video != nullptr && video->current_w > 0 && video->current_h > 0;
    rememberedAtStart = loadRememberedWindow();
    const RememberedWindow remembered =
        desktopKnown ? fittedToScreen(rememberedAtStart, video->current_w, video->current_h)
                     : rememberedAtStart;
    windowed = allowedWindowSize(remembered.width, remembered.height);
    desktop = desktopKnown ? WindowSize{video->current_w, video->current_h} : windowed;
    fullscreen = remembered.fullscreen;
    const WindowSize size = fullscreen ? desktop : windowed;
    SDL_Surface* screen = openOpenGLWindow(size.width, size.height, modeFlags(fullscreen));
    if (screen == nullptr && fullscreen) {
        fullscreen = false;
        screen = openOpenGLWindow(windowed.width, windowed.height, modeFlags(false));
    }
    if (screen != nullptr) {
        drawnWidth = screen->w;
        drawnHeight = screen->h;
        // The main thread has not started its loop yet: it reads these once told of the start.
        std::lock_guard scene(sceneLock);
        windowWidth = drawnWidth;
        windowHeight = drawnHeight;
        layOutButtons(buttons, windowWidth, windowHeight);
    }
    return screen;
}

bool SDLUserInterface::setWindowMode(int width, int height, bool toFullscreen) {
    if (SDL_SetVideoMode(width, height, 0, SDL_OPENGL | modeFlags(toFullscreen)) == nullptr) {
        std::cerr << "veltmark: the window cannot take the size " << width << " x " << height
                  << ": " << SDL_GetError() << std::endl;
        return false;
    }
    fullscreen = toFullscreen;
    if (!fullscreen) {
        windowed = {width, height};
    }
    drawnWidth = width;
    drawnHeight = height;
    setUpProjection();
    // Picking and the buttons' places follow on the main thread, with the events in order.
    SDL_Event resized{};
    resized.type = SDL_VIDEORESIZE;
    resized.resize.w = width;
    resized.resize.h = height;
    std::lock_guard queue(queueLock);
    eventQueue.push_back(resized);
    eventsAvailable.notify_all();
    return true;
}

void SDLUserInterface::windowSizeAsked(int width, int height) {
    if (fullscreen) {
        return;
    }
    // A window made smaller than the least size springs back to it.
    const WindowSize size = allowedWindowSize(width, height);
    if (size != WindowSize{drawnWidth, drawnHeight} || size != WindowSize{width, height}) {
        setWindowMode(size.width, size.height, false);
    }
}

void SDLUserInterface::toggleFullscreen() {
    if (fullscreen) {
        setWindowMode(windowed.width, windowed.height, false);
    } else if (!setWindowMode(desktop.width, desktop.height, true)) {
        // SDL may have let go of the window on the way: it gets its windowed size back.
        setWindowMode(windowed.width, windowed.height, false);
    }
}

void SDLUserInterface::rememberWindow() {
    if (windowed.width == rememberedAtStart.width && windowed.height == rememberedAtStart.height &&
        fullscreen == rememberedAtStart.fullscreen) {
        return;
    }
    const bool saved = updateRememberedWindow([this](RememberedWindow& remembered) {
        remembered.width = windowed.width;
        remembered.height = windowed.height;
        remembered.fullscreen = fullscreen;
    });
    if (!saved) {
        std::cerr << "veltmark: the window's size could not be remembered in "
                  << rememberedWindowFilePath().value_or(rememberedWindowFileName) << std::endl;
    }
}
