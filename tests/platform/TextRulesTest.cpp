#include "platform/TextRules.h"
#include "platform/ScuError.h"

#include <gtest/gtest.h>

namespace {

TEST(ParseInteger, AcceptsDecimalAndTheHexadecimalPrefixes) {
    struct Case {
        const char* text;
        bool bareX;
        std::optional<std::int32_t> expected;
    } cases[] = {
        {"0", false, 0},
        {"2", false, 2},
        {" 12 ", false, 12},
        {"+7", false, 7},
        {"-1", false, -1},
        {"0x1", false, 1},
        {"0X1F", false, 31},
        {"$ff", false, 255},
        {"$FFFFFFFF", false, -1},
        {"-$10", false, -16},
        {"0x", false, {}},
        {"$", false, {}},
        {"x0A", false, {}},
        {"x0A", true, 10},
        {"X0a", true, 10},
        {"yes", false, {}},
        {"", false, {}},
        {"12abc", false, {}},
        {"1 2", false, {}},
        {"4294967296", false, {}},
        {"2147483647", false, 2147483647},
        {"2147483648", false, {}},
        {"-2147483648", false, INT32_MIN},
        {"0x0A", true, 10},
        {"big", true, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseInteger(c.text, c.bareX), c.expected) << "text: '" << c.text << "'";
}

TEST(TextCase, ComparesAsciiLettersWithoutCase) {
    EXPECT_TRUE(SameText("ZELTA.exe", "zelta.EXE"));
    EXPECT_FALSE(SameText("ZELTA.EXE", "ZELTA.EX"));
    EXPECT_EQ(UpperCase("k1.pad"), "K1.PAD");
    EXPECT_EQ(UpperCase("\xe4"), "\xe4") << "8-bit characters are left alone";
}

TEST(ApplicationErrorText, AppendsAFullStopOnlyAfterCharactersAboveIt) {
    EXPECT_EQ(ApplicationErrorText("Unable to write to /x/settings.ini"),
              "Unable to write to /x/settings.ini.");
    EXPECT_EQ(ApplicationErrorText("Done."), "Done.");
    EXPECT_EQ(ApplicationErrorText("List,"), "List,");
    EXPECT_EQ(ApplicationErrorText("Trailing "), "Trailing ");
    EXPECT_EQ(ApplicationErrorText("(bracket)"), "(bracket)");
    EXPECT_EQ(ApplicationErrorText("slash/"), "slash/.");
    EXPECT_EQ(ApplicationErrorText("value 0"), "value 0.");
    EXPECT_EQ(ApplicationErrorText(""), "");
}

} // namespace
