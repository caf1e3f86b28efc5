// The newsletter window over the game screen, in-process on data/: its layout file, the two
// entry fields, the buttons and their saved state, a sign-up against a loopback server, the
// play-time trigger that opens it, and the ways out (a button, a quit request).
#include "online/NewsLetter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <regex>
#include <sstream>
#include <map>
#include <optional>
#include <string>

#include "engine/screen/AppObj.h"
#include "engine/screen/Console.h"
#include "engine/screen/ControlHooks.h"
#include "engine/system/Error.h"
#include "game/puzzle/GameScreenHarness.h"
#include "online/EnBlock.h"
#include "online/NewsLetterTrigger.h"
#include "online/NewsletterSender.h"
#include "platform/Files.h"
#include "platform/Strings.h"
#include "support/LoopbackServer.h"
#include "support/MakersFolder.h"
#include "support/TestSupport.h"

namespace {

using testsupport::LoopbackServer;
using testsupport::ReadFileBytes;
using testsupport::TempDir;

// Counts the calls of the save-at-end list.
class SaveProbe : public TAppObj {
public:
    int saves = 0;
    int SaveAtEnd() override {
        ++saves;
        return 0;
    }
};

class NewsLetterTest : public gamescreen::GameScreenTest {
protected:
    TempDir home;
    std::optional<testsupport::MakersFolderIn> makers;
    std::string oldServer;
    // Input for the window's own frames: frame (counted from the window's opening) -> action.
    std::multimap<int, std::function<void()>> script;
    int first = 0;

    void SetUp() override {
        gamescreen::GameScreenTest::SetUp();
        oldServer = NewsletterServer;
        makers.emplace(home.path());
        ResetNewsLetterState();
        ResetNewsletterSender();
        NewsLetterOn = 2;
        NewsLetter = std::make_shared<TNewsLetter>();
        AppExitFunction = [] {};
        ControlHooks::Harness = std::make_shared<TFrameHarness>(TFrameHarness{.frameStart = [this](int32_t frame) {
            auto range = script.equal_range(frame - first);
            for (auto it = range.first; it != range.second; ++it) it->second();
        }});
    }
    void TearDown() override {
        ControlHooks::Harness = nullptr;
        NewsLetter = nullptr;
        CheatsOn = 0;
        ResetNewsLetterState();
        ResetNewsletterSender();
        NewsletterServer = oldServer;
        makers.reset();
        gamescreen::GameScreenTest::TearDown();
    }

