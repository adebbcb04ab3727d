#pragma once

// The window's threads and the four locks.
//
// Threads: the main thread owns the game and handles the user's actions, one queued event at a
// time; the rendering thread owns SDL, OpenGL and the toolkit, draws and collects input; an
// engine-turn thread runs while the engine thinks about a move, and a hint's thread while it
// looks for the player's: never both, since they share the search. Two helpers keep locks of
// their own: one wakes the renderer for the search's reports, one plays the sounds.
//
// - sceneLock guards what the renderer draws: game, legalMoves, the pick state, the animation,
//   the camera and the window size; and what is derived from the game with legalMoves: its
//   moves in notation and what the archive holds of it. The rendering thread holds it while it
//   draws a frame, and so while the toolkit's widget actions run; the main and engine-turn
//   threads take it briefly to change any of it. The pick state, the camera and the window size
//   change only on the main thread, which therefore reads them without it: finding the square
//   under the mouse never waits for a frame. An engine turn's search reads the game without it:
//   while a turn thinks no other thread changes the game, and the main thread stops and joins
//   a turn before it does. Between two frames the renderer lets threads that wait for it go
//   first (SceneMutex).
// - queueLock guards eventQueue, the tasks queued for the main thread and the count of
//   collected events. The main thread holds it except while it handles an event or a task,
//   waits on eventsAvailable or schedules the engine's turn; the rendering thread takes it to
//   append an event or a task and to signal.
// - guiLock guards the toolkit, its window list and the front-end's pointers into it; every
//   toolkit call made off the rendering thread (message boxes, dialogs, showing the settings,
//   the move list's moves) holds it. The rendering thread takes it to hand the toolkit input,
//   to look at the window list and to draw the windows.
// - shutdownLock carries the end-of-run handshake: once the window has closed the rendering
//   thread waits with it on mainDone before it shuts the toolkit and SDL down; the main thread
//   takes it to report that it has left its loop and needs neither any more.
//
// Where two are held at once: sceneLock before guiLock (the frame draws the toolkit's windows),
// sceneLock before progressLock (the frame reads the search's last report), queueLock before
// shutdownLock. No lock is held while a thread waits for a dialog's answer.
//
// The members below stand in blocks, each opening with the lock that guards it or the thread
// that owns it.

#include "AcceptSettings.h"
#include "Assets.h"
#include "BoardPicking.h"
#include "Camera.h"
#include "CurrentGame.h"
#include "DialogAnswer.h"
#include "Fen.h"
#include "InputHandlers.h"
#include "LatestTextWriter.h"
#include "Move.h"
#include "MoveGesture.h"
#include "PgnReader.h"
#include "PgnWriter.h"
#include "PlayedBy.h"
#include "Position.h"
#include "RememberedWindowFile.h"
#include "RequestCoalescer.h"
#include "SceneMutex.h"
#include "ScreenButtons.h"
#include "SoundPlayer.h"
#include "Toolkit.h"
#include "UserInterface.h"
#include "WholeWrites.h"
#include "WindowGeometry.h"

#include <GL/gl.h>

#include <atomic>
#include <condition_variable>
#include <ctime>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

class GamesWindow;
class MovesWindow;
class SettingsDialog;

// F11, or Alt with Enter: the keys that switch between the window and fullscreen.
bool isFullscreenToggle(const SDL_Event& event);

class SDLUserInterface : public UserInterface, public InputHandlers, private SettingsActions {
public:
    // Loads the font, the models and the board image; a data file found nowhere or unreadable
    // stops the program with a message naming it.
    SDLUserInterface();
    // Only tests end a front-end; the program's lives until the process ends.
    ~SDLUserInterface() override;

    // The moves and the search's progress go to the log file; before run.
    void enableLog() { logEnabled = true; }
    // Before run: the window starts with the games of this PGN file offered (the only one
    // opened at once), or from this position.
    void offerGamesOf(std::string path) { fileAtStart = std::move(path); }
    void startFrom(FenPosition position) { positionAtStart = position; }
    // Opens the window and plays until it is closed: 0, or -1 when the window cannot start.
    int run();

    void showError(std::string message) override;
    void showWarning(std::string message) override;
    void showInformation(std::string message) override;
    void logMessage(std::string line) override;
    bool askYesNo(std::string question) override;
    int askPromotionPiece() override;
    void reportSearchProgress(SearchReport report) override;
    void claimDraw() override;

