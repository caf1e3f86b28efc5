#include "platform/Files.h"

#include "platform/Strings.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <sstream>

#include <zlib.h>

namespace fs = std::filesystem;

namespace {

TWriteFaultHook gWriteFault;
// Each thread's own: the launcher's worker deletes and renames files while the main thread saves,
// and a save must read back the error of its own write, never the worker's last outcome.
thread_local int gLastWriteError = 0;
std::string gRefusedFolder;
int gRefusedError = 0;

// The injected or refused error for this write (0: none). A relative path is the working
// folder's.
int InjectedFault(const std::string& path, FileWrite what) {
    if (!gRefusedFolder.empty() && PathIsInside(gRefusedFolder, RealPath(path))) return gRefusedError;
    return gWriteFault ? gWriteFault(path, what) : 0;
}

// Flushes a folder's entries (a rename or a new file in it) to the disk. A file system that
// cannot do it for folders gives an error that changes nothing here.
void SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// Records the outcome of a write and returns it.
bool WriteOutcome(bool ok, int error) {
    gLastWriteError = ok ? 0 : (error != 0 ? error : EIO);
    return ok;
}

}  // namespace

int LastWriteError() { return gLastWriteError; }

void SetWriteFaultHook(TWriteFaultHook hook) { gWriteFault = std::move(hook); }

void RefuseWritesBelow(const std::string& folder, int error) {
    gRefusedFolder = folder.empty() ? std::string() : RealPath(folder);
    gRefusedError = error;
}

uint32_t Crc32(std::string_view bytes) {
    uLong crc = crc32(0L, Z_NULL, 0);
    // (zlib takes at most 4 GB at a time.)
    while (!bytes.empty()) {
        const size_t n = std::min<size_t>(bytes.size(), 1u << 30);
        crc = crc32(crc, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(n));
        bytes.remove_prefix(n);
    }
    return static_cast<uint32_t>(crc);
}

std::string WriteErrorText(int error) {
    switch (error) {
        case 0: return "no error";
        case ENOSPC:
        case EDQUOT: return "the disk is full";
        case EROFS:
        case EACCES:
        case EPERM: return "the game's folder can't be written to";
        case ENOENT:
        case ENOTDIR: return "the game's folder is missing";
        case ENOLCK: return "the game's folder could not be locked for this game alone";
        default: return std::string("the system reported: ") + std::strerror(error);
    }
}

static int RawType(const std::string& p) {
    struct stat st;
    if (p.empty() || ::stat(p.c_str(), &st) != 0) return 0;
    if (S_ISDIR(st.st_mode)) return 2;
    if (S_ISREG(st.st_mode)) return 1;
    return 0;
}

std::string ResolvePath(const std::string& path) {
    if (path.empty() || RawType(path) != 0) return path;
    // Walk the components, matching each against the folder's entries without regard to case.
    std::string cur;
    size_t i = 0;
    if (path[0] == '/') {
        cur = "/";
        i = 1;
    }
    while (i <= path.size()) {
        size_t slash = path.find('/', i);
        if (slash == std::string::npos) slash = path.size();
        std::string comp = path.substr(i, slash - i);
        std::string next;
        if (comp.empty() || comp == "." || comp == "..") {
            next = cur.empty() ? comp : (cur == "/" ? "/" + comp : cur + "/" + comp);
            if (comp.empty()) next = cur;
        } else {
            std::string candidate = cur.empty() ? comp : (cur == "/" ? "/" + comp : cur + "/" + comp);
            if (RawType(candidate) != 0) {
                next = candidate;
            } else {
                std::string folder = cur.empty() ? "." : cur;
                std::string found;
                if (DIR* d = ::opendir(folder.c_str())) {
                    std::vector<std::string> names;
                    while (dirent* e = ::readdir(d)) names.emplace_back(e->d_name);
                    ::closedir(d);
                    std::sort(names.begin(), names.end());
                    for (const auto& n : names)
                        if (EqualsNoCase(n, comp)) {
                            found = n;
                            break;
                        }
                }
                if (found.empty()) {
                    // Nothing matches: keep what was resolved, and the rest as given.
                    std::string rest = path.substr(i);
                    return cur.empty() ? rest : (cur == "/" ? "/" + rest : cur + "/" + rest);
                }
                next = cur.empty() ? found : (cur == "/" ? "/" + found : cur + "/" + found);
            }
        }
        cur = next;
        if (slash >= path.size()) break;
        i = slash + 1;
        if (i == path.size()) {
            cur += "/";
            break;
        }
    }
    return cur;
}

