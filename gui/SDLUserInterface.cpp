#include "SDLUserInterface.h"

#include "DataFiles.h"
#include "FrameTimeLog.h"
#include "GamesWindow.h"
#include "LogFile.h"
#include "MoveAnimation.h"
#include "MovesWindow.h"
#include "SDLInputTranslation.h"
#include "SceneSetUp.h"
#include "SearchControl.h"
#include "SearchThreadPriority.h"
#include "SettingsDialog.h"
#include "SettingsFile.h"
#include "SignalRegistry.h"

#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

namespace {

// Type of the user event that wakes the rendering thread (the first user event number).
constexpr Uint8 wakeEventType = SDL_USEREVENT;

// Events that the toolkit sees before the game does.
bool isWindowInput(Uint8 type) {
    switch (type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
    case SDL_MOUSEMOTION:
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
    case SDL_QUIT:
    case SDL_VIDEORESIZE:
    case SDL_VIDEOEXPOSE:
    case SDL_ACTIVEEVENT:
        return true;
    default:
        return false;
    }
}

// Input that changes nothing on the screen by itself: the window's input but for the closing,
// the resizing and the uncovering of the window.
bool isGameInput(Uint8 type) {
    return isWindowInput(type) && type != SDL_QUIT && type != SDL_VIDEORESIZE &&
           type != SDL_VIDEOEXPOSE;
}

// SDL's own words for a missing X display ("No available video device") tell a user neither
// what is missing nor that the engine face needs no display.
std::string noDisplayMessage() {
    const char* display = std::getenv("DISPLAY");
    const std::string where = display == nullptr || *display == '\0'
                                  ? " (DISPLAY is not set)"
                                  : " at DISPLAY=\"" + std::string(display) + "\"";
    return "no graphical display was found" + where +
           ", so the window cannot open; \"veltmark --xboard\" runs the engine without one";
}

} // namespace

SDLUserInterface::SDLUserInterface() : assets(loadAssetsOrStop()) {
    // The buttons' texts need only the font, not the window.
    createButtons();
    game.setInitialPosition();
    game.previous = nullptr;
    animationPosition.setInitialPosition();
    animationPosition.previous = nullptr;
}

SDLUserInterface::~SDLUserInterface() {
    if (engineThread.joinable()) {
        stopEngineTurn();
        joinEngineTurn();
    }
    dropHint();
    game.clearHistory();
}

int SDLUserInterface::run() {
    if (const auto path = currentGamePath()) {
        // Read before anything can overwrite it: the game the last run left unfinished.
        std::string problem;
        unfinishedAtStart = unfinishedGameIn(*path, problem);
        if (!problem.empty()) {
            std::cerr << "veltmark: the unfinished game cannot be continued: " << problem
                      << std::endl;
        }
        currentGameKeeper =
            std::make_unique<LatestTextWriter>(*path, [this](const std::string& where) {
                // Said where the player looks: in the window while it is open.
                if (renderingEnded) {
                    std::cerr << "veltmark: cannot keep the game in progress in " << where
                              << std::endl;
                } else {
                    showWarning("The game in progress could not be saved to\n" + where +
                                "\nIt cannot be continued after the window closes unless a "
                                "later move is saved.");
                }
            });
    }
    std::future<bool> started = startup.get_future();
    renderingThread = std::thread([this] { renderingMain(); });
    if (logEnabled) {
        logFile.open(logFileName, true);
    }
    if (!started.get()) {
        renderingThread.join();
        if (logEnabled) {
            logFile.close();
        }
        return -1;
    }
    makeStartChoices();
    std::unique_lock queueHold(queueLock);
    mainLoop(queueHold);
    return 0;
}

void SDLUserInterface::mainLoop(std::unique_lock<std::mutex>& queueHold) {
    while (running) {
        scheduleEngine(queueHold);
        while (!eventQueue.empty() || !mainThreadTasks.empty()) {
            if (!mainThreadTasks.empty()) {
                const std::function<void()> task = std::move(mainThreadTasks.front());
                mainThreadTasks.pop_front();
                queueHold.unlock();
                task();
                queueHold.lock();
                continue;
            }
            const SDL_Event event = eventQueue.front();
            eventQueue.pop_front();
            queueHold.unlock();
            dispatchEvent(inputEventFrom(event));
            queueHold.lock();
        }
    }

    // A turn still running uses the game and the search pool, and may be waiting for an answer
    // that the rendering thread's end has already released: it ends first.
    queueHold.unlock();
    stopEngineTurn();
    joinEngineTurn();
    dropHint();
    queueHold.lock();
    {
        std::lock_guard hold(shutdownLock);
        mainLeftLoop = true;
        mainDone.notify_all();
    }
    if (logEnabled) {
        logFile.close();
    }
    queueHold.unlock();
    shutDownGame();
    {
        std::lock_guard gui(guiLock);
        if (toolkit.isRunning() && settingsDialog != nullptr) {
            toolkit.detach(settingsDialog);
        }
        settingsDialog = nullptr;
    }
    renderingThread.join();
}

