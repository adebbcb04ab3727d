#include "PgnReader.h"
#include "Exceptions.h"
#include "San.h"
#include "TestPositions.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Reads every game of the text; the moves of each in coordinate notation, or its error.
std::vector<std::string> readAll(const std::string& text) {
    const PgnFile file("games.pgn", text);
    std::vector<std::string> games;
    for (size_t i = 0; i < file.games().size(); ++i) {
        std::string error;
        const auto game = file.readGame(i, error);
        std::string moves;
        if (game) {
            for (const std::string& move : game->moves) {
                moves += move + " ";
            }
            moves += game->result;
        }
        games.push_back(game ? moves : error);
    }
    return games;
}

// What real files hold beside the moves: an escape line, escaped quotes, comments with brackets
// in them and across lines, nested variations with their own comments, NAGs, annotation marks,
// numbers glued to moves and with "...", castling with zeros, check marks left out, "e.p.", a
// promotion without "=", a FEN start without SetUp whose move number is 0, a game without tags.
const std::string lenientFile = R"(% written by hand
[Event "A \"quoted\" event"]
[Site "?"]
[Date "2024.03.01"]
[White "Anderssen, Adolf"]
[Black "Kieseritzky"]
[Result "1-0"]

1.e4 e5 2.Nf3 Nc6 3.Bc4!? {The Italian [a comment]
over two lines (with a bracket} Bc5 (3... Nf6 {the two knights)} 4. Ng5 (4. d4 exd4)
d5) 4.O-O $1 Nf6 5.d3 d6 6.Bg5 h6 7.Bxf6 Qxf6 8.Nc3 0-0 9.Nd5 Qd8?! ; to the line's end (
10.c3 a6 11.b4 Ba7 12.a4 Kh8 1-0

[Event "Set up"]
[FEN "4k3/8/8/8/8/8/1p6/R3K2R b KQ - 0 0"]

1... b1Q 2. Rxb1 Kd7 3. 0-0 Kc6 4. Rfe1 *

[Event "En passant"]
[Result "*"]

1. e4 Nf6 2. e5 d5 3. exd6 e.p. cxd6 4. d4 *
1. d4 d5 1/2-1/2
)";

} // namespace

TEST(PgnReaderTest, TheImportFormatAsRealFilesUseItIsRead) {
    EXPECT_EQ(readAll(lenientFile),
              (std::vector<std::string>{
                  "e2e4 e7e5 g1f3 b8c6 f1c4 f8c5 e1g1 g8f6 d2d3 d7d6 c1g5 h7h6 g5f6 d8f6 b1c3 "
                  "e8g8 c3d5 f6d8 c2c3 a7a6 b2b4 c5a7 a2a4 g8h8 1-0",
                  "b2b1q a1b1 e8d7 e1g1 d7c6 f1e1 *",
                  "e2e4 g8f6 e4e5 d7d5 e5d6 c7d6 d2d4 *",
                  "d2d4 d7d5 1/2-1/2",
              }));

    const PgnFile file("games.pgn", lenientFile);
    ASSERT_EQ(file.games().size(), 4u);
    const PgnGameSummary& first = file.games()[0];
    EXPECT_EQ(first.number, 1);
    EXPECT_EQ(first.line, 2);
    EXPECT_EQ(first.date, "2024.03.01");
    EXPECT_EQ(first.white, "Anderssen, Adolf");
    EXPECT_EQ(first.black, "Kieseritzky");
    EXPECT_EQ(first.result, "1-0");
    EXPECT_EQ(first.plyCount, 24);
    // Missing tags stay empty; the result comes from the movetext when no tag gives it.
    const PgnGameSummary& last = file.games()[3];
    EXPECT_EQ(last.number, 4);
    EXPECT_EQ(last.line, 23);
    EXPECT_EQ(last.white, "");
    EXPECT_EQ(last.result, "1/2-1/2");
    EXPECT_EQ(last.plyCount, 2);
    std::string error;
    EXPECT_EQ(*file.readGame(0, error)->tag("Event"), "A \"quoted\" event");
}

TEST(PgnReaderTest, ListingInPiecesGivesTheSameGamesAsAtOnce) {
    const PgnFile whole("games.pgn", lenientFile);
    PgnFile pieces("games.pgn", lenientFile, false);
    int calls = 0;
    while (pieces.listMore(16)) {
        ++calls;
    }
    EXPECT_TRUE(pieces.listed());
    EXPECT_EQ(calls, 3) << "a game per call";
    ASSERT_EQ(pieces.games().size(), whole.games().size());
    for (size_t i = 0; i < whole.games().size(); ++i) {
        const PgnGameSummary &a = whole.games()[i], &b = pieces.games()[i];
        EXPECT_EQ(std::tie(a.number, a.line, a.offset, a.length, a.plyCount, a.result),
                  std::tie(b.number, b.line, b.offset, b.length, b.plyCount, b.result));
    }
}

