#include "game/Game.h"

int main(int, char**) { return 0; }
