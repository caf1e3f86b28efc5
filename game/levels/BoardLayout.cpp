#include "game/levels/BoardLayout.h"

#include <algorithm>

#include "game/levels/Level.h"
#include "game/levels/Numbers.h"
#include "game/levels/PlayFieldTables.h"
#include "game/levels/Tile.h"

// Places inside the grid: the cells follow one another at the pitch, without gaps.
int TPACLevel::InitSubPositions() {
    const float g = GridSizeAt(Size);
    for (int c = 0; c < Tile.Dim0(); ++c) {
        for (int row = 0; row < Tile.Dim2(); ++row)
            for (int col = 0; col < Tile.Dim1(); ++col) {
                auto& t = Tile(c, col, row);
                if (!t) continue;
                t->size = Size;
                t->LevelX = static_cast<float>(col) * g;
                t->LevelY = static_cast<float>(row) * g;
            }
    }
    for (int c = 0; c < NumberH.Dim0(); ++c)
        for (int row = 0; row < NumberH.Dim1(); ++row)
            if (auto& line = NumberH(c, row)) line->SetSize(Size);
    for (int c = 0; c < NumberV.Dim0(); ++c)
        for (int col = 0; col < NumberV.Dim1(); ++col)
            if (auto& line = NumberV(c, col)) line->SetSize(Size);
    return 0;
}

int TPACLevel::InitSizes() {
    const float g = GridSizeAt(Size);
    auto first = Tile.At(0, 0, 0);
    auto lastCol = Tile.At(0, Cols - 1, 0);
    auto lastRow = Tile.At(0, 0, Rows - 1);
    if (first && lastCol && lastRow) {
        GridWidth = static_cast<int>(lastCol->LevelX - first->LevelX + g);
        GridHeight = static_cast<int>(lastRow->LevelY - first->LevelY + g);
    } else {
        // A level without tiles has no grid to measure.
        GridWidth = 0;
        GridHeight = 0;
    }
    Width = GridWidth + NumbersWidth;
    Height = GridHeight + NumbersHeight;
    return 0;
}

int TPACLevel::CountPosition() {
    const float g = GridSizeAt(Size);
    const float h = GridSizeHalfAt(Size);
    GridX = x - static_cast<float>(TileMiddle) * g;
    GridY = y - static_cast<float>(TileMiddle) * g;
    for (auto& t : Tile.Cells())
        if (t) t->SetDrawPosition(x + h + t->LevelX, y + h + t->LevelY);
    CountNumbersPosition();
    InitSizes();
    return 0;
}

int TPACLevel::CountNumbersPosition() {
    int top = NumbersExtentStartY;
    int left = NumbersExtentStartX;
    for (int c = 0; c < Colors; ++c) {
        for (int col = 0; col < Cols; ++col)
            if (auto line = NumberV.At(c, col)) {
                line->CountNumbersPosition();
                const int m = line->GetMinDrawY();
                if (m < top) top = m;
            }
        for (int row = 0; row < Rows; ++row)
            if (auto line = NumberH.At(c, row)) {
                line->CountNumbersPosition();
                const int m = line->GetMinDrawX();
                if (m < left) left = m;
            }
    }
    if (auto first = Tile.At(0, 0, 0)) {
        NumbersWidth = static_cast<int>(first->DrawX - static_cast<float>(left));
        NumbersHeight = static_cast<int>(first->DrawY - static_cast<float>(top));
    } else {
        NumbersWidth = 0;
        NumbersHeight = 0;
    }
    return 0;
}

float BoardAreaRight = static_cast<float>(NumbersExtentStartX);

int TPACLevel::Center() {
    // The grid's right edge is the centre plus half the block; past the panel's edge less the
    // gap, the block moves left.
    const float half = static_cast<float>(GridWidth + NumbersWidth) * 0.5f;
    const float centreX = std::min(static_cast<float>(BoardCentreX), BoardAreaRight - BoardPanelGap - half);
    const int cx =
        static_cast<int>(centreX - static_cast<float>(GridWidth) * 0.5f + static_cast<float>(NumbersWidth) * 0.5f);
    const int cy = static_cast<int>(static_cast<float>(BoardCentreY) - static_cast<float>(GridHeight) * 0.5f +
                                    static_cast<float>(NumbersHeight) * 0.5f);
    SetPosition(static_cast<float>(cx), static_cast<float>(cy));
    return 0;
}

