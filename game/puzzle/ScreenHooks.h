// The shell's screens that the game screen opens: the level summary when a level is won, the
// lose pop-up, the help and the options, and the summary's particles that the stars fly into.
// The puzzle includes no screen of the shell: each of those screens sets its hook when it is
// created. Until then a hook does nothing (and the summary's particles are none).
#pragma once
#include <functional>
#include <memory>

class TLevel;
class TEngParticlePackage;

struct GameScreenHooks {
    // Hands the won level to the level summary and shows it at once.
    static std::function<void(const std::shared_ptr<TLevel>& level)> ShowSummary;
    // Shows the lose pop-up over the game screen.
    static std::function<void()> ShowLose;
    // Shows the help pop-up.
    static std::function<void()> ShowHelp;
    // Shows the options pop-up.
    static std::function<void()> ShowOptions;
    // The level summary's particles (null while there is no summary).
    static std::function<std::shared_ptr<TEngParticlePackage>()> SummaryParticles;
};
