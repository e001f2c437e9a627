#include "player/ParameterText.h"

#include <gtest/gtest.h>

namespace {

TEST(ParameterText, FindsValuesAsPlainUpperCasedSubstrings) {
    struct Case {
        const char* text;
        const char* key;
        std::optional<std::string> value;
    } cases[] = {
        {"Play Count=3|Start Marker=0|", "Play Count", "3"},
        {"play count=3|", "PLAY COUNT", "3"},               // case does not matter
        {"Size=half size|", "Size", "HALF SIZE"},           // value comes back upper-cased
        {"Play Count:7|", "Play Count", "7"},               // any one character after the key
        {"XPlay Count=4|Play Count=5|", "Play Count", "4"}, // no check around the key
        {"Volume=-20", "Volume", ""},                       // no closing bar: empty
        {"Volume=|", "Volume", ""},
        {"Mute=Yes|", "Volume", std::nullopt}, // absent
        {"Mute", "Mute", ""},                  // key at the very end
        {"Rate=1500|Balance=3|", "Rate", "1500"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FindParameterValue(c.text, c.key), c.value) << c.text << " / " << c.key;
}

TEST(ParameterText, NumberVariantFallsBackToTheDefault) {
    EXPECT_EQ(FindParameter("Volume=-20|", "Volume", 0), -20);
    EXPECT_EQ(FindParameter("Volume=-20", "Volume", 7), 7);  // last item without "|"
    EXPECT_EQ(FindParameter("Volume=abc|", "Volume", 7), 7); // does not convert
    EXPECT_EQ(FindParameter("Volume=|", "Volume", 7), 7);
    EXPECT_EQ(FindParameter("", "Volume", 7), 7);
    EXPECT_EQ(FindParameter("Volume=99999999999|", "Volume", 7), 7); // out of range
    // Decimal only: the settings file's hexadecimal forms, a plus and blanks do not convert.
    for (const char* text : {"Volume=0x10|", "Volume=$10|", "Volume=x10|", "Volume=+5|",
                             "Volume= 5|", "Volume=5 |", "Volume=-|"})
        EXPECT_EQ(FindParameter(text, "Volume", 7), 7) << text;
}

TEST(ParameterText, TextVariantGivesTheUpperCasedDefaultWhenEmpty) {
    EXPECT_EQ(FindParameter("Object Format=|", "Object Format", std::string("Frames")), "FRAMES");
    EXPECT_EQ(FindParameter("Object Format=Time|", "Object Format", std::string("Frames")), "TIME");
    EXPECT_EQ(FindParameter("", "Object Format", std::string("Frames")), "FRAMES");
}

TEST(ParameterText, YesNoVariantConvertsTheKnownWordsOnly) {
    struct Case {
        const char* text;
        bool defaultValue;
        bool expected;
    } cases[] = {
        {"Mute=Yes|", false, true},    {"Mute=true|", false, true},
        {"Mute=1|", false, true},      {"Mute=Enabled|", false, true},
        {"Mute=No|", true, false},     {"Mute=FALSE|", true, false},
        {"Mute=0|", true, false},      {"Mute=disabled|", true, false},
        {"Mute=maybe|", false, false}, {"Mute=maybe|", true, true},
        {"Volume=0|", true, true},     {"Mute=Yes", false, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FindParameter(c.text, "Mute", c.defaultValue, false), c.expected) << c.text;
}

TEST(ParameterText, YesNoVariantRaisesWithWarningsOnForAnUnknownOrEmptyValue) {
    try {
        FindParameter("Mute=maybe|", "Mute", false, true);
        FAIL() << "no exception";
    } catch (const VexaError& e) {
        EXPECT_STREQ(e.what(),
                     "Could not convert \"MAYBE\" to Boolean\rResetting to default value: False");
    }
    try {
        FindParameter("Show Controls=|", "Show Controls", true, true);
        FAIL() << "no exception";
    } catch (const VexaError& e) {
        EXPECT_STREQ(e.what(),
                     "Could not convert \"\" to Boolean\rResetting to default value: True");
    }
    // A missing key is no error.
    EXPECT_TRUE(FindParameter("Volume=0|", "Mute", true, true));
}

TEST(ParameterText, WritesItemsAndMapsUnitsAndSizes) {
    EXPECT_EQ(ParameterItem("Play Count", 3) + ParameterItem("Mute", true) +
                  ParameterItem("Size", std::string("Fit To Size")),
              "Play Count=3|Mute=Yes|Size=Fit To Size|");
    for (TObjectFormat f : {tuFrames, tuMilliseconds, tuSeconds, tuTime})
        EXPECT_EQ(ObjectFormatFromText(FindParameter(std::string("F=") + ObjectFormatText(f) + "|",
                                                     "F", std::string())),
                  f);
    for (TObjectSize s : {szHalfSize, szOriginalSize, szDoubleSize, szFitToSize})
        EXPECT_EQ(ObjectSizeFromText(FindParameter(std::string("S=") + ObjectSizeText(s) + "|", "S",
                                                   std::string())),
                  s);
    EXPECT_EQ(ObjectFormatFromText("HOURS"), tuFrames);
    EXPECT_EQ(ObjectSizeFromText("HUGE"), szFitToSize);
}

} // namespace
