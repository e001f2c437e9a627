// Unpacks arbitrary bytes as an XPD package through the archive component and libzip into the
// bin folder of a fresh temporary folder. After each input: nothing but that bin folder exists
// in the temporary folder, bin holds only regular "*.tmp" files and "xpd.ini" (no links, no
// folders, no left-over temporary files), and the unpacked bytes stay within the unpack limit.
// The limit is SCU_FUZZ_XPD_LIMIT bytes (default 65536) instead of 1 GiB so that the fuzzer
// reaches it quickly.
#include "archive/XpdPackage.h"
#include "archive/uVexaZipComp.h"
#include "platform/ScuError.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string base;            // holds the package file and each input's temporary folder
std::uint64_t limit = 65536; // unpack limit for the fuzzer

void Fail(const std::string& why, const fs::path& path) {
    std::fprintf(stderr, "XPD extraction fault: %s: %s\n", why.c_str(), path.c_str());
    __builtin_trap();
}

bool IsPackageFileName(const std::string& name) {
    std::string lower;
    for (char c : name)
        lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return lower == "xpd.ini" ||
           (lower.size() > 4 && lower.compare(lower.size() - 4, 4, ".tmp") == 0);
}

void CheckFolder(const fs::path& folder) {
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        if (entry.path().filename() != "bin")
            Fail("written outside bin", entry.path());
    }
    struct stat st;
    if (lstat((folder / "bin").c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        Fail("bin is no longer a folder", folder / "bin");
    std::uint64_t total = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder / "bin")) {
        if (lstat(entry.path().c_str(), &st) != 0)
            Fail("unreadable entry", entry.path());
        if (S_ISLNK(st.st_mode))
            Fail("link created", entry.path());
        if (!S_ISREG(st.st_mode))
            Fail("not a regular file", entry.path());
        if (!IsPackageFileName(entry.path().filename()))
            Fail("neither *.tmp nor xpd.ini", entry.path());
        total += static_cast<std::uint64_t>(st.st_size);
    }
    if (total > limit)
        Fail("unpack limit exceeded", folder / "bin");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (const char* text = std::getenv("SCU_FUZZ_XPD_LIMIT"))
        limit = std::strtoull(text, nullptr, 10);
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/fuzz_xpd.XXXXXX";
    if (!mkdtemp(pattern.data()))
        std::abort();
    base = pattern;
    std::atexit([] {
        std::error_code ignored;
        fs::remove_all(base, ignored);
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::string package = base + "/package.xpd";
    {
        std::ofstream out(package, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    std::string folder = base + "/unpack.XXXXXX";
    if (!mkdtemp(folder.data()) || mkdir((folder + "/bin").c_str(), 0700) != 0)
        std::abort();
    try {
        TVexaZipComponent component;
        component.ExtrSizeLimit = limit;
        component.gRaspakujFajl(package, folder + "/bin\\");
    } catch (const ScuError&) {
        // refused or damaged packages raise the component's messages
    }
    CheckFolder(folder);
    for (const fs::directory_entry& entry : fs::directory_iterator(base))
        if (entry.path() != package && entry.path() != folder)
            Fail("written beside the package", entry.path());
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    return 0;
}
