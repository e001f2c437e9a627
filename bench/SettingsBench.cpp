// How the settings file and folder listing scale with the sizes a player's installation can reach:
// a name table of a few hundred levels and a bin folder of a thousand files.
#include "launcher/GameCommandLine.h"
#include "platform/IniFile.h"
#include "platform/WildcardSearch.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

std::string MakeFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "scu-bench-XXXXXX").string();
    return mkdtemp(pattern.data());
}

std::string SettingsWithTable(const std::string& folder, int entries) {
    std::string path = folder + "/settings.ini";
    std::ofstream out(path, std::ios::binary);
    out << "[config]\r\nversion=ZELTA.EXE\r\n[levels]\r\n";
    for (int i = 0; i < entries; ++i)
        out << "K" << i << "=Level number " << i << "\r\n";
    return path;
}

void BM_LookupFileKeyLastEntry(benchmark::State& state) {
    std::string folder = MakeFolder();
    std::string settings = SettingsWithTable(folder, static_cast<int>(state.range(0)));
    std::string wanted = "LEVEL NUMBER " + std::to_string(state.range(0) - 1);
    for (auto _ : state)
        benchmark::DoNotOptimize(LookupFileKey(settings, wanted, "levels"));
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_LookupFileKeyLastEntry)->Arg(50)->Arg(500);

void BM_WriteOneKey(benchmark::State& state) {
    std::string folder = MakeFolder();
    std::string settings = SettingsWithTable(folder, 500);
    IniFile ini(settings);
    for (auto _ : state)
        ini.WriteString("config", "nofmv", "1");
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_WriteOneKey);

void BM_FindFilesInLargeFolder(benchmark::State& state) {
    std::string folder = MakeFolder();
    for (int i = 0; i < state.range(0); ++i)
        std::ofstream(folder + "/FILE" + std::to_string(i) + (i % 2 ? ".pad" : ".tmp"));
    for (auto _ : state)
        benchmark::DoNotOptimize(FindFiles(folder + "\\*.pad"));
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_FindFilesInLargeFolder)->Arg(100)->Arg(1000);

} // namespace
