// The newsletter window: a sign-up offered after half an hour of play, drawn by itself in a
// loop of its own (not an engine screen). It is switched on by an entry "newsletter" in the
// data folder; the game ships without one. Its saved state is in NewsLetterState.h.
#pragma once
#include <memory>

#include "game/shell/Ekran.h"
#include "online/NewsLetterState.h"

class TNewsLetter : public TEkran {
public:
};

using TNewsLetterPtr = std::shared_ptr<TNewsLetter>;

// The one newsletter window, made at start-up (not registered with Control).
extern TNewsLetterPtr NewsLetter;
