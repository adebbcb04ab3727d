#include "Exceptions.h"
#include "Position.h"

Position* redoHead = nullptr;

namespace {

// Frees the undone positions; afterwards nothing can be redone.
void freeRedoChain(Position* current) {
    while (redoHead && redoHead != current) {
        Position* next = redoHead->previous;
        delete redoHead;
        redoHead = next;
    }
    redoHead = current;
}

} // namespace

void Position::pushHistory() {
    freeRedoChain(this);
    previous = new Position(*this);
}

void Position::undoMove() {
    if (previous == nullptr) {
        throw CannotUndoException("this is the initial position");
    }
    auto* undone = new Position(*this);
    if (redoHead == this) {
        redoHead = undone;
    } else {
        Position* node = redoHead;
        while (node->previous != this) {
            node = node->previous;
        }
        node->previous = undone;
    }
    undone->previous = this;
    Position* last = previous;
    *this = *last;
    delete last;
}

void Position::redoMove() {
    auto* past = new Position(*this);
    Position* before = nullptr;
    Position* next = redoHead;
    while (next->previous != this) {
        before = next;
        next = next->previous;
    }
    *this = *next;
    previous = past;
    if (before == nullptr) {
        redoHead = this;
    } else {
        before->previous = this;
    }
    delete next;
}

void Position::clearHistory() {
    freeRedoChain(this);
    while (previous) {
        Position* next = previous->previous;
        delete previous;
        previous = next;
    }
    halfmoveClock = 0;
}
