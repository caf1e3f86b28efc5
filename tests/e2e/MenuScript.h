// Input scripts for the main menu and its pop-ups (players, name entry, message), at frames
// counted from the main menu's first frame (runs with --from-menu count so), and the places of
// their buttons on the 1024 x 768 picture (the pop-ups are laid out around its middle).
#pragma once
#include <string>

namespace e2e {

struct Point {
    int x, y;
};
constexpr Point kMenuPlay{512, 374}, kMenuPlayers{512, 518}, kMenuExit{512, 590};
constexpr Point kPlayersNew{724, 220}, kPlayersRename{724, 286}, kPlayersDelete{724, 352}, kPlayersOk{512, 594};
constexpr Point kEntryOk{402, 470}, kInfoYes{402, 458};
constexpr Point kContinue{512, 356};
// The players pop-up's slot k (from 0).
inline Point Slot(int k) { return {382, 219 + 58 * k}; }

// An input script, event by event.
class MenuScript {
public:
    MenuScript& Click(int at, Point p) {
        return Line(at, "move " + std::to_string(p.x) + " " + std::to_string(p.y))
            .Line(at + 1, "down 1")
            .Line(at + 2, "up 1");
    }
    MenuScript& Key(int at, int key) {
        return Line(at, "keydown " + std::to_string(key)).Line(at + 1, "keyup " + std::to_string(key));
    }
    MenuScript& Text(int at, const std::string& text) { return Line(at, "text " + text); }
    // The name entry emptied and the name typed, then its OK: the entry gone 55 frames on.
    MenuScript& Name(int at, const std::string& name) {
        for (int i = 0; i < 6; ++i) Key(at + 2 * i, 8);
        return Text(at + 14, name).Click(at + 24, kEntryOk);
    }
    // The player in slot k renamed: picked, Rename, the name; the name entry gone 120 frames on.
    MenuScript& Rename(int at, int slot, const std::string& name) {
        return Click(at, Slot(slot)).Click(at + 20, kPlayersRename).Name(at + 60, name);
    }
    const std::string& str() const { return text_; }

private:
    MenuScript& Line(int at, const std::string& event) {
        text_ += std::to_string(at) + " " + event + "\n";
        return *this;
    }
    std::string text_;
};

}  // namespace e2e
