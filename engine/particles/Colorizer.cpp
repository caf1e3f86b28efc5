#include "engine/particles/Colorizer.h"

#include "engine/data/Keyframes.h"
#include "engine/basics/Basics.h"
#include "engine/particles/Particles.h"
#include "engine/system/Error.h"
#include "engine/data/GradientLibrary.h"
#include "platform/Graphics.h"
#include "platform/Random.h"
#include "platform/Strings.h"

namespace {

// The real t at which the random kinds read their gradient: one draw, 0 <= t < 1.
float RandomPosition() { return static_cast<float>(Rnd(1.0, 0.0)); }

}  // namespace

// ---------------------------------------------------------------------------------------------
// TColorizer

TColorizer::TColorizer() : rgb(CreateRGB(255, 255, 255, 1.0f, 1.0f)) {}

int TColorizer::draw(int x, int y) {
    for (int row = 0; row <= 1; ++row) {
        for (int col = 0; col <= 9; ++col) {
            if (CheckerCell(row, col) == 1) SetColor(255, 255, 255);
            else SetColor(100, 100, 100);
            DrawRect(static_cast<float>(x + 10 * col), static_cast<float>(y + 12 * row), 10.0f, 12.0f);
        }
    }
    if (rgb) SetColorAlphaRGB(*rgb);
    DrawRect(static_cast<float>(x), static_cast<float>(y), 100.0f, 24.0f);
    return 0;
}

std::shared_ptr<TRGB> TColorizer::GetColorizerRGB() { return rgb; }

int TColorizer::ColorizeParticle(TAppParticle* p) {
    if (p == nullptr || !rgb) return 0;
    p->r = rgb->r;
    p->g = rgb->g;
    p->b = rgb->b;
    p->Alpha = rgb->a;
    return 0;
}

TColorizerPtr TColorizer::Copy() const {
    auto out = std::make_shared<TColorizer>();
    if (rgb) out->rgb = rgb->Copy();
    return out;
}

int TColorizer::FromString(const std::string& s) {
    rgb = LoadRGBFromString(s);
    return 0;
}

std::string TColorizer::ToString() const { return "COLORIZER)" + (rgb ? rgb->ToString() : TRGB().ToString()); }

// ---------------------------------------------------------------------------------------------
// The single-gradient kinds

TColorizerFromGradient::TColorizerFromGradient() : Gradient(CreateDefaultGradient()) {}

std::shared_ptr<TRGB> TColorizerFromGradient::GetColorizerRGB() {
    const float t = RandomPosition();
    if (!Gradient) return CreateRGB(0, 0, 0, 1.0f, 1.0f);
    return Gradient->GetRGB(t);
}

int TColorizerFromGradient::ColorizeParticle(TAppParticle* p) {
    if (p == nullptr) return 0;
    const float t = RandomPosition();
    if (Gradient) Gradient->PutToVar(p->r, p->g, p->b, p->Alpha, t);
    return 0;
}

TColorizerPtr TColorizerFromGradient::Copy() const {
    return NewWith<TColorizerFromGradient>(&TColorizerFromGradient::Gradient, CopyOrNull(Gradient));
}

int TColorizerFromGradient::FromString(const std::string& s) {
    Gradient = LoadGradientFromString(s);
    return 0;
}

std::string TColorizerFromGradient::ToString() const {
    return "FROM_GRADIENT)" + (Gradient ? Gradient->ToString() : std::string());
}

TColorizerRandomColor::TColorizerRandomColor() {
    Gradient = CreateGradient(
        {CreateRGB(255, 255, 255, 1.0f, 0.0f), CreateRGB(255, 255, 255, 1.0f, 0.5f), CreateRGB(0, 0, 0, 1.0f, 1.0f)});
}

int TColorizerRandomColor::ColorizeParticle(TAppParticle* p) {
    if (p == nullptr) return 0;
    const float t = RandomPosition();
    if (Gradient) Gradient->PutSolidToVar(p->r, p->g, p->b, p->Alpha, t);
    return 0;
}

TColorizerPtr TColorizerRandomColor::Copy() const {
    return NewWith<TColorizerRandomColor>(&TColorizerRandomColor::Gradient, CopyOrNull(Gradient));
}

std::string TColorizerRandomColor::ToString() const {
    return "RANDOM_COLOR)" + (Gradient ? Gradient->ToString() : std::string());
}

int TColorizerGradient::ColorizeParticle(TAppParticle* p) {
    if (p == nullptr) return 0;
    p->Gradient = Gradient;
    return 0;
}

TColorizerPtr TColorizerGradient::Copy() const {
    return NewWith<TColorizerGradient>(&TColorizerGradient::Gradient, CopyOrNull(Gradient));
}

