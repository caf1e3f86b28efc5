// The engine's UI widgets: game objects with a box size and per-frame mouse flags that screens
// poll instead of receiving callbacks.
//
//   TUIText          type 1, "Text"          a text in a text class, laid out in its box
//   TUIImage         type 2, "Image"         one image asset
//   TUIButton        type 3, "Button"        four views (NORMAL, OVER, CLICK, DISABLED) that
//                                            cross-fade, and the flags isOver, isHold, isClick
//   TUIOverBox       type 5, "OverBox"       an invisible area that takes part in mouse tracking
//   TUIButton_Light  type 7, "Button_Light"  a button that lays an additive glow over itself
//
// A button read from a file lists its views as sub-objects, by position: NORMAL image, NORMAL
// text, OVER image, OVER text, CLICK image, CLICK text, DISABLED image, DISABLED text; or,
// without texts, the four images in that order.
//
// Own data in game-object files ("OwnData" block):
//     Button, Button_Light:  Sizes = w, h          ChangeSpeed = 0.100000001
//     Image:                 imageUrl = "#BDIR#..."  Handle = hx, hy
//     Text:                  Sizes = w, h  TextLine = n  (or Text = "...")
//                            Class = "id"  (or a "Class" block holding the style itself)
//     OverBox:               Sizes = w, h
// An image widget named N on a screen whose file lies in folder D shows D/N.jpg, else D/N.png,
// when such a file exists, whatever its "imageUrl" says (and then saves no path).
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "engine/screen/AppVar.h"
#include "engine/screen/GameObject.h"
#include "engine/media/AppSound.h"
#include "engine/media/Img.h"
#include "engine/media/TextClass.h"
#include "platform/Font.h"

class TImageAsset;
class TTextAsset;
class TUIImage;
class TUIText;
class TUIButton;
class TUIButton_Light;
class TUIOverBox;

using TUIImagePtr = std::shared_ptr<TUIImage>;
using TUITextPtr = std::shared_ptr<TUIText>;
using TUIButtonPtr = std::shared_ptr<TUIButton>;
using TUIButton_LightPtr = std::shared_ptr<TUIButton_Light>;
using TUIOverBoxPtr = std::shared_ptr<TUIOverBox>;

class TUIObject : public TGameObject {
public:
    int32_t Width = 0;   // box width, virtual pixels
    int32_t Height = 0;  // box height
    // The widget's own "mouse over" flag (kept by buttons). It hides the scene node's isOver,
    // which widgets do not use.
    int32_t isOver = 0;
    int32_t isClick = 0;   // a click completed this frame (kept by buttons)
    int32_t isHold = 0;    // pressed on the widget and still down (kept by buttons)
    int32_t isActive = 1;  // 0 locks the widget out of mouse handling

    // Widgets take part in the screen's mouse reports only while active.
    int isActiveForMouse() override { return isActive; }
    // Width and Height (an image widget gives its image's size).
    int GetWidgetSize(int& w, int& h) override;

    // Width, Height and isActive; the other flags are not copied.
    virtual int CopyUIObjectData(TUIObject* target);
    // A translucent box over the widget's area (a developer aid).
    virtual int DrawUIGizmos();
    // Sets the box and moves the widget to (x, y). A button's collider is made (or resized) to
    // cover the box from its position.
    virtual int SetDims(int x, int y, int w, int h);
    virtual int GetMyStateInd() { return 0; }
    // The collider mouse test: 0 the main collider, n the n-th collider; 0 when there is none.
    virtual int UpdateOver(int i);
};

class TUIImage : public TUIObject {
public:
    std::shared_ptr<TImageAsset> Img;  // shared with whoever else holds the asset
    int32_t hx = 0, hy = 0;            // kept and written back; drawing uses the asset's handle
    int32_t DontSaveUrl = 0;           // the picture was found beside the screen file by name

    TGameObjectPtr Copy() override;
    int OnLoadAsset() override;
    int OnFreeAsset() override;
    int GetTypeInt() override { return 2; }
    int SaveMyData(const TBlockFilePtr& block) override;
    int LoadMyData(const TBlockFilePtr& block, TLoadList* list) override;
    int GetWidgetSize(int& w, int& h) override;

    // The target shares this widget's asset.
    virtual int CopyUIImageData(TUIImage* target);
    // Draws now, whatever the frame pass is doing (nothing under a disabled parent).
    virtual int DrawNow();
    // The loaded image's size; 0 without an asset or before it is loaded.
    virtual int GetWidth();
    virtual int GetHeight();
    // The widget shows this asset (null: a draw object without a picture).
    virtual int SetImg(const std::shared_ptr<TImageAsset>& asset);
};

class TUIText : public TUIObject {
public:
    TTextClassPtr Class;                    // the text style
    std::string Text;                       // the text shown
    int32_t TextLine = 0;                   // line of the screen's text file the text came from; 0 given directly
    std::shared_ptr<TTextAsset> TextAsset;  // held only

    TGameObjectPtr Copy() override;
    int GetTypeInt() override { return 1; }
    int SaveMyData(const TBlockFilePtr& block) override;
    int LoadMyData(const TBlockFilePtr& block, TLoadList* list) override;