    // Event handlers, on the main thread.
    void keyPressed(Key key, Modifiers modifiers, uint16_t unicode) override;
    void keyReleased(Key key, Modifiers modifiers, uint16_t unicode) override;
    void mouseMoved(int x, int y, int dx, int dy, bool left, bool right, bool middle) override;
    void wheelTurned(bool up, bool down) override;
    void leftButtonPressed(int x, int y) override;
    void leftButtonReleased(int x, int y) override;
    void middleButtonReleased(int x, int y) override;
    void windowResized(int width, int height) override;
    // On the rendering thread, when the window is closed or the process told to end.
    void quitRequested() override;

    // Where the engine's turn is, as engineState holds it: a stop turns Thinking into Stopping,
    // the turn's end makes it Finished, and the main thread's join Joined.
    enum EngineState : int32_t {
        NoTurnYet = 0,
        Thinking = 1,
        Finished = 2,
        Joined = 3,
        Stopping = 4
    };

private:
    // Reaches the game flow's state for the tests, which run it without a window.
    friend struct SDLUserInterfaceTestSeam;

    // Game flow, on the main thread unless said otherwise.
    void startNewGame();
    // The game from a set-up position, in place of the one on the board.
    void startFromPosition(const FenPosition& start);
    // A game read from a file in place of the one on the board, with `onBoard` of its moves on
    // the board and the rest to redo. One the archive holds already (`archived`) is written to
    // it again only once it has changed.
    void openGame(const PgnGameRecord& record, int onBoard, bool archived);
    // What the window does first: offers the kept unfinished game, then the file or the
    // position of the command line.
    void makeStartChoices();
    // The "Games" window with the file's games; one game is opened at once.
    void offerGames(PgnFile file, bool newestMarked);
    // The G key: the games of the file of the command line, else of the archive.
    void toggleGamesWindow();
    // Shows the board after the game's first `plies` moves, the later ones kept to redo; and
    // one move back or forward from the board.
    void stepTo(int plies);
    void stepBy(int plies);
    // The "New game" button and Ctrl+N: asks, then abandons the game even while the engine
    // thinks.
    void newGameChosen();
    // The engine's move, on the engine-turn thread.
    void playMove(const Move& move);
    // Lists the legal moves and announces the end of the game when there are none; also on the
    // engine-turn thread.
    void refreshGameState();
    void offerDrawClaim();
    // A human's move, as a release over a legal target makes it.
    void playHumanMove(Square from, Square to);
    void undo();
    void redo();
    // Starts the engine's turn when it is due, then waits for events or the turn's end
    // (queueLock held on entry and return, not while a turn is joined).
    void scheduleEngine(std::unique_lock<std::mutex>& queueHold);
    // The non-waiting part of scheduleEngine: joins a finished turn, starts one when due.
    void startEngineTurnIfDue();
    void engineTurn();
    // Before a search starts (the engine's turn or a hint's): no stop pending, and no progress
    // of the last search left to show; no search running.
    void clearLastSearch();
    // Asks a thinking engine turn to drop its move; any thread.
    void stopEngineTurn() override;
    // Waits until a finished or stopped turn has ended; main thread, no lock held.
    void joinEngineTurn();
    // H: the engine's move in the player's place, searched on a thread of its own while the
    // player is to move; main thread.
    void askForHint();
    void hintSearch();
    // Stops a hint's search, waits for its thread and takes its squares off the board, before
    // the game changes or the engine's turn needs the search; main thread, no lock held.
    void dropHint();
    // The sound of a move just made on the game; any thread that plays one.
    void playMoveSound(const Move& move);
    // S turns the sound off and on, and the choice is remembered; main thread.
    void toggleSound();
    // Makes the rendering thread draw a frame; any thread.
    void wakeRenderer();
    // Appends the game to the archive unless it has no moves or is there already as it stands;
    // a failure is reported on standard error and, while the window is open, in a warning. Any
    // thread that may change the game; no lock held.
    void archiveGame(bool windowOpen);
    // The game as the archive keeps it (the moves on the board), or with `wholeLine` with the
    // moves taken back after them too; sceneLock held.
    PgnGame gameRecord(bool wholeLine) const;
    // Hands the game over to be kept in the data directory; any thread, no lock held.
    void keepCurrentGame();
    // Runs the task on the main thread between two events; any thread.
    void runOnMainThread(std::function<void()> task);
    // The M key shows and hides the move list; main thread.
    void toggleMovesWindow();
    void setButton(const std::string& text, bool enabled);
    bool buttonEnabled(const std::string& text) const;

