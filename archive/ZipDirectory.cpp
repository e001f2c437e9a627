#include "archive/ZipDirectory.h"

#include "platform/ScuError.h"
#include "platform/TextRules.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <sys/stat.h>

namespace {

constexpr std::uint32_t kLocalHeader = 0x04034b50;
constexpr std::uint32_t kCentralHeader = 0x02014b50;
constexpr std::uint32_t kEndRecord = 0x06054b50;
constexpr int kSearchLimit = 60000;
constexpr std::uint64_t kEndRecordRoom = 22;
constexpr std::uint64_t kSelfExtractorSize = 14000;

std::uint16_t Word(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}
std::uint32_t Long(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

[[noreturn]] void NoEntries() {
    throw ScuError("No valid zip entries found");
}

bool ReadExactly(std::istream& in, void* buffer, std::size_t size) {
    in.read(static_cast<char*>(buffer), static_cast<std::streamsize>(size));
    return static_cast<std::size_t>(in.gcount()) == size;
}

constexpr std::uint32_t kDataDescriptor = 0x08074b50;
constexpr std::uint16_t kSizesInDescriptor = 0x0008; // general purpose flag bit 3

struct CentralSizes {
    std::uint32_t crc32, compressedSize, uncompressedSize;
};

// Sizes of the entries as the central directory gives them, by local header offset. Archives
// written to a stream carry their sizes only there (and in a data descriptor after the data).
// Empty when no end record is found or the directory cannot be read.
std::map<std::uint64_t, CentralSizes> ReadCentralSizes(std::istream& in, std::uint64_t fileSize) {
    std::map<std::uint64_t, CentralSizes> sizes;
    const std::uint64_t tail = std::min<std::uint64_t>(fileSize, 22 + 65535);
    std::string bytes(tail, '\0');
    in.clear();
    if (!in.seekg(static_cast<std::streamoff>(fileSize - tail)) ||
        !ReadExactly(in, bytes.data(), tail)) {
        in.clear();
        return sizes;
    }
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.data());
    std::uint64_t directory = 0, count = 0;
    bool found = false;
    for (std::uint64_t i = tail >= 22 ? tail - 22 + 1 : 0; i-- > 0;) {
        if (Long(b + i) == kEndRecord) {
            count = Word(b + i + 10);
            directory = Long(b + i + 16);
            found = true;
            break;
        }
    }
    if (!found || !in.seekg(static_cast<std::streamoff>(directory))) {
        in.clear();
        return sizes;
    }
    for (std::uint64_t n = 0; n < count; ++n) {
        unsigned char header[46];
        if (!ReadExactly(in, header, sizeof header) || Long(header) != kCentralHeader)
            break;
        sizes[Long(header + 42)] = {Long(header + 16), Long(header + 20), Long(header + 24)};
        const std::uint64_t skip =
            std::uint64_t{Word(header + 28)} + Word(header + 30) + Word(header + 32);
        if (!in.seekg(static_cast<std::streamoff>(skip), std::ios::cur))
            break;
    }
    in.clear();
    return sizes;
}

class DirectoryReader {
public:
    DirectoryReader(std::istream& in, std::uint64_t fileSize) : in_(in), fileSize_(fileSize) {
        const std::streamoff start = in_.tellg();
        central_ = ReadCentralSizes(in_, fileSize_);
        in_.seekg(start);
    }

    ZipDirectory Read() {
        for (;;) {
            Search();
            if (ReadEntries())
                return directory_;
        }
    }

private:
    int NextByte() {
        const int byte = in_.get();
        if (byte == std::char_traits<char>::eof())
            NoEntries();
        return byte;
    }

    // Searching state: a "P" counts as a candidate; "K", 3, 4 must follow it. A byte breaking
    // the sequence ends the attempt and is not taken as a candidate itself.
    void Search() {
        for (;;) {
            const std::uint64_t offset = static_cast<std::uint64_t>(in_.tellg());
            const int byte = NextByte();
            if (++candidates_ > kSearchLimit)
                NoEntries();
            if (byte != 'P')
                continue;
            if (NextByte() != 'K' || NextByte() != 3 || NextByte() != 4)
                continue;
            directory_.firstEntryOffset = offset;
            return;
        }
    }

