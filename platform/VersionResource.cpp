#include "platform/VersionResource.h"

#include "platform/RegularFile.h"

#include "platform/TextRules.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

namespace {

using Bytes = std::span<const std::uint8_t>;

std::uint16_t U16(Bytes b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

std::uint32_t U32(Bytes b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8 |
           static_cast<std::uint32_t>(b[at + 2]) << 16 |
           static_cast<std::uint32_t>(b[at + 3]) << 24;
}

constexpr std::size_t kMaxSections = 96;
constexpr std::uint32_t kResourceVersion = 16;
constexpr std::uint32_t kVersionInfoId = 1;
constexpr std::uint32_t kSubdirectory = 0x80000000u;

struct Section {
    std::uint32_t virtualAddress, virtualSize, rawPointer, rawSize;
};

// A stretch of the image: its offset in the file and its length.
struct Window {
    std::uint64_t offset, size;
};

bool Fits(std::uint64_t total, std::uint64_t offset, std::uint64_t size) {
    return offset <= total && size <= total - offset;
}

// The size bytes at offset, when the image holds all of them.
std::optional<std::vector<std::uint8_t>> ReadAt(const ImageReader& image, std::uint64_t offset,
                                                std::uint64_t size) {
    if (!Fits(image.Size(), offset, size))
        return std::nullopt;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    if (!image.Read(offset, bytes.size(), bytes.data()))
        return std::nullopt;
    return bytes;
}

// The file stretch [rva, rva + size) when one section holds all of it on disk.
std::optional<Window> MapRva(std::uint64_t imageSize, const std::vector<Section>& sections,
                             std::uint32_t rva, std::uint32_t size) {
    for (const Section& s : sections) {
        const std::uint64_t extent = s.virtualSize ? s.virtualSize : s.rawSize;
        if (rva < s.virtualAddress || rva - s.virtualAddress >= extent)
            continue;
        const std::uint64_t within = rva - s.virtualAddress;
        if (within + size > s.rawSize)
            return std::nullopt;
        const std::uint64_t offset = s.rawPointer + within;
        if (!Fits(imageSize, offset, size))
            return std::nullopt;
        return Window{offset, size};
    }
    return std::nullopt;
}

// The resource section from the resource root to the end of its section's data on disk.
std::optional<Window> ResourceArea(std::uint64_t imageSize, const std::vector<Section>& sections,
                                   std::uint32_t rva) {
    for (const Section& s : sections) {
        const std::uint64_t extent = s.virtualSize ? s.virtualSize : s.rawSize;
        if (rva < s.virtualAddress || rva - s.virtualAddress >= extent)
            continue;
        const std::uint64_t within = rva - s.virtualAddress;
        if (within >= s.rawSize)
            return std::nullopt;
        const std::uint64_t offset = s.rawPointer + within;
        if (offset >= imageSize)
            return std::nullopt;
        return Window{offset, std::min<std::uint64_t>(s.rawSize - within, imageSize - offset)};
    }
    return std::nullopt;
}

struct DirectoryEntry {
    std::uint32_t id;
    std::uint32_t offset; // with kSubdirectory set for a subdirectory
};

// The ID entries of the resource directory at offset within the resource area (named entries
// come first and are skipped, so only the ID entries are read).
std::optional<std::vector<DirectoryEntry>> ReadDirectory(const ImageReader& image, Window area,
                                                         std::uint32_t offset) {
    if (!Fits(area.size, offset, 16))
        return std::nullopt;
    const auto header = ReadAt(image, area.offset + offset, 16);
    if (!header)
        return std::nullopt;
    const std::uint64_t named = U16(*header, 12);
    const std::uint64_t ids = U16(*header, 14);
    if (!Fits(area.size, offset + 16ull, (named + ids) * 8))
        return std::nullopt;
    const auto table = ReadAt(image, area.offset + offset + 16 + named * 8, ids * 8);
    if (!table)
        return std::nullopt;
    std::vector<DirectoryEntry> entries;
    for (std::size_t at = 0; at < table->size(); at += 8) {
        const std::uint32_t name = U32(*table, at);
        if (name & kSubdirectory)
            continue; // a named entry out of place
        entries.push_back({name, U32(*table, at + 4)});
    }
    return entries;
}

std::optional<DirectoryEntry> EntryById(const std::vector<DirectoryEntry>& entries,
                                        std::uint32_t id) {
    for (const DirectoryEntry& e : entries)
        if (e.id == id)
            return e;
    return std::nullopt;
}

// Where the version resource lies in the image: the DOS and PE headers, the optional header, the
// section table and three levels of resource directories are read, nothing else.
std::optional<Window> LocateVersionResource(const ImageReader& image) {
    const std::uint64_t imageSize = image.Size();
    const auto dos = ReadAt(image, 0, 0x40);
    if (!dos || (*dos)[0] != 'M' || (*dos)[1] != 'Z')
        return std::nullopt;
    const std::uint64_t pe = U32(*dos, 0x3C);
    const auto header = ReadAt(image, pe, 24);
    if (!header || (*header)[0] != 'P' || (*header)[1] != 'E' || (*header)[2] != 0 ||
        (*header)[3] != 0)
        return std::nullopt;
    const std::size_t sectionCount = U16(*header, 6);
    const std::size_t optionalSize = U16(*header, 20);
    const std::uint64_t optionalAt = pe + 24;
    if (sectionCount > kMaxSections || optionalSize < 2)
        return std::nullopt;
    const auto optional = ReadAt(image, optionalAt, optionalSize);
    if (!optional)
        return std::nullopt;
    std::size_t countAt = 0, directoryAt = 0;
    switch (U16(*optional, 0)) {
    case 0x10B:
        countAt = 92, directoryAt = 96;
        break;
    case 0x20B:
        countAt = 108, directoryAt = 112;
        break;
    default:
        return std::nullopt;
    }
    if (optionalSize < directoryAt + 3 * 8 || U32(*optional, countAt) <= 2)
        return std::nullopt;
    const std::uint32_t resourceRva = U32(*optional, directoryAt + 2 * 8);
    if (resourceRva == 0)
        return std::nullopt;

    const auto table = ReadAt(image, optionalAt + optionalSize, sectionCount * 40ull);
    if (!table)
        return std::nullopt;
    std::vector<Section> sections;
    for (std::size_t at = 0; at < table->size(); at += 40)
        sections.push_back({U32(*table, at + 12), U32(*table, at + 8), U32(*table, at + 20),
                            U32(*table, at + 16)});
    const auto area = ResourceArea(imageSize, sections, resourceRva);
    if (!area)
        return std::nullopt;

    // Type 16, then id 1, then a language: three fixed levels, so no loop can form.
    const auto types = ReadDirectory(image, *area, 0);
    const auto type = types ? EntryById(*types, kResourceVersion) : std::nullopt;
    if (!type || !(type->offset & kSubdirectory))
        return std::nullopt;
    const auto names = ReadDirectory(image, *area, type->offset & ~kSubdirectory);
    const auto name = names ? EntryById(*names, kVersionInfoId) : std::nullopt;
    if (!name || !(name->offset & kSubdirectory))
        return std::nullopt;
    const auto languages = ReadDirectory(image, *area, name->offset & ~kSubdirectory);
    if (!languages || languages->empty())
        return std::nullopt;
    auto language = EntryById(*languages, 0);
    if (!language)
        language = EntryById(*languages, 0x0409);
    if (!language)
        language = languages->front();
    if (language->offset & kSubdirectory || !Fits(area->size, language->offset, 16))
        return std::nullopt;
    const auto data = ReadAt(image, area->offset + language->offset, 8);
    if (!data)
        return std::nullopt;
    const std::uint32_t dataRva = U32(*data, 0);
    const std::uint32_t dataSize = U32(*data, 4);
    if (dataSize == 0)
        return std::nullopt;
    return MapRva(imageSize, sections, dataRva, dataSize);
}

// The image held in memory.
class SpanReader : public ImageReader {
public:
    explicit SpanReader(Bytes bytes) : bytes_(bytes) {}
    std::uint64_t Size() const override { return bytes_.size(); }
    bool Read(std::uint64_t offset, std::size_t size, std::uint8_t* out) const override {
        if (!Fits(bytes_.size(), offset, size))
            return false;
        std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(offset), size, out);
        return true;
    }

private:
    Bytes bytes_;
};

// An open regular file, read with pread at the offsets asked for.
class FileReader : public ImageReader {
public:
    FileReader(int fd, std::uint64_t size) : fd_(fd), size_(size) {}
    std::uint64_t Size() const override { return size_; }
    bool Read(std::uint64_t offset, std::size_t size, std::uint8_t* out) const override {
        if (!Fits(size_, offset, size))
            return false;
        std::size_t done = 0;
        while (done < size) {
            const ssize_t n =
                pread(fd_, out + done, size - done, static_cast<off_t>(offset + done));
            if (n <= 0)
                return false; // an error, or a file that shrank meanwhile
            done += static_cast<std::size_t>(n);
        }
        return true;
    }

private:
    int fd_;
    std::uint64_t size_;
};

constexpr std::size_t kMaxVersionBlock = 0xFFFF;

std::size_t Align4(std::size_t offset) {
    return (offset + 3) & ~static_cast<std::size_t>(3);
}

struct Block {
    std::size_t start, end; // the block within the resource
    std::u16string key;
    std::size_t valueStart;    // 4-aligned after the key
    std::size_t childrenStart; // 4-aligned after the value, at most end
    std::uint16_t valueLength, type;
};

// The block at offset within [offset, limit); no value when malformed or at a zero length.
std::optional<Block> ReadBlock(Bytes res, std::size_t offset, std::size_t limit) {
    if (limit > res.size() || offset + 6 > limit)
        return std::nullopt;
    const std::uint16_t length = U16(res, offset);
    if (length < 6 || length > limit - offset)
        return std::nullopt;
    Block block{offset, offset + length, {}, 0, 0, U16(res, offset + 2), U16(res, offset + 4)};
    std::size_t at = offset + 6;
    bool terminated = false;
    while (at + 2 <= block.end) {
        const char16_t unit = static_cast<char16_t>(U16(res, at));
        at += 2;
        if (unit == 0) {
            terminated = true;
            break;
        }
        block.key += unit;
    }
    if (!terminated)
        return std::nullopt;
    block.valueStart = std::min(Align4(at), block.end);
    const std::size_t valueBytes =
        block.type == 1 ? std::size_t{block.valueLength} * 2 : block.valueLength;
    block.childrenStart = std::min(Align4(block.valueStart + valueBytes), block.end);
    return block;
}

char16_t FoldCase(char16_t c) {
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c;
}

bool SameKey(const std::u16string& key, std::string_view part) {
    if (key.size() != part.size())
        return false;
    for (std::size_t i = 0; i < key.size(); ++i)
        if (FoldCase(key[i]) != FoldCase(static_cast<unsigned char>(part[i])))
            return false;
    return true;
}

std::string ToUtf8(const std::u16string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::uint32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        AppendUtf8(out, c);
    }
    return out;
}

