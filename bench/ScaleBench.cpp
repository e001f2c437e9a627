// How the content scans and the name-table lookup grow with the installation: for name tables and
// folders of 2,000, 20,000 and 200,000 entries, the time of each scan and of LookupFileKey (for
// the table's last name, the longest walk), and the ratios between the sizes. A linear cost gives
// ratios near 10. Each time is the median of several runs; run on a quiet machine.
#include "bench/MedianSeconds.h"
#include "launcher/ContentScans.h"
#include "launcher/GameCommandLine.h"
#include "platform/IniFile.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// A game folder of the given size under root: levels, cutscenes and movies all named in
// settings.ini, and as many demos in bin. The files are empty; only their names count.
std::string LayOut(const fs::path& root, int entries) {
    const fs::path game = root / "game";
    for (const char* folder : {"bin", "data/maps/cutscene", "data/fmv"})
        fs::create_directories(game / folder);
    std::ofstream settings(root / "settings.ini", std::ios::binary);
    settings << "[config]\r\nversion=ZELTA.EXE\r\n";
    struct Kind {
        const char* section;
        const char* folder;
        const char* prefix;
        const char* extension;
    } kinds[] = {{"levels", "data/maps", "L", ".clz"},
                 {"cutscenes", "data/maps/cutscene", "C", ".clz"},
                 {"fmvs", "data/fmv", "M", ".mpg"}};
    for (const Kind& kind : kinds) {
        settings << "[" << kind.section << "]\r\n";
        for (int i = 0; i < entries; ++i) {
            const std::string base = kind.prefix + std::to_string(i);
            std::ofstream(game / kind.folder / (base + kind.extension));
            settings << base << "=Shown name of " << base << "\r\n";
        }
    }
    for (int i = 0; i < entries; ++i)
        std::ofstream(game / "bin" / ("D" + std::to_string(i) + ".pad"));
    return (root / "game").string() + "/";
}

} // namespace

int main(int argc, char** argv) {
    std::vector<int> sizes = {2000, 20000, 200000};
    if (argc > 1) { // optional smaller sizes for a quick run: scu_scale_bench 200 2000 20000
        sizes.clear();
        for (int i = 1; i < argc; ++i)
            sizes.push_back(std::atoi(argv[i]));
    }
    std::string pattern = (fs::temp_directory_path() / "scu-scale-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        return 1;
    }
    const fs::path root = pattern;

    const char* names[] = {"level scan", "cutscene scan", "movie scan", "demo scan",
                           "LookupFileKey"};
    std::vector<std::vector<double>> seconds(std::size(names));
    for (int size : sizes) {
        const fs::path folder = root / std::to_string(size);
        const std::string game = LayOut(folder, size);
        const std::string settingsFile = (folder / "settings.ini").string();
        const int runs = size >= 100000 ? 3 : 7;
        size_t found = 0;
        // Each scan reads the settings file afresh, as the main window does.
        auto scan = [&](const ContentScan& which, bool named) {
            return [&, named, which] {
                found = ScanContent(game, which,
                                    named ? IniFile(settingsFile).Snapshot() : IniDocument())
                            .size();
            };
        };
        seconds[0].push_back(MedianSeconds(scan(kLevelScan, true), runs));
        seconds[1].push_back(MedianSeconds(scan(kCutsceneScan, true), runs));
        seconds[2].push_back(MedianSeconds(scan(kMovieScan, true), runs));
        seconds[3].push_back(MedianSeconds(scan(kDemoScan, false), runs));
        const std::string last = "SHOWN NAME OF L" + std::to_string(size - 1);
        seconds[4].push_back(MedianSeconds(
            [&] { found = LookupFileKey(settingsFile, last, "levels").size(); }, runs));
        if (found == 0)
            std::fprintf(stderr, "nothing found at size %d\n", size);
        fs::remove_all(folder);
    }
    fs::remove_all(root);

    std::printf("%-16s", "entries");
    for (int size : sizes)
        std::printf(" %12d", size);
    for (size_t i = 1; i < sizes.size(); ++i)
        std::printf("  %6d/%-6d", sizes[i], sizes[i - 1]);
    std::printf("\n");
    for (size_t row = 0; row < std::size(names); ++row) {
        std::printf("%-16s", names[row]);
        for (double s : seconds[row])
            std::printf(" %10.2fms", s * 1000);
        for (size_t i = 1; i < sizes.size(); ++i)
            std::printf("  %13.1f", seconds[row][i] / seconds[row][i - 1]);
        std::printf("\n");
    }
    std::printf("(medians; the goal for each ratio is at most 12)\n");
    return 0;
}
