#include "game/shell/MiniLevel.h"

#include <algorithm>

#include "engine/data/ValueTypes.h"
#include "engine/basics/AppTime.h"
#include "engine/basics/Basics.h"
#include "engine/system/Error.h"
#include "engine/basics/Timers.h"
#include "engine/window/Mouse.h"
#include "game/levels/PlayFieldTables.h"
#include "game/shell/StagesScreen.h"
#include "platform/Files.h"
#include "platform/Graphics.h"
#include "platform/Random.h"
#include "platform/Strings.h"

float TMiniLevel::Size = 2.6f;
TImagePtr TMiniLevel::TileImg;
TImagePtr TMiniLevel::GridImg;
std::array<TImagePtr, 3> TMiniLevel::Panelik;
std::array<TImagePtr, 4> TMiniLevel::Stars;
std::shared_ptr<TPulsar> TMiniLevel::Pulsar;
std::array<TImagePtr, 6> TMapCloudObject::Img;

namespace {

// A picture larger than any level could be is refused (a damaged record).
constexpr int MaxCells = 100 * 100;
// Thumbnails whose point lies this far beyond the screen's top or bottom are not drawn.
constexpr float OffScreenMargin = 120.0f;

// The integer at the start of a field, read leniently: leading white space, a sign, digits.
int FieldInt(const std::string& field) {
    size_t i = 0;
    while (i < field.size() && (field[i] == ' ' || field[i] == '\t' || field[i] == '\r' || field[i] == '\n')) ++i;
    return StringToInt(std::string_view(field).substr(i));
}

}  // namespace

int TMiniLevel::FromString(const std::string& record) {
    const auto fields = SplitString(record, ",");
    auto at = [&](size_t i) { return i < fields.size() ? FieldInt(fields[i]) : 0; };
    Rows = std::max(0, at(0));
    Cols = std::max(0, at(1));
    if (static_cast<int64_t>(Rows) * Cols > MaxCells) {
        Error("A thumbnail of " + IntToString(Rows) + " x " + IntToString(Cols) + " cells is too large; left empty",
              Here());
        Rows = Cols = 0;
    }
    Tile.assign(Rows, std::vector<int>(Cols, 0));
    size_t k = 2;
    for (int r = 0; r < Rows; ++r)
        for (int c = 0; c < Cols; ++c) Tile[r][c] = at(k++);
    Cx = Cols * Size / 2.0f;
    Cy = Rows * Size / 2.0f;
    return 0;
}

std::string TMiniLevel::ToString() {
    std::string text;
    for (const auto& row : Tile) {
        for (int v : row) text += (v < 10 ? " 0" : " ") + IntToString(v);
        text += "\n";
    }
    return text;
}

int TMiniLevel::DrawMini(float x, float y) {
    SetScale(1.0f, 1.0f);
    for (int r = 0; r < Rows; ++r)
        for (int c = 0; c < Cols; ++c) {
            const float px = x - Cx + c * Size, py = y - Cy + r * Size;
            const int v = Tile[r][c];
            if (v >= 1) {
                if (auto rgb = TileRGBOfId(v)) SetColorRGB(*rgb);
                else SetColor(255, 255, 255);
                DrawImage(TileImg, px, py, 0);
            } else {
                SetColor(255, 255, 255);
                DrawImage(GridImg, px, py, 0);
            }
        }
    return 0;
}

int TMiniLevel::Draw() {
    if (State == 0 || !Point) return 0;
    const float x = Point->DrawX, y = Point->DrawY;
    if (y < -OffScreenMargin || y > 768.0f + OffScreenMargin) return 0;
    SetColor(255, 255, 255);
    SetScale(1.0f, 1.0f);
    SetRotation(0.0f);
    SetAlpha(1.0f);
    SetBlend(3);
    const bool open = State == 2 || isUnlocked != 0;
    const TImagePtr& panel = open ? Panelik[2] : (isCurrent == 1 ? Panelik[1] : Panelik[0]);
    const TImagePtr& glow = open ? Panelik[1] : Panelik[0];
    DrawImage(panel, x, y, 0);
    if (OverA != 0.0f) {
        SetBlend(4);
        SetAlpha(OverA * 0.5f);
        DrawImage(glow, x, y, 0);
        SetAlpha(1.0f);
        SetBlend(3);
    }
    if (isCurrent == 1 && !(StagesScreen && StagesScreen->LastLevel)) {
        SetBlend(4);
        SetAlpha((Pulsar ? Pulsar->Update() : 0.0f) * 0.25f);
        SetColor(255, 255, 255);
        SetRotation(0.0f);
        SetScale(1.0f, 1.0f);
        DrawImage(glow, x, y, 0);
        SetBlend(3);
        SetAlpha(1.0f);
    }
    if (State == 2) {
        DrawMini(x, y - 4.0f);
        SetColor(255, 255, 255);
        DrawImage(Stars[std::clamp(StarsCount, 0, 3)], x, y, 0);
    } else {
        DrawImage(Stars[0], x, y, 0);
    }
    return 0;
}

