#include "game/puzzle/GamePanel.h"

#include <algorithm>

#include "engine/data/ValueTypes.h"
#include "engine/media/AppSound.h"
#include "engine/screen/Control.h"
#include "engine/basics/Basics.h"
#include "engine/data/Settings.h"
#include "engine/window/Mouse.h"
#include "engine/ui/UI_Object.h"
#include "game/levels/BoardLayout.h"
#include "game/puzzle/FlyingStars.h"
#include "game/puzzle/GameImages.h"
#include "game/levels/Hints.h"
#include "game/levels/Level.h"
#include "game/puzzle/MainGame.h"
#include "platform/Graphics.h"
#include "platform/Input.h"
#include "platform/Strings.h"

TGameObjectPtr GamePanel::MainPanel;
TGameObjectPtr GamePanel::Card;
std::shared_ptr<TUIButton> GamePanel::MenuButton;
std::shared_ptr<TUIButton> GamePanel::HelpButton;
TGameObjectPtr GamePanel::PanelStars;
std::array<std::shared_ptr<TUIImage>, 3> GamePanel::Stars;
TGameObjectPtr GamePanel::PanelColors;
std::shared_ptr<TUIButton> GamePanel::ColorBox;
std::shared_ptr<TUIImage> GamePanel::ColorBoxImage;
std::array<std::shared_ptr<TColorButton>, 3> GamePanel::Color;
TGameObjectPtr GamePanel::PanelHints;
std::array<std::shared_ptr<THintButton>, PanelHintButtons> GamePanel::Hints;
TGameObjectPtr GamePanel::PanelTools;
TImagePtr GamePanel::ToolFrame;
float GamePanel::ToolPer = 0.0f;
std::array<std::shared_ptr<TToolButton>, 2> GamePanel::Tool;
std::shared_ptr<TUIText> GamePanel::Mistakes;
std::string GamePanel::txtMistakes;

TImagePtr TColorButton::PickerFrame;
TImagePtr TColorButton::PickerFill;
TImagePtr TColorButton::PickerTick;
TImagePtr TColorButton::PickerPickedFrame;
std::array<TImagePtr, 2> THintButton::Image;

// Fade rates per frame at 60 frames a second.
constexpr float kColorFade = 0.025f;
constexpr float kPickedPulse = 0.05f;
constexpr float kHintFade = 0.025f;
constexpr float kHintGauge = 0.005f;
constexpr float kToolSlide = 0.05f;
// Hover areas from a widget's point.
constexpr int kColorArea = 36;
constexpr int kHintArea = 50;
// F1 opens the help.
constexpr int kKeyF1 = 112;

static float PanelAlpha() { return GamePanel::MainPanel ? GamePanel::MainPanel->DrawAlpha : 1.0f; }

// The widgets' common draw state: white, the alpha given, alpha blend, no rotation, half scale.
static void HalfScaleState(float alpha) {
    SetColor(255, 255, 255);
    SetAlpha(alpha);
    SetBlend(3);
    SetRotation(0.0f);
    SetScale(0.5f, 0.5f);
}

static TLevel* PlayedLevel() { return Game ? Game->CurrLevel.get() : nullptr; }

// The panel takes the player's clicks and keys only while no pop-up is shown over the game
// screen: under the options (which leave the level running) it waits, as the board does, so a
// click beside their panel spends no hint and changes no colour or tool.
static bool TakesInput() { return Game && Game->ActivePopUps.empty(); }

// ---------------------------------------------------------------------------------------------
// Colour buttons

std::shared_ptr<TColorButton> CreateColorButton(const TGameObjectPtr& point, int index) {
    auto b = std::make_shared<TColorButton>();
    b->Point = point;
    b->Index = index;
    return b;
}

int TColorButton::isShown() const {
    const TLevel* level = PlayedLevel();
    return Point && level && Index < level->Colors && Index < static_cast<int>(level->ColorArr.size()) ? 1 : 0;
}

float TColorButton::X() const {
    if (!Point) return 0.0f;
    float x = Point->DrawX;
    // With fewer colours than buttons the shown ones close up around the middle button.
    const TLevel* level = PlayedLevel();
    const auto& first = GamePanel::Color[0];
    const auto& second = GamePanel::Color[1];
    if (level && first && second && first->Point && second->Point) {
        const int shown = std::clamp(level->Colors, 1, 3);
        x += static_cast<float>(3 - shown) * (second->Point->DrawX - first->Point->DrawX) * 0.5f;
    }
    return x;
}

