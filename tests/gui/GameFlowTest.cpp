// The windowed game's flow with its real threads: engine turns stopped by undo, redo and draw
// claims while events keep arriving. No window is opened.
#include "Fen.h"
#include "GameFlowRules.h"
#include "SDLUserInterfaceTestSeam.h"
#include "San.h"
#include "SearchControl.h"
#include "Settings.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <thread>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;

class GameFlow : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("XDG_DATA_DIRS", VELTMARK_BUILD_DATA, 1);
        // Games that end here go to an archive of the test's own.
        dataHome = std::filesystem::path(::testing::TempDir()) /
                   ("veltmark-game-flow-" + std::to_string(::getpid()));
        ::setenv("XDG_DATA_HOME", dataHome.c_str(), 1);
        settings = defaultSettings();
        settings.threadCount = 2;
        settings.timePerMove = 30.0;
        window = std::make_unique<SDLUserInterface>();
        theUserInterface = window.get();
        ui.emplace(SDLUserInterfaceTestSeam{*window});
        // The flow, not the loudspeaker, is under test.
        ui->soundOn(false);
        createSearchPool(&ui->game(), settings.threadCount);
        redoHead = &ui->game();
        ui->startNewGame();
    }

    void TearDown() override {
        stopFeeding();
        ui->stopEngineTurn();
        ui->joinEngineTurn();
        ui->dropHint();
        destroySearchPool();
        ui.reset();
        window.reset();
        theUserInterface = nullptr;
        std::filesystem::remove_all(dataHome);
    }

    // The Result tags of the archived games, in order.
    std::vector<std::string> archivedResults() {
        std::ifstream archive(dataHome / "veltmark" / "games.pgn");
        std::vector<std::string> results;
        const std::string tag = "[Result \"";
        for (std::string line; std::getline(archive, line);) {
            if (line.rfind(tag, 0) == 0) {
                results.push_back(line.substr(tag.size(), line.size() - tag.size() - 2));
            }
        }
        return results;
    }

    void players(int white, int black) {
        settings.whitePlayer = white;
        settings.blackPlayer = black;
    }

    void setPosition(const std::string& fen) {
        ASSERT_TRUE(setFromFen(ui->game(), fen));
        ui->game().previous = nullptr;
        redoHead = &ui->game();
        ui->refreshGameState();
    }

    void startEngine() {
        ui->startEngineTurnIfDue();
        ASSERT_EQ(ui->engineState(), SDLUserInterface::Thinking);
        // Long enough for the search to be under way.
        std::this_thread::sleep_for(100ms);
    }

    bool buttonOn(const std::string& text) { return ui->buttonEnabled(text); }

    // As the rendering thread does, and the main thread handling them, while the test goes on.
    void feedEvents() {
        feeding_ = true;
        feeder_ = std::thread([this] {
            for (int i = 0; feeding_; ++i) {
                SDL_Event event{};
                event.type = SDL_MOUSEMOTION;
                event.motion.x = static_cast<Uint16>(100 + i % 600);
                event.motion.y = 300;
                ui->queueEvent(event);
                std::this_thread::sleep_for(1ms);
            }
        });
        handler_ = std::thread([this] {
            while (feeding_) {
                ui->handleQueuedEvents(10ms);
            }
        });
    }

    void stopFeeding() {
        feeding_ = false;
        if (feeder_.joinable()) {
            feeder_.join();
            handler_.join();
        }
    }

    // Answers the next question shown, as the rendering thread would after a click.
    void answerNextQuestion(bool yes) {
        answerer_ = std::thread([this, yes] {
            for (int tries = 0; tries < 2000 && !ui->answerShownQuestion(yes); ++tries) {
                std::this_thread::sleep_for(5ms);
            }
        });
    }

    std::vector<std::string> messages() { return ui->messageTitles(); }

    std::unique_ptr<SDLUserInterface> window;
    std::optional<SDLUserInterfaceTestSeam> ui;
    std::thread answerer_;
    std::filesystem::path dataHome;

