// The game screen: the one screen on which every picture-logic level is played.
//
// One object, Game, built as a chain of layers over the engine's screen:
//   TAppScreen > MainGameSettings > MainGame_PACLogic > MainGame_FAPLogic > TMainGame
// MainGameSettings holds the static tuning values and sounds of play; MainGame_PACLogic the
// clue-grid level in play, its moves and judging (MainGamePAC.cpp), the board's drawing
// (BoardDrawing.cpp) and the level editor (LevelEditor.cpp); MainGame_FAPLogic the
// neighbour-count level in play (MainGameFAP.cpp); TMainGame the set-up, the prepare sequence with the opening fly-in,
// the screen's states, the frame order, the colours, the stars, the mistakes, the clock and the level's end
// (MainGame.cpp).
//
// Screen states (CurrState): 0 Normal, 1 Begin (tiles flying in), 2 Win (clue numbers fading
// out before the level summary), 3 Lose (tiles falling away before the lose pop-up), 4 the lose
// pop-up shown.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/media/Img.h"
#include "engine/screen/AppScreen.h"
#include "game/levels/BoardView.h"
#include "game/levels/Level.h"
#include "game/puzzle/GameNavigator.h"
#include "platform/Font.h"

class TLevel;
class TPACLevel;
class TFAPLevel;
class TFTile;
class TPTile;
class TTile;
class TPNumber;
class TRGB;
class TAppSound;
class TEngParticlePackage;

// The static tuning of play, shared by the whole program.
class MainGameSettings : public TAppScreen {
public:
    static float OverAlpha;          // the hover highlight of a tile
    static int UnCoverTimeInterwal;  // ms between the judged tiles of one line
    static int Star3Seconds;         // level second at which the clock takes a star
    static int Star2Seconds;         // ... and the next one
    static int isColorSensitive;     // 1: numbers of too-dark colours white on dark backs
    static std::shared_ptr<TAppSound> SndHint;
    static std::shared_ptr<TAppSound> SndHintLoad;
    static std::shared_ptr<TAppSound> SndHintLoaded;
    static std::shared_ptr<TAppSound> SndLose;
    static std::shared_ptr<TAppSound> SndTileRight;
    static std::shared_ptr<TAppSound> SndTileWrong;
    static std::shared_ptr<TAppSound> SndWin;

    // The score one correctly uncovered tile adds to its level.
    static int GetScoreAdd() { return TileScoreAdd; }
};

// 1 when red, green and blue are each below MainGame_PACLogic::MinCol (75): clue numbers in
// such a colour are not readable over the dark backs.
int isColorTooDark(const TRGB& rgb);

// The clue-grid layer: the level in play, the current colour and tool, the hover, the held
// line and the board's drawing.
class MainGame_PACLogic : public MainGameSettings {
public:
    static int MinCol;             // the darkness threshold of isColorTooDark
    static TImgPtr Waste;          // the icon at the pointer over the waste corner
    static TImgPtr DimPanel;       // the back of the size label
    static TImageFontPtr DimFont;  // the size label's font

    std::shared_ptr<TPACLevel> CurrPacLevel;  // the level in play, or null
    int CurrColorIndex = 0;                   // the colour layer being played
    std::shared_ptr<TPTile> CurrOver;         // the current layer's tile under the pointer
    std::shared_ptr<TPTile> CurrPicked;       // no role in play
    std::shared_ptr<TPNumber> CurrOverNumber;
    int CurrTool = 0;  // 0 the hand (left uncovers, right crosses), 1 the hammer (both cross)
    // The held line: null when no move is under way; its first element is the anchor, the rest
    // follow away from it.
    std::shared_ptr<std::vector<std::shared_ptr<TPTile>>> HoldedList;
    std::shared_ptr<TPTile> TempOver;  // this frame's hover, before it is committed
    std::shared_ptr<TPNumber> TempOverNum;
    TImgPtr Gradient, Gradient2;            // dark backs of the row and column clues
    TImgPtr LightGradient, LightGradient2;  // light backs for too-dark colours
    float ColorsY = 0;
    float NumbersAlpha = 0;                // alpha of the clue numbers and the board's decorations
    float dNumbersAlpha = 0;               // its target
    int HoldedMouseButton = 0;             // the button that started the held line: 1 left, 2 right
    std::shared_ptr<TPTile> LastCurrOver;  // CurrOver at the end of the previous control step
    // 1 from a cancelled line until every button is up: no line starts meanwhile.
    int WaitForButtonsUp = 0;
    int Editor_PickedColor = 0;  // the level editor's palette index (colour id - 1)
    // 1 while the level editor runs on the board (a developer switch): its palette and info line
    // are drawn, a left click gives the cell under the pointer the picked colour and a right
    // click empties it; the player's moves and the win are off meanwhile.
    int EditorOn = 0;