float TColorButton::Y() const { return Point ? Point->DrawY : 0.0f; }

static int ColourDone(int index) {
    const TLevel* level = PlayedLevel();
    return level && index >= 0 && index < static_cast<int>(level->ColorDone.size()) && level->ColorDone[index] != 0;
}

int TColorButton::Reset() {
    doneA = 0.0f;
    dDoneA = 0.0f;
    return 0;
}

int TColorButton::iAmPickedOne() { return Game && Index == Game->CurrColorIndex ? 1 : 0; }

int TColorButton::UpdateState() {
    if (ColourDone(Index)) dDoneA = 1.0f;
    if (dDoneA == 0.0f && TakesInput())
        dOverA = Mouse::InRect(TruncToInt(X()), TruncToInt(Y()), kColorArea, kColorArea) ? 1.0f : 0.0f;
    else dOverA = 0.0f;
    return 0;
}

int TColorButton::UpdateAlphas() {
    doneA = Approach(doneA, dDoneA, kColorFade);
    OverA = Approach(OverA, dOverA, kColorFade);
    return 0;
}

int TColorButton::Update() {
    if (!isShown()) {
        dOverA = 0.0f;
        return 0;
    }
    UpdateState();
    if (dOverA != 0.0f && Mouse::LeftPressed) {
        Mouse::Clear();
        if (Game) Game->SetCurrentColor(Index);
    }
    return 0;
}

int TColorButton::Prepare() {
    if (ColourDone(Index)) {
        dDoneA = 1.0f;
        doneA = 1.0f;
    }
    return 0;
}

int TColorButton::Draw() {
    if (!isShown()) return 0;
    UpdateAlphas();
    const float x = X(), y = Y();
    const float alpha = PanelAlpha();
    HalfScaleState(alpha);
    std::shared_ptr<TRGB> colour = Game ? Game->GetColorRGBByIndex(Index) : nullptr;
    if (colour) SetColorRGB(*colour);
    DrawImage(PickerFill, x, y, 0);
    if (doneA != 0.0f) {
        SetColor(0, 0, 0);
        SetAlpha(doneA * 0.5f * alpha);
        DrawImage(PickerFill, x, y, 0);
        SetColor(255, 255, 255);
        SetAlpha(doneA);
        DrawImage(PickerTick, x + 4.0f, y + 4.0f, 0);
        SetAlpha(1.0f);
    } else if (OverA != 0.0f) {
        SetBlend(4);
        SetAlpha(OverA * 0.33f * alpha);
        DrawImage(PickerFill, x, y, 0);
        SetBlend(3);
        SetAlpha(1.0f);
    }
    SetColor(255, 255, 255);
    DrawImage(PickerFrame, x - 4.0f, y - 4.0f, 0);
    DrawPickedFrame();
    return 0;
}