private:
    std::atomic<bool> feeding_{false};
    std::thread feeder_, handler_;
};

TEST_F(GameFlow, UndoWhileTheEngineThinksTakesBackOnlyTheHumansMove) {
    players(0, 1);
    const std::string logPath = ::testing::TempDir() + "veltmark-stopped-turn.log";
    ui->openLog(logPath);
    ui->playHumanMove({5, 2}, {5, 4});
    EXPECT_TRUE(buttonOn(undoButton));
    // This thread and the event handler both stand for the main thread, and only one at a time
    // may touch the pick state: the events begin after the human's move.
    feedEvents();
    startEngine();

    ui->undo();
    EXPECT_EQ(ui->engineState(), SDLUserInterface::Joined);
    EXPECT_EQ(ui->game().at(5, 2), WhitePawn);
    EXPECT_EQ(ui->game().sideToMove, 1);
    EXPECT_EQ(positionsToRedo(ui->game()), 1) << "the engine's dropped move was never played";
    EXPECT_FALSE(buttonOn(undoButton));
    EXPECT_TRUE(buttonOn(redoButton));

    // The stopped turn leaves its progress lines but neither a thinking time nor a move.
    ui->closeLog();
    std::ifstream log(logPath);
    int progressLines = 0;
    for (std::string line; std::getline(log, line);) {
        EXPECT_NE(line.find(" plies, "), std::string::npos) << line;
        ++progressLines;
    }
    EXPECT_GT(progressLines, 0);
}

TEST_F(GameFlow, RedoWhileTheEngineThinksReplaysTheMoveWithoutTheEnginesAnswer) {
    players(0, 0);
    ui->playHumanMove({5, 2}, {5, 4});
    ui->playHumanMove({5, 7}, {5, 5});
    ui->undo();
    ASSERT_EQ(ui->game().at(5, 7), BlackPawn);

    // The user lets the engine play Black and, while it thinks, asks for the move back.
    players(0, 1);
    feedEvents();
    startEngine();
    ui->redo();
    EXPECT_EQ(ui->engineState(), SDLUserInterface::Joined);
    EXPECT_EQ(ui->game().at(5, 5), BlackPawn);
    EXPECT_EQ(movesInRecord(ui->game()), 2);
    EXPECT_TRUE(buttonOn(undoButton));
    EXPECT_FALSE(buttonOn(redoButton));
}

TEST_F(GameFlow, EngineClaimingADrawEndsTheGameWithoutItsMove) {
    players(1, 0);
    settings.timePerMove = 1.0;
    setPosition("4k3/8/8/4p3/4P3/8/8/4K3 w - - 101 1");
    feedEvents();
    ui->startEngineTurnIfDue();
    ASSERT_TRUE([&] {
        for (int i = 0; i < 1000 && ui->engineState() == SDLUserInterface::Thinking; ++i) {
            std::this_thread::sleep_for(10ms);
        }
        return ui->engineState() != SDLUserInterface::Thinking;
    }());
    ui->joinEngineTurn();
    EXPECT_TRUE(ui->game().drawClaimed);
    EXPECT_EQ(ui->legalMoveCount(), 0);
    EXPECT_EQ(ui->game().at(5, 1), WhiteKing) << "the claim drops the engine's move";
    EXPECT_EQ(messages(), std::vector<std::string>{"Information"});
    EXPECT_TRUE(buttonOn(newGameButton));
}

