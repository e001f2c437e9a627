// Feeds arbitrary text to the reader of Steam's key-value files. Besides never crashing, what it
// reads must survive being written out and read again unchanged (quotes and backslashes
// escaped), so escapes, bare words and cut files are all read consistently.
#include "wine/KeyValuesText.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

std::string Quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + "\"";
}

void Write(const KeyValuesNode& node, std::string& out) {
    for (const auto& [key, child] : node.Children()) {
        out += Quoted(key);
        if (child.IsBlock()) {
            out += " {\n";
            Write(child, out);
            out += "}\n";
        } else {
            out += " " + Quoted(child.Value()) + "\n";
        }
    }
}

bool Same(const KeyValuesNode& a, const KeyValuesNode& b) {
    if (a.IsBlock() != b.IsBlock() || a.Value() != b.Value() ||
        a.Children().size() != b.Children().size())
        return false;
    for (size_t i = 0; i < a.Children().size(); ++i)
        if (a.Children()[i].first != b.Children()[i].first ||
            !Same(a.Children()[i].second, b.Children()[i].second))
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const KeyValuesNode first = KeyValuesNode::Parse(text);
    (void)first.Find({"libraryfolders", "0", "path"});
    std::string written;
    Write(first, written);
    if (!Same(first, KeyValuesNode::Parse(written)))
        std::abort();
    return 0;
}
