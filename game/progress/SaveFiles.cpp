#include "game/progress/SaveFiles.h"

#include <algorithm>
#include <cstdio>
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

// The text a node's check is of: a block with its name and braces, the file (its root) without
// a name.
std::string CheckedText(const TBlockFile& node, bool asBlock) {
    std::string out;
    if (asBlock) {
        AppendCheckedText(out, node, "");
        return out;
    }
    for (const auto& child : node.SubFiles)
        if (child && !IsCheck(*child)) AppendCheckedText(out, *child, "");
    return out;
}

std::string CheckValue(const std::string& text) {
    char hex[9];
    std::snprintf(hex, sizeof hex, "%08x", Crc32(text));
    return hex;
}

CheckState CheckOf(const TBlockFile& node, bool asBlock) {
    const TBlockFile* check = nullptr;
    int checks = 0;
    for (const auto& child : node.SubFiles)
        if (child && IsCheck(*child)) {
            check = child.get();
            ++checks;
        }
    if (checks == 0) return CheckState::None;
    if (checks > 1 || check->GetSize() != 1) return CheckState::Fails;
    return check->GetString(0) == CheckValue(CheckedText(node, asBlock)) ? CheckState::Holds : CheckState::Fails;
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

void AddContentChecks(const TBlockFilePtr& root, bool eachBlock) {
    if (!root) return;
    if (eachBlock)
        for (const auto& block : root->SubFiles)
            if (block && block->MyType == BF_BLOCK)
                AddStringToBlock(block, kCheckEntry, CheckValue(CheckedText(*block, true)));
    AddStringToBlock(root, kCheckEntry, CheckValue(CheckedText(*root, false)));
}

CheckState BlockCheck(const TBlockFilePtr& block) { return block ? CheckOf(*block, true) : CheckState::None; }

std::string ContentText(const TBlockFilePtr& root) { return root ? CheckedText(*root, false) : std::string(); }

CheckedFile ReadCheckedBytes(const std::string& bytes, const std::string& path) {
    CheckedFile read;
    read.found = true;
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

TBlockFilePtr TrustedBlock(const CheckedFile& file, const std::string& name) {
    auto block = GetBlockFileNO_NEW(file.root, name);
    if (block && BlockCheck(block) == CheckState::Holds) return block;
    // Each place the block opens, read alone to the first line that closes a block at the top.
    const std::string open = name + "{\n";
    for (size_t at = file.text.find(open); at != std::string::npos; at = file.text.find(open, at + 1)) {
        const size_t close = file.text.find("\n}\n", at);
        const size_t end = close == std::string::npos ? file.text.size() : close + 3;
        bool whole = false;
        const auto part = ParseBlockFileTextChecked(std::string_view(file.text).substr(at, end - at), file.root->name, whole);
        block = GetBlockFileNO_NEW(part, name);
        if (block && BlockCheck(block) == CheckState::Holds) return block;
    }
    return nullptr;
}

int TrustedSaveNumber(const CheckedFile& file, const std::string& saveNumber) {
    if (!file.found) return -1;
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
    return std::max(TruncToInt(GetBFNumber(block, entry)), 0);
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
