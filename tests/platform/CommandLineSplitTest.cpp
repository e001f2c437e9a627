#include "platform/CommandLineSplit.h"

#include <gtest/gtest.h>

namespace {

using Args = std::vector<std::string>;

TEST(CommandLineSplit, FollowsTheWindowsRules) {
    struct Case {
        const char* line;
        Args args;
    } cases[] = {
        {"", {}},
        {"   \t ", {}},
        {"-level=data\\maps\\K1 -nofmv", {"-level=data\\maps\\K1", "-nofmv"}},
        {" -fullscreen", {"-fullscreen"}},
        {"a  \t b", {"a", "b"}},
        {"a\r\nb", {"a\r\nb"}}, // CR and LF are ordinary characters
        {"\"two words\" x", {"two words", "x"}},
        {"\"\"", {""}}, // an empty quoted argument counts
        {"a \"\" b", {"a", "", "b"}},
        {"a\\b\\\\c", {"a\\b\\\\c"}}, // backslashes without a quote are literal
        {"a\\\"b", {"a\"b"}},         // 1 backslash + quote: literal quote
        {"a\\\\\"b c\"", {"a\\b c"}}, // 2 backslashes + quote: 1 backslash, grouping
        {"a\\\\\\\"b", {"a\\\"b"}},   // 3 backslashes + quote: 1 backslash, literal quote
        {"\"a\\\\\" b", {"a\\", "b"}},
        {"a\"b\"\" c d", {"ab\"", "c", "d"}},
        {"\"two\"\" next", {"two\"", "next"}},
        {"\"\"\"a\"\"\" b", {"\"a\"", "b"}}, // outside quotes, 3 quotes make one
        {"\"unclosed quote runs on", {"unclosed quote runs on"}},
        {"^ & | %VAR%", {"^", "&", "|", "%VAR%"}},
        {"\"a\"\"\"b c", {"a\"b c"}}, // inside: 1+3n quotes give n quotes, still quoted
        {"-padrecord=bin\\My Demo.tmp", {"-padrecord=bin\\My", "Demo.tmp"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SplitCommandLineArguments(c.line), c.args) << "line: [" << c.line << "]";
}

} // namespace
