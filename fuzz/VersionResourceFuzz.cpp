// Feeds arbitrary bytes to the version-resource reader, both as a whole program file and as a
// resource on its own: every read must stay inside the bytes given.
#include "platform/VersionResource.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    // A copy of exactly that size, so the sanitizer sees any read past the end.
    const std::vector<std::uint8_t> bytes(data, data + size);
    if (auto resource = FindVersionResource(bytes)) {
        if (resource->data() < bytes.data() ||
            resource->data() + resource->size() > bytes.data() + bytes.size())
            __builtin_trap();
        (void)QueryVersionString(*resource, "\\StringFileInfo\\080904b0\\FileVersion");
    }
    (void)QueryVersionString(bytes, "\\StringFileInfo\\080904b0\\FileVersion");
    (void)QueryVersionString(bytes, "\\");
    return 0;
}
