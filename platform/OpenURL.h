// Opening a web page in the user's browser. Only http and https addresses are ever handed on;
// anything else (a file, a program's scheme, a malformed address) is refused. Headless runs have
// no desktop to open a browser on and open nothing. Tests replace the opener so that no browser
// ever starts.
#pragma once
#include <functional>
#include <string>

// The function that hands an address to the system; true when it was taken.
using TURLOpener = std::function<bool(const std::string& url)>;

// Replaces the opener (an empty function restores the default: SDL_OpenURL, only when a desktop
// is available).
void SetURLOpener(TURLOpener opener);

// Opens url when it is an http or https address (see IsHttpAddress in platform/HttpRequest.h).
// False when it was refused or the system could not open it.
bool OpenURL(const std::string& url);
