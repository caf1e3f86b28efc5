// The reading side of the race against the read gate (tests/platform/FilesTest.cpp): with reads
// allowed only below DATA, reads DATA/link and DATA/file READS times each, while the test swaps
// what they lead to. Prints how many reads of each found something. The test runs this program
// under strace, so that every file it opens is on record.
//
//     gate_race DATA READS
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/Files.h"

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    const std::string data = argv[1];
    const int reads = std::atoi(argv[2]);
    AllowReadsBelow(data);
    int link = 0, file = 0;
    for (int i = 0; i < reads; ++i) {
        std::string out;
        if (LoadBytes(data + "/link", out)) ++link;
        if (LoadBytes(data + "/file", out)) ++file;
    }
    std::printf("%d %d\n", link, file);
    return 0;
}
