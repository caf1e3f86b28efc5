// A name server that answers late, for the tests of what must not wait on a name lookup: the
// lookup of a name "<ms>.slow.test" (the top-level name "test" is reserved for tests) sleeps that
// many milliseconds and then finds nothing; every other name goes to the system's own lookup.
//
// Compiled into a test program it takes the place of the system's getaddrinfo for the whole
// program (libcurl's resolver thread included); built as a library of its own it is put in front
// of the game with LD_PRELOAD.
#include <dlfcn.h>
#include <netdb.h>
#include <sys/socket.h>
#include <sys/types.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

extern "C" int getaddrinfo(const char* node, const char* service, const struct addrinfo* hints, struct addrinfo** res) {
    static const char kSuffix[] = ".slow.test";
    const size_t length = node ? std::strlen(node) : 0;
    const size_t suffix = sizeof(kSuffix) - 1;
    if (length > suffix && std::strcmp(node + length - suffix, kSuffix) == 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(std::atol(node)));
        return EAI_NONAME;
    }
    using Lookup = int (*)(const char*, const char*, const struct addrinfo*, struct addrinfo**);
    static const auto real = reinterpret_cast<Lookup>(dlsym(RTLD_NEXT, "getaddrinfo"));
    return real ? real(node, service, hints, res) : EAI_FAIL;
}
