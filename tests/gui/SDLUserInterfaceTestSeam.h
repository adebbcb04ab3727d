#pragma once

// What the game-flow tests drive and look at in the window front-end, which they run without a
// window: the main thread's game flow, the event queue as the rendering thread fills it, and
// the toolkit's windows as a click would answer them.
#include "DialogWindows.h"
#include "SDLInputTranslation.h"
#include "SDLUserInterface.h"

#include <chrono>
#include <string>
#include <vector>

struct SDLUserInterfaceTestSeam {
    SDLUserInterface& ui;

    // The game flow.
    void startNewGame() { ui.startNewGame(); }
    void refreshGameState() { ui.refreshGameState(); }
    void startEngineTurnIfDue() { ui.startEngineTurnIfDue(); }
    void stopEngineTurn() { ui.stopEngineTurn(); }
    void joinEngineTurn() { ui.joinEngineTurn(); }
    void playMove(const Move& move) { ui.playMove(move); }
    void playHumanMove(Square from, Square to) { ui.playHumanMove(from, to); }
    void undo() { ui.undo(); }
    void redo() { ui.redo(); }
    void stepTo(int plies) { ui.stepTo(plies); }
    void openGame(const PgnGameRecord& record, int onBoard, bool archived) {
        ui.openGame(record, onBoard, archived);
    }
    void offerGames(PgnFile file) { ui.offerGames(std::move(file), false); }
    void pressButton(const std::string& text) { ui.buttons.at(text).action(); }
    void askForHint() { ui.askForHint(); }
    void soundOn(bool on) { ui.sounds.setOn(on); }
    void dropHint() { ui.dropHint(); }
    bool hintSearching() const { return ui.hintSearching; }
    // As the settings dialog changes the record: inside a frame, which an engine turn reading it
    // waits for.
    template <typename Change> void changeSettings(Change change) {
        std::lock_guard scene(ui.sceneLock);
        change();
    }
    std::optional<std::pair<Square, Square>> hintSquares() {
        std::lock_guard scene(ui.sceneLock);
        return ui.hintSquares;
    }

    Position& game() { return ui.game; }
    int32_t legalMoveCount() const { return ui.legalMoveCount; }
    int32_t engineState() const { return ui.engineState; }
    bool engineStop() const { return ui.engineStop; }
    bool animating() const { return ui.animating; }
    bool buttonEnabled(const std::string& text) const { return ui.buttonEnabled(text); }

    // The pick state.
    bool squareSelected() const { return ui.squareSelected; }
    int32_t selectedFile() const { return ui.selectedFile; }
    int32_t selectedRank() const { return ui.selectedRank; }
    size_t targetCount() const { return ui.targetMoves.size(); }
    bool hoverIsTarget() const { return ui.hoverIsTarget; }

    // The log file, as --log opens it.
    void openLog(const std::string& path) {
        ui.enableLog();
        ui.logFile.open(path, true);
    }
    void closeLog() { ui.logFile.close(); }

    // As the rendering thread queues an event for the main thread.
    void queueEvent(const SDL_Event& event) {
        std::lock_guard queue(ui.queueLock);
        ui.eventQueue.push_back(event);
        ui.eventsAvailable.notify_all();
    }
    // As the main loop handles the queue: waits up to the given time for an event, then
    // dispatches every one queued.
    void handleQueuedEvents(std::chrono::milliseconds wait) {
        std::unique_lock queue(ui.queueLock);
        ui.eventsAvailable.wait_for(queue, wait);
        while (!ui.eventQueue.empty()) {
            const SDL_Event event = ui.eventQueue.front();
            ui.eventQueue.pop_front();
            queue.unlock();
            ui.dispatchEvent(inputEventFrom(event));
            queue.lock();
        }
    }

    // Answers the question shown, if any, as a click on its button would; true when one was.
    bool answerShownQuestion(bool yes) {
        std::lock_guard gui(ui.guiLock);
        for (const auto& window : ui.toolkit.windows()) {
            auto* question = dynamic_cast<QuestionDialog*>(window.get());
            if (question != nullptr && question->isShown()) {
                question->choose(yes);
                return true;
            }
        }
        return false;
    }
    // The titles of the message boxes in the toolkit's list, in order.
    std::vector<std::string> messageTitles() {
        std::vector<std::string> titles;
        std::lock_guard gui(ui.guiLock);
        for (const auto& window : ui.toolkit.windows()) {
            if (dynamic_cast<MessageBox*>(window.get()) != nullptr) {
                titles.push_back(window->title());
            }
        }
        return titles;
    }
};
