#include "game/puzzle/FlyHints.h"

#include <algorithm>
#include <vector>

#include "engine/data/ValueTypes.h"
#include "engine/media/AppSound.h"
#include "engine/basics/AppTime.h"
#include "game/effects/Creators.h"
#include "game/effects/Recipes.h"
#include "game/progress/Profile.h"
#include "game/puzzle/GameImages.h"
#include "game/puzzle/GamePanel.h"
#include "game/levels/Level.h"
#include "game/puzzle/MainGame.h"
#include "game/levels/Tile.h"
#include "platform/Graphics.h"
#include "platform/Maths.h"
#include "platform/Random.h"

float TFlyHint::Speed = 0.01f;
TImagePtr TFlyHint::HintPart;
float TAddHint::Speed = 0.01f;
TImagePtr TAddHint::Image;

std::list<TFlyHintPtr> FlyHints;
std::list<TAddHintPtr> AddHints;

// A hint or a charge ends 25 pixels right of and below its button's corner: the button's middle.
constexpr int kButtonMiddle = 25;

// ---------------------------------------------------------------------------------------------
// Flying hints

TFlyHintPtr CreateFlyHint(int x, int y, const std::shared_ptr<TPTile>& tile) {
    auto h = std::make_shared<TFlyHint>();
    FlyHints.push_back(h);
    h->TIle = tile;
    h->x1 = h->x = static_cast<float>(x);
    h->y1 = h->y = static_cast<float>(y);
    if (tile) {
        h->x2 = tile->DrawX;
        h->y2 = tile->DrawY;
    }
    h->SetMod();
    return h;
}

int TFlyHint::SetMod() {
    if (Rand(0, 1) == 0) {
        mx1 = static_cast<float>(1024 - Rand(0, 128));
        my1 = static_cast<float>(Rand(0, 128));
        mx2 = static_cast<float>(Rand(0, 128));
        my2 = static_cast<float>(768 - Rand(0, 64));
    } else {
        mx1 = static_cast<float>(1024 - Rand(0, 128));
        my1 = static_cast<float>(768 - Rand(0, 64));
        mx2 = 0.0f;
        my2 = 0.0f;
    }
    return 0;
}

int TFlyHint::Draw() { return Update(); }

int TFlyHint::Update() {
    if (per == 1.0f) Destroy();
    const double s = SinDeg(90.0 * per);
    x = BezierAt(s, x1, mx1, mx2, x2);
    y = BezierAt(s, y1, my1, my2, y2);
    if (LastX == 0.0f && LastY == 0.0f) {
        LastX = x;
        LastY = y;
    }
    const int now = AppMilliSecs();
    if (now > PartTime) {
        PartTime = now + 10;
        // Eight pieces of trail over the stretch flown since the last burst.
        for (int i = 1; i <= 8; ++i) {
            const float a = static_cast<float>(i - 1) / 8.0f, b = static_cast<float>(i) / 8.0f;
            CreateHintParticle(static_cast<int>(x + (LastX - x) * a), static_cast<int>(y + (LastY - y) * a),
                               static_cast<int>(x + (LastX - x) * b), static_cast<int>(y + (LastY - y) * b), 0, 255, 0,
                               32, 500, Rand(0, 25), Game ? Game->HintParticle : nullptr);
        }
        LastX = x;
        LastY = y;
    }
    per += Speed * delta;
    if (per > 1.0f) per = 1.0f;
    return 0;
}

int TFlyHint::Destroy() {
    TFlyHintPtr self = shared_from_this();
    auto it = std::find(FlyHints.begin(), FlyHints.end(), self);
    if (it != FlyHints.end()) FlyHints.erase(it);
    // A cell the player solved meanwhile stays as it is.
    if (TIle) TIle->Show(0, 0);
    return 0;
}

bool isHintTile(const TPTile* tile) {
    return std::any_of(FlyHints.begin(), FlyHints.end(),
                       [tile](const TFlyHintPtr& h) { return h->TIle.get() == tile; });
}

// ---------------------------------------------------------------------------------------------
// Hint charges

TAddHintPtr CreateAddHint(int x1, int y1, int x2, int y2, int index) {
    auto h = std::make_shared<TAddHint>();
    AddHints.push_back(h);
    PlayGameSound(MainGameSettings::SndHintLoad);
    h->x1 = h->x = static_cast<float>(x1);
    h->y1 = h->y = static_cast<float>(y1);
    h->x2 = static_cast<float>(x2);
    h->y2 = static_cast<float>(y2);
    h->SetMod();
    h->Index = index;
    return h;
}

int TAddHint::SetMod() {
    Rand(0, 1);  // drawn and not used: it keeps the generator's sequence
    mx1 = x1 + 0.25f * (x2 - x1);
    my1 = y1 + 0.6f * (y2 - y1);
    mx2 = 768.0f;
    my2 = 0.0f;
    return 0;
}

