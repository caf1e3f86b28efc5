// The engine's own mouse cursors: "Mouse.dat" (in the data folder's "App/Data/") holds any
// number of "CURSOR" blocks ("img", "Id", "Name", "Handle", "Rotation", "Scale", "Alpha") and a
// "SETTINGS" block whose "DefaultCursor" names the default cursor by id. While the custom-cursor
// setting is on, Mouse::Draw hides the system pointer and draws the current cursor at the
// pointer, once per frame after the console; otherwise the system pointer shows.
//
// The cursor members of Mouse (engine/window/Mouse.h) are defined here, beside the pictures
// they draw.
#pragma once
#include <memory>
#include <string>

#include "engine/window/Mouse.h"

class TBlockFile;
class TImageAsset;

// One cursor of "Mouse.dat".
class TMouseCursor {
public:
    int id = 0;                        // the number by which it is chosen
    std::string Name;                  // the name by which it is chosen
    std::shared_ptr<TImageAsset> img;  // its picture; loaded with the global assets
    int hx = 0, hy = 0;                // the hotspot: the image pixel that sits at the pointer
    float ScaleX = 1.0f, ScaleY = 1.0f;
    float Alpha = 1.0f;
    float Rotation = 0.0f;  // degrees

    virtual ~TMouseCursor() = default;

    // Colour white, the cursor's rotation, scale and alpha, alpha blending; the image with its
    // hotspot at (x, y), in logical coordinates. The draw state is left as set.
    virtual void Draw(int x, int y);
    // Nothing (a cursor does not animate).
    virtual void Update() {}
    // Reads a "CURSOR" block. A "Scale" whose first value is 0 keeps the scale 1, 1; an "Alpha"
    // of 0 keeps the alpha 1. The image is made, not loaded: it goes to the game's global assets
    // (loaded before the first frame), or is loaded at once when the game takes none.
    virtual void Load(const std::shared_ptr<TBlockFile>& block);
};

// Mouse::LoadCursors(): the last step of the media managers' start-up.
void AppInitMouse();
