// The shell's screens that the game screen opens: the level summary when a level is won, the
// lose pop-up, the help and the options, and the summary's particles that the stars fly into.
// The puzzle includes no screen of the shell: these are slots start-up sets
// (engine/system/Hook.h).
#pragma once
#include <memory>

#include "engine/system/Hook.h"

class TLevel;
class TEngParticlePackage;

struct GameScreenHooks {
    // Hands the won level to the level summary and shows it at once.
    static THook<void(const std::shared_ptr<TLevel>& level)> ShowSummary;
    // Shows the lose pop-up over the game screen.
    static THook<void()> ShowLose;
    // Shows the help pop-up.
    static THook<void()> ShowHelp;
    // Shows the options pop-up.
    static THook<void()> ShowOptions;
    // The level summary's particles (null while there is no summary).
    static THook<std::shared_ptr<TEngParticlePackage>()> SummaryParticles;
};
