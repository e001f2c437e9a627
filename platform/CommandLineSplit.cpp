#include "platform/CommandLineSplit.h"

std::vector<std::string> SplitCommandLineArguments(std::string_view s) {
    std::vector<std::string> result;
    std::string current;
    bool inArgument = false;
    int quotes = 0;      // quotes counted as the run-time library counts them; non-zero = quoted
    int backslashes = 0; // backslashes directly before the current character
    size_t i = 0;
    while (i < s.size()) {
        const char c = s[i];
        if ((c == ' ' || c == '\t') && quotes == 0) {
            if (inArgument)
                result.push_back(current);
            current.clear();
            inArgument = false;
            backslashes = 0;
            ++i;
            continue;
        }
        inArgument = true;
        if (c == '\\') {
            current += c;
            ++backslashes;
            ++i;
        } else if (c == '"') {
            if (backslashes % 2 == 0) {
                current.resize(current.size() - static_cast<size_t>(backslashes / 2));
                ++quotes;
            } else {
                current.resize(current.size() - static_cast<size_t>(backslashes / 2) - 1);
                current += '"';
            }
            ++i;
            backslashes = 0;
            // A run of quotes: every third one is a literal quote.
            while (i < s.size() && s[i] == '"') {
                if (++quotes == 3) {
                    current += '"';
                    quotes = 0;
                }
                ++i;
            }
            if (quotes == 2)
                quotes = 0;
        } else {
            current += c;
            backslashes = 0;
            ++i;
        }
    }
    if (inArgument)
        result.push_back(current);
    return result;
}
