// System services: finding and running other programs, whether a desktop is there to show a
// window of another program on, and a plain dialog of the desktop.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The full path of an executable file called `name` in a folder of the PATH; "" when there is
// none (a name holding "/" is never searched).
std::string FindProgram(const std::string& name);

// Runs argv[0] (a full path) with the argument vector as given, with no shell between: no
// argument is ever split, expanded or interpreted. Standard input is empty; standard error is
// the game's. Waits for the program to end and returns what it wrote to its standard output.
// `exitCode` (when given) receives its exit status, or -1 when it could not be started or did
// not end normally.
std::string RunProgram(const std::vector<std::string>& argv, int* exitCode = nullptr);

// True when there is a desktop another program could open a window on: the video driver in use
// (SDL's current one, else the one SDL_VIDEODRIVER asks for) is not "offscreen" or "dummy",
// and DISPLAY or WAYLAND_DISPLAY names a display.
bool DesktopAvailable();

// True when the game's own window has somewhere to go, read from the environment alone (nothing
// is started): SDL_VIDEODRIVER asks for a driver that needs no display named (the headless
// "offscreen" or "dummy", the console's "kmsdrm", ...), or the display a driver it asks for
// needs is named ("x11": DISPLAY, "wayland": WAYLAND_DISPLAY), or, with no driver asked for,
// DISPLAY or WAYLAND_DISPLAY names one. Without it SDL would fall back to a window nobody sees.
bool WindowDisplayNamed();

// Starts the video of the game's window (SDL's) and says where it could not: "" when the window
// has somewhere to go, else what could not be reached, named as the player set it (the display
// ":119" of DISPLAY, the socket of WAYLAND_DISPLAY, or the driver SDL_VIDEODRIVER asks for). With
// no driver asked for, the window must go to the display DISPLAY or WAYLAND_DISPLAY names: SDL's
// own fall-back to another driver (offscreen, where nobody sees the window) counts as not
// reached, and the video is stopped again. Only a driver asked for by name runs without a display.
std::string StartWindowVideo();

// A plain dialog of the system: a title, a text and an OK button, shown over everything until the
// player presses OK (it does not need the game's window or its screens). The function that shows
// it returns true when it was shown.
using TPlainDialog = std::function<bool(const std::string& title, const std::string& text)>;
// Replaces the dialog (tests); an empty function restores the default, SDL's simple message box,
// shown only when a desktop is available (a headless run shows nothing).
void SetPlainDialog(TPlainDialog dialog);
// Shows the dialog; false when it could not be shown (no desktop, or the system refused it).
// SDL's message box makes each line of its text one line of the box, however long: the text is
// shown broken into lines of kPlainDialogColumns characters (WrapDialogText), so that the box
// stays inside any screen.
bool ShowPlainDialog(const std::string& title, const std::string& text);
constexpr size_t kPlainDialogColumns = 60;
// The text broken into lines of at most `columns` characters (UTF-8 characters, not bytes): at
// the last blank that fits, and inside a word longer than a whole line (a long folder name); the
// line breaks it holds are kept, the blanks at a break dropped.
std::string WrapDialogText(const std::string& text, size_t columns);

// How the allocator keeps large blocks, set once at the start of main. A block of 256 kB or
// more (decoded pictures, file contents, sounds converted for the device, the renderer's
// textures) is mapped on its own and goes back to the system as soon as it is freed. (By default
// the threshold rises to the size of the first such block freed, after which they are taken from
// the heap and stay resident once freed: the pictures of the screens left would keep their room,
// and the resident memory would move by several MB from one visit of a screen to the next.) The
// heap's free top goes back to the system only beyond 1 MB: the renderer allocates and frees
// blocks of a hundred kB or more at each draw, and giving each back (the default beyond 128 kB)
// took the memory away from all its threads at every draw, then faulted it in again, which cost
// tens of ms of a frame on a busy virtual machine. ReleasePicturesUnusedSince trims the heap.
void SetAllocatorThresholds();
// While one lives, a large block comes from the heap and a block freed stays in it (the renderer's
// storage for a texture then takes the pages of a block of the heap freed just before it).
class TLargeBlocksInHeap {
public:
    TLargeBlocksInHeap();
    ~TLargeBlocksInHeap();
    TLargeBlocksInHeap(const TLargeBlocksInHeap&) = delete;
    TLargeBlocksInHeap& operator=(const TLargeBlocksInHeap&) = delete;
};

// The process's memory now, in kB (from /proc/self/smaps and the allocator): what is resident;
// of it the renderer's code (the GL driver's libraries and the compiler they use) and the
// anonymous memory (the heap, thread stacks, the renderer's buffers and textures); and what the
// program holds allocated on the heap. Zeros where the system does not tell.
struct TProcessMemory {
    int64_t residentKb = 0, rendererCodeKb = 0, anonymousKb = 0, heapInUseKb = 0;
};
TProcessMemory ReadProcessMemory();
