// The registry of image files, kept for the whole run: textures (one image file holding many
// pictures, each a named rectangle) and whole images (one picture per file).
//
// A texture "dir/name.png" is described by "dir/name.txt": the first line is ignored, then
// records of five lines follow, one per picture: its name (trimmed, upper-cased), x, y, width
// and height in pixels. An incomplete last record makes no picture.
//
//     2
//     BUTTON
//     0
//     0
//     64
//     32
//
// A texture is read and its pixels loaded on the first request for any of its pictures; every
// later request for the same texture path (any letter case) and picture name returns the same
// TImg object. A whole image is loaded once per url (any letter case) and flags; later requests
// get copies sharing its picture.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "engine/media/Img.h"

class TImgTex {
public:
    virtual ~TImgTex() = default;

    std::vector<TImgPtr> images;  // the pictures, in the order of the description
    int flags = 0;                // the flags the pixels are loaded with (the first request's)
    std::string url;              // the texture image's path: the cache key
    int isLoaded = 0;             // never set: a texture keeps its pixels for the whole run
    // The description was missing or cut short (reported when read): the pictures it lacks are
    // not reported one by one when asked for.
    int isDescriptionDamaged = 0;
    TImagePtr Img;  // the pixels; null until Load

    // Writes "Img: OK|NULL", "IMAGES: n" and one tab-indented line per picture to standard output.
    int PrintMe();
    // Moves the handle of the whole texture picture (pictures keep their own handles).
    int SetHandle(int hx, int hy);
    // Loads the pixels when they are not there; a failure is reported and leaves Img null.
    int Load();
    // Takes that very TImg (by identity) out of the whole-image cache.
    static int DeleteSingle(const TImg* img);
    int Free();
    int CheckFree();
    int AddImg(const TImgPtr& img);
    // The first picture whose name equals the given one, trimmed and upper-cased; null when none.
    TImgPtr GetImage(const std::string& imgName) const;

    // The texture of that url from the cache, else read from its description and cached.
    static TImgTexPtr GetTex(const std::string& texUrl, int texFlags);
    // A new texture read from its description, without pixels and not cached. A missing
    // description is reported and gives a texture without pictures.
    static TImgTexPtr LoadTex(const std::string& texUrl, int texFlags);
    // The picture "path|NAME" with its texture's pixels loaded. A name the description does not
    // list is reported and gives a TImg that draws the placeholder.
    static TImgPtr LoadImgTex(const std::string& imgUrl, int imgFlags);
    // A whole image, loaded with the default image flags whatever flags are asked (the flags
    // still key the cache). A file that cannot be loaded is reported and gives a TImg without a
    // picture, which draws the placeholder; it is not cached, so a later request tries again.
    static TImgPtr LoadImgSingle(const std::string& imgUrl, int imgFlags);
    // An empty texture of that url, cached.
    static TImgTexPtr CreateSingleTex(const std::string& texUrl, int texFlags);
    // Cuts the text at every occurrence of the separator, which must be one character (an
    // empty or longer separator never matches); empty inner pieces count, an empty last one
    // is dropped.
    static std::vector<std::string> SplitStringByChar(const std::string& text, const std::string& separator);
    // The path a texture url stands for and is cached under: the url in lower case; a url
    // without a folder is taken from the data folder bDir.
    static std::string TexturePath(const std::string& texUrl);

    static std::vector<TImgTexPtr> AllLoadedTextures;
    static std::vector<TImgPtr> AllLoadedSingles;
    // Empties both caches (tests).
    static void ResetRegistry();
};
