// Frame animations: a set of frame images plus numbered sequences that list which frame to show
// and for how many milliseconds. The engine only loads and looks up; the players step through
// a sequence on the application clock themselves.
//
// ".AnimData" files are block files:
//
//     Frames{
//     	GlobalHandle = 16, 40
//     	FRAME = "#BDIR#screens/Kingdom/Anims/walk0.png"
//     	FRAME = "#BDIR#screens/Kingdom/Anims/walk1.png", 12, 40
//     }
//     Anims{
//     	Anim{
//     		id = 1
//     		Data = "0|120 1 2|80 3"
//     	}
//     }
//
// "GlobalHandle" is the handle of every frame unless a FRAME gives its own after the path.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "platform/Image.h"

class TAnimData {
public:
    virtual ~TAnimData() = default;

    int id = 0;
    std::vector<int> Frames;      // per step: an index into TAnimObject::Frames
    std::vector<int> FrameDelay;  // per step: milliseconds the frame stays

    // Steps separated by single blanks, each a frame number optionally followed by "|" and a
    // delay; a step without a delay keeps the last delay given (100 before any). So
    // "0|120 1 2|80 3" gives the frames 0, 1, 2, 3 with the delays 120, 120, 80, 80.
    virtual int FromString(const std::string& text);
};
using TAnimDataPtr = std::shared_ptr<TAnimData>;

class TAnimObject {
public:
    virtual ~TAnimObject() = default;

    // In the order of the FRAME entries. A frame whose image cannot be loaded holds a copy of the
    // placeholder picture, so later frames keep their positions.
    std::vector<TImagePtr> Frames;
    std::vector<TAnimDataPtr> Anims;  // in file order

    // The first sequence with that id; null when none.
    virtual TAnimDataPtr GetAnim(int id) const;
};
using TAnimObjectPtr = std::shared_ptr<TAnimObject>;

// Reads an animation file; frames are loaded with the given image flags. Never null: a missing
// file or block gives an object without frames or sequences (after an error line).
TAnimObjectPtr LoadAnimObject(const std::string& path, int flags);
