#pragma once

#include "Position.h"
#include "Settings.h"

#include <string>

// Decisions of the windowed game that depend only on the game record and the settings.

// Whether the engine plays the side to move.
bool isEnginesTurn(const Position& game, const Settings& s);

// The message that announces a game without legal moves.
std::string gameEndAnnouncement(const Position& game);

// A draw is offered to the players only when one of them is human.
bool shouldOfferDrawClaim(const Position& game, const Settings& s);

// Moves recorded before the game's position, and positions waiting to be redone.
int movesInRecord(const Position& game);
int positionsToRedo(const Position& game);

// How many half-moves one press of "Undo" takes back: against the engine its reply goes too.
int halfMovesToUndo(const Position& game, const Settings& s);

struct UndoRedoButtons {
    bool undo = false;
    bool redo = false;
};

// The buttons after an undo, after a redo, and after the settings changed (from the states they
// had before).
UndoRedoButtons buttonsAfterUndo(const Position& game, const Settings& s);
UndoRedoButtons buttonsAfterRedo(const Position& game);
UndoRedoButtons buttonsAfterSettingsChange(const Position& game, const Settings& s,
                                           UndoRedoButtons before);
