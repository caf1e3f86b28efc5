// The kingdom's buildings. A building owns no picture of its own: it steers one game object of
// the kingdom's screen file (its picture, made of image parts), the extras that come with it
// (chimney smoke and the like) and the creatures that leave when it is bought. An owned building
// is shown at once; a bought one fades in over about four seconds under hammers and dust, and
// gives the kingdom's interface back when it stands.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "engine/screen/GameObject.h"

class THammerEffect;
class TImageAsset;
class TKingdomAnimObj;

class TKingdomObject : public TGameObject {
public:
    int id = 0;                 // building number, 1 to 28
    TGameObjectPtr GameObject;  // the building's scene object; its image children are its parts
    std::vector<std::shared_ptr<THammerEffect>> Hammers;          // striking while it is put up
    std::vector<TGameObjectPtr> SubObjects;                       // extras shown and faded with it
    std::vector<std::shared_ptr<TKingdomAnimObj>> ObjectsToHide;  // creatures sent away by it
    std::string name;
    std::string opis;  // description
    int cena = 0;      // price in score points
    std::shared_ptr<TImageAsset> Icon;
    float Alpha = 0;
    float dAlpha = 0;
    int parts = 0;  // application ms at which the next burst of dust is due

    // How fast a building fades in while it is put up, and out (per frame at 60 a second).
    static constexpr float BuildStep = 0.004f;
    static constexpr float FadeStep = 0.01f;

    virtual int InitHammers();
    virtual int Init() { return 0; }
    virtual int DrawHammers();
    virtual int DrawMe() { return 0; }
    virtual int HideNow();
    virtual int UpdateAlphaSet();
    virtual int UpdateShowEffect();
    virtual int ResetAlpha();
    virtual int ShowNow();
    virtual int Show();
    virtual int ShowUp();
    virtual int OnBuild();
    // 1 while it is not being put up (its opacity stands at its target).
    virtual int isNotBeeingBuild();
    int UpdateObject() override;
};
using TKingdomObjectPtr = std::shared_ptr<TKingdomObject>;

// Every building of the kingdom, filled by the kingdom's set-up.
extern std::vector<TKingdomObjectPtr> AllKingdomObjects;

// The first building with that id; null when there is none.
TKingdomObjectPtr GetKingdomObject(int id);
