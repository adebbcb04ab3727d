#include "GameFlowRules.h"
#include "GameSounds.h"
#include "TestPositions.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

Settings players(int white, int black) {
    Settings s = defaultSettings();
    s.whitePlayer = white;
    s.blackPlayer = black;
    return s;
}

// Takes back what one press of "Undo" takes back, as the window does.
void pressUndo(Position& game, const Settings& s) {
    const int steps = halfMovesToUndo(game, s);
    for (int i = 0; i < steps && game.previous != nullptr; ++i) {
        game.undoMove();
    }
}

// Redoes what one press of "Redo" redoes: the engine's reply comes back with the human's move.
void pressRedo(Position& game, const Settings& s) {
    game.redoMove();
    if (redoHead != &game && isEnginesTurn(game, s)) {
        game.redoMove();
    }
}

// The "Undo" and "Redo" states as a pair the assertions can compare and print.
std::pair<bool, bool> on(UndoRedoButtons b) {
    return {b.undo, b.redo};
}

const std::pair both{true, true}, undoOnly{true, false}, redoOnly{false, true},
    neither{false, false};

} // namespace

TEST(GameFlowRulesTest, EndOfGameTextNamesTheWinnerOrTheDraw) {
    EXPECT_EQ(gameEndAnnouncement(fromFen("R5k1/5ppp/8/8/8/8/8/6K1 b - - 0 1")),
              "The game has ended\nin a checkmate.\nWhite player has won.");
    EXPECT_EQ(gameEndAnnouncement(
                  fromFen("rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq - 1 3")),
              "The game has ended\nin a checkmate.\nBlack player has won.");
    const std::string draw = "The game has ended\nin a draw.\nNeither player has won.";
    EXPECT_EQ(gameEndAnnouncement(fromFen("7k/5Q2/6K1/8/8/8/8/8 b - - 0 1")), draw);
    Position claimed = fromFen("R5k1/5ppp/8/8/8/8/8/6K1 b - - 0 1");
    claimed.drawClaimed = true;
    EXPECT_EQ(gameEndAnnouncement(claimed), draw);
}

TEST(GameFlowRulesTest, EngineMovesForItsSideAndDrawsAreOfferedOnlyToHumans) {
    const Position white = startingPosition();
    const Position black = fromFen("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - 0 1");
    EXPECT_FALSE(isEnginesTurn(white, players(0, 1)));
    EXPECT_TRUE(isEnginesTurn(black, players(0, 1)));
    EXPECT_TRUE(isEnginesTurn(white, players(1, 0)));
    EXPECT_FALSE(isEnginesTurn(black, players(1, 0)));
    EXPECT_FALSE(isEnginesTurn(black, players(0, 0)));
    EXPECT_TRUE(isEnginesTurn(white, players(1, 1)));

    const Position fiftyMoves = fromFen("4k3/8/8/8/8/8/3R4/4K3 w - - 100 80");
    ASSERT_TRUE(fiftyMoves.isDrawClaimable());
    EXPECT_TRUE(shouldOfferDrawClaim(fiftyMoves, players(0, 1)));
    EXPECT_TRUE(shouldOfferDrawClaim(fiftyMoves, players(1, 0)));
    EXPECT_TRUE(shouldOfferDrawClaim(fiftyMoves, players(0, 0)));
    EXPECT_FALSE(shouldOfferDrawClaim(fiftyMoves, players(1, 1)));
    EXPECT_FALSE(shouldOfferDrawClaim(white, players(0, 0)));
}