TEST_F(GameFlow, HumanClaimsTheDrawThatItsMoveMadeClaimable) {
    players(0, 1);
    setPosition("4k3/8/8/4p3/4P3/8/8/4K3 w - - 100 1");
    answerNextQuestion(true);
    ui->playHumanMove({5, 1}, {4, 1});
    answerer_.join();
    EXPECT_TRUE(ui->game().drawClaimed);
    EXPECT_EQ(ui->legalMoveCount(), 0);
    EXPECT_EQ(gameEndAnnouncement(ui->game()),
              "The game has ended\nin a draw.\nNeither player has won.");
    ui->startEngineTurnIfDue();
    EXPECT_NE(ui->engineState(), SDLUserInterface::Thinking) << "no turn after the game's end";
    EXPECT_EQ(archivedResults(), std::vector<std::string>{"1/2-1/2"});
}

TEST_F(GameFlow, EachGameIsArchivedOnceWhenItEndsOrANewGameReplacesIt) {
    players(0, 0);
    ui->playHumanMove({6, 2}, {6, 3});
    ui->playHumanMove({5, 7}, {5, 5});
    ui->playHumanMove({7, 2}, {7, 4});
    ui->playHumanMove({4, 8}, {8, 4});
    EXPECT_EQ(archivedResults(), std::vector<std::string>{"0-1"}) << "written at the mate";
    ui->startNewGame();
    EXPECT_EQ(archivedResults(), std::vector<std::string>{"0-1"}) << "and not again";
    ui->playHumanMove({4, 2}, {4, 4});
    ui->startNewGame();
    EXPECT_EQ(archivedResults(), (std::vector<std::string>{"0-1", "*"}));
    ui->startNewGame();
    EXPECT_EQ(archivedResults().size(), 2u) << "a game without moves is not archived";
}

TEST_F(GameFlow, AnOpenedGameIsArchivedOnlyOnceChangedAndAContinuedOneWhenReplaced) {
    players(0, 0);
    const PgnFile file("sent.pgn", "1. f3 e5 2. g4 Qh4# 0-1\n\n1. e4 e5 2. Nf3 *\n");
    std::string error;
    const auto finished = file.readGame(0, error);
    const auto unfinished = file.readGame(1, error);
    ASSERT_TRUE(finished && unfinished) << error;

    // A finished game from a file shows its end, and is not written again.
    ui->openGame(*finished, 4, true);
    EXPECT_EQ(ui->legalMoveCount(), 0);
    EXPECT_TRUE(buttonOn(newGameButton));
    ui->startNewGame();
    EXPECT_TRUE(archivedResults().empty());

    // The kept game, continued, goes there when it is replaced; with a move changed, an opened
    // one does too.
    ui->openGame(*unfinished, 2, false);
    EXPECT_EQ(movesInRecord(ui->game()), 2);
    EXPECT_EQ(positionsToRedo(ui->game()), 1);
    ui->startNewGame();
    ui->openGame(*unfinished, 3, true);
    ui->playHumanMove({2, 8}, {3, 6});
    ui->startNewGame();
    EXPECT_EQ(archivedResults(), (std::vector<std::string>{"*", "*"}));

    // A file of one game opens it at once, without the list.
    ui->offerGames(PgnFile("one.pgn", "1. e4 e5 2. Nf3 *\n", false));
    EXPECT_EQ(movesInRecord(ui->game()), 3);
}

TEST_F(GameFlow, SteppingBackKeepsTheLaterMovesAndTheEngineWaitsUntilAMoveIsMadeThere) {
    players(0, 0);
    ui->playHumanMove({5, 2}, {5, 4});
    ui->playHumanMove({5, 7}, {5, 5});
    ui->playHumanMove({7, 1}, {6, 3});
    ui->stepTo(1);
    EXPECT_EQ(movesInRecord(ui->game()), 1);
    EXPECT_EQ(positionsToRedo(ui->game()), 2);
    EXPECT_TRUE(buttonOn(redoButton));

    // Black is the engine's now, and Black is to move: it waits while the player looks.
    players(0, 1);
    ui->startEngineTurnIfDue();
    EXPECT_NE(ui->engineState(), SDLUserInterface::Thinking);
    ui->stepTo(99);
    EXPECT_EQ(movesInRecord(ui->game()), 3);
    ui->stepTo(1);

    // A move made there continues the game from it; the later moves go.
    ui->playHumanMove({4, 7}, {4, 5});
    EXPECT_EQ(movesInRecord(ui->game()), 2);
    EXPECT_EQ(positionsToRedo(ui->game()), 0);
    EXPECT_EQ(sanMovesOfRecord(ui->game()), (std::vector<std::string>{"e4", "d5"}));
}

} // namespace

