// The static mouse state the whole program polls once per frame: the pointer in logical
// (1024 x 768) coordinates, its movement and the wheel since the last update, and per button a
// pressed count and a held flag. Game code reads the fields and calls InRect instead of
// receiving events.
//
// The engine's own cursors (Mouse's cursor members, TMouseCursor) are pictures, made and drawn
// by engine/screen/MouseCursor.cpp above the assets: this header, which everything that reads
// the pointer includes, knows them by name only.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// A global horizontal shift of the pointer; 0, and nothing in the game writes it.
extern int ScreenStepX;

class TMouseCursor;
using TMouseCursorPtr = std::shared_ptr<TMouseCursor>;

class Mouse {
public:
    // ---- Cursors ----
    // The cursor drawn; none until set or until the first custom drawing takes DefaultCursor.
    static TMouseCursorPtr Cursor;
    // The cursor whose id "SETTINGS::DefaultCursor" names; none when no cursor has that id.
    static TMouseCursorPtr DefaultCursor;
    // Every cursor of "Mouse.dat", in file order.
    static std::vector<TMouseCursorPtr> CursorsList;

    // Reads "Mouse.dat" into CursorsList and sets DefaultCursor. A missing file is reported
    // (warning) and leaves no cursors: the system pointer is shown.
    static void LoadCursors();
    // Loads the image of every cursor whose image is not loaded yet.
    static void LoadAssets();
    // The first cursor of that name (any letter case), or of that id; null after a warning when
    // none has it.
    static TMouseCursorPtr GetMouseCursor(const std::string& name);
    static TMouseCursorPtr GetMouseCursorInd(int id);
    // Cursor = the cursor found (none when not found).
    static void SetMouseCursor(const std::string& name);
    static void SetMouseCursorInd(int id);
    // Once per frame: with the custom cursor off, or no cursor to draw, or a cursor whose image
    // is not (or could not be) loaded, the system pointer shows. Otherwise the system pointer is
    // hidden and the cursor drawn where the pointer is now.
    static void Draw();

    // ---- Polled state ----
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
    // Releases since the previous update: with the button held, a release and a new press
    // within one frame.
    static int LeftReleased, RightReleased, MidReleased;
    // 1 while the button is down, and for the frame after a press let go before the frame came
    // (a quick click or a tap reads as a press held for one frame: BeginInputFrame).
    static int LeftHolded, RightHolded, MidHolded;
    // The held flags of the previous update.
    static int LastLeftHolded, LastRightHolded, LastMidHolded;

    // 1 when the button is held now and was not at the previous update.
    static int StartedLeftHolded();
    static int StartedRightHolded();
    static int StartedMidHolded();
    // The presses of a button since the previous update (1 left, 2 right, 3 middle; 0 for any
    // other), and whether a press held at the previous update has been let go since: the button
    // is up, or it was released and pressed again within the frame. What every reader of a click
    // that completes on release goes by.
    static int Pressed(int button);
    static bool LetGo(int button);
    // Makes the input layer forget button states and hits, and zeroes the pressed and held
    // fields; positions and the Last... flags stay. A button still down reads as up until it
    // is pressed again.
    static void Clear();

    static void _UpdateLast();
    static void _UpdatePositions();
    static void _UpdatePressAndHold();
    // _UpdateLast, _UpdatePositions, _UpdatePressAndHold: once per frame, before any reader.
    static void Update();

    // 1 when x <= Mouse.x <= x + w and y <= Mouse.y <= y + h (all edges inside), in 64 bits so
    // that no edge wraps around.
    static int InRect(int64_t x, int64_t y, int64_t w, int64_t h);
    // The same for a rectangle centred on (x, y), computed in reals.
    static int InRectCentred(float x, float y, float w, float h);
    // InRect(x - 4, y - 4, 8, 8).
    static int InPoint(int x, int y);

    // Every field back to 0 and no cursors (tests).
    static void Reset();
};

// Mouse::Update().
void UpdateMouse();
