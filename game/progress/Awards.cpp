#include "game/progress/Awards.h"

#include <cstdio>

#include "game/progress/Profile.h"
#include "game/progress/ProgressScreens.h"

std::vector<TAwardPtr> AwardsList;

TAwardPtr GetAwardById(int id) {
    for (const auto& award : AwardsList)
        if (award && award->id == id) return award;
    return nullptr;
}

int TAward::CheckIfGive(TAppScreen* screen) {
    if (!Profile || !screen) return 0;
    TProfile& p = *Profile;
    const auto summaryScreen = ProgressScreenOf(ProgressPlace::Summary);
    const auto kingdomScreen = ProgressScreenOf(ProgressPlace::KingdomScreen);
    const bool summary = summaryScreen && screen == summaryScreen.get();
    const bool kingdom = kingdomScreen && screen == kingdomScreen.get();
    if (summary) {
        switch (id) {
            case 1:
                std::printf("LevelsWithout mistakes: %d\n", p.LevelsWithoutMistakes);
                std::fflush(stdout);
                return p.LevelsWithoutMistakes >= 20;
            case 2: return p.LevelsWithoutHint >= 25;
            case 3: return p.HintUsed >= 48;
            case 4: return p.Game_CountStars() >= 75;
            case 5: return p.TilesUncovered >= 1600;
            case 6: return p.TilesCrossed >= 900;
            case 7: return p.Game_CountPlayedLevels() >= 30;
            case 10: return p.LevelsWithoutMistakes >= 50;
            case 11: return p.LevelsWithoutHint >= 40;
            case 12: return p.HintUsed >= 96;
            case 13: return p.Game_CountStars() >= 200;
            case 14: return p.TilesUncovered >= 4000;
            case 15: return p.TilesCrossed >= 1600;
            case 16: return p.Game_CountPlayedLevels() >= 75;
            default: return 0;
        }
    }
    if (kingdom) {
        switch (id) {
            case 8: return p.Kingdom_FirstAward() ? 1 : 0;
            case 9: return p.CashSpend >= 5000;
            case 17: return p.Kingdom_SecondAward() ? 1 : 0;
            case 18: return p.CashSpend >= 8000;
            default: return 0;
        }
    }
    return 0;
}

std::vector<TAwardPtr> CheckAwards(TAppScreen* screen) {
    std::vector<TAwardPtr> due;
    for (const auto& award : AwardsList) {
        if (!award) continue;
        if (Profile && (Profile->HaveAward(award) || Profile->isAward(award->id))) continue;
        if (award->CheckIfGive(screen) == 1) due.push_back(award);
    }
    return due;
}
