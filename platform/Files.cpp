#include "platform/Files.h"

#include "platform/Strings.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <linux/openat2.h>
#include <sys/file.h>
#include <sys/syscall.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <climits>
#include <new>
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
std::string gFaultFolder;
WriteFault gFault = WriteFault::None;
int gKillAt = 0;
// Counted from every thread that writes (the launcher's worker too), so never a write lost.
std::atomic<int> gFaultWrites{0};

// The injected or refused error for this write (0: none). A relative path is the working
// folder's.
int InjectedFault(const std::string& path, FileWrite what) {
    if (isWriteRefused(path)) return gRefusedError;
    if (gFault != WriteFault::None && !gFaultFolder.empty() && PathIsInside(gFaultFolder, RealPath(path))) {
        if (gFault == WriteFault::ReadOnly) return EROFS;
        if (gFault == WriteFault::DiskFull && what == FileWrite::Save) return ENOSPC;
        if (gFault == WriteFault::KillAt && gFaultWrites.fetch_add(1) + 1 == gKillAt) {
            std::fflush(nullptr);
            raise(SIGKILL);
        }
    }
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

void FailWritesBelow(const std::string& folder, WriteFault fault, int killAt) {
    gFaultFolder = folder;
    gFault = fault;
    gKillAt = killAt;
    gFaultWrites = 0;
}

void RefuseWritesBelow(const std::string& folder, int error) {
    gRefusedFolder = folder.empty() ? std::string() : RealPath(folder);
    gRefusedError = error;
}

bool isWriteRefused(const std::string& path) {
    return !gRefusedFolder.empty() && PathIsInside(gRefusedFolder, RealPath(path));
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

namespace {

// A descriptor closed when it goes out of scope, on every path.
class FileHandle {
public:
    explicit FileHandle(int fd) : fd_(fd) {}
    ~FileHandle() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

// ---- The read gate ----
std::vector<std::string> gReadableFolders;  // real paths, each ending in "/"
std::vector<std::string> gReadableFiles;    // real paths of single files allowed besides

// The real path of an open file, links and ".." resolved by the system; empty when unknown.
std::string HandlePath(int fd) {
    char buf[PATH_MAX + 1];
    const std::string link = "/proc/self/fd/" + std::to_string(fd);
    const ssize_t n = ::readlink(link.c_str(), buf, PATH_MAX);
    return n > 0 ? std::string(buf, static_cast<size_t>(n)) : std::string();
}

// Whether a real path lies inside one of the readable folders or is one of the readable files
// (anything while no folder is set).
bool Readable(const std::string& real) {
    if (gReadableFolders.empty()) return true;
    if (real.empty()) return false;
    for (const std::string& folder : gReadableFolders)
        if (real.starts_with(folder) || real + "/" == folder) return true;
    return std::find(gReadableFiles.begin(), gReadableFiles.end(), real) != gReadableFiles.end();
}

bool ReadableOrSaid(const std::string& real, const std::string& path, bool tell) {
    if (Readable(real)) return true;
    if (tell)
        std::fprintf(stderr, "'%s' lies outside the game's folders (it is '%s'); it is not read\n", path.c_str(),
                     real.c_str());
    return false;
}

// Opens a path that the gate knows to hold no link any more (its real path), following no link
// on the way: a link put in the place of any part of it since makes the open fail, never lead
// elsewhere. (Where the system cannot resolve without links, only the last part is guarded.)
int OpenWithoutLinks(const std::string& real, int flags) {
    struct open_how how;
    std::memset(&how, 0, sizeof how);
    how.flags = static_cast<uint64_t>(flags);
    how.resolve = RESOLVE_NO_SYMLINKS | RESOLVE_NO_MAGICLINKS;
    const long fd = ::syscall(SYS_openat2, AT_FDCWD, real.c_str(), &how, sizeof how);
    if (fd >= 0 || (errno != ENOSYS && errno != EPERM)) return static_cast<int>(fd);
    return ::open(real.c_str(), flags | O_NOFOLLOW);
}

// Opens `path` to read it (flags besides O_RDONLY, never blocking, not inherited). While the gate
// is on, nothing outside the readable folders is ever opened: the real path the name leads to now
// (its last link followed unless followLastLink is false) is judged before any open, a name that
// leads nowhere (a link to nothing, a loop of links; also nothing at all) is refused without one,
// and then that real path is opened following no link, so that a link swapped in after the
// judgement makes the open fail. The open handle's own path is judged again after. Refusals are
// said on the error stream when `tell`, except for plain nothing-there (the caller says that).
int OpenForReading(const std::string& path, int flags, bool followLastLink, bool tell) {
    flags |= O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    if (path.empty()) return -1;
    if (gReadableFolders.empty()) return ::open(path.c_str(), flags | (followLastLink ? 0 : O_NOFOLLOW));
    char buf[PATH_MAX];
    std::string real;
    if (followLastLink) {
        if (::realpath(path.c_str(), buf)) real = buf;
    } else {
        // The folder's real path and the name itself: a link there is not followed.
        const size_t slash = path.find_last_of('/');
        const std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
        const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
        if (!name.empty() && name != "." && name != ".." && ::realpath(folder.c_str(), buf)) real = JoinPath(buf, name);
    }
    if (real.empty()) {
        struct stat st;
        if (tell && ::lstat(path.c_str(), &st) == 0)
            std::fprintf(
                stderr,
                "'%s' leads to nothing that can be read (a link to nothing or a loop of links); it is not read\n",
                path.c_str());
        return -1;
    }
    if (!ReadableOrSaid(real, path, tell)) return -1;
    const int fd = OpenWithoutLinks(real, flags);
    if (fd < 0) {
        if (tell && errno == ELOOP)
            std::fprintf(stderr, "'%s' was changed into a link while it was read; it is not read\n", path.c_str());
        return -1;
    }
    if (!ReadableOrSaid(HandlePath(fd), path, tell)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// The names in a folder, sorted, without "." and ".."; none when the gate refuses the folder.
std::vector<std::string> ListFolder(const std::string& path, bool tell) {
    std::vector<std::string> names;
    const int fd = OpenForReading(path.empty() ? "." : path, O_DIRECTORY, true, tell);
    if (fd < 0) return names;
    if (DIR* d = ::fdopendir(fd)) {
        while (dirent* e = ::readdir(d)) {
            std::string n = e->d_name;
            if (n != "." && n != "..") names.push_back(std::move(n));
        }
        ::closedir(d);
    } else {
        ::close(fd);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The names the lookup without regard to case may choose from in a folder: its entries when the
// gate lets it be read; else, for a folder on the way to a readable folder or file (a data folder
// named in another case), only the next part of that folder's or file's own path, so that no
// folder outside is ever listed.
std::vector<std::string> NamesToMatch(const std::string& folder) {
    if (gReadableFolders.empty()) return ListFolder(folder, false);
    char buf[PATH_MAX];
    if (!::realpath(folder.empty() ? "." : folder.c_str(), buf)) return {};
    std::string real = buf;
    if (Readable(real)) return ListFolder(folder, false);
    if (!real.ends_with('/')) real += '/';
    std::vector<std::string> names;
    auto nextPart = [&](const std::string& allowed) {
        if (!allowed.starts_with(real) || allowed.size() == real.size()) return;
        names.push_back(allowed.substr(real.size(), allowed.find('/', real.size()) - real.size()));
    };
    for (const std::string& f : gReadableFolders) nextPart(f);
    for (const std::string& f : gReadableFiles) nextPart(f);
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

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
                // Only a folder the gate lets be read is listed (without a line: the read that
                // follows says what it finds).
                std::string found;
                for (const auto& n : NamesToMatch(cur))
                    if (EqualsNoCase(n, comp)) {
                        found = n;
                        break;
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
    if (!LoadBytes(src, bytes, FileKind::Any)) return false;
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

std::vector<std::string> ReadDir(const std::string& path) { return ListFolder(ResolvePath(path), true); }

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

namespace {

const char* FileKindName(FileKind kind) {
    switch (kind) {
        case FileKind::Text: return "a text file";
        case FileKind::Level: return "a level";
        case FileKind::Font: return "a font";
        case FileKind::Sound: return "a sound effect";
        case FileKind::Music: return "a music track";
        case FileKind::Picture: return "a picture";
        default: return "a file";
    }
}

TFileStamp StampOf(const struct stat& st) {
    TFileStamp stamp;
    stamp.size = static_cast<int64_t>(st.st_size);
    stamp.modifiedNs = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    stamp.changedNs = static_cast<int64_t>(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
    stamp.device = static_cast<uint64_t>(st.st_dev);
    stamp.inode = static_cast<uint64_t>(st.st_ino);
    return stamp;
}

}  // namespace

int64_t MaxFileBytes(FileKind kind) {
    constexpr int64_t MiB = int64_t(1) << 20;
    switch (kind) {
        case FileKind::Text: return 16 * MiB;
        case FileKind::Level: return 16 * MiB;
        case FileKind::Font: return 64 * MiB;
        case FileKind::Sound: return 8 * MiB;
        case FileKind::Music: return 64 * MiB;
        default: return 257 * MiB;  // a picture: 2^26 pixels of 4 bytes, and its header
    }
}

int64_t MaxFileLines(FileKind kind) { return kind == FileKind::Text ? kMaxTextLines : -1; }

std::string ResolvedRealPath(const std::string& path) {
    const std::string p = ResolvePath(path);
    if (p.empty()) return {};
    std::error_code ec;
    const fs::path real = fs::weakly_canonical(fs::absolute(fs::path(p), ec), ec);
    return ec ? std::string() : real.string();
}

bool PathResolvesInside(const std::string& folder, const std::string& path) {
    std::string base = ResolvedRealPath(folder.empty() ? "." : folder);
    const std::string full = ResolvedRealPath(path);
    if (base.empty() || full.empty()) return false;
    if (!base.ends_with('/')) base += '/';
    return full.starts_with(base) || full + "/" == base;  // the folder itself counts as inside
}

void AllowReadsBelow(const std::string& folder) {
    std::string real = ResolvedRealPath(folder);
    if (real.empty() || RawType(real) != 2) return;
    if (!real.ends_with('/')) real += '/';
    if (std::find(gReadableFolders.begin(), gReadableFolders.end(), real) == gReadableFolders.end())
        gReadableFolders.push_back(std::move(real));
}

void AllowReadOfFile(const std::string& file) {
    const std::string real = ResolvedRealPath(file);
    if (real.empty() || RawType(real) != 1) return;
    if (std::find(gReadableFiles.begin(), gReadableFiles.end(), real) == gReadableFiles.end())
        gReadableFiles.push_back(real);
}

void AllowReadsAnywhere() {
    gReadableFolders.clear();
    gReadableFiles.clear();
}

const std::vector<std::string>& ReadableFolders() { return gReadableFolders; }

TFileStamp FileStamp(const std::string& path) {
    struct stat st;
    const std::string p = ResolvePath(path);
    if (p.empty() || ::stat(p.c_str(), &st) != 0) return {};
    return StampOf(st);
}

namespace {

// The lines of a text's bytes as the readers split them: each line feed, carriage return and
// carriage return followed by a line feed ends one, and what follows the last makes one more
// (counted in 16-bit units after a UTF-16 byte-order mark).
int64_t CountLines(std::string_view bytes) {
    const auto u8 = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const bool le = bytes.size() >= 2 && u8(0) == 0xFF && u8(1) == 0xFE;
    const bool be = bytes.size() >= 2 && u8(0) == 0xFE && u8(1) == 0xFF;
    const size_t step = le || be ? 2 : 1;
    const auto unit = [&](size_t i) -> unsigned {
        if (step == 1) return u8(i);
        return le ? u8(i) | (u8(i + 1) << 8) : (u8(i) << 8) | u8(i + 1);
    };
    int64_t lines = 0;
    bool open = false;  // characters since the last line break
    for (size_t i = step == 1 ? 0 : 2; i + step <= bytes.size(); i += step) {
        const unsigned c = unit(i);
        if (c == '\n') {
            ++lines;
            open = false;
        } else if (c == '\r') {
            ++lines;
            open = false;
            if (i + 2 * step <= bytes.size() && unit(i + step) == '\n') i += step;
        } else {
            open = true;
        }
    }
    return lines + (open ? 1 : 0);
}

// LoadBytes of a path already resolved; a link in its last part is followed unless
// followLastLink is false.
bool LoadResolvedBytes(const std::string& p, bool followLastLink, std::string& out, FileKind kind, TFileStamp* stamp) {
    // Opened first, judged by the handle after: nothing renamed over the path in between can
    // make the read wait (a pipe opens at once without blocking) or pass for what was checked.
    FileHandle fd(OpenForReading(p, 0, followLastLink, true));
    if (fd.get() < 0) return false;
    struct stat st;
    if (::fstat(fd.get(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
    if (!S_ISREG(st.st_mode)) {
        std::fprintf(stderr, "'%s' is not a file (a pipe, a device or a socket); it is not read\n", p.c_str());
        return false;
    }
    const int64_t cap = MaxFileBytes(kind);
    auto tooLarge = [&](int64_t size) {
        std::fprintf(stderr, "The file '%s' is %lld bytes, more than %s may have (%lld); it is not read\n", p.c_str(),
                     static_cast<long long>(size), FileKindName(kind), static_cast<long long>(cap));
        return false;
    };
    if (st.st_size > cap) return tooLarge(st.st_size);
    // Read in one go when the size is known, then whatever a growing file still holds, never
    // beyond the cap.
    std::string data;
    try {
        data.resize(static_cast<size_t>(st.st_size));
        size_t got = 0;
        for (;;) {
            if (got == data.size()) {
                if (static_cast<int64_t>(got) > cap) return tooLarge(static_cast<int64_t>(got));
                data.resize(got + 65536);
            }
            const ssize_t n = ::read(fd.get(), data.data() + got, data.size() - got);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) return false;
            if (n == 0) break;
            got += static_cast<size_t>(n);
        }
        data.resize(got);
        if (static_cast<int64_t>(got) > cap) return tooLarge(static_cast<int64_t>(got));
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "The file '%s' (%lld bytes) does not fit in memory; it is not read\n", p.c_str(),
                     static_cast<long long>(st.st_size));
        return false;
    }
    if (const int64_t most = MaxFileLines(kind); most >= 0) {
        if (const int64_t lines = CountLines(data); lines > most) {
            std::fprintf(stderr, "The file '%s' has %lld lines, more than %s may have (%lld); it is not read\n",
                         p.c_str(), static_cast<long long>(lines), FileKindName(kind), static_cast<long long>(most));
            return false;
        }
    }
    if (stamp) *stamp = StampOf(st);
    out = std::move(data);
    return true;
}

// CopyDirWithin below src, into dst (created).
bool CopyTreeWithin(const std::string& src, const std::string& dst, int64_t& bytesLeft, int& entriesLeft,
                    std::vector<std::string>& skipped, std::string& error, const std::function<bool()>& keepGoing) {
    FileHandle dirFd(::open(src.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (dirFd.get() < 0) {
        error = "the folder " + src + " cannot be read";
        return false;
    }
    if (!CreateDir(dst, false)) {
        error = "the folder " + dst + " cannot be made";
        return false;
    }
    std::vector<std::string> names;
    if (DIR* d = ::fdopendir(::dup(dirFd.get()))) {
        while (dirent* e = ::readdir(d)) {
            const std::string n = e->d_name;
            if (n != "." && n != "..") names.push_back(n);
        }
        ::closedir(d);
    }
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        if (keepGoing && !keepGoing()) {
            error = "the copy was stopped";
            return false;
        }
        if (--entriesLeft < 0) {
            error = "more entries than a copy may have";
            return false;
        }
        const std::string from = src + "/" + name, to = dst + "/" + name;
        struct stat st;
        if (::fstatat(dirFd.get(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (S_ISDIR(st.st_mode)) {
            if (!CopyTreeWithin(from, to, bytesLeft, entriesLeft, skipped, error, keepGoing)) return false;
            continue;
        }
        if (!S_ISREG(st.st_mode)) {
            skipped.push_back(from);
            continue;
        }
        if (st.st_size > bytesLeft) {
            error = "its files come to more than the bytes a copy may have";
            return false;
        }
        std::string bytes;
        // O_NOFOLLOW: a file swapped for a link since it was looked at is refused, not followed.
        if (!LoadResolvedBytes(from, false, bytes, FileKind::Any, nullptr)) {
            if (::fstatat(dirFd.get(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && !S_ISREG(st.st_mode)) {
                skipped.push_back(from);
                continue;
            }
            error = "the file " + from + " cannot be read";
            return false;
        }
        bytesLeft -= static_cast<int64_t>(bytes.size());
        if (bytesLeft < 0) {
            error = "its files come to more than the bytes a copy may have";
            return false;
        }
        if (!SaveBytes(to, bytes)) {
            error = "the file " + to + " cannot be written";
            return false;
        }
    }
    return true;
}

}  // namespace

bool LoadBytes(const std::string& path, std::string& out, FileKind kind, TFileStamp* stamp) {
    return LoadResolvedBytes(ResolvePath(path), true, out, kind, stamp);
}

bool CopyDirWithin(const std::string& src, const std::string& dst, int64_t maxBytes, int maxEntries,
                   std::vector<std::string>& skipped, std::string& error, const std::function<bool()>& keepGoing) {
    const std::string s = ResolvePath(src);
    struct stat st;
    if (s.empty() || ::lstat(s.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        error = "the folder " + src + " is missing or is a link";
        return false;
    }
    int64_t bytesLeft = maxBytes;
    int entriesLeft = maxEntries;
    return CopyTreeWithin(s, dst, bytesLeft, entriesLeft, skipped, error, keepGoing);
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
            char16_t u =
                le ? static_cast<char16_t>(u8(i) | (u8(i + 1) << 8)) : static_cast<char16_t>((u8(i) << 8) | u8(i + 1));
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
    bool read = LoadBytes(path, bytes, FileKind::Text);
    std::string text;
    if (read) {
        try {
            text = DecodeText(bytes);
        } catch (const std::bad_alloc&) {
            std::fprintf(stderr, "The text '%s' does not fit in memory; it is not read\n", path.c_str());
            read = false;
        }
    }
    if (ok) *ok = read;
    return text;
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
