#include "platform/IniFile.h"

#include "platform/Paths.h"
#include "platform/ScuError.h"
#include "platform/TextRules.h"

#include <cerrno>
#include <sys/stat.h>

namespace {
// After a failed read: whether there is no file at all, which a write may create. Asked of stat,
// since a failed read does not always set errno.
bool NoSuchFile(const std::string& native) {
    struct stat st;
    return stat(native.c_str(), &st) != 0 && errno == ENOENT;
}
} // namespace

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

// The file's bytes before a rewrite, or no value when there is no file; a file that exists but
// cannot be read whole is never written over.
std::optional<std::string> IniFile::ReadForRewrite(const std::string& native) const {
    AtomicFileWriter defaultWriter;
    AtomicFileWriter& writer = writer_ ? *writer_ : defaultWriter;
    auto bytes = writer.Read(native);
    if (!bytes && !NoSuchFile(native))
        throw ScuError("Unable to write to " + native);
    return bytes;
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    std::string native = NativePath(path_);
    auto bytes = ReadForRewrite(native);
    IniDocument doc = bytes ? IniDocument::Parse(*bytes) : IniDocument();
    doc.Write(section, key, value);
    Save(doc);
}

void IniFile::EraseSection(std::string_view section) {
    std::string native = NativePath(path_);
    auto bytes = ReadForRewrite(native);
    if (!bytes)
        return; // no file: nothing to erase
    IniDocument doc = IniDocument::Parse(*bytes);
    if (doc.EraseSection(section))
        Save(doc);
}
