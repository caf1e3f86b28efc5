#include "platform/Unzip.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

#include <memory>
#include <vector>

#include "platform/Files.h"
#include "platform/Strings.h"

namespace {

bool Fail(std::string* error, const std::string& why) {
    if (error) *error = why;
    return false;
}

struct ArchiveCloser {
    void operator()(zip_t* z) const { zip_discard(z); }
};
struct FileCloser {
    void operator()(zip_file_t* f) const { zip_fclose(f); }
};

// The entry's file kind from the Unix mode in its external attributes: 0 when the archive does
// not say (made elsewhere), else S_IFREG, S_IFDIR, S_IFLNK, ...
unsigned EntryKind(zip_t* z, zip_uint64_t index) {
    zip_uint8_t opsys = 0;
    zip_uint32_t attributes = 0;
    if (zip_file_get_external_attributes(z, index, 0, &opsys, &attributes) != 0) return 0;
    if (opsys != ZIP_OPSYS_UNIX) return 0;
    return (attributes >> 16) & S_IFMT;
}

bool WriteEntry(zip_t* z, zip_uint64_t index, const std::string& path, int64_t& budget, std::string* error,
                const std::string& name) {
    std::unique_ptr<zip_file_t, FileCloser> in(zip_fopen_index(z, index, 0));
    if (!in) return Fail(error, "cannot read the entry \"" + name + "\": " + zip_strerror(z));
    // O_NOFOLLOW: never write through a link, whatever the folder holds.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) return Fail(error, "cannot write " + path);
    std::vector<char> buffer(64 * 1024);
    bool ok = true;
    for (;;) {
        const zip_int64_t n = zip_fread(in.get(), buffer.data(), buffer.size());
        if (n < 0) {
            ok = Fail(error, "the entry \"" + name + "\" is damaged: " + zip_file_strerror(in.get()));
            break;
        }
        if (n == 0) break;
        budget -= n;
        if (budget < 0) {
            ok = Fail(error, "the archive unpacks to too many bytes");
            break;
        }
        for (zip_int64_t done = 0; done < n;) {
            const ssize_t w = ::write(fd, buffer.data() + done, static_cast<size_t>(n - done));
            if (w <= 0) {
                ok = Fail(error, "cannot write " + path);
                break;
            }
            done += w;
        }
        if (!ok) break;
    }
    if (::close(fd) != 0 && ok) ok = Fail(error, "cannot write " + path);
    return ok;
}

}  // namespace

bool IsSafeZipEntryName(const std::string& name) {
    if (name.empty() || name[0] == '/' || name[0] == '\\') return false;
    if (name.size() >= 2 && name[1] == ':') return false;  // "C:..."
    size_t start = 0;
    for (size_t i = 0; i <= name.size(); ++i) {
        if (i == name.size() || name[i] == '/' || name[i] == '\\') {
            if (name.compare(start, i - start, "..") == 0 && i - start == 2) return false;
            start = i + 1;
        }
    }
    for (unsigned char c : name)
        if (c < ' ') return false;
    return true;
}

bool UnzipArchive(const std::string& zipPath, const std::string& folder, std::string* error,
                  const TUnzipLimits& limits) {
    int code = 0;
    std::unique_ptr<zip_t, ArchiveCloser> z(zip_open(zipPath.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &code));
    if (!z) {
        zip_error_t e;
        zip_error_init_with_code(&e, code);
        const std::string why = zip_error_strerror(&e);
        zip_error_fini(&e);
        return Fail(error, "cannot open the archive " + zipPath + ": " + why);
    }
    const zip_int64_t count = zip_get_num_entries(z.get(), 0);
    if (count < 0 || count > limits.maxEntries) return Fail(error, "the archive holds too many entries");

    // Every name and kind is checked before anything is written.
    struct Entry {
        zip_uint64_t index;
        std::string name;
        bool folder;
    };
    std::vector<Entry> entries;
    int64_t declared = 0;
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(z.get(), static_cast<zip_uint64_t>(i), 0, &st) != 0 || !(st.valid & ZIP_STAT_NAME))
            return Fail(error, "the archive is damaged");
        const std::string name = st.name;
        if (!IsSafeZipEntryName(name)) return Fail(error, "the entry \"" + name + "\" would leave the folder");
        const unsigned kind = EntryKind(z.get(), static_cast<zip_uint64_t>(i));
        const bool isFolder = EndsWith(name, "/") || kind == S_IFDIR;
        if (kind == S_IFLNK) return Fail(error, "the entry \"" + name + "\" is a link");
        if (kind != 0 && kind != S_IFREG && kind != S_IFDIR)
            return Fail(error, "the entry \"" + name + "\" is a special file");
        // Compared before it is added: a size near the top of the range must not wrap the sum.
        if ((st.valid & ZIP_STAT_SIZE) && st.size > static_cast<zip_uint64_t>(limits.maxTotalBytes - declared))
            return Fail(error, "the archive unpacks to too many bytes");
        if (st.valid & ZIP_STAT_SIZE) declared += static_cast<int64_t>(st.size);
        entries.push_back({static_cast<zip_uint64_t>(i), name, isFolder});
    }

    if (!CreateDir(folder)) return Fail(error, "cannot create " + folder);
    int64_t budget = limits.maxTotalBytes;
    for (const Entry& e : entries) {
        std::string relative = e.name;
        while (EndsWith(relative, "/")) relative.pop_back();
        const std::string path = JoinPath(folder, relative);
        if (e.folder) {
            if (!CreateDir(path)) return Fail(error, "cannot create " + path);
            continue;
        }
        if (!CreateDir(ExtractDir(path))) return Fail(error, "cannot create " + ExtractDir(path));
        if (!WriteEntry(z.get(), e.index, path, budget, error, e.name)) return false;
    }
    return true;
}
