#include "archive/ZipDirectory.h"

#include "platform/ScuError.h"
#include "platform/TextRules.h"

#include <fstream>
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

class DirectoryReader {
public:
    DirectoryReader(std::istream& in, std::uint64_t fileSize) : in_(in), fileSize_(fileSize) {}

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
        directory_.entries.push_back(std::move(entry));
        return true;
    }

    std::istream& in_;
    std::uint64_t fileSize_;
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
    std::ifstream in(nativePath, std::ios::binary);
    if (!in)
        NoEntries();
    const std::string name = UpperCase(nativePath);
    const bool selfExtractor = name.size() >= 4 && name.compare(name.size() - 4, 4, ".EXE") == 0;
    return ReadZipDirectory(in, static_cast<std::uint64_t>(st.st_size),
                            selfExtractor ? kSelfExtractorSize : 0);
}
