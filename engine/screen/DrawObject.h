// What a game object draws at its derived position: a filled rectangle, an image asset, a
// word-wrapped text in a text class, or a vector-animation asset. A draw object holds no
// position, colour or transform of its own: it draws at the point it is given, in the current
// draw state.
//
// Stored as a block under its owner:
//     DrawObject{
//     	Type = 3                  (1 Rect, 2 Image, 3 Text, 4 AVO)
//     	Dimensions = 200, 40
//     	TextLine = 3              (text: a line of the screen's text file...)
//     	Text = "Hello"            (...or the text itself when TextLine is 0)
//     	Class = "Title"           (text: the text class)
//     	Image = "path/image.png"  (image: the file, when it has an asset)
//     }
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/screen/Asset.h"
#include "engine/data/BlockFile.h"
#include "engine/media/TextClass.h"
#include "engine/media/TextLayout.h"

class TAppShape;
class TAppScreen;
class TGameObject;

class TAppDrawObject {
public:
    int32_t width = 0;  // the object's box, virtual pixels
    int32_t height = 0;
    std::string prefix;  // folder prefix for the image kind's default file name
    int32_t stopDeb = 0;
    TGameObject* MyObject = nullptr;  // the owner (back-link, not owned)

    // The screen whose objects are being loaded (text draw objects read its texts); null
    // outside loading.
    static TAppScreen* CurrScreen;

    virtual ~TAppDrawObject() = default;

    // Drops the references the object holds.
    virtual int Free() { return 0; }
    // Draws at (x, y) in the current draw state.
    virtual int Draw(float x, float y);
    virtual int GetWidth() { return 0; }
    virtual int GetHeight() { return 0; }
    // A hit shape covering the object, for a collider; null in the base.
    virtual std::shared_ptr<TAppShape> ToShape();
    virtual std::string GetTypeString() { return "TAppDrawObject"; }
    virtual std::shared_ptr<TAppDrawObject> Copy() { return nullptr; }
    // Writes the "DrawObject" block under parent / reads one.
    virtual int Save(const TBlockFilePtr& parent);
    virtual int Load(const TBlockFilePtr& block);

protected:
    // The "DrawObject" block under parent with "Type" and "Dimensions".
    TBlockFilePtr _SaveStandard(const TBlockFilePtr& parent, int typeInt) const;
    // width and height from "Dimensions".
    void _LoadDimensions(const TBlockFilePtr& block);
};

using TAppDrawObjectPtr = std::shared_ptr<TAppDrawObject>;

// A filled rectangle of width x height in the current draw state.
class TAppDrawObjectRect : public TAppDrawObject {
public:
    int Draw(float x, float y) override;
    int GetWidth() override { return width; }
    int GetHeight() override { return height; }
    std::shared_ptr<TAppShape> ToShape() override;
    std::string GetTypeString() override { return "Rect"; }
    // The same box.
    std::shared_ptr<TAppDrawObject> Copy() override;
    int Save(const TBlockFilePtr& parent) override;
    int Load(const TBlockFilePtr& block) override;
    virtual int GetTypeInt() { return 1; }
};

// An image asset (shared; never loaded or freed by the draw object), whole or by drawing mode.
class TAppDrawObjectImage : public TAppDrawObject {
public:
    TImageAssetPtr image;
    std::string ImageUrl;      // the image file, as written to and read from the block
    int32_t DrawingMode = -1;  // -1 whole; 0..3 the fraction ModePercent from left, top, right, bottom
    float ModePercent = 1.0f;

    int Free() override;
    int Draw(float x, float y) override;
    // A rectangle the size of the image (0 x 0 without one).
    std::shared_ptr<TAppShape> ToShape() override;
    std::string GetTypeString() override { return "Image"; }
    // Shares the asset and copies ImageUrl; everything else starts fresh.
    std::shared_ptr<TAppDrawObject> Copy() override;
    // "Image" is written only when both ImageUrl and the asset are set.
    int Save(const TBlockFilePtr& parent) override;
    int Load(const TBlockFilePtr& block) override;

    virtual int Reload() { return 0; }
    virtual int GetTypeInt() { return 2; }
    // The block without the "Image" entry.
    virtual int SaveForExport(const TBlockFilePtr& parent);
    // ImageUrl = prefix + "image.png" when that file exists, else prefix + "image.jpg".
    virtual int MakeUrl();
    // Copies the file ImageUrl to path (when there is an asset and a url).
    virtual int Export(const std::string& path);
};

