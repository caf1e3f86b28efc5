// Text drawn in a text class: game code makes a class current and draws; the class's font is
// selected and its drop shadow, outline and coloured body are drawn in that order, each under
// the alpha in force before the call, and the draw state is left as it was found. (The start-up
// of the engine's media managers is engine/AppManagers.h.)
#pragma once
#include <string>

#include "engine/media/TextClass.h"
#include "platform/Font.h"

class AppGlobalManager {
public:
    static inline TTextClassPtr CurrTextClass;  // none at start
    // The draw state saved by PushSettings: one set, not a stack.
    static inline int RemR = 255, RemG = 255, RemB = 255;
    static inline float RemA = 1.0f;
    static inline TImageFontPtr RemFont;
    static inline int RemBlend = 3;

    static int isClassGlobal(const TClass* cls);
    static void SetTextClass(const TTextClassPtr& cls);
    // An id that names no class makes no class current.
    static void SetTextClassById(const std::string& id);
    // The layers of DrawClassText (they change colour and alpha, which DrawClassText restores).
    static void DrawClassTextShadow(const std::string& text, float x, float y);
    static void DrawClassTextOutline(const std::string& text, float x, float y);
    // The styled text with its top-left at (x, y); plain DrawText when no class is current.
    static void DrawClassText(const std::string& text, float x, float y);
    // The text ending at x / centred on x.
    static void DrawClassTextRight(const std::string& text, float x, float y);
    static void DrawClassTextCenter(const std::string& text, float x, float y);
    // Wrapped at width, each line justified over it (free room shared out after every word).
    static void DrawClassTextWrappedJust(const std::string& text, float x, float y, float width, float vSpace);
    // Wrapped at width; align 0 left, 1 centre, 2 right, 3 justified (other values draw nothing).
    static void DrawClassTextWrapped(const std::string& text, float x, float y, float width, int align, float vSpace);
    // Measured in the current class's font when it has one (which stays selected).
    static float GetAppTextWidth(const std::string& text);
    static float GetAppTextheight(const std::string& text);
    static void PushSettings();
    static void PopSettings();

    // No current class, the saved state at its defaults (tests).
    static void Reset();
};

void SetTextClass(const TTextClassPtr& cls);
void SetTextClassById(const std::string& id);
// The current class's measures (its font, else the default font), or the plain measures in the
// current font when no class is current.
int GetClassTextWidth(const std::string& text);
int GetClassTextHeight(const std::string& text);
void DrawClassText(const std::string& text, float x, float y);
void DrawClassTextRight(const std::string& text, float x, float y);
void DrawClassTextCenter(const std::string& text, float x, float y);
void DrawClassTextWrapped(const std::string& text, float x, float y, int width, int align, float vSpace);