    // ---- Drawing (BoardDrawing.cpp) ----
    virtual int PAC_DrawNumbersBacks();
    virtual int PAC_DrawNumbersBacks2();
    virtual int PAC_DrawNumbers();
    virtual int PAC_DrawEditor() { return 0; }
    virtual int PAC_DrawOver();
    virtual int PAC_DrawHolded();
    virtual int PAC_DrawDividors();
    virtual int PAC_DrawDims();
    // The whole board: size label, clue backs, tiles, dividers, clue numbers, hover, held line
    // and the waste icon.
    virtual int PAC_DrawLevel();

    // ---- Update ----
    // Updates every tile of every layer and finds the hover of the current layer.
    virtual int PAC_UpdateTiles();
    // Updates every clue line and finds the hovered number of the current colour.
    virtual int PAC_UpdateNumbers();
    // Clears the solved lines of the current colour; finishes the colour when all are solved.
    virtual int PAC_UpdateRowsAndColsAutoClear();
    // PAC_UpdateTiles, PAC_UpdateNumbers, PAC_UpdateRowsAndColsAutoClear.
    virtual int PAC_UpdateLevel();
    // Commits this frame's hover.
    virtual int PAC_UpdateOver();
    // The move: cancel, start, reshape or judge the held line.
    virtual int PAC_UpdateControl();

    // ---- Moves ----
    virtual int PAC_SetCurrTool(int tool);
    virtual int PAC_CreateHolded_Poziomo(const std::shared_ptr<TPTile>& anchor, int dx);
    virtual int PAC_CreateHolded_Pionowo(const std::shared_ptr<TPTile>& anchor, int dy);
    virtual int PAC_CreateHoldedList();
    // Judges every covered tile of the held line at once (overlays 25 ms apart), or drops the
    // line over the waste corner.
    virtual int PAC_UseTool(int button);
    virtual int PAC_ResetHolded();
    // Whether the held line's button is still down.
    virtual int MouseHolded();
    // Picks the button of a new line: 1 when one is down.
    virtual int MouseHoldedStart();
    // A line from the tile under the pointer with the button.
    virtual int PAC_StartLine(int button);
    // 1 while the pointer is above and left of the board's top-left corner.
    virtual int isWasteOver();

    // The tile the board shows for a cell: the highest layer's tile in which the cell's colour
    // was found, else the current layer's tile. Null outside the grid.
    std::shared_ptr<TPTile> GetShownTile(int x, int y) const;

    // ---- Level editor (LevelEditor.cpp) ----
    // The palette at the left edge: swatch i at (4, ColorsY + 52 i), 48 x 48, the picked one
    // framed, each with its colour id, and a dash beside the colours the level uses.
    virtual int Editor_DrawColors();
    // "Position: x, y   Size: n" in white with a black outline at the top left.
    virtual int Editor_DrawInfo();
    virtual int PAC_Editor_Draw();
    // A left click on a swatch picks it; the wheel scrolls the palette by 25 pixels a step.
    virtual int PAC_Editor_Update_ColorPick();
    // A left click gives the cell under the pointer the picked colour, a right click empties
    // it; either rebuilds the level's colours, tiles and clue numbers.
    virtual int PAC_Editor_Update_ChangeTile();
    // Once a frame after the clue-grid layer's own update (so that TempOver is current).
    virtual int PAC_Editor_Update();

