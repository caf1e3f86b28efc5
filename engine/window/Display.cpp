#include "engine/window/Display.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "engine/window/Letterbox.h"
#include "engine/system/Error.h"
#include "engine/data/Settings.h"
#include "platform/Graphics.h"
#include "platform/Maths.h"

int OpenedGraphics::DeviceWidth = 0;
int OpenedGraphics::DeviceHeight = 0;
int OpenedGraphics::WindowWidth = 0;
int OpenedGraphics::WindowHeight = 0;
int OpenedGraphics::VirtualWidth = 0;
int OpenedGraphics::VirtualHeight = 0;
int OpenedGraphics::FullScreen = 0;
int OpenedGraphics::Stretched = 0;
int OpenedGraphics::SideBordersVisible = 0;
int OpenedGraphics::isInitialized = 0;

void OpenedGraphics::Reset() {
    DeviceWidth = DeviceHeight = WindowWidth = WindowHeight = VirtualWidth = VirtualHeight = 0;
    FullScreen = Stretched = SideBordersVisible = isInitialized = 0;
}

namespace {

constexpr int kHertz = 60;
constexpr int kWideWindowWidth = 1366;
// How long a window manager is given to tell the window's frame.
constexpr int kFrameWaitMs = 300;

std::string SizeText(int w, int h) { return std::to_string(w) + " x " + std::to_string(h); }

void FillOpenedGraphics() {
    OpenedGraphics::DeviceWidth = desktopWidth();
    OpenedGraphics::DeviceHeight = desktopHeight();
    OpenedGraphics::WindowWidth = GraphicsWidth();
    OpenedGraphics::WindowHeight = GraphicsHeight();
    OpenedGraphics::VirtualWidth = TruncToInt(AspectResolutionWidth());
    OpenedGraphics::VirtualHeight = TruncToInt(AspectResolutionHeight());
    OpenedGraphics::FullScreen = GraphicsDepth() != 0 ? 1 : 0;
    OpenedGraphics::Stretched = (AspectMode == 0 || (AspectMode & 1)) ? 1 : 0;
    OpenedGraphics::SideBordersVisible = (AspectMode != 0 && !(AspectMode & 1) && AspectOffsetX >= 1.0f) ? 1 : 0;
    OpenedGraphics::isInitialized = 1;
}

// The open window fitted to the usable area with its frame: opened again smaller where the frame
// makes it overflow, then centred there.
void FitOpenWindow(int wantW, const DesktopArea& area) {
    // The frame matters only where the window nearly fills the area: only then is it waited for.
    const bool tight =
        GraphicsWidth() + kFrameGuessWidth > area.width || GraphicsHeight() + kFrameGuessHeight > area.height;
    WindowFrame frame = OpenWindowFrame(tight ? kFrameWaitMs : 0);
    if (!frame.known) {
        frame.left = frame.right = kFrameGuessWidth / 2;
        frame.top = kFrameGuessHeight;
        frame.bottom = 0;
    }
    const int frameW = frame.left + frame.right, frameH = frame.top + frame.bottom;
    const WindowSize fitted =
        FitWindowSize(wantW, kLogicalHeight, std::max(area.width - frameW, 1), std::max(area.height - frameH, 1));
    if (fitted.width < GraphicsWidth() || fitted.height < GraphicsHeight()) {
        if (Graphics(fitted.width, fitted.height, 0, kHertz, 0))
            OpenWindowFrame(tight ? kFrameWaitMs : 0);  // the new window framed before it is placed
        else
            Warning("Can't make the window " + SizeText(fitted.width, fitted.height) + " to fit the desktop (" +
                        GraphicsError() + ")",
                    Here());
    }
    MoveOpenWindow(area.x + std::max((area.width - GraphicsWidth() - frameW) / 2, 0) + frame.left,
                   area.y + std::max((area.height - GraphicsHeight() - frameH) / 2, 0) + frame.top);
}

// A window for the stretched setting, fitted to the desktop; when it cannot be opened, one retry
// at a size that fits the desktop. False when no window could be opened.
bool OpenWindow(int stretched) {
    const int w = stretched ? kLogicalWidth : kWideWindowWidth;
    const DesktopArea area = SystemUsableArea();
    const WindowSize size = FitWindowSize(w, kLogicalHeight, area.width, area.height);
    if (Graphics(size.width, size.height, 0, kHertz, 0)) {
        if (area.width > 0 && area.height > 0) FitOpenWindow(w, area);
        // The same fit at any size: the picture scales with the window.
        SetAspectResolution(kLogicalWidth, kLogicalHeight, stretched ? 3 : 2);
        return true;
    }
    std::string firstError = GraphicsError();
    int deskH = desktopHeight();
    int retryW, retryH;
    if (deskH > 0 && deskH <= 600) {
        retryW = 640;
        retryH = 480;
    } else if (deskH > 0 && deskH <= 768) {
        retryW = 819;
        retryH = 614;
    } else if (w != kLogicalWidth) {
        // A tall desktop has room for the logical size itself.
        retryW = kLogicalWidth;
        retryH = kLogicalHeight;
    } else {
        retryW = 819;
        retryH = 614;
    }
    Warning("Can't open a window of " + SizeText(size.width, size.height) + " (" + firstError + "), trying " +
                SizeText(retryW, retryH),
            Here());
    if (Graphics(retryW, retryH, 0, kHertz, 0)) {
        SetAspectResolution(kLogicalWidth, kLogicalHeight, 3);
        return true;
    }
    Error("Can't open a window (" + GraphicsError() + ")", Here());
    return false;
}

}  // namespace

