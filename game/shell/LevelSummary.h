// The level summary: the screen after a won level. It is a screen although its file lies among
// the pop-ups. Prepared after a win, it takes the level's score, stars, mistakes and time from
// the game screen, books them into the player's profile (the level passed, the next one open),
// shows them with the level's name, and flies the finished picture from the board to the middle
// of the screen, turning once and shrinking to a thumbnail. Next goes on to the kingdom with the
// level counter advanced, Restart plays the level again; before either, every award the level
// earned is announced, one pop-up after another. A second pair of buttons on one spot fades the
// statistics panel in and out.
//
// Screen file objects: "TheWindow" (with an animation named "Show"), id 2 the level's name,
// ids 11 Next, 12 Restart, 13 and 14 the statistics toggle, "Stats" (the statistics panel, drawn
// on layer 6) with the texts "LevelScoreData", "MistakesData" and "LevelTimeData". Level names:
// line k of "Local/<language>/LevelNames.txt" names level k.
//
// With a file "testingmode.txt" in the working folder the screen shows "LEVEL n" at its top and
// F12 saves the picture as "Level-n.png" in the working folder.
//
// The summary writes no file. A game that ends while it is up, neither Next nor Restart taken
// (the window closed, Command+Q), keeps what Next would have given: at the end, before the
// players are saved, the awards due are booked and the level counter advanced with the kingdom as
// the place to continue on, so the next start goes on from there. When Restart was taken and
// its awards were still being announced, the awards are booked and the level stays.
#pragma once
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "engine/screen/GameObject.h"
#include "engine/screen/AppScreen.h"

class TEngParticlePackage;
class TLevel;
class TPACLevel;
class TPer;
class TAward;
class TUIText;
class TUIButton;

// The finished picture: every cell of the won board as a game object under one holder, centred
// on the object's point. Its "Show" animation carries it from the board's centre to the middle of
// the screen, turning once and shrinking until its longer side is MiniMaxSize pixels.
class TSummaryLevel : public TGameObject {
public:
    static constexpr float MiniMaxSize = 300.0f;
    static constexpr float MiniCenterPointX = 512.0f;
    static constexpr float MiniCenterPointY = 384.0f;

    float dScale = 1.0f;  // the scale at the end of the flight
    float StartX = 0, StartY = 0;
    float EndX = 0, EndY = 0;

    int Draw() override { return 0; }
    virtual int FreeMe() { return 0; }
    virtual int InitTiles(TPACLevel& level);
    virtual int InitPreAnimData(TPACLevel& level);
    virtual int InitShowAnim();
    // All of the above for a won clue-grid level, then the flight starts half a second later. A
    // level of another kind gives an empty picture.
    virtual int Init(const std::shared_ptr<TLevel>& level);
};

using TSummaryLevelPtr = std::shared_ptr<TSummaryLevel>;

TSummaryLevelPtr CreateSumLev(const std::shared_ptr<TLevel>& level);

class TLevelSummary : public TAppScreen {
public:
    // The particle package the summary draws (the landing stars emit into it); made at start-up.
    static std::shared_ptr<TEngParticlePackage> Package;

    std::array<std::string, 100> LevelTxt;  // entry k - 1: the name of level k
    std::shared_ptr<TUIText> TextTitle;
    std::shared_ptr<TUIButton> ButtonNext, ButtonRestart, ButtonStats, ButtonView;
    TGameObjectPtr StatsPanel;
    TGameObjectPtr MainObject;  // "TheWindow"
    std::shared_ptr<TUIText> TextLevelScore, TextMistakes, TextLevelTime;
    // The level just won, handed over by the game screen before it switches here.
    std::shared_ptr<TLevel> CurrLevel;
    TSummaryLevelPtr SumLev;
    // The statistics panel's fade, 0 hidden to 1 shown. The picture and the card, and the toggle's
    // two labels, take turns in it: what goes out fades in the first half, what comes in in the
    // second, so that the two never show over each other.
    std::shared_ptr<TPer> View;
    // The buttons (Next, Restart, the toggle) come once the finished picture has landed, so that
    // the picture never lies under a button that could be pressed: till then they are switched
    // off, then they fade in (0 to 1).
    std::shared_ptr<TPer> ButtonsIn;
    int PictureLandsAt = 0;  // application milliseconds
    // Awards still to announce, one pop-up at a time; then GoNextTo runs (1 Next, 2 Restart).
    bool AwardsPending = false;
    std::vector<std::shared_ptr<TAward>> AwardsToGive;
    int GoNextTo = 0;
    // The win is booked and the summary is up, not yet left by Next or Restart.
    bool NotLeft = false;
    int isTestingOn = 0;
    int Stars = 0;
    int TotalScore = 0;  // the level's score plus 10 a star
    int Mistakes = 0;

    TLevelSummary();

    // The game screen, whole, under the summary.
    int Draw() override;
    int OnSetup() override;
    int OnPrepare() override;
    int OnDraw() override;
    int OnUpdate() override;
    int Interface() override;
    // At the end of the run, on the summary not yet left: what Next (or a Restart under way)
    // would have booked, in the player's profile only (the players' save, after it, writes it).
    int SaveAtEnd() override;

    // Grabs the picture's 1024 x 768 area of the window and writes it as PNG.
    static int SaveScreenshot(const std::string& url);
    // Stores the won level.
    virtual int SetData(const std::shared_ptr<TLevel>& level);
    virtual int PrepareData();
    virtual int PrepareProfileStuff();
    virtual int PrepareUI();
    virtual int PrepareMiniLevel();
    virtual int GoNext();
    virtual int GoRestart();
    virtual int GoStats();
    virtual int GoView();
    // The buttons switched off and hidden until the picture lands, or on at once without one.
    virtual int PrepareButtons();
    // Next, Restart and the toggle's two buttons.
    std::vector<std::shared_ptr<TUIButton>> Buttons() const;
    virtual int FreeLevel();

private:
    int GoOn(int where);
};

using TLevelSummaryPtr = std::shared_ptr<TLevelSummary>;

extern TLevelSummaryPtr LevelSummary;

// A new screen registered with Control as "Level Summary", file bDir + "PopUps/LevelSummary/LevelSummary.AppScreen",
// and in the save-at-end list ahead of the players' save.
TLevelSummaryPtr CreateLevelSummary();
