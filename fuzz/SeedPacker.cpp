// Packs files into an archive with the archive component's own packer (libzip), for the fuzz
// seeds: fuzz_seed_packer ARCHIVE FILE...
#include "archive/ZipBackend.h"

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: fuzz_seed_packer ARCHIVE FILE...\n");
        return 2;
    }
    try {
        return PackIntoArchive(argv[1], std::vector<std::string>(argv + 2, argv + argc), 9) > 0 ? 0
                                                                                                : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "fuzz_seed_packer: %s\n", e.what());
        return 1;
    }
}
