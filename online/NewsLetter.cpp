#include "online/NewsLetter.h"

#include "engine/media/SoundManager.h"
#include "engine/screen/AppScreen.h"
#include "engine/screen/Console.h"
#include "engine/screen/Control.h"
#include "engine/basics/AppTime.h"
#include "engine/window/Display.h"
#include "engine/system/Error.h"
#include "engine/system/Paths.h"
#include "engine/window/Mouse.h"
#include "online/EnBlock.h"
#include "online/Launcher.h"
#include "online/NewsletterSender.h"
#include "platform/Files.h"
#include "platform/Graphics.h"
#include "platform/Input.h"
#include "platform/Maths.h"
#include "platform/Strings.h"

TNewsLetterPtr NewsLetter;

namespace {

constexpr int kInfoMs = 4000;
constexpr int kBlinkMs = 500;
constexpr size_t kMaxEntry = 256;  // characters of an entry

std::string Line(const std::vector<std::string>& lines, size_t n) { return n < lines.size() ? lines[n] : ""; }

// Byte offsets at which the characters of a UTF-8 text begin.
std::vector<size_t> CharacterStarts(const std::string& text) {
    std::vector<size_t> starts;
    for (size_t i = 0; i < text.size(); ++i)
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) starts.push_back(i);
    return starts;
}

void DropLastCharacter(std::string& text) {
    const std::vector<size_t> starts = CharacterStarts(text);
    if (!starts.empty()) text.erase(starts.back());
}

// The text with its first character upper-cased.
std::string FirstUpper(const std::string& text) {
    const std::vector<size_t> starts = CharacterStarts(text);
    if (starts.empty()) return text;
    const size_t end = starts.size() > 1 ? starts[1] : text.size();
    return UpperUnicode(text.substr(0, end)) + text.substr(end);
}

}  // namespace

TNewsLetter::TNewsLetter() { id = "NewsLetter"; }

int NewsLetterSwitch(const std::string& dataFolder) {
    const int kind = FileType(dataFolder + "newsletter");
    if (kind == 0) return 0;
    for (const TEnBlockPtr& block : LoadEnBlockFile(dataFolder + "newsletter/newsletter.dat"))
        if (block && block->name == "SETTINGS") return NewsletterServerIsReal(block->GetParam("Server")) ? kind : 0;
    return 0;
}

int TNewsLetter::setup() {
    if (allreadyloaded == 0) {
        allreadyloaded = 1;
        LoadStuff();
    }
    return 0;
}

int TNewsLetter::Reload() { return LoadStuff(); }

int TNewsLetter::LoadStuff() {
    const std::string folder = bDir + "newsletter/";
    panel = LoadImage(folder + "panel.png");
    if (panel) {
        MidHandleImage(panel);
    } else {
        ErrorNoFile(folder + "panel.png", Here());
    }
    _SetupTexts();
    const std::vector<TEnBlockPtr> blocks = LoadEnBlockFile(folder + "newsletter.dat");
    guiObjects.clear();
    for (const TEnBlockPtr& block : blocks) {
        if (!block) continue;
        if (block->name == "SETTINGS") {
            _SetupSettings(*block);
        } else {
            guiObjects.push_back(CreateNLObj(*block));
        }
    }
    return 0;
}

int TNewsLetter::_SetupTexts() {
    const std::string url = bDir + "newsletter/newsletter.txt";
    TextArray = LoadTextLines(url);
    if (!TextArray.empty() && TextArray.size() < 10)
        Error(url + " holds " + IntToString(static_cast<int64_t>(TextArray.size())) +
                  " lines; the missing ones read as empty",
              Here());
    txtName = Line(TextArray, 2);
    txtMail = Line(TextArray, 3);
    txtInvalidAdress = Line(TextArray, 8);
    txtNotSent = Line(TextArray, 9);
    return 0;
}

