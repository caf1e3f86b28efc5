// Particle transformers: what scale and rotation an engine particle gets when it is emitted.
// A kind either writes fixed values into the particle (kept for its whole life) or hands it a
// transform curve that the particle follows over its life by itself.
//
//   kind                           keyword             particle gets
//   TTransformer                   TRANSFORMER         tfr's sx, sy, Rotation
//   TTransformerTransform          TRANSFORM           the curve `transform` (shared)
//   TTransformerRandomTFR          RANDOM_TFR          the stop of `transform` holding a random t
//   TTransformerTransformArray     TRANSFORM_ARRAY     one of `Transforms` at random (shared)
//   TTransformerBetweenTransforms  TRANSFORM_BETWEEN   as the array kind
//
// Text form: the keyword, ")" and the payload (a TTFR text, a curve text, or the curve texts
// joined by "&"). Keywords are written in upper case and read without regard to case. A keyword
// without a payload (as an empty array kind writes itself) reads as an empty payload.
//
// An array kind without curves leaves the particle at its reset values (scale 1, 1, rotation 0)
// and draws no random number; empty slots are skipped when the array is written or copied.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "engine/data/Transform.h"
#include "engine/data/ValueTypes.h"

class TAppParticle;
class TTransformer;
using TTransformerPtr = std::shared_ptr<TTransformer>;

class TTransformer {
public:
    std::shared_ptr<TTFR> tfr;  // the fixed scale and rotation (Position unused)
    // The text Draw last drew.
    static std::string tfrText;

    TTransformer();
    virtual ~TTransformer() = default;

    // A small label of tfr ("sx,sy, rotation", each truncated toward zero): black outline at
    // x + 3..5, y + 1..3, white text at (x + 4, y + 2), in the default font. The last two
    // arguments are not used; the draw colour is left white.
    virtual int Draw(int x, int y, int unused1 = 0, int unused2 = 0);
    // Sets the particle's scale and rotation (or its Transform curve); null does nothing.
    virtual int TransformParticle(TAppParticle* p);
    // A new object of the same kind with a deep copy of what its text form carries.
    virtual TTransformerPtr Copy() const;
    // Replaces the payload field from the text after the keyword's ")".
    virtual int FromString(const std::string& s);
    virtual std::string ToString() const;
};

class TTransformerTransform : public TTransformer {
public:
    // Default: (0.5, 1, 0) at 0 to (1.5, 1.5, 360) at 1.
    TTransformPtr transform;

    TTransformerTransform();
    int TransformParticle(TAppParticle* p) override;
    TTransformerPtr Copy() const override;
    int FromString(const std::string& s) override;
    std::string ToString() const override;
};

class TTransformerRandomTFR : public TTransformerTransform {
public:
    // One draw of Rnd(1, 0); the stop of `transform` holding it, unblended. No curve is handed.
    int TransformParticle(TAppParticle* p) override;
    TTransformerPtr Copy() const override;
    std::string ToString() const override;
};

class TTransformerTransformArray : public TTransformerTransform {
public:
    // Default: (0, 0, 0) -> (1, 1, 360) and (0.5, 0.5, 0) -> (1.5, 1.5, 90).
    std::vector<TTransformPtr> Transforms;

    TTransformerTransformArray();
    // One draw of Rand(0, n - 1) picks the curve; no curves: nothing changes, nothing is drawn.
    int TransformParticle(TAppParticle* p) override;
    // Always a TTransformerTransformArray (also for the between kind).
    TTransformerPtr Copy() const override;
    int FromString(const std::string& s) override;
    std::string ToString() const override;

    virtual int AddTransform(const TTransformPtr& t);
    // An index outside the array removes nothing.
    virtual int DeleteTransform(int index);
    // Transforms becomes the list's curves in order; null items are left out.
    virtual int ConvertFromList(const std::vector<TTransformPtr>& list);

protected:
    std::string _JoinedTexts() const;
};

class TTransformerBetweenTransforms : public TTransformerTransformArray {
public:
    std::string ToString() const override;
};

// The transformer a text describes: an empty text gives a default TTransformerTransform; an
// unknown keyword is reported and gives null.
TTransformerPtr LoadTransformerFromString(const std::string& s);
