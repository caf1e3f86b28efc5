#include "engine/screen/Console.h"

#include "engine/screen/AppScreen.h"
#include "engine/basics/Basics.h"
#include "engine/screen/Control.h"
#include "engine/basics/AppTime.h"
#include "engine/window/Display.h"
#include "engine/system/Error.h"
#include "platform/Font.h"
#include "platform/Graphics.h"
#include "platform/Input.h"
#include "platform/Strings.h"

int CheatsOn = 0;

int32_t TLiniaLiter::lw = 0;

int32_t Console::SingleCriticalTime = 3000;
int32_t Console::CriticalTime = 0;
int32_t Console::Visible = 0;
std::string Console::Wpis;
std::deque<TLiniaLiterPtr> Console::LogList;
std::vector<TConsoleCommandPtr> Console::Commands;
std::deque<TAppCriticalLinePtr> Console::Criticals;

namespace {

constexpr int kConsoleKey = 192;
constexpr size_t kMaxInputChars = 51;

// The text measured in the built-in default font, leaving the current font selected.
int DefaultFontTextWidth(const std::string& text) {
    TImageFontPtr font = GetImageFont();
    SetImageFont(nullptr);
    int w = TextWidth(text);
    SetImageFont(font);
    return w;
}

void SetCriticalColor(int t) {
    switch (t) {
        case 0: SetColor(255, 0, 0); break;
        case 1: SetColor(0, 255, 0); break;
        case 2: SetColor(255, 255, 0); break;
        case 3: SetColor(0, 0, 255); break;
        case 4: SetColor(0, 255, 255); break;
        case 5: SetColor(255, 0, 255); break;
        default: SetColor(255, 255, 255); break;
    }
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Letters and lines

void TLitera::draw(int x, int y) {
    switch (t) {
        case 0: SetColor(0, 0, 0); break;
        case 1: SetColor(255, 0, 0); break;
        case 2: SetColor(0, 170, 0); break;
        case 3: SetColor(0, 200, 200); break;
        case 4: SetColor(200, 0, 200); break;
        case 5: SetColor(150, 150, 0); break;
        case 6: SetColor(0, 0, 255); break;
        default: break;  // the drawing colour stays
    }
    DrawText(q, static_cast<float>(x), static_cast<float>(y));
}

std::shared_ptr<TLitera> TLitera::CreateNew(const std::string& q, int t) {
    auto letter = std::make_shared<TLitera>();
    letter->q = q;
    letter->t = t;
    return letter;
}

TLiniaLiter::TLiniaLiter() {
    if (lw == 0) lw = DefaultFontTextWidth("A");
    // A font whose "A" measures nothing would make a line of unbounded cells; one cell per pixel
    // is the most a line can show.
    int cellWidth = lw > 0 ? lw : 1;
    int cells = GetGraphicsWidth() / cellWidth;
    litera.assign(static_cast<size_t>(cells > 0 ? cells : 0), nullptr);
}

int TLiniaLiter::AddLetter(const TLiteraPtr& letter) {
    for (auto& cell : litera) {
        if (!cell) {
            cell = letter;
            return 0;
        }
    }
    return 1;
}

void TLiniaLiter::draw(float y) {
    int iy = TruncToInt(y);
    for (size_t i = 0; i < litera.size(); ++i) {
        if (litera[i]) litera[i]->draw(static_cast<int>(i) * lw, iy);
    }
}

TAppCriticalLinePtr CreateCriticalLine(const std::string& text, int t) {
    auto line = std::make_shared<TAppCriticalLine>();
    line->txt = text;
    line->t = t;
    return line;
}

// ---------------------------------------------------------------------------------------------
// Commands

int TCCSaveScreen::Execute(const std::vector<std::string>& args) {
    if (args.empty()) {
        Console::AddError("Need at least one screen name!");
        return 0;
    }
    for (const std::string& arg : args) {
        std::shared_ptr<TAppScreen> screen;
        if (EqualsNoCase(arg, "CURRENTAppScreen")) {
            screen = Control::GetCurrentScreen();
            if (!screen) {
                Console::AddError("No screen is current!");
                continue;
            }
        } else {
            screen = Control::GetAppScreen(Upper(arg));
            if (!screen) {
                Console::AddError("Screen '" + arg + "' not found!");
                continue;
            }
        }
        screen->SaveToFile("");
    }
    return 0;
}

int TCCShowScreenBorders::Execute(const std::vector<std::string>& /*args*/) {
    Control::isBorderShowOn = Control::isBorderShowOn ? 0 : 1;
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Console

int Console::Init() { return AddText("\\2Console initiated. Build version \\33682"); }

int Console::Clear() {
    LogList.clear();
    return 0;
}

int Console::UpdateCriticals() {
    if (CriticalTime == 0) return 0;
    int now = AppMilliSecs();
    if (now > CriticalTime) {
        CriticalTime = now + SingleCriticalTime;
        if (!Criticals.empty()) Criticals.pop_back();
        if (Criticals.empty()) CriticalTime = 0;
    }
    return 0;
}

int Console::Update() {
    TakeReports();
    if (CheatsOn && KeyHit(kConsoleKey)) {
        Visible = Visible ? 0 : 1;
        FlushKeys();
    }
    // Critical lines expire whether or not developer mode is on, so that they never pile up
    // over a player's picture.
    UpdateCriticals();
    return 0;
}

int Console::DrawLog() {
    float y = static_cast<float>(GetGraphicsHeight() / 2 - 25);
    for (const auto& line : LogList) {
        line->draw(y);
        y -= 12.0f;
    }
    return 0;
}

int Console::DrawWpis() {
    int c = GetChar();
    if (c == 0) return 0;
    if (c == 13) {
        std::string line = Wpis;
        Wpis.clear();
        EnterWpis(line);
    } else if (c == 8) {
        if (!Wpis.empty()) {
            std::u32string chars = Utf8ToUtf32(Wpis);
            chars.pop_back();
            Wpis = Utf32ToUtf8(chars);
        }
    } else if (Utf8Length(Wpis) < kMaxInputChars) {
        AppendUtf8(Wpis, static_cast<char32_t>(c));
    }
    return 0;
}

int Console::DrawCriticals() {
    // The draw state is set every frame, lines or not: the frame's last strips rely on the
    // alpha being 1 here.
    SetImageFont(nullptr);
    SetAlpha(1.0f);
    SetBlend(3);
    SetScale(1.0f, 1.0f);
    SetRotation(0.0f);
    float y = static_cast<float>(GetGraphicsHeight() - 14);
    for (const auto& line : Criticals) {
        SetColor(0, 0, 0);
        DrawRect(2, y - 2, static_cast<float>(TextWidth(line->txt) + 4), static_cast<float>(TextHeight(line->txt) + 4));
        SetCriticalColor(line->t);
        DrawText(line->txt, 4, y);
        y -= 14.0f;
    }
    return 0;
}

int Console::Draw() {
    // A critical line made while the frame was drawn shows in this frame.
    TakeReports();
    DrawCriticals();
    if (!Visible) return 0;
    float w = static_cast<float>(GetGraphicsWidth());
    int half = GetGraphicsHeight() / 2;
    SetColor(255, 255, 255);
    SetScale(1.0f, 1.0f);
    SetRotation(0.0f);
    SetBlend(3);
    SetAlpha(1.0f);
    DrawRect(0, 0, w, static_cast<float>(half));
    SetColor(0, 0, 0);
    DrawRect(0, static_cast<float>(half - 13), w, 1);
    SetImageFont(nullptr);
    DrawText(Wpis, 2, static_cast<float>(half - 12));
    DrawWpis();
    DrawLog();
    return 0;
}

int Console::EnterWpis(const std::string& line) {
    std::vector<std::string> pieces = TokenizeString(line, " ", "", "");
    if (pieces.empty()) return 0;
    std::vector<std::string> args(pieces.begin() + 1, pieces.end());
    std::string word = Upper(pieces[0]);
    if (word == "CLS") {
        Clear();
        return 0;
    }
    if (word == "SWITCHFPS") {
        Control::isFPSShowOn = Control::isFPSShowOn ? 0 : 1;
        return 0;
    }
    for (const auto& command : Commands) {
        if (command && Upper(command->str) == word) {
            command->Execute(args);
            return 0;
        }
    }
    AddError("Unknown command '" + pieces[0] + "'!");
    return 0;
}

std::vector<TLiteraPtr> Console::CreateTextLettersList(const std::string& text) {
    std::vector<TLiteraPtr> letters;
    std::u32string chars = Utf8ToUtf32(text);
    bool codes = chars.size() >= 3;
    int colour = 0;
    for (size_t i = 0; i < chars.size(); ++i) {
        if (codes && chars[i] == U'\\') {
            // A backslash that ends the text has no code after it: it is dropped.
            if (i + 1 < chars.size()) {
                std::string code;
                AppendUtf8(code, chars[i + 1]);
                colour = StringToInt(code);
                ++i;
            }
            continue;
        }
        std::string q;
        AppendUtf8(q, chars[i]);
        letters.push_back(TLitera::CreateNew(q, colour));
    }
    return letters;
}

int Console::AddCritical(const TAppCriticalLinePtr& line) {
    if (!GraphicsInitialized() || !line) return 0;
    Criticals.push_front(line);
    CriticalTime = AppMilliSecs() + SingleCriticalTime;
    return 0;
}

int Console::AddText(const std::string& text) {
    if (!GraphicsInitialized()) return 0;
    std::vector<TLiteraPtr> letters = CreateTextLettersList(text);
    auto line = std::make_shared<TLiniaLiter>();
    AddLine(line);
    for (const auto& letter : letters) {
        if (line->AddLetter(letter) != 0) {
            line = std::make_shared<TLiniaLiter>();
            AddLine(line);
            // A line without a single cell (a screen narrower than one letter) takes nothing.
            if (line->AddLetter(letter) != 0) break;
        }
    }
    return 0;
}

int Console::AddLine(const TLiniaLiterPtr& line) {
    if (!GraphicsInitialized() || !line) return 0;
    LogList.push_front(line);
    while (LogList.size() > MaxLogLines) LogList.pop_back();
    return 0;
}

int Console::AddError(const std::string& text) {
    if (!GraphicsInitialized()) return 0;
    return AddText("\\1Error: " + Colorize(text, "\\1"));
}

int Console::AddCommand(const TConsoleCommandPtr& command) {
    if (command) Commands.push_back(command);
    return 0;
}

std::string Console::ColorizeQuotes(const std::string& text, const std::string& code) {
    std::string out;
    bool open = false;
    for (char c : text) {
        if (c == '"' || c == '\'') {
            if (!open) {
                out += "\\6";
                out += c;
            } else {
                out += c;
                out += code;
            }
            open = !open;
        } else {
            out += c;
        }
    }
    return out;
}

std::string Console::Colorize(const std::string& text, const std::string& code) { return ColorizeQuotes(text, code); }

void Console::Reset() {
    CriticalTime = 0;
    Visible = 0;
    Wpis.clear();
    LogList.clear();
    Commands.clear();
    Criticals.clear();
    TLiniaLiter::lw = 0;
}

// ---------------------------------------------------------------------------------------------
// Start-up

int Console::TakeReports() {
    for (const TConsoleReport& report : TakeConsoleReports()) {
        if (!report.critical) {
            AddError(report.text);
        } else if (GraphicsInitialized()) {
            // Timed from when it was made, as if it had been added then.
            Criticals.push_front(CreateCriticalLine(report.text, 0));
            CriticalTime = report.time + SingleCriticalTime;
        }
    }
    return 0;
}

void StartConsoleReports() { KeepConsoleReports(true); }

int InitConsole() {
    StartConsoleReports();
    return Console::Init();
}
