#include "engine/media/ImageAtlas.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "engine/media/ImgTex.h"

namespace {

// Where each picture lies in the atlas (its top left; its repeated edge one pixel around it).
struct AtlasLayout {
    int width = 0, height = 0;
    std::vector<int> x, y;
};

// Shelves of pictures, tallest first, across an atlas as wide as the smallest power of two that
// takes the widest picture and makes the atlas about square.
AtlasLayout Layout(const std::vector<TPixmapPtr>& pictures) {
    AtlasLayout layout;
    layout.x.assign(pictures.size(), 0);
    layout.y.assign(pictures.size(), 0);
    std::vector<size_t> order;
    double area = 0.0;
    int widest = 0;
    for (size_t i = 0; i < pictures.size(); ++i) {
        if (!pictures[i]) continue;
        order.push_back(i);
        area += double(pictures[i]->width + 2) * (pictures[i]->height + 2);
        widest = std::max(widest, pictures[i]->width + 2);
    }
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return pictures[a]->height > pictures[b]->height; });
    layout.width = 64;
    while (layout.width < widest || double(layout.width) * layout.width < area) layout.width *= 2;
    int x = 0, shelf = 0, shelfHeight = 0;
    for (size_t i : order) {
        const int w = pictures[i]->width + 2, h = pictures[i]->height + 2;
        if (x + w > layout.width) x = 0, shelf += shelfHeight, shelfHeight = 0;
        layout.x[i] = x + 1;
        layout.y[i] = shelf + 1;
        x += w;
        shelfHeight = std::max(shelfHeight, h);
    }
    layout.height = shelf + shelfHeight;
    return layout;
}

// Copies the picture into the atlas at (x, y), its edge pixels repeated once around it.
void Place(const TPixmap& picture, TPixmap& atlas, int x, int y) {
    const int w = picture.width, h = picture.height;
    for (int row = -1; row <= h; ++row) {
        const uint8_t* from = picture.PixelPtr(0, std::clamp(row, 0, h - 1));
        uint8_t* to = atlas.PixelPtr(x, y + row);
        std::memcpy(to, from, static_cast<size_t>(w) * 4);
        std::memcpy(to - 4, from, 4);
        std::memcpy(to + static_cast<size_t>(w) * 4, from + static_cast<size_t>(w - 1) * 4, 4);
    }
}

// A picture of an atlas, placed by its handle as the picture of its own file is: mid-handled, its
// handle is the picture's very middle (half a pixel in where a side is odd), not the whole pixel
// before it that a picture of a shared texture takes.
class TAtlasImg : public TImg {
public:
    float handleX = 0.0f, handleY = 0.0f;

    TImgPtr Copy() const override {
        auto c = std::make_shared<TAtlasImg>(*this);
        c->name.clear();
        return c;
    }
    int MidHandle() override {
        TImg::MidHandle();
        handleX = static_cast<float>(w) * 0.5f;
        handleY = static_cast<float>(h) * 0.5f;
        return 0;
    }
    int SetHandle(int px, int py) override {
        TImg::SetHandle(px, py);
        handleX = static_cast<float>(px);
        handleY = static_cast<float>(py);
        return 0;
    }
    int Draw(float px, float py, int /*frame*/ = 0) override {
        if (!texture || !texture->Img) return DrawNoImg(px, py);
        DrawSubImageRect(texture->Img, px, py, static_cast<float>(w), static_cast<float>(h), static_cast<float>(x),
                         static_cast<float>(y), static_cast<float>(w), static_cast<float>(h), handleX, handleY, 0);
        return 0;
    }
};

}  // namespace

std::vector<TImgPtr> LoadImgAtlas(const std::string& name, const std::vector<std::string>& paths) {
    std::vector<TPixmapPtr> pictures;
    for (const std::string& path : paths) {
        TPixmapPtr p = LoadPixmap(path);
        pictures.push_back(p && p->width > 0 && p->height > 0 ? p : nullptr);
    }
    std::vector<TImgPtr> images(paths.size());
    const AtlasLayout layout = Layout(pictures);
    if (layout.height == 0) return images;
    std::vector<int> widths, heights;
    for (const TPixmapPtr& p : pictures) {
        widths.push_back(p ? p->width : 0);
        heights.push_back(p ? p->height : 0);
    }
    pictures.clear();  // decoded again whenever the atlas's pixels are needed
    // The atlas's pixels: each file decoded again, and only as it was at loading.
    auto make = [paths, layout, widths, heights, name](TPixmap& atlas) {
        for (size_t i = 0; i < paths.size(); ++i) {
            if (widths[i] == 0) continue;
            TPixmapPtr p = LoadPixmap(paths[i]);
            if (!p || p->width != widths[i] || p->height != heights[i]) {
                std::fprintf(stderr, "The picture %s can no longer be read as it was loaded; %s is not drawn\n",
                             paths[i].c_str(), name.c_str());
                return false;
            }
            Place(*p, atlas, layout.x[i], layout.y[i]);
        }
        return true;
    };
    TImagePtr atlas = CreateMadeImage(layout.width, layout.height, make);
    if (!atlas) return images;
    auto texture = std::make_shared<TImgTex>();
    texture->url = name;
    texture->flags = atlas->flags;
    texture->Img = atlas;
    for (size_t i = 0; i < paths.size(); ++i) {
        if (widths[i] == 0) continue;
        auto img = std::make_shared<TAtlasImg>();
        img->name = paths[i];
        img->Url = name + "|" + paths[i];
        img->texture = texture;
        img->x = layout.x[i];
        img->y = layout.y[i];
        img->w = widths[i];
        img->h = heights[i];
        img->isLoaded = 1;
        images[i] = img;
    }
    return images;
}
