// Feeds arbitrary text to the Windows command-line splitter, which must never crash, and splits
// words quoted by the rule Wine applies when it builds a Windows program's command line from its
// arguments: the words must come back unchanged. The input's NUL bytes separate the words.
#include "platform/CommandLineSplit.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

// Quotes a word that is empty or holds a space or tab; a quote becomes \" with the backslashes
// before it doubled, and backslashes before the closing quote are doubled.
std::string QuotedWord(const std::string& word) {
    const bool quote = word.empty() || word.find_first_of(" \t") != std::string::npos;
    std::string out = quote ? "\"" : "";
    size_t backslashes = 0;
    for (char c : word) {
        if (c == '\\') {
            ++backslashes;
        } else {
            if (c == '"')
                out.append(backslashes + 1, '\\');
            backslashes = 0;
        }
        out += c;
    }
    if (quote)
        out.append(backslashes, '\\') += '"';
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    (void)SplitCommandLineArguments(bytes);

    std::vector<std::string> words;
    std::string line;
    size_t start = 0;
    for (;;) {
        const size_t end = bytes.find('\0', start);
        words.emplace_back(bytes.substr(start, end == std::string_view::npos ? end : end - start));
        line += (words.size() > 1 ? " " : "") + QuotedWord(words.back());
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    if (SplitCommandLineArguments(line) != words)
        __builtin_trap();
    return 0;
}
