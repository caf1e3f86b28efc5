// System services: finding and running other programs, and whether a desktop is there to show
// a window of another program on.
#pragma once
#include <string>
#include <vector>

// The full path of an executable file called `name` in a folder of the PATH; "" when there is
// none (a name holding "/" is never searched).
std::string FindProgram(const std::string& name);

// Runs argv[0] (a full path) with the argument vector as given, with no shell between: no
// argument is ever split, expanded or interpreted. Standard input is empty; standard error is
// the game's. Waits for the program to end and returns what it wrote to its standard output.
// `exitCode` (when given) receives its exit status, or -1 when it could not be started or did
// not end normally.
std::string RunProgram(const std::vector<std::string>& argv, int* exitCode = nullptr);

// True when there is a desktop another program could open a window on: the video driver in use
// (SDL's current one, else the one SDL_VIDEODRIVER asks for) is not "offscreen" or "dummy",
// and DISPLAY or WAYLAND_DISPLAY names a display.
bool DesktopAvailable();
