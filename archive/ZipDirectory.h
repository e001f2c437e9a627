#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

// One archive entry as its local file header describes it.
struct ZipDirEntry {
    std::uint16_t versionNeeded = 0;
    std::uint16_t flags = 0;
    std::uint16_t compressionMethod = 0;
    std::uint32_t dateTime = 0;
    std::uint32_t crc32 = 0;
    std::uint32_t compressedSize = 0;
    std::uint32_t uncompressedSize = 0;
    std::uint16_t fileNameLength = 0;
    std::uint16_t extraFieldLength = 0;
    std::string fileName;
};

struct ZipDirectory {
    std::vector<ZipDirEntry> entries;
    std::uint64_t firstEntryOffset = 0;
};

// Walks the local file headers of an archive: searches the first local header signature within
// 60000 bytes from startOffset, then follows the headers until the central directory or the end
// record. Raises ScuError with the archive messages ("No valid zip entries found", "Error reading
// Zip File", "Error 2 reading Zip file" to "Error 5 reading Zip file").
ZipDirectory ReadZipDirectory(std::istream& in, std::uint64_t fileSize, std::uint64_t startOffset);

// Reads the directory of the archive at a native path: an empty directory when the file does not
// exist; archives named *.EXE are searched from byte 14000 (past a self-extractor program).
ZipDirectory ReadZipDirectoryOfFile(const std::string& nativePath);
