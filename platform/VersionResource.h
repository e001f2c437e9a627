#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The version resource of a Windows program (PE image): every offset and size read from the file
// is checked against the bytes there are, so a truncated or hostile file gives no result instead
// of a crash.

// The bytes of the version resource (type 16, id 1; language neutral, else 0409, else the first
// one listed), or no value when the image has none or its headers do not lead to one.
std::optional<std::span<const std::uint8_t>>
FindVersionResource(std::span<const std::uint8_t> image);

// A string of a version resource by its path, such as "\StringFileInfo\080904b0\FileVersion":
// each part must equal a direct child's key without regard to case, the first match wins. The
// text runs to its first NUL; it comes back in UTF-8. No value when the path is missing or the
// blocks on the way are malformed.
std::optional<std::string> QueryVersionString(std::span<const std::uint8_t> resource,
                                              std::string_view path);

// Random access to the bytes of a program file, so the reader can fetch the few pieces it needs
// (headers, section table, resource directories, the resource) instead of the whole file.
class ImageReader {
public:
    virtual ~ImageReader() = default;
    virtual std::uint64_t Size() const = 0;
    // Copies the size bytes at offset into out; false when they are not all there.
    virtual bool Read(std::uint64_t offset, std::size_t size, std::uint8_t* out) const = 0;
};

// The version resource as FindVersionResource finds it in the whole image, read piece by piece.
// Only its first 65535 bytes come back: a version block's length has 16 bits, so nothing past
// them can belong to the resource's root block.
std::optional<std::vector<std::uint8_t>> ReadVersionResource(const ImageReader& image);

// ReadVersionResource on a regular file of any size (only the pieces it needs are read); no
// value for a missing or unreadable file, and at once for what is no regular file (a folder, a
// FIFO, a device).
std::optional<std::vector<std::uint8_t>> ReadFileVersionResource(const std::string& nativePath);
