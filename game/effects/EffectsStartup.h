// The keyframe particle effects' part of the program's start-up.
#pragma once

// Makes BasicPackage (1500 particles a pool) when it does not exist yet and empties
// TEngParticlePackage::allPackages, and registers the developer console's "EFFECT" command
// (game/effects/EffectsViewer.h). Start-up calls it once, before any effect is made. The
// screens make their own packages with CreateEngParticlePackage; the numbered images come later,
// from SetupParticles in the hints' set-up.
void InitEngParticles();
