// The award catalogue: every award a player can win, found by its id. (The rules that give
// them and the pop-ups that show them come with the awards.)
#pragma once
#include <memory>
#include <string>
#include <vector>

class TAward {
public:
    int id = 0;  // the award's number, which selects its rule
    std::string Name;
    std::string Opis;  // description
};
using TAwardPtr = std::shared_ptr<TAward>;

// The catalogue, in the order of the awards file; filled when the awards are set up.
extern std::vector<TAwardPtr> AwardsList;

// The first award of AwardsList with that id; null when there is none.
TAwardPtr GetAwardById(int id);
