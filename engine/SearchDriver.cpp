#include "SearchControl.h"

#include "Clock.h"
#include "NodeCounter.h"
#include "Search.h"
#include "Settings.h"
#include "UserInterface.h"

#include <algorithm>
#include <atomic>
#include <cassert>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

std::atomic<int64_t> searchDeadline{0};
// Set by stopSearch and left set by bestMove, so that a stop cannot be erased by the deadline a
// starting search writes.
static std::atomic<bool> searchStopped{false};
int rootSide = 1;
AlphaBetaCaller alphaBetaCaller;
ThreadPool<AlphaBetaCaller>* searchPool = nullptr;

void stopSearch() {
    // Sequentially consistent with bestMove's store of the deadline and load of the flag: one of
    // the two sees the other's write, so the stop wins either way.
    searchStopped.store(true);
    searchDeadline.store(std::numeric_limits<int64_t>::min());
}

void clearSearchStop() {
    searchStopped.store(false);
}

void createSearchPool(Position* gamePosition, int threadCount, std::function<void()> workerStarts) {
    // A pool torn down earlier stopped its searches; a new one starts unstopped.
    clearSearchStop();
    alphaBetaCaller.rootPosition = gamePosition;
    searchPool =
        new ThreadPool<AlphaBetaCaller>(&alphaBetaCaller, threadCount, std::move(workerStarts));
}

void startSearchPoolFor(Position& game, std::function<void()> workerStarts) {
    createSearchPool(&game, settings.threadCount, std::move(workerStarts));
    redoHead = &game;
    game.previous = nullptr;
}

void destroySearchPool() {
    if (searchPool == nullptr) {
        return;
    }
    stopSearch();
    searchPool->resize(0);
    delete searchPool;
    searchPool = nullptr;
}

int32_t thinkingTimeMs(double secondsPerMove) {
    const double ms = secondsPerMove * 1000.0;
    return ms >= 2147483647.0 ? 2147483647 : static_cast<int32_t>(ms);
}

namespace {

class SpinLock {
public:
    explicit SpinLock(std::atomic_flag& flag) : flag_(flag) {
        while (flag_.test_and_set(std::memory_order_acquire)) {
            flag_.wait(true, std::memory_order_relaxed);
        }
    }
    ~SpinLock() {
        flag_.clear(std::memory_order_release);
        flag_.notify_one();
    }

private:
    std::atomic_flag& flag_;
};

} // namespace

void AlphaBetaCaller::operator()() {
    const int iterationDepth = depth;
    assert(iterationDepth >= 1 && iterationDepth <= maxSearchDepth);
    assert(rootMoveCount >= 1 && rootMoves[0].move->isLegal);
    // Every slot holds the node being searched or a position below it; each is the scratch
    // board of the slot above, so nothing is copied or allocated inside the tree.
    std::vector<Position> slots(static_cast<size_t>(iterationDepth) + 1, *rootPosition);
    slots[0].previous = rootPosition;
    for (int k = 1; k <= iterationDepth; ++k) {
        slots[k].previous = &slots[k - 1];
    }
    std::vector<Move> lists(static_cast<size_t>(iterationDepth) * MoveList::capacity,
                            Move(&slots[iterationDepth]));
    const SearchStack stack{slots.data(), iterationDepth};
    const bool whiteAtRoot = rootSide == 1;
    try {
        for (;;) {
            int i = nextIndex.fetch_add(1);
            while (i < rootMoveCount && !rootMoves[i].move->isLegal) {
                i = nextIndex.fetch_add(1);
            }
            if (i >= rootMoveCount) {
                return;
            }
            const Move& m = *rootMoves[i].move;
            // The exchange correction finds the move in the generated list by its address.
            assert(&m >= generatedMoves && &m < generatedMoves + rootMoveCount);
            for (auto& slot : slots) {
                slot.makeMove(m);
            }
            const int a = alpha.load(std::memory_order_relaxed);
            const int b = beta.load(std::memory_order_relaxed);
            int score = whiteAtRoot ? alphaBetaMin(a, b, iterationDepth - 1, 1, stack, 0,
                                                   lists.data(), !m.isCapture)
                                    : alphaBetaMax(a, b, iterationDepth - 1, 1, stack, 0,
                                                   lists.data(), !m.isCapture);
            if (iterationDepth == 1 && m.isCapture && searchUsesSee) {
                score += slots[0].staticExchange(generatedMoves, rootMoveCount,
                                                 static_cast<int>(&m - generatedMoves));
            }
            rootMoves[i].score = score;
            for (auto& slot : slots) {
                slot.unmakeMove(m, *rootPosition);
            }

            SpinLock guard(lock);
            if (i == 0) {
                firstMoveDone = true;
            }
            bool report = false;
            int bound = 0;
            if (whiteAtRoot && score > alpha.load(std::memory_order_relaxed)) {
                alpha.store(score, std::memory_order_relaxed);
                bestIndex = i;
                report = firstMoveDone;
                bound = score;
            } else if (!whiteAtRoot && score < beta.load(std::memory_order_relaxed)) {
                beta.store(score, std::memory_order_relaxed);
                bestIndex = i;
                report = firstMoveDone;
                bound = score;
            } else if (i == 0) {
                report = true;
                bound = rootMoves[bestIndex].score;
            }
            assert(bestIndex >= 0 && bestIndex < rootMoveCount);
            assert(rootMoves[bestIndex].move->isLegal);
            if (report && theUserInterface != nullptr) {
                SearchReport r;
                r.depth = iterationDepth;
                r.score = bound;
                r.elapsedMs = static_cast<int32_t>((clockTicks() - *startTime) / 10000);
                r.nodes = nodeCount.load();
                r.bestMoveText = rootMoves[bestIndex].move->toString();
                theUserInterface->reportSearchProgress(std::move(r));
            }
        }
    } catch (const ThreadDeath&) {
        // Time is up: the interrupted root move's score is not stored.
    }
}

