#include "game/puzzle/MainGame.h"

#include <cstdio>

#include "engine/data/ValueTypes.h"
#include "engine/media/AppFont.h"
#include "engine/media/AppSound.h"
#include "engine/media/Img.h"
#include "engine/media/SoundManager.h"
#include "engine/screen/Console.h"
#include "engine/screen/Control.h"
#include "engine/basics/AppTime.h"
#include "engine/system/Paths.h"
#include "engine/data/Settings.h"
#include "engine/ui/UI_Object.h"
#include "game/effects/EngParticle.h"
#include "game/progress/Profile.h"
#include "game/levels/FAPLevel.h"
#include "game/puzzle/FlyHints.h"
#include "game/puzzle/FlyingStars.h"
#include "game/puzzle/FlyingTiles.h"
#include "game/puzzle/GameImages.h"
#include "game/puzzle/GamePanel.h"
#include "game/levels/Level.h"
#include "game/levels/Numbers.h"
#include "game/levels/PlayFieldTables.h"
#include "game/levels/Tile.h"
#include "game/puzzle/Tutorial.h"
#include "online/NewsLetterTrigger.h"
#include "platform/Graphics.h"
#include "platform/Input.h"
#include "platform/Random.h"

TMainGamePtr Game;

// ---------------------------------------------------------------------------------------------
// Settings

float MainGameSettings::OverAlpha = 0.15f;
int MainGameSettings::UnCoverTimeInterwal = 25;
int MainGameSettings::Star3Seconds = 360;
int MainGameSettings::Star2Seconds = 720;
int MainGameSettings::isColorSensitive = 0;
std::shared_ptr<TAppSound> MainGameSettings::SndHint;
std::shared_ptr<TAppSound> MainGameSettings::SndHintLoad;
std::shared_ptr<TAppSound> MainGameSettings::SndHintLoaded;
std::shared_ptr<TAppSound> MainGameSettings::SndLose;
std::shared_ptr<TAppSound> MainGameSettings::SndTileRight;
std::shared_ptr<TAppSound> MainGameSettings::SndTileWrong;
std::shared_ptr<TAppSound> MainGameSettings::SndWin;

void PlayGameSound(const std::shared_ptr<TAppSound>& sound) {
    if (sound) sound->Play(1.0f, -1.0f, 0.05f);
}

void PlayTileSound(bool right) {
    PlayGameSound(right ? MainGameSettings::SndTileRight : MainGameSettings::SndTileWrong);
}

std::string LevelTimeString(int seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d", seconds / 60, seconds % 60);
    return text;
}

// ---------------------------------------------------------------------------------------------
// Construction

TMainGame::TMainGame() : HintParticle(CreateEngParticlePackage(4000)) {}

TMainGame::~TMainGame() = default;

TMainGamePtr CreateMainGame(std::shared_ptr<TGameNavigator> navigator) {
    auto game = std::make_shared<TMainGame>();
    game->Navigator = std::move(navigator);
    game->Init("GameScreen", bDir + "Screens/MainGame/GameScreen.AppScreen");
    // The levels' tiles and numbers are drawn with this screen's look.
    SetBoardView(game.get());
    return game;
}

void TMainGame::BoardTileSound(bool right) { PlayTileSound(right); }

void TMainGame::BoardHintCharge(int x, int y) { ReleaseHintCharge(x, y); }
std::shared_ptr<TDim> TMainGame::BoardHintDim(const TLevel& level) { return PanelHintDim(level); }

bool TMainGame::BoardHoveredCell(int& x, int& y) {
    if (!CurrOver) return false;
    x = CurrOver->x;
    y = CurrOver->y;
    return true;
}

// ---------------------------------------------------------------------------------------------
// Set-up

int TMainGame::OnSetup() {
    // The music tracks are read once for the whole program.
    if (AppSoundManager::MusicsList.empty()) AppSoundManager::LoadMusics();
    Tutorial::Setup();
    SetupHints();
    SetupTilesImages();
    SetupNumbers();
    SetupUI();
    SetupSounds();
    return 0;
}

