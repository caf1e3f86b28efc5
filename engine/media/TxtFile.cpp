#include "engine/media/TxtFile.h"

#include "engine/system/Error.h"
#include "engine/system/Paths.h"
#include "platform/Files.h"
#include "platform/Strings.h"

#include <new>

std::vector<std::string> SplitTxtLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string current;
    for (char c : text) {
        if (c == '\n') {
            lines.push_back(std::move(current));
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty()) lines.push_back(std::move(current));
    return lines;
}

std::shared_ptr<TTxtFile> LoadTxtFile(const std::string& url) {
    auto file = std::make_shared<TTxtFile>();
    std::string path = Replace(url, "#LANG#", LangMod);
    bool ok = false;
    std::string text = LoadText(path, &ok);
    if (!ok) {
        // There but refused (too large, too many lines, outside the game's folders: the reason
        // is on the error stream), or not there at all.
        if (FileType(path) == 1) {
            if (FirstReportAbout(path)) Error("Couldn't read the text file " + path + "; it is left out!", Here());
        } else {
            ErrorNoFile(path, Here());
        }
        return file;
    }
    try {
        file->txt = SplitTxtLines(text);
    } catch (const std::bad_alloc&) {
        Error("The text file " + path + " does not fit in memory; it is not read!", Here());
        file->txt.clear();
    }
    return file;
}

bool SaveTxtFile(const std::shared_ptr<TTxtFile>& file, const std::string& url) {
    std::string text;
    if (file) {
        for (const auto& line : file->txt) {
            text += line;
            text += '\n';
        }
    }
    if (SaveText(text, url)) return true;
    Error("Couldn't save text file '" + url + "'!", Here());
    return false;
}

std::string GetTxtLine(const std::shared_ptr<TTxtFile>& file, int n) {
    if (!file || n < 1 || n > file->Lines()) return "";
    return file->txt[static_cast<size_t>(n - 1)];
}

namespace {
// True when the reference's path, with the language in place and normalised, leaves the folder:
// an absolute path, or one that climbs above it ("\\" counts as a separator too).
bool LeavesFolder(const std::string& folder, const std::string& path) {
    const std::string p = Replace(Replace(path, "#LANG#", LangMod), "\\", "/");
    if (p.empty()) return false;
    if (p.front() == '/') return true;
    const std::string base = folder.empty() ? std::string(".") : folder;
    return !PathResolvesInside(base, JoinPath(base, p));
}
}  // namespace

std::string GetTxtRefLine(const std::string& ref, const std::string& base) {
    if (ref.size() < 2) return "";
    std::string inner = ref.substr(1, ref.size() - 2);
    size_t bar = inner.find('|');
    std::string path = inner.substr(0, bar);
    std::string number;
    if (bar != std::string::npos) {
        number = inner.substr(bar + 1);
        number = number.substr(0, number.find('|'));
    }
    if (LeavesFolder(base, path)) {
        Error("Text reference '" + ref + "' leaves its folder!", Here());
        return "";
    }
    // Without a usable line number the result is empty whatever the file holds.
    int n = StringToInt(number);
    if (n < 1) return "";
    return GetTxtLine(LoadTxtFile(base + path), n);
}

std::string ResolveTxtRef(const std::string& text) {
    // References name files of the data folder, and only those.
    if (text.size() >= 2 && text.front() == '[' && text.back() == ']') return GetTxtRefLine(text, bDir);
    return text;
}