    // What the settings dialog's "OK" asks (stopEngineTurn first), on the rendering thread
    // inside a frame.
    void resizeSearchPool(int threads) override;
    void saveSettings() override;
    void updateUndoRedoButtons() override;
    // Turns the knight models as the settings say; also at start-up.
    void orientKnights() override;

    // The rendering thread's body and its parts.
    void renderingMain();
    bool startRendering(std::string& failure);
    void createButtons();
    void renderingLoop();
    // Hands the pending events on; true when one of them needs a frame.
    bool collectEvents(bool block);
    void finishRendering();

    // The window's size and fullscreen state, on the rendering thread.
    // Opens the window as it was left last time, at least as large as the minimum.
    SDL_Surface* openRememberedWindow();
    // The video mode, the viewport and the projection at the new size, which the main thread is
    // then told of; false when SDL refuses the mode.
    bool setWindowMode(int width, int height, bool toFullscreen);
    // The last size that one batch of events asked for.
    void windowSizeAsked(int width, int height);
    void toggleFullscreen();
    // Writes the windowed size and the fullscreen state when they changed.
    void rememberWindow();
    void mainLoop(std::unique_lock<std::mutex>& queueHold);
    void shutDownGame();

    // Picking, on the main thread with sceneLock held.
    void pickUp();
    void dropPick();
    std::optional<Square> pickedSquare() const;
    MoveGesture::Under underMouse() const;
    // Drops the pick and any press in progress: the game changed, or Escape.
    void cancelPick();
    // The square under a mouse position, from the camera and the window size as the frame
    // draws them; main thread.
    struct Hover {
        bool valid = false;
        int32_t file = 0, rank = 0;
        bool isTarget = false;
        bool operator==(const Hover&) const = default;
    };
    Hover hoverUnder(int x, int y) const;
    // sceneLock held.
    void setHover(const Hover& hover);

    template <typename T> T waitForAnswer(DialogAnswer<T>& answer, ToolkitWindow* window);
    void showMessage(const char* title, std::string text);

    // Drawing, on the rendering thread.
    void setUpOpenGL();
    // The viewport and the scene's projection for the drawn size.
    void setUpProjection();
    void drawFrame();
    // Scene passes.
    // The mirror image under the board is drawn with the coarse shapes.
    void drawPieces(bool mirrored);
    void drawStaticPieces(const Position& position, bool mirrored);
    void drawPiece(int piece, bool mirrored);
    void drawHighlight(int file, int rank, float r, float g, float b, float a);
    void drawOverlay();
    void drawText(const std::string& text, int x, int y);
    void drawImage(const SDL_Surface& image, int x, int y);
    // The engine's thinking under the status line; its text changes with every report shown,
    // so only the last one's image is kept.
    void drawThinkingLine();

    // The locks, and the conditions waited for with them (the block at the top tells the rest).
    SceneMutex sceneLock;
    std::mutex queueLock, shutdownLock;
    // Recursive: a widget action runs inside the frame, which holds the lock, and may itself
    // show a message (a settings save that fails does).
    std::recursive_mutex guiLock;
    // With queueLock: an event came, the window closed or an engine turn finished.
    std::condition_variable eventsAvailable;
    // With shutdownLock: the main thread has left its loop.
    std::condition_variable mainDone;

    // Atomic, shared by all threads.
    std::atomic<bool> running{true};
    std::atomic<int32_t> engineState{NoTurnYet};
    std::atomic<bool> engineStop{false};
    // A hint's search runs (set by the main thread as it starts one, cleared by its thread);
    // a stop asks it to drop its answer.
    std::atomic<bool> hintSearching{false};
    std::atomic<bool> hintStop{false};
    // Set before the rendering thread releases the dialogs at its end, so that a dialog asked
    // for afterwards does not wait.
    std::atomic<bool> renderingEnded{false};
    // The settings dialog shown at start-up is still open. The game begins when it closes: a
    // player who makes White human there must not find a move already made in his name.
    std::atomic<bool> openingDialogShown{false};
    // The game is kept only once the one kept before has been offered, so that the start does
    // not overwrite it first.
    std::atomic<bool> keepingStarted{false};
    // Their places are laid out by the main thread when the window's size changes (the frame
    // works them out from its own size); their atomic flags change on any thread.
    ScreenButtons buttons;

