#include "engine/AppManagers.h"

#include "engine/media/AppFont.h"
#include "engine/media/SoundManager.h"
#include "engine/media/TextClass.h"
#include "engine/particles/Emitter.h"
#include "engine/screen/MouseCursor.h"

void AppInitManagers() {
    AppInitClasses();
    AppInitFonts();
    AppInitEmitterPresets();
    AppInitSounds();
    AppInitMouse();
}

void AppSaveManagers() {
    AppClassManager::Save();
    AppFontManager::Save();
    AppEmittersPresetsSave();
}
