#include "platform/OpenURL.h"

#include <SDL2/SDL.h>

#include "platform/HttpRequest.h"
#include "platform/System.h"

namespace {

bool SystemOpener(const std::string& url) {
    // Without a desktop (offscreen or dummy video, no display) there is no browser to show.
    if (!DesktopAvailable()) return false;
    return SDL_OpenURL(url.c_str()) == 0;
}

TURLOpener& Opener() {
    static TURLOpener opener = &SystemOpener;
    return opener;
}

}  // namespace

void SetURLOpener(TURLOpener opener) { Opener() = opener ? std::move(opener) : TURLOpener(&SystemOpener); }

bool OpenURL(const std::string& url) {
    if (!IsHttpAddress(url)) return false;
    return Opener()(url);
}
