#include "engine/media/AnimData.h"

#include <cmath>

#include "engine/basics/Basics.h"
#include "engine/system/Error.h"
#include "engine/system/Paths.h"
#include "engine/data/BlockFile.h"
#include "engine/media/Img.h"
#include "platform/Files.h"
#include "platform/Strings.h"

namespace {

// The frame images of a "Frames" block, in the order of its FRAME entries.
// In a damaged file (damaged true) the last frame named may be a name cut short: it is not
// reported, the file was.
std::vector<TImagePtr> LoadAnimObjectFrames(const TBlockFilePtr& framesBlock, const TBlockFileList& entries, int flags,
                                            bool damaged) {
    int globalX = 0, globalY = 0;
    if (isBFEntry(framesBlock, "GlobalHandle")) {
        globalX = GetBFInt(framesBlock, "GlobalHandle", 0);
        globalY = GetBFInt(framesBlock, "GlobalHandle", 1);
    }
    std::vector<TImagePtr> frames;
    TBlockFilePtr last;
    for (const TBlockFilePtr& entry : entries)
        if (entry && NameUpper(entry->name) == "FRAME") last = entry;
    for (const TBlockFilePtr& entry : entries) {
        if (!entry || NameUpper(entry->name) != "FRAME") continue;
        std::string path = ConvertAppPath(entry->GetString(0));
        TImagePtr image = LoadImage(path, flags);
        if (!image) {
            if (damaged && entry == last) {
                // Said as the file's fault.
            } else if (FileType(ResolvePath(path)) != 1) {
                ErrorNoFile(path, Here());
            } else {
                ErrorImg(path, Here());
            }
            // The frame keeps its place and shows the placeholder. A copy, so that its handle
            // does not move the placeholder everyone else draws.
            TImagePtr empty = TImg::EmptyImage();
            if (empty) image = std::make_shared<TImage>(*empty);
        }
        if (image) {
            SetImageHandle(image, static_cast<float>(globalX), static_cast<float>(globalY));
            if (entry->isIndex(1)) {
                SetImageHandle(image, static_cast<float>(entry->GetInt(1)), static_cast<float>(entry->GetInt(2)));
            }
        }
        frames.push_back(image);
    }
    return frames;
}

// One sequence per "Anim" block, in order.
std::vector<TAnimDataPtr> LoadAnimObjectAnims(const TBlockFileList& animBlocks) {
    std::vector<TAnimDataPtr> anims;
    for (const TBlockFilePtr& block : animBlocks) {
        auto anim = std::make_shared<TAnimData>();
        anim->id = TruncToInt(GetBFNumber(block, "id"));
        anim->FromString(GetBFString(block, "Data"));
        anims.push_back(anim);
    }
    return anims;
}

}  // namespace

int TAnimData::FromString(const std::string& text) {
    std::vector<std::string> steps = SplitString(text, " ");
    std::vector<int> frames(steps.size(), 0);
    std::vector<int> delays(steps.size(), 0);
    int delay = 100;
    for (size_t i = 0; i < steps.size(); ++i) {
        std::vector<std::string> parts = SplitString(steps[i], "|");
        if (!parts.empty()) frames[i] = StringToInt(parts[0]);
        if (parts.size() > 1) delay = StringToInt(parts[1]);
        delays[i] = delay;
    }
    Frames = std::move(frames);
    FrameDelay = std::move(delays);
    return 0;
}

TAnimDataPtr TAnimObject::GetAnim(int animId) const {
    for (const TAnimDataPtr& anim : Anims)
        if (anim && anim->id == animId) return anim;
    return nullptr;
}

TAnimObjectPtr LoadAnimObject(const std::string& path, int flags) {
    const FileBeingRead reading(path);
    auto obj = std::make_shared<TAnimObject>();
    bool whole = false;
    TBlockFilePtr root = LoadBlockFileChecked(path, whole);
    const bool damaged = !whole && FileType(ResolvePath(path)) == 1;
    // Said once, however many objects load the file.
    if (damaged && FirstReportAbout(path))
        Error("Animation file '" + path + "' is damaged; using what it holds", Here());
    TBlockFilePtr framesBlock = GetBlockFile(root, "Frames");
    obj->Frames = LoadAnimObjectFrames(framesBlock, GetBlockFileEntrysList(framesBlock, ""), flags, damaged);
    obj->Anims = LoadAnimObjectAnims(GetBlockFilesList(GetBlockFile(root, "Anims"), "Anim"));
    return obj;
}
