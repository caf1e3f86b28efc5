// The program's entry point. Until the game's start-up is in place it runs the headless-capable
// harness: it opens the letterboxed window (1366 x 768, logical screen 1024 x 768 centred) and
// runs a frame loop that draws a test pattern through the real draw state.
//
// Options:
//   --data DIR         the data folder (else data/ beside the executable, then ../data/)
//   --user-dir DIR     the per-user folder (created when missing)
//   --frames N         end after N frames
//   --fixed-delta      every frame advances the clock by exactly 1000/60 ms, no waiting
//   --input FILE       replay an input script (platform/Input.h), events keyed by frame from 0
//   --screenshot FILE  write the last frame as PNG when the run ends
#include <filesystem>
#include <string>
#include <vector>

#include "engine/System/Aspect.h"
#include "engine/System/Display.h"
#include "engine/System/Error.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Font.h"
#include "platform/Graphics.h"
#include "platform/Image.h"
#include "platform/Input.h"
#include "platform/Strings.h"

namespace {

struct HarnessOptions {
    std::string data;
    std::string userDir;
    std::string input;
    std::string screenshot;
    int frames = -1;  // -1: until the window is closed
    bool fixedDelta = false;
};

HarnessOptions ParseOptions(int argc, char** argv) {
    HarnessOptions options;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 < argc) {
                out = argv[++i];
            } else {
                Error("Option " + arg + " needs a value", "main", "ParseOptions");
            }
        };
        if (arg == "--data") {
            value(options.data);
        } else if (arg == "--user-dir") {
            value(options.userDir);
        } else if (arg == "--input") {
            value(options.input);
        } else if (arg == "--screenshot") {
            value(options.screenshot);
        } else if (arg == "--frames") {
            std::string n;
            value(n);
            if (!n.empty()) options.frames = std::max(StringToInt(n), 0);
        } else if (arg == "--fixed-delta") {
            options.fixedDelta = true;
        } else {
            Warning("Unknown option " + arg, "main", "ParseOptions");
        }
    }
    return options;
}

std::string ExecutableDir() {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? CurrentDir() : exe.parent_path().string();
}

std::string FindDataDir(const HarnessOptions& options) {
    if (!options.data.empty()) return options.data;
    std::string exeDir = ExecutableDir();
    for (const std::string& candidate : {JoinPath(exeDir, "data"), JoinPath(exeDir, "../data")})
        if (FileType(candidate) == 2) return RealPath(candidate);
    return "data";
}

// A small checkerboard with a coloured frame, made in memory.
TImagePtr MakePatternImage() {
    auto pixmap = CreatePixmap(64, 64);
    if (!pixmap) return nullptr;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            int argb = ((x / 8 + y / 8) % 2) ? int(0xFFF0F0F0) : int(0xFF3060C0);
            if (x < 3 || y < 3 || x > 60 || y > 60) argb = int(0xFFFF9020);
            pixmap->WritePixel(x, y, argb);
        }
    auto image = LoadImage(pixmap, FILTEREDIMAGE);
    MidHandleImage(image);
    return image;
}