    // Shares the class, copies the line number and lays the text out in the target.
    virtual int CopyUITextData(TUIText* target);
    // The class's colour (and alpha) becomes the colour of the default state.
    virtual int BuildStates();
    virtual int DrawNow();
    // Where the last drawn line ended (0 without a draw object).
    virtual float GetTextEndX();
    // A null class is reported and replaced by the default class; the text is laid out again.
    virtual int SetClass(const TTextClassPtr& cls);
    // Lays the text out in the class's font in the widget's box.
    virtual int SetText(const std::string& text);
    // A text whose widest line is wider than maxWidth (a long word runs past its box) is drawn
    // scaled down to that width, about the middle of its box; a text that fits is drawn at its
    // own size again. Sets the widget's scale and moves it within its parent; call it after
    // every SetText.
    virtual int FitToWidth(float maxWidth);
    // A text that does not fit its box (a long message, taller than the box, or a word wider
    // than it) is laid out again in a box larger by 1 / k and drawn scaled by k, so that it fills
    // the widget's box: the largest k, in steps of 5 %, at which it fits whole (never below 0.3).
    // A text that fits is laid out and drawn at its own size. Call it after SetText.
    virtual int FitToBox();
    virtual TImageFontPtr GetClassFont();
    virtual int GetClassHAlign();
    virtual int GetClassVAlign();
};

class TUIButton : public TUIObject {
public:
    enum { NORMAL = 0, OVER = 1, CLICK = 2, DISABLED = 3 };

    float ChangeSpeed = 0.1f;  // a view's visibility step per frame at 60 frames per second
    std::array<TUIImagePtr, 4> SubImage;
    std::array<TUITextPtr, 4> SubText;
    std::array<TAppVarPtr, 4> ViewVar;  // visibility of each view, 0..1 (made by OnStart)

    // The engine's click sound: the sound manager's click, played by the mouse test of every
    // game object on a press.
    static TAppSoundPtr& GClickSound;

    // UpdateOverAndHold, UpdateStatesValue, UpdateStatesChange, UpdateChangesView.
    int Update() override;
    // A started copy; ChangeSpeed is not copied.
    TGameObjectPtr Copy() override;
    // Binds the views to the sub-objects by position and makes the view values.
    int OnStart() override;
    int GetTypeInt() override { return 3; }
    int SaveMyData(const TBlockFilePtr& block) override;
    int LoadMyData(const TBlockFilePtr& block, TLoadList* list) override;
    // A button never takes the hold over from another object the screen holds.
    int isHolded() override;
    // A button disabled as a game object forgets its click and its hold.
    int OnDisable() override;

    // Sub-object i (from 0, in the order added); null past the last one.
    virtual TGameObjectPtr GetFromSubObjectsList(int i);
    virtual int SetChangeSpeed(float speed);
    // The alpha of view i's image and text (nothing when the view has no image).
    virtual int SetSubAlpha(int i, float alpha);
    virtual int UpdateOverAndHold();
    virtual int UpdateStatesValue();
    virtual int UpdateStatesChange();
    virtual int UpdateChangesView();
};

class TUIButton_Light : public TUIButton {
public:
    TGameObjectPtr Copy() override;
    int OnStart() override;
    int GetTypeInt() override { return 7; }
    // The glow: the picture and the caption again, additively, while the pointer is over.
    int Draw() override;
    int UpdateStatesValue() override;
    int UpdateChangesView() override { return 0; }

    // The NORMAL picture and caption drawn at the button's own position.
    virtual int DrawButtonSubObjects();
};

class TUIOverBox : public TUIObject {
public:
    // A new box of this size; nothing else is copied.
    TGameObjectPtr Copy() override;
    int GetTypeInt() override { return 5; }
    int SaveMyData(const TBlockFilePtr& block) override;
    int LoadMyData(const TBlockFilePtr& block, TLoadList* list) override;
};

// ---- Creation ----

// What a picture can be given as: nothing, a file path, a loaded image or an image asset.
using TUIImageSource = std::variant<std::monostate, std::string, TImgPtr, std::shared_ptr<TImageAsset>>;

// A started button with four views, each an image and a caption (names "NORMAL_Image",
// "NORMAL_Text", ... "DISABLED_Text"), collider over (x, y, w, h); under parent when given.
TUIButtonPtr CreateUIButton(const std::vector<std::string>& texts, const std::vector<TUIImageSource>& images, int x,
                            int y, int w, int h, const std::vector<TTextClassPtr>& classes,
                            TGameObject* parent = nullptr);
TUIButtonPtr SimpleCreateUIButton(const std::string& text, const TImgPtr& img, int x, int y, int w, int h,
                                  const TTextClassPtr& cls, TGameObject* parent = nullptr);
TUIButton_LightPtr CreateUILightButton(const std::string& text, const TUIImageSource& image, int x, int y, int w, int h,
                                       const TTextClassPtr& cls, TGameObject* parent = nullptr);
// Four entries: entry i, else entry 0, else "Button".
std::vector<std::string> CreateAppUI_TextsArray(const std::vector<std::string>& texts);
// Four entries: entry i, else entry 0, else nothing.
std::vector<TUIImageSource> CreateAppUI_ObjectsArray(const std::vector<TUIImageSource>& images);
// Four entries: entry i, else a fresh copy of entry 0, else the default class.
std::vector<TTextClassPtr> CreateAppUI_TextClassArray(const std::vector<TTextClassPtr>& classes);

// An image widget named "Image" at (x, y); a path is loaded at once. Not started.
TUIImagePtr CreateUIImage(const TUIImageSource& image, int x, int y, TGameObject* parent = nullptr);
// A text widget named "Text" in the box (x, y, w, h). Not started.
TUITextPtr CreateUIText(const std::string& text, int x, int y, int w, int h, const TTextClassPtr& cls,
                        TGameObject* parent = nullptr);
// An over box named "OverBox" (no collider until one is added).
TUIOverBoxPtr CreateUIOverBox(int x, int y, int w, int h, TGameObject* parent = nullptr);

// Start-up: registers the widget types 1, 2, 3, 5, 7 and the sound object (8) with the
// game-object factory, and makes the mouse test of game objects play the button click sound.
void InstallWidgets();
