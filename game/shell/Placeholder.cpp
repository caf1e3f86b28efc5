// Keeps the game library non-empty until its first sources arrive.
#include "game/Game.h"
