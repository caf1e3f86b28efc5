#include "game/puzzle/GamePanel.h"

#include "engine/data/ValueTypes.h"
#include "engine/screen/Control.h"
#include "engine/system/Settings.h"
#include "engine/ui/Mouse.h"
#include "engine/ui/UI_Object.h"
#include "game/puzzle/Level.h"
#include "game/puzzle/MainGame.h"
#include "game/shell/Help.h"
#include "platform/Graphics.h"
#include "platform/Input.h"
#include "platform/Strings.h"

TGameObjectPtr GamePanel::MainPanel;
std::shared_ptr<TUIButton> GamePanel::MenuButton;
std::shared_ptr<TUIButton> GamePanel::HelpButton;
TGameObjectPtr GamePanel::PanelStars;
std::array<std::shared_ptr<TUIImage>, 3> GamePanel::Stars;
TGameObjectPtr GamePanel::PanelColors;
std::shared_ptr<TUIButton> GamePanel::ColorBox;
std::shared_ptr<TUIImage> GamePanel::ColorBoxImage;
TGameObjectPtr GamePanel::PanelHints;
TGameObjectPtr GamePanel::PanelTools;
std::shared_ptr<TUIText> GamePanel::Mistakes;
std::string GamePanel::txtMistakes;

template <class T>
static std::shared_ptr<T> Find(const TGameObjectPtr& in, const std::string& name) {
    return in ? std::dynamic_pointer_cast<T>(in->FindObject(name)) : nullptr;
}

int GamePanel::Setup() {
    if (!Game) return 0;
    MainPanel = Game->FindObject("GamePanel");
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
    PanelTools = Find<TGameObject>(MainPanel, "ToolsPanel");
    return 0;
}

int GamePanel::Stars_TurnOff(int count) { return Stars_Set(count); }

int GamePanel::Stars_Set(int count) {
    if (count < 0 || count > 3) return 0;
    for (int i = 0; i < count; ++i)
        if (Stars[i]) Stars[i]->Enable();
    for (int i = count; i < 3; ++i) {
        if (!Stars[i]) continue;
        if (Stars[i]->isEnabled && Game)
            Game->DropStar(static_cast<int>(Stars[i]->DrawX), static_cast<int>(Stars[i]->DrawY));
        Stars[i]->Disable();
    }
    return 0;
}

int GamePanel::GetStars() {
    int lit = 0;
    for (const auto& star : Stars) lit += (star && star->isEnabled) ? 1 : 0;
    return lit;
}

int GamePanel::SetData(const std::shared_ptr<TLevel>&) { return 0; }

int GamePanel::Draw() {
    if (!Game) return 0;
    if (ColorBoxImage)
        if (auto rgb = Game->GetCurrColorRGB()) ColorBoxImage->SetRGB(rgb->r, rgb->g, rgb->b);
    if (Mistakes && Game->CurrPacLevel) {
        const std::string text = txtMistakes + " " + IntToString(Game->CurrPacLevel->Mistakes) + "/5";
        // Laid out again only when it changes.
        if (text != Mistakes->Text) Mistakes->SetText(text);
    }
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
    return 0;
}

int GamePanel::Update() {
    UpdateScreenPosition();
    if (!Game || Game->CurrState != 0) return 0;
    if (ColorBox && ColorBox->isClicked()) Game->SetNextColor();
    if (MenuButton && MenuButton->isClicked()) {
        Mouse::Clear();
        Game->GoMenu();
    }
    if ((HelpButton && HelpButton->isClicked()) || KeyHit(112)) {
        if (HelpScreen) ShowAppPopUp(HelpScreen);
    }
    return 0;
}

int GamePanel::Prepare() { return 0; }

void GamePanel::Reset() {
    MainPanel = PanelStars = PanelColors = PanelHints = PanelTools = nullptr;
    MenuButton = HelpButton = ColorBox = nullptr;
    Stars = {};
    ColorBoxImage = nullptr;
    Mistakes = nullptr;
    txtMistakes.clear();
}