int TMiniLevel::Update() {
    const float step = 0.05f * delta;
    if (OverA < dOverA) OverA = std::min(OverA + step, dOverA);
    else if (OverA > dOverA) OverA = std::max(OverA - step, dOverA);
    return 0;
}

int TMiniLevel::isVisible() { return State != 0 ? 1 : 0; }

int TMiniLevel::isOver() {
    if (isUnlocked == 0) return 0;
    if (StagesScreen && StagesScreen->MapShow == 1) return 0;
    if (StagesScreen && StagesScreen->isPointerOnButton()) return 0;
    if (!Point) return 0;
    const int w = ImageWidth(Panelik[0]), h = ImageHeight(Panelik[0]);
    const int left = TruncToInt(Point->DrawX - w / 2.0f), top = TruncToInt(Point->DrawY - h / 2.0f);
    return Mouse::InRect(left, top, w, h);
}

std::vector<TMiniLevelPtr> ReadMiniLevels(const std::string& text) {
    std::vector<TMiniLevelPtr> levels;
    const auto pieces = SplitString(text, "n");
    for (size_t i = 0; i < pieces.size(); ++i) {
        if (Trim(pieces[i]).empty()) continue;
        auto mini = std::make_shared<TMiniLevel>();
        mini->FromString(pieces[i]);
        mini->Id = static_cast<int>(i) + 1;
        levels.push_back(mini);
    }
    return levels;
}

std::vector<TMiniLevelPtr> LoadMiniLevels(const std::string& folder, const TGameObjectPtr& holder, bool holderDamaged) {
    auto load = [&](const std::string& name) {
        auto image = LoadImage(folder + name);
        if (!image) Error("Missing picture '" + folder + name + "'", Here());
        else MidHandleImage(image);
        return image;
    };
    TMiniLevel::TileImg = load("Tile.png");
    TMiniLevel::GridImg = load("Grid.png");
    for (int k = 0; k < 3; ++k) TMiniLevel::Panelik[k] = load("Panelik-" + IntToString(k) + ".png");
    const int panelHalfH = ImageHeight(TMiniLevel::Panelik[0]) / 2;
    for (int k = 0; k < 4; ++k) {
        auto image = load("Stars" + IntToString(k) + ".png");
        if (image)
            SetImageHandle(image, static_cast<float>(ImageWidth(image) / 2), static_cast<float>(panelHalfH + 32));
        TMiniLevel::Stars[k] = image;
    }
    const std::string path = folder + "MiniLevels.txt";
    std::string text;
    if (FileType(path) != 1 || !LoadBytes(path, text)) {
        Error("Could not read the thumbnails '" + path + "'", Here());
        return {};
    }
    auto levels = ReadMiniLevels(text);
    // One line for the map, not one per level: without the map object, or with a map whose
    // screen file was reported damaged, nothing more is said.
    int missing = 0, first = 0;
    for (auto& mini : levels) {
        if (holder) mini->Point = holder->FindObjectInd(mini->Id);
        if (!mini->Point && missing++ == 0) first = mini->Id;
    }
    if (holder && !holderDamaged && missing > 0)
        Error("No point on the map for " + IntToString(missing) + " level(s), the first level " + IntToString(first),
              Here());
    return levels;
}

int TMapCloudObject::Reset() {
    n = Rand(0, static_cast<int>(Img.size()) - 1);
    x = static_cast<float>(Rand(0, 1024));
    return ResetY();
}

int TMapCloudObject::ResetY() {
    y = static_cast<float>(Rand(0, 4096));
    Speed = static_cast<float>(Rnd(0.1, 0.2));
    return 0;
}

int TMapCloudObject::Update() {
    x += Speed * delta;
    if (x > 1195.0f) {
        ResetY();
        x = -static_cast<float>(ImageWidth(Img[n]) + 171);
    }
    SetX(x);
    SetY(y);
    return 0;
}

int TMapCloudObject::Draw() {
    SetColor(255, 255, 255);
    SetRotation(0.0f);
    SetScale(1.0f, 1.0f);
    SetBlend(3);
    SetAlpha(1.0f);
    DrawImage(Img[n], DrawX, DrawY, 0);
    return 0;
}

void ResetMiniLevelGlobals() {
    TMiniLevel::TileImg = TMiniLevel::GridImg = nullptr;
    TMiniLevel::Panelik = {};
    TMiniLevel::Stars = {};
    TMiniLevel::Pulsar = CreateAppPulsar(0.05f);
}