int TMainGame::SetupUI() {
    GamePanel::Setup();
    TFlyingStar::Img = LoadGameImage("Effects/Stars/star-1.png", -1, true);
    auto load = [](const char* path) { return LoadImg(bDir + path); };
    Gradient = load("Screens/MainGame/Gradient.png");
    SetImgHandle(Gradient, 31, 0);
    Gradient2 = load("Screens/MainGame/gradient2.png");
    SetImgHandle(Gradient2, 0, 31);
    LightGradient = load("Screens/MainGame/lgradient2.png");
    SetImgHandle(LightGradient, 31, 0);
    LightGradient2 = load("Screens/MainGame/lgradient.png");
    SetImgHandle(LightGradient2, 0, 31);
    Waste = load("Screens/MainGame/WasteImg.png");
    SetImgHandle(Waste, 16, 16);
    DimPanel = load("Screens/MainGame/Dims.png");
    MidHandleImg(DimPanel);
    DimFont = GetAppFont(bDir + "App/Fonts/font.ttf", 24);
    return 0;
}

int TMainGame::SetupSounds() {
    auto make = [](const char* path) { return CreateAppSound(bDir + path, 0, 0); };
    SndHint = make("Sound/Sfx/Game_Hint.ogg");
    SndHintLoad = make("Sound/Sfx/hint-load.ogg");
    SndHintLoaded = make("Sound/Sfx/hintuse.ogg");
    SndLose = make("Sound/Sfx/Lose.ogg");
    SndTileRight = make("Sound/Sfx/Tile-Right.ogg");
    SndTileWrong = make("Sound/Sfx/Tile-Wrong.ogg");
    SndWin = make("Sound/Sfx/win.ogg");
    // However many tiles of a line open together, the right sound rings at most every 100 ms.
    if (SndTileRight) SndTileRight->TimeInterwal = 100;
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Prepare

int TMainGame::OnPrepare() {
    PreparePanel();
    PrepareClears();
    PrepareGame();
    PrepareLevel();
    PrepareBegin();
    PrepareProfile();
    PrepareBackground();
    PrepareStars();
    return 0;
}

int TMainGame::AskAhead() {
    // The music first: the worker takes what it is asked for in turn.
    AppSoundManager::LevelSoundAhead(Profile ? &Profile->CurrMusicNumber : nullptr);
    TAppScreen::AskAhead();
    return 0;
}

int TMainGame::PreparePanel() {
    GamePanel::Prepare();
    GamePanel::UpdateScreenPosition();
    if (GamePanel::MainPanel) GamePanel::MainPanel->UpdateAllTheSettings();
    return 0;
}

int TMainGame::PrepareClears() {
    ClearFlyHints();
    ClearFlyingStars();
    ClearFlyingTiles();
    return 0;
}

int TMainGame::PrepareGame() {
    NumbersAlpha = 0.0f;
    dNumbersAlpha = 0.0f;
    AppSoundManager::PlayLevelSound(Profile ? &Profile->CurrMusicNumber : nullptr);
    SetCurrState(1);
    SetCurrentColor(0);
    GamePanel::Update();
    if (GamePanel::ColorBoxImage)
        if (auto rgb = GetCurrColorRGB()) {
            GamePanel::ColorBoxImage->SetRGB(rgb->r, rgb->g, rgb->b);
            GamePanel::ColorBoxImage->UpdateSettings();
        }
    return 0;
}

int TMainGame::PrepareLevel() {
    isLevelVisible = 1;
    if (CurrPacLevel) CurrPacLevel->PrepareAllCovers();
    GamePanel::Prepare();
    if (CurrLevel) CurrLevel->Center();
    CurrOver = nullptr;
    CurrPicked = nullptr;
    if (HoldedList) HoldedList->clear();
    HoldedList = nullptr;
    return 0;
}

int TMainGame::PrepareBegin() {
    if (CurrLevel) CurrLevel->Center();
    if (Rand(1, 3) == 1) Prepare_Begin_1();
    else Prepare_Begin_3();
    return 0;
}

// The opening flights start two seconds after the screen is entered.
constexpr int kFlyInDelay = 2000;

int TMainGame::Prepare_Begin_1() {
    if (!CurrPacLevel) return 0;
    const TPACLevel& level = *CurrPacLevel;
    int k = 0;
    for (int x = level.Cols - 1; x >= 0; --x)
        for (int y = level.Rows - 1; y >= 0; --y, ++k) {
            // A cell whose colour was found flies in showing that colour.
            auto tile = GetShownTile(x, y);
            if (!tile) continue;
            int a = 0, b = 768;
            if (Rand(0, 1) == 1) std::swap(a, b);
            const int dx = static_cast<int>(tile->DrawX), dy = static_cast<int>(tile->DrawY);
            CreateFlyingTile(tile, -128, dy, dx, dy, -128, a, dx, b, 1, 1, 0, 1, 0, 0, kFlyInDelay + 5 * k);
        }
    return 0;
}

int TMainGame::Prepare_Begin_2() {
    if (!CurrPacLevel) return 0;
    const TPACLevel& level = *CurrPacLevel;
    for (int x = 0; x < level.Cols; ++x)
        for (int y = 0; y < level.Rows; ++y) {
            auto tile = GetShownTile(x, y);
            if (!tile) continue;
            const int dx = static_cast<int>(tile->DrawX), dy = static_cast<int>(tile->DrawY);
            CreateFlyingTile(tile, dx, dy + 768, dx, dy, dx, dy + 704, dx, dy, 1, 1, 0, 1, 0, 0,
                             2500 + 5 * (x + 1) * (y + 1));
        }
    return 0;
}

int TMainGame::Prepare_Begin_3() {
    if (!CurrPacLevel) return 0;
    const TPACLevel& level = *CurrPacLevel;
    for (int x = 0; x < level.Cols; ++x)
        for (int y = 0; y < level.Rows; ++y) {
            auto tile = GetShownTile(x, y);
            if (!tile) continue;
            const int dx = static_cast<int>(tile->DrawX), dy = static_cast<int>(tile->DrawY);
            auto flight = CreateFlyingTile(tile, dx, dy + 768, dx, dy, dx, dy + 768, dx, dy, 1, 1, 0, 1, 0, 0,
                                           kFlyInDelay + 10 * (x + y));
            flight->Speed = 0.02f;
        }
    return 0;
}

int TMainGame::PrepareProfile() {
    // Continuing the saved game comes back here.
    if (Profile) Profile->CurrScreen = name;
    return 0;
}

// The ten backgrounds of the screen file.
constexpr int kFirstBackground = 1001;
constexpr int kBackgrounds = 10;

int TMainGame::PrepareBackground() { return SetCurrBackground(Rand(1, kBackgrounds)); }

int TMainGame::SetCurrBackground(int n) {
    for (int i = 0; i < kBackgrounds; ++i)
        if (auto bg = FindObjectInd(kFirstBackground + i)) {
            FreeObjectAsset(bg.get());
            bg->Disable();
        }
    if (auto bg = FindObjectInd(1000 + n)) {
        bg->Enable();
        bg->LoadAsset();
    }
    return 0;
}

int TMainGame::PrepareStars() {
    if (!CurrPacLevel) return 0;
    const int stars = CurrPacLevel->CurrStars;
    GamePanel::Stars_Set(stars);
    for (int i = 0; i < stars && i < 3; ++i) {
        const auto& star = GamePanel::Stars[i];
        if (!star) continue;
        const int tx = static_cast<int>(star->DrawX), ty = static_cast<int>(star->DrawY);
        // Three stars drop in from straight above; fewer come in from the lower right.
        if (stars == 3) CreateFlyingStarFlyin(tx, -128, tx, ty, 1000 * (i + 1), star);
        else CreateFlyingStarFlyin(1024, 900, tx, ty, 1000 * (i + 1), star);
    }
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Frame

int TMainGame::Update() {
    // A player's first level shows the help once.
    if (Profile && Profile->TutorialScreenShowed == 0) {
        Profile->TutorialScreenShowed = 1;
        Navigator->ShowHelp();
    }
    UpdatePanel();
    UpdateNumberAlpha();
    UpdateLevel();
    UpdateState();
    UpdateControl();
    UpdateEditor();
    _updateNewsLetter();
    Tutorial::Update();
    if (CheatsOn && KeyHit(49)) GamePanel::Stars_TurnOff(2);
    return 0;
}

int TMainGame::UpdatePanel() { return GamePanel::Update(); }

int TMainGame::_updateNewsLetter() { return UpdateNewsLetter(); }

int TMainGame::UpdateNumberAlpha() {
    const float step = 0.05f * delta;
    if (NumbersAlpha < dNumbersAlpha) {
        NumbersAlpha += step;
        if (NumbersAlpha > dNumbersAlpha) NumbersAlpha = dNumbersAlpha;
    } else if (NumbersAlpha > dNumbersAlpha) {
        NumbersAlpha -= step;
        if (NumbersAlpha < dNumbersAlpha) NumbersAlpha = dNumbersAlpha;
    }
    return 0;
}

int TMainGame::UpdateLevel() {
    if (CurrLevel) CurrLevel->Center();
    if (ActivePopUps.empty() && CurrPacLevel) PAC_UpdateLevel();
    if (ActivePopUps.empty() && CurrFapLevel) FAP_UpdateLevel();
    return 0;
}

int TMainGame::UpdateOver() {
    if (CurrPacLevel) PAC_UpdateOver();
    return 0;
}

int TMainGame::UpdateControl() {
    // The level editor takes the clicks while it runs.
    if (ActivePopUps.empty() && CurrPacLevel && EditorOn == 0) PAC_UpdateControl();
    if (ActivePopUps.empty() && CurrFapLevel) FAP_UpdateControl();
    return 0;
}

int TMainGame::UpdateState() {
    switch (CurrState) {
        case 1: return UpdateState_Begin();
        case 0: return UpdateState_Normal();
        case 2: return UpdateState_Win();
        case 3: return UpdateState_Lose();
        default: return 0;
    }
}

int TMainGame::UpdateState_Begin() {
    if (FlyingTiles.empty()) {
        dNumbersAlpha = 1.0f;
        SetCurrState(0);
    }
    return 0;
}

int TMainGame::UpdateState_Normal() {
    UpdateTime();
    UpdateOver();
    UpdateControl();
    if (EditorOn == 0 && CheckWin()) WIN();
    return 0;
}

int TMainGame::UpdateState_Win() {
    if (CurrPacLevel) PAC_UpdateNumbers();
    if (CurrLevel && CurrLevel->NumbersHidden()) {
        isLevelVisible = 0;
        // Straight to the summary, without the cross-fade.
        Navigator->ShowSummary(CurrLevel);
    }
    return 0;
}

int TMainGame::UpdateState_Lose() {
    if (AppMilliSecs() > LoseTime) {
        Navigator->ShowLose();
        CurrState = 4;
    }
    return 0;
}

int TMainGame::OnDraw() {
    DrawLevel();
    DrawFlyingTiles();
    DrawCurrColor();
    DrawPanel();
    DrawFlyHints();
    DrawEngPackage(HintParticle);
    DrawFlyingStars(this);
    DrawEditorDebug();
    Tutorial::Draw();
    return 0;
}

int TMainGame::OnLeave() { return Tutorial::Clear(); }

int TMainGame::DrawLevel() {
    SetAlpha(1.0f);
    SetScale(1.0f, 1.0f);
    SetRotation(0.0f);
    SetColor(255, 255, 255);
    SetBlend(3);
    if (isLevelVisible == 1 && CurrPacLevel) PAC_DrawLevel();
    if (isLevelVisible == 1 && CurrFapLevel) FAP_DrawLevel();
    return 0;
}

int TMainGame::DrawPanel() { return GamePanel::Draw(); }

// ---------------------------------------------------------------------------------------------
// The level and its colours

int TMainGame::SetData(const std::shared_ptr<TLevel>& level) {
    CurrLevel = level;
    CurrPacLevel = std::dynamic_pointer_cast<TPACLevel>(level);
    CurrFapLevel = std::dynamic_pointer_cast<TFAPLevel>(level);
    CurrColorIndex = 0;
    GamePanel::SetData(level);
    return 0;
}

int TMainGame::SetCurrState(int state) {
    CurrState = state;
    return 0;
}

int TMainGame::SetCurrentColor(int index) {
    TFTile::CurrentColorIndex = index;
    CurrColorIndex = index;
    if (CurrPacLevel) PAC_UpdateRowsAndColsAutoClear();
    return 0;
}

int TMainGame::SetNextColor() {
    if (CheckWin() || !CurrLevel) return 0;
    const int colours = CurrLevel->Colors;
    auto done = [&](int c) {
        return c < static_cast<int>(CurrLevel->ColorDone.size()) && CurrLevel->ColorDone[c] != 0;
    };
    // CheckWin failed, so an unfinished colour exists and the search ends.
    do {
        CurrColorIndex = CurrColorIndex >= colours - 1 ? 0 : CurrColorIndex + 1;
    } while (done(CurrColorIndex));
    // The neighbour-count cells draw and paint in the colour the screen works in.
    TFTile::CurrentColorIndex = CurrColorIndex;
    if (CurrPacLevel) PAC_UpdateRowsAndColsAutoClear();
    return 0;
}

std::shared_ptr<TRGB> TMainGame::GetCurrColorRGB() { return GetColorRGBByIndex(CurrColorIndex); }

std::shared_ptr<TRGB> TMainGame::GetColorRGBByIndex(int index) {
    if (!CurrLevel || index < 0 || index >= static_cast<int>(CurrLevel->ColorArr.size())) return nullptr;
    return TileRGBOfId(CurrLevel->ColorArr[index]);
}

int TMainGame::FinishColor(int colour) {
    if (CurrLevel && colour >= 0 && colour < static_cast<int>(CurrLevel->ColorDone.size()))
        CurrLevel->ColorDone[colour] = 1;
    return 0;
}

int TMainGame::CheckWin() {
    if (!CurrLevel) return 0;
    int won = 1;
    for (int c = 0; c < CurrLevel->Colors; ++c)
        if (c >= static_cast<int>(CurrLevel->ColorDone.size()) || CurrLevel->ColorDone[c] == 0) won = 0;
    return won;
}

int TMainGame::GoMenu() {
    Navigator->ShowOptions();
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Stars, mistakes, the clock and the level's end

int TMainGame::UpdateTime() {
    if (!CurrLevel) return 0;
    const int now = AppMilliSecs();
    if (now > LevelTime) {
        LevelTime = now + 1000;
        CurrLevel->LevelSeconds += 1;
        if (CurrLevel->LevelSeconds == Star3Seconds) RemoveStar();
        if (CurrLevel->LevelSeconds == Star2Seconds) RemoveStar();
    }
    return 0;
}

int TMainGame::RemoveStar() {
    if (!CurrPacLevel || CurrPacLevel->CurrStars == 0) return 0;
    CurrPacLevel->CurrStars -= 1;
    GamePanel::Stars_TurnOff(CurrPacLevel->CurrStars);
    return 0;
}

int TMainGame::DropStar(int x, int y) {
    CreateFlyingStarDrop(x, y, 0);
    return 0;
}

int TMainGame::AddMistake() {
    if (CurrState == 3 || !CurrPacLevel) return 0;
    if (CurrPacLevel->Mistakes == 0) RemoveStar();
    CurrPacLevel->Mistakes += 1;
    if (CurrPacLevel->Mistakes >= LevelMistakesToLose) LOSE();
    return 0;
}

int TMainGame::WIN() {
    // Stars still flying in land now, and only the stars the level kept are counted and paid.
    LandStarFlyIns();
    StarsAtLevelEnd = GamePanel::GetStars();
    if (CurrPacLevel && StarsAtLevelEnd > CurrPacLevel->CurrStars) StarsAtLevelEnd = CurrPacLevel->CurrStars;
    if (AppSettings::SoundVolume != 0.0f) AppSoundManager::HideMusicTemporary(3000);
    PlayGameSound(SndWin);
    SetCurrState(2);
    if (CurrLevel) {
        CurrLevel->isLevelWon = 1;
        CurrLevel->HideNumbers();
    }
    dNumbersAlpha = 0.0f;
    // The lit stars fly to their places on the level summary, one a second.
    static const int targets[3][2] = {{588, 142}, {652, 132}, {716, 142}};
    for (int i = 0; i < 3; ++i) {
        const auto& star = GamePanel::Stars[i];
        if (!star || !star->isEnabled) continue;
        star->Disable();
        if (i >= StarsAtLevelEnd) continue;
        CreateFlyingStarSummary(static_cast<int>(star->DrawX), static_cast<int>(star->DrawY), targets[i][0],
                                targets[i][1], 1000 * i);
    }
    return 0;
}

int TMainGame::LOSE() {
    if (CurrPacLevel) {
        const TPACLevel& level = *CurrPacLevel;
        for (int y = 0; y < level.Rows; ++y)
            for (int x = 0; x < level.Cols; ++x) {
                // The cell falls away showing what the board shows there, and no layer's tile
                // of it stays behind in place.
                auto tile = GetShownTile(x, y);
                if (!tile) continue;
                const int dx = static_cast<int>(tile->DrawX), dy = static_cast<int>(tile->DrawY);
                CreateFlyingTile_Out(tile, dx, dy, dx, dy + 800, dx, dy, dx, dy + 800, 1, 1, 1, 0, 0, 0,
                                     1000 + 10 * (x + y), 1);
            }
    }
    dNumbersAlpha = 0.0f;
    LoseTime = AppMilliSecs() + 2000;
    PlayGameSound(SndLose);
    CurrState = 3;
    if (CurrLevel) CurrLevel->isLevelLost = 1;
    return 0;
}

int TMainGame::GetLevelStars() { return StarsAtLevelEnd; }
int TMainGame::GetLevelTotalScore() { return CurrLevel ? CurrLevel->Score : 0; }
int TMainGame::GetMistakes() { return CurrPacLevel ? CurrPacLevel->Mistakes : 0; }
int TMainGame::GetLevelTime() { return CurrLevel ? CurrLevel->LevelSeconds : 0; }
std::string TMainGame::GetTimeString() { return LevelTimeString(GetLevelTime()); }

int TMainGame::_drawSpecArrow(float x1, float y1, float x2, float y2, float cx, float cy, const TRGB& colour) {
    SetColor(colour.r, colour.g, colour.b);
    SetBlend(3);
    SetScale(1.0f, 1.0f);
    SetAlpha(1.0f);
    SetRotation(0.0f);
    float px = x1, py = y1;
    for (float t = 0.0f; t <= 1.0f; t += 0.05f) {
        const float qx = x1 + 2.0f * t * (cx - x1) + t * t * (x1 - 2.0f * cx + x2);
        const float qy = y1 + 2.0f * t * (cy - y1) + t * t * (y1 - 2.0f * cy + y2);
        DrawLine(px, py, qx, qy, true);
        px = qx;
        py = qy;
    }
    return 0;
}
