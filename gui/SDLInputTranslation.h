#pragma once

#include "InputEvent.h"

#include <SDL.h>

// The game's view of an SDL event; what the game does not react to becomes Type::Other.
InputEvent inputEventFrom(const SDL_Event& event);
