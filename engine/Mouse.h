// The static mouse state the whole program polls once per frame: the pointer in logical
// (1024 x 768) coordinates, its movement and the wheel since the last update, and per button a
// pressed count and a held flag. Game code reads the fields and calls InRect instead of
// receiving events.
//
// The engine's own cursors (TMouseCursor, the cursor list, Cursor and DefaultCursor, loading
// "Mouse.dat" and Mouse.Draw) come with the block files and image assets they are built on;
// they belong in this class and this file.
#pragma once

// A global horizontal shift of the pointer; 0, and nothing in the game writes it.
extern int ScreenStepX;

class Mouse {
public:
    // Pointer position in logical coordinates (may be negative or beyond the logical size
    // over the letterbox bands).
    static int x, y;
    // Wheel position in notches since start.
    static float z;
    // Change of x, y and z since the previous update.
    static float vx, vy, vz;
    // x, y and z of the previous update.
    static float lastX, lastY, lastZ;
    // Presses since the previous update (normally 0 or 1).
    static int LeftPressed, RightPressed, MidPressed;
    // 1 while the button is down.
    static int LeftHolded, RightHolded, MidHolded;
    // The held flags of the previous update.
    static int LastLeftHolded, LastRightHolded, LastMidHolded;

    // 1 when the button is held now and was not at the previous update.
    static int StartedLeftHolded();
    static int StartedRightHolded();
    static int StartedMidHolded();
    // Makes the input layer forget button states and hits, and zeroes the pressed and held
    // fields; positions and the Last... flags stay. A button still down reads as up until it
    // is pressed again.
    static void Clear();

    static void _UpdateLast();
    static void _UpdatePositions();
    static void _UpdatePressAndHold();
    // _UpdateLast, _UpdatePositions, _UpdatePressAndHold: once per frame, before any reader.
    static void Update();

    // 1 when x <= Mouse.x <= x + w and y <= Mouse.y <= y + h (all edges inside).
    static int InRect(int x, int y, int w, int h);
    // The same for a rectangle centred on (x, y), computed in reals.
    static int InRectCentred(float x, float y, float w, float h);
    // InRect(x - 4, y - 4, 8, 8).
    static int InPoint(int x, int y);

    // Every field back to 0 (tests).
    static void Reset();
};

// Mouse::Update().
void UpdateMouse();
