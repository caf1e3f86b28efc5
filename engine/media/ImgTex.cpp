#include "engine/media/ImgTex.h"

#include <algorithm>

#include "engine/system/Error.h"
#include "engine/system/Paths.h"
#include "engine/data/BlockFile.h"
#include "platform/Files.h"
#include "platform/Strings.h"

std::vector<TImgTexPtr> TImgTex::AllLoadedTextures;
std::vector<TImgPtr> TImgTex::AllLoadedSingles;

namespace {

// True when the bytes are well-formed UTF-8.
bool IsUtf8(const std::string& s) {
    size_t i = 0, n = s.size();
    while (i < n) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        size_t extra;
        if (c < 0x80) {
            extra = 0;
        } else if (c >= 0xC2 && c <= 0xDF) {
            extra = 1;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2;
        } else if (c >= 0xF0 && c <= 0xF4) {
            extra = 3;
        } else {
            return false;
        }
        if (n - i <= extra) return false;
        for (size_t k = 1; k <= extra; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += extra + 1;
    }
    return true;
}

// The description is read byte by byte, without a byte-order mark check (a mark would sit in
// the ignored first line). Text that is not UTF-8 is taken as Latin-1.
std::string DecodeDescription(const std::string& bytes) {
    if (IsUtf8(bytes)) return bytes;
    std::string out;
    out.reserve(bytes.size() * 2);
    for (unsigned char c : bytes) AppendUtf8(out, c);
    return out;
}

// A failed picture load: "no file" when nothing is there, else the file could not be decoded.
void ReportImageLoad(const std::string& path, const TReportPlace& place) {
    if (FileType(ResolvePath(path)) != 1) {
        ErrorNoFile(path, place);
    } else {
        ErrorImg(path, place);
    }
}

// What a request that cannot be met gets: a TImg with no picture, which draws the placeholder.
TImgPtr MissingImg(const std::string& imgName, const std::string& imgUrl, int single, int imgFlags) {
    auto img = std::make_shared<TImg>();
    img->name = imgName;
    img->Url = imgUrl;
    img->isSingle = single;
    img->MyLoadedFlags = single ? imgFlags : 0;
    return img;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Methods

int TImgTex::PrintMe() {
    std::string text = "Img: ";
    text += Img ? "OK\n" : "NULL\n";
    text += "IMAGES: " + std::to_string(images.size()) + "\n";
    for (const TImgPtr& img : images) {
        text += "\t" + img->name + (img->texture ? " - OK\n" : " - NULL\n");
    }
    // Print ends the text with a line feed of its own, after the last image's.
    Print(text);
    return 0;
}

int TImgTex::SetHandle(int hx, int hy) {
    if (Img) SetImageHandle(Img, static_cast<float>(hx), static_cast<float>(hy));
    return 0;
}

int TImgTex::Load() {
    if (Img) return 0;
    Img = LoadImage(url, flags);
    if (!Img) ReportImageLoad(url, Here());
    return 0;
}

int TImgTex::DeleteSingle(const TImg* img) {
    auto it = std::find_if(AllLoadedSingles.begin(), AllLoadedSingles.end(),
                           [img](const TImgPtr& e) { return e.get() == img; });
    if (it != AllLoadedSingles.end()) AllLoadedSingles.erase(it);
    return 0;
}

int TImgTex::Free() {
    if (isLoaded) {
        Img.reset();
        isLoaded = 0;
    }
    return 0;
}

int TImgTex::CheckFree() {
    if (!isLoaded) return 0;
    for (const TImgPtr& img : images)
        if (img->isLoaded) return 0;
    return Free();
}

int TImgTex::AddImg(const TImgPtr& img) {
    images.push_back(img);
    return 0;
}

TImgPtr TImgTex::GetImage(const std::string& imgName) const {
    std::string key = NameUpper(Trim(imgName));
    for (const TImgPtr& img : images)
        if (img->name == key) return img;
    return nullptr;
}

// ---------------------------------------------------------------------------------------------
// Registry

std::vector<std::string> TImgTex::SplitStringByChar(const std::string& text, const std::string& separator) {
    std::vector<std::string> pieces;
    if (text.empty()) return pieces;
    // One character may take several bytes; a longer or empty separator never matches.
    if (Utf8Length(separator) != 1) {
        pieces.push_back(text);
        return pieces;
    }
    size_t start = 0;
    for (;;) {
        size_t at = text.find(separator, start);
        if (at == std::string::npos) break;
        pieces.push_back(text.substr(start, at - start));
        start = at + separator.size();
    }
    if (start < text.size()) pieces.push_back(text.substr(start));
    return pieces;
}

std::string TImgTex::TexturePath(const std::string& texUrl) {
    std::string path = Lower(texUrl);
    // A bare file name belongs to the data folder, not to the root of the file system.
    if (path.find('/') == std::string::npos) path = JoinPath(bDir, path);
    return path;
}

TImgTexPtr TImgTex::GetTex(const std::string& texUrl, int texFlags) {
    std::string key = TexturePath(texUrl);
    for (const TImgTexPtr& tex : AllLoadedTextures)
        if (tex->url == key) return tex;
    TImgTexPtr tex = LoadTex(texUrl, texFlags);
    AllLoadedTextures.push_back(tex);
    return tex;
}

TImgTexPtr TImgTex::LoadTex(const std::string& texUrl, int texFlags) {
    auto tex = std::make_shared<TImgTex>();
    std::string path = TexturePath(texUrl);
    std::string descPath = StripExt(path) + ".txt";
    const FileBeingRead reading(descPath);

    std::string bytes;
    if (FileType(ResolvePath(descPath)) != 1 || !LoadBytes(descPath, bytes)) {
        ErrorNoFile(descPath, Here());
        tex->isDescriptionDamaged = 1;
    } else {
        std::vector<std::string> lines = SplitStringByChar(DecodeDescription(bytes), "\n");
        // Line 1 is a header, the number of pictures; then one picture per five lines.
        for (size_t i = 1; i + 5 <= lines.size(); i += 5) {
            auto img = std::make_shared<TImg>();
            img->name = NameUpper(Trim(lines[i]));
            img->x = StringToInt(lines[i + 1]);
            img->y = StringToInt(lines[i + 2]);
            img->w = StringToInt(lines[i + 3]);
            img->h = StringToInt(lines[i + 4]);
            img->texture = tex;
            tex->AddImg(img);
        }
        // A description cut short: fewer pictures than its header counts. What it holds is used.
        const int counted = lines.empty() ? 0 : StringToInt(lines[0]);
        if (counted > static_cast<int>(tex->images.size())) {
            Error(
                "Texture description '" + descPath + "' is cut short; the pictures it lacks are drawn as placeholders",
                Here());
            tex->isDescriptionDamaged = 1;
        }
    }
    tex->url = path;
    tex->flags = texFlags;
    return tex;
}

TImgPtr TImgTex::LoadImgTex(const std::string& imgUrl, int imgFlags) {
    std::vector<std::string> pieces = SplitStringByChar(imgUrl, "|");
    std::string texPath = pieces.empty() ? std::string() : pieces[0];
    std::string imgName = pieces.size() > 1 ? pieces[1] : std::string();
    std::string key = NameUpper(Trim(imgName));

    if (Trim(texPath).empty()) {
        Error("Texture url without a texture path! Url = " + imgUrl, Here());
        return MissingImg(key, imgUrl, 0, imgFlags);
    }
    // A name the description lacks is said about the description, never held with the lines of
    // a damaged screen file that names the picture.
    const FileBeingRead reading(StripExt(TexturePath(texPath)) + ".txt");
    TImgTexPtr tex = GetTex(texPath, imgFlags);
    TImgPtr img = tex->GetImage(imgName);
    if (!img) {
        if (tex->isDescriptionDamaged == 0)
            Error("No image named \"" + key + "\" in the texture description! Url = " + imgUrl, Here());
        return MissingImg(key, imgUrl, 0, imgFlags);
    }
    img->Url = imgUrl;
    tex->Load();
    return img;
}

TImgPtr TImgTex::LoadImgSingle(const std::string& imgUrl, int imgFlags) {
    for (const TImgPtr& e : AllLoadedSingles)
        if (e->MyLoadedFlags == imgFlags && EqualsNoCase(e->Url, imgUrl)) return e->Copy();

    TImagePtr image = LoadImage(imgUrl, -1);
    if (!image) {
        ReportImageLoad(imgUrl, Here());
        return MissingImg(imgUrl, imgUrl, 1, imgFlags);
    }
    auto img = std::make_shared<TImg>();
    img->name = imgUrl;
    img->image = image;
    img->w = ImageWidth(image);
    img->h = ImageHeight(image);
    img->isSingle = 1;
    img->Url = imgUrl;
    img->MyLoadedFlags = imgFlags;
    AllLoadedSingles.push_back(img);
    return img;
}

TImgTexPtr TImgTex::CreateSingleTex(const std::string& texUrl, int /*texFlags*/) {
    auto tex = std::make_shared<TImgTex>();
    tex->url = texUrl;
    AllLoadedTextures.push_back(tex);
    return tex;
}

void TImgTex::ResetRegistry() {
    // Textures and their pictures point at each other; cut the loop so both can go.
    for (const TImgTexPtr& tex : AllLoadedTextures) tex->images.clear();
    AllLoadedTextures.clear();
    AllLoadedSingles.clear();
}
