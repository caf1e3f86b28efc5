// The game's keyframe particle effects: packages and particles, the creators and the numbered
// images, the effect recipes, and the start-up step.
#pragma once
#include "game/effects/Creators.h"
#include "game/effects/EffectsStartup.h"
#include "game/effects/EngParticle.h"
#include "game/effects/Recipes.h"