namespace {

TEST_F(GameFlow, NewGameWhileTheEngineThinksStopsItAtOnceAndPlaysNoMove) {
    players(0, 1);
    const std::string logPath = ::testing::TempDir() + "veltmark-new-game.log";
    ui->openLog(logPath);
    ui->playHumanMove({5, 2}, {5, 4});
    startEngine();

    answerNextQuestion(true);
    const auto chosen = std::chrono::steady_clock::now();
    ui->pressButton(newGameButton);
    const auto took = std::chrono::steady_clock::now() - chosen;
    answerer_.join();
    // The answer is looked for every 5 ms; the rest is the stopped turn's end.
    EXPECT_LT(took, 500ms) << "the thinking time is 30 s";
    EXPECT_EQ(ui->engineState(), SDLUserInterface::Joined);
    EXPECT_EQ(ui->game().at(5, 2), WhitePawn);
    EXPECT_EQ(ui->game().sideToMove, 1);
    EXPECT_EQ(movesInRecord(ui->game()), 0);

    ui->closeLog();
    std::ifstream log(logPath);
    for (std::string line; std::getline(log, line);) {
        EXPECT_NE(line.find(" plies, "), std::string::npos) << "no move and no thinking time";
    }
}

TEST_F(GameFlow, NewGameIsOfferedExactlyWhileTheGameHasEnded) {
    players(0, 0);
    for (const auto& [from, to] : {std::pair<Square, Square>{{6, 2}, {6, 3}},
                                   {{5, 7}, {5, 5}},
                                   {{7, 2}, {7, 4}},
                                   {{4, 8}, {8, 4}}}) {
        EXPECT_FALSE(buttonOn(newGameButton));
        ui->playHumanMove(from, to);
    }
    ASSERT_EQ(ui->legalMoveCount(), 0) << "mate";
    EXPECT_TRUE(buttonOn(newGameButton));
    ui->undo();
    EXPECT_FALSE(buttonOn(newGameButton)) << "the game goes on after the undo";
    ui->redo();
    EXPECT_TRUE(buttonOn(newGameButton)) << "the redo ends it again";
}

TEST_F(GameFlow, AStopWithNoTurnThinkingDoesNotCancelTheNextTurn) {
    players(0, 0);
    // The settings' "OK" stops the engine just before the main thread starts a turn.
    ui->stopEngineTurn();
    EXPECT_FALSE(ui->engineStop());
    EXPECT_EQ(ui->engineState(), SDLUserInterface::NoTurnYet);
}

TEST_F(GameFlow, AHumanReplyEndsTheEnginesMoveAnimation) {
    players(0, 0);
    Move engineMove(&ui->game());
    engineMove.setFromSquares(5, 2, 5, 4);
    ui->playMove(engineMove);
    ASSERT_TRUE(ui->animating());
    ui->playHumanMove({5, 7}, {5, 5});
    EXPECT_FALSE(ui->animating()) << "the frame shows the game with the reply at once";
}

} // namespace

namespace {

TEST_F(GameFlow, APressPicksUpAndAReleaseMovesWithNoFrameDrawn) {
    players(0, 0);
    // e2 and e4 on the screen with the starting camera; no rendering thread runs here.
    window->leftButtonPressed(430, 429);
    ASSERT_TRUE(ui->squareSelected());
    EXPECT_EQ(ui->selectedFile(), 5);
    EXPECT_EQ(ui->selectedRank(), 2);
    EXPECT_EQ(ui->targetCount(), 2u);
    window->mouseMoved(428, 330, 0, -99, true, false, false);
    EXPECT_TRUE(ui->hoverIsTarget()) << "the preview shows the pawn on e4";
    window->leftButtonReleased(428, 330);
    EXPECT_FALSE(ui->squareSelected());
    EXPECT_EQ(ui->game().at(5, 4), WhitePawn);
    EXPECT_EQ(ui->game().sideToMove, 0);
}

} // namespace