// A vector-animation asset (shared), drawn at the point given.
class TAppDrawObjectAVO : public TAppDrawObject {
public:
    TAVOAssetPtr avo;
    std::string avoUrl;  // carried along; nothing reads it

    int Free() override;
    int Draw(float x, float y) override;
    // Always a 64 x 64 rectangle.
    std::shared_ptr<TAppShape> ToShape() override;
    std::string GetTypeString() override { return "AVO"; }
    std::shared_ptr<TAppDrawObject> Copy() override;
    int Save(const TBlockFilePtr& parent) override;
    int Load(const TBlockFilePtr& block) override;

    virtual int Reload() { return 0; }
    virtual int GetTypeInt() { return 4; }
    virtual int SaveForExport(const TBlockFilePtr& parent);
    virtual int MakeUrl() { return 0; }
    virtual int Export(const std::string&) { return 0; }
};

// A text word-wrapped to the box width in a text class, aligned in the box by the class's
// HAlign (0 centre, 1 left, 2 right, 3 justified) and VAlign (0 middle, 1 top, 2 bottom).
class TAppDrawObjectText : public TAppDrawObject {
public:
    std::string Text;
    int32_t TextLine = 0;                // when not 0, the line of the screen's text file Text came from
    std::vector<TAppTextLinePtr> Lines;  // laid out by Init
    float HalfWidth = 0.0f;
    float HalfHeight = 0.0f;
    float TxtHeight = 0.0f;  // height of the laid-out text
    TTextClassPtr Class;
    float LastDrawedX = 0.0f;  // the previous Draw's point: a text at rest snaps to whole pixels
    float LastDrawedY = 0.0f;
    float TextEndX = 0.0f;  // width of the last non-empty line of the last upright plain Draw

    // The screen whose text file Load reads; LoadAppDrawObject sets it to the owner's screen for
    // the one Load it runs and clears it afterwards.
    static TAppScreen* Screen;
    // The draw scale and rotation taken by the current Draw (1, 1 during Init), and its point.
    static float sx, sy, r;
    static float BaseX, BaseY;

    int Free() override;
    // Places and draws the prepared lines (see Init), selecting the class's font.
    int Draw(float x, float y) override;
    std::string GetTypeString() override { return "Text"; }
    // Shares the lines and the class; copies the text and the measures.
    std::shared_ptr<TAppDrawObject> Copy() override;
    int Save(const TBlockFilePtr& parent) override;
    // Dimensions, the text (by line number from the screen's text file, or as written) and the
    // class, then Init.
    int Load(const TBlockFilePtr& block) override;

    virtual float GetTextEndX() { return TextEndX; }
    // The x offset of line i in the box, times sx.
    virtual float GetXByHAlign(int i);
    // The y offset of the text block in the box, times sy.
    virtual float GetYByVAlign();
    // Lays the text out in the class's font: the wrapped lines, their heights and widths, and each
    // line's offset in polar form (for rotated drawing). A missing class is the default class.
    virtual int Init();
    virtual int GetTypeInt() { return 3; }

    // No screen to read texts from (tests).
    static void ResetStatics();
};

// Creators.
TAppDrawObjectPtr CreateAppDrawObject_Rect(int width, int height);
TAppDrawObjectPtr CreateAppDrawObject_Image(const TImageAssetPtr& image, int width, int height);
// Laid out at once.
TAppDrawObjectPtr CreateAppDrawObject_Text(const std::string& text, int textLine, const TTextClassPtr& cls, int width,
                                           int height);
TAppDrawObjectPtr CreateAppDrawObject_AVO(const TAVOAssetPtr& avo, int width, int height);
// 1 rectangle, 2 image, 3 text, 4 vector animation; null for any other number.
TAppDrawObjectPtr CreateNewAppDrawObjectByType(int type);
// The object a "DrawObject" block describes, its prefix the owner's Prefix; a text kind takes
// its numbered lines from the owner's screen. Null for an unknown "Type".
TAppDrawObjectPtr LoadAppDrawObject(const TBlockFilePtr& block, TGameObject* owner);
