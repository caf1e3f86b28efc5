// A limit on the address space the process may still map, for tests of what a load does when
// memory runs out.
#pragma once
#include <sys/resource.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>

namespace testsupport {

// While it lives, the process may map only `extra` more bytes: an allocation beyond that fails.
class AddressSpaceLimit {
public:
    explicit AddressSpaceLimit(uint64_t extra) {
        long pages = 0;
        if (FILE* f = std::fopen("/proc/self/statm", "r")) {
            if (std::fscanf(f, "%ld", &pages) != 1) pages = 0;
            std::fclose(f);
        }
        if (pages <= 0 || getrlimit(RLIMIT_AS, &saved_) != 0) return;
        rlimit limit = saved_;
        limit.rlim_cur = static_cast<rlim_t>(pages) * static_cast<rlim_t>(sysconf(_SC_PAGESIZE)) + extra;
        active_ = setrlimit(RLIMIT_AS, &limit) == 0;
    }
    ~AddressSpaceLimit() {
        if (active_) setrlimit(RLIMIT_AS, &saved_);
    }
    bool active() const { return active_; }

private:
    rlimit saved_{};
    bool active_ = false;
};

}  // namespace testsupport
