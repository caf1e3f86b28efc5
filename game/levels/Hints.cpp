#include "game/levels/Hints.h"

#include "engine/system/Error.h"
#include "engine/data/BlockFile.h"
#include "game/levels/Level.h"
#include "platform/Strings.h"

std::string HintsToText(const TLevel& level) {
    std::string text;
    for (int i = 0; i < HintSlots; ++i) {
        text += IntToString(level.HintAvailableAtThisLevel[i]) + "|" + IntToString(level.HintIsLoaded[i]) + " ";
    }
    return Trim(text);
}

std::string HintsFromText(TLevel& level, const std::string& text) {
    std::string problem;
    int slot = 0;
    size_t pos = 0;
    while (pos < text.size()) {
        // One blank-separated entry; runs of blanks separate nothing more.
        if (text[pos] == ' ') {
            ++pos;
            continue;
        }
        size_t end = text.find(' ', pos);
        if (end == std::string::npos) end = text.size();
        const std::string entry = text.substr(pos, end - pos);
        pos = end;
        if (slot >= HintSlots) {
            problem = "more than " + IntToString(HintSlots) + " hint slots";
            break;
        }
        const size_t bar = entry.find('|');
        if (bar == std::string::npos) problem = "hint slot without '|'";
        level.HintAvailableAtThisLevel[slot] = StringToInt(entry.substr(0, bar));
        level.HintIsLoaded[slot] = bar == std::string::npos ? 0 : StringToInt(entry.substr(bar + 1));
        ++slot;
    }
    return problem;
}

int TLevel::SetHints(int n) {
    HintAvailableAtThisLevel.fill(0);
    HintIsLoaded.fill(0);
    HintAddParts.fill(0.0f);
    for (int i = 0; i < n && i < HintSlots; ++i) {
        HintAvailableAtThisLevel[i] = 1;
        HintIsLoaded[i] = 1;
        HintAddParts[i] = static_cast<float>(MaxHintValue);
    }
    return 0;
}

int TLevel::LoadHints(const std::shared_ptr<TBlockFile>& block) {
    if (isBFEntry(block, "Hints")) {
        const std::string text = GetBFString(block, "Hints", 0);
        const std::string problem = HintsFromText(*this, text);
        if (!problem.empty()) Error("Bad hint slots \"" + text + "\": " + problem + "; read what fits", Here());
    } else {
        SetHints(static_cast<int64_t>(Rows) * Cols <= SmallBoardCells ? SmallBoardHints : LargeBoardHints);
    }
    HintWasUsed = GetBFInt(block, "HintWasUsed", 0);
    return 0;
}

int TLevel::SaveHints(const std::shared_ptr<TBlockFile>& block) {
    AddStringToBlock(block, "Hints", HintsToText(*this), 0, 0);
    AddIntToBlock(block, "HintWasUsed", HintWasUsed, 0, 0);
    return 0;
}
