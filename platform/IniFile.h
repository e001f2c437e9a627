#pragma once

#include "platform/AtomicFile.h"
#include "platform/IniDocument.h"

#include <cstdint>
#include <string>
#include <string_view>

// A profile (INI) file on disk, read and written one key at a time: every call reads the file
// afresh and every write reaches the disk before it returns (atomically, keeping every byte it
// was not asked to change). A failed write raises ScuError("Unable to write to <path>").
class IniFile {
public:
    // path is a path text in the utility's form; it becomes native at each call.
    explicit IniFile(std::string path, AtomicFileWriter* writer = nullptr);

    const std::string& FileName() const { return path_; }

    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view def) const;
    // Integer value: decimal, or hexadecimal after "$" or "0x" ("x" too when bareX); the default
    // when the key is missing, empty or not a whole number.
    std::int32_t ReadInteger(std::string_view section, std::string_view key, std::int32_t def,
                             bool bareX = false) const;
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void EraseSection(std::string_view section);

    // The whole file at once, for callers that read many keys in one go (a missing file is empty).
    IniDocument Snapshot() const;

private:
    void Save(const IniDocument& doc);
    std::optional<std::string> ReadForRewrite(const std::string& native) const;

    std::string path_;
    AtomicFileWriter* writer_;
};