void SDLUserInterface::shutDownGame() {
    // The game left on the board stays kept, to be continued at the next start.
    if (currentGameKeeper != nullptr) {
        currentGameKeeper->flush();
    }
    stopSearch();
    destroySearchPool();
    game.clearHistory();
}

// Rendering thread

void SDLUserInterface::renderingMain() {
    std::string failure;
    if (!startRendering(failure)) {
        std::cerr << "veltmark: " << failure << std::endl;
        toolkit.stop();
        SDL_Quit();
        startup.set_value(false);
        return;
    }
    startup.set_value(true);
    renderingLoop();
    finishRendering();
}

bool SDLUserInterface::startRendering(std::string& failure) {
    // Only X11 offers OpenGL; without a display SDL would otherwise fall back to a text-mode
    // driver that draws on the terminal before it fails. A driver the user chose is kept.
    setenv("SDL_VIDEODRIVER", "x11", 0);
    // Only the video subsystem: the sound player opens the audio device itself when it has a
    // sound to play, and a machine without one must still open the window.
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        // The X11 driver fails to start only when it cannot reach the display.
        const bool x11 = std::string_view(std::getenv("SDL_VIDEODRIVER")) == "x11";
        failure =
            x11 ? noDisplayMessage() : std::string("the window cannot start: ") + SDL_GetError();
        return false;
    }
    SDL_WM_SetCaption("Veltmark", "Veltmark");
    if (openRememberedWindow() == nullptr) {
        failure = std::string("the window cannot start: ") + SDL_GetError();
        return false;
    }
    SDL_EnableKeyRepeat(500, 30);
    SDL_EnableUNICODE(1);
    {
        std::lock_guard gui(guiLock);
        const auto fontPath = findDataFile(fontFile);
        if (!fontPath || !toolkit.start(*fontPath, failure)) {
            if (!fontPath) {
                failure = std::string("cannot find the data file \"") + fontFile + "\"";
            }
            failure = "the window cannot start: " + failure;
            return false;
        }
    }
    {
        std::lock_guard scene(sceneLock);
        setUpOpenGL();
    }
    loadSettings();
    sounds.setOn(rememberedAtStart.soundOn);
    startSearchPoolFor(game, yieldToTheWindow);
    {
        std::lock_guard gui(guiLock);
        movesWindow = static_cast<MovesWindow*>(toolkit.attach(std::make_unique<MovesWindow>(
            [this](int plies) { runOnMainThread([this, plies] { stepTo(plies); }); })));
        gamesWindow = static_cast<GamesWindow*>(toolkit.attach(std::make_unique<GamesWindow>(
            [this](size_t index) {
                // Inside the frame, guiLock held: only this game's moves are read.
                std::string error;
                auto record = gamesWindow->file()->readGame(index, error);
                if (!record) {
                    showError(error);
                    return;
                }
                gamesWindow->hide();
                runOnMainThread([this, chosen = std::move(*record)] {
                    openGame(chosen, static_cast<int>(chosen.moves.size()), true);
                    openingDialogShown = false;
                });
            },
            [this] {
                openingDialogShown = false;
                wakeRenderer();
            })));
    }
    startNewGame();
    {
        std::lock_guard gui(guiLock);
        // The base is private: only here does the front-end hand out its settings actions.
        SettingsActions& actions = *this;
        auto dialog = std::make_unique<SettingsDialog>(toolkit, guiLock, actions, [this] {
            openingDialogShown = false;
            wakeRenderer();
        });
        settingsDialog = dialog.get();
        toolkit.attach(std::move(dialog));
        openingDialogShown = true;
        // Given a file, its games come first; the settings are a click away.
        if (!fileAtStart) {
            settingsDialog->show();
        }
    }
    orientKnights();
    return true;
}

void SDLUserInterface::createButtons() {
    const std::pair<const std::string*, std::function<void()>> made[] = {
        {&newGameButton, [this] { newGameChosen(); }},
        {&settingsButton,
         [this] {
             std::lock_guard gui(guiLock);
             if (settingsDialog != nullptr) {
                 settingsDialog->show();
             }
             wakeRenderer();
         }},
        {&undoButton, [this] { undo(); }},
        {&redoButton, [this] { redo(); }},
    };
    for (const auto& [text, action] : made) {
        ScreenButton& button = buttons[*text];
        if (const SDL_Surface* image = assets.text->render(*text, true)) {
            button.width = image->w;
            button.height = image->h;
        }
        button.action = action;
        button.enabled = *text == settingsButton;
    }
    layOutButtons(buttons, windowWidth, windowHeight);
}

