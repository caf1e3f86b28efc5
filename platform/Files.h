// File system and text streams. Every reading function resolves its path without regard to
// letter case when the exact path does not exist (the data was written for a case-insensitive
// file system). Files a player depends on are written atomically: a temporary file, then rename.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// 0 nothing there, 1 a file, 2 a folder.
int FileType(const std::string& path);
int64_t FileSize(const std::string& path);  // -1 when missing
// Modification time in seconds since the epoch, 0 when missing.
int64_t FileTime(const std::string& path);

// The path as it exists on disk: the exact path when it exists, else the first entry of each
// folder that matches the next component without regard to case. When nothing matches, the
// part that exists is resolved and the rest returned unchanged.
std::string ResolvePath(const std::string& path);

// Creates the folder and its missing parents; true when it exists afterwards.
bool CreateDir(const std::string& path, bool recurse = true);
bool DeleteFile(const std::string& path);
// Removes a folder, with its contents when recurse is set.
bool DeleteDir(const std::string& path, bool recurse = true);
bool CopyFile(const std::string& src, const std::string& dst);
bool CopyDir(const std::string& src, const std::string& dst);
// Copies a folder without following any link: a symbolic link inside it (and anything else
// that is neither a file nor a folder) is skipped and its path added to `skipped`; a source
// that is itself a link is refused. False, with `error` set, once the files copied would pass
// maxBytes together or the entries maxEntries, when a file cannot be read or written, or when
// keepGoing (asked before each entry) says no; what was copied so far is left for the caller.
bool CopyDirWithin(const std::string& src, const std::string& dst, int64_t maxBytes, int maxEntries,
                   std::vector<std::string>& skipped, std::string& error,
                   const std::function<bool()>& keepGoing = nullptr);
// Renames (moves) a file and flushes the folders it left and entered.
bool RenameFile(const std::string& src, const std::string& dst);
// Names in a folder (files and folders), sorted, without "." and "..".
std::vector<std::string> ReadDir(const std::string& path);
std::string CurrentDir();
// Absolute, normalised path (need not exist).
std::string RealPath(const std::string& path);

// Path splitting, "/"-separated: ExtractDir("a/b/c.txt") = "a/b", StripDir = "c.txt",
// ExtractExt = "txt", StripExt = "a/b/c", StripAll = "c".
std::string ExtractDir(const std::string& path);
std::string StripDir(const std::string& path);
std::string ExtractExt(const std::string& path);
std::string StripExt(const std::string& path);
std::string StripAll(const std::string& path);
// Joins with exactly one "/" between the parts.
std::string JoinPath(const std::string& a, const std::string& b);
// True when `path`, once normalised, stays inside `folder` (no "..", no absolute escape).
bool PathIsInside(const std::string& folder, const std::string& path);

// What a file is read as, which sets the most bytes it may have: a text or block file 16 MiB,
// a level 16 MiB, a font 64 MiB, a sound effect 8 MiB, a music track 64 MiB, a picture 257 MiB
// (the most pixels a picture may have at 4 bytes each, and room for its header), any other file
// (a copy) as a picture. A text or block file may also have at most kMaxTextLines lines (line
// feeds, carriage returns, or both together, each end one); what a text becomes once read is
// bounded further by its reader (a block file's blocks, entries and values, an ini file's words).
enum class FileKind { Text, Level, Font, Sound, Music, Picture, Any };
int64_t MaxFileBytes(FileKind kind);
constexpr int64_t kMaxTextLines = 262144;
// The most lines a file of the kind may have; -1 for no limit (the kinds that are not text).
int64_t MaxFileLines(FileKind kind);
// The file a read found, told by its handle: enough to know it again later. A file written in
// place changes its status-change time whatever is done to its modification time after.
struct TFileStamp {
    int64_t size = -1;
    int64_t modifiedNs = 0;  // modification time, nanoseconds since the epoch
    uint64_t device = 0, inode = 0;
    int64_t changedNs = 0;  // status-change time (written, renamed, its times set), nanoseconds
    bool operator==(const TFileStamp&) const = default;
};
// ---- Folders a read may reach ----
// The real path of `path` (resolved without regard to case like every read, then links and
// ".." followed); the part that does not exist is kept as written. Empty when unknown.
std::string ResolvedRealPath(const std::string& path);
// True when `path` leads to a place inside `folder` by its real path (both taken as they stand,
// relative to the working folder when not absolute): a ".." or a symbolic link leading out of
// the folder is outside, whatever the text says.
bool PathResolvesInside(const std::string& folder, const std::string& path);
// Once a folder is allowed, a read (LoadBytes, LoadText, ReadDir, the copies) of a file whose
// real path lies outside every allowed folder is refused with a line on the error stream: a name
// with ".." or a symbolic link cannot lead a read out of the game's folders. The real path is
// judged before the file is opened, and the file then opened following no link, so nothing
// outside is ever opened, not even when a link is swapped in meanwhile; a name that leads
// nowhere (a link to nothing) is refused without an open. Nor does the lookup without regard
// to case list a folder outside them. With none allowed (the start, and after
// AllowReadsAnywhere) any file may be read. A folder that does not exist is not added.
void AllowReadsBelow(const std::string& folder);
// Allows the one file (by its real path, as it is now), wherever it lies: the fallbacks the
// platform layer names itself (the system's font). Nothing when it does not exist.
void AllowReadOfFile(const std::string& file);
void AllowReadsAnywhere();
const std::vector<std::string>& ReadableFolders();
// Whole file as bytes; false when it cannot be read. The file is opened first (never waiting:
// a pipe swapped in gives nothing at once) and judged by its open handle after: anything but a
// regular file, and a file larger than its kind allows, is refused with a line on the error
// stream. No handle outlives the call, whatever fails. `stamp` (when given) gets the file's.
bool LoadBytes(const std::string& path, std::string& out, FileKind kind = FileKind::Text, TFileStamp* stamp = nullptr);
// The stamp of the file at path now (its size -1 when there is none).
TFileStamp FileStamp(const std::string& path);
// Writes atomically: a temporary file beside the target named path + ".tmp-" + the process id,
// written, flushed to the disk, then renamed over the target, and the folder flushed so that
// the rename outlasts a power cut. On failure the temporary file is removed and the target left
// as it was.
bool SaveBytes(const std::string& path, const std::string& bytes);
// The CRC-32 (the one of zip and PNG) of the bytes.
uint32_t Crc32(std::string_view bytes);

