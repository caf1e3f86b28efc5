// The game's keyframe particle effects: packages and particles, the creators and the numbered
// images, the effect recipes, the start-up step and the developer's viewer of the recipes.
#pragma once
#include "game/effects/Creators.h"
#include "game/effects/EffectsStartup.h"
#include "game/effects/EffectsViewer.h"
#include "game/effects/EngParticle.h"
#include "game/effects/Recipes.h"
