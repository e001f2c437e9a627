// Quotes arbitrary program paths for the desktop entry's Exec line and reads the line back by the
// desktop-entry rules (the line ends at a newline, then the string escapes, then the quoting of
// the arguments and the field codes): the path must come back as the first argument, followed by
// the file's field code.
#include "platform/FreedesktopFileTypes.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace {

const std::string kReserved = " \t\n\"'\\<>~|&;$*?#()`";

// The value of a string key: \s, \n, \t, \r and \\ are the only escapes.
std::optional<std::string> Unescaped(const std::string& value) {
    std::string out;
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\') {
            out += value[i];
            continue;
        }
        if (++i == value.size())
            return std::nullopt;
        switch (value[i]) {
        case 's':
            out += ' ';
            break;
        case 'n':
            out += '\n';
            break;
        case 't':
            out += '\t';
            break;
        case 'r':
            out += '\r';
            break;
        case '\\':
            out += '\\';
            break;
        default:
            return std::nullopt;
        }
    }
    return out;
}

// The arguments of an Exec value; "%f" stands for itself. No value when the quoting is broken.
std::optional<std::vector<std::string>> ExecArguments(const std::string& exec) {
    std::vector<std::string> args;
    size_t i = 0;
    while (i < exec.size()) {
        if (exec[i] == ' ') {
            ++i;
            continue;
        }
        std::string arg;
        if (exec[i] == '"') {
            for (++i;; ++i) {
                if (i == exec.size())
                    return std::nullopt; // unclosed
                if (exec[i] == '"')
                    break;
                if (exec[i] == '\\') {
                    if (++i == exec.size() ||
                        std::string("\"`$\\").find(exec[i]) == std::string::npos)
                        return std::nullopt;
                }
                arg += exec[i];
            }
            ++i;
            if (i < exec.size() && exec[i] != ' ')
                return std::nullopt; // a quoted argument is a whole argument
        } else {
            for (; i < exec.size() && exec[i] != ' '; ++i) {
                if (kReserved.find(exec[i]) != std::string::npos)
                    return std::nullopt; // reserved characters must be quoted
                arg += exec[i];
            }
        }
        // Field codes: "%%" is a literal "%"; "%f" is kept as the code it is.
        std::string expanded;
        for (size_t k = 0; k < arg.size(); ++k) {
            if (arg[k] != '%') {
                expanded += arg[k];
            } else if (k + 1 < arg.size() && arg[k + 1] == '%') {
                expanded += '%';
                ++k;
            } else if (arg == "%f") {
                expanded = arg;
                break;
            } else {
                return std::nullopt;
            }
        }
        args.push_back(expanded);
    }
    return args;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::string path(reinterpret_cast<const char*>(data), size);
    if (path.empty() || path.find('\0') != std::string::npos)
        return 0; // not a program path
    const std::string file = "Exec=" + FreedesktopFileTypes::ExecArgument(path) + " %f\n";
    std::string line = file.substr(5, file.find('\n') - 5);
    if (!line.empty() && line.back() == '\r')
        line.pop_back(); // a reader of a file with CR LF line ends drops it
    const auto value = Unescaped(line);
    if (!value)
        __builtin_trap();
    const auto args = ExecArguments(*value);
    if (!args || *args != std::vector<std::string>{path, "%f"})
        __builtin_trap();
    return 0;
}
