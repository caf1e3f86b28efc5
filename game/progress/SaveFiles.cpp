#include "game/progress/SaveFiles.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "engine/system/Error.h"
#include "platform/Files.h"
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

void KeepPrevious(const std::string& path) {
    std::string bytes;
    if (FileType(path) != 1 || !LoadBytes(path, bytes)) return;
    const std::string backup = path + ".bak";
    if (!ReadCheckedBytes(bytes, path).good()) {
        Error("The file " + path + " is damaged; it does not replace the save before it, " + backup, Here());
        return;
    }
    if (!SaveBytes(backup, bytes))
        Error("Couldn't keep the previous " + path + " as " + backup + " (" + WriteErrorText(LastWriteError()) + ")",
              Here());
}

std::string SetFileAside(const std::string& path) {
    const std::string folder = ExtractDir(path), name = StripDir(path);
    // The files set aside before, the oldest (lowest number) first.
    std::vector<std::pair<int, std::string>> aside;
    for (const std::string& file : ReadDir(folder))
        if (int n = AsideNumber(file, name)) aside.emplace_back(n, file);
    std::sort(aside.begin(), aside.end());
    const int next = aside.empty() ? 1 : aside.back().first + 1;
    for (size_t k = 0; k + kKeptAside <= aside.size(); ++k) {
        const std::string old = JoinPath(folder, aside[k].second);
        if (DeleteFile(old))
            Print("Removed " + old + ": the newest " + std::to_string(kKeptAside) + " damaged files are kept");
    }
    const std::string target = path + ".bad" + (next == 1 ? std::string() : std::to_string(next));
    if (!RenameFile(path, target)) {
        Error("Couldn't set the file " + path + " aside (" + WriteErrorText(LastWriteError()) + ")", Here());
        return "";
    }
    Error("The file " + path + " was kept aside as " + target, Here());
    return target;
}
