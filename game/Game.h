// The game: puzzle play, the shell, the kingdom, effects and the online screens.
#pragma once
#include "engine/Engine.h"
