// Random and mutated PGN, from a fixed seed, for a bounded number of inputs and time: the reader
// must neither crash nor hang (the sanitizer build watches its memory), and what it reports must
// hold together.
#include "PgnReader.h"
#include "TestPositions.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr unsigned defaultSeed = 20261210;
constexpr int maxInputs = 6000;
constexpr auto maxDuration = std::chrono::seconds(6);

// Texts that steer the reader into its corners when dropped anywhere.
const std::string fragments[] = {
    "{",
    "}",
    "(",
    ")",
    "[",
    "]",
    "\"",
    "\\",
    ";",
    "\n%",
    "$",
    "$12",
    "\n",
    "\r\n",
    " ",
    "1-0",
    "0-1",
    "1/2-1/2",
    "*",
    "O-O",
    "0-0-0",
    "=Q",
    "e.p.",
    "...",
    "12.",
    "\xE2\x80\xA6",
    "!?",
    "[FEN \"",
    "[FEN \"8/8/8/8/8/8/8/8 w - - 0 1\"]\n",
    "[FEN \"k7/P7/K7/8/8/8/8/8 w - - 0 0\"]\n",
    "[FEN \"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq e3\"]\n",
    "[SetUp \"1\"]\n",
    "\xEF\xBB\xBF",
    std::string(1, '\0'),
    "\xff",
    "Nxe5+",
    "exd6",
    "Kxe8",
    "a8=N#",
    "--",
    "Qh4#",
    "[Event \"x\"]\n\n"};

std::string corpus() {
    std::ifstream in(std::filesystem::path(VELTMARK_TEST_DATA) / "xboard-games.pgn",
                     std::ios::binary);
    std::string text(std::istreambuf_iterator<char>(in), {});
    text += "[Event \"hand\"]\n[FEN \"4k3/8/8/8/8/8/1p6/R3K2R b KQ - 0 0\"]\n\n"
            "1... b1Q 2. Rxb1 (2. Kd2 {a (note)} Qxa1 (2... Kd7)) Kd7 $3 3. 0-0 Kc6 4. Rfe1 *\n"
            "; a line comment\n%escape\n1. e4 Nf6 2. e5 d5 3. exd6 e.p. cxd6 1/2-1/2\n";
    return text;
}

std::string mutated(const std::string& base, std::mt19937& random) {
    const auto below = [&](size_t n) { return n == 0 ? 0 : random() % n; };
    std::string text = base;
    const int mutations = 1 + static_cast<int>(below(8));
    for (int i = 0; i < mutations; ++i) {
        const size_t at = below(text.size() + 1);
        switch (below(6)) {
        case 0:
            if (at < text.size()) {
                text[at] = static_cast<char>(random());
            }
            break;
        case 1:
            text.insert(at, fragments[below(std::size(fragments))]);
            break;
        case 2:
            text.erase(at, below(64));
            break;
        case 3: {
            const size_t from = below(text.size());
            text.insert(at, text.substr(from, below(200)));
            break;
        }
        case 4:
            text.resize(std::min(text.size(), at + below(4000)));
            break;
        default:
            text.insert(at, std::string(1 + below(3), fragments[below(std::size(fragments))][0]));
            break;
        }
    }
    return text;
}

std::string randomBytes(std::mt19937& random) {
    std::string text(random() % 2000, ' ');
    for (char& c : text) {
        // Mostly the bytes of PGN, some of anything.
        const char* pgnBytes = "[]{}()\"\\;%$.*-/=+#!?012345678abcdefghKQRBNOx \n";
        c = random() % 4 == 0 ? static_cast<char>(random())
                              : pgnBytes[random() % std::char_traits<char>::length(pgnBytes)];
    }
    return text;
}

void checkReading(const std::string& text, std::mt19937& random) {
    const PgnFile file("games.pgn", text);
    const auto& games = file.games();
    ASSERT_TRUE(file.listed());

    // Listed in pieces of any size, the same games.
    PgnFile pieces("games.pgn", text, false);
    while (pieces.listMore(random() % 300)) {
    }
    ASSERT_EQ(pieces.games().size(), games.size());

    size_t end = 0;
    int line = 1;
    for (size_t i = 0; i < games.size(); ++i) {
        const PgnGameSummary& game = games[i];
        ASSERT_EQ(pieces.games()[i].offset, game.offset);
        ASSERT_EQ(pieces.games()[i].length, game.length);
        ASSERT_EQ(game.number, static_cast<int>(i) + 1);
        ASSERT_GE(game.offset, end);
        ASSERT_GT(game.length, 0u);
        ASSERT_LE(game.offset + game.length, text.size());
        ASSERT_GE(game.line, line);
        end = game.offset + game.length;
        line = game.line;

        std::string error;
        const auto read = file.readGame(i, error);
        if (!read) {
            const std::string where = "games.pgn, game " + std::to_string(game.number) + ", line ";
            ASSERT_EQ(error.rfind(where, 0), 0u) << error;
            ASSERT_GE(std::atoi(error.c_str() + where.size()), game.line) << error;
            continue;
        }
        // Every move that the listing counted was read and can be played.
        ASSERT_EQ(static_cast<int>(read->moves.size()), game.plyCount);
        ASSERT_TRUE(read->result == "1-0" || read->result == "0-1" || read->result == "1/2-1/2" ||
                    read->result == "*");
        Game record;
        read->playInto(record.position);
    }
}

} // namespace

TEST(PgnReaderFuzzTest, RandomAndMutatedInputIsReadOrRefusedWithoutHarm) {
    const char* seedText = std::getenv("VELTMARK_FUZZ_SEED");
    const unsigned seed = seedText ? static_cast<unsigned>(std::atoll(seedText)) : defaultSeed;
    std::mt19937 random(seed);
    const std::string base = corpus();
    ASSERT_GT(base.size(), 5000u);

    const auto start = std::chrono::steady_clock::now();
    int inputs = 0;
    for (; inputs < maxInputs && std::chrono::steady_clock::now() - start < maxDuration; ++inputs) {
        const std::string text = inputs % 8 == 7 ? randomBytes(random) : mutated(base, random);
        checkReading(text, random);
        if (HasFatalFailure()) {
            ADD_FAILURE() << "seed " << seed << ", input " << inputs << ":\n" << text;
            return;
        }
    }
    RecordProperty("inputs", inputs);
    EXPECT_GT(inputs, 100) << "seed " << seed;
}
