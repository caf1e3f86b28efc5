#include "game/progress/SaveFiles.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "engine/system/Error.h"
#include "platform/Files.h"
#include "platform/Maths.h"
#include "platform/Strings.h"

namespace {

const char* const kCheckEntry = "Check";

bool IsCheck(const TBlockFile& node) { return node.MyType == BF_ENTRY && NamesEqual(node.name, kCheckEntry); }

// A node's text as the tree writes it, but for its checks, with names in the case the reader
// gives them (blocks in capitals, entries in small letters: names are compared without regard to
// case, and a file read back must give the text its writer checked).
void AppendCheckedText(std::string& out, const TBlockFile& node, const std::string& indent) {
    if (node.MyType == BF_BLOCK) {
        out += indent + NameUpper(node.name) + "{\n";
        for (const auto& child : node.SubFiles)
            if (child && !IsCheck(*child)) AppendCheckedText(out, *child, indent + "\t");
        out += indent + "}\n";
    } else if (node.MyType == BF_ENTRY) {
        std::string line = node.ToString2(indent);
        if (!line.empty()) line.replace(indent.size(), node.name.size(), NameLower(node.name));
        out += line;
    }
}

// The text a node's check is of: a block with its name and braces (with ownEntries, only its own
// entries between them), the file (its root) without a name.
std::string CheckedText(const TBlockFile& node, bool asBlock, bool ownEntries = false) {
    std::string out;
    if (asBlock && ownEntries) {
        out += NameUpper(node.name) + "{\n";
        for (const auto& child : node.SubFiles)
            if (child && child->MyType == BF_ENTRY && !IsCheck(*child)) AppendCheckedText(out, *child, "\t");
        out += "}\n";
        return out;
    }
    if (asBlock) {
        AppendCheckedText(out, node, "");
        return out;
    }
    for (const auto& child : node.SubFiles)
        if (child && !IsCheck(*child)) AppendCheckedText(out, *child, "");
    return out;
}

// The check of a text; a block bound to a save has the save's seed checked with it.
std::string CheckValue(const std::string& text, const std::string& seed = "") {
    char hex[9];
    std::snprintf(hex, sizeof hex, "%08x", Crc32(seed.empty() ? text : text + seed));
    return hex;
}

// A save number no save reaches, in an entry "SaveCount" of the block.
bool HoldsImpossibleNumber(const TBlockFile& block) {
    for (const auto& child : block.SubFiles)
        if (child && child->MyType == BF_ENTRY && NamesEqual(child->name, "SaveCount")) {
            const double n = child->GetFloat(0);
            if (!(n >= 0 && n <= kMaxSaveNumber)) return true;
        }
    return false;
}

CheckState CheckOf(const TBlockFile& node, bool asBlock, const std::string& seed = "", bool ownEntries = false) {
    const TBlockFile* check = nullptr;
    int checks = 0;
    for (const auto& child : node.SubFiles)
        if (child && IsCheck(*child)) {
            check = child.get();
            ++checks;
        }
    if (checks == 0) return CheckState::None;
    if (checks > 1 || check->GetSize() != 1) return CheckState::Fails;
    // A save number beyond any real count is damage, whatever the check says of it.
    if (asBlock ? HoldsImpossibleNumber(node)
                : std::any_of(node.SubFiles.begin(), node.SubFiles.end(),
                              [](const auto& b) { return b && b->MyType == BF_BLOCK && HoldsImpossibleNumber(*b); }))
        return CheckState::Fails;
    return check->GetString(0) == CheckValue(CheckedText(node, asBlock, ownEntries), seed) ? CheckState::Holds
                                                                                           : CheckState::Fails;
}

// The lines of the text from the line `open` (a block's opening line, with its indent) to the
// first line that closes a block at that indent, read alone: each place such a block opens, the
// first whose block `accept` takes. Null when none.
TBlockFilePtr ReadBlockAlone(const CheckedFile& file, const std::string& indent, const std::string& name,
                             const std::function<bool(const TBlockFilePtr&)>& accept) {
    const std::string open = indent + name + "{\n";
    const std::string close = "\n" + indent + "}\n";
    for (size_t at = file.text.find(open); at != std::string::npos; at = file.text.find(open, at + 1)) {
        const size_t end = file.text.find(close, at);
        const size_t stop = end == std::string::npos ? file.text.size() : end + close.size();
        bool whole = false;
        const auto part =
            ParseBlockFileTextChecked(std::string_view(file.text).substr(at, stop - at), file.root->name, whole);
        auto block = GetBlockFileNO_NEW(part, name);
        if (block && accept(block)) return block;
    }
    return nullptr;
}

// The number of a file set aside from `name` ("name.bad" is 1, "name.bad7" 7); 0 for another file.
int AsideNumber(const std::string& file, const std::string& name) {
    const std::string stem = name + ".bad";
    if (!StartsWith(file, stem)) return 0;
    const std::string digits = file.substr(stem.size());
    if (digits.empty()) return 1;
    if (digits.size() > 9 || !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return 0;
    return std::max(std::stoi(digits), 0);
}

// The bytes of the newest file set aside from `name` in folder ("" when there is none).
std::string NewestAside(const std::vector<std::pair<int, std::string>>& aside, const std::string& folder) {
    std::string bytes;
    if (!aside.empty()) LoadBytes(JoinPath(folder, aside.back().second), bytes);
    return bytes;
}

}  // namespace

int NextSaveNumber(int n) { return std::clamp(n, -1, kMaxSaveNumber - 1) + 1; }

void AddContentChecks(const TBlockFilePtr& root, bool eachBlock) {
    if (!root) return;
    if (eachBlock)
        for (const auto& block : root->SubFiles)
            if (block && block->MyType == BF_BLOCK) AddBlockCheck(block);
    AddStringToBlock(root, kCheckEntry, CheckValue(CheckedText(*root, false)));
}

void AddBlockCheck(const TBlockFilePtr& block, const std::string& seed, bool ownEntries) {
    if (block) AddStringToBlock(block, kCheckEntry, CheckValue(CheckedText(*block, true, ownEntries), seed));
}

CheckState BlockCheck(const TBlockFilePtr& block, const std::string& seed, bool ownEntries) {
    return block ? CheckOf(*block, true, seed, ownEntries) : CheckState::None;
}

std::string ContentText(const TBlockFilePtr& root) { return root ? CheckedText(*root, false) : std::string(); }

CheckedFile ReadCheckedBytes(const std::string& bytes, const std::string& path) {
    CheckedFile read;
    read.found = true;
    read.bytes = bytes;
    std::string text = DecodeText(bytes);
    read.root = ParseBlockFileTextChecked(text, path, read.whole);
    if (!read.whole && !text.empty() && text.back() != '\n') {
        const size_t end = text.rfind('\n');
        text.resize(end == std::string::npos ? 0 : end + 1);
        bool whole = false;
        read.root = ParseBlockFileTextChecked(text, path, whole);
    }
    read.root->name = path;
    read.file = CheckOf(*read.root, false);
    // A file with checks is one whatever damage hides some of them (a quote lost can run a text on
    // over the entries after it): one check entry in the text is enough to tell.
    read.checked = read.file != CheckState::None || text.find(std::string(kCheckEntry) + " = \"") != std::string::npos;
    if (!read.good()) read.text = std::move(text);
    return read;
}

CheckedFile ReadCheckedFile(const std::string& path) {
    std::string bytes;
    if (FileType(path) != 1 || !LoadBytes(path, bytes)) {
        CheckedFile missing;
        missing.root = CreateBlockFile(path);
        return missing;
    }
    return ReadCheckedBytes(bytes, path);
}

TBlockFilePtr TrustedBlock(const CheckedFile& file, const std::string& name) { return TrustedPart(file, name, ""); }

TBlockFilePtr TrustedPart(const CheckedFile& file, const std::string& path, const std::string& seed, bool ownEntries) {
    const auto holds = [&](const TBlockFilePtr& block) {
        return BlockCheck(block, seed, ownEntries) == CheckState::Holds;
    };
    auto block = GetBlockFileNO_NEW(file.root, path);
    if (block && block->MyType == BF_BLOCK && holds(block)) return block;
    // Read again from the lines of the text: a block at depth d opens on a line indented by d tabs.
    std::vector<std::string> steps;
    for (std::string rest = path; !rest.empty();) {
        const size_t cut = rest.find("::");
        steps.push_back(rest.substr(0, cut));
        rest = cut == std::string::npos ? "" : rest.substr(cut + 2);
    }
    if (steps.empty()) return nullptr;
    const std::string indent(steps.size() - 1, '\t');
    if (!ownEntries) return ReadBlockAlone(file, indent, steps.back(), holds);
    // The block's own entries: the lines between its opening and closing lines, one tab deeper,
    // that open no block (a block inside it that does not read whole cannot hide them).
    const std::string inner = indent + "\t";
    std::string own = steps.back() + "{\n";
    bool inside = false;
    for (const std::string& line : SplitLines(file.text)) {
        if (line == indent + steps.back() + "{") {
            inside = true;
        } else if (!StartsWith(line, inner)) {
            inside = false;  // (its closing line, or whatever line stands at its place)
        } else if (inside && line.size() > inner.size() && line[inner.size()] != '\t' && line[inner.size()] != '}' &&
                   !EndsWith(line, "{")) {
            own += line + "\n";
        }
    }
    own += "}\n";
    bool whole = false;
    block = GetBlockFileNO_NEW(ParseBlockFileTextChecked(own, file.root->name, whole), steps.back());
    return block && holds(block) ? block : nullptr;
}

std::vector<TopBlock> TopBlocks(const CheckedFile& file) {
    std::vector<TopBlock> blocks;
    if (file.found && file.whole) {
        for (const auto& node : file.root->SubFiles)
            if (node && node->MyType == BF_BLOCK)
                blocks.push_back({node->name, node, !file.checked || BlockCheck(node) == CheckState::Holds});
        return blocks;
    }
    // Where a line at the top opens a block, a block begins; it runs to where the next begins.
    const std::string& text = file.text;
    std::vector<size_t> starts;
    for (size_t at = 0; at < text.size();) {
        const size_t end = std::min(text.find('\n', at), text.size());
        if (end > at && text[at] != '\t' && text[at] != ' ' && text[end - 1] == '{') starts.push_back(at);
        at = end + 1;
    }
    for (size_t k = 0; k < starts.size(); ++k) {
        const size_t stop = k + 1 < starts.size() ? starts[k + 1] : text.size();
        const std::string_view part = std::string_view(text).substr(starts[k], stop - starts[k]);
        TopBlock top;
        top.name = Trim(std::string(part.substr(0, part.find('{'))));
        bool whole = false;
        const auto root = ParseBlockFileTextChecked(part, file.root->name, whole);
        top.block = GetBlockFileNO_NEW(root, top.name);
        top.trusted = top.block && file.checked && BlockCheck(top.block) == CheckState::Holds;
        blocks.push_back(top);
        // A block whose opening line was lost ran on into the one before: each line that closes
        // a block at the top after the first is one more block, unread.
        int closings = 0;
        for (size_t at = part.find("\n}\n"); at != std::string_view::npos; at = part.find("\n}\n", at + 1)) ++closings;
        for (int extra = 1; extra < closings; ++extra) blocks.push_back({});
    }
    return blocks;
}

int TrustedSaveNumber(const CheckedFile& file, const std::string& saveNumber) {
    // (Only a copy with checks tells its number: one without may have been written by hand.)
    if (!file.found || !file.checked) return -1;
    const size_t cut = saveNumber.find("::");
    TBlockFilePtr block = file.root;
    if (!file.good()) {
        if (cut == std::string::npos) return -1;
        block = TrustedBlock(file, saveNumber.substr(0, cut));
        if (!block) return -1;
    } else if (cut != std::string::npos) {
        block = GetBlockFileNO_NEW(file.root, saveNumber.substr(0, cut));
    }
    const std::string entry = cut == std::string::npos ? saveNumber : saveNumber.substr(cut + 2);
    if (!block || !GetBlockEntryNO_NEW(block, entry)) return -1;
    return std::clamp(TruncToInt(GetBFNumber(block, entry)), 0, kMaxSaveNumber);
}

void KeepPrevious(const std::string& path, const std::string& backup, const std::string& saveNumber) {
    std::string bytes;
    if (FileType(path) != 1 || !LoadBytes(path, bytes)) return;
    const CheckedFile read = ReadCheckedBytes(bytes, path);
    if (!read.good()) {
        Error("The file " + path + " is damaged; it does not replace the save before it, " + backup, Here());
        return;
    }
    const int number = TrustedSaveNumber(read, saveNumber);
    const int kept = TrustedSaveNumber(ReadCheckedFile(backup), saveNumber);
    if (number >= 0 && kept > number) {
        Error("The copy " + backup + " holds a newer save (" + std::to_string(kept) + ") than " + path + " (" +
                  std::to_string(number) + "); it is not written over by the older",
              Here());
        return;
    }
    if (!SaveBytes(backup, bytes))
        Error("Couldn't keep the previous " + path + " as " + backup + " (" + WriteErrorText(LastWriteError()) + ")",
              Here());
}

std::string SetFileAside(const std::string& path) {
    const std::string folder = ExtractDir(path), name = StripDir(path);
    std::string bytes;
    if (!LoadBytes(path, bytes)) {
        Error("Couldn't read the file " + path + " to set it aside", Here());
        return "";
    }
    // The files set aside before, the oldest (lowest number) first.
    std::vector<std::pair<int, std::string>> aside;
    for (const std::string& file : ReadDir(folder))
        if (int n = AsideNumber(file, name)) aside.emplace_back(n, file);
    std::sort(aside.begin(), aside.end());
    if (!aside.empty() && NewestAside(aside, folder) == bytes) {
        const std::string target = JoinPath(folder, aside.back().second);
        Error("The file " + path + " was kept aside already as " + target, Here());
        return target;
    }
    const int next = aside.empty() ? 1 : aside.back().first + 1;
    for (size_t k = 0; k + kKeptAside <= aside.size(); ++k) {
        const std::string old = JoinPath(folder, aside[k].second);
        if (DeleteFile(old))
            Print("Removed " + old + ": the newest " + std::to_string(kKeptAside) + " damaged files are kept");
    }
    const std::string target = path + ".bad" + (next == 1 ? std::string() : std::to_string(next));
    if (!SaveBytes(target, bytes)) {
        Error("Couldn't set the file " + path + " aside (" + WriteErrorText(LastWriteError()) + ")", Here());
        return "";
    }
    Error("The file " + path + " was kept aside as " + target, Here());
    return target;
}
