#include "engine/system/FileRequester.h"

#include "engine/system/Error.h"
#include "platform/Files.h"
#include "platform/Strings.h"
#include "platform/System.h"

namespace {

std::string gChooserOverride;

struct FilterGroup {
    std::string name;
    std::vector<std::string> patterns;  // "*.ext"
};

// "Screen Files:AppScreen;Images:png,jpg" -> groups of patterns; empty names take the patterns.
std::vector<FilterGroup> ParseExtensions(const std::string& extensions) {
    std::vector<FilterGroup> groups;
    size_t start = 0;
    while (start < extensions.size()) {
        size_t end = extensions.find(';', start);
        if (end == std::string::npos) end = extensions.size();
        const std::string part = extensions.substr(start, end - start);
        start = end + 1;
        FilterGroup group;
        std::string list = part;
        const size_t colon = part.find(':');
        if (colon != std::string::npos) {
            group.name = Trim(part.substr(0, colon));
            list = part.substr(colon + 1);
        }
        size_t s = 0;
        while (s <= list.size()) {
            size_t e = list.find(',', s);
            if (e == std::string::npos) e = list.size();
            const std::string ext = Trim(list.substr(s, e - s));
            s = e + 1;
            if (ext.empty()) continue;
            group.patterns.push_back(ext == "*" ? "*" : "*." + ext);
        }
        if (group.patterns.empty()) continue;
        if (group.name.empty()) {
            for (const auto& p : group.patterns) group.name += (group.name.empty() ? "" : " ") + p;
        }
        groups.push_back(group);
    }
    return groups;
}

std::string JoinPatterns(const FilterGroup& group) {
    std::string out;
    for (const auto& p : group.patterns) out += (out.empty() ? "" : " ") + p;
    return out;
}

}  // namespace

std::vector<std::string> FileChooserArgs(const std::string& program, const std::string& text,
                                         const std::string& extensions, bool save, const std::string& initialPath) {
    const auto groups = ParseExtensions(extensions);
    std::vector<std::string> args{program};
    if (StripDir(program) == "kdialog") {
        args.push_back("--title");
        args.push_back(text);
        args.push_back(save ? "--getsavefilename" : "--getopenfilename");
        args.push_back(initialPath.empty() ? CurrentDir() : initialPath);
        std::string filter;
        for (const auto& g : groups) filter += (filter.empty() ? "" : "\n") + JoinPatterns(g) + "|" + g.name;
        if (!filter.empty()) args.push_back(filter);
        return args;
    }
    args.push_back("--file-selection");
    args.push_back("--title=" + text);
    if (save) {
        args.push_back("--save");
        args.push_back("--confirm-overwrite");
    }
    if (!initialPath.empty()) args.push_back("--filename=" + initialPath);
    for (const auto& g : groups) args.push_back("--file-filter=" + g.name + " | " + JoinPatterns(g));
    return args;
}

std::string RequestFile(const std::string& text, const std::string& extensions, bool save,
                        const std::string& initialPath) {
    std::string program = gChooserOverride;
    if (program.empty()) {
        if (!DesktopAvailable()) {
            Warning("No desktop to show a file chooser on; no file chosen", Here());
            return "";
        }
        program = FindProgram("zenity");
        if (program.empty()) program = FindProgram("kdialog");
        if (program.empty()) {
            Warning("Neither zenity nor kdialog is on the PATH; no file chosen", Here());
            return "";
        }
    }
    int status = -1;
    const std::string out = RunProgram(FileChooserArgs(program, text, extensions, save, initialPath), &status);
    if (status == -1) {
        Warning("The file chooser '" + program + "' could not be run; no file chosen", Here());
        return "";
    }
    // Any other status than 0 is the player cancelling (or the chooser giving up).
    if (status != 0) return "";
    // The chosen path is the first line.
    const size_t eol = out.find_first_of("\r\n");
    return eol == std::string::npos ? out : out.substr(0, eol);
}

void SetFileChooserProgram(const std::string& path) { gChooserOverride = path; }
