#include "game/puzzle/FlyingTiles.h"

#include <algorithm>
#include <vector>

#include "engine/basics/AppTime.h"
#include "game/levels/Level.h"
#include "game/levels/Tile.h"
#include "platform/Graphics.h"
#include "platform/Maths.h"

std::list<TFlyingTilePtr> FlyingTiles;

int TFlyingTile::DrawCell() {
    SetScale(s, s);
    SetRotation(r);
    SetAlpha(a);
    SetBlend(3);
    SetColor(255, 255, 255);
    if (Tile) Tile->DrawCore(x, y);
    return 0;
}

int TFlyingTile::Draw() {
    if (AppMilliSecs() < StartTime) return OnDrawBefore();
    Update();
    return DrawCell();
}

int TFlyingTileOut::OnDrawBefore() { return DrawCell(); }

int TFlyingTile::Update() {
    if (Per == 1.0f) Destroy();
    Per += Speed * delta;
    if (Per > 1.0f) Per = 1.0f;
    const float e = static_cast<float>(SinDeg(90.0 * Per));
    const float u = 1.0f - e;
    const float b0 = u * u * u, b1 = 3.0f * u * u * e, b2 = 3.0f * u * e * e, b3 = e * e * e;
    x = x1 * b0 + mx1 * b1 + mx2 * b2 + x2 * b3;
    y = y1 * b0 + my1 * b1 + my2 * b2 + y2 * b3;
    s = s1 + (s2 - s1) * e;
    a = a1 + (a2 - a1) * e;
    r = r1 + (r2 - r1) * e;
    return 0;
}

int TFlyingTile::Destroy() { return Clear(); }

int TFlyingTile::Clear() {
    // Held while it unregisters: the list may hold the last reference.
    TFlyingTilePtr self = shared_from_this();
    auto it = std::find(FlyingTiles.begin(), FlyingTiles.end(), self);
    if (it != FlyingTiles.end()) FlyingTiles.erase(it);
    if (Tile) Tile->SetFlyingTile(nullptr);
    return 0;
}

static TFlyingTilePtr StartFlight(const TFlyingTilePtr& f, const std::shared_ptr<TTile>& tile, int x1, int y1, int x2,
                                  int y2, int mx1, int my1, int mx2, int my2, float s1, float s2, float a1, float a2,
                                  float r1, float r2, int delay) {
    f->Tile = tile;
    f->s1 = s1;
    f->s2 = s2;
    f->a1 = a1;
    f->a2 = a2;
    f->r1 = r1;
    f->r2 = r2;
    f->s = s1;
    f->a = a1;
    f->r = r1;
    f->x1 = static_cast<float>(x1);
    f->y1 = static_cast<float>(y1);
    f->x2 = static_cast<float>(x2);
    f->y2 = static_cast<float>(y2);
    f->mx1 = static_cast<float>(mx1);
    f->my1 = static_cast<float>(my1);
    f->mx2 = static_cast<float>(mx2);
    f->my2 = static_cast<float>(my2);
    f->x = f->x1;
    f->y = f->y1;
    f->StartTime = AppMilliSecs() + delay;
    FlyingTiles.push_back(f);
    return f;
}

TFlyingTilePtr CreateFlyingTile(const std::shared_ptr<TTile>& tile, int x1, int y1, int x2, int y2, int mx1, int my1,
                                int mx2, int my2, float s1, float s2, float a1, float a2, float r1, float r2,
                                int delay) {
    auto f = std::make_shared<TFlyingTile>();
    if (tile) tile->SetFlyingTile(f);
    return StartFlight(f, tile, x1, y1, x2, y2, mx1, my1, mx2, my2, s1, s2, a1, a2, r1, r2, delay);
}

TFlyingTilePtr CreateFlyingTile_Out(const std::shared_ptr<TTile>& tile, int x1, int y1, int x2, int y2, int mx1,
                                    int my1, int mx2, int my2, float s1, float s2, float a1, float a2, float r1,
                                    float r2, int delay, int everyLayer) {
    TFlyingTilePtr f = std::make_shared<TFlyingTileOut>();
    if (tile) {
        if (everyLayer) tile->SetFlyingTile(f);
        else tile->FlyingTile = f;
    }
    return StartFlight(f, tile, x1, y1, x2, y2, mx1, my1, mx2, my2, s1, s2, a1, a2, r1, r2, delay);
}

int DrawFlyingTiles() {
    for (auto it = FlyingTiles.begin(); it != FlyingTiles.end();) {
        // The next one is taken first: the current flight may take itself out of the list.
        auto next = std::next(it);
        TFlyingTilePtr f = *it;
        f->Draw();
        it = next;
    }
    return 0;
}

int ClearFlyingTiles() {
    const std::vector<TFlyingTilePtr> flights(FlyingTiles.begin(), FlyingTiles.end());
    for (const auto& f : flights) f->Clear();
    FlyingTiles.clear();
    return 0;
}
