// The start-up order of the engine's media managers and the editing routine that saves their
// files. It sits above every folder of the engine because the managers live in several of them:
// text classes and fonts (media), emitter presets (particles), sounds (media) and the mouse
// cursors (screen).
#pragma once

// Start-up: text classes, fonts, emitter presets, sounds, mouse cursors, in this order. The text
// classes load their fonts on demand before the font list is read; fonts both name are shared.
void AppInitManagers();
// Editing routine (the running game does not call it): writes the class list, the font list and
// the emitter presets.
void AppSaveManagers();
