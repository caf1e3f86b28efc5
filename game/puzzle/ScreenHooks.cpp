#include "game/puzzle/ScreenHooks.h"

THook<void(const std::shared_ptr<TLevel>&)> GameScreenHooks::ShowSummary{"GameScreenHooks::ShowSummary"};
THook<void()> GameScreenHooks::ShowLose{"GameScreenHooks::ShowLose"};
THook<void()> GameScreenHooks::ShowHelp{"GameScreenHooks::ShowHelp"};
THook<void()> GameScreenHooks::ShowOptions{"GameScreenHooks::ShowOptions"};
THook<std::shared_ptr<TEngParticlePackage>()> GameScreenHooks::SummaryParticles{"GameScreenHooks::SummaryParticles"};
