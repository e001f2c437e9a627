// Feeds arbitrary bytes to the version-resource reader: as a whole image in memory, as a program
// file read piece by piece, and as a program file on disk (a memory file, read through the same
// path as a game's executable). Every read must stay inside the bytes given: the piecewise reader
// may only ask for bytes that are there, and the whole-image reader must point inside them.
#include "platform/VersionResource.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

namespace {
class BytesReader : public ImageReader {
public:
    explicit BytesReader(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}
    std::uint64_t Size() const override { return bytes_.size(); }
    bool Read(std::uint64_t offset, std::size_t size, std::uint8_t* out) const override {
        if (offset > bytes_.size() || size > bytes_.size() - offset)
            __builtin_trap(); // the reader must check before it asks
        std::copy_n(bytes_.data() + offset, size, out);
        return true;
    }

private:
    const std::vector<std::uint8_t>& bytes_;
};

// The bytes as a file on disk, through the reader of real program files.
void ReadAsFile(const std::uint8_t* data, size_t size) {
    static const int fd = memfd_create("program", MFD_CLOEXEC);
    if (fd < 0)
        return;
    if (ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != static_cast<ssize_t>(size))
        return;
    const auto resource = ReadFileVersionResource("/proc/self/fd/" + std::to_string(fd));
    if (resource && resource->size() > 0xFFFF)
        __builtin_trap(); // a version block's length has 16 bits
    if (resource)
        (void)QueryVersionString(*resource, "\\StringFileInfo\\080904b0\\FileVersion");
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    // A copy of exactly that size, so the sanitizer sees any read past the end.
    const std::vector<std::uint8_t> bytes(data, data + size);
    if (auto resource = FindVersionResource(bytes)) {
        if (resource->data() < bytes.data() ||
            resource->data() + resource->size() > bytes.data() + bytes.size())
            __builtin_trap();
        (void)QueryVersionString(*resource, "\\StringFileInfo\\080904b0\\FileVersion");
    }
    if (const auto pieces = ReadVersionResource(BytesReader(bytes)))
        (void)QueryVersionString(*pieces, "\\StringFileInfo\\080904b0\\FileVersion");
    ReadAsFile(data, size);
    (void)QueryVersionString(bytes, "\\StringFileInfo\\080904b0\\FileVersion");
    (void)QueryVersionString(bytes, "\\");
    return 0;
}