    // sceneLock.
    Position game{};
    MoveList legalMoves{&game};
    int32_t legalMoveCount = 0;
    // While animating, the engine's last move slides over animationPosition, the game without
    // the pieces it moves.
    Move lastEngineMove;
    Position animationPosition{};
    bool animating = false;
    uint32_t animationStart = 0;
    // The game's moves in standard algebraic notation, rebuilt with legalMoves: those on the
    // board, and those with the moves taken back after them. The Date of its start, the FEN of
    // a start that is not the standard array, who made its moves, and the text last written to
    // the archive for it.
    std::vector<std::string> gameMoves, gameLine;
    std::string gameDate, startFen;
    // How the start position numbers the moves: Black may move first, from any move number.
    bool startBlackFirst = false;
    int startMoveNumber = 1;
    PlayedBy playedBy;
    std::string archivedGame;
    // The player stepped back to an earlier position, where the engine does not move.
    bool showingEarlierPosition = false;
    // The hint's two squares, marked until the game changes; written by its thread too.
    std::optional<std::pair<Square, Square>> hintSquares;

    // sceneLock, written only by the main thread, which reads them without it.
    Camera camera;
    int32_t windowWidth = 800, windowHeight = 600;
    bool hoverValid = false;
    int32_t hoverFile = 0, hoverRank = 0;
    bool hoverIsTarget = false;
    bool squareSelected = false;
    int32_t selectedFile = 0, selectedRank = 0;
    std::vector<Move> targetMoves;
    // Whether the button went down on the board, and where; only the main thread uses it.
    MoveGesture moveGesture;

    // queueLock.
    std::deque<SDL_Event> eventQueue;
    std::deque<std::function<void()>> mainThreadTasks;
    // Every event the rendering thread collected, taken by the game or not.
    uint64_t eventsCollected = 0;

    // guiLock.
    Toolkit toolkit;
    // Both belong to the toolkit's window list; the move list is created hidden at start.
    SettingsDialog* settingsDialog = nullptr;
    MovesWindow* movesWindow = nullptr;
    GamesWindow* gamesWindow = nullptr;

    // shutdownLock.
    bool mainLeftLoop = false;

    // Settled before the main loop starts; read without a lock afterwards.
    bool logEnabled = false;
    std::optional<std::string> fileAtStart;
    std::optional<FenPosition> positionAtStart;
    // Keeps the game in progress; made by run before the other threads start.
    std::unique_ptr<LatestTextWriter> currentGameKeeper;

    // Main thread: the kept game found at start, until it is offered.
    std::optional<UnfinishedGame> unfinishedAtStart;
    // The start-up handshake: set once by the rendering thread, waited for by run.
    std::promise<bool> startup;

    // Main thread.
    std::thread renderingThread, engineThread, hintThread;

    // The engine's turn while one runs (its search reports one at a time, then its thread
    // writes the move); the main thread opens and closes it while none does.
    // Each line lands whole: a full disk leaves no fragment of one.
    AppendOnlyFile logFile;

    // progressLock, taken by the search threads' reports and by the frame, never with another.
    std::mutex progressLock;
    // The running search's latest report (the engine's turn or a hint); none before its first.
    std::optional<SearchReport> latestReport;
    // Wakes the renderer for the reports, a few times a second at most.
    RequestCoalescer progressFrames{std::chrono::milliseconds(250), [this] { wakeRenderer(); }};

    // Locks of its own: any thread plays a sound; the rendering thread stops it before SDL ends.
    SoundPlayer sounds;

    // Rendering thread: the size the frames are drawn at, ahead of the main thread's windowWidth
    // and windowHeight until it has handled the resize; the desktop's size, which fullscreen
    // takes; the windowed size, which leaving fullscreen returns to; what the remembered file
    // held at the start.
    int32_t drawnWidth = 800, drawnHeight = 600;
    WindowSize desktop, windowed;
    bool fullscreen = false;
    RememberedWindow rememberedAtStart;

    // Rendering thread, once the constructor has loaded the assets.
    GuiAssets assets;
    std::string thinkingLineText;
    SDL_Surface* thinkingLineImage = nullptr;
    GLuint boardTexture = 0;
    float savedProjection[16] = {}, savedModelview[16] = {}, savedTextureMatrix[16] = {};
};
