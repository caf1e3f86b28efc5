// The developer console: coloured letters and quotes, lines and their wrapping, the commands,
// typing, the console key behind developer mode, the critical lines and their timer, and what
// is drawn.
#include "engine/screen/Console.h"

#include <gtest/gtest.h>

#include "ControlTestSupport.h"
#include "platform/Font.h"
#include "support/TestSupport.h"

namespace {

using namespace controltest;

int32_t gNow = 0;
int32_t Now() { return gNow; }

class ConsoleTest : public ControlFixture {
protected:
    void SetUp() override {
        ControlFixture::SetUp();
        OpenDisplay();
        gNow = 0;
        SetClockSource(&Now);
        UpdateAppMillisecs();
    }
    void TearDown() override {
        KeepConsoleReports(false);
        SetClockSource(nullptr);
        ControlFixture::TearDown();
    }
    void SetTime(int32_t ms) {
        gNow = ms;
        UpdateAppMillisecs();
    }
    // The letters of a log line, up to its first empty cell, and their colours.
    static std::string LineText(const TLiniaLiterPtr& line) {
        std::string s;
        for (const auto& l : line->litera) {
            if (!l) break;
            s += l->q;
        }
        return s;
    }
    static std::string LogText(size_t i) { return LineText(Console::LogList.at(i)); }
    // Types the text and runs one frame of typing per character.
    static void Type(const std::string& text) {
        for (char c : text) {
            InjectChar(static_cast<unsigned char>(c));
            Console::DrawWpis();
        }
    }
};

TEST_F(ConsoleTest, LettersTakeTheColourOfTheLastCode) {
    const struct {
        const char* text;
        const char* letters;
        std::vector<int> colours;
    } cases[] = {
        {"\\1Error: ", "Error: ", {1, 1, 1, 1, 1, 1, 1}},
        {"ab\\3cd\\xe", "abcde", {0, 0, 3, 3, 0}},  // a code that is no digit reads 0
        {"\\1", "\\1", {0, 0}},                     // two characters: plain letters
        {"ok\\", "ok", {0, 0}},                     // a code with nothing after it is dropped
        {"\\2\xC5\xBC\xC3\xB3\xC5\x82w", "\xC5\xBC\xC3\xB3\xC5\x82w", {2, 2, 2, 2}},  // whole UTF-8 letters
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        auto letters = Console::CreateTextLettersList(c.text);
        std::string text;
        std::vector<int> colours;
        for (const auto& l : letters) {
            text += l->q;
            colours.push_back(l->t);
        }
        EXPECT_EQ(text, c.letters);
        EXPECT_EQ(colours, c.colours);
    }
}

TEST_F(ConsoleTest, QuotedPartsTurnBlueAndBack) {
    EXPECT_EQ(Console::ColorizeQuotes("No file 'a.png' in \"x\"!", "\\1"), "No file \\6'a.png'\\1 in \\6\"x\"\\1!");
    // Either mark closes an open quotation.
    EXPECT_EQ(Console::ColorizeQuotes("it's \"x", "\\1"), "it\\6's \"\\1x");
}

TEST_F(ConsoleTest, ErrorsAndLongTextsGoToTheLogNewestFirst) {
    StartConsoleReports();
    Error("Missing 'b.png'!", {"Img", "Load"});
    // Kept until the console takes it (as it updates and draws).
    EXPECT_TRUE(Console::LogList.empty());
    Console::TakeReports();
    ASSERT_EQ(Console::LogList.size(), 1u);
    EXPECT_EQ(LogText(0), "Error: ERROR ( File: Img  Code: Load ) Missing 'b.png'!");
    // The quoted part in colour 6, the rest in colour 1.
    std::vector<int> colours;
    for (const auto& l : Console::LogList[0]->litera)
        if (l) colours.push_back(l->t);
    EXPECT_EQ(colours.front(), 1);
    EXPECT_EQ(std::count(colours.begin(), colours.end(), 6), 7);  // 'b.png'

    // A text longer than a line continues on a newer line (drawn below the first).
    size_t cells = Console::LogList[0]->litera.size();
    ASSERT_GT(cells, 10u);
    Console::AddText(std::string(cells, 'x') + "tail");
    ASSERT_EQ(Console::LogList.size(), 3u);
    EXPECT_EQ(LogText(0), "tail");
    EXPECT_EQ(LogText(1), std::string(cells, 'x'));

    Warning("only printed");
    Console::TakeReports();
    EXPECT_EQ(Console::LogList.size(), 3u);
    Console::EnterWpis("cls");
    EXPECT_TRUE(Console::LogList.empty());
}

TEST_F(ConsoleTest, LogKeepsTheNewestLinesAndLeavesTheFontAlone) {
    // A report in the middle of a text drawing must not change the font that drawing uses.
    TImageFontPtr font = LoadImageFont(testsupport::SourceDir() + "/data/fonts/DejaVuSans.ttf", 30);
    ASSERT_TRUE(font);
    SetImageFont(font);
    const size_t total = Console::MaxLogLines + 5;
    for (size_t i = 0; i < total; ++i) Console::AddText("line " + std::to_string(i));
    EXPECT_EQ(GetImageFont(), font);
    SetImageFont(nullptr);
    ASSERT_EQ(Console::LogList.size(), Console::MaxLogLines);
    EXPECT_EQ(LogText(0), "line " + std::to_string(total - 1));
    EXPECT_EQ(LogText(Console::MaxLogLines - 1), "line 5");
    EXPECT_EQ(TLiniaLiter::lw, TextWidth("A"));  // measured in the default font
}

TEST_F(ConsoleTest, NothingIsAddedWithoutGraphics) {
    OpenedGraphics::isInitialized = 0;
    Console::AddText("x");
    Console::AddError("y");
    Console::AddCritical(CreateCriticalLine("z", 0));
    EXPECT_TRUE(Console::LogList.empty());
    EXPECT_TRUE(Console::Criticals.empty());
}

TEST_F(ConsoleTest, CommandsMatchInAnyCaseAndReportUnknownWords) {
    auto menu = MakeScreen("Menu", 7);
    Console::AddCommand(std::make_shared<TCCSaveScreen>());
    Console::AddCommand(std::make_shared<TCCShowScreenBorders>());

    Console::EnterWpis("switchfps");
    EXPECT_EQ(Control::isFPSShowOn, 1);
    Console::EnterWpis("SwitchScreenBorder ignored args");
    EXPECT_EQ(Control::isBorderShowOn, 1);
    Console::EnterWpis("");
    EXPECT_TRUE(Console::LogList.empty());

    const struct {
        const char* line;
        std::vector<std::string> saved;
        std::vector<std::string> errors;  // newest first
    } cases[] = {
        {"Frobnicate now", {}, {"Error: Unknown command 'Frobnicate'!"}},
        {"SAVESCREEN", {}, {"Error: Need at least one screen name!"}},
        {"savescreen 7 9", {"Menu.save()"}, {"Error: Screen '9' not found!"}},
        // Two blanks: an empty first argument, reported, then the screen of the id.
        {"SAVESCREEN  7", {"Menu.save()"}, {"Error: Screen '' not found!"}},
        {"SAVESCREEN currentappscreen", {}, {"Error: No screen is current!"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        gLog.clear();
        Console::Clear();
        Console::EnterWpis(c.line);
        EXPECT_EQ(gLog, c.saved);
        std::vector<std::string> errors;
        for (size_t i = 0; i < Console::LogList.size(); ++i) errors.push_back(LogText(i));
        EXPECT_EQ(errors, c.errors);
    }

    // The screen or pop-up that has the input.
    SetAppScreenInstant(menu);
    gLog.clear();
    Console::EnterWpis("SAVESCREEN CURRENTAppScreen");
    EXPECT_EQ(gLog, (std::vector<std::string>{"Menu.save()"}));
}

TEST_F(ConsoleTest, TypingTakesOneCharacterPerFrameUpToFiftyOne) {
    Console::AddCommand(std::make_shared<TCCShowScreenBorders>());
    InjectChar('a');
    InjectChar('b');
    Console::DrawWpis();
    EXPECT_EQ(Console::Wpis, "a");
    Console::DrawWpis();
    EXPECT_EQ(Console::Wpis, "ab");

    for (int i = 0; i < 3; ++i) Type("\b");  // backspace past the start
    EXPECT_EQ(Console::Wpis, "");

    Type(std::string(60, 'x'));
    EXPECT_EQ(Console::Wpis, std::string(51, 'x'));

    Console::Wpis.clear();
    Type("switchscreenborder\r");
    EXPECT_EQ(Console::Wpis, "");
    EXPECT_EQ(Control::isBorderShowOn, 1);
    EXPECT_TRUE(Console::LogList.empty());  // the typed line is not echoed
}

TEST_F(ConsoleTest, ConsoleKeyWorksOnlyInDeveloperModeAndFlushesInput) {
    InjectKeyDown(KEY_TILDE);
    Console::Update();
    EXPECT_EQ(Console::Visible, 0);
    EXPECT_EQ(KeyHit(KEY_TILDE), 1);  // not taken

    CheatsOn = 1;
    InjectKeyDown(KEY_TILDE);
    InjectKeyDown(KEY_SPACE);
    InjectChar('q');
    Console::Update();
    EXPECT_EQ(Console::Visible, 1);
    EXPECT_EQ(KeyHit(KEY_SPACE), 0);
    EXPECT_EQ(GetChar(), 0);
}

TEST_F(ConsoleTest, CriticalLinesExpireOneByOneEvenForPlayers) {
    CheatsOn = 0;
    StartConsoleReports();
    SetTime(1000);
    CriticalError("first");
    SetTime(2000);
    CriticalError("second");  // restarts the timer: the oldest goes 3000 ms from now
    // Taken later, they keep the times they were made at.
    SetTime(2500);
    Console::TakeReports();
    ASSERT_EQ(Console::Criticals.size(), 2u);
    EXPECT_EQ(Console::Criticals.front()->txt, "second");

    const struct {
        int32_t time;
        std::vector<std::string> left;
    } steps[] = {
        // clang-format off
        {4500, {"second", "first"}},
        {5000, {"second", "first"}},  // not yet: only a time beyond the mark counts
        {5001, {"second"}},
        {8001, {"second"}},
        {8002, {}},
        // clang-format on
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.time);
        SetTime(s.time);
        Console::Update();
        std::vector<std::string> left;
        for (const auto& l : Console::Criticals) left.push_back(l->txt);
        EXPECT_EQ(left, s.left);
    }
    EXPECT_EQ(Console::CriticalTime, 0);
}

TEST_F(ConsoleTest, DrawsCriticalsAlwaysAndThePanelWhenOpen) {
    Console::AddCritical(CreateCriticalLine("older", 1));
    Console::AddCritical(CreateCriticalLine("newest", 0));
    SetClsColor(20, 40, 60);
    Cls();
    Console::Draw();
    // Newest at the bottom (y = 768 - 14), older ones 14 pixels higher, each on a black box.
    auto redOrGreenIn = [](int y0, uint32_t colour) {
        for (int y = y0; y < y0 + 14; ++y)
            for (int x = 4; x < 60; ++x)
                if (PixelAt(x, y) == colour) return true;
        return false;
    };
    EXPECT_TRUE(redOrGreenIn(754, 0xFF0000u));
    EXPECT_TRUE(redOrGreenIn(740, 0x00FF00u));
    EXPECT_EQ(PixelAt(3, 752), 0x000000u);
    EXPECT_NE(PixelAt(300, 100), 0xFFFFFFu);  // closed: no panel

    Console::Visible = 1;
    Console::AddText("\\1red");
    Cls();
    Console::Draw();
    EXPECT_EQ(PixelAt(300, 100), 0xFFFFFFu);       // the white panel over the top half
    EXPECT_EQ(PixelAt(300, 384 - 13), 0x000000u);  // the rule above the input line
    EXPECT_EQ(PixelAt(300, 400), 0x14283Cu);       // below the panel: untouched
    SetClsColor(0, 0, 0);
}

}  // namespace
