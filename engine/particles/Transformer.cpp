#include "engine/particles/Transformer.h"

#include "engine/data/Keyframes.h"
#include "engine/basics/Basics.h"
#include "engine/particles/Particles.h"
#include "engine/system/Error.h"
#include "platform/Font.h"
#include "platform/Graphics.h"
#include "platform/Random.h"
#include "platform/Strings.h"

std::string TTransformer::tfrText;

// ---------------------------------------------------------------------------------------------
// TTransformer

TTransformer::TTransformer() : tfr(CreateTFR(1.0f, 1.0f, 0.0f, 0.0f)) {}

int TTransformer::Draw(int x, int y, int, int) {
    SetImageFont(nullptr);
    SetColor(0, 0, 0);
    const TTFR& t = tfr ? *tfr : TTFR();
    tfrText = std::to_string(TruncToInt(t.sx)) + "," + std::to_string(TruncToInt(t.sy)) + ", " +
              std::to_string(TruncToInt(t.Rotation));
    const float fx = static_cast<float>(x), fy = static_cast<float>(y);
    DrawText(tfrText, fx + 3, fy + 1);
    DrawText(tfrText, fx + 3, fy + 3);
    DrawText(tfrText, fx + 5, fy + 1);
    DrawText(tfrText, fx + 5, fy + 3);
    SetColor(255, 255, 255);
    DrawText(tfrText, fx + 4, fy + 2);
    return 0;
}

int TTransformer::TransformParticle(TAppParticle* p) {
    if (p == nullptr || !tfr) return 0;
    p->ScaleX = tfr->sx;
    p->ScaleY = tfr->sy;
    p->Rotation = tfr->Rotation;
    return 0;
}

TTransformerPtr TTransformer::Copy() const {
    auto out = std::make_shared<TTransformer>();
    if (tfr) out->tfr = tfr->Copy();
    return out;
}

int TTransformer::FromString(const std::string& s) {
    tfr = LoadTFRFromString(s);
    return 0;
}

std::string TTransformer::ToString() const { return "TRANSFORMER)" + (tfr ? tfr->ToString() : TTFR().ToString()); }

// ---------------------------------------------------------------------------------------------
// TTransformerTransform and TTransformerRandomTFR

TTransformerTransform::TTransformerTransform()
    : transform(CreateTransform({CreateTFR(0.5f, 1.0f, 0.0f, 0.0f), CreateTFR(1.5f, 1.5f, 360.0f, 1.0f)})) {}

int TTransformerTransform::TransformParticle(TAppParticle* p) {
    if (p == nullptr) return 0;
    p->Transform = transform;
    return 0;
}

TTransformerPtr TTransformerTransform::Copy() const {
    return NewWith<TTransformerTransform>(&TTransformerTransform::transform, CopyOrNull(transform));
}

int TTransformerTransform::FromString(const std::string& s) {
    transform = LoadTransformFromString(s);
    return 0;
}

std::string TTransformerTransform::ToString() const {
    return "TRANSFORM)" + (transform ? transform->ToString() : std::string());
}

int TTransformerRandomTFR::TransformParticle(TAppParticle* p) {
    if (p == nullptr) return 0;
    const float t = static_cast<float>(Rnd(1.0, 0.0));
    if (transform) transform->PutSolidToVar(p->ScaleX, p->ScaleY, p->Rotation, t);
    return 0;
}

TTransformerPtr TTransformerRandomTFR::Copy() const {
    return NewWith<TTransformerRandomTFR>(&TTransformerRandomTFR::transform, CopyOrNull(transform));
}

std::string TTransformerRandomTFR::ToString() const {
    return "RANDOM_TFR)" + (transform ? transform->ToString() : std::string());
}

// ---------------------------------------------------------------------------------------------
// The array kinds

TTransformerTransformArray::TTransformerTransformArray() {
    Transforms = {CreateTransform({CreateTFR(0.0f, 0.0f, 0.0f, 0.0f), CreateTFR(1.0f, 1.0f, 360.0f, 1.0f)}),
                  CreateTransform({CreateTFR(0.5f, 0.5f, 0.0f, 0.0f), CreateTFR(1.5f, 1.5f, 90.0f, 1.0f)})};
}

int TTransformerTransformArray::TransformParticle(TAppParticle* p) {
    if (p == nullptr || Transforms.empty()) return 0;
    // An empty slot hands no curve: the particle keeps its fixed values.
    p->Transform = PickAny(Transforms);
    return 0;
}

TTransformerPtr TTransformerTransformArray::Copy() const {
    return NewWith<TTransformerTransformArray>(&TTransformerTransformArray::Transforms, CopyEach(Transforms, false));
}

int TTransformerTransformArray::FromString(const std::string& s) {
    Transforms.clear();
    for (const auto& piece : SplitString(s, "&")) Transforms.push_back(LoadTransformFromString(piece));
    return 0;
}

std::string TTransformerTransformArray::_JoinedTexts() const { return JoinTexts(Transforms, "&"); }

std::string TTransformerTransformArray::ToString() const { return "TRANSFORM_ARRAY)" + _JoinedTexts(); }

int TTransformerTransformArray::AddTransform(const TTransformPtr& t) {
    std::vector<TTransformPtr> list = Transforms;
    list.push_back(t);
    return ConvertFromList(list);
}

int TTransformerTransformArray::DeleteTransform(int index) { return ConvertFromList(WithoutIndex(Transforms, index)); }

int TTransformerTransformArray::ConvertFromList(const std::vector<TTransformPtr>& list) {
    std::vector<TTransformPtr> out;
    out.reserve(list.size());
    for (const auto& t : list)
        if (t) out.push_back(t);
    Transforms = std::move(out);
    return 0;
}

std::string TTransformerBetweenTransforms::ToString() const { return "TRANSFORM_BETWEEN)" + _JoinedTexts(); }

// ---------------------------------------------------------------------------------------------

TTransformerPtr LoadTransformerFromString(const std::string& s) {
    const std::vector<std::string> pieces = SplitString(s, ")");
    if (pieces.empty()) return std::make_shared<TTransformerTransform>();
    // A keyword written without its payload (an empty array kind) reads an empty payload.
    const std::string payload = pieces.size() > 1 ? pieces[1] : std::string();
    const std::string key = Upper(pieces[0]);
    TTransformerPtr out;
    if (key == "TRANSFORMER") out = std::make_shared<TTransformer>();
    else if (key == "TRANSFORM") out = std::make_shared<TTransformerTransform>();
    else if (key == "RANDOM_TFR") out = std::make_shared<TTransformerRandomTFR>();
    else if (key == "TRANSFORM_ARRAY") out = std::make_shared<TTransformerTransformArray>();
    else if (key == "TRANSFORM_BETWEEN") out = std::make_shared<TTransformerBetweenTransforms>();
    if (!out) {
        Error("Unknown Transformer type: " + pieces[0] + ".", Here());
        return nullptr;
    }
    out->FromString(payload);
    return out;
}
