// The developer console: an overlay drawn over the picture every frame.
//
//  - a log of coloured text lines (error reports and the console's own messages), newest first;
//  - critical lines at the bottom of the screen, each shown for SingleCriticalTime ms;
//  - an input line for commands.
//
// The log and the input line show only while the console is open; it opens and closes with the
// key 192 (backquote / tilde), and only in developer mode (CheatsOn: "Cheats.txt" in the
// working folder). Critical lines are drawn, and expire, for everybody.
//
// Colour codes in texts: a backslash followed by a digit sets the colour of the letters after
// it (in texts of three or more characters). Log colours: 0 black, 1 red, 2 green, 3 cyan,
// 4 magenta, 5 olive, 6 blue; other codes keep the drawing colour. Critical colours: 0 red,
// 1 green, 2 yellow, 3 blue, 4 cyan, 5 magenta, other white.
//
// Commands: "CLS" (empties the log), "SWITCHFPS" (the frame-rate box, with draw calls and quads a frame), and the
// registered ones: "SAVESCREEN" (TCCSaveScreen) and "SWITCHSCREENBORDER" (TCCShowScreenBorders).
#pragma once
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

// Developer mode: the program's start-up sets it to the file-system kind of "Cheats.txt" in the
// working folder (non-zero when a file or folder of that name exists). 0 by default.
extern int CheatsOn;

// One letter of a log line.
class TLitera {
public:
    int32_t t = 0;  // colour code
    std::string q;  // the letter (one character, UTF-8)

    virtual ~TLitera() = default;
    // Sets the colour of its code and draws the letter with its top-left at (x, y).
    virtual void draw(int x, int y);
    static std::shared_ptr<TLitera> CreateNew(const std::string& q, int t);
};
using TLiteraPtr = std::shared_ptr<TLitera>;

// One log line: a fixed row of letter cells, lw pixels apart.
class TLiniaLiter {
public:
    std::vector<TLiteraPtr> litera;  // all null at creation
    // Width of "A" in the built-in default font; measured at the first line, then fixed.
    static int32_t lw;

    // GetGraphicsWidth() / lw empty cells.
    TLiniaLiter();
    virtual ~TLiniaLiter() = default;
    // Stores the letter in the first empty cell and returns 0; 1 (nothing stored) when full.
    virtual int AddLetter(const TLiteraPtr& letter);
    virtual void draw(float y);
};
using TLiniaLiterPtr = std::shared_ptr<TLiniaLiter>;

class TAppCriticalLine {
public:
    int32_t t = 0;
    std::string txt;
    virtual ~TAppCriticalLine() = default;
};
using TAppCriticalLinePtr = std::shared_ptr<TAppCriticalLine>;
TAppCriticalLinePtr CreateCriticalLine(const std::string& text, int t);

class TConsoleCommand {
public:
    std::string str;  // the command word
    virtual ~TConsoleCommand() = default;
    virtual int Execute(const std::vector<std::string>& /*args*/) { return 0; }
};
using TConsoleCommandPtr = std::shared_ptr<TConsoleCommand>;

// "SAVESCREEN id ...": saves each screen named by its id ("CURRENTAppScreen": the screen or
// pop-up that has the input) to its own file.
class TCCSaveScreen : public TConsoleCommand {
public:
    TCCSaveScreen() { str = "SAVESCREEN"; }
    int Execute(const std::vector<std::string>& args) override;
};

// "SWITCHSCREENBORDER": shows or hides the red border lines.
class TCCShowScreenBorders : public TConsoleCommand {
public:
    TCCShowScreenBorders() { str = "SWITCHSCREENBORDER"; }
    int Execute(const std::vector<std::string>& args) override;
};

class Console {
public:
    static int32_t SingleCriticalTime;  // 3000 ms
    // 0 while no critical line is timed; else the application-clock time at which the oldest
    // one goes.
    static int32_t CriticalTime;
    static int32_t Visible;
    static std::string Wpis;                           // the input line
    static std::deque<TLiniaLiterPtr> LogList;         // newest first
    static std::vector<TConsoleCommandPtr> Commands;   // registration order
    static std::deque<TAppCriticalLinePtr> Criticals;  // newest first
    // The log keeps this many newest lines (only a few dozen fit on the panel); older ones go,
    // so a report repeated every frame cannot eat the memory of a long session.
    static constexpr size_t MaxLogLines = 1000;

    // The start line.
    static int Init();
    static int Clear();
    static int UpdateCriticals();
    // The console key (developer mode only), then the critical timer.
    static int Update();
    static int DrawLog();
    // Takes one typed character per frame.
    static int DrawWpis();
    static int DrawCriticals();
    static int Draw();
    static int EnterWpis(const std::string& line);
    static std::vector<TLiteraPtr> CreateTextLettersList(const std::string& text);
    // AddText, AddLine, AddError and AddCritical do nothing while graphics are not initialised.
    static int AddCritical(const TAppCriticalLinePtr& line);
    static int AddText(const std::string& text);
    static int AddLine(const TLiniaLiterPtr& line);
    // "\1Error: " + the text with its quoted parts in colour 6.
    static int AddError(const std::string& text);
    static int AddCommand(const TConsoleCommandPtr& command);
    static std::string ColorizeQuotes(const std::string& text, const std::string& code);
    static std::string Colorize(const std::string& text, const std::string& code);

    // The reports kept for the console since it last took them (engine/system/Error.h): each
    // Error line into the log (AddError), each CriticalError text among the critical lines,
    // timed from when it was made. Update and Draw take them first.
    static int TakeReports();

    // Empty lists, closed, timers off, lw unmeasured (tests). The kept reports stay as they are.
    static void Reset();
};

// From now on the reports are kept for the console (KeepConsoleReports), which takes them.
void StartConsoleReports();
// StartConsoleReports, then Console::Init.
int InitConsole();
