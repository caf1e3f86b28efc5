#include "engine/media/VectorParts.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "engine/system/Error.h"
#include "engine/media/VectorObj.h"
#include "platform/Files.h"
#include "platform/Graphics.h"
#include "platform/Maths.h"
#include "platform/Strings.h"

namespace {

constexpr double kDegToRad = std::numbers::pi / 180.0;

// The draw state kept by the whole-object drawing functions (they do not nest).
struct SavedDrawState {
    float rotation = 0;
    float scaleX = 1, scaleY = 1;
    float alpha = 1;
    int r = 255, g = 255, b = 255;
};
SavedDrawState gSavedDraw;

void SaveDrawState() {
    gSavedDraw.rotation = GetRotation();
    GetScale(gSavedDraw.scaleX, gSavedDraw.scaleY);
    gSavedDraw.alpha = GetAlpha();
    GetColor(gSavedDraw.r, gSavedDraw.g, gSavedDraw.b);
}

void RestoreDrawState() {
    SetRotation(gSavedDraw.rotation);
    SetScale(gSavedDraw.scaleX, gSavedDraw.scaleY);
    SetAlpha(gSavedDraw.alpha);
    SetColor(gSavedDraw.r, gSavedDraw.g, gSavedDraw.b);
}

void SetRootInTree(TAppVector* part, TAppVectorObj* root) {
    part->Root = root;
    for (const auto& child : part->vectors)
        if (child) SetRootInTree(child.get(), root);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Graphics

int TAVOImage::Draw(float x, float y, int /*frame*/) {
    if (image) DrawImage(image, x, y, 0);
    if (img) img->Draw(x, y, 0);
    return 0;
}

int TAVOImage::SetHandle(int x, int y) {
    Handle_x = x;
    Handle_y = y;
    if (image) SetImageHandle(image, static_cast<float>(x), static_cast<float>(y));
    if (img) img->SetHandle(x, y);
    return 0;
}

TAVOImagePtr LoadAVOImage(const std::string& url, int keepPixmap) {
    auto graphic = std::make_shared<TAVOImage>();
    TPixmapPtr pixels = FileType(url) == 1 ? LoadPixmap(url) : nullptr;
    if (pixels) graphic->image = LoadImage(pixels, -1);
    if (!graphic->image) {
        if (FileType(url) == 1) ErrorImg(url, Here());
        else ErrorNoFile(url, Here());
    }
    if (keepPixmap != 0) {
        graphic->_EdPixMap = pixels;
        graphic->_edName = StripAll(url) + "." + ExtractExt(url);
    }
    graphic->Width = ImageWidth(graphic->image);
    graphic->Height = ImageHeight(graphic->image);
    MidHandleAVOImage(graphic);
    return graphic;
}

bool SaveAVOImage(const TAVOImagePtr& graphic, const std::string& path) {
    if (!graphic || !graphic->_EdPixMap) return false;
    return SavePixmapPNG(graphic->_EdPixMap, path);
}

void MidHandleAVOImage(const TAVOImagePtr& graphic) {
    if (!graphic) return;
    graphic->SetHandle(static_cast<int>(graphic->Width * 0.5), static_cast<int>(graphic->Height * 0.5));
}

void SetAVOImageHandle(const TAVOImagePtr& graphic, int x, int y) {
    if (graphic) graphic->SetHandle(x, y);
}

void DrawAVOImage(const TAVOImagePtr& graphic, float x, float y, int frame) {
    if (graphic) graphic->Draw(x, y, frame);
}

int AVOImageWidth(const TAVOImagePtr& graphic) { return graphic ? graphic->Width : 0; }
int AVOImageHeight(const TAVOImagePtr& graphic) { return graphic ? graphic->Height : 0; }

// ---------------------------------------------------------------------------------------------
// Outlines

int32_t TAppVectorRect::px = 0;
int32_t TAppVectorRect::py = 0;

int TAppVectorRect::Draw() {
    SetScale(1, 1);
    SetRotation(0);
    SetBlend(ALPHABLEND);
    SetAlpha(0.5f);
    SetColor(0, 200, 0);
    static constexpr int kEdges[4][2] = {{0, 3}, {0, 1}, {1, 2}, {2, 3}};
    for (const auto& e : kEdges) {
        px = polyX[e[0]];
        py = polyY[e[0]];
        DrawLine(static_cast<float>(px), static_cast<float>(py), static_cast<float>(polyX[e[1]]),
                 static_cast<float>(polyY[e[1]]), true);
    }
    return 0;
}

TAppVectorRectPtr CreateVectorRect(const std::array<int32_t, 4>& polyX, const std::array<int32_t, 4>& polyY) {
    auto r = std::make_shared<TAppVectorRect>();
    r->polyX = polyX;
    r->polyY = polyY;
    return r;
}

// ---------------------------------------------------------------------------------------------
// Parts

int32_t TAppVector::CenterR = 255;
int32_t TAppVector::CenterG = 0;
int32_t TAppVector::CenterB = 255;
int32_t TAppVector::LineR = 0;
int32_t TAppVector::LineG = 0;
int32_t TAppVector::LineB = 255;
int32_t TAppVector::TemporaryIndex = 0;

TAppVector::TAppVector() : CurrState(std::make_shared<TAppVectorState>()) {}

TAppVectorPtr CreateVector(float dist, float angle) {
    auto v = std::make_shared<TAppVector>();
    v->InitStates(dist, angle);
    return v;
}

int CompareVectorLayers(const TAppVector& a, const TAppVector& b) { return (a.Layer > b.Layer) - (a.Layer < b.Layer); }

// ---- Block files ----

int TAppVector::_SaveBaseData(const TBlockFilePtr& block) {
    AddStringToBlock(block, "Name", name, 0);
    AddIntToBlock(block, "Layer", Layer, 0);
    return 0;
}

int TAppVector::_SaveStates(const TBlockFilePtr& block) {
    TBlockFilePtr states = CreateBlockFile("States", block);
    for (const auto& s : States) {
        if (!s) continue;
        s->Save(CreateBlockFile("STATE", states));
    }
    return 0;
}

int TAppVector::_SaveSubVectors(const TBlockFilePtr& block) {
    TBlockFilePtr subs = CreateBlockFile("SubVectors", block);
    for (const auto& v : vectors)
        if (v) v->SaveVector(subs);
    return 0;
}

int TAppVector::SaveVector(const TBlockFilePtr& parent) {
    if (!parent) return 0;
    TBlockFilePtr block = CreateBlockFile("VECTOR", parent);
    _SaveBaseData(block);
    _SaveStates(block);
    _SaveSubVectors(block);
    return 0;
}

int TAppVector::_LoadBaseData(const TBlockFilePtr& block) {
    name = GetBFString(block, "Name", 0);
    Layer = TruncToInt(GetBFNumber(block, "Layer", 0));
    return 0;
}

int TAppVector::_LoadStates(const TBlockFilePtr& block) {
    for (const auto& sb : GetBlockFilesList(GetBlockFile(block, "States"), "STATE")) {
        auto s = std::make_shared<TAppVectorState>();
        s->Load(sb);
        States.push_back(s);
    }
    return 0;
}

int TAppVector::_LoadSubVectors(const TBlockFilePtr& block) {
    for (const auto& vb : GetBlockFilesList(GetBlockFile(block, "SubVectors"), "VECTOR")) {
        auto v = std::make_shared<TAppVector>();
        v->Root = Root;
        v->Hook = this;
        v->LoadVector(vb);
        vectors.push_back(v);
    }
    return 0;
}

int TAppVector::LoadVector(const TBlockFilePtr& block) {
    if (!block) return 0;
    _LoadBaseData(block);
    _LoadStates(block);
    _LoadSubVectors(block);
    return 0;
}

// ---- Building ----

int TAppVector::InitStates(float dist, float angle) {
    States.push_back(CreateVectorState(dist, angle, 1, 1, 0, 1, -1));
    return 0;
}

int TAppVector::Free() {
    Root = nullptr;
    Hook = nullptr;
    for (const auto& v : vectors)
        if (v) v->Free();
    return 0;
}

int TAppVector::ReCountAnimsData() {
    // The root keeps the animations it loaded: rebuilding its list from itself would empty it.
    if (Root == this) {
        for (const auto& v : vectors)
            if (v) v->ReCountAnimsData();
        return 0;
    }
    anims.clear();
    animsTab.clear();
    if (Root) {
        TAppVector* root = Root;
        for (const auto& a : root->anims) {
            if (!a) continue;
            TAppVectorAnimPtr mine = a->RecountForSubVector(this);
            anims.push_back(mine);
            animsTab.push_back(mine);
        }
    }
    for (const auto& v : vectors)
        if (v) v->ReCountAnimsData();
    return 0;
}

int TAppVector::CountVectors(std::vector<TAppVector*>& list, int flag) {
    list.push_back(this);
    for (const auto& v : vectors)
        if (v) v->CountVectors(list, flag);
    return 0;
}

int TAppVector::AddVector(const TAppVectorPtr& v) {
    if (!v || v.get() == this) return 0;
    vectors.push_back(v);
    v->Hook = this;
    // The whole subtree belongs to this object from now on.
    SetRootInTree(v.get(), Root);
    if (Root) {
        auto& all = Root->AllVectors;
        v->Layer = static_cast<int32_t>(all.size());
        if (std::find(all.begin(), all.end(), v.get()) == all.end()) all.push_back(v.get());
    }
    return 0;
}

int TAppVector::RemoveVector(const TAppVectorPtr& v) {
    if (!v) return 0;
    auto it = std::find(vectors.begin(), vectors.end(), v);
    if (it == vectors.end()) return 0;
    TAppVectorPtr keep = v;
    vectors.erase(it);
    if (Root) {
        // The drawing list does not own its parts: none of the removed subtree may stay in it.
        std::vector<TAppVector*> gone;
        keep->CountVectors(gone, 0);
        auto& all = Root->AllVectors;
        all.erase(std::remove_if(all.begin(), all.end(),
                                 [&](TAppVector* p) { return std::find(gone.begin(), gone.end(), p) != gone.end(); }),
                  all.end());
    }
    keep->Free();
    return 0;
}

// ---- Computing ----

int TAppVector::CountMyRotation() {
    float parentAngle = 0;
    if (Hook) {
        Hook->CountMyRotation();
        parentAngle = Hook->DrawAngle;
    }
    DrawAngle = CurrState->Angle + parentAngle;
    DrawRot = DrawAngle + CurrState->Rotation;
    return 0;
}

int TAppVector::CountMyScale() {
    float rx = 1, ry = 1;
    if (Root) {
        TAppVector* root = Root;
        rx = root->DrawScaleX;
        ry = root->DrawScaleY;
    }
    DrawScaleX = rx * CurrState->ScaleX;
    DrawScaleY = ry * CurrState->ScaleY;
    return 0;
}

int TAppVector::CountMyPosition() {
    double px = 0, py = 0;
    if (Hook) {
        Hook->CountMyPosition();
        px = Hook->DrawX;
        py = Hook->DrawY;
    }
    DrawX = static_cast<float>(px + CosDeg(DrawAngle) * CurrState->Dist * DrawScaleX);
    DrawY = static_cast<float>(py + SinDeg(DrawAngle) * CurrState->Dist * DrawScaleY);
    return 0;
}

int TAppVector::CountMyAlpha() {
    float parentAlpha = Hook ? Hook->DrawAlpha : 1.0f;
    DrawAlpha = parentAlpha * CurrState->Alpha;
    return 0;
}

int TAppVector::CountMyRect() {
    if (!rect) rect = std::make_shared<TAppVectorRect>();
    const float sx = DrawScaleX, sy = DrawScaleY;
    const float w = static_cast<float>(GetWidth()), h = static_cast<float>(GetHeight());
    const float hx = CurrState->hx, hy = CurrState->hy;
    const int32_t ox[4] = {TruncToInt(-hx * sx), TruncToInt((w - hx) * sx), TruncToInt((w - hx) * sx),
                           TruncToInt(-hx * sx)};
    const int32_t oy[4] = {TruncToInt(-hy * sy), TruncToInt(-hy * sy), TruncToInt((h - hy) * sy),
                           TruncToInt((h - hy) * sy)};
    for (int k = 0; k < 4; ++k) {
        double d = std::sqrt(double(ox[k]) * ox[k] + double(oy[k]) * oy[k]);
        double a = std::atan2(double(oy[k]), double(ox[k])) / kDegToRad;
        rect->polyX[k] = TruncToInt(DrawX + CosDeg(a + DrawRot) * d);
        rect->polyY[k] = TruncToInt(DrawY + SinDeg(a + DrawRot) * d);
    }
    return 0;
}

int TAppVector::CountCurrentState() {
    if (CurrAnim) CurrAnim->CountStepState(*CurrState, CurrAnimPer);
    return 0;
}

int TAppVector::Calculate(int withRect) {
    CountCurrentState();
    CountMyRotation();
    CountMyScale();
    CountMyPosition();
    CountMyAlpha();
    if (withRect != 0) CountMyRect();
    for (const auto& v : vectors)
        if (v) v->Calculate(withRect);
    return 0;
}

// ---- Drawing ----

int TAppVector::DrawMyGFX() {
    if (!Root) return 0;
    const auto& table = Root->gfx;
    const int32_t n = CurrState->n;
    if (n < 0 || n >= static_cast<int32_t>(table.size()) || !table[n]) return 0;
    SetRotation(DrawRot);
    SetScale(DrawScaleX, DrawScaleY);
    SetAlpha(DrawAlpha);
    // One graphic serves many parts and poses: its handle is set for each drawing.
    table[n]->SetHandle(TruncToInt(CurrState->hx), TruncToInt(CurrState->hy));
    table[n]->Draw(DrawX, DrawY, PrintMyData);
    return 0;
}

void TAppVector::_DrawPivot(int r, int g, int b) {
    SetScale(1, 1);
    SetRotation(0);
    SetColor(r, g, b);
    DrawRect(DrawX - 4, DrawY - 4, 8, 8);
    if (over != 0) {
        SetColor(static_cast<int>(r * 0.5), static_cast<int>(g * 0.5), static_cast<int>(b * 0.5));
        DrawRect(DrawX - 4, DrawY - 4, 8, 8);
    }
}

int TAppVector::DrawSubsDebug() {
    for (const auto& v : vectors) {
        if (!v) continue;
        SetScale(1, 1);
        SetRotation(0);
        SetBlend(ALPHABLEND);
        SetAlpha(1);
        SetColor(LineR, LineG, LineB);
        DrawLine(DrawX, DrawY, v->DrawX, v->DrawY, true);
        v->DrawDebug();
    }
    return 0;
}

int TAppVector::DrawMyRect() {
    if (rect) rect->Draw();
    return 0;
}

int TAppVector::DrawDebug() {
    _DrawPivot(CenterR, CenterG, CenterB);
    DrawMyRect();
    DrawSubsDebug();
    return 0;
}

// ---- Queries and poses ----

int TAppVector::GetWidth() {
    if (!Root) return 0;
    const auto& table = Root->gfx;
    const int32_t n = CurrState->n;
    if (n < 0 || n >= static_cast<int32_t>(table.size()) || !table[n]) return 0;
    return table[n]->Width;
}

int TAppVector::GetHeight() {
    if (!Root) return 0;
    const auto& table = Root->gfx;
    const int32_t n = CurrState->n;
    if (n < 0 || n >= static_cast<int32_t>(table.size()) || !table[n]) return 0;
    return table[n]->Height;
}

TAppVectorStatePtr TAppVector::GetState(int i) {
    if (i < 0 || i >= static_cast<int>(States.size())) return nullptr;
    return States[i];
}

TAppVectorAnimPtr TAppVector::GetAnim(const std::string& animName) {
    TemporaryIndex = 0;
    for (const auto& a : anims) {
        if (a && a->name == animName) return a;
        ++TemporaryIndex;
    }
    return nullptr;
}

int TAppVector::SetCurrStateInd(int i) {
    if (i < 0 || i >= static_cast<int>(States.size())) return 0;
    if (States[i]) CurrState->CopyFrom(*States[i]);
    CurrStateInd = i;
    for (const auto& v : vectors)
        if (v) v->SetCurrStateInd(i);
    return 0;
}

int TAppVector::SetCurrAnim(const std::string& animName, float per) {
    TAppVectorAnimPtr anim = GetAnim(animName);
    if (!anim) {
        SetCurrAnimClear();
        return 0;
    }
    const int index = TemporaryIndex;
    CurrAnim = anim;
    CurrAnimPer = per;
    for (const auto& v : vectors)
        if (v) v->SetCurrAnim(animName, per);
    return index;
}

int TAppVector::SetCurrAnimInd(int i, float per) {
    if (i >= 0 && i < static_cast<int>(anims.size())) {
        CurrAnim = anims[i];
        CurrAnimPer = per;
    }
    for (const auto& v : vectors)
        if (v) v->SetCurrAnimInd(i, per);
    return 0;
}

int TAppVector::SetCurrAnimClear() {
    CurrAnim.reset();
    for (const auto& v : vectors)
        if (v) v->SetCurrAnimClear();
    PopCurrState();
    return 0;
}

int TAppVector::CopyLastState() {
    if (States.empty()) InitStates(0, 0);
    else States.push_back(CopyVectorState(States.back()));
    for (const auto& v : vectors)
        if (v) v->CopyLastState();
    return 0;
}

int TAppVector::RemoveState(int i) {
    if (i >= 0 && i < static_cast<int>(States.size())) States.erase(States.begin() + i);
    for (const auto& v : vectors)
        if (v) v->RemoveState(i);
    return 0;
}

int TAppVector::PushCurrState() {
    if (!PopState) PopState = CopyVectorState(CurrState);
    else PopState->CopyFrom(*CurrState);
    return 0;
}

int TAppVector::PushCurrStateTree() {
    PushCurrState();
    for (const auto& v : vectors)
        if (v) v->PushCurrStateTree();
    return 0;
}

int TAppVector::PopCurrState() {
    if (PopState) CurrState->CopyFrom(*PopState);
    else if (!States.empty() && States[0]) CurrState->CopyFrom(*States[0]);
    return 0;
}

int TAppVector::PrintAnim(const std::string& indent) {
    Print(indent + "Anims: " + IntToString(static_cast<int64_t>(anims.size())));
    for (const auto& a : anims) {
        if (!a) continue;
        Print(indent + "Anim " + a->name);
        for (size_t j = 0; j < a->States.size(); ++j) {
            const auto& step = a->States[j];
            if (!step) continue;
            bool mine = std::find(States.begin(), States.end(), step->state) != States.end() && step->state;
            Print(indent + ">> " + step->ToString() +
                  (mine ? "  INDEX: " + IntToString(static_cast<int64_t>(j)) : std::string("  INDEX NOT FOUND")));
        }
    }
    for (const auto& v : vectors)
        if (v) v->PrintAnim(indent + "\t");
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Drawing whole objects

namespace {
// Draws obj placed at x, y, the drawing state kept around it.
template <class Draw>
int DrawAVOAt(const TAppVectorObjPtr& obj, float x, float y, Draw draw) {
    if (!obj) return 0;
    SaveDrawState();
    obj->DrawX = x;
    obj->DrawY = y;
    draw(*obj);
    RestoreDrawState();
    return 0;
}
}  // namespace

int DrawAVO(const TAppVectorObjPtr& obj, float x, float y) {
    return DrawAVOAt(obj, x, y, [](TAppVectorObj& o) {
        o.Calculate(0);
        o.Draw();
    });
}

int DrawAVODebug(const TAppVectorObjPtr& obj, float x, float y) {
    return DrawAVOAt(obj, x, y, [](TAppVectorObj& o) {
        o.CalculateObj(1);
        o.DrawDebug();
        o.DrawDebugFrame();
    });
}

int DrawAVOState(const TAppVectorObjPtr& obj, int stateInd, float x, float y) {
    return DrawAVOAt(obj, x, y, [stateInd](TAppVectorObj& o) { o.DrawState(stateInd); });
}

namespace {
int DrawAnimFrame(const TAppVectorObjPtr& obj, const std::string& animName, float per, float x, float y, bool debug) {
    if (!obj) return 0;
    // Every part pushes its own working pose, so that SetCurrAnimClear, which pops in every
    // part, gives each part back its own pose.
    obj->PushCurrStateTree();
    SaveDrawState();
    obj->DrawX = x;
    obj->DrawY = y;
    obj->SetCurrAnim(animName, per);
    obj->Calculate(0);
    if (debug) {
        obj->DrawDebug();
        obj->DrawDebugFrame();
    } else {
        obj->Draw();
    }
    obj->SetCurrAnimClear();
    RestoreDrawState();
    return 0;
}
}  // namespace

int DrawAVOAnim(const TAppVectorObjPtr& obj, const std::string& animName, float per, float x, float y) {
    return DrawAnimFrame(obj, animName, per, x, y, false);
}

int DrawAVOAnimDebug(const TAppVectorObjPtr& obj, const std::string& animName, float per, float x, float y) {
    return DrawAnimFrame(obj, animName, per, x, y, true);
}

int SetAVOAnim(const TAppVectorObjPtr& obj, const std::string& animName, float per) {
    return obj ? obj->SetCurrAnim(animName, per) : 0;
}

int SetAVOAnimInd(const TAppVectorObjPtr& obj, int index, float per) {
    if (obj) obj->SetCurrAnimInd(index, per);
    return 0;
}