// ---- Write errors ----
// The errno of the calling thread's last SaveBytes, RenameFile or DeleteFile that failed; 0 after
// one that worked. Writes on other threads never change it.
int LastWriteError();
// A write error in plain words for a player: "the disk is full", "the game's folder can't be written
// to", ...
std::string WriteErrorText(int error);
// What a write is about to do, for the fault hook.
enum class FileWrite { Save, Rename, Delete };
// Run before every SaveBytes, RenameFile and DeleteFile with the path written (a rename's
// target); a non-zero errno it returns makes the operation fail, changing nothing, as if the
// system had returned that error. Tests only: the program never sets it. An empty function, the
// default, injects nothing.
using TWriteFaultHook = std::function<int(const std::string& path, FileWrite what)>;
void SetWriteFaultHook(TWriteFaultHook hook);
// What a developer plays to see what a player is told: every SaveBytes below the folder fails as
// on a full disk (DiskFull: ENOSPC), or every SaveBytes, RenameFile and DeleteFile there as in a
// read-only folder (ReadOnly: EROFS), changing nothing; or the killAt-th SaveBytes, RenameFile or
// DeleteFile there kills the process (KillAt: SIGKILL, standard output flushed first) before it
// writes, as a crash or a power cut would. The folder is compared as given with the real path of
// what is written. None, or an empty folder, lifts it.
enum class WriteFault { None, DiskFull, ReadOnly, KillAt };
void FailWritesBelow(const std::string& folder, WriteFault fault, int killAt = 0);
// Every SaveBytes, RenameFile and DeleteFile below the folder fails with the error, changing
// nothing (a folder the game must not write to: another game may own it). An empty folder
// lifts the refusal.
void RefuseWritesBelow(const std::string& folder, int error);
// True when writes at path are refused so (RefuseWritesBelow), for a writer that need not try.
bool isWriteRefused(const std::string& path);

// ---- Temporary files ----
// True for a name SaveBytes gives its temporary files ("<file>.tmp-<digits>"); pid gets the
// process id in it.
bool IsTempFileName(const std::string& name, long* pid = nullptr);
// Removes the temporary files that SaveBytes left in the folder (not below it) when its process
// was killed: those of any other process, or with onlyDeadProcesses those of processes that no
// longer run (for a folder that other programs may be writing in at the same time). The files
// of this process are never touched. Returns the names removed.
std::vector<std::string> RemoveLeftoverTempFiles(const std::string& folder, bool onlyDeadProcesses);

// ---- One process at a time ----
// Takes an advisory lock (flock, exclusive) on the file at path, created when missing, and holds
// it while the returned descriptor stays open; the kernel lets it go when the process ends,
// however it ends, so the lock of a dead process never blocks. The descriptor is not inherited
// by programs the process starts. Returns the descriptor, or -1: with busy set when another
// process holds the lock, else (busy false) when the file cannot be opened or locked (errno
// tells why).
int LockFileExclusive(const std::string& path, bool& busy);
// Lets the lock go and closes the descriptor.
void UnlockFile(int fd);

// Whole text, decoded to UTF-8: a byte-order mark selects UTF-8, UTF-16LE or UTF-16BE;
// without one the file is read as Latin-1. Sets `ok` (when given) to whether it was read.
std::string LoadText(const std::string& path, bool* ok = nullptr);
// Writes Latin-1 when every character is below 256 (and the text does not begin with the
// characters a byte-order mark would read as), else UTF-16LE with a byte-order mark.
// Atomic. Returns false when the file cannot be written (for example a missing folder).
bool SaveText(const std::string& text, const std::string& path);
// The encodings used by LoadText/SaveText, for code that handles bytes itself.
std::string DecodeText(const std::string& bytes);
std::string EncodeText(const std::string& utf8);

// Lines of a text, split at "\n", "\r\n" or "\r"; a final empty line is dropped.
std::vector<std::string> SplitLines(const std::string& text);