Move Position::bestMove(int timeMs, int maxDepth) {
    Position& root = *this;
    assert(maxDepth >= 1 && maxDepth <= maxSearchDepth);
    const int64_t start = clockTicks();
    searchDeadline.store(start + (static_cast<int64_t>(timeMs) - 10) * 10000);
    if (searchStopped.load()) {
        searchDeadline.store(std::numeric_limits<int64_t>::min());
    }
    // The window's settings dialog may change the flag on its own thread while a turn begins.
    searchUsesSee = std::atomic_ref<uint8_t>(settings.useSee).load(std::memory_order_relaxed) != 0;

    MoveList list(&root);
    Position scratch = root;
    const int count = root.generateMoves(list, scratch, searchUsesSee);

    rootSide = root.sideToMove;
    nodeCount.reset();

    int firstLegal = 0;
    while (firstLegal < count && !list[firstLegal].isLegal) {
        ++firstLegal;
    }
    if (firstLegal == count) {
        throw NoLegalMovesException();
    }
    if (firstLegal != 0) {
        std::swap(list[0], list[firstLegal]);
    }
    std::vector<RootMove> rootMoves;
    rootMoves.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        rootMoves.push_back(RootMove{&list[i]});
    }

    AlphaBetaCaller& task = alphaBetaCaller;
    task.rootPosition = &root;
    task.rootMoves = rootMoves.data();
    task.rootMoveCount = count;
    task.generatedMoves = list.data();
    task.startTime = &start;

    const bool whiteToMove = root.sideToMove == 1;
    // The move to return. Entry 0 holds it whenever an iteration starts; it is legal, so even
    // when every move loses to mate the engine answers with a move.
    int chosen = 0;
    for (int depth = 1; depth <= maxDepth; ++depth) {
        task.alpha.store(-MateScore - 1);
        task.beta.store(MateScore + 1);
        task.depth = depth;
        task.nextIndex.store(0);
        task.bestIndex = 0;
        task.firstMoveDone = false;
        searchPool->runPass();

        const int best = task.firstMoveDone ? task.bestIndex : 0;
        assert(best >= 0 && best < count && rootMoves[best].move->isLegal);
        const Score bestScore = rootMoves[best].score;
        // A move that loses to mate does not replace the last iteration's choice.
        chosen = (whiteToMove ? bestScore > -MateScore : bestScore < MateScore) ? best : 0;
        if (clockTicks() >= searchDeadline.load(std::memory_order_relaxed)) {
            break;
        }
        if (bestScore == MateScore || bestScore == -MateScore) {
            break;
        }
        // Next iteration starts with this one's choice; the rest keep their order.
        std::rotate(rootMoves.begin(), rootMoves.begin() + chosen, rootMoves.begin() + chosen + 1);
        chosen = 0;
    }
    // Decided on the returned move's own score: when the last iteration was cut short, entry 0
    // still carries the score that its last complete search gave it.
    if (rootMoves[chosen].score == 0 && root.isDrawClaimable() && theUserInterface != nullptr) {
        theUserInterface->claimDraw();
    }
    assert(rootMoves[chosen].move->isLegal);
    Move result = *rootMoves[chosen].move;
    result.position = &root;
    return result;
}
