#include "engine/media/VectorObj.h"

#include <algorithm>
#include <cctype>

#include "engine/window/Mouse.h"
#include "engine/system/Error.h"
#include "engine/system/Paths.h"
#include "platform/Files.h"
#include "platform/Font.h"
#include "platform/Graphics.h"
#include "platform/Input.h"
#include "platform/Maths.h"
#include "platform/Strings.h"

int32_t TAppVectorObj::CenterR = 0;
int32_t TAppVectorObj::CenterG = 0;
int32_t TAppVectorObj::CenterB = 0;

TAppVectorObj::TAppVectorObj() { Root = this; }

// ---------------------------------------------------------------------------------------------
// The root's transform

int TAppVectorObj::CountMyPosition() { return 0; }

int TAppVectorObj::CountMyRotation() {
    const float rot = GetRotation();
    DrawRot = rot + CurrState->Rotation;
    DrawAngle = rot;
    return 0;
}

int TAppVectorObj::CountMyScale() {
    GetScale(DrawScaleX, DrawScaleY);
    return 0;
}

int TAppVectorObj::CountMyAlpha() {
    DrawAlpha = CurrState->Alpha;
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Graphics table and animations

int TAppVectorObj::SaveGFX(const TBlockFilePtr& bf) {
    if (!bf) return 0;
    TBlockFilePtr block = CreateBlockFile("GFX", bf);
    AddIntToBlock(block, "gfxs", static_cast<int32_t>(gfx.size()), 0);
    for (size_t i = 0; i < gfx.size(); ++i)
        AddStringToBlock(block, "Img" + IntToString(static_cast<int64_t>(i)), gfx[i] ? gfx[i]->_edName : "", 0);
    return 0;
}

namespace {
// The highest i of the "Img" + i entries of a "GFX" block; -1 when there are none.
int HighestImageEntry(const TBlockFilePtr& gfxBlock) {
    int highest = -1;
    for (const auto& e : GetBlockFileEntrysList(gfxBlock, "")) {
        const std::string& nm = e->name;
        if (nm.size() < 4 || !EqualsNoCase(std::string_view(nm).substr(0, 3), "img")) continue;
        bool digits = true;
        for (size_t k = 3; k < nm.size(); ++k)
            if (!std::isdigit(static_cast<unsigned char>(nm[k]))) digits = false;
        if (!digits || nm.size() > 12) continue;
        highest = std::max(highest, static_cast<int>(StringToInt(std::string_view(nm).substr(3))));
    }
    return highest;
}
}  // namespace

int TAppVectorObj::LoadGFX(const TBlockFilePtr& bf, const std::string& folder, int keepPixmap) {
    Root = this;
    if (!bf) return 0;
    TBlockFilePtr block = GetBlockFile(bf, "GFX");
    int count = TruncToInt(GetBFNumber(bf, "GFX::gfxs", 0));
    // The count is only a claim: never make more slots than there are names for.
    const int listed = HighestImageEntry(block) + 1;
    if (count < 0) count = 0;
    if (count > listed) {
        Error("Graphics table claims " + IntToString(count) + " images but lists " + IntToString(listed) + "!", Here());
        count = listed;
    }
    const std::string imagesFolder = folder + "images";
    for (int i = 0; i < count; ++i) {
        const std::string fileName = GetBFString(bf, "GFX::img" + IntToString(i), 0);
        if (Trim(fileName).empty()) {
            Error("Graphic " + IntToString(i) + " has no file name!", Here());
            AddImage(std::make_shared<TAVOImage>());
            continue;
        }
        // A name from the file must name a file inside the package's images folder.
        if (fileName.front() == '/' || fileName.find('\\') != std::string::npos ||
            !PathResolvesInside(imagesFolder, imagesFolder + "/" + fileName)) {
            Error("Graphic name '" + fileName + "' leaves the package's images folder; not loaded!", Here());
            AddImage(std::make_shared<TAVOImage>());
            continue;
        }
        AddImage(LoadAVOImage(imagesFolder + "/" + fileName, keepPixmap));
    }
    return 0;
}

bool TAppVectorObj::SaveAnims(const std::string& folder) {
    TBlockFilePtr root = CreateBlockFile(folder + "Anims.avo");
    TBlockFilePtr list = CreateBlockFile("Anims", root);
    for (const auto& a : anims)
        if (a) a->Save(CreateBlockFile("ANIM", list));
    return SaveBlockFile(root);
}

int TAppVectorObj::LoadAnims(const TBlockFilePtr& bf) {
    if (!bf) return 0;
    for (const auto& ab : GetBlockFilesList(GetBlockFile(bf, "Anims"), "ANIM")) {
        auto anim = std::make_shared<TAppVectorAnim>();
        anim->Load(ab, this);
        anims.push_back(anim);
    }
    animsTab = anims;
    ReCountAnimData();
    return 0;
}

int TAppVectorObj::ReCountAnimData() {
    for (const auto& v : vectors)
        if (v) v->ReCountAnimsData();
    return 0;
}

int TAppVectorObj::AddAnim(const TAppVectorAnimPtr& anim) {
    if (!anim) return 0;
    anims.push_back(anim);
    animsTab = anims;
    ReCountAnimData();
    return 0;
}

int TAppVectorObj::ResizeGFX(int n) {
    if (n < 0) n = 0;
    gfx.resize(static_cast<size_t>(n));
    return 0;
}

int TAppVectorObj::AddImage(const TAVOImagePtr& img) {
    ResizeGFX(static_cast<int>(gfx.size()) + 1);
    gfx.back() = img;
    return 0;
}

int TAppVectorObj::AddNewState() { return CopyLastState(); }

int TAppVectorObj::SetCurrStateName(const std::string& stateName) {
    if (TAppVectorStatePtr s = GetState(CurrStateInd)) s->Name = stateName;
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Drawing list, bounding boxes and drawing

int TAppVectorObj::SortVectorsDraw() {
    std::stable_sort(AllVectors.begin(), AllVectors.end(),
                     [](const TAppVector* a, const TAppVector* b) { return CompareVectorLayers(*a, *b) < 0; });
    return 0;
}

int TAppVectorObj::CountPoints(int flag) {
    AllVectors.clear();
    CountVectors(AllVectors, flag);
    SortVectorsDraw();
    return 0;
}

int TAppVectorObj::CountCorners(int flag) {
    float sx = 1, sy = 1;
    GetScale(sx, sy);
    const float rotation = GetRotation();
    int32_t minX = 3000000, minY = 3000000, maxX = -3000000, maxY = -3000000;
    if (flag == 0) {
        SetScale(1, 1);
        SetRotation(0);
        Calculate(1);
    }
    CountPoints(1);
    if (PrintMyData != 0) Print("COUNTING");
    auto extend = [&](int32_t x, int32_t y) {
        if (x < minX) minX = x;
        if (x > maxX) maxX = x;
        if (y < minY) minY = y;
        if (y > maxY) maxY = y;
    };
    for (TAppVector* p : AllVectors) {
        if (p->rect) {
            for (int k = 0; k < 4; ++k) extend(p->rect->polyX[k], p->rect->polyY[k]);
        } else {
            extend(TruncToInt(p->DrawX), TruncToInt(p->DrawY));
        }
    }
    const float boxX = static_cast<float>(minX) - DrawX;
    const float boxY = static_cast<float>(minY) - DrawY;
    // Corners far apart give the widest extent an int holds, never an overflow.
    const int32_t width = TruncToInt(static_cast<double>(maxX) - minX);
    const int32_t height = TruncToInt(static_cast<double>(maxY) - minY);
    if (flag != 0) {
        CurrState->TempWidth = width;
        CurrState->TempHeight = height;
        CurrState->tempBox =
            CreateDim(boxX, boxY, static_cast<float>(CurrState->TempWidth), static_cast<float>(CurrState->TempHeight));
    } else {
        CurrState->Width = width;
        CurrState->Height = height;
        if (TAppVectorStatePtr stored = GetState(CurrStateInd)) {
            stored->Width = CurrState->Width;
            stored->Height = CurrState->Height;
            stored->box = CreateDim(boxX, boxY, static_cast<float>(stored->Width), static_cast<float>(stored->Height));
        }
        CurrState->box =
            CreateDim(boxX, boxY, static_cast<float>(CurrState->Width), static_cast<float>(CurrState->Height));
        // The parts are computed again at the drawing scale (still unrotated, which the
        // temporary box measures), and the draw state goes back as it was found.
        SetScale(sx, sy);
        Calculate(1);
        SetRotation(rotation);
    }
    return 0;
}

int TAppVectorObj::OnlyCount() { return Calculate(0); }

int TAppVectorObj::CalculateObj(int flag) {
    Calculate(flag);
    if (flag != 0) {
        CountCorners(0);
        CountCorners(1);
    }
    return 0;
}

int TAppVectorObj::Draw() {
    for (TAppVector* p : AllVectors) p->DrawMyGFX();
    return 0;
}

int TAppVectorObj::DrawState(int ind) {
    const int32_t remembered = CurrStateInd;
    SetCurrStateInd(ind);
    Calculate(0);
    for (TAppVector* p : AllVectors) p->DrawMyGFX();
    SetCurrStateInd(remembered);
    return 0;
}

int TAppVectorObj::DrawDebugFrame() {
    if (!CurrState->box || !CurrState->tempBox) return 0;
    const TDim& b = *CurrState->tempBox;
    SetScale(1, 1);
    SetRotation(0);
    SetBlend(ALPHABLEND);
    SetAlpha(1);
    SetColor(0, 0, 0);
    const float x = DrawX + b.x, y = DrawY + b.y;
    DrawRect(x, y, b.w, 1);
    DrawRect(x, y, 1, b.h);
    DrawRect(x + b.w, y, 1, b.h);
    DrawRect(x, y + b.h, b.w, 1);
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Pointer test

TAppVector* TAppVectorObj::GetOverVector() {
    AllVectors.clear();
    CountVectors(AllVectors, 0);
    auto findOver = [this]() {
        TAppVector* found = nullptr;
        for (TAppVector* p : AllVectors) {
            p->over = 0;
            if (Mouse::InPoint(TruncToInt(p->DrawX), TruncToInt(p->DrawY))) found = p;
        }
        return found;
    };
    TAppVector* result = findOver();
    if (KeyHit(68)) {
        // Developer inspection: every pivot with its coordinates until space is hit (or the
        // window is asked to close, so that a closed window never leaves the loop spinning).
        while (!KeyHit(32) && !AppTerminate()) {
            Cls();
            SetScale(1, 1);
            SetRotation(0);
            SetAlpha(1);
            SetColor(255, 255, 255);
            for (TAppVector* p : AllVectors) {
                DrawRect(p->DrawX, p->DrawY, 2, 2);
                DrawText(FloatToString(p->DrawX) + ", " + FloatToString(p->DrawY), p->DrawX, p->DrawY);
                if (p == result) {
                    SetColor(255, 0, 255);
                    DrawRect(p->DrawX, p->DrawY, 2, 2);
                }
            }
            Flip(-1);
            result = findOver();
        }
    }
    if (result) result->over = 1;
    return result;
}

TAppVectorObjPtr CreateEmptyVectorObj() {
    auto obj = std::make_shared<TAppVectorObj>();
    obj->InitStates(0, 0);
    obj->Root = obj.get();
    obj->AllVectors.push_back(obj.get());
    obj->Calculate(0);
    return obj;
}

// ---------------------------------------------------------------------------------------------
// Packages

namespace {
const char* const kGfxFile = "gfxs.avo";
const char* const kVectorsFile = "vectors.avo";
const char* const kAnimsFile = "Anims.avo";
}  // namespace

bool SaveAVOImages(const TAppVectorObjPtr& obj, const std::string& imagesFolder) {
    if (!obj) return false;
    bool ok = true;
    for (const auto& g : obj->gfx) {
        if (!g || !g->_EdPixMap) continue;
        if (g->_edName.empty() || g->_edName.front() == '/' ||
            !PathResolvesInside(imagesFolder, imagesFolder + "/" + g->_edName)) {
            Error("Graphic name '" + g->_edName + "' leaves the package's images folder; not written!", Here());
            ok = false;
            continue;
        }
        if (!SaveAVOImage(g, JoinPath(imagesFolder, g->_edName))) {
            Error("Couldn't write image '" + JoinPath(imagesFolder, g->_edName) + "'!", Here());
            ok = false;
        }
    }
    return ok;
}

bool SaveAVOGfx(const TAppVectorObjPtr& obj, const std::string& folder) {
    if (!obj) return false;
    TBlockFilePtr root = CreateBlockFile(folder + "Gfxs.avo");
    obj->SaveGFX(root);
    return SaveBlockFile(root);
}

bool SaveAVOVectors(const TAppVectorObjPtr& obj, const TBlockFilePtr& root) {
    if (!obj || !root) return false;
    obj->SaveVector(root);
    return SaveBlockFile(root);
}

bool SaveAVOAnims(const TAppVectorObjPtr& obj, const std::string& folder) {
    if (!obj) return false;
    return obj->SaveAnims(folder);
}

int SaveAVO(const TAppVectorObjPtr& obj, const std::string& url) {
    if (!obj) return 0;
    std::string path = url;
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    const std::string name = StripAll(path);
    if (name.empty()) {
        Error("No package name in '" + url + "'!", Here());
        return 0;
    }
    // Beside the url, in a folder named after its base name (a url without a folder writes
    // into the working folder).
    const std::string base = JoinPath(ExtractDir(path), name);
    const std::string folder = base + "/";
    TBlockFilePtr vectorsRoot = CreateBlockFile(folder + "Vectors.avo");
    if (!CreateDir(base) || !CreateDir(folder + "images")) {
        Error("Couldn't create the package folder '" + folder + "'!", Here());
        return 0;
    }
    bool ok = SaveAVOImages(obj, folder + "images");
    ok = SaveAVOGfx(obj, folder) && ok;
    ok = SaveAVOVectors(obj, vectorsRoot) && ok;
    ok = SaveAVOAnims(obj, folder) && ok;
    return ok ? 1 : 0;
}

int LoadAVOGfx(const TAppVectorObjPtr& obj, const std::string& folder, int keepPixmap) {
    if (!obj) return 0;
    obj->LoadGFX(LoadBlockFile(folder + kGfxFile), folder, keepPixmap);
    return 0;
}

int LoadAVOVectors(const TAppVectorObjPtr& obj, const std::string& folder) {
    if (!obj) return 0;
    TBlockFilePtr file = LoadBlockFile(folder + kVectorsFile);
    TBlockFilePtr block = GetBlockFile(file, "VECTOR");
    obj->Root = obj.get();
    obj->LoadVector(block);
    const int count = static_cast<int>(obj->States.size());
    for (int i = 0; i < count; ++i) {
        obj->SetCurrStateInd(i);
        obj->CalculateObj(1);
    }
    obj->SetCurrStateInd(0);
    return 0;
}

int LoadAVOAnims(const TAppVectorObjPtr& obj, const std::string& folder) {
    if (!obj) return 0;
    obj->LoadAnims(LoadBlockFile(folder + kAnimsFile));
    return 0;
}

TAppVectorObjPtr LoadAVOFromFolder(const std::string& folder, int keepPixmap) {
    auto obj = std::make_shared<TAppVectorObj>();
    // A package needs all three files; one missing gives an empty object rather than a part
    // of a package.
    bool complete = true;
    for (const char* file : {kGfxFile, kVectorsFile, kAnimsFile}) {
        if (FileType(folder + file) != 1) {
            ErrorNoFile(folder + file, Here());
            complete = false;
        }
    }
    if (!complete) return obj;
    LoadAVOGfx(obj, folder, keepPixmap);
    LoadAVOVectors(obj, folder);
    LoadAVOAnims(obj, folder);
    obj->SetCurrStateInd(0);
    obj->SortVectorsDraw();
    return obj;
}

TAppVectorObjPtr LoadAVO(const std::string& url, int keepPixmap) {
    std::string path = ConvertAppPath(url);
    const FileBeingRead reading(path);
    if (path.empty()) return nullptr;
    if (FileType(path) == 2) {
        if (path.back() != '/' && path.back() != '\\') path += "/";
        return LoadAVOFromFolder(path, keepPixmap);
    }
    if (Lower(StripDir(path)) == "vectors.avo") {
        const std::string dir = ExtractDir(path);
        return LoadAVOFromFolder(dir.empty() ? std::string() : (dir == "/" ? dir : dir + "/"), keepPixmap);
    }
    const std::string ext = Lower(ExtractExt(path));
    if (ext == "zip" || ext == "avobj") {
        // Packed packages are not served by the file layer.
        Error("Packed vector animations can't be read: '" + path + "'!", Here());
        return nullptr;
    }
    if (FileType(path) == 0) ErrorNoFile(path, Here());
    else Error("Not a vector animation: '" + path + "'!", Here());
    return nullptr;
}
