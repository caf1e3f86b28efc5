// A sound that only records each Play (its volume, target and speed) and sounds nothing.
#pragma once
#include <array>
#include <vector>

#include "engine/media/AppSound.h"

namespace testsupport {

struct CountingSound : TAppSound {
    std::vector<std::array<float, 3>> plays;
    int Play(float vol, float target, float speed) override {
        plays.push_back({vol, target, speed});
        return 0;
    }
    int Plays() const { return static_cast<int>(plays.size()); }
};

}  // namespace testsupport
