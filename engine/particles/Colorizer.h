// Particle colorizers: what colour and alpha an engine particle gets when it is emitted. A kind
// either writes a fixed colour into the particle (kept for its whole life) or hands it a
// gradient that the particle follows over its life by itself.
//
//   kind                        keyword            particle gets
//   TColorizer                  COLORIZER          rgb's r, g, b and alpha
//   TColorizerFromGradient      FROM_GRADIENT      the blended colour of Gradient at a random t
//   TColorizerRandomColor       RANDOM_COLOR       the colour of the stop holding a random t
//   TColorizerGradient          GRADIENT           the gradient itself (shared)
//   TColorizerGradientArray     GRADIENT_ARRAY     one of the gradients at random (shared)
//   TColorizerGradientBetween   GRADIENT_BETWEEN   a new gradient mixed at random between the
//                                                  first two gradients (its own)
//
// Text form: the keyword, ")" and the payload (a TRGB text, a gradient text, or the gradient
// texts joined by "&"). Keywords are written in upper case and read without regard to case. A
// keyword without a payload (as an empty array kind writes itself) reads as an empty payload.
//
// An array kind without gradients leaves the particle at its reset colour (opaque white) and
// draws no random number; the between kind with a single gradient hands that gradient over.
// Empty slots are skipped when the array is written or copied.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "engine/data/Gradient.h"
#include "engine/data/ValueTypes.h"

class TAppParticle;
class TColorizer;
using TColorizerPtr = std::shared_ptr<TColorizer>;

class TColorizer {
public:
    std::shared_ptr<TRGB> rgb;  // the fixed colour and alpha (position unused)

    TColorizer();
    virtual ~TColorizer() = default;

    // A swatch of rgb over a 10 x 2 checkerboard of 10 x 12 cells (grey at the top left, white
    // where row + column is odd), 100 x 24 at (x, y). Leaves the draw colour and alpha at rgb's.
    virtual int draw(int x, int y);
    // This colorizer's rgb itself (the gradient kinds: a new colour at a random t).
    virtual std::shared_ptr<TRGB> GetColorizerRGB();
    // Sets the particle's colour and alpha (or its Gradient); null does nothing.
    virtual int ColorizeParticle(TAppParticle* p);
    // A new object of the same kind with a deep copy of what its text form carries.
    virtual TColorizerPtr Copy() const;
    // Replaces the payload field from the text after the keyword's ")".
    virtual int FromString(const std::string& s);
    virtual std::string ToString() const;
};

class TColorizerFromGradient : public TColorizer {
public:
    // Default: opaque white at 0 to transparent black at 1.
    TGradientPtr Gradient;

    TColorizerFromGradient();
    std::shared_ptr<TRGB> GetColorizerRGB() override;
    // One draw of Rnd(1, 0); the gradient's blended colour there.
    int ColorizeParticle(TAppParticle* p) override;
    TColorizerPtr Copy() const override;
    int FromString(const std::string& s) override;
    std::string ToString() const override;
};

class TColorizerRandomColor : public TColorizerFromGradient {
public:
    // Default: white at 0 and 0.5, black at 1.
    TColorizerRandomColor();
    // One draw of Rnd(1, 0); the colour of the stop holding it, unblended.
    int ColorizeParticle(TAppParticle* p) override;
    TColorizerPtr Copy() const override;
    std::string ToString() const override;
};

class TColorizerGradient : public TColorizerFromGradient {
public:
    int ColorizeParticle(TAppParticle* p) override;
    TColorizerPtr Copy() const override;
    std::string ToString() const override;
};

class TColorizerGradientArray : public TColorizer {
public:
    // Default: white -> black and red -> blue.
    std::vector<TGradientPtr> Gradient;

    TColorizerGradientArray();
    // One draw of Rand(0, n - 1) picks the gradient; no gradients: nothing changes, nothing drawn.
    int ColorizeParticle(TAppParticle* p) override;
    // Always a TColorizerGradientArray (also for the between kind).
    TColorizerPtr Copy() const override;
    int FromString(const std::string& s) override;
    std::string ToString() const override;

    virtual int AddGradient(const TGradientPtr& g);
    // An index outside the array removes nothing.
    virtual int DeleteGradient(int index);

protected:
    std::string _JoinedTexts() const;
    int _SetFromList(const std::vector<TGradientPtr>& list);
};

class TColorizerGradientBetween : public TColorizerGradientArray {
public:
    // A new gradient between the first two (gradients after the second are not used); with a
    // single gradient, that gradient; with none, nothing.
    int ColorizeParticle(TAppParticle* p) override;
    std::string ToString() const override;
};

// Creators keep the very object they are given.
TColorizerPtr CreateColorizer(const std::shared_ptr<TRGB>& rgb);
TColorizerPtr CreateColorizerFromGradient(const TGradientPtr& g);
TColorizerPtr CreateColorizerGradient(const TGradientPtr& g);
TColorizerPtr CreateColorizerGradientArray(const std::vector<TGradientPtr>& a);
TColorizerPtr CreateColorizerGradientBetween(const std::vector<TGradientPtr>& a);

// The colorizer a text describes: an empty text gives opaque red (a colour of its own, never
// the shared RedRGB); an unknown keyword is reported and gives null.
TColorizerPtr LoadColorizerFromString(const std::string& s);
