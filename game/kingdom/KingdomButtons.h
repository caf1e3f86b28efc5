// The kingdom's offer slots. Each of the four slots has a build button (the offered building's
// icon and price, its text and ribbon by whether the player can afford it; a click buys) and its twin, a
// picture shown in the same place once the building is owned. Both come and go through the
// "Show" and "Hide" animations of their scene objects, the showing staggered by slot.
#pragma once
#include <memory>

#include "engine/screen/GameObject.h"

class TKingdomObject;
class TUIImage;
class TUIButton;
class TUIText;
class TTextClass;
class TImageAsset;

class TKingdomBuildButton {
public:
    // The price's two looks: affordable, and too dear for the score.
    static std::shared_ptr<TTextClass> ClassNormal;
    static std::shared_ptr<TTextClass> ClassCantAfford;
    // The price's ribbon in the same two looks (a too-dear price is dark red on a pale ribbon).
    static std::shared_ptr<TImageAsset> RibbonNormal;
    static std::shared_ptr<TImageAsset> RibbonCantAfford;

    std::shared_ptr<TKingdomObject> KingdomObject;  // the building offered
    TGameObjectPtr Obj;                             // the slot's scene object
    std::shared_ptr<TUIImage> Icon;
    std::shared_ptr<TUIButton> Button;  // shared by both buttons of a slot
    std::shared_ptr<TUIText> Price;
    std::shared_ptr<TUIImage> Done;
    std::shared_ptr<TUIImage> PriceBack;
    int WasHiddenFromTheStart = 0;  // hidden at once rather than by its animation
    int Status = 0;                 // 0 normal, 1 showing, 2 hidden or hiding
    int TheButtonN = 0;             // the slot, 0 to 3

    virtual ~TKingdomBuildButton() = default;

    // Enables the slot and plays "Show" after 250 ms per slot number plus 250.
    virtual int Show(int n);
    // Plays "Hide" at once (n is not used).
    virtual int Hide(int n);
    virtual int HideNow();
    // The building, its price and its icon.
    virtual int SetObject(const std::shared_ptr<TKingdomObject>& obj);
    virtual int Update_Show();
    virtual int Update_Hide();
    virtual int Update_Normal();
    // The step of the state the slot is in: showing, hiding or standing.
    int UpdateByStatus();
    // The price's text class and ribbon by whether the score covers it.
    virtual int UpdatePriceColor();
    virtual int Update();
    // Buys the building; when bought, this slot hides and its twin shows.
    virtual int ClickButton();
    // 1 once hidden: its "Hide" animation has finished, or it was hidden at once.
    virtual int isHidden();
};

// The picture of an owned building's slot. It is never given a building, so a click on it
// buys nothing.
class TKingdomHideBuildButton : public TKingdomBuildButton {
public:
    // Never shown on the last stage: there it hides at once.
    int Show(int n) override;
    int Update() override;
};