    // What the logic asks of the screen above it.
    virtual int FinishColor(int colour) = 0;
    virtual int SetNextColor() = 0;
    virtual std::shared_ptr<TRGB> GetCurrColorRGB() = 0;

protected:
    // The board's top-left corner from the first tile, each truncated.
    bool BoardCorner(int& left, int& top) const;
};

// The neighbour-count layer: the cell under the pointer, painting and crossing by dragging,
// and the drawing of the grid with its hover. It runs only while the screen holds a
// neighbour-count level. The drag type is kept in HoldedMouseButton (the clue-grid layer's held
// button, unused while this kind is played): 0 none, 1 paint with the current colour, 2 cross
// in the current colour's layer, 3 clear paint, 4 remove the current colour's cross.
class MainGame_FAPLogic : public MainGame_PACLogic {
public:
    std::shared_ptr<TFAPLevel> CurrFapLevel;  // the neighbour-count level in play, or null
    int HoldedFAPType = 0;
    // The cell under the pointer this frame, and the one found while updating (the clue-grid
    // layer's CurrOver and TempOver hold clue-grid tiles, so this kind keeps its own).
    std::shared_ptr<TFTile> CurrFapOver;
    std::shared_ptr<TFTile> TempFapOver;

    // The hover highlight over the cell under the pointer.
    virtual int FAP_DrawOver();
    virtual int FAP_DrawEditor() { return 0; }
    // Every cell at its own place, then the hover.
    virtual int FAP_DrawLevel();
    virtual int FAP___________________() { return 0; }
    // Updates every cell and finds the one under the pointer.
    virtual int FAP_UpdateTiles();
    virtual int FAP_UpdateOver();
    // FAP_UpdateTiles, then FAP_UpdateOver.
    virtual int FAP_UpdateLevel();
    // Drag painting: the drag starts on the first call with a button held over a cell; every
    // later call while it lasts gives the cell under the pointer the drag's operation. Both
    // buttons held cancel it; it ends over a cell with no button held.
    virtual int FAP_UpdateControl();
};

// The game screen; it is the board view of the levels it plays (game/levels/BoardView.h).
class TMainGame : public MainGame_FAPLogic, public TBoardView {
public:
    std::shared_ptr<TEngParticlePackage> HintParticle;  // flying hints and stars emit here
    std::shared_ptr<TLevel> CurrLevel;                  // the level being played
    std::shared_ptr<TGameNavigator> Navigator;          // the shell's screens it opens (CreateMainGame)
    int CurrState = 0;                                  // 0 Normal, 1 Begin, 2 Win, 3 Lose, 4 lose pop-up shown
    int LevelTime = 0;                                  // application ms after which the level clock ticks next
    int LoseTime = 0;                                   // application ms after which the lose pop-up shows
    int isLevelVisible = 0;                             // whether the board is drawn
    int StarsAtLevelEnd = 0;

    TMainGame();
    ~TMainGame() override;

    // ---- The board view ----
    float BoardOverAlpha() override { return OverAlpha; }
    float BoardNumbersAlpha() override { return NumbersAlpha; }
    bool BoardHoveredCell(int& x, int& y) override;
    std::shared_ptr<TRGB> BoardColour() override { return GetCurrColorRGB(); }
    int BoardLayer() override { return CurrColorIndex; }
    bool BoardColourTooDark(const TRGB& colour) override { return isColorTooDark(colour) != 0; }
    bool BoardColourSensitive() override { return isColorSensitive != 0; }
    void BoardMistake() override { AddMistake(); }
    void BoardTileSound(bool right) override;
    void BoardHintCharge(int x, int y) override;
    std::shared_ptr<TDim> BoardHintDim(const TLevel& level) override;

    // ---- Engine hooks ----
    int Update() override;
    int OnSetup() override;
    int OnStart() override { return 0; }
    int OnPrepare() override;
    int OnLeave() override;
    int OnDraw() override;
    // Besides the pictures, the level music the visit will start.
    int AskAhead() override;

