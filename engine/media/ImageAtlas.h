// Pictures packed at load into one texture of their own (an atlas), so that pictures drawn
// together go to GL in one call rather than one for each picture.
#pragma once
#include <string>
#include <vector>

#include "engine/media/Img.h"

// The pictures of the files at `paths` as sub-images of one new texture named `name`, in the
// order of the paths; null in the place of a file that cannot be decoded (the caller loads it
// on its own, which says what is wrong with it). Each picture lies with its edge repeated once
// around it, so that filtered sampling at its border reads only its own pixels, as in a texture
// of its own: drawn from the atlas, it gives the pixels it gives drawn from its file. The files
// are decoded to be measured and packed, and their pixels let go: the atlas's pixels are made
// again from the files when it is first drawn (or after a new GL context), and let go once
// uploaded. The texture is not cached: the sub-images keep it.
std::vector<TImgPtr> LoadImgAtlas(const std::string& name, const std::vector<std::string>& paths);
