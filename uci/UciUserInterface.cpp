#include "UciUserInterface.h"

#include "Move.h"
#include "NodeCounter.h"
#include "PositionCommand.h"
#include "SearchControl.h"
#include "Settings.h"
#include "Words.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace {

constexpr int fewestThreads = 1;
constexpr int mostThreads = 64;

bool sameWordIgnoringCase(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

// What follows the word in the line it was taken from.
std::string_view after(std::string_view line, std::string_view word) {
    return line.substr(static_cast<std::size_t>(word.data() + word.size() - line.data()));
}

} // namespace

UciUserInterface::UciUserInterface(std::string version, std::istream& in, std::ostream& out)
    : in_(in), version_(std::move(version)), out_(out) {
    game_.setInitialPosition();
    game_.previous = nullptr;
    game_.halfmoveClock = 0;
}

UciUserInterface::~UciUserInterface() {
    // Only tests destroy the front-end; a turn still running must not outlive the game.
    finishTurn();
}

int UciUserInterface::run() {
    // Every line is flushed on its own; flushing the output before each read would only add a
    // second writer to it.
    in_.tie(nullptr);
    startSearchPoolFor(game_);

    std::string line;
    while (std::getline(in_, line)) {
        // A GUI on another system may end its lines with a carriage return too.
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!dispatch(line)) {
            break;
        }
    }

    // The turn uses the search pool, so it has to end before the pool goes.
    finishTurn();
    destroySearchPool();
    game_.clearHistory();
    return 0;
}

bool UciUserInterface::dispatch(std::string_view line) {
    const std::vector<std::string_view> words = wordsOf(line);
    // Unknown words before a command are skipped, as the protocol asks ("joho debug on").
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string_view command = words[i];
        const std::string_view arguments = after(line, command);
        const std::vector<std::string_view> rest(words.begin() + static_cast<long>(i) + 1,
                                                 words.end());
        if (command == "uci") {
            identify();
        } else if (command == "isready") {
            writeLine("readyok");
        } else if (command == "debug") {
            debug_ = rest.empty() || rest[0] != "off";
        } else if (command == "setoption") {
            setOption(rest);
        } else if (command == "register") {
            // Nothing to register.
        } else if (command == "ucinewgame") {
            newGame();
        } else if (command == "position") {
            setPosition(arguments);
        } else if (command == "go") {
            go(arguments);
        } else if (command == "stop") {
            stop();
        } else if (command == "ponderhit") {
            ponderHit();
        } else if (command == "quit") {
            return false;
        } else {
            continue;
        }
        return true;
    }
    if (!words.empty()) {
        writeInfo("Unknown command: " + joined(words, 0, words.size()));
    }
    return true;
}

void UciUserInterface::identify() {
    const Settings defaults = defaultSettings();
    writeLine("id name Veltmark " + version_);
    writeLine("id author the Veltmark developers");
    writeLine("option name Threads type spin default " + std::to_string(defaults.threadCount) +
              " min " + std::to_string(fewestThreads) + " max " + std::to_string(mostThreads));
    writeLine(std::string("option name SEE type check default ") +
              (defaults.useSee ? "true" : "false"));
    writeLine("uciok");
}

void UciUserInterface::setOption(const std::vector<std::string_view>& words) {
    // setoption name <name, maybe of several words> [value <value>]
    if (words.empty() || words[0] != "name") {
        writeInfo("setoption needs: name <option> value <value>");
        return;
    }
    std::size_t valueAt = 1;
    while (valueAt < words.size() && words[valueAt] != "value") {
        ++valueAt;
    }
    const std::string name = joined(words, 1, valueAt);
    const std::string value = joined(words, valueAt + 1, words.size());
    if (sameWordIgnoringCase(name, "Threads")) {
        int n = 0;
        const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), n);
        if (value.empty() || error != std::errc() || end != value.data() + value.size() ||
            n < fewestThreads || n > mostThreads) {
            writeInfo("Threads must be a whole number from " + std::to_string(fewestThreads) +
                      " to " + std::to_string(mostThreads) + ", not \"" + value + "\"");
            return;
        }
        finishTurn();
        settings.threadCount = static_cast<uint8_t>(n);
        searchPool->resize(n);
    } else if (sameWordIgnoringCase(name, "SEE")) {
        const bool on = sameWordIgnoringCase(value, "true");
        if (!on && !sameWordIgnoringCase(value, "false")) {
            writeInfo("SEE must be true or false, not \"" + value + "\"");
            return;
        }
        finishTurn();
        std::atomic_ref<uint8_t>(settings.useSee).store(on ? 1 : 0);
    } else {
        writeInfo("No option named \"" + name + "\"");
    }
}

void UciUserInterface::newGame() {
    finishTurn();
    game_.clearHistory();
    game_.setInitialPosition();
    game_.halfmoveClock = 0;
}

void UciUserInterface::setPosition(std::string_view arguments) {
    finishTurn();
    const std::string problem = setUpGame(game_, arguments);
    if (!problem.empty()) {
        writeInfo(problem);
    }
}

void UciUserInterface::go(std::string_view arguments) {
    // Only one search at a time: one still running ends first, with its best move.
    finishTurn();
    std::vector<std::string> problems;
    const GoCommand command = readGoCommand(arguments, problems);
    for (const std::string& problem : problems) {
        writeInfo(problem);
    }
    startTurn(planSearch(command, game_.sideToMove == 1));
}

void UciUserInterface::stop() {
    releaseBestMove();
    stopSearch();
}

void UciUserInterface::ponderHit() {
    {
        std::lock_guard lock(holdLock_);
        if (!pondering_) {
            return;
        }
        // The GUI's move was the one pondered on: the search goes on as an ordinary one, on the
        // clock from now.
        pondering_ = false;
        holdBestMove_ = plan_.infinite;
    }
    holdReleased_.notify_all();
    if (plan_.budgetAfterPonderHitMs != unlimitedTimeMs) {
        limiter_.stopAfter(plan_.budgetAfterPonderHitMs);
    }
}

// Engine control

void UciUserInterface::startTurn(const SearchPlan& plan) {
    plan_ = plan;
    {
        std::lock_guard lock(holdLock_);
        holdBestMove_ = plan.infinite || plan.pondering;
        pondering_ = plan.pondering;
    }
    // Cleared here rather than by the turn itself, so that a "stop" that arrives before the turn
    // gets going is not forgotten.
    clearSearchStop();
    // The limiter reads the counter from the start; the search would reset it only later.
    nodeCount.reset();
    limiter_.watch(plan.nodeLimit);
    enginePool_.startPass();
}

void UciUserInterface::finishTurn() {
    releaseBestMove();
    stopSearch();
    enginePool_.waitUntilFinished();
}

void UciUserInterface::releaseBestMove() {
    {
        std::lock_guard lock(holdLock_);
        holdBestMove_ = false;
        pondering_ = false;
    }
    holdReleased_.notify_all();
}

void UciUserInterface::engineTurn() {
    std::string best = "0000";
    try {
        best = game_.bestMove(plan_.timeMs, plan_.depth).toString();
    } catch (const NoLegalMovesException&) {
        // Mated, stalemated, or without the material to mate: the score that GUIs show for a
        // game that is over.
        const bool mated = game_.isWhiteCheckmated() || game_.isBlackCheckmated();
        writeLine(mated ? "info depth 0 score mate 0" : "info depth 0 score cp 0");
    }
    limiter_.endWatch();
    {
        std::unique_lock lock(holdLock_);
        holdReleased_.wait(lock, [this] { return !holdBestMove_; });
    }
    writeLine("bestmove " + best);
}