    // Reading state; false sends the reader back to searching.
    bool ReadEntries() {
        std::uint32_t signature = kLocalHeader;
        for (;;) {
            if (signature == kLocalHeader) {
                if (!ReadLocalEntry())
                    return false;
            } else if (signature == kCentralHeader || signature == kEndRecord) {
                return true;
            }
            unsigned char bytes[4];
            if (!ReadExactly(in_, bytes, 4))
                throw ScuError("Error reading Zip File");
            signature = Long(bytes);
        }
    }

    bool ReadLocalEntry() {
        const bool listed = !directory_.entries.empty();
        const std::uint64_t headerOffset = static_cast<std::uint64_t>(in_.tellg()) - 4;
        unsigned char header[26];
        ZipDirEntry entry;
        bool complete = ReadExactly(in_, header, sizeof header);
        if (complete) {
            entry.versionNeeded = Word(header);
            entry.flags = Word(header + 2);
            entry.compressionMethod = Word(header + 4);
            entry.dateTime = Long(header + 6);
            entry.crc32 = Long(header + 10);
            entry.compressedSize = Long(header + 14);
            entry.uncompressedSize = Long(header + 18);
            entry.fileNameLength = Word(header + 22);
            entry.extraFieldLength = Word(header + 24);
            entry.fileName.resize(entry.fileNameLength);
            complete = ReadExactly(in_, entry.fileName.data(), entry.fileNameLength);
        }
        if (!complete) {
            if (listed)
                throw ScuError("Error 2 reading Zip file");
            in_.clear();
            return false;
        }
        // An entry written to a stream has its sizes after its data; the central directory
        // gives them, so the data can be skipped all the same.
        const bool sizesAfterData = (entry.flags & kSizesInDescriptor) != 0;
        if (sizesAfterData) {
            if (auto it = central_.find(headerOffset); it != central_.end()) {
                entry.crc32 = it->second.crc32;
                entry.compressedSize = it->second.compressedSize;
                entry.uncompressedSize = it->second.uncompressedSize;
            }
        }
        const std::uint64_t here = static_cast<std::uint64_t>(in_.tellg());
        const std::uint64_t end = here + entry.extraFieldLength + entry.compressedSize;
        if (fileSize_ < kEndRecordRoom || end > fileSize_ - kEndRecordRoom) {
            if (listed)
                throw ScuError("Error 3 reading Zip file");
            return false;
        }
        if (!in_.seekg(static_cast<std::streamoff>(here + entry.extraFieldLength)))
            throw ScuError("Error 4 reading Zip file");
        if (!in_.seekg(static_cast<std::streamoff>(end)))
            throw ScuError("Error 5 reading Zip file");
        if (sizesAfterData)
            SkipDataDescriptor();
        directory_.entries.push_back(std::move(entry));
        return true;
    }

    // The descriptor (CRC and sizes, optionally after its own signature) that follows the data.
    void SkipDataDescriptor() {
        const std::streamoff start = in_.tellg();
        unsigned char bytes[4];
        const bool signed_ = ReadExactly(in_, bytes, 4) && Long(bytes) == kDataDescriptor;
        in_.clear();
        in_.seekg(start + (signed_ ? 16 : 12));
    }

    std::istream& in_;
    std::uint64_t fileSize_;
    std::map<std::uint64_t, CentralSizes> central_;
    int candidates_ = 0;
    ZipDirectory directory_;
};

} // namespace

ZipDirectory ReadZipDirectory(std::istream& in, std::uint64_t fileSize, std::uint64_t startOffset) {
    in.seekg(static_cast<std::streamoff>(startOffset));
    if (!in)
        NoEntries();
    return DirectoryReader(in, fileSize).Read();
}

ZipDirectory ReadZipDirectoryOfFile(const std::string& nativePath) {
    struct stat st;
    if (stat(nativePath.c_str(), &st) != 0 || S_ISDIR(st.st_mode))
        return {};
    // A FIFO or a device could wait for ever, or never end: only a regular file is read.
    if (!S_ISREG(st.st_mode))
        NoEntries();
    std::ifstream in(nativePath, std::ios::binary);
    if (!in)
        NoEntries();
    const std::string name = UpperCase(nativePath);
    const bool selfExtractor = name.size() >= 4 && name.compare(name.size() - 4, 4, ".EXE") == 0;
    return ReadZipDirectory(in, static_cast<std::uint64_t>(st.st_size),
                            selfExtractor ? kSelfExtractorSize : 0);
}