int FileType(const std::string& path) { return RawType(ResolvePath(path)); }

int64_t FileSize(const std::string& path) {
    struct stat st;
    std::string p = ResolvePath(path);
    if (::stat(p.c_str(), &st) != 0) return -1;
    return static_cast<int64_t>(st.st_size);
}

int64_t FileTime(const std::string& path) {
    struct stat st;
    std::string p = ResolvePath(path);
    if (::stat(p.c_str(), &st) != 0) return 0;
    return static_cast<int64_t>(st.st_mtime);
}

bool CreateDir(const std::string& path, bool recurse) {
    if (path.empty()) return false;
    std::error_code ec;
    std::string p = ResolvePath(path);
    if (RawType(p) == 2) return true;
    if (recurse) fs::create_directories(p, ec);
    else fs::create_directory(p, ec);
    return RawType(p) == 2;
}

bool DeleteFile(const std::string& path) {
    std::string p = ResolvePath(path);
    if (RawType(p) != 1) return WriteOutcome(false, ENOENT);
    if (int fault = InjectedFault(p, FileWrite::Delete)) return WriteOutcome(false, fault);
    const bool ok = ::unlink(p.c_str()) == 0;
    return WriteOutcome(ok, errno);
}

bool DeleteDir(const std::string& path, bool recurse) {
    std::string p = ResolvePath(path);
    if (RawType(p) != 2) return false;
    std::error_code ec;
    if (recurse) fs::remove_all(p, ec);
    else fs::remove(p, ec);
    return RawType(p) == 0;
}

bool CopyFile(const std::string& src, const std::string& dst) {
    std::string bytes;
    if (!LoadBytes(src, bytes)) return false;
    return SaveBytes(dst, bytes);
}

bool CopyDir(const std::string& src, const std::string& dst) {
    std::string s = ResolvePath(src);
    if (RawType(s) != 2) return false;
    if (!CreateDir(dst)) return false;
    for (const auto& name : ReadDir(s)) {
        std::string from = s + "/" + name, to = dst + "/" + name;
        bool ok = RawType(from) == 2 ? CopyDir(from, to) : CopyFile(from, to);
        if (!ok) return false;
    }
    return true;
}

bool RenameFile(const std::string& src, const std::string& dst) {
    if (int fault = InjectedFault(dst, FileWrite::Rename)) return WriteOutcome(false, fault);
    const std::string from = ResolvePath(src);
    const bool ok = ::rename(from.c_str(), dst.c_str()) == 0;
    const int error = errno;
    if (ok) {
        SyncFolder(ExtractDir(dst));
        if (ExtractDir(from) != ExtractDir(dst)) SyncFolder(ExtractDir(from));
    }
    return WriteOutcome(ok, error);
}