    virtual int SetupUI();
    virtual int SetupSounds();
    virtual int _drawSpecArrow(float x1, float y1, float x2, float y2, float cx, float cy, const TRGB& colour);
    virtual int DrawLevel();
    // The level editor's palette and info line while it runs.
    virtual int DrawEditorDebug();
    virtual int DrawCurrColor() { return 0; }
    virtual int DrawPanel();
    virtual int UpdatePanel();
    virtual int UpdateLevel();
    virtual int UpdateOver();
    // The level clock: one second per 1000 ms of Normal play; stars at 360 and 720 seconds.
    virtual int UpdateTime();
    virtual int UpdateControl();
    virtual int UpdateState_Normal();
    virtual int UpdateState_Begin();
    virtual int UpdateState_Win();
    virtual int UpdateState_Lose();
    virtual int UpdateState();
    // The level editor, while it runs and no pop-up is shown.
    virtual int UpdateEditor();
    // The newsletter's play-time trigger, once a frame after the screen's own steps: after half an
    // hour of play it shows the newsletter window, whose own loop runs inside this call.
    virtual int _updateNewsLetter();
    virtual int UpdateNumberAlpha();
    // The opening fly-ins: from the left along a curve, or straight up from below.
    virtual int Prepare_Begin_1();
    virtual int Prepare_Begin_2();
    virtual int Prepare_Begin_3();
    virtual int PrepareBegin();
    virtual int PrepareBackground();
    virtual int PrepareClears();
    virtual int PrepareProfile();
    virtual int PrepareStars();
    virtual int PrepareLevel();
    virtual int PrepareGame();
    virtual int PreparePanel();
    virtual int DropStar(int x, int y);
    virtual int RemoveStar();
    // One wrong tile: the first mistake takes a star, the sixth loses the level.
    virtual int AddMistake();
    // Spends hint slot index from its button at (x, y) (FlyHints.cpp): counted in the profile,
    // the slot unloaded and emptied, a flying hint from the button's middle to each of up to two
    // unsolved cells of the current colour, the hint sound.
    virtual int UseHint(int index, int x, int y);
    // Up to count distinct cells, at random, among the unsolved solution cells of the current
    // colour that no flying hint is on its way to.
    virtual std::vector<std::shared_ptr<TPTile>> GetTilesForHints(int count);
    virtual int SetNextColor() override;
    virtual int SetCurrentColor(int index);
    // Hands the screen the level to play; OnPrepare prepares it when the screen is entered.
    virtual int SetData(const std::shared_ptr<TLevel>& level);
    virtual int SetCurrBackground(int n);
    virtual int SetCurrState(int state);
    std::shared_ptr<TRGB> GetCurrColorRGB() override;
    virtual std::shared_ptr<TRGB> GetColorRGBByIndex(int index);
    // For the level summary, after a win.
    virtual int GetLevelStars();
    virtual int GetLevelTotalScore();
    virtual int GetMistakes();
    virtual int GetLevelTime();
    // "mm:ss", each at least two digits.
    virtual std::string GetTimeString();
    int FinishColor(int colour) override;
    virtual int GoMenu();
    virtual int WIN();
    virtual int LOSE();
    // 1 when every colour of the level is finished.
    virtual int CheckWin();
};

using TMainGamePtr = std::shared_ptr<TMainGame>;

// The one game screen, registered as "GameScreen".
extern TMainGamePtr Game;

// A new game screen registered with Control as "GameScreen", file
// bDir + "Screens/MainGame/GameScreen.AppScreen"; the options pop-up offers Menu and Replay
// over it.
// The game screen, loaded from its screen file; it opens the shell's screens through the
// navigator (never null).
TMainGamePtr CreateMainGame(std::shared_ptr<TGameNavigator> navigator);

// "mm:ss" for a number of seconds: minutes and seconds each with at least two digits.
std::string LevelTimeString(int seconds);
// Plays a sound of play (a missing one plays nothing).
void PlayGameSound(const std::shared_ptr<TAppSound>& sound);
// The tile sound of an overlay that starts showing: the right one (box, cross) or the wrong one
// (error).
void PlayTileSound(bool right);
