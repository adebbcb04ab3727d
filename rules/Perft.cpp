#include "Perft.h"

#include "Move.h"
#include "MoveGenerator.h"
#include "PieceSets.h"
#include "Position.h"

#include <vector>

namespace {

// One list per ply and a stack of positions in which each node's scratch copy is the slot below,
// as the search keeps them, so that nothing is allocated in the recursion.
uint64_t perftNode(std::vector<Position>& stack, const PieceSets& sets, Move* lists, int ply,
                   int depth) {
    Position& node = stack[ply];
    Position& scratch = stack[ply + 1];
    Move* list = lists + ply * MoveList::capacity;
    if (depth == 1) {
        // The last ply is counted, not listed; the scratch copy is made only where it is read.
        MoveGenerator generator(node, sets, list, scratch, Listing::SideToMove);
        if (generator.countReadsScratch()) {
            scratch = node;
        }
        return static_cast<uint64_t>(generator.countEntries());
    }
    const int count = node.generateMoves(list, scratch, false, sets);
    uint64_t total = 0;
    for (int i = 0; i < count; ++i) {
        const Move& m = list[i];
        scratch.makeMove(m);
        if (depth > 2) {
            stack[ply + 2] = scratch;
        }
        PieceSets childSets = sets;
        childSets.followMove(m, node);
        total += perftNode(stack, childSets, lists, ply + 1, depth - 1);
        scratch.unmakeMove(m, node);
    }
    return total;
}

} // namespace

uint64_t perft(const Position& position, int depth) {
    if (depth <= 0) {
        return 1;
    }
    std::vector<Position> stack(static_cast<size_t>(depth) + 2, position);
    std::vector<Move> lists(static_cast<size_t>(depth) * MoveList::capacity);
    return perftNode(stack, PieceSets::of(position), lists.data(), 0, depth);
}
