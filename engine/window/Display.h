// Opening the window or full screen and choosing how the logical 1024 x 768 screen is fitted
// into it, from the settings AppSettings::FullScreen and AppSettings::Stretched:
//
//   FullScreen Stretched  opened                        fit mode
//   0          1          window 1024 x 768             3 (fills it; drawing clipped)
//   0          0          window 1366 x 768             2 (centred, bands show what is drawn)
//   1          1          full screen at desktop size   3 (scaled evenly, centred, bars beside
//                                                          or above it in the border colour)
//   1          0          full screen at desktop size   2 (scaled evenly, centred)
//
// Stretched 0 (the options' "Wide screen" on) shows what is drawn beside the logical screen;
// Stretched 1 (it off) the 4:3 picture alone, scaled evenly by the same rule in the window and on
// the full screen (stretched over a wide screen, its circles would be ovals).
//
// A window fits the desktop's usable area (less its panels) with the window system's frame
// around it: where the size in the table does not fit, the largest window of the same shape that
// does, in the same fit mode (the picture scaled down evenly), centred in the usable area. The
// frame is read once the window is open (a window that then overflows is made smaller);
// where the system cannot tell it, kFrameGuessWidth x kFrameGuessHeight is left for it. Headless
// (no desktop to fit) the table's sizes hold.
//
// A full screen that cannot be opened falls back to a window (reported); a window that cannot
// be opened is retried once at a smaller size with fit mode 3.
#pragma once

// What is open. Filled by every successful opening.
class OpenedGraphics {
public:
    static int DeviceWidth;  // the desktop's size
    static int DeviceHeight;
    static int WindowWidth;  // the window's (or full screen's) size in pixels
    static int WindowHeight;
    static int VirtualWidth;  // the logical screen: 1024 x 768
    static int VirtualHeight;
    static int FullScreen;          // 1 when a full screen is open
    static int Stretched;           // 1 when the logical screen covers what is shown (fit mode 0 or flag 1)
    static int SideBordersVisible;  // 1 when bands beside the logical screen are shown
    static int isInitialized;

    static int GetScreenWidth() { return VirtualWidth; }
    static int GetScreenHeight() { return VirtualHeight; }
    static int isEditorAvailable() { return FullScreen == 0 ? 1 : 0; }
    // Back to the start state (tests).
    static void Reset();
};

// Opens the display from the settings. When the full screen asked for could not be opened, the
// setting is turned off, so that it describes what is shown and the switch toggles from there.
void AppInitGraphics();
// Opens the display as in the table above; width and height are not used (the logical size is
// always 1024 x 768). False when nothing could be opened.
bool openScreenASPECT(int width, int height, int fullScreen, int stretched);
// Flip the setting, then AppInitGraphics.
void GraphicsSwitchFullScreen();
void GraphicsSwitchStretched();
// The desktop's size in pixels (named without a leading underscore: such names are reserved
// in C++).
int desktopWidth();
int desktopHeight();
int GetGraphicsWidth();
int GetGraphicsHeight();
int GraphicsInitialized();

// The room left for a window frame that the window system does not tell.
constexpr int kFrameGuessWidth = 16;
constexpr int kFrameGuessHeight = 48;

// The window size wanted when it fits within room (width x height), else the largest size of the
// same shape that does (rounded down, at least 1 x 1). A room of 0 either way is unknown: the
// wanted size.
struct WindowSize {
    int width = 0, height = 0;
    bool operator==(const WindowSize&) const = default;
};
WindowSize FitWindowSize(int wantW, int wantH, int roomW, int roomH);

// The logical-screen size of the game.
constexpr int kLogicalWidth = 1024;
constexpr int kLogicalHeight = 768;
// How far the 1024-wide logical screen sits from the left of a 1366-wide window.
constexpr int kEditorOffsetX = 171;

// The viewport 0, 0, 5000, 5000.
void SetFullViewPort();
void SetAppViewPort(int x, int y, int w, int h);
// The same, 171 pixels further right.
void SetAppViewPortEditor(int x, int y, int w, int h);
void GetAppViewPort(int& x, int& y, int& w, int& h);
// The viewport with 171 taken off x.
void GetAppViewPortEditor(int& x, int& y, int& w, int& h);
