#include "game/levels/Numbers.h"

#include <algorithm>

#include "engine/screen/Asset.h"
#include "engine/basics/AppTime.h"
#include "engine/window/Mouse.h"
#include "game/levels/Level.h"
#include "game/levels/PlayFieldTables.h"
#include "game/levels/Tile.h"
#include "platform/Maths.h"

float TPNumber::AlphaSpeed = 0.05f;
float TPNumber::ScaleSpeed = 0.05f;
float TPNumber::CrossSpeed = 0.05f;
float TPNumber::OverSpeed = 0.05f;
float TPNumber::CrossAlphaPercent = 0.6f;
float TPNumber::CrossAlphaPercentForDarkNumbers = 0.4f;
float TPNumber::ShineA = 0.0f;
float TPNumber::dShineA = 0.0f;

// Moves value toward target by step, stopping exactly on it.
static void MoveToward(float& value, float target, float step) {
    if (value < target) {
        value += step;
        if (value > target) value = target;
    } else if (value > target) {
        value -= step;
        if (value < target) value = target;
    }
}

int TPNumber::Free() {
    Level = nullptr;
    StartKr = nullptr;
    EndKr = nullptr;
    Tiles.clear();
    Tiles.shrink_to_fit();
    return 0;
}

int TPNumber::UpdateSettings() {
    MoveToward(Alpha, dAlpha, AlphaSpeed * delta);
    MoveToward(Scale, dScale, ScaleSpeed * delta);
    MoveToward(Cross, dCross, CrossSpeed * delta);
    return 0;
}

int TPNumber::UpdateSolved() {
    if (isTilesOnListDone() && dCross == 0.0f && dAlpha == 1.0f && isFirstTileDone() && isLastTileDone()) CrossNumber();
    return 0;
}

int TPNumber::UpdateOver() {
    isOver = 0;
    if (Level) {
        const int rx = TruncToInt(Level->x + static_cast<float>(ox));
        const int ry = TruncToInt(Level->y + static_cast<float>(oy));
        isOver = Mouse::InRect(rx, ry, ow, oh);
    }
    if (!isOver) dOver = 0.0f;
    MoveToward(Over, dOver, OverSpeed * delta);
    return 0;
}

int TPNumber::Update() {
    UpdateSettings();
    UpdateSolved();
    UpdateOver();
    return 0;
}

int TPNumber::HideNumber() {
    dAlpha = 0.0f;
    return 0;
}

int TPNumber::CrossNumber() {
    dCross = 1.0f;
    return 0;
}

int TPNumber::ShowNumber() {
    dAlpha = 1.0f;
    return 0;
}

int TPNumber::ResetNumber() {
    Alpha = dAlpha = Cross = dCross = Over = dOver = 0.0f;
    return 0;
}

int TPNumber::isFirstTileDone() const { return (!StartKr || StartKr->isSolved()) ? 1 : 0; }
int TPNumber::isLastTileDone() const { return (!EndKr || EndKr->isSolved()) ? 1 : 0; }
int TPNumber::isStartSolved() const { return isFirstTileDone(); }
int TPNumber::isEndSolved() const { return isLastTileDone(); }

int TPNumber::isDone() const { return (dCross == 1.0f && Cross >= 1.0f) ? 1 : 0; }

int TPNumber::isTilesOnListDone() const {
    for (const auto& t : Tiles)
        if (!t || !t->isSolved()) return 0;
    return 1;
}

int TPNumber::UpdateNumberShine() {
    MoveToward(ShineA, dShineA, 0.01f * delta);
    if (ShineA == dShineA) dShineA = dShineA == 0.0f ? 1.0f : 0.0f;
    return 0;
}

int TPNumber::ImgInd(int size) { return NumberSizesIndexAt(size); }

int TPNumber::ImageValue(int value) { return std::clamp(value, 0, MaxClueValue); }

int TNumberLine::Free() {
    for (auto& n : Number)
        if (n) n->Free();
    Number.clear();
    OverNumber = nullptr;
    return 0;
}

int TNumberLine::Update() {
    OverNumber = nullptr;
    isDone = 1;
    bool toEnd = !Number.empty();
    for (auto& n : Number) {
        n->Update();
        if (!n->isDone()) isDone = 0;
        if (n->Tiles.empty() || !n->isTilesOnListDone()) toEnd = false;
        if (n->isOver) OverNumber = n;
    }
    if (toEnd) EndMe();
    if (OverNumber) OverNumber->dOver = 1.0f;
    if (isDone == 1) Hide();
    return 0;
}

int TNumberLine::EndMe() {
    if (!Level) return 0;
    if (Pionowo == 1) Level->ShowUPColumn(ColorIndex, RC);
    else Level->ShowUPRow(ColorIndex, RC);
    return 0;
}

int TNumberLine::Hide() {
    for (auto& n : Number) n->HideNumber();
    return 0;
}

int TNumberLine::Reset() {
    for (auto& n : Number) n->ResetNumber();
    return 0;
}

