// Builds zip archives in memory for tests with libzip: plain files, folders, symbolic links and
// any entry name at all (hostile names included).
#pragma once
#include <sys/stat.h>
#include <zip.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace testsupport {

class ZipBuilder {
public:
    ZipBuilder& File(const std::string& name, const std::string& bytes) {
        entries_.push_back({name, bytes, S_IFREG | 0644});
        return *this;
    }
    ZipBuilder& Folder(const std::string& name) {
        entries_.push_back({name, "", S_IFDIR | 0755});
        return *this;
    }
    // A symbolic link whose target is `target`.
    ZipBuilder& Link(const std::string& name, const std::string& target) {
        entries_.push_back({name, target, S_IFLNK | 0777});
        return *this;
    }

    // The archive's bytes.
    std::string Bytes() const {
        zip_error_t error;
        zip_error_init(&error);
        zip_source_t* out = zip_source_buffer_create(nullptr, 0, 0, &error);
        zip_source_keep(out);
        zip_t* z = zip_open_from_source(out, ZIP_TRUNCATE, &error);
        if (!z) std::abort();
        for (const Entry& e : entries_) {
            zip_int64_t index;
            if ((e.mode & S_IFMT) == S_IFDIR) {
                index = zip_dir_add(z, e.name.c_str(), ZIP_FL_ENC_UTF_8);
            } else {
                // libzip frees the copy when the archive is written.
                void* copy = std::malloc(e.bytes.size() + 1);
                std::memcpy(copy, e.bytes.data(), e.bytes.size());
                zip_source_t* src = zip_source_buffer(z, copy, e.bytes.size(), 1);
                index = zip_file_add(z, e.name.c_str(), src, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE);
            }
            if (index < 0) std::abort();
            zip_file_set_external_attributes(z, static_cast<zip_uint64_t>(index), 0, ZIP_OPSYS_UNIX,
                                             static_cast<zip_uint32_t>(e.mode) << 16);
        }
        if (zip_close(z) != 0) std::abort();
        std::string bytes;
        zip_stat_t st;
        zip_source_stat(out, &st);
        zip_source_open(out);
        bytes.resize(st.size);
        zip_source_read(out, bytes.data(), st.size);
        zip_source_close(out);
        zip_source_free(out);
        return bytes;
    }

private:
    struct Entry {
        std::string name;
        std::string bytes;
        unsigned mode;
    };
    std::vector<Entry> entries_;
};

}  // namespace testsupport
