// Hit shapes: a polygon kept in polar form (a centre at CDist/CAngle from the object's origin,
// each point at PolyDist/PolyRot from the centre, unscaled pixels and degrees) and laid out at an
// object's derived position, rotation and scale before each point test. Stored as:
//
//     Shape{
//     	Points = 4
//     	Center = 0.000000000, 0.000000000
//     	Point1 = 55.9016991, -153.434952
//     	...
//     }
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/data/BlockFile.h"

class TAppDrawObject;
class TAppShape;
using TAppShapePtr = std::shared_ptr<TAppShape>;

class TAppShape {
public:
    float DrawCX = 0, DrawCY = 0;             // the centre as last laid out
    float CDist = 0;                          // centre's distance from the object's origin
    float CAngle = 0;                         // centre's angle seen from the origin, degrees
    std::vector<float> DrawPolyX, DrawPolyY;  // the points as last laid out
    std::vector<float> PolyDist;              // each point's distance from the centre
    std::vector<float> PolyRot;               // each point's angle seen from the centre

    virtual ~TAppShape() = default;

    // A shape of its own: the same centre and points in arrays of its own, laid out afresh by
    // the next CountPoly.
    virtual TAppShapePtr Copy();
    // The laid-out outline in magenta (alpha blend, unscaled, unrotated) with a 2x2 centre mark.
    virtual int DrawDebug(float x, float y, float rotation, float scaleX, float scaleY);
    // Point test against the points as last laid out. 1 inside, 0 outside.
    virtual int PointOver(float px, float py);
    // CountPoly(x, y, rotation, scaleX, scaleY), then the point test of (px, py).
    virtual int PointIn(float x, int y, float px, float py, float rotation, float scaleX, float scaleY);
    // Lays the shape out at an object at (x, y) turned by rotation degrees and scaled.
    virtual int CountPoly(float x, float y, float rotation, float scaleX, float scaleY);
    // Appends a "Shape" block to block / reads the "Shape" block itself.
    virtual int Save(const TBlockFilePtr& block);
    virtual int Load(const TBlockFilePtr& block);
    // Puts point index at the laid-out point (x, y) (snapped to 8 pixels when snap is not 0).
    // An index outside the points changes nothing.
    virtual int MovePoint(int index, float x, float y, int snap);
};

// A shape from absolute points and a centre, in the object's unturned, unscaled frame.
TAppShapePtr CreateAppShape(const std::vector<float>& xs, const std::vector<float>& ys, float cx, float cy);
// A w by h rectangle centred on the origin, shifted by (x, y); corners top left, top right,
// bottom right, bottom left.
TAppShapePtr CreateAppShape_Rect(float w, float h, float x, float y);
// A rectangle covering the draw object from its top-left origin (128 x 128 for null).
TAppShapePtr CreateAppShapeFromDrawObject(TAppDrawObject* drawObject);
// A new shape, then its Load(block).
TAppShapePtr LoadAppShape(const TBlockFilePtr& block);