std::vector<std::string> ReadDir(const std::string& path) {
    std::vector<std::string> names;
    std::string p = ResolvePath(path);
    if (DIR* d = ::opendir(p.c_str())) {
        while (dirent* e = ::readdir(d)) {
            std::string n = e->d_name;
            if (n != "." && n != "..") names.push_back(n);
        }
        ::closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string CurrentDir() {
    std::error_code ec;
    return fs::current_path(ec).string();
}

std::string RealPath(const std::string& path) {
    std::error_code ec;
    fs::path p = fs::absolute(fs::path(path), ec);
    return p.lexically_normal().string();
}

std::string ExtractDir(const std::string& path) {
    size_t s = path.find_last_of('/');
    if (s == std::string::npos) return "";
    if (s == 0) return "/";
    return path.substr(0, s);
}

std::string StripDir(const std::string& path) {
    size_t s = path.find_last_of('/');
    return s == std::string::npos ? path : path.substr(s + 1);
}

std::string ExtractExt(const std::string& path) {
    size_t dot = path.find_last_of('.');
    size_t slash = path.find_last_of('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
    return path.substr(dot + 1);
}

std::string StripExt(const std::string& path) {
    size_t dot = path.find_last_of('.');
    size_t slash = path.find_last_of('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return path;
    return path.substr(0, dot);
}

std::string StripAll(const std::string& path) { return StripExt(StripDir(path)); }

std::string JoinPath(const std::string& a, const std::string& b) {
    if (a.empty()) return b;
    if (b.empty()) return a;
    bool as = a.back() == '/', bs = b.front() == '/';
    if (as && bs) return a + b.substr(1);
    if (as || bs) return a + b;
    return a + "/" + b;
}

bool PathIsInside(const std::string& folder, const std::string& path) {
    fs::path base = fs::path(RealPath(folder));
    fs::path full = fs::path(path).is_absolute() ? fs::path(path) : base / path;
    full = full.lexically_normal();
    auto rel = full.lexically_relative(base);
    if (rel.empty()) return false;
    auto first = *rel.begin();
    return first != ".." && !rel.is_absolute();
}

bool LoadBytes(const std::string& path, std::string& out) {
    std::string p = ResolvePath(path);
    if (RawType(p) != 1) return false;
    FILE* f = std::fopen(p.c_str(), "rb");
    if (!f) return false;
    // Read in one go when the size is known, then whatever a growing file still holds.
    std::string data;
    struct stat st;
    if (::fstat(fileno(f), &st) == 0 && st.st_size > 0) data.resize(static_cast<size_t>(st.st_size));
    size_t got = data.empty() ? 0 : std::fread(data.data(), 1, data.size(), f);
    data.resize(got);
    char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) data.append(buf, n);
    bool ok = !std::ferror(f);
    std::fclose(f);
    if (!ok) return false;
    out = std::move(data);
    return true;
}

bool SaveBytes(const std::string& path, const std::string& bytes) {
    if (path.empty()) return false;
    // Resolve an existing folder written in another case, then write beside the target.
    std::string dir = ExtractDir(path);
    std::string target = path;
    if (!dir.empty()) {
        std::string rdir = ResolvePath(dir);
        if (RawType(rdir) != 2) return WriteOutcome(false, ENOENT);
        target = rdir + "/" + StripDir(path);
    }
    std::string existing = ResolvePath(target);
    if (RawType(existing) == 1) target = existing;
    if (int fault = InjectedFault(target, FileWrite::Save)) return WriteOutcome(false, fault);
    std::string tmp = target + ".tmp-" + std::to_string(::getpid());
    FILE* f = std::fopen(tmp.c_str(), "wb");
    if (!f) return WriteOutcome(false, errno);
    // The first error seen is the one reported (a full disk shows at the write, the flush or
    // the sync).
    int error = 0;
    auto step = [&](bool done) {
        if (!done && error == 0) error = errno != 0 ? errno : EIO;
    };
    errno = 0;
    step(std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size());
    step(std::fflush(f) == 0);
    step(::fsync(fileno(f)) == 0);
    step(std::fclose(f) == 0);
    if (error == 0 && ::rename(tmp.c_str(), target.c_str()) != 0) error = errno;
    if (error != 0) {
        ::unlink(tmp.c_str());
        return WriteOutcome(false, error);
    }
    SyncFolder(ExtractDir(target));
    return WriteOutcome(true, 0);
}

bool IsTempFileName(const std::string& name, long* pid) {
    const size_t at = name.rfind(".tmp-");
    if (at == std::string::npos || at == 0) return false;
    const std::string digits = name.substr(at + 5);
    if (digits.empty() || digits.size() > 9 ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    if (pid) *pid = std::stol(digits);
    return true;
}

std::vector<std::string> RemoveLeftoverTempFiles(const std::string& folder, bool onlyDeadProcesses) {
    std::vector<std::string> removed;
    const std::string dir = ResolvePath(folder);
    for (const std::string& name : ReadDir(dir)) {
        long pid = 0;
        if (!IsTempFileName(name, &pid) || pid == static_cast<long>(::getpid())) continue;
        const std::string path = dir + "/" + name;
        if (RawType(path) != 1) continue;
        // kill with signal 0 only asks whether the process is there (EPERM: it is, another
        // user's).
        if (onlyDeadProcesses && pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM)) continue;
        if (::unlink(path.c_str()) == 0) removed.push_back(name);
    }
    return removed;
}

int LockFileExclusive(const std::string& path, bool& busy) {
    busy = false;
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        busy = error == EWOULDBLOCK;
        ::close(fd);
        errno = error;
        return -1;
    }
    return fd;
}

void UnlockFile(int fd) {
    if (fd < 0) return;
    ::flock(fd, LOCK_UN);
    ::close(fd);
}

std::string DecodeText(const std::string& b) {
    auto u8 = [&](size_t i) { return static_cast<unsigned char>(b[i]); };
    std::string out;
    if (b.size() >= 3 && u8(0) == 0xEF && u8(1) == 0xBB && u8(2) == 0xBF) return b.substr(3);
    bool le = b.size() >= 2 && u8(0) == 0xFF && u8(1) == 0xFE;
    bool be = b.size() >= 2 && u8(0) == 0xFE && u8(1) == 0xFF;
    if (le || be) {
        std::u32string cps;
        for (size_t i = 2; i + 1 < b.size(); i += 2) {
            char16_t u = le ? static_cast<char16_t>(u8(i) | (u8(i + 1) << 8))
                            : static_cast<char16_t>((u8(i) << 8) | u8(i + 1));
            if (u >= 0xD800 && u <= 0xDBFF && i + 3 < b.size()) {
                char16_t lo = le ? static_cast<char16_t>(u8(i + 2) | (u8(i + 3) << 8))
                                 : static_cast<char16_t>((u8(i + 2) << 8) | u8(i + 3));
                if (lo >= 0xDC00 && lo <= 0xDFFF) {
                    cps += static_cast<char32_t>(0x10000 + ((u - 0xD800) << 10) + (lo - 0xDC00));
                    i += 2;
                    continue;
                }
            }
            cps += static_cast<char32_t>(u);
        }
        return Utf32ToUtf8(cps);
    }
    // Latin-1: plain ASCII (by far the most common) passes through unchanged.
    size_t firstHigh = 0;
    while (firstHigh < b.size() && static_cast<unsigned char>(b[firstHigh]) < 0x80) ++firstHigh;
    if (firstHigh == b.size()) return b;
    out.reserve(b.size() + b.size() / 8);
    out.append(b, 0, firstHigh);
    for (size_t i = firstHigh; i < b.size(); ++i) AppendUtf8(out, static_cast<unsigned char>(b[i]));
    return out;
}

std::string EncodeText(const std::string& utf8) {
    std::u32string cps = Utf8ToUtf32(utf8);
    bool latin1 = std::all_of(cps.begin(), cps.end(), [](char32_t c) { return c < 256; });
    // A text whose Latin-1 bytes would begin like a byte-order mark ("ÿþ", "þÿ", "ï»¿") would be
    // read back as another encoding: it is written as UTF-16 with its mark instead.
    auto startsWith = [&cps](std::u32string_view mark) { return std::u32string_view(cps).starts_with(mark); };
    if (startsWith(U"\u00FF\u00FE") || startsWith(U"\u00FE\u00FF") || startsWith(U"\u00EF\u00BB\u00BF")) latin1 = false;
    std::string out;
    if (latin1) {
        out.reserve(cps.size());
        for (char32_t c : cps) out += static_cast<char>(c);
        return out;
    }
    out = "\xFF\xFE";
    auto put = [&](char16_t u) {
        out += static_cast<char>(u & 0xFF);
        out += static_cast<char>(u >> 8);
    };
    for (char32_t c : cps) {
        if (c >= 0x10000) {
            c -= 0x10000;
            put(static_cast<char16_t>(0xD800 + (c >> 10)));
            put(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
        } else {
            put(static_cast<char16_t>(c));
        }
    }
    return out;
}

std::string LoadText(const std::string& path, bool* ok) {
    std::string bytes;
    bool read = LoadBytes(path, bytes);
    if (ok) *ok = read;
    return read ? DecodeText(bytes) : std::string();
}

bool SaveText(const std::string& text, const std::string& path) { return SaveBytes(path, EncodeText(text)); }

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string cur;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(cur);
            cur.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            cur += c;
        }
    }
    if (!cur.empty()) lines.push_back(cur);
    return lines;
}
