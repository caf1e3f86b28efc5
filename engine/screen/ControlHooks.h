// What the frame driver needs of the game and of the harness that runs it, which are built on
// top of it: the slots start-up sets (engine/system/Hook.h).
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "engine/system/Hook.h"

class TAsset;
class TAppScreen;

// What the harness of a headless run (the program's main) does at fixed points of every frame: at
// the very start, before the clear, with the frame's number (it replays its input events here,
// before the frame pumps them); after the frame is drawn, just before the flip (it grabs the
// picture here); and at the end, from AppEnd after the save-at-end list, before the exit (it
// writes its screenshot here). A part left empty does nothing.
struct TFrameHarness {
    std::function<void(int32_t frame)> frameStart{};
    std::function<void()> beforeFlip{};
    std::function<void()> atEnd{};
};

// Why slots: the frame driver (Control) is static, made before any screen of the game and before
// the harness, so there is no place where it is made to hand these in.
struct ControlHooks {
    // Hands an asset to the game's loading screen, which loads it in its last phase; false when
    // no loading screen took it (the caller then loads it itself).
    static THook<bool(const std::shared_ptr<TAsset>& asset)> AddGlobalAsset;
    // Shows the game's message pop-up over the current screen: the text, the mode that chooses its
    // buttons, and the functions run on yes and on no. False when there is no pop-up to show it
    // yet. Lower folders tell the player through it without knowing the pop-up.
    static THook<bool(const std::string& text, int mode, void (*yes)(), void (*no)())> ShowMessage;
    // The harness, which main hands in before start-up runs its own loops (the splash's frames
    // count too).
    static THookObject<TFrameHarness> Harness;
    // The game's pause: the screen whose RunPause loop runs while the window is in the background
    // (the pause is the game's own screen, made with the others).
    static THookObject<TAppScreen> PauseScreen;
};