int TNumberLine::CountNumbersPosition() {
    if (!Level) return 0;
    const float g = GridSizeAt(Size);
    const float h = GridSizeHalfAt(Size);
    const float numberScale = NumberScaleAt(Size);
    if (Pionowo == 1) {
        auto cell = Level->GetTile(0, RC, 0);
        const float cellX = cell ? cell->LevelX : static_cast<float>(RC) * g;
        const float cellY = cell ? cell->LevelY : 0.0f;
        const int nx = static_cast<int>(cellX + h);
        float ny = cellY - g * 0.5f;
        for (auto& n : Number) {
            n->SetPosition(nx, static_cast<int>(ny));
            ny -= n->GetHeight() * numberScale * ColumnNumberStep;
        }
    } else {
        auto cell = Level->GetTile(0, 0, RC);
        const float cellX = cell ? cell->LevelX : 0.0f;
        const float cellY = cell ? cell->LevelY : static_cast<float>(RC) * g;
        const int ny = static_cast<int>(cellY + h);
        float nx = cellX - g * 0.5f;
        // Neighbours stand apart by the width of a one-digit number, edge to edge (each image is
        // drawn about its middle), so that a run reads evenly whatever the digits of its numbers;
        // a run of one-digit numbers keeps the pitch of RowNumberStep widths.
        const float gap = OneDigitWidth() * numberScale * (RowNumberStep - 1.0f);
        const TPNumber* right = nullptr;
        for (auto& n : Number) {
            if (right) nx -= (right->GetWidth() + n->GetWidth()) * 0.5f * numberScale + gap;
            n->SetPosition(static_cast<int>(nx), ny);
            right = n.get();
        }
    }
    return 0;
}

int TNumberLine::GetMinDrawY() const {
    int m = NumbersExtentStartY;
    for (const auto& n : Number)
        if (n->DrawY < static_cast<float>(m)) m = static_cast<int>(n->DrawY);
    return m;
}

int TNumberLine::GetMinDrawX() const {
    int m = NumbersExtentStartX;
    for (const auto& n : Number)
        if (n->DrawX < static_cast<float>(m)) m = static_cast<int>(n->DrawX);
    return m;
}

// The size of the number's image, 0 by 0 while the images are not loaded.
static bool ImageSizeOf(const TPNumber& n, float& w, float& h) {
    w = h = 0.0f;
    return NumberImageSize(TPNumber::ImgInd(n.Size), TPNumber::ImageValue(n.Value), w, h);
}

float TNumberLine::OneDigitWidth() const {
    float w = 0.0f, h = 0.0f;
    NumberImageSize(TPNumber::ImgInd(Size), 0, w, h);
    return w;
}

int TPNumber::SetPosition(int px, int py) {
    x = px;
    y = py;
    if (ow == 0) {
        float w, h;
        if (ImageSizeOf(*this, w, h)) {
            ow = static_cast<int>(w);
            oh = static_cast<int>(h);
        }
    }
    ox = static_cast<int>(static_cast<float>(x) - static_cast<float>(ow) * 0.5f);
    oy = static_cast<int>(static_cast<float>(y) - static_cast<float>(oh) * 0.5f);
    if (Level) {
        DrawX = Level->x + static_cast<float>(x);
        DrawY = Level->y + static_cast<float>(y);
    }
    return 0;
}

// Every one-digit image is as wide as the others (the 1's too, its digit centred in it), so a
// number's width is its image's.
float TPNumber::GetWidth() const {
    float w, h;
    ImageSizeOf(*this, w, h);
    return w;
}

float TPNumber::GetHeight() const {
    float w, h;
    ImageSizeOf(*this, w, h);
    return h;
}
