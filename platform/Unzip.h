// Unpacking zip archives with libzip, safely: an archive that names anything outside the folder
// it is unpacked into is refused whole before a single file is written.
#pragma once
#include <cstdint>
#include <string>

struct TUnzipLimits {
    // Total size of every unpacked file; a larger archive is refused.
    int64_t maxTotalBytes = 256ll << 20;
    int maxEntries = 10000;
};

// Unpacks every entry of the archive at zipPath into folder (created when missing), keeping the
// archive's folder structure. The archive is refused (false, `error` says why) when it cannot be
// opened or is damaged, when an entry's name is absolute (a leading "/" or "\", a drive letter),
// holds a ".." component (with "/" or "\" as separators), or is empty; when an entry is a
// symbolic link or any other special file; when it holds too many entries or too many bytes;
// and when an entry's data fails its check while being unpacked. The names are checked before
// anything is written, but a fault found while unpacking leaves the files unpacked so far: unpack
// into a fresh folder and throw it away on failure.
bool UnzipArchive(const std::string& zipPath, const std::string& folder, std::string* error = nullptr,
                  const TUnzipLimits& limits = {});

// True when the entry name stays inside the folder it is unpacked into (the name rules above).
bool IsSafeZipEntryName(const std::string& name);
