// The awards: eighteen counted achievements. The rules are fixed here; the names, descriptions
// and pictures are data. Each rule belongs to one screen and is tested only when that screen
// asks: the level summary when the player leaves it, the kingdom while no building is being
// raised. An award the player holds is never given again; a due award enters the profile only
// when it is announced (TGiveAward::SetAward).
//
// Catalogue file bDir + "Awards.txt", a block file: one block "Award" per award with "Id" (1 to
// 18, selects the rule), "Name" and "description" (line numbers in the awards pop-up's text
// file). The picture of the k-th block (k from 1, in file order) is
// "PopUps/AwardsShow/Award-<k>.png".
#pragma once
#include <memory>
#include <string>
#include <vector>

class TAppScreen;
class TImageAsset;

constexpr int AwardsCount = 18;

class TAward {
public:
    int id = 0;  // the award's number, which selects its rule
    std::string Name;
    std::string Opis;  // description
    std::shared_ptr<TImageAsset> Image;

    virtual ~TAward() = default;
    // 1 when the award's rule belongs to that screen and holds for the current player.
    virtual int CheckIfGive(TAppScreen* screen);
};
using TAwardPtr = std::shared_ptr<TAward>;

// The catalogue, in the order of the awards file; filled when the awards pop-up is set up.
extern std::vector<TAwardPtr> AwardsList;

// The first award of AwardsList with that id; null when there is none.
TAwardPtr GetAwardById(int id);
// The awards due on that screen that the player does not hold yet, in catalogue order; empty
// when none. Changes nothing.
std::vector<TAwardPtr> CheckAwards(TAppScreen* screen);
