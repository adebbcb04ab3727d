// What the engine, the rules and the settings file tell or ask the user, as toolkit windows.
#include "DialogWindows.h"
#include "LogFile.h"
#include "SDLUserInterface.h"

void SDLUserInterface::showError(std::string message) {
    showMessage("Error", std::move(message));
}

void SDLUserInterface::showWarning(std::string message) {
    showMessage("Warning", std::move(message));
}

void SDLUserInterface::showInformation(std::string message) {
    showMessage("Information", std::move(message));
}

void SDLUserInterface::showMessage(const char* title, std::string text) {
    {
        std::lock_guard gui(guiLock);
        toolkit.attach(std::make_unique<MessageBox>(title, std::move(text)))->show();
    }
    wakeRenderer();
}

bool SDLUserInterface::askYesNo(std::string question) {
    DialogAnswer<bool> answer(false);
    ToolkitWindow* window;
    {
        std::lock_guard gui(guiLock);
        window = toolkit.attach(std::make_unique<QuestionDialog>(std::move(question), answer));
        window->show();
    }
    wakeRenderer();
    return waitForAnswer(answer, window);
}

int SDLUserInterface::askPromotionPiece() {
    DialogAnswer<int> answer(Empty);
    ToolkitWindow* window;
    {
        std::lock_guard gui(guiLock);
        window = toolkit.attach(std::make_unique<PromotionDialog>(game.sideToMove == 1, answer));
        window->show();
    }
    wakeRenderer();
    return waitForAnswer(answer, window);
}

template <typename T>
T SDLUserInterface::waitForAnswer(DialogAnswer<T>& answer, ToolkitWindow* window) {
    const T value = answer.wait(renderingEnded);
    {
        std::lock_guard gui(guiLock);
        if (toolkit.isRunning()) {
            toolkit.detach(window);
        }
    }
    {
        // Clicks made before the dialog opened are not acted on after it closes.
        std::lock_guard queue(queueLock);
        eventQueue.clear();
    }
    wakeRenderer();
    return value;
}

void SDLUserInterface::logMessage(std::string line) {
    if (logEnabled) {
        logFile.append(line + "\n");
    }
}

void SDLUserInterface::reportSearchProgress(SearchReport report) {
    // On a search thread that holds the search's lock: only a copy and a flag, the frame that
    // shows it comes later and at most a few times a second.
    logMessage(searchProgressLine(report));
    {
        std::lock_guard hold(progressLock);
        latestReport = std::move(report);
    }
    progressFrames.request();
}