TEST(GameFlowRulesTest, AgainstABlackEngineUndoTakesBackTheReplyToo) {
    const Settings s = players(0, 1);
    Game g;
    Position& game = g.position;
    play(game, "e2e4");
    // Undo while the engine thinks: its move was dropped, only the human's goes.
    EXPECT_EQ(halfMovesToUndo(game, s), 1);
    for (const char* move : {"e7e5", "g1f3", "b8c6"}) {
        play(game, move);
    }
    EXPECT_EQ(halfMovesToUndo(game, s), 2);
    pressUndo(game, s);
    EXPECT_EQ(movesInRecord(game), 2);
    EXPECT_EQ(on(buttonsAfterUndo(game, s)), both);
    pressUndo(game, s);
    EXPECT_EQ(movesInRecord(game), 0);
    EXPECT_EQ(on(buttonsAfterUndo(game, s)), redoOnly);
    EXPECT_EQ(positionsToRedo(game), 4);

    pressRedo(game, s);
    EXPECT_EQ(movesInRecord(game), 2) << "the reply comes back with the move";
    EXPECT_EQ(on(buttonsAfterRedo(game)), both);
    pressRedo(game, s);
    EXPECT_EQ(on(buttonsAfterRedo(game)), undoOnly);
    EXPECT_EQ(game.at(3, 6), BlackKnight);
}

TEST(GameFlowRulesTest, AgainstAWhiteEngineItsOpeningMoveStays) {
    const Settings s = players(1, 0);
    Game g;
    Position& game = g.position;
    for (const char* move : {"e2e4", "e7e5", "g1f3"}) {
        play(game, move);
    }
    EXPECT_EQ(halfMovesToUndo(game, s), 2);
    pressUndo(game, s);
    EXPECT_EQ(movesInRecord(game), 1);
    EXPECT_EQ(on(buttonsAfterUndo(game, s)), redoOnly);
    // Settings changed with one move in the record: still nothing to take back alone.
    EXPECT_FALSE(buttonsAfterSettingsChange(game, s, {true, true}).undo);
    EXPECT_TRUE(buttonsAfterSettingsChange(game, players(0, 0), {}).undo);
    pressRedo(game, s);
    EXPECT_EQ(movesInRecord(game), 3);
    EXPECT_EQ(on(buttonsAfterRedo(game)), undoOnly);
}

TEST(GameFlowRulesTest, ButtonsAfterASettingsChangeFollowTheNewPlayers) {
    Game g;
    Position& game = g.position;
    const auto change = [&](const Settings& s, std::pair<bool, bool> before) {
        return on(buttonsAfterSettingsChange(game, s, {before.first, before.second}));
    };
    for (const char* move : {"e2e4", "e7e5", "g1f3", "b8c6"}) {
        play(game, move);
    }
    EXPECT_EQ(halfMovesToUndo(game, players(0, 0)), 1);
    EXPECT_EQ(halfMovesToUndo(game, players(1, 1)), 2);
    // Two engines: nothing to press whatever the record holds.
    EXPECT_EQ(change(players(1, 1), both), neither);
    EXPECT_EQ(change(players(0, 1), neither), undoOnly);

    game.undoMove();
    game.undoMove();
    EXPECT_EQ(change(players(0, 1), neither), both);
    EXPECT_EQ(change(players(1, 1), both), neither);
    // One position left to redo: off when the engine is to move, as it was for a human.
    game.redoMove();
    ASSERT_EQ(positionsToRedo(game), 1);
    EXPECT_EQ(change(players(0, 1), both), undoOnly);
    EXPECT_EQ(change(players(1, 0), both), both);
    EXPECT_EQ(change(players(1, 0), undoOnly), undoOnly);
    game.redoMove();
    EXPECT_EQ(change(players(0, 0), both), undoOnly);

    game.clearHistory();
    EXPECT_EQ(change(players(0, 0), both), neither);
}

TEST(GameSoundsTest, TheEndOfTheGameOutranksACheckAndACheckOutranksACapture) {
    const Position mated = fromFen("rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq - 1 3");
    EXPECT_EQ(soundOfMove(mated, false, 0), GameSound::GameEnd);
    const Position checkedByACapture =
        fromFen("rnbqkbnr/pppp1Bpp/8/4p3/4P3/8/PPPP1PPP/RNBQK1NR b KQkq - 0 3");
    EXPECT_EQ(soundOfMove(checkedByACapture, true, 1), GameSound::Check);
    const Position quiet = startingPosition();
    EXPECT_EQ(soundOfMove(quiet, true, 20), GameSound::Capture);
    EXPECT_EQ(soundOfMove(quiet, false, 20), GameSound::Move);
}