void DrawTestPattern(int frame, const TImagePtr& image) {
    SetBlend(ALPHABLEND);
    SetAlpha(1.0f);
    SetScale(1.0f, 1.0f);
    SetRotation(0.0f);

    // The logical screen, lighter than the bands beside it.
    SetColor(44, 52, 74);
    DrawRect(0, 0, kLogicalWidth, kLogicalHeight);

    // Corners of the logical screen.
    const struct {
        float x, y;
        int r, g, b;
    } corners[] = {{0, 0, 220, 60, 60}, {960, 0, 60, 200, 90}, {0, 704, 60, 110, 230}, {960, 704, 240, 200, 40}};
    for (const auto& c : corners) {
        SetColor(c.r, c.g, c.b);
        DrawRect(c.x, c.y, 64, 64);
    }

    // Blend modes over a light panel.
    SetColor(200, 200, 200);
    DrawRect(192, 520, 640, 120);
    const struct {
        int blend;
        float alpha;
        const char* name;
    } blends[] = {{SOLIDBLEND, 1.0f, "solid"}, {ALPHABLEND, 0.5f, "alpha"}, {LIGHTBLEND, 0.6f, "light"},
                  {SHADEBLEND, 1.0f, "shade"}, {MASKBLEND, 1.0f, "mask"}};
    float bx = 212;
    for (const auto& b : blends) {
        SetBlend(b.blend);
        SetAlpha(b.alpha);
        SetColor(230, 40, 160);
        if (b.blend == MASKBLEND) {
            DrawImage(image, bx + 40, 572);
        } else {
            DrawRect(bx, 540, 80, 64);
        }
        SetBlend(ALPHABLEND);
        SetAlpha(1.0f);
        SetColor(20, 20, 20);
        DrawText(b.name, bx, 612);
        bx += 124;
    }

    // A turning, scaled image and a few primitives.
    SetColor(255, 255, 255);
    SetScale(1.5f, 1.5f);
    SetRotation(static_cast<float>(frame * 3 % 360));
    DrawImage(image, 512, 300);
    SetRotation(0.0f);
    SetScale(1.0f, 1.0f);
    SetColor(250, 220, 120);
    DrawOval(160, 220, 120, 80);
    SetColor(120, 230, 250);
    DrawLine(740, 200, 880, 380);
    DrawPoly({760, 420, 860, 420, 810, 480});

    // Text in the default font.
    SetColor(255, 255, 255);
    DrawText("Quiltora test pattern", 96, 96);
    DrawText("Frame " + std::to_string(frame), 96, 96 + TextHeight("A"));
    float mx = AspectMouseX(), my = AspectMouseY();
    DrawText("Mouse " + std::to_string(static_cast<int>(mx)) + ", " + std::to_string(static_cast<int>(my)), 96,
             96 + 2 * TextHeight("A"));
    SetScale(2.0f, 2.0f);
    SetColor(255, 230, 140);
    DrawText("1024 x 768", 380, 140);
    SetScale(1.0f, 1.0f);

    // The pointer.
    SetColor(255, 255, 0);
    DrawRect(mx - 12, my - 1, 25, 3);
    DrawRect(mx - 1, my - 12, 3, 25);
}

}  // namespace

int main(int argc, char** argv) {
    HarnessOptions options = ParseOptions(argc, argv);
    std::string dataDir = FindDataDir(options);
    if (FileType(dataDir) != 2) Error("Data folder not found: " + dataDir, "main", "main");
    SetDefaultFontPath(JoinPath(dataDir, "fonts/DejaVuSans.ttf"));
    if (!options.userDir.empty() && !CreateDir(options.userDir))
        Error("Can't create the user folder " + options.userDir, "main", "main");
    SetFixedClock(options.fixedDelta);

    std::vector<InputEvent> events;
    if (!options.input.empty()) {
        std::vector<std::string> errors;
        events = LoadInputScript(options.input, &errors);
        for (const std::string& e : errors) Error(e, options.input, "LoadInputScript");
    }

    SetAppTitle("Quiltora");
    if (!openScreenASPECT(kLogicalWidth, kLogicalHeight, 0, 0)) {
        Error("No window could be opened", "main", "main");
        return 1;
    }
    SetClsColor(24, 28, 40);
    AspectCls();
    TImagePtr image = MakePatternImage();

    // Logical positions of the script to window pixels, through the letterbox.
    auto moveLogical = [](float x, float y) {
        float sx = static_cast<float>(GraphicsWidth()) / VirtualResolutionWidth();
        float sy = static_cast<float>(GraphicsHeight()) / VirtualResolutionHeight();
        InjectMouseMove(static_cast<int>((x + AspectOffsetX) * sx + 0.5f), static_cast<int>((y + AspectOffsetY) * sy + 0.5f));
    };

    TPixmapPtr lastFrame;
    size_t nextEvent = 0;
    for (int frame = 0; options.frames < 0 || frame < options.frames; ++frame) {
        while (nextEvent < events.size() && events[nextEvent].frame <= frame) ApplyInputEvent(events[nextEvent++], moveLogical);
        PollSystem();
        if (AppTerminate()) break;

        Cls();
        DrawTestPattern(frame, image);

        // The state every frame ends with, and the strips along the right and bottom edges of
        // the 1366 x 768 area.
        SetColor(0, 0, 0);
        SetScale(1.0f, 1.0f);
        SetRotation(0.0f);
        SetBlend(ALPHABLEND);
        DrawRect(1194, 0, 2, 768);
        DrawRect(-171, 767, 1366, 2);

        if (!options.screenshot.empty()) lastFrame = GrabPixmap(0, 0, GraphicsWidth(), GraphicsHeight());
        Flip(-1);
        AspectCls();
    }

    if (!options.screenshot.empty()) {
        if (!lastFrame)
            Error("No frame to write to " + options.screenshot, "main", "main");
        else if (!SavePixmapPNG(lastFrame, options.screenshot))
            Error("Can't write the screenshot " + options.screenshot, "main", "main");
    }
    EndGraphics();
    return 0;
}