std::string TColorizerGradient::ToString() const {
    return "GRADIENT)" + (Gradient ? Gradient->ToString() : std::string());
}

// ---------------------------------------------------------------------------------------------
// The array kinds

TColorizerGradientArray::TColorizerGradientArray() { Gradient = {CreateBlackWhiteGradient(), CreateRedBlueGradient()}; }

int TColorizerGradientArray::ColorizeParticle(TAppParticle* p) {
    if (p == nullptr || Gradient.empty()) return 0;
    p->Gradient = PickAny(Gradient);
    return 0;
}

TColorizerPtr TColorizerGradientArray::Copy() const {
    return NewWith<TColorizerGradientArray>(&TColorizerGradientArray::Gradient, CopyEach(Gradient, false));
}

int TColorizerGradientArray::FromString(const std::string& s) {
    Gradient.clear();
    for (const auto& piece : SplitString(s, "&")) Gradient.push_back(LoadGradientFromString(piece));
    return 0;
}

std::string TColorizerGradientArray::_JoinedTexts() const { return JoinTexts(Gradient, "&"); }

std::string TColorizerGradientArray::ToString() const { return "GRADIENT_ARRAY)" + _JoinedTexts(); }

int TColorizerGradientArray::_SetFromList(const std::vector<TGradientPtr>& list) {
    std::vector<TGradientPtr> out;
    out.reserve(list.size());
    for (const auto& g : list)
        if (g) out.push_back(g);
    Gradient = std::move(out);
    return 0;
}

int TColorizerGradientArray::AddGradient(const TGradientPtr& g) {
    std::vector<TGradientPtr> list = Gradient;
    list.push_back(g);
    return _SetFromList(list);
}

int TColorizerGradientArray::DeleteGradient(int index) { return _SetFromList(WithoutIndex(Gradient, index)); }

int TColorizerGradientBetween::ColorizeParticle(TAppParticle* p) {
    if (p == nullptr || Gradient.empty()) return 0;
    if (Gradient.size() == 1) {
        p->Gradient = Gradient[0];
        return 0;
    }
    p->Gradient = CreateGradientBetweenGradients(Gradient[0], Gradient[1]);
    return 0;
}

std::string TColorizerGradientBetween::ToString() const { return "GRADIENT_BETWEEN)" + _JoinedTexts(); }

// ---------------------------------------------------------------------------------------------

TColorizerPtr CreateColorizer(const std::shared_ptr<TRGB>& rgb) { return NewWith<TColorizer>(&TColorizer::rgb, rgb); }

TColorizerPtr CreateColorizerFromGradient(const TGradientPtr& g) {
    return NewWith<TColorizerFromGradient>(&TColorizerFromGradient::Gradient, g);
}

TColorizerPtr CreateColorizerGradient(const TGradientPtr& g) {
    return NewWith<TColorizerGradient>(&TColorizerGradient::Gradient, g);
}

TColorizerPtr CreateColorizerGradientArray(const std::vector<TGradientPtr>& a) {
    auto out = std::make_shared<TColorizerGradientArray>();
    out->Gradient = a;
    out->DeleteGradient(-1);  // leaves out empty slots
    return out;
}

TColorizerPtr CreateColorizerGradientBetween(const std::vector<TGradientPtr>& a) {
    auto out = std::make_shared<TColorizerGradientBetween>();
    out->Gradient = a;
    out->DeleteGradient(-1);
    return out;
}

TColorizerPtr LoadColorizerFromString(const std::string& s) {
    const std::vector<std::string> pieces = SplitString(s, ")");
    if (pieces.empty()) {
        // Opaque red, as the shared RedRGB, but a colour of its own: an edit of this colorizer
        // must not repaint every user of the named colour.
        return CreateColorizer(RedRGB ? RedRGB->Copy() : CreateRGB(255, 0, 0, 1.0f, 1.0f));
    }
    // A keyword written without its payload (an empty array kind) reads an empty payload.
    const std::string payload = pieces.size() > 1 ? pieces[1] : std::string();
    const std::string key = Upper(pieces[0]);
    TColorizerPtr out;
    if (key == "COLORIZER") out = std::make_shared<TColorizer>();
    else if (key == "FROM_GRADIENT") out = std::make_shared<TColorizerFromGradient>();
    else if (key == "RANDOM_COLOR") out = std::make_shared<TColorizerRandomColor>();
    else if (key == "GRADIENT") out = std::make_shared<TColorizerGradient>();
    else if (key == "GRADIENT_ARRAY") out = std::make_shared<TColorizerGradientArray>();
    else if (key == "GRADIENT_BETWEEN") out = std::make_shared<TColorizerGradientBetween>();
    if (!out) {
        Error("Unknown Colorizer type: " + pieces[0] + ".", Here());
        return nullptr;
    }
    out->FromString(payload);
    return out;
}
