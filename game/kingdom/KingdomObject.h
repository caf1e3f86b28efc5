// The kingdom's buildings: one object per building that can be bought, found by its id.
// (The buildings' scene objects, parts, prices and animation come with the kingdom screen.)
#pragma once
#include <memory>
#include <vector>

#include "engine/object/GameObject.h"

class TKingdomObject : public TGameObject {
public:
    int id = 0;  // building number, 1 to 28
};
using TKingdomObjectPtr = std::shared_ptr<TKingdomObject>;

// Every building of the kingdom, filled by the kingdom's set-up.
extern std::vector<TKingdomObjectPtr> AllKingdomObjects;

// The first building with that id; null when there is none.
TKingdomObjectPtr GetKingdomObject(int id);
