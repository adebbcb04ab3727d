#include "Fen.h"
#include "TestPositions.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string start = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

// The reader's message for a record it must reject; empty if it accepted it.
std::string rejection(const std::string& fen) {
    try {
        readFen(fen);
    } catch (const InvalidFenException& e) {
        return e.what();
    }
    return {};
}

} // namespace

TEST(FenTest, ReadsWhatTheRulesPlayAndWritesItBack) {
    EXPECT_TRUE(meaningfullyEqual(readFen(start).position, startingPosition()));

    // After 1.e4 c5 2.e5 d5 White can take en passant: the record names the pawn on d5.
    Game game;
    for (const char* move : {"e2e4", "c7c5", "e4e5", "d7d5"}) {
        play(game.position, move);
    }
    const std::string fen = "rnbqkbnr/pp2pppp/8/2ppP3/8/8/PPPP1PPP/RNBQKBNR w KQkq d6 0 3";
    EXPECT_EQ(toFen(game.position, 3), fen);
    const FenPosition read = readFen(fen);
    EXPECT_EQ(read.fullmoveNumber, 3);
    Position expected = game.position;
    expected.previous = nullptr;
    EXPECT_TRUE(meaningfullyEqual(read.position, expected));

    // Castling rights, the clock and the king squares, Black to move.
    const Position p = readFen("r3k2r/8/8/8/8/8/8/R3K1R1 b Qk - 17 40").position;
    EXPECT_EQ(p.sideToMove, 0);
    EXPECT_FALSE(p.whiteCastleKingside);
    EXPECT_TRUE(p.whiteCastleQueenside);
    EXPECT_TRUE(p.blackCastleKingside);
    EXPECT_FALSE(p.blackCastleQueenside);
    EXPECT_EQ(p.halfmoveClock, 17);
    EXPECT_TRUE(p.kingSquaresAgreeWithBoard());
    EXPECT_EQ(toFen(p, 40), "r3k2r/8/8/8/8/8/8/R3K1R1 b Qk - 17 40");
}

TEST(FenTest, ForgivesTheCommonSlipsOfRealFiles) {
    EXPECT_EQ(readFen(start.substr(0, start.size() - 1) + "0").fullmoveNumber, 1);
    const std::string placement = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR";
    for (const std::string& fen : {placement + " w KQkq 0 1", placement + " w KQkq -",
                                   placement + " w KQkq", "  " + placement + "\tw KQkq - 0 1 \n"}) {
        const FenPosition read = readFen(fen);
        EXPECT_TRUE(meaningfullyEqual(read.position, startingPosition())) << fen;
        EXPECT_EQ(read.fullmoveNumber, 1) << fen;
    }
    // No castling field at all, and rights whose rook has gone: no castling.
    EXPECT_FALSE(readFen("4k3/8/8/8/8/8/8/4K2R w").position.whiteCastleKingside);
    EXPECT_FALSE(readFen("4k3/8/8/8/8/8/8/4K3 w KQkq - 0 1").position.whiteCastleKingside);
    // A double step that no pawn can answer leaves no record, as when the move is played.
    EXPECT_FALSE(readFen("4k3/8/8/8/4P3/8/8/4K3 b - e3 0 1").position.enPassantPossible);
}

TEST(FenTest, RejectsBadRecordsNamingTheFault) {
    const struct {
        std::string fen;
        std::string named;
    } cases[] = {
        {"", "empty"},
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR", "side to move is missing"},
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBN w KQkq - 0 1", "rank 1 describes 7"},
        {"rnbqkbnr/ppppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w - - 0 1", "rank 7 describes more"},
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP w - - 0 1", "7 ranks"},
        {"rnbqkbnr/pppppppp/8/8/8/8/8/PPPPPPPP/RNBQKBNR w - - 0 1", "more than 8 ranks"},
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNX w - - 0 1", "'X'"},
        {"rnbqkbnr/pppppppp/9/8/8/8/PPPPPPPP/RNBQKBNR w - - 0 1", "'9'"},
        {start.substr(0, start.find(' ')) + " x KQkq - 0 1", "\"x\", not w or b"},
        {start.substr(0, start.find(' ')) + " w KQxq - 0 1", "castling field \"KQxq\""},
        {start.substr(0, start.find(' ')) + " w KQkq e5 0 1", "en-passant field \"e5\""},
        {start.substr(0, start.find(' ')) + " w KQkq e3 0 1", "does not fit White"},
        {start.substr(0, start.find(' ')) + " w KQkq e6 0 1", "Black has no pawn on e5"},
        {start.substr(0, start.find(' ')) + " w KQkq - x 1", "half-move clock \"x\""},
        {start.substr(0, start.find(' ')) + " w KQkq - -3 1", "half-move clock \"-3\""},
        {start.substr(0, start.find(' ')) + " w KQkq - 0 99999999999", "move number"},
        {start + " bm e4;", "unexpected \"bm\""},
        {"8/8/8/8/8/8/8/4K3 w - - 0 1", "Black has no king"},
        {"k1k5/8/8/8/8/8/8/4K3 w - - 0 1", "Black has 2 kings"},
        {"4k2P/8/8/8/8/8/8/4K3 w - - 0 1", "White pawn stands on h8"},
        {"4k3/8/8/8/8/8/8/p3K3 w - - 0 1", "Black pawn stands on a1"},
        {"QQQQk3/QQQQ4/QQQQ4/QQQQ4/8/8/8/4K3 b - - 0 1", "White has 17 pieces"},
        {"4k3/8/8/8/8/P7/PPPPPPPP/4K3 w - - 0 1", "White has 9 pawns"},
        {"4k3/8/8/8/8/8/8/4K2r b - - 0 1", "White is in check with Black to move"},
        {"8/8/8/8/8/8/3k4/4K3 w - - 0 1", "Black is in check with White to move"},
    };
    for (const auto& c : cases) {
        const std::string message = rejection(c.fen);
        EXPECT_NE(message.find(c.named), std::string::npos)
            << "FEN: " << c.fen << "\nmessage: " << message;
        Position untouched = startingPosition();
        EXPECT_FALSE(setFromFen(untouched, c.fen)) << c.fen;
        EXPECT_TRUE(meaningfullyEqual(untouched, startingPosition())) << c.fen;
    }
}

// Every cut of a valid record, and a stray byte in every place of each, is read or rejected
// without a read past the text (the sanitizer builds watch); what is read writes back as it reads.
TEST(FenTest, SurvivesEveryTruncationAndStrayByte) {
    const std::string fen = "r3k2r/pp2bppp/2n5/3pP3/8/8/PP3PPP/R3K2R w KQkq d6 0 12";
    const auto readsConsistently = [](const std::string& text) {
        Position p{};
        if (setFromFen(p, text)) {
            const Position again = readFen(toFen(p)).position;
            EXPECT_TRUE(meaningfullyEqual(p, again)) << text;
            EXPECT_TRUE(p.kingSquaresAgreeWithBoard()) << text;
        }
    };
    for (std::size_t length = 0; length <= fen.size(); ++length) {
        const std::string cut = fen.substr(0, length);
        readsConsistently(cut);
        for (std::size_t at = 0; at < length; ++at) {
            for (const char byte : {'\0', '/', '9', 'K', 'p', '-', ' ', '\xff'}) {
                std::string changed = cut;
                changed[at] = byte;
                readsConsistently(changed);
            }
        }
    }
    EXPECT_EQ(rejection(fen), "");
}
