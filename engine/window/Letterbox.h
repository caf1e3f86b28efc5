// The letterbox: maps the fixed logical screen (1024 x 768 in this game) onto a window or full
// screen of any size, and wraps the drawing layer's origin, viewport, clear and mouse so that
// callers work in logical coordinates only.
//
// Fit modes: 0 stretches the logical screen over the whole window (x and y scaled apart). Any
// other value fits it with one scale for both axes and centres it; the bands beside or above it
// stay part of the virtual area. Flag 1 added: the borders are cleared in the border colour and
// drawing is clipped to the logical screen. Flag 4 added: the scale is cut down to a whole
// number (at least 1) and the offsets are floored. The game uses 0, 2 and 3.
#pragma once

struct TAspectColor {
    int r = 0, g = 0, b = 0;
};

// Module state (all 0 at start).
extern float AspectWidth;
extern float AspectHeight;
extern int AspectMode;
// The logical screen's top-left corner in the drawing layer's virtual coordinates.
extern float AspectOffsetX;
extern float AspectOffsetY;
extern TAspectColor AspectBorderColor;

// Stores the size and the mode (1 keeps the stored mode) and fits the logical screen to the
// window that is open.
void SetAspectResolution(float width, float height, int mode);
void SwitchAspectMode(int mode);
void SetAspectColor(int r, int g, int b);
// Clears the whole window for the next frame: with flag 1 the borders in the border colour and
// the logical screen in the clear colour, else the whole viewport in the clear colour.
void AspectCls();
void SetAspectOrigin(float x, float y);
void GetAspectOrigin(float& x, float& y);
// A viewport in logical coordinates, cut to the logical screen (a negative size is passed on).
void SetAspectViewport(int x, int y, int width, int height);
// The viewport with x and y in logical coordinates (truncated).
void GetAspectViewport(int& x, int& y, int& width, int& height);
// The pointer in logical coordinates; negative or beyond the logical size over a band.
float AspectMouseX();
float AspectMouseY();
void MoveAspectMouse(float x, float y);
float AspectResolutionWidth();
float AspectResolutionHeight();

// Back to the start state (tests).
void ResetAspect();
