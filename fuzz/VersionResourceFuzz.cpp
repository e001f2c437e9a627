// Feeds arbitrary bytes to the version-resource reader, both as a whole program file and as a
// resource on its own: every read must stay inside the bytes given, and reading the program
// piece by piece must find what the whole-image reader finds.
#include "platform/VersionResource.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
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
    const auto whole = FindVersionResource(bytes);
    const auto pieces = ReadVersionResource(BytesReader(bytes));
    if (whole.has_value() != pieces.has_value() ||
        (whole && (pieces->size() != std::min<std::size_t>(whole->size(), 0xFFFF) ||
                   !std::equal(pieces->begin(), pieces->end(), whole->begin()))))
        __builtin_trap();
    (void)QueryVersionString(bytes, "\\StringFileInfo\\080904b0\\FileVersion");
    (void)QueryVersionString(bytes, "\\");
    return 0;
}
