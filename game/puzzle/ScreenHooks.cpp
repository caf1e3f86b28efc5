#include "game/puzzle/ScreenHooks.h"

std::function<void(const std::shared_ptr<TLevel>&)> GameScreenHooks::ShowSummary;
std::function<void()> GameScreenHooks::ShowLose;
std::function<void()> GameScreenHooks::ShowHelp;
std::function<void()> GameScreenHooks::ShowOptions;
std::function<std::shared_ptr<TEngParticlePackage>()> GameScreenHooks::SummaryParticles;
