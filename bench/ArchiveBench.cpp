// Packing and unpacking a large recorded demo through the archive component against Info-ZIP's
// zip -9 and unzip on the same file: times (median of a few runs) and archive sizes. The demo is
// deterministic text-like data of the given size (64 MiB unless a size in MiB is given), about as
// compressible as a long recording.
#include "archive/uVexaZipComp.h"
#include "bench/MedianSeconds.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

void WriteDemo(const fs::path& path, std::uint64_t size) {
    std::ofstream out(path, std::ios::binary);
    out << "ZELTA PAD DEMO\n-level=data\\maps\\K3\n";
    std::mt19937 random(2026);
    std::string line;
    for (std::uint64_t written = 0, frame = 0; written < size; ++frame) {
        // One frame of input: a counter, a few small axis values, a button mask.
        line = "frame " + std::to_string(frame) + " x" + std::to_string(random() % 256) + " y" +
               std::to_string(random() % 256) + " b" + std::to_string(random() % 16) + "\n";
        out << line;
        written += line.size();
    }
}

void Shell(const std::string& command) {
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "failed: %s\n", command.c_str());
        std::exit(1);
    }
}

} // namespace

int main(int argc, char** argv) {
    const std::uint64_t mebibytes = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 64;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 3;
    std::string pattern = (fs::temp_directory_path() / "scu-archive-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        return 1;
    }
    const fs::path root = pattern;
    const fs::path demo = root / "K3.tmp";
    WriteDemo(demo, mebibytes << 20);
    for (const char* folder : {"ours", "theirs"})
        fs::create_directories(root / folder);
    const fs::path ours = root / "ours.xpd", theirs = root / "theirs.zip";

    const double packOurs = MedianSeconds(
        [&] {
            fs::remove(ours);
            TVexaZipComponent().gZapakujFajl(demo.string(), ours.string());
        },
        runs);
    const double packTheirs = MedianSeconds(
        [&] {
            fs::remove(theirs);
            Shell("cd '" + root.string() + "' && zip -q -9 -X theirs.zip K3.tmp");
        },
        runs);
    const double unpackOurs = MedianSeconds(
        [&] { TVexaZipComponent().gRaspakujFajl(ours.string(), (root / "ours").string()); }, runs);
    const double unpackTheirs = MedianSeconds(
        [&] {
            Shell("unzip -q -o '" + theirs.string() + "' -d '" + (root / "theirs").string() + "'");
        },
        runs);
    const auto sizeOurs = fs::file_size(ours), sizeTheirs = fs::file_size(theirs);
    const bool same = fs::file_size(root / "ours" / "K3.tmp") == fs::file_size(demo) &&
                      fs::file_size(root / "theirs" / "K3.tmp") == fs::file_size(demo);
    fs::remove_all(root);

    std::printf("demo of %llu MiB, medians of %d runs\n",
                static_cast<unsigned long long>(mebibytes), runs);
    std::printf("%-8s %14s %14s %8s\n", "", "component", "zip/unzip", "ratio");
    std::printf("%-8s %12.3f s %12.3f s %8.3f\n", "pack", packOurs, packTheirs,
                packOurs / packTheirs);
    std::printf("%-8s %12.3f s %12.3f s %8.3f\n", "unpack", unpackOurs, unpackTheirs,
                unpackOurs / unpackTheirs);
    std::printf("%-8s %12llu B %12llu B %8.4f\n", "size", static_cast<unsigned long long>(sizeOurs),
                static_cast<unsigned long long>(sizeTheirs),
                static_cast<double>(sizeOurs) / static_cast<double>(sizeTheirs));
    std::printf("(goals: times at most 1.1 x, size at most 1.01 x)%s\n",
                same ? "" : "  UNPACKED SIZES DIFFER");
    return same ? 0 : 1;
}
