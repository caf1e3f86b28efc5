// Emitter shapes: where around its emitter a new particle starts, as a random whole-pixel
// offset. Each shape holds six values (more are kept when a text brings more):
//
//   kind    word     value 0        value 1        value 2        value 3        value 4  value 5
//   point   POINT    -              -              -              -              -        -
//   ellipse ELIPSE   outer radius x outer radius y inner radius x inner radius y start    span
//   box     BOX      half width     half height    (kept)         (kept)         -        -
//   line    LINE     direction      scatter radius length         -              -        -
//
// Angles are degrees. Text form: the word, ")" and the values joined by "&", each "%#.9g":
// "BOX)20.0000000&10.0000000&0.00000000&0.00000000&0.00000000&0.00000000".
//
// GetRandomY must follow GetRandomX for the same particle: the ellipse and the line draw their
// angle (and the line its distances) in GetRandomX. Draws of the random generator, in order:
// point none; ellipse Rnd(angle), Rnd(x radius), Rnd(y radius); box Rnd(x), Rnd(y); line
// Rand(0, 360), Rand(0, scatter), Rand(0, length).
#pragma once
#include <memory>
#include <string>
#include <vector>

class TAppEmitterShape;
using TAppEmitterShapePtr = std::shared_ptr<TAppEmitterShape>;

class TAppEmitterShape {
public:
    std::vector<float> Value = std::vector<float>(6, 0.0f);

    virtual ~TAppEmitterShape() = default;

    virtual int GetRandomX();
    virtual int GetRandomY();
    // Value becomes the given values.
    virtual int SetValues(std::vector<float> values);
    // The outline at (x, y) in cyan, at scale 1 and rotation 0 (left set so); a point is one
    // pixel.
    virtual int Draw(float x, float y);
    // Values 0 to 5 joined by "&" (a missing value writes as 0).
    virtual std::string GetValuesString();
    // Sets value i from piece i of the text split at "&" (no number reads 0), for as many
    // pieces as the shape holds values. Returns "".
    virtual std::string FromString(const std::string& text);
    // A new shape of the same kind holding (at most) the first six values.
    virtual TAppEmitterShapePtr Copy();
    virtual std::string ToString();

    // Value i, 0 when the shape holds fewer values.
    float V(size_t i) const { return i < Value.size() ? Value[i] : 0.0f; }

protected:
    std::vector<float> _CopyValues() const;
};

class TAEShapeElipse : public TAppEmitterShape {
public:
    float PomRot = 0;  // the angle drawn by the last GetRandomX

    int GetRandomX() override;
    int GetRandomY() override;
    // Two polylines, inner radii then outer, from the start angle to start + span in steps of 4.
    int Draw(float x, float y) override;
    TAppEmitterShapePtr Copy() override;
    std::string ToString() override;
};

class TAEShapeBox : public TAppEmitterShape {
public:
    int GetRandomX() override;
    int GetRandomY() override;
    // Four one-pixel edges.
    int Draw(float x, float y) override;
    TAppEmitterShapePtr Copy() override;
    std::string ToString() override;
};

class TAEShapeLine : public TAppEmitterShape {
public:
    // Drawn by the last GetRandomX of any line: the scatter angle, scatter distance and the
    // distance along the line.
    static float PomRot;
    static float PomOdl;
    static float Odl;

    int GetRandomX() override;
    int GetRandomY() override;
    // Draws nothing and sets nothing.
    int Draw(float x, float y) override;
    TAppEmitterShapePtr Copy() override;
    std::string ToString() override;
};

TAppEmitterShapePtr CreateAESPoint();
TAppEmitterShapePtr CreateAESElipse(float rx, float ry, float innerRx, float innerRy, float startAngle, float span);
TAppEmitterShapePtr CreateAESBox(float halfW, float halfH, float v2 = 0, float v3 = 0);
TAppEmitterShapePtr CreateAESLine(float direction, float scatter, float length);
// The text split at "&", each piece read as a real number (no number reads 0).
std::vector<float> CreateAESValueArray(const std::string& text);
// The shape a ToString text describes. An empty text gives a point. Fewer than six values (a
// text without ")" has none) give a point and an error line; an unknown word gives a point and
// an error line.
TAppEmitterShapePtr CreateAESFromString(const std::string& text);
// Back to the start state of the line shapes' shared scratch (tests).
void ResetEmitterShapeScratch();