WindowSize FitWindowSize(int wantW, int wantH, int roomW, int roomH) {
    if (roomW <= 0 || roomH <= 0 || (wantW <= roomW && wantH <= roomH)) return {wantW, wantH};
    // In 64 bits: the products of two sizes.
    const int64_t w = wantW, h = wantH;
    if (int64_t(roomW) * h <= int64_t(roomH) * w) return {roomW, std::max(static_cast<int>(int64_t(roomW) * h / w), 1)};
    return {std::max(static_cast<int>(int64_t(roomH) * w / h), 1), roomH};
}

bool openScreenASPECT(int width, int height, int fullScreen, int stretched) {
    (void)width;
    (void)height;
    if (fullScreen) {
        bool open = GraphicsDepth() == 32;  // only the fit changes
        if (!open) {
            int dw = desktopWidth(), dh = desktopHeight();
            open = Graphics(dw, dh, 32, kHertz, 0);
            if (!open)
                Error("Can't open the full screen at " + SizeText(dw, dh) + " (" + GraphicsError() +
                          "), opening a window instead",
                      Here());
        }
        if (open) {
            // Without the wide screen the picture keeps its shape, as in the 4:3 window.
            SetAspectResolution(kLogicalWidth, kLogicalHeight, stretched ? 3 : 2);
            FillOpenedGraphics();
            return true;
        }
    }
    if (!OpenWindow(stretched)) return false;
    FillOpenedGraphics();
    return true;
}

void AppInitGraphics() {
    openScreenASPECT(kLogicalWidth, kLogicalHeight, AppSettings::GetFullScreen(), AppSettings::GetStretched());
    if (AppSettings::GetFullScreen() && !OpenedGraphics::FullScreen) AppSettings::SetFullScreen(0);
}

void GraphicsSwitchFullScreen() {
    AppSettings::SetFullScreen(AppSettings::GetFullScreen() == 0 ? 1 : 0);
    AppInitGraphics();
}

void GraphicsSwitchStretched() {
    AppSettings::SetStretched(AppSettings::GetStretched() == 0 ? 1 : 0);
    AppInitGraphics();
}

int desktopWidth() { return SystemDesktopWidth(); }
int desktopHeight() { return SystemDesktopHeight(); }
int GetGraphicsWidth() { return OpenedGraphics::GetScreenWidth(); }
int GetGraphicsHeight() { return OpenedGraphics::GetScreenHeight(); }
int GraphicsInitialized() { return OpenedGraphics::isInitialized; }

void SetFullViewPort() { SetViewport(0, 0, 5000, 5000); }
void SetAppViewPort(int x, int y, int w, int h) { SetViewport(x, y, w, h); }
void SetAppViewPortEditor(int x, int y, int w, int h) { SetViewport(x + kEditorOffsetX, y, w, h); }
void GetAppViewPort(int& x, int& y, int& w, int& h) { GetViewport(x, y, w, h); }

void GetAppViewPortEditor(int& x, int& y, int& w, int& h) {
    GetViewport(x, y, w, h);
    x -= kEditorOffsetX;
}