int TAddHint::Update() {
    if (per == 1.0f) Destroy();
    const double s = SinDeg(90.0 * per);
    x = BezierAt(s, x1, mx1, mx2, x2);
    y = BezierAt(s, y1, my1, my2, y2);
    Rot = 360.0f * static_cast<float>(SinDeg(360.0 * s));
    if (per < 0.2f) Scale = per / 0.2f;
    else if (per > 0.8f) Scale = 1.0f - (per - 0.8f) / 0.2f;
    else Scale = 1.0f;
    Alpha = Scale;
    per += Speed * delta;
    if (per > 1.0f) per = 1.0f;
    return 0;
}

int TAddHint::Draw() {
    Update();
    SetScale(Scale, Scale);
    SetRotation(Rot);
    SetBlend(4);
    SetAlpha(Alpha);
    SetColor(255, 255, 255);
    DrawImage(Image, x, y, 0);
    return 0;
}

int TAddHint::Destroy() {
    TAddHintPtr self = shared_from_this();
    if (Index >= 0 && Index < PanelHintButtons && GamePanel::Hints[Index]) GamePanel::Hints[Index]->Add();
    auto it = std::find(AddHints.begin(), AddHints.end(), self);
    if (it != AddHints.end()) AddHints.erase(it);
    return 0;
}

int CountHintAdds(int index) {
    return static_cast<int>(
        std::count_if(AddHints.begin(), AddHints.end(), [index](const TAddHintPtr& h) { return h->Index == index; }));
}

std::shared_ptr<TDim> PanelHintDim(const TLevel& level) {
    // Only the slots with a button on the panel take charges.
    for (int i = 0; i < PanelHintButtons; ++i) {
        if (level.HintAvailableAtThisLevel[i] == 0 || level.HintIsLoaded[i] != 0) continue;
        if (level.HintAddParts[i] >= static_cast<float>(MaxHintValue)) continue;
        if (level.HintAddParts[i] + static_cast<float>(CountHintAdds(i)) >= static_cast<float>(MaxHintValue)) continue;
        const auto& button = GamePanel::Hints[i];
        if (!button || !button->Point) continue;
        return CreateDim(button->Point->DrawX + kButtonMiddle, button->Point->DrawY + kButtonMiddle,
                         static_cast<float>(i), 0.0f);
    }
    return nullptr;
}

int ReleaseHintCharge(int x, int y) {
    if (!Game || !Game->CurrLevel) return 0;
    auto d = Game->CurrLevel->GetHintDim();
    if (!d) return 0;
    CreateAddHint(x, y, static_cast<int>(d->x), static_cast<int>(d->y), static_cast<int>(d->w));
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Set-up, drawing, clearing

void SetupHints() {
    SetupParticles(ParticlesListPath());
    TFlyHint::HintPart = LoadGameImage("Effects/ball.png", -1, true);
    HintParticleImage = TFlyHint::HintPart;
    TAddHint::Image = LoadGameImage("Effects/Hint.png", 6, true);
}

int DrawFlyHints() {
    // The next one is taken first: the current one may leave its list meanwhile.
    for (auto it = FlyHints.begin(); it != FlyHints.end();) {
        auto next = std::next(it);
        TFlyHintPtr h = *it;
        h->Draw();
        it = next;
    }
    for (auto it = AddHints.begin(); it != AddHints.end();) {
        auto next = std::next(it);
        TAddHintPtr h = *it;
        h->Draw();
        it = next;
    }
    return 0;
}

int ClearFlyHints() {
    FlyHints.clear();
    AddHints.clear();
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Spending a hint

int TMainGame::UseHint(int index, int x, int y) {
    if (!CurrLevel || index < 0 || index >= HintSlots) return 0;
    if (Profile) Profile->HintUsed += 1;
    x += kButtonMiddle;
    y += kButtonMiddle;
    CurrLevel->HintIsLoaded[index] = 0;
    CurrLevel->HintAddParts[index] = 0.0f;
    for (const auto& tile : GetTilesForHints(2)) CreateFlyHint(x, y, tile);
    PlayGameSound(SndHint);
    return 0;
}

std::vector<std::shared_ptr<TPTile>> TMainGame::GetTilesForHints(int count) {
    std::vector<std::shared_ptr<TPTile>> result;
    if (!CurrLevel) return result;
    std::vector<std::shared_ptr<TPTile>> pool = CurrLevel->GetAllFilledTiles(CurrColorIndex);
    pool.erase(std::remove_if(pool.begin(), pool.end(), [](const auto& t) { return isHintTile(t.get()); }), pool.end());
    // No draw at all once nothing is left to pick.
    while (static_cast<int>(result.size()) < count && !pool.empty()) {
        const int r = Rand(1, static_cast<int>(pool.size()));
        result.push_back(pool[r - 1]);
        pool.erase(pool.begin() + (r - 1));
    }
    return result;
}
