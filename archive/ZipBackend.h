#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The packing and extraction that the archive component hands to its ZIP library (libzip).

// Adds each file to the archive (created when missing) under its file name without folders,
// deflated at the given level; an entry of the same name is replaced. Files that do not exist
// are passed over. Returns the number of files packed. Raises ScuError ("Unable to write to")
// when an existing file cannot be added to or the archive cannot be written.
int PackIntoArchive(const std::string& nativeArchive, const std::vector<std::string>& nativeFiles,
                    int level);

struct ExtractRules {
    // Entry names to extract (directory order); others are left in the archive.
    std::vector<std::string> names;
    // Decides, for an entry's name cut to its last component, whether it may be written at all.
    std::function<bool(const std::string& fileName)> allowed;
    // Most bytes all written entries together may hold when unpacked.
    std::uint64_t sizeLimit = UINT64_MAX;
    // The text of the error raised when they would hold more.
    std::string sizeLimitMessage;
};

// Writes every wanted entry flat into the folder under the last component of its name,
// replacing a file of that name without following links. Folders, links and the names "",
// "." and ".." are skipped, as are names that rules.allowed refuses. An archive the library
// cannot open processes nothing, and an entry it cannot read whole (damaged data, wrong CRC) is
// skipped without writing anything for it. Returns the number of files written. Raises ScuError
// when a file cannot be written.
int ExtractFromArchive(const std::string& nativeArchive, const std::string& nativeFolder,
                       const ExtractRules& rules);

// The last component of an entry name, after the last "/" or "\".
std::string EntryFileName(const std::string& entryName);