int TColorButton::DrawPickedFrame() {
    PickedA = Approach(PickedA, dPickedA, kPickedPulse);
    if (iAmPickedOne()) {
        if (PickedA == dPickedA) dPickedA = dPickedA == 0.0f ? 1.0f : 0.0f;
    } else {
        dPickedA = 0.0f;
    }
    if (PickedA != 0.0f) {
        SetBlend(4);
        SetAlpha(PickedA * 0.25f);
        DrawImage(PickerPickedFrame, X() - 7.0f, Y() - 7.0f, 0);
        SetBlend(3);
    }
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Hint buttons

std::shared_ptr<THintButton> CreateHintButton(const TGameObjectPtr& point, int index) {
    auto b = std::make_shared<THintButton>();
    b->Point = point;
    b->Index = index;
    return b;
}

float THintButton::Parts() const {
    const TLevel* level = PlayedLevel();
    return level ? level->HintAddParts[Index] : 0.0f;
}

int THintButton::Add() {
    TLevel* level = PlayedLevel();
    if (!level) return 0;
    float& parts = level->HintAddParts[Index];
    if (parts >= static_cast<float>(MaxHintValue)) return 0;
    parts += 1.0f;
    if (parts >= static_cast<float>(MaxHintValue)) {
        parts = static_cast<float>(MaxHintValue);
        level->HintIsLoaded[Index] = 1;
        dFillP = 1.0f;
        isLoaded = 1;
        if (MainGameSettings::SndHintLoaded) MainGameSettings::SndHintLoaded->Play(1.0f, -1.0f, 0.05f);
    }
    return 0;
}

int THintButton::UpdateStates() {
    const TLevel* level = PlayedLevel();
    dFillP = level && level->HintIsLoaded[Index] != 0 ? 1.0f : 0.0f;
    dCoverPer = Parts() / static_cast<float>(MaxHintValue);
    CoverPer = Approach(CoverPer, dCoverPer, kHintGauge);
    FillP = Approach(FillP, dFillP, kHintFade);
    OverA = Approach(OverA, dOverA, kHintFade);
    return 0;
}

int THintButton::Update() {
    if (isDisabled || !Point) return 0;
    dFillP = isLoaded ? 1.0f : 0.0f;
    const int x = TruncToInt(Point->DrawX), y = TruncToInt(Point->DrawY);
    if (dFillP != 0.0f && TakesInput()) dOverA = Mouse::InRect(x, y, kHintArea, kHintArea) ? 1.0f : 0.0f;
    else dOverA = 0.0f;
    if (Game && Game->CurrState == 0 && dOverA != 0.0f && Mouse::LeftPressed) {
        if (TLevel* level = PlayedLevel()) level->HintWasUsed = 1;
        Game->UseHint(Index, x, y);
        isLoaded = 0;
        dCoverPer = 0.0f;
    }
    UpdateStates();
    return 0;
}

int THintButton::Draw() {
    if (isDisabled || !Point) return 0;
    const float x = Point->DrawX, y = Point->DrawY;
    const float alpha = PanelAlpha();
    HalfScaleState(alpha);
    if (Parts() < static_cast<float>(MaxHintValue)) {
        DrawImage(Image[1], x, y, 0);
        DrawImageFill(Image[0], x, y, CoverPer);
    } else {
        DrawImage(Image[0], x, y, 0);
    }
    if (FillP != 0.0f) {
        SetAlpha(FillP * alpha);
        DrawImage(Image[0], x, y, 0);
        if (dFillP != 0.0f && OverA != 0.0f) {
            SetBlend(4);
            SetAlpha(OverA * 0.33f * alpha);
            DrawImage(Image[0], x, y, 0);
        }
        SetBlend(3);
        SetAlpha(1.0f);
    }
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Tool buttons

std::shared_ptr<TToolButton> CreateToolButton(const TGameObjectPtr& point, const std::string& normalUrl,
                                              const std::string& overUrl, int index) {
    auto b = std::make_shared<TToolButton>();
    b->Point = point;
    b->Index = index;
    b->Image[0] = LoadGameImage(normalUrl, 6, false);
    b->Image[1] = LoadGameImage(overUrl, 6, false);
    return b;
}

int TToolButton::Update() {
    Over = 0;
    if (!Game || Game->CurrState != 0 || !Point || !TakesInput()) return 0;
    const int w = static_cast<int>(static_cast<float>(ImageWidth(Image[0])) * 0.5f);
    const int h = static_cast<int>(static_cast<float>(ImageHeight(Image[0])) * 0.5f);
    Over = Mouse::InRect(TruncToInt(Point->DrawX), TruncToInt(Point->DrawY), w, h);
    if (Over && Mouse::LeftPressed) Game->PAC_SetCurrTool(Index);
    return 0;
}

int TToolButton::Draw() {
    if (!Point) return 0;
    SetColor(255, 255, 255);
    SetScale(0.5f, 0.5f);
    SetAlpha(PanelAlpha());
    DrawImage(Image[Over ? 1 : 0], Point->DrawX, Point->DrawY, 0);
    return 0;
}

// ---------------------------------------------------------------------------------------------
// The panel

template <class T>
static std::shared_ptr<T> Find(const TGameObjectPtr& in, const std::string& name) {
    return in ? std::dynamic_pointer_cast<T>(in->FindObject(name)) : nullptr;
}

int GamePanel::Setup() {
    if (!Game) return 0;
    MainPanel = Game->FindObject("GamePanel");
    Card = Find<TGameObject>(MainPanel, "PanelBack");
    MenuButton = Find<TUIButton>(MainPanel, "MenuButton");
    HelpButton = Find<TUIButton>(MainPanel, "HelpButton");
    PanelStars = Find<TGameObject>(MainPanel, "StarsPanel");
    PanelColors = Find<TGameObject>(MainPanel, "ColorsPicker");
    PanelHints = Find<TGameObject>(MainPanel, "HintsPanel");
    Mistakes = Find<TUIText>(MainPanel, "Mistakes");
    txtMistakes = Game->GetTxt(1);
    for (int i = 0; i < 3; ++i) Stars[i] = Find<TUIImage>(PanelStars, "Star" + IntToString(i + 1));
    ColorBox = Find<TUIButton>(PanelColors, "PickerColor");
    ColorBoxImage = Find<TUIImage>(MainPanel, "PickerColorImage");
    for (int i = 0; i < 3; ++i)
        Color[i] = CreateColorButton(Find<TGameObject>(MainPanel, "Picker-Color-" + IntToString(i + 1)), i);
    TColorButton::PickerFrame = LoadGameImage("Screens/MainGame/Picker-Circle-Frame.png", 6, false);
    TColorButton::PickerFill = LoadGameImage("Screens/MainGame/Picker-Circle-Fill.png", 6, false);
    TColorButton::PickerTick = LoadGameImage("Screens/MainGame/Picker-Tick.png", 6, false);
    TColorButton::PickerPickedFrame = LoadGameImage("Screens/MainGame/Color-Picked.png", 6, false);
    THintButton::Image[0] = LoadGameImage("Screens/MainGame/Hint-0.png", 6, false);
    THintButton::Image[1] = LoadGameImage("Screens/MainGame/Hint-1.png", 6, false);
    for (int i = 0; i < PanelHintButtons; ++i)
        Hints[i] = CreateHintButton(Find<TGameObject>(MainPanel, "Hint-" + IntToString(i + 1)), i);
    PanelTools = Find<TGameObject>(MainPanel, "ToolsPanel");
    Tool[0] = CreateToolButton(Find<TGameObject>(PanelTools, "ToolHand"), "Screens/MainGame/reka-normal.png",
                               "Screens/MainGame/reka-over.png", 0);
    Tool[1] = CreateToolButton(Find<TGameObject>(PanelTools, "ToolHammer"), "Screens/MainGame/hak-normal.png",
                               "Screens/MainGame/hak-over.png", 1);
    ToolFrame = LoadGameImage("Screens/MainGame/frame.png", -1, false);
    return 0;
}

int GamePanel::Stars_TurnOff(int count) { return Stars_Set(count); }

int GamePanel::Stars_Set(int count) {
    if (count < 0 || count > 3) return 0;
    for (int i = 0; i < count; ++i)
        if (Stars[i]) Stars[i]->Enable();
    for (int i = count; i < 3; ++i) {
        if (!Stars[i]) continue;
        int x = 0, y = 0;
        if (Stars[i]->isEnabled) {
            x = static_cast<int>(Stars[i]->DrawX);
            y = static_cast<int>(Stars[i]->DrawY);
            if (Game) Game->DropStar(x, y);
        } else if (TakeStarFlyIn(Stars[i].get(), x, y) && Game) {
            // Lost on its way in: it falls from where it was and never lights its place.
            Game->DropStar(x, y);
        }
        Stars[i]->Disable();
    }
    return 0;
}

int GamePanel::GetStars() {
    int lit = 0;
    for (const auto& star : Stars) lit += (star && star->isEnabled) ? 1 : 0;
    return lit;
}

int GamePanel::SetData(const std::shared_ptr<TLevel>& level) {
    for (int i = 0; i < PanelHintButtons; ++i) {
        auto& b = Hints[i];
        if (!b) continue;
        b->isDisabled = level && level->HintAvailableAtThisLevel[i] != 0 ? 0 : 1;
        b->isLoaded = level ? level->HintIsLoaded[i] : 0;
        if (b->isLoaded != 0) b->FillP = 1.0f;
    }
    ToolPer = Game ? static_cast<float>(Game->CurrTool) : 0.0f;
    for (auto& c : Color)
        if (c) c->Reset();
    return 0;
}

int GamePanel::DrawPicker() {
    for (auto& c : Color)
        if (c) c->Draw();
    return 0;
}

int GamePanel::DrawHints() {
    for (auto& h : Hints)
        if (h) h->Draw();
    return 0;
}

int GamePanel::DrawTools() {
    for (auto& t : Tool)
        if (t) t->Draw();
    if (!Tool[0] || !Tool[1] || !Tool[0]->Point || !Tool[1]->Point) return 0;
    SetColor(255, 255, 255);
    SetBlend(3);
    SetAlpha(PanelAlpha());
    SetRotation(0.0f);
    SetScale(1.0f, 1.0f);
    const float x0 = Tool[0]->Point->DrawX, x1 = Tool[1]->Point->DrawX;
    DrawImage(ToolFrame, x0 + ToolPer * (x1 - x0), Tool[0]->Point->DrawY, 0);
    return 0;
}

// A panel whose object is hidden shows no widget and takes no click.
static bool PanelHidden() { return GamePanel::MainPanel && GamePanel::MainPanel->isEnabled == 0; }

int GamePanel::Draw() {
    if (!Game) return 0;
    if (ColorBoxImage)
        if (auto rgb = Game->GetCurrColorRGB()) ColorBoxImage->SetRGB(rgb->r, rgb->g, rgb->b);
    if (!PanelHidden()) {
        DrawPicker();
        DrawHints();
        DrawTools();
    }
    if (Mistakes && Game->CurrPacLevel) {
        const std::string text =
            txtMistakes + " " + IntToString(Game->CurrPacLevel->Mistakes) + "/" + IntToString(LevelMistakesToLose - 1);
        // Laid out again only when it changes.
        if (text != Mistakes->Text) Mistakes->SetText(text);
    }
    // The next drawing starts from the ordinary state.
    SetScale(1.0f, 1.0f);
    SetAlpha(1.0f);
    SetBlend(3);
    return 0;
}

int GamePanel::UpdateScreenPosition() {
    if (!MainPanel) return 0;
    const float h = static_cast<float>(GraphicsHeight());
    if (h <= 0.0f) return 0;
    const float s = h / 768.0f * 1024.0f;
    const float m = (static_cast<float>(GraphicsWidth()) - s) / 2.0f * (1024.0f / s);
    if (AppSettings::Stretched == 0) MainPanel->SetPosition(1024.0f + m, 0.0f);
    else if (AppSettings::Stretched == 1) MainPanel->SetPosition(1024.0f, 0.0f);
    // The board keeps clear of the card, which lies left of the panel's place.
    BoardAreaRight = MainPanel->GetX() + (Card ? Card->GetX() : 0.0f);
    return 0;
}

int GamePanel::UpdateColorPicker() {
    for (auto& c : Color)
        if (c) c->Update();
    return 0;
}

int GamePanel::UpdateHints() {
    for (auto& h : Hints)
        if (h) h->Update();
    return 0;
}

int GamePanel::UpdateTools() {
    for (auto& t : Tool)
        if (t) t->Update();
    ToolPer = Approach(ToolPer, Game ? static_cast<float>(Game->CurrTool) : 0.0f, kToolSlide);
    return 0;
}

int GamePanel::Update() {
    UpdateScreenPosition();
    if (!PanelHidden()) {
        UpdateColorPicker();
        UpdateHints();
        UpdateTools();
    }
    if (!Game || Game->CurrState != 0 || !TakesInput()) return 0;
    if (ColorBox && ColorBox->isClicked()) Game->SetNextColor();
    if (MenuButton && MenuButton->isClicked()) {
        Mouse::Clear();
        Game->GoMenu();
    }
    if ((HelpButton && HelpButton->isClicked()) || KeyHit(kKeyF1)) {
        if (Game) Game->Navigator->ShowHelp();
    }
    return 0;
}

int GamePanel::Prepare() {
    for (auto& c : Color)
        if (c) c->Prepare();
    return 0;
}

void GamePanel::Reset() {
    MainPanel = Card = PanelStars = PanelColors = PanelHints = PanelTools = nullptr;
    BoardAreaRight = static_cast<float>(NumbersExtentStartX);
    MenuButton = HelpButton = ColorBox = nullptr;
    Stars = {};
    ColorBoxImage = nullptr;
    Color = {};
    Hints = {};
    Tool = {};
    ToolFrame = nullptr;
    ToolPer = 0.0f;
    Mistakes = nullptr;
    txtMistakes.clear();
    TColorButton::PickerFrame = TColorButton::PickerFill = TColorButton::PickerTick = nullptr;
    TColorButton::PickerPickedFrame = nullptr;
    THintButton::Image = {};
}