constexpr std::uint32_t kFixedInfoSignature = 0xFEEF04BD;

} // namespace

std::optional<std::span<const std::uint8_t>>
FindVersionResource(std::span<const std::uint8_t> image) {
    const auto window = LocateVersionResource(SpanReader(image));
    if (!window)
        return std::nullopt;
    return image.subspan(static_cast<std::size_t>(window->offset),
                         static_cast<std::size_t>(window->size));
}

std::optional<std::vector<std::uint8_t>> ReadVersionResource(const ImageReader& image) {
    const auto window = LocateVersionResource(image);
    if (!window)
        return std::nullopt;
    return ReadAt(image, window->offset, std::min<std::uint64_t>(window->size, kMaxVersionBlock));
}

std::optional<std::string> QueryVersionString(std::span<const std::uint8_t> resource,
                                              std::string_view path) {
    auto block = ReadBlock(resource, 0, resource.size());
    if (!block)
        return std::nullopt;
    if (block->valueLength >= 52 && block->type == 0 &&
        (block->valueStart + 4 > block->end ||
         U32(resource, block->valueStart) != kFixedInfoSignature))
        return std::nullopt;

    std::size_t partStart = 0;
    while (partStart <= path.size()) {
        std::size_t partEnd = path.find('\\', partStart);
        if (partEnd == std::string_view::npos)
            partEnd = path.size();
        const std::string_view part = path.substr(partStart, partEnd - partStart);
        partStart = partEnd + 1;
        if (part.empty())
            continue;
        std::optional<Block> found;
        for (std::size_t child = block->childrenStart; child < block->end;) {
            auto candidate = ReadBlock(resource, child, block->end);
            if (!candidate)
                break;
            if (SameKey(candidate->key, part)) {
                found = candidate;
                break;
            }
            child = Align4(candidate->end);
        }
        if (!found)
            return std::nullopt;
        block = found;
    }

    std::u16string text;
    for (std::size_t at = block->valueStart; at + 2 <= block->end; at += 2) {
        const char16_t unit = static_cast<char16_t>(U16(resource, at));
        if (unit == 0)
            break;
        text += unit;
    }
    return ToUtf8(text);
}

std::optional<std::vector<std::uint8_t>> ReadFileVersionResource(const std::string& nativePath) {
    const int fd = OpenRegularFile(nativePath);
    if (fd < 0)
        return std::nullopt;
    std::optional<std::vector<std::uint8_t>> result;
    struct stat st;
    if (fstat(fd, &st) == 0)
        result = ReadVersionResource(FileReader(fd, static_cast<std::uint64_t>(st.st_size)));
    close(fd);
    return result;
}
