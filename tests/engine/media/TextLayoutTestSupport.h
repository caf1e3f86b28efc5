// Exact text metrics and a recorder of drawn text for the layout and styled-text tests: every
// byte is one pixel wide (a space too), every line 16 pixels high, and each draw is recorded with
// the draw state in force.
#pragma once
#include <string>
#include <vector>

#include "engine/media/TextLayout.h"
#include "platform/Graphics.h"

namespace texttest {

struct DrawCall {
    std::string text;
    float x, y;
    float alpha;
    int r, g, b;
    int blend;
};

inline std::vector<DrawCall>& Calls() {
    static std::vector<DrawCall> calls;
    return calls;
}

inline int FakeWidth(const std::string& text) { return static_cast<int>(text.size()); }
inline int FakeHeight(const std::string&) { return 16; }
inline void RecordDraw(const std::string& text, float x, float y) {
    DrawCall c{text, x, y, GetAlpha(), 0, 0, 0, GetBlend()};
    GetColor(c.r, c.g, c.b);
    Calls().push_back(c);
}

// Installs the fake metrics and the recorder; restores the platform's on destruction.
struct FakeText {
    FakeText() {
        Calls().clear();
        SetTextRenderer(TextRenderer{FakeWidth, FakeHeight, RecordDraw});
    }
    ~FakeText() {
        ResetTextRenderer();
        Calls().clear();
    }
};

}  // namespace texttest
