#include "platform/IniFile.h"

#include "platform/Paths.h"
#include "platform/ScuError.h"
#include "platform/TextRules.h"

#include <cerrno>

IniFile::IniFile(std::string path, AtomicFileWriter* writer)
    : path_(std::move(path)), writer_(writer) {}

IniDocument IniFile::Snapshot() const {
    auto bytes = ReadWholeFile(NativePath(path_));
    return bytes ? IniDocument::Parse(*bytes) : IniDocument();
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view def) const {
    if (auto value = Snapshot().Read(section, key))
        return *value;
    // Like the platform, a default loses its trailing spaces.
    std::string result(def);
    while (!result.empty() && result.back() == ' ')
        result.pop_back();
    return result;
}

std::int32_t IniFile::ReadInteger(std::string_view section, std::string_view key, std::int32_t def,
                                  bool bareX) const {
    auto value = Snapshot().Read(section, key);
    if (!value)
        return def;
    return ParseInteger(*value, bareX).value_or(def);
}

void IniFile::Save(const IniDocument& doc) {
    AtomicFileWriter defaultWriter;
    AtomicFileWriter& writer = writer_ ? *writer_ : defaultWriter;
    std::string native = NativePath(path_);
    if (!writer.Replace(native, doc.Serialize()))
        throw ScuError("Unable to write to " + native);
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    std::string native = NativePath(path_);
    auto bytes = ReadWholeFile(native);
    if (!bytes && errno != ENOENT)
        throw ScuError("Unable to write to " + native);
    IniDocument doc = bytes ? IniDocument::Parse(*bytes) : IniDocument();
    doc.Write(section, key, value);
    Save(doc);
}

void IniFile::EraseSection(std::string_view section) {
    std::string native = NativePath(path_);
    auto bytes = ReadWholeFile(native);
    if (!bytes) {
        if (errno == ENOENT)
            return; // nothing to erase
        throw ScuError("Unable to write to " + native);
    }
    IniDocument doc = IniDocument::Parse(*bytes);
    if (doc.EraseSection(section))
        Save(doc);
}