    // The window's data loaded, and its sign-ups sent to the loopback server.
    void LoadWindow(int port) {
        NewsLetter->setup();
        NewsletterServer = "127.0.0.1:" + std::to_string(port);
    }
    TNLButtonPtr Button(const std::string& id) {
        for (const auto& w : NewsLetter->guiObjects)
            if (w && w->id == id) return std::dynamic_pointer_cast<TNLButton>(w);
        return nullptr;
    }
    // Script helpers, at frames counted from the opening of the window.
    void At(int frame, std::function<void()> action) { script.emplace(frame, std::move(action)); }
    void ClickAt(int frame, float x, float y) {
        At(frame, [this, x, y] { MoveTo(x, y); });
        At(frame + 1, [] { InjectMouseButton(1, true); });
        At(frame + 2, [] { InjectMouseButton(1, false); });
    }
    void ClickButtonAt(int frame, const std::string& id) {
        auto b = Button(id);
        ASSERT_TRUE(b) << id;
        ClickAt(frame, b->x, b->y);
    }
    void TypeAt(int frame, const std::string& text) {
        At(frame, [text] { InjectText(text); });
    }
    // Runs the window until it closes (or 1200 frames have passed); returns its result.
    int Show() {
        first = Control::FrameCount;
        Control::FrameLimit = first + 1200;
        const int result = NewsLetter->mainloop();
        Control::FrameLimit = -1;
        return result;
    }
    int FramesShown() const { return Control::FrameCount - first; }
};

TEST_F(NewsLetterTest, TheShippedDataLoadsCleanlyAndNeverNamesAServerThatCanResolve) {
    testing::internal::CaptureStdout();
    NewsLetter->setup();
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_EQ(output.find("ERROR"), std::string::npos) << output;
    EXPECT_EQ(output.find("WARNING"), std::string::npos) << output;
    ASSERT_TRUE(NewsLetter->panel);
    ASSERT_TRUE(NewsLetter->entryFont);
    EXPECT_GE(NewsLetter->TextArray.size(), 10u);
    EXPECT_FALSE(NewsLetter->txtName.empty());
    EXPECT_FALSE(NewsLetter->txtInvalidAdress.empty());
    EXPECT_FALSE(NewsLetter->txtNotSent.empty());
    for (const char* id : {"SIGNUP", "LATER", "DONTSHOW"}) {
        auto b = Button(id);
        ASSERT_TRUE(b) << id;
        EXPECT_FALSE(b->text.empty()) << id;
        EXPECT_TRUE(b->Font) << id;
    }
    // The shipped host is in the reserved domain that never resolves.
    std::string host;
    int port = 0;
    ASSERT_TRUE(ParseServerAddress(NewsletterServer, host, port));
    EXPECT_TRUE(EndsWith(Lower(host), ".invalid")) << host;
}

// The window's data is read only when it first opens, so a run of the game over damaged data
// never reaches it: each of its files is deleted or cut to half here, alone. The window still
// opens and draws, a missing file is named in exactly one report line, a cut one in one at most,
// and no line speaks of anything else.
TEST_F(NewsLetterTest, ADamagedDataFileIsSaidOnceAndTheWindowStillShows) {
    namespace fs = std::filesystem;
    const std::string source = testsupport::SourceDir() + "/data/";
    std::vector<std::string> files;
    for (const auto& e : fs::directory_iterator(source + "newsletter")) files.push_back(e.path().filename().string());
    std::sort(files.begin(), files.end());
    ASSERT_GE(files.size(), 4u);
    static const std::regex report("^[A-Z ]*(ERROR|WARNING)\\b.*");
    for (const std::string& name : files) {
        for (const bool cut : {false, true}) {
            SCOPED_TRACE((cut ? "cut " : "deleted ") + name);
            TempDir data;
            fs::copy(source + "newsletter", data.file("newsletter"), fs::copy_options::recursive);
            fs::copy(source + "fonts", data.file("fonts"), fs::copy_options::recursive);
            const std::string path = data.file("newsletter/" + name);
            if (cut) {
                const std::string bytes = ReadFileBytes(path);
                testsupport::WriteFileBytes(path, bytes.substr(0, bytes.size() / 2));
            } else {
                fs::remove(path);
            }
            bDir = data.path() + "/";
            ResetFileReports();
            NewsLetter = std::make_shared<TNewsLetter>();
            testing::internal::CaptureStdout();
            NewsLetter->setup();
            NewsLetter->prepare();
            for (int frame = 0; frame < 5; ++frame) {
                Cls();
                NewsLetter->update();
                NewsLetter->draw();
                Flip();
            }
            const std::string output = testing::internal::GetCapturedStdout();
            std::istringstream lines(output);
            int reports = 0;
            for (std::string line; std::getline(lines, line);) {
                if (!std::regex_match(line, report)) continue;
                ++reports;
                EXPECT_NE(Lower(line).find(name), std::string::npos) << "a line about something else: " << line;
            }
            EXPECT_LE(reports, 1) << output;
            if (!cut) {
                EXPECT_EQ(reports, 1) << output;
            }
        }
    }
}

TEST_F(NewsLetterTest, WidgetsAreBuiltFromTheirBlocksWithThePanelOffsetOfTheirPlace) {
    NewsLetter->TextArray = {"one", "two", "three", "four", "five"};
    NewsLetter->PanelX = 10;
    NewsLetter->PanelY = 20;
    auto blocks = ParseEnBlockText(
        "[ok]\nType = textbutton\nx = 300\ny = 100\nTextLine = 5\nFontUrl = ../fonts/DejaVuSans.ttf\nFontSize = 20\n"
        "[note]\nType = Text\nx = 5\ny = 6\nTextLine = 2\nWidth = 120\nalign = justify\n"
        "FontUrl = ../fonts/DejaVuSans.ttf\nFontSize = 14\n"
        "[pic]\nType = image\nx = 1\ny = 2\nurl = envelope.png\nrotation = 45.9\nscale = 0.5\n"
        "[odd]\nType = circle\n"
        "[far]\nType = image\nurl = ../../etc/passwd\n");
    ASSERT_EQ(blocks.size(), 5u);
    testing::internal::CaptureStdout();
    auto ok = std::dynamic_pointer_cast<TNLButton>(CreateNLObj(*blocks[0]));
    auto note = std::dynamic_pointer_cast<TNLText>(CreateNLObj(*blocks[1]));
    auto pic = std::dynamic_pointer_cast<TNLImage>(CreateNLObj(*blocks[2]));
    auto odd = CreateNLObj(*blocks[3]);
    auto far = std::dynamic_pointer_cast<TNLImage>(CreateNLObj(*blocks[4]));
    const std::string output = testing::internal::GetCapturedStdout();
    ASSERT_TRUE(ok && note && pic && far);
    EXPECT_FALSE(odd);
    EXPECT_EQ(ok->id, "OK");
    EXPECT_EQ(ok->text, "five");
    EXPECT_EQ(ok->x, 310.0f);
    EXPECT_EQ(ok->y, 120.0f);
    SetImageFont(ok->Font);
    EXPECT_EQ(ok->ww, TextWidth("five") + 10);
    EXPECT_EQ(ok->hh, TextHeight("five") + 10);
    EXPECT_EQ(ok->xx, static_cast<int>(310.0f - static_cast<float>(ok->ww / 2)));
    EXPECT_EQ(note->text, "two");
    EXPECT_EQ(note->width, 120);
    EXPECT_EQ(note->align, "JUSTIFY");
    EXPECT_EQ(pic->rot, 45);
    EXPECT_EQ(pic->scale, 0.5f);
    EXPECT_EQ(pic->alpha, 0.0f);  // no "alpha": not seen
    EXPECT_TRUE(pic->img);
    // A path out of the data folder loads nothing and says so.
    EXPECT_FALSE(far->img);
    EXPECT_NE(output.find("leads outside the data folder"), std::string::npos) << output;
}

TEST_F(NewsLetterTest, TheFieldsTakeTypedTextByTheirRules) {
    NewsLetter->setup();
    auto& nl = *NewsLetter;
    auto type = [&](const std::string& text) {
        InjectText(text);
        for (size_t i = 0; i < text.size() + 2; ++i) {
            PollSystem();
            nl._updateSwitch();
        }
    };
    auto key = [&](int c) {
        InjectChar(c);
        nl._updateSwitch();
    };
    // The name's first letter is upper-cased, the rest kept; Tab and Enter switch fields.
    type("anna MARIA");
    EXPECT_EQ(nl.NameEntry, "Anna MARIA");
    EXPECT_EQ(Button("SIGNUP")->isActive, 0);  // no address yet
    key(9);
    EXPECT_EQ(nl.activeN, 1);
    type("a");
    EXPECT_EQ(Button("SIGNUP")->isActive, 1);  // one character of address is enough
    type("nna@Example.org");
    EXPECT_EQ(nl.MailEntry, "anna@Example.org");
    key(13);
    EXPECT_EQ(nl.activeN, 0);
    EXPECT_EQ(nl.rezultat, 0);  // Enter sends nothing
    // Backspace on an empty entry leaves it empty; an entry holds 256 characters at most.
    nl.NameEntry.clear();
    key(8);
    EXPECT_EQ(nl.NameEntry, "");
    nl.NameEntry = std::string(255, 'x');
    key('y');
    key('z');
    EXPECT_EQ(nl.NameEntry.size(), 256u);
    EXPECT_EQ(nl.NameEntry.back(), 'y');
    key(8);
    EXPECT_EQ(nl.NameEntry.size(), 255u);
    // Escape is no part of a name.
    key(27);
    EXPECT_EQ(nl.NameEntry.size(), 255u);
}

TEST_F(NewsLetterTest, ALongEntryShowsItsShortestTailThatIsAtLeastTwoHundredPixelsWide) {
    NewsLetter->setup();
    SetImageFont(NewsLetter->entryFont);
    EXPECT_EQ(NewsLetter->CutEntry("short"), "short");
    const std::string long_ = "a.very.long.address.that.runs.on@example.org";
    const std::string shown = NewsLetter->CutEntry(long_);
    ASSERT_TRUE(EndsWith(long_, shown));
    EXPECT_GE(TextWidth(shown), 200);
    EXPECT_LT(TextWidth(shown.substr(1)), 200);
}

TEST_F(NewsLetterTest, ASignUpAgainstTheServerClosesTheWindowForGood) {
    std::string request;
    LoopbackServer server([&](const std::string& r) {
        request = r;
        return LoopbackServer::HttpReply(200, "Thank you!\n");
    });
    LoadWindow(server.port());
    gamescreen::GameScreenTest::Play(MakeLevel({"1.1", ".1.", "1.1"}));
    TypeAt(30, "anna");
    At(40, [] { InjectChar(9); });
    TypeAt(42, "anna@example.org");
    ClickButtonAt(80, "SIGNUP");
    const int result = Show();
    EXPECT_EQ(result, 1);
    EXPECT_FALSE(Control::isEnded);
    EXPECT_LT(FramesShown(), 200);  // faded out after the answer
    EXPECT_NE(request.find("/newsletter/subscribe HTTP/1.0\r\n"), std::string::npos) << request;
    EXPECT_NE(request.find("\r\n\r\nAnna\r\n"), std::string::npos) << request;
    EXPECT_NE(request.find("\r\n\r\nanna@example.org\r\n"), std::string::npos) << request;
    EXPECT_NE(request.find("\r\n\r\nQUILTORA\r\n"), std::string::npos) << request;
    EXPECT_EQ(Newsletter_Zapisany, 1);
    EXPECT_EQ(Newsletter_NiePokazujWiecej, 1);
    EXPECT_EQ(Newsletter_IleRazy, 1);
    EXPECT_NE(ReadFileBytes(AppDataRootFolder + "/Newsletter.dat").find("Subscribed = 1"), std::string::npos);
    EXPECT_EQ(FileType(AppDataFolder + "/DontShowMeNewsLetter.txt"), 1);
    // The trigger does nothing more.
    Newsletter_Minutes = 30;
    EXPECT_EQ(UpdateNewsLetter(), 0);
}

TEST_F(NewsLetterTest, OnlyARealAnswerCountsAndTheWindowSaysWhatWentWrong) {
    // A refused address, a server error, and no server at all: the window stays open with a
    // line of its own, nothing is marked signed up; LATER then closes it.
    struct Case {
        const char* what;
        std::string reply;
        bool serverAtAll;
        int infoLine;  // line of the text file shown
    } cases[] = {
        {"refused address", LoopbackServer::HttpReply(200, "Invalid email address."), true, 9},
        {"server error", LoopbackServer::HttpReply(500, ""), true, 10},
        {"no server", "", false, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        script.clear();
        ResetNewsLetterState();
        NewsLetterOn = 2;
        ResetNewsletterSender();
        LoopbackServer server(c.reply);
        LoadWindow(server.port());
        if (!c.serverAtAll) NewsletterServer = NewsletterDefaultServer;
        NewsLetter->MailEntry = "x@example.org";
        std::string info;
        // (The sender takes one sign-up a second, counted from the clock's start.)
        ClickButtonAt(70, "SIGNUP");
        At(90, [&] { info = NewsLetter->InfoWaitTime != 0 ? NewsLetter->InfoText : "(none)"; });
        // The info line takes the next press for itself; the one after is LATER's.
        ClickAt(100, 10, 10);
        ClickButtonAt(110, "LATER");
        testing::internal::CaptureStdout();
        EXPECT_EQ(Show(), 0);
        testing::internal::GetCapturedStdout();
        EXPECT_EQ(info, NewsLetter->TextArray[c.infoLine - 1]);
        EXPECT_EQ(Newsletter_Zapisany, 0);
        EXPECT_EQ(Newsletter_NiePokazujWiecej, 0);
        EXPECT_EQ(FileType(AppDataFolder + "/DontShowMeNewsLetter.txt"), 0);
    }
}

TEST_F(NewsLetterTest, ButtonsDoNothingOnceTheWindowIsClosing) {
    // LATER, then SIGNUP while the window fades out: nothing is sent.
    int requests = 0;
    LoopbackServer server([&](const std::string&) {
        ++requests;
        return LoopbackServer::HttpReply(200, "OK\n");
    });
    LoadWindow(server.port());
    NewsLetter->MailEntry = "x@example.org";
    Newsletter_Minutes = 30;
    Newsletter_Seconds = 4;
    // Past the sender's first second, so that a send would go out.
    ClickButtonAt(70, "LATER");
    ClickButtonAt(74, "SIGNUP");
    EXPECT_EQ(Show(), 0);
    EXPECT_EQ(requests, 0);
    EXPECT_EQ(Newsletter_Zapisany, 0);
    // LATER starts the half hour again and saves it.
    EXPECT_EQ(Newsletter_Minutes, 0);
    EXPECT_EQ(Newsletter_Seconds, 0);
    const std::string saved = ReadFileBytes(AppDataRootFolder + "/Newsletter.dat");
    EXPECT_NE(saved.find("Minutes = 0"), std::string::npos) << saved;
    EXPECT_NE(saved.find("HowManyTimes = 1"), std::string::npos) << saved;
}

TEST_F(NewsLetterTest, DontShowIsOfferedFromTheThirdShowingAndClosesTheWindowForGood) {
    LoadWindow(1);
    for (int showing = 1; showing <= 3; ++showing) {
        SCOPED_TRACE(showing);
        script.clear();
        ClickButtonAt(30, "DONTSHOW");
        ClickButtonAt(60, "LATER");
        At(25, [this, showing] {
            EXPECT_EQ(Button("DONTSHOW")->isVisible, showing >= 3 ? 1 : 0);
            EXPECT_EQ(Button("DONTSHOW")->isActive, showing >= 3 ? 1 : 0);
        });
        Show();
        EXPECT_EQ(Newsletter_IleRazy, showing);
        EXPECT_EQ(Newsletter_NiePokazujWiecej, showing >= 3 ? 1 : 0);
    }
    EXPECT_EQ(FileType(AppDataFolder + "/DontShowMeNewsLetter.txt"), 1);
    EXPECT_EQ(ReadFileBytes(AppDataFolder + "/DontShowMeNewsLetter.txt"), "Dont show newsletter in this game");
}

TEST_F(NewsLetterTest, QuittingWhileTheWindowIsShownSavesEverythingFirst) {
    const struct {
        const char* what;
        std::function<void()> quit;
    } cases[] = {
        {"close request", [] { InjectQuit(); }},
        {"Alt+F4",
         [] {
             InjectKeyDown(KEY_LALT);
             InjectKeyDown(KEY_F4);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Control::isEnded = false;
        Control::ToSaveAtEndList.clear();
        ResetInput();
        script.clear();
        auto probe = std::make_shared<SaveProbe>();
        Control::AddToSaveList(probe);
        LoadWindow(1);
        At(30, c.quit);
        Show();
        EXPECT_TRUE(Control::isEnded);
        EXPECT_EQ(probe->saves, 1);
        EXPECT_LT(FramesShown(), 40);
    }
    Control::isEnded = false;
    ResetInput();
}

TEST_F(NewsLetterTest, TheWindowOpensOnTheSecondThatMakesThirtyMinutesOfPlay) {
    // The counter alone, by its clock: 1,800 counted seconds from zero.
    NewsLetter = nullptr;
    int due = 0, calls = 0;
    for (; calls < 2000 * 60 && due == 0; ++calls) {
        AdvanceFixedClock();
        UpdateAppMillisecs();
        due = UPDATE_NEWSLETTER();
    }
    EXPECT_EQ(due, 1);
    EXPECT_EQ(Newsletter_Minutes, 30);
    EXPECT_EQ(Newsletter_Seconds, 0);
    // A second counts at the first call after more than 1,000 ms: every 61st or 62nd frame.
    EXPECT_GE(calls, 1799 * 61);
    EXPECT_LE(calls, 1800 * 62);

    // More than thirty minutes never opens it; the developer's Tab opens it at once.
    Newsletter_Minutes = 31;
    for (int i = 0; i < 200; ++i) {
        AdvanceFixedClock();
        UpdateAppMillisecs();
        EXPECT_EQ(UPDATE_NEWSLETTER(), 0);
    }
    Newsletter_Minutes = 3;
    Newsletter_Seconds = 7;
    CheatsOn = 1;
    InjectKeyDown(KEY_TAB);
    PollSystem();
    EXPECT_EQ(UPDATE_NEWSLETTER(), 1);
    EXPECT_EQ(Newsletter_Minutes, 3);
    EXPECT_EQ(Newsletter_Seconds, 7);
}

TEST_F(NewsLetterTest, TheGameScreenRunsTheTriggerAndGoesOnWhenTheWindowCloses) {
    LoadWindow(1);
    auto level = gamescreen::GameScreenTest::Play(MakeLevel({"1.1", ".1.", "1.1"}));
    UntilPlay();
    // Gates: off, signed up or refused: nothing is counted.
    for (int gate = 0; gate < 3; ++gate) {
        ResetNewsLetterState();
        NewsLetterOn = gate == 0 ? 0 : 2;
        Newsletter_Zapisany = gate == 1 ? 1 : 0;
        Newsletter_NiePokazujWiecej = gate == 2 ? 1 : 0;
        Frames(130);
        EXPECT_EQ(Newsletter_Seconds + Newsletter_Minutes, 0) << gate;
    }
    ResetNewsLetterState();
    NewsLetterOn = 2;
    Newsletter_Minutes = 29;
    Newsletter_Seconds = 58;
    ClickButtonAt(40, "LATER");
    // The harness's frames are not counted by the engine; the window's own frames are.
    first = Control::FrameCount;
    Control::FrameLimit = first + 1200;  // a window that never closes ends the test here
    for (int i = 0; i < 200 && Newsletter_IleRazy == 0; ++i) Frame();
    Control::FrameLimit = -1;
    EXPECT_FALSE(Control::isEnded);
    EXPECT_EQ(Newsletter_IleRazy, 1);
    EXPECT_GT(Control::FrameCount - first, 40);
    EXPECT_EQ(Control::CurrScreen, Game);
    EXPECT_EQ(Newsletter_Minutes, 0);
    // The game goes on.
    const int seconds = level->LevelSeconds;
    Frames(130);
    EXPECT_GT(level->LevelSeconds, seconds);
}

}  // namespace
