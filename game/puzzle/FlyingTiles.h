// Flying tiles: one board cell drawn on its way along a cubic Bezier curve, onto the board when
// a level opens (TFlyingTile, which hands the cell back to the board once it has arrived) and
// off it when the level is lost (TFlyingTileOut, which stays where it ends until the flights
// are cleared). While a flight is registered on a tile the board does not draw that tile in
// place; the flight draws the cell's current look at its own position, scale and alpha.
//
// Every flight lives in the global list FlyingTiles, advanced and drawn by DrawFlyingTiles
// right after the board; a flight moves only while it is drawn, and only from its start time.
#pragma once
#include <list>
#include <memory>

class TTile;

class TFlyingTile : public std::enable_shared_from_this<TFlyingTile> {
public:
    std::shared_ptr<TTile> Tile;  // the cell drawn by this flight
    int StartTime = 0;            // application ms from which the flight moves
    float Per = 0;                // progress 0..1
    float Speed = 0.01f;          // progress per frame at 60 frames per second
    float x = 0, y = 0;           // current position
    float x1 = 0, y1 = 0;         // start
    float x2 = 0, y2 = 0;         // end
    float mx1 = 0, my1 = 0;       // control points
    float mx2 = 0, my2 = 0;
    float s1 = 0, s2 = 0, s = 0;  // scale: start, end, current
    float a1 = 0, a2 = 0, a = 0;  // alpha
    float r1 = 0, r2 = 0, r = 0;  // rotation in degrees

    virtual ~TFlyingTile() = default;
    // What is drawn before the start time: nothing.
    virtual int OnDrawBefore() { return 0; }
    // Advances the flight (from its start time) and draws the cell.
    virtual int Draw();
    // One step along the curve, eased as sin(90 x progress).
    virtual int Update();
    // The end of the flight: Clear.
    virtual int Destroy();
    // Out of FlyingTiles, and the cell's tiles in every layer are drawn by the board again.
    virtual int Clear();

protected:
    // The cell at the current position, scale, alpha and rotation.
    int DrawCell();
};

class TFlyingTileOut : public TFlyingTile {
public:
    // The cell at its start while it waits.
    int OnDrawBefore() override;
    // Stays in the list, held at its end point.
    int Destroy() override { return 0; }
};

using TFlyingTilePtr = std::shared_ptr<TFlyingTile>;

// Every flight, in creation order.
extern std::list<TFlyingTilePtr> FlyingTiles;

// A flight of the cell from (x1, y1) through (mx1, my1) and (mx2, my2) to (x2, y2), scale s1 to
// s2, alpha a1 to a2, rotation r1 to r2, starting delay ms from now. The cell's tiles in every
// layer are left to the flight until it arrives.
TFlyingTilePtr CreateFlyingTile(const std::shared_ptr<TTile>& tile, int x1, int y1, int x2, int y2, int mx1, int my1,
                                int mx2, int my2, float s1, float s2, float a1, float a2, float r1, float r2,
                                int delay);
// The same for a flight off the board, which stays at its end. `everyLayer` 0 registers the
// flight on the given tile only; 1 on the cell's tiles in every layer, so that no layer's tile
// of the cell stays drawn in place while the cell falls away.
TFlyingTilePtr CreateFlyingTile_Out(const std::shared_ptr<TTile>& tile, int x1, int y1, int x2, int y2, int mx1,
                                    int my1, int mx2, int my2, float s1, float s2, float a1, float a2, float r1,
                                    float r2, int delay, int everyLayer = 0);
// Draw of every flight, first to last; a flight may remove itself meanwhile.
int DrawFlyingTiles();
// Clear of every flight, then an empty list.
int ClearFlyingTiles();