void SDLUserInterface::renderingLoop() {
    FrameTimeLog frameTimes;
    std::unique_lock scene(sceneLock);
    bool frameDue = true;
    while (running) {
        if (animating && SDL_GetTicks() - animationStart > animationMilliseconds) {
            animating = false;
        }
        if (frameDue) {
            frameTimes.frameStarts();
            drawFrame();
            frameTimes.frameDone(animating);
        }
        // Read while the lock is held: the engine-turn thread starts animations.
        const bool animationRuns = animating;
        scene.unlock();
        bool keepDrawing;
        {
            std::lock_guard gui(guiLock);
            keepDrawing = toolkit.wantsMoreFrames();
        }
        const bool eventsShowSomething = collectEvents(!animationRuns && !keepDrawing);
        frameDue = eventsShowSomething || animationRuns || keepDrawing;
        // The main thread may be waiting to play the move that the events just brought.
        sceneLock.lockAfterWaiters();
        scene = std::unique_lock(sceneLock, std::adopt_lock);
    }
}

bool SDLUserInterface::collectEvents(bool block) {
    SDL_Event event;
    if (block) {
        if (SDL_WaitEvent(&event) == 0) {
            return false;
        }
    } else if (SDL_PollEvent(&event) == 0) {
        return false;
    }
    // One frame for the whole batch, and none for input that only the game handles: what it
    // changes, the main thread asks to be drawn. A drag on the window's edge sends a stream of
    // sizes: only the batch's last is applied.
    bool frameNeeded = false;
    std::optional<WindowSize> askedSize;
    bool fullscreenToggled = false;
    do {
        if (event.type == SDL_VIDEORESIZE) {
            askedSize = WindowSize{event.resize.w, event.resize.h};
            frameNeeded = true;
            continue;
        }
        if (isFullscreenToggle(event)) {
            fullscreenToggled = !fullscreenToggled;
            frameNeeded = true;
            continue;
        }
        bool forTheGame;
        {
            std::lock_guard gui(guiLock);
            if (isWindowInput(event.type) && !toolkit.takeEvent(event)) {
                quitRequested();
                forTheGame = false;
            } else {
                // While a dialog, a message or the settings are shown the board takes no input;
                // the move list takes only the presses on itself.
                forTheGame = !toolkit.keepsFromBoard(event);
            }
        }
        frameNeeded = frameNeeded || !forTheGame || !isGameInput(event.type);
        std::lock_guard queue(queueLock);
        if (forTheGame) {
            eventQueue.push_back(event);
        }
        ++eventsCollected;
        eventsAvailable.notify_all();
    } while (SDL_PollEvent(&event) != 0);
    if (fullscreenToggled) {
        toggleFullscreen();
    } else if (askedSize) {
        windowSizeAsked(askedSize->width, askedSize->height);
    }
    return frameNeeded;
}

void SDLUserInterface::quitRequested() {
    running = false;
}

void SDLUserInterface::finishRendering() {
    // Threads waiting for a dialog's answer are released; one that asks from now on gets none.
    renderingEnded = true;
    emitSignal(renderingThreadEnding);
    disconnectSignal(renderingThreadEnding);
    {
        // The main thread may be waiting for an event to notice that the window closed.
        std::lock_guard queue(queueLock);
        eventsAvailable.notify_all();
    }
    {
        // The toolkit and SDL stay until the main thread no longer needs them: its engine turn
        // may still show a message or wake this thread.
        std::unique_lock hold(shutdownLock);
        mainDone.wait(hold, [this] { return mainLeftLoop; });
    }
    {
        std::lock_guard gui(guiLock);
        toolkit.stop();
        movesWindow = nullptr;
        gamesWindow = nullptr;
    }
    rememberWindow();
    if (boardTexture != 0) {
        glDeleteTextures(1, &boardTexture);
        boardTexture = 0;
    }
    SDL_FreeSurface(thinkingLineImage);
    thinkingLineImage = nullptr;
    // Before SDL ends; the main thread has joined the engine's turn, which plays sounds too.
    sounds.stop();
    SDL_Quit();
}

void SDLUserInterface::wakeRenderer() {
    SDL_Event event{};
    event.type = wakeEventType;
    event.user.code = 0;
    event.user.data1 = nullptr;
    event.user.data2 = nullptr;
    SDL_PushEvent(&event);
}
