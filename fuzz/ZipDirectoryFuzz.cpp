// Feeds arbitrary bytes to the ZIP directory reader, searched from the start as for a plain
// archive and from byte 14000 as for a self-extracting *.EXE archive: only the archive messages
// may come out, and every entry read must be complete.
#include "archive/ZipDirectory.h"
#include "platform/ScuError.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

namespace {

constexpr std::uint64_t kSelfExtractorSize = 14000;

void ReadFrom(const std::string& bytes, std::uint64_t start) {
    std::istringstream in(bytes);
    try {
        const ZipDirectory directory = ReadZipDirectory(in, bytes.size(), start);
        if (directory.entries.empty() || directory.firstEntryOffset < start ||
            directory.firstEntryOffset + 30 > bytes.size())
            __builtin_trap();
        for (const ZipDirEntry& entry : directory.entries)
            if (entry.fileName.size() != entry.fileNameLength)
                __builtin_trap();
    } catch (const ScuError&) {
        // "No valid zip entries found" and the "reading Zip file" messages
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    ReadFrom(bytes, 0);
    // A short input stands behind a self-extractor program of zeros so that its search from byte
    // 14000 reads the input too.
    ReadFrom(size > kSelfExtractorSize ? bytes : std::string(kSelfExtractorSize, '\0') + bytes,
             kSelfExtractorSize);
    return 0;
}