int TNumberLine::ShowUp() {
    for (auto& n : Number) n->ShowNumber();
    return 0;
}

int TNumberLine::CountAllNumbersValue() const {
    int sum = 0;
    for (const auto& n : Number) sum += n->Value;
    return sum;
}

int TNumberLine::SetSize(int size) {
    Size = size;
    for (auto& n : Number) n->Size = size;
    return 0;
}

int TNumberLine::NumbersHidden() const {
    for (const auto& n : Number)
        if (n->Alpha != 0.0f) return 0;
    return 1;
}

std::shared_ptr<TPNumber> CreatePNumber(TPACLevel* level, const std::vector<std::shared_ptr<TPTile>>& tiles,
                                        const std::shared_ptr<TPTile>& startKr, const std::shared_ptr<TPTile>& endKr,
                                        int size, int tileColor) {
    auto n = std::make_shared<TPNumber>();
    n->Level = level;
    n->Value = static_cast<int>(tiles.size());
    n->Tiles = tiles;
    n->StartKr = startKr;
    n->EndKr = endKr;
    n->Size = size;
    n->TileColor = tileColor;
    return n;
}

std::shared_ptr<TNumberLine> CreateNumberLine(const std::vector<std::shared_ptr<TPNumber>>& numbers, int pionowo,
                                              int rc, int colorIndex) {
    auto line = std::make_shared<TNumberLine>();
    line->Number = numbers;
    if (!numbers.empty()) {
        line->Level = numbers.front()->Level;
        line->Size = numbers.front()->Size;
    }
    line->Pionowo = pionowo;
    line->RC = rc;
    line->ColorIndex = colorIndex;
    return line;
}

// Builds one line of layer c from its `count` cells; `cellAt(i)` gives the i-th cell along
// the line, null outside the grid.
template <class CellAt>
static std::shared_ptr<TNumberLine> BuildLine(TPACLevel& level, int c, int count, int pionowo, int rc, CellAt cellAt) {
    // Ids below 1 (reported by the reader) have no palette colour; the lowest int has no id - 1.
    const int id = (c >= 0 && c < static_cast<int>(level.ColorArr.size())) ? level.ColorArr[c] : 0;
    const int paletteIndex = id > 0 ? id - 1 : -1;
    std::vector<std::shared_ptr<TPNumber>> numbers;  // in line order; reversed below
    std::vector<std::shared_ptr<TPTile>> run;
    int first = 0;
    auto close = [&](int end) {  // the run covers [first, end)
        if (run.empty()) return;
        numbers.push_back(CreatePNumber(&level, run, cellAt(first - 1), cellAt(end), level.Size, paletteIndex));
        run.clear();
    };
    for (int i = 0; i < count; ++i) {
        auto t = cellAt(i);
        if (t && t->isTile != 0) {
            if (run.empty()) first = i;
            run.push_back(t);
        } else {
            close(i);
        }
    }
    close(count);
    if (numbers.empty()) numbers.push_back(CreatePNumber(&level, {}, nullptr, nullptr, level.Size, paletteIndex));
    // The run nearest the end of the line comes first.
    std::reverse(numbers.begin(), numbers.end());
    return CreateNumberLine(numbers, pionowo, rc, c);
}

std::shared_ptr<TNumberLine> TPACLevel::InitColumnNumbers(int colorIndex, int column) {
    return BuildLine(*this, colorIndex, Rows, 1, column, [&](int row) { return GetTile(colorIndex, column, row); });
}

std::shared_ptr<TNumberLine> TPACLevel::InitRowNumbers(int colorIndex, int row) {
    return BuildLine(*this, colorIndex, Cols, 0, row, [&](int col) { return GetTile(colorIndex, col, row); });
}

int TPACLevel::InitNumbers() {
    TGrid2<std::shared_ptr<TNumberLine>> v, h;
    v.Resize(Colors, Cols);
    h.Resize(Colors, Rows);
    for (int c = 0; c < Colors; ++c) {
        for (int col = 0; col < Cols; ++col) v(c, col) = InitColumnNumbers(c, col);
        for (int row = 0; row < Rows; ++row) h(c, row) = InitRowNumbers(c, row);
    }
    NumberV = std::move(v);
    NumberH = std::move(h);
    return 0;
}

namespace {
TNumberImageSizes numberImageSizes;  // the tests' own, when set
}  // namespace

void SetNumberImageSizes(TNumberImageSizes sizes) { numberImageSizes = std::move(sizes); }

bool NumberImageSize(int set, int value, float& w, float& h) {
    if (numberImageSizes) return numberImageSizes(set, value, w, h);
    if (set < 0 || set > 1 || value < 0 || value > MaxClueValue) return false;
    const auto& image = TPNumber::NumImg[set][value];
    if (!image || ImageAssetHeight(image) <= 0) return false;
    w = static_cast<float>(ImageAssetWidth(image));
    h = static_cast<float>(ImageAssetHeight(image));
    return true;
}