namespace {

TEST_F(GameFlow, AClickPicksThePieceAndAClickOnATargetMovesIt) {
    players(0, 0);
    // e2, e4 and d2 on the screen with the starting camera.
    window->leftButtonPressed(430, 429);
    window->leftButtonReleased(430, 429);
    ASSERT_TRUE(ui->squareSelected()) << "a click keeps the pawn picked";
    window->mouseMoved(428, 330, 0, -99, false, false, false);
    EXPECT_FALSE(ui->hoverIsTarget()) << "no preview under a mouse that drags nothing";
    window->leftButtonPressed(428, 330);
    EXPECT_FALSE(ui->squareSelected());
    EXPECT_EQ(ui->game().at(5, 4), WhitePawn);
    window->leftButtonReleased(428, 330);
    EXPECT_EQ(ui->game().sideToMove, 0) << "the release after the move does nothing more";
}

TEST_F(GameFlow, AHintIsTheEnginesMoveAndIsDroppedWhenThePlayerMoves) {
    players(0, 1);
    settings.timePerMove = 0.3;
    // White mates at once with Qh5xf7.
    setPosition("r1bqkbnr/pppp1ppp/2n5/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq - 4 4");
    ui->askForHint();
    EXPECT_NE(ui->engineState(), SDLUserInterface::Thinking) << "the engine's turn is not due";
    for (int i = 0; i < 500 && ui->hintSearching(); ++i) {
        std::this_thread::sleep_for(10ms);
    }
    const auto hint = ui->hintSquares();
    ASSERT_TRUE(hint);
    EXPECT_EQ(*hint, (std::pair<Square, Square>{{8, 5}, {6, 7}}));
    EXPECT_EQ(movesInRecord(ui->game()), 0) << "the hint plays nothing";

    // A hint still searching (30 s) is stopped and dropped by the player's move.
    settings.timePerMove = 30.0;
    setPosition("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
    ui->askForHint();
    std::this_thread::sleep_for(100ms);
    ASSERT_TRUE(ui->hintSearching());
    const auto moved = std::chrono::steady_clock::now();
    ui->playHumanMove({5, 2}, {5, 4});
    EXPECT_LT(std::chrono::steady_clock::now() - moved, 1s);
    EXPECT_FALSE(ui->hintSearching());
    EXPECT_FALSE(ui->hintSquares());
    EXPECT_EQ(ui->game().at(5, 4), WhitePawn);
    EXPECT_FALSE(ui->game().drawClaimed);
    // The engine's own turn runs as before.
    startEngine();
    EXPECT_EQ(ui->engineState(), SDLUserInterface::Thinking);
}

TEST_F(GameFlow, AHintWaitsForAStoppedEngineTurnToEnd) {
    // The settings give White, whose turn thinks, to a human and stop the turn; H comes before
    // the main loop has joined it. Two searches never share the pool.
    players(1, 0);
    startEngine();
    ui->changeSettings([&] {
        players(0, 0);
        settings.timePerMove = 0.2;
    });
    ui->stopEngineTurn();
    ui->askForHint();
    EXPECT_EQ(ui->engineState(), SDLUserInterface::Joined);
    for (int i = 0; i < 500 && ui->hintSearching(); ++i) {
        std::this_thread::sleep_for(10ms);
    }
    EXPECT_TRUE(ui->hintSquares());
    EXPECT_EQ(movesInRecord(ui->game()), 0) << "the stopped turn dropped its move";
}

} // namespace
