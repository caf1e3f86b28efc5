// What the game screen opens of the screens above it (the shell's): the level summary when a
// level is won, the lose pop-up, the help and the options, and the summary's particles that the
// stars fly into. The puzzle includes no screen of the shell: start-up, which makes the screens,
// hands one navigator to the game screen when it makes it (CreateMainGame).
#pragma once
#include <memory>

class TLevel;
class TEngParticlePackage;

class TGameNavigator {
public:
    virtual ~TGameNavigator() = default;
    // Hands the won level to the level summary and shows it at once.
    virtual void ShowSummary(const std::shared_ptr<TLevel>& level) = 0;
    // Shows the lose pop-up over the game screen.
    virtual void ShowLose() = 0;
    // Shows the help pop-up.
    virtual void ShowHelp() = 0;
    // Shows the options pop-up.
    virtual void ShowOptions() = 0;
    // The level summary's particles (null while there is no summary).
    virtual std::shared_ptr<TEngParticlePackage> SummaryParticles() = 0;
};