int TNewsLetter::_SetupSettings(const TEnBlock& block) {
    PanelX = static_cast<float>(block.GetParamInt("PanelX"));
    PanelY = static_cast<float>(block.GetParamInt("PanelY"));
    FontUrl = IntToString(block.GetParamInt("Font"));
    NameX = PanelX + static_cast<float>(block.GetParamInt("NameX"));
    NameY = PanelY + static_cast<float>(block.GetParamInt("NameY"));
    MailX = PanelX + static_cast<float>(block.GetParamInt("MailX"));
    MailY = PanelY + static_cast<float>(block.GetParamInt("MailY"));
    XDist = static_cast<float>(block.GetParamInt("XDist"));
    RectWidth = static_cast<float>(block.GetParamInt("RectWidth"));
    RectHeight = static_cast<float>(block.GetParamInt("RectHeight"));
    CurWidth = static_cast<float>(block.GetParamInt("CursorWidth"));
    CurHeight = static_cast<float>(block.GetParamInt("CursorHeight"));
    OverR = block.GetParamInt("Over_Red");
    overG = block.GetParamInt("Over_Green");
    overB = block.GetParamInt("Over_Blue");
    PanelScale = block.GetParamFloat("PanelScale");
    MacList = block.GetParam("MacList");
    PCList = block.GetParam("PCList");
    red = block.GetParamInt("RGB_Red");
    green = block.GetParamInt("RGB_Green");
    blue = block.GetParamInt("RGB_Blue");
    rr = block.GetParamInt("RectRGB_Red");
    gg = block.GetParamInt("RectRGB_Green");
    bb = block.GetParamInt("RectRGB_Blue");
    entryFont = NewsLetterFont(block.GetParam("FontUrl"), block.GetParamInt("FontSize"));
    // The server is configuration; without one the sign-up goes to the address the game ships,
    // which never resolves.
    const std::string server = block.GetParam("Server");
    NewsletterServer = server.empty() ? NewsletterDefaultServer : server;
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Drawing

int TNewsLetter::draw() {
    _drawBack();
    _drawPanel();
    _drawGui();
    _drawEntry();
    _DrawInfo();
    // The game's own cursor, when it is on, is drawn here as on every other screen.
    _drawMouse();
    return 0;
}

int TNewsLetter::_drawBack() {
    // The game screen, under the window.
    if (auto game = Control::GetScreenById("GameScreen")) game->Drawing();
    SetColor(0, 0, 0);
    SetRotation(0.0f);
    SetBlend(ALPHABLEND);
    SetScale(1.0f, 1.0f);
    SetAlpha(alpha * 0.5f);
    DrawRect(-1000.0f, 0.0f, 5000.0f, 768.0f);
    return 0;
}

int TNewsLetter::_drawPanel() {
    SetColor(255, 255, 255);
    SetAlpha(alpha);
    SetScale(PanelScale, PanelScale);
    if (panel) DrawImage(panel, 512.0f + PanelX, 384.0f + PanelY, 0);
    SetScale(1.0f, 1.0f);
    SetAlpha(alpha);
    SetRotation(0.0f);
    return 0;
}

int TNewsLetter::_drawGui() {
    for (const TNLObjPtr& widget : guiObjects)
        if (widget) widget->draw();
    return 0;
}

int TNewsLetter::_DrawRectangle(int x, int y, int w, int h) {
    const float x1 = static_cast<float>(x - 2), y1 = static_cast<float>(y - 2);
    const float w1 = static_cast<float>(w + 4), h1 = static_cast<float>(h + 4);
    DrawRect(x1, y1, w1, 1.0f);
    DrawRect(x1 + w1, y1, 1.0f, h1);
    DrawRect(x1, y1 + h1, w1, 1.0f);
    DrawRect(x1, y1, 1.0f, h1);
    return 0;
}

std::string TNewsLetter::CutEntry(const std::string& text) {
    if (TextWidth(text) < maxWidth) return text;
    // The shortest tail at least maxWidth wide: the one before the first narrower tail.
    const std::vector<size_t> starts = CharacterStarts(text);
    for (size_t i = 1; i < starts.size(); ++i)
        if (TextWidth(text.substr(starts[i])) < maxWidth) return text.substr(starts[i - 1]);
    return starts.empty() ? text : text.substr(starts.back());
}

int TNewsLetter::_drawEntry() {
    SetScale(1.0f, 1.0f);
    SetImageFont(entryFont);
    SetColor(rr, gg, bb);
    SetAlpha(alpha * 0.75f);
    _DrawRectangle(static_cast<int>(NameX + XDist), static_cast<int>(NameY), static_cast<int>(RectWidth),
                   static_cast<int>(RectHeight));
    _DrawRectangle(static_cast<int>(MailX + XDist), static_cast<int>(MailY), static_cast<int>(RectWidth),
                   static_cast<int>(RectHeight));
    SetAlpha(alpha);
    SetColor(red, green, blue);
    DrawText(txtName, NameX - XDist - static_cast<float>(TextWidth(txtName)), NameY);
    DrawText(txtMail, MailX - XDist - static_cast<float>(TextWidth(txtMail)), MailY);
    const std::string name = CutEntry(NameEntry);
    const std::string mail = CutEntry(MailEntry);
    DrawText(name, NameX + XDist, NameY);
    DrawText(mail, MailX + XDist, MailY);
    if (switch_ != 0) {
        if (activeN == 0) {
            DrawRect(NameX + XDist + static_cast<float>(TextWidth(name)), NameY, CurWidth, CurHeight);
        } else {
            DrawRect(MailX + XDist + static_cast<float>(TextWidth(mail)), MailY, CurWidth, CurHeight);
        }
    }
    return 0;
}

int TNewsLetter::_DrawInfo() {
    if (InfoA == 0.0f) return 0;
    SetColor(0, 0, 0);
    SetAlpha(InfoA * 0.7f * alpha);
    SetScale(1.0f, 1.0f);
    SetRotation(0.0f);
    SetBlend(ALPHABLEND);
    DrawRect(-200.0f, 330.0f, 2000.0f, 100.0f);
    SetColor(255, 255, 255);
    SetAlpha(InfoA * alpha);
    const int w = TextWidth(InfoText) / 2;
    const int h = TextHeight(InfoText) / 2;
    DrawText(InfoText, static_cast<float>(512 - w), static_cast<float>(380 - h));
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Updating

int TNewsLetter::update() {
    _updateSystemBasic();
    if (Control::isEnded) return 0;
    _updateAlpha();
    // Once closing, the window takes no more input: a button pressed while it fades out would
    // act a second time (LATER, then SIGNUP, would still send).
    if (!isClosing()) {
        _updateSwitch();
        _updateGUI();
    }
    _UpdateInfo();
    return 0;
}

int TNewsLetter::_updateSystemBasic() {
    UpdateDelta();
    Mouse::Update();
    UpdateAppMillisecs();
    AppSoundManager::Update();
    if (KeyDown(KEY_LSYS) && KeyHit(KEY_F)) GraphicsSwitchFullScreen();
    const bool altF4 = KeyDown(KEY_LALT) && KeyHit(KEY_F4);
    const bool commandQ = KeyDown(KEY_LSYS) && KeyHit(KEY_Q);
    if (AppTerminate() || altF4 || commandQ) {
        // The normal end: the save-at-end list keeps the player's progress and the settings.
        BeforeExitHook();
        AppEnd();
    }
    return 0;
}

int TNewsLetter::_updateSwitch() {
    if (InfoWaitTime != 0) return 0;
    if (AppMilliSecs() > switchtime) {
        switchtime = AppMilliSecs() + kBlinkMs;
        switch_ = switch_ == 0 ? 1 : 0;
    }
    std::string& entry = activeN == 0 ? NameEntry : MailEntry;
    const int c = GetChar();
    if (c == 8) {
        DropLastCharacter(entry);
    } else if (c == 13 || c == 9) {
        activeN = activeN == 0 ? 1 : 0;
    } else if (c >= 32 && c != 127) {
        // Other control characters (Escape among them) are not part of a name or an address.
        if (CharacterStarts(entry).size() < kMaxEntry) {
            AppendUtf8(entry, static_cast<char32_t>(c));
            if (activeN == 0) entry = FirstUpper(entry);
        }
    }
    SetImageFont(entryFont);
    if (Mouse::LeftPressed != 0) {
        const int hb = TextHeight("B");
        const int wName = TextWidth(txtName);
        if (Mouse::InRect(TruncToInt(NameX - XDist - static_cast<float>(wName)), TruncToInt(NameY),
                          TruncToInt(static_cast<float>(wName) + 2.0f * XDist + 250.0f), hb) != 0)
            activeN = 0;
        const int wMail = TextWidth(txtMail);
        if (Mouse::InRect(TruncToInt(MailX - XDist - static_cast<float>(wMail)), TruncToInt(MailY),
                          TruncToInt(static_cast<float>(wMail) + 2.0f * XDist + 250.0f), hb) != 0)
            activeN = 1;
    }
    StateObject("signup", 1, MailEntry.empty() ? 0 : 1);
    return 0;
}

int TNewsLetter::_updateGUI() {
    if (InfoWaitTime != 0) return 0;
    // A copy: a developer reload may replace the list.
    const std::vector<TNLObjPtr> widgets = guiObjects;
    for (const TNLObjPtr& widget : widgets) {
        auto button = std::dynamic_pointer_cast<TNLButton>(widget);
        if (!button) continue;
        button->update();
        if (button->isOver == 0 || Mouse::LeftPressed == 0 || isClosing() || Control::isEnded) continue;
        if (button->id == "LATER") {
            goLater();
        } else if (button->id == "SIGNUP") {
            goSignUp();
        } else if (button->id == "DONTSHOW") {
            goDontShow();
        }
    }
    return 0;
}

int TNewsLetter::_UpdateInfo() {
    if (Mouse::LeftPressed != 0) InfoWaitTime = 0;
    dInfoA = InfoWaitTime != 0 ? 1.0f : 0.0f;
    MoveTowardTarget(InfoA, dInfoA, 0.05f);
    if (InfoWaitTime != 0 && AppMilliSecs() > InfoWaitTime) InfoWaitTime = 0;
    return 0;
}

int TNewsLetter::StateObject(const std::string& widgetId, int visible, int active) {
    for (const TNLObjPtr& widget : guiObjects) {
        if (widget && EqualsNoCase(widget->id, widgetId)) {
            widget->isVisible = visible;
            widget->isActive = active;
        }
    }
    return 0;
}

int TNewsLetter::ShowNewsLetterInfo(const std::string& text) {
    InfoWaitTime = AppMilliSecs() + kInfoMs;
    InfoText = text;
    InfoA = 0.0f;
    dInfoA = 1.0f;
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Showing

int TNewsLetter::prepare() {
    alpha = 0.0f;
    dAlpha = 1.0f;
    setup();
    rezultat = 0;
    ++Newsletter_IleRazy;
    StateObject("DONTSHOW", 0, 0);
    if (Newsletter_IleRazy >= 3) StateObject("DONTSHOW", 1, 1);
    FlushKeys();
    _prepareDelta();
    return 0;
}

int TNewsLetter::mainloop() {
    prepare();
    for (;;) {
        // Counts the frame with the harness's; a frame limit or a close request ends the
        // program the normal way.
        if (Control::BeginOwnLoopFrame() != 0) break;
        Cls();
        update();
        if (Control::isEnded) break;
        draw();
        FlipAndClear();
        if (CheatsOn && KeyDown(KEY_LALT) && KeyHit(76)) Reload();
        if (alpha == 0.0f && dAlpha == 0.0f) break;
    }
    FlushKeys();
    return rezultat;
}

int TNewsLetter::goSignUp() {
    FlushKeys();
    FlushMouse();
    Mouse::Clear();
    // The window stays drawn while the request waits; a close request gives the request up.
    auto wait = [this]() {
        if (Control::BeginOwnLoopFrame() != 0) return false;
        Cls();
        _updateSystemBasic();
        if (Control::isEnded) return false;
        draw();
        FlipAndClear();
        return true;
    };
    const TNewsletterAnswer answer = SendToNewsletter(NameEntry, MailEntry, MacList, wait);
    // Presses made while waiting are not taken as presses on the window.
    Mouse::Clear();
    if (Control::isEnded) return 0;
    switch (answer.outcome) {
        case TNewsletterOutcome::InvalidAddress: ShowNewsLetterInfo(txtInvalidAdress); break;
        case TNewsletterOutcome::TooFast: break;
        case TNewsletterOutcome::Failed:
            // Nothing is known to have reached the server: the player may try again.
            ShowNewsLetterInfo(txtNotSent);
            break;
        case TNewsletterOutcome::SignedUp:
            rezultat = 1;
            Newsletter_NiePokazujWiecej = 1;
            Newsletter_Zapisany = 1;
            SaveNewsLetter();
            dAlpha = 0.0f;
            break;
    }
    _prepareDelta();
    return 0;
}

int TNewsLetter::goLater() {
    Newsletter_Seconds = 0;
    Newsletter_Minutes = 0;
    SaveNewsLetter();
    dAlpha = 0.0f;
    return 0;
}

int TNewsLetter::goDontShow() {
    Newsletter_NiePokazujWiecej = 1;
    dAlpha = 0.0f;
    SaveNewsLetter();
    return 0;
}
