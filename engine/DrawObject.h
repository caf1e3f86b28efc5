// What a game object draws at its derived position: the base of the draw-object kinds
// (rectangle, image, text, vector animation). A draw object holds no position, colour or
// transform of its own: it draws at the point it is given, in the current draw state.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "engine/data/BlockFile.h"

class TAppShape;
class TAppScreen;
class TGameObject;

class TAppDrawObject {
public:
    int32_t width = 0;   // the object's box, virtual pixels
    int32_t height = 0;
    std::string prefix;  // folder prefix for the image kind's default file name
    int32_t stopDeb = 0;
    TGameObject* MyObject = nullptr;  // the owner (back-link, not owned)

    // The screen whose objects are being loaded (text draw objects read its texts); null
    // outside loading.
    static TAppScreen* CurrScreen;

    virtual ~TAppDrawObject() = default;

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
};

using TAppDrawObjectPtr = std::shared_ptr<TAppDrawObject>;