TEST(PgnReaderTest, AGameThatCannotBeReadIsNamedWithItsLineAndTheOthersStillOpen) {
    const std::string good = "[Event \"good\"]\n\n1. e4 e5 *\n\n";
    struct Case {
        std::string bad;
        std::string message;
    };
    const Case cases[] = {
        {"[Event \"bad\"]\n\n1. e4 e5\n2. Nf9 *\n",
         "games.pgn, game 3, line 12: \"Nf9\" is not a legal move here"},
        {"[Event \"bad\"]\n\n1. e4 e5 2. Ke3 *\n",
         "games.pgn, game 3, line 11: \"Ke3\" is not a legal move here"},
        {"[Event \"bad\"]\n[FEN \"4k3/8/8/8/8/8/8/1N2KN2 w - - 0 1\"]\n\n1. Nd2 *\n",
         "games.pgn, game 3, line 12: \"Nd2\" is ambiguous here: more than one legal move fits it"},
        {"[Event \"bad\"]\n[FEN \"8/8/8/8 w - - 0 1\"]\n\n1. e4 *\n",
         "games.pgn, game 3, line 10: \"8/8/8/8 w - - 0 1\" is not a FEN position: the piece "
         "placement has 4 ranks, not 8"},
        {"[Event \"bad\"]\n\n1. e4 (1. d4 (1. c4) e5 *\n\n",
         "games.pgn, game 3, line 11: \"(\" is not closed"},
        {"[Event \"bad\"]\n\n1. e4 e5) *\n",
         "games.pgn, game 3, line 11: \")\" closes no variation"},
        {"[Event \"bad\"]\n\n1. e4 <e5> *\n",
         "games.pgn, game 3, line 11: \"<\" cannot be read here"},
        {"[Event bad]\n\n1. e4 *\n",
         "games.pgn, game 3, line 9: \"[Event bad]\" is not a tag pair"},
    };
    for (const Case& c : cases) {
        const std::vector<std::string> games = readAll(good + good + c.bad + "\n" + good);
        ASSERT_EQ(games.size(), 4u) << c.bad;
        EXPECT_EQ(games[0], "e2e4 e7e5 *");
        EXPECT_EQ(games[2], c.message);
        EXPECT_EQ(games[3], "e2e4 e7e5 *") << c.bad;
    }
    // An unclosed comment runs to the end of the file.
    EXPECT_EQ(readAll(good + "1. e4 {never closed\n\n" + good).back(),
              "games.pgn, game 2, line 5: \"{\" is not closed");
}

TEST(PgnReaderTest, AFileThatCannotBeReadIsNamed) {
    std::string error;
    EXPECT_FALSE(PgnFile::open("/nonexistent/folder/games.pgn", error));
    EXPECT_EQ(error, "Cannot open /nonexistent/folder/games.pgn: No such file or directory");
    EXPECT_FALSE(PgnFile::open(fs::temp_directory_path().string(), error));
    EXPECT_EQ(error, "Cannot read " + fs::temp_directory_path().string() + ": it is a folder");
}

TEST(PgnReaderTest, AReadGameBecomesAGameRecordThatUndoStepsBackThrough) {
    const PgnFile file("games.pgn", lenientFile);
    std::string error;
    const auto setUp = file.readGame(1, error);
    ASSERT_TRUE(setUp) << error;
    EXPECT_TRUE(meaningfullyEqual(setUp->start, fromFen("4k3/8/8/8/8/8/1p6/R3K2R b KQ - 0 1")));

    Game game("4k3/8/8/8/8/8/8/4K3 w - - 0 1");
    play(game.position, "e1e2"); // a game in progress, which the read game replaces
    setUp->playInto(game.position);
    EXPECT_EQ(toFen(game.position), "8/8/2k5/8/8/8/8/1R2R1K1 b - - 4 1");
    EXPECT_EQ(sanMovesOfRecord(game.position),
              (std::vector<std::string>{"b1=Q+", "Rxb1", "Kd7", "O-O", "Kc6", "Rfe1"}));
    for (int i = 0; i < 6; ++i) {
        game.position.undoMove();
    }
    EXPECT_TRUE(meaningfullyEqual(game.position, setUp->start));
    EXPECT_THROW(game.position.undoMove(), CannotUndoException);
}
