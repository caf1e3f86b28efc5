#include "game/shell/Credits.h"

#include <algorithm>

#include "engine/media/StyledText.h"
#include "engine/media/TxtFile.h"
#include "engine/screen/Control.h"
#include "engine/basics/Basics.h"
#include "engine/basics/AppTime.h"
#include "engine/system/Error.h"
#include "engine/window/Letterbox.h"
#include "engine/system/Paths.h"
#include "engine/screen/MouseCursor.h"
#include "platform/Files.h"
#include "platform/Graphics.h"
#include "platform/Input.h"
#include "platform/Strings.h"

TCreditsPtr Credits;

TTextClassPtr TCredits::CreditsText1;
TTextClassPtr TCredits::CreditsText2;
TTextClassPtr TCredits::CreditsText3;

TCreditsPtr CreateCreditsScreen() {
    auto screen = std::make_shared<TCredits>();
    screen->Init("Credits", bDir + "Screens/Credits/Credits.AppScreen");
    return screen;
}

namespace {

constexpr int kCentreX = 512;
constexpr int kBackHandleX = 171;
constexpr int kKeyEnter = 13;
constexpr int kKeySpace = 32;
constexpr int kKeyEscape = 27;

// The text without its first and last characters (whole characters, not bytes).
std::string WithoutEnds(const std::string& text) {
    std::u32string chars = Utf8ToUtf32(text);
    if (chars.size() <= 2) return std::string();
    return Utf32ToUtf8(std::u32string_view(chars).substr(1, chars.size() - 2));
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// TCreditData

int TCreditData::Draw(float top, float alpha) {
    SetAlpha(alpha);
    SetColor(0, 0, 0);
    SetTextClass(cl);
    const int width = GetClassTextWidth(txt);
    DrawClassText(txt, static_cast<float>(kCentreX - width / 2), top);
    return 0;
}

// ---------------------------------------------------------------------------------------------
// TCredits

void TCredits::BuildLines(const std::vector<std::string>& lines) {
    lista.clear();
    for (std::string text : lines) {
        // A line written with Windows line ends keeps its carriage return; it is no character
        // of the roll.
        if (!text.empty() && text.back() == '\r') text.pop_back();
        if (text.empty()) continue;
        auto line = std::make_shared<TCreditData>();
        line->txt = text;
        line->cl = CreditsText1;
        if (text[0] == '#') {
            line->cl = CreditsText2;
            line->txt = WithoutEnds(text);
        } else if (text[0] == '$') {
            line->cl = CreditsText3;
            line->txt = WithoutEnds(text);
        }
        lista.push_back(line);
    }
}

int TCredits::OnSetup() {
    const std::string back = bDir + "Screens/credits/back.jpg";
    img = LoadImage(back);
    if (img) SetImageHandle(img, static_cast<float>(kBackHandleX), 0.0f);
    else Error("Can't load the credits' background '" + back + "'", Here());
    std::shared_ptr<TTxtFile> text = LoadTxtFile(bDir + "Local/#LANG#/credits.txt");
    CreditsText1 = AppClassManager::GetTextClass("Credits 1", 0);
    CreditsText2 = AppClassManager::GetTextClass("Credits 2", 0);
    CreditsText3 = AppClassManager::GetTextClass("Credits 3", 0);
    BuildLines(text ? text->txt : std::vector<std::string>{});
    return 0;
}

int TCredits::OnPrepare() {
    y = StartY;
    dAlpha = 1.0f;
    Alpha = 0.0f;
    isEnd = 0;
    return 0;
}

int TCredits::OnUpdate() {
    const float step = FadeStep * delta;
    if (Alpha < dAlpha) {
        Alpha += step;
        if (Alpha > dAlpha) Alpha = dAlpha;
    } else if (Alpha > dAlpha) {
        Alpha -= step;
        if (Alpha < dAlpha) Alpha = dAlpha;
    }
    UpdateMove();
    return 0;
}

int TCredits::UpdateMove() {
    y -= ScrollSpeed * delta;
    return 0;
}

int TCredits::OnDraw() {
    DrawBack();
    DrawCredits();
    return 0;
}

float TCredits::BackAlpha() const { return std::min(1.0f, 2.0f * Alpha); }

float TCredits::LinesAlpha() const { return std::max(0.0f, 2.0f * Alpha - 1.0f); }

int TCredits::DrawBack() {
    SetColor(255, 255, 255);
    SetAlpha(BackAlpha());
    SetBlend(ALPHABLEND);
    SetScale(1.0f, 1.0f);
    SetRotation(0.0f);
    if (img) DrawImage(img, 0.0f, 0.0f);
    return 0;
}

int TCredits::DrawCredits() {
    float lineY = y;
    for (const TCreditDataPtr& line : lista) {
        if (!line) continue;
        line->Draw(lineY, LinesAlpha());
        SetTextClass(line->cl);
        lineY += static_cast<float>(GetClassTextHeight(line->txt) + LineGap);
    }
    if (lineY < 0.0f) y = RestartY;
    return 0;
}

int TCredits::Interface() {
    // Every key is read, so that none of the three is left counted for later.
    const bool enter = KeyHit(kKeyEnter) != 0;
    const bool space = KeyHit(kKeySpace) != 0;
    const bool escape = KeyHit(kKeyEscape) != 0;
    if ((Alpha == 1.0f && Mouse::LeftPressed != 0) || enter || space || escape) GoEnd();
    return 0;
}

int TCredits::GoEnd() {
    dAlpha = 0.0f;
    return 0;
}

// ---------------------------------------------------------------------------------------------
// The modal roll

void StartCredits() {
    if (!Credits) return;
    FlushMouse();
    FlushKeys();
    Mouse::Clear();
    Credits->OnPrepare();
    for (;;) {
        if (Control::BeginOwnLoopFrame() != 0) return;
        Cls();
        Control::UpdateSystem();
        if (Control::isEnded) return;
        // The screen below shows through while the background fades in and out; it stands still.
        if (Credits->BackAlpha() < 1.0f && Control::CurrScreen) Control::CurrScreen->Drawing();
        Credits->OnUpdate();
        Credits->OnDraw();
        Mouse::Draw();
        Control::BeforeOwnLoopFlip();
        Flip(-1);
        AspectCls();
        Credits->Interface();
        if (Credits->dAlpha == 0.0f && Credits->Alpha == 0.0f) break;
    }
    // The click or key that ended the roll is not handed on to the screen below.
    FlushKeys();
    Mouse::Clear();
}
