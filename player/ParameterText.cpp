#include "player/ParameterText.h"

#include "platform/TextRules.h"

#include <charconv>

std::optional<std::string> FindParameterValue(const std::string& text, const std::string& key) {
    const std::string upperText = UpperCase(text);
    const std::string upperKey = UpperCase(key);
    const auto at = upperText.find(upperKey);
    if (at == std::string::npos)
        return std::nullopt;
    const auto valueStart = at + upperKey.size() + 1; // the "=", whatever character it is
    if (valueStart > upperText.size())
        return std::string();
    const std::string rest = upperText.substr(valueStart);
    const auto bar = rest.find('|');
    if (bar == std::string::npos)
        return std::string();
    return rest.substr(0, bar);
}

std::string FindParameter(const std::string& text, const std::string& key,
                          const std::string& defaultValue) {
    const auto value = FindParameterValue(text, key);
    if (!value || value->empty())
        return UpperCase(defaultValue);
    return *value;
}

int FindParameter(const std::string& text, const std::string& key, int defaultValue) {
    const auto value = FindParameterValue(text, key);
    if (!value || value->empty())
        return defaultValue;
    // Decimal digits with an optional minus only: the settings file's "$", "0x", "+" and blanks
    // do not apply here.
    int number = 0;
    const char* end = value->data() + value->size();
    const auto [stop, error] = std::from_chars(value->data(), end, number);
    return error == std::errc() && stop == end ? number : defaultValue;
}

bool FindParameter(const std::string& text, const std::string& key, bool defaultValue,
                   bool warnings) {
    const auto value = FindParameterValue(text, key);
    if (!value)
        return defaultValue;
    if (*value == "TRUE" || *value == "YES" || *value == "1" || *value == "ENABLED")
        return true;
    if (*value == "FALSE" || *value == "NO" || *value == "0" || *value == "DISABLED")
        return false;
    if (warnings)
        throw VexaError(
            "Could not convert \"" + *value +
            "\" to Boolean\rResetting to default value: " + (defaultValue ? "True" : "False"));
    return defaultValue;
}

std::string ParameterItem(const std::string& key, const std::string& value) {
    return key + "=" + value + "|";
}
std::string ParameterItem(const std::string& key, int value) {
    return ParameterItem(key, std::to_string(value));
}
std::string ParameterItem(const std::string& key, bool value) {
    return ParameterItem(key, std::string(value ? "Yes" : "No"));
}

const char* ObjectFormatText(TObjectFormat format) {
    switch (format) {
    case tuMilliseconds:
        return "Milliseconds";
    case tuSeconds:
        return "Seconds";
    case tuTime:
        return "Time";
    case tuFrames:
        break;
    }
    return "Frames";
}

const char* ObjectSizeText(TObjectSize size) {
    switch (size) {
    case szHalfSize:
        return "Half Size";
    case szOriginalSize:
        return "Original Size";
    case szDoubleSize:
        return "Double Size";
    case szFitToSize:
        break;
    }
    return "Fit To Size";
}

TObjectFormat ObjectFormatFromText(const std::string& upperValue) {
    if (upperValue == "TIME")
        return tuTime;
    if (upperValue == "SECONDS")
        return tuSeconds;
    if (upperValue == "MILLISECONDS")
        return tuMilliseconds;
    return tuFrames;
}

TObjectSize ObjectSizeFromText(const std::string& upperValue) {
    if (upperValue == "DOUBLE SIZE")
        return szDoubleSize;
    if (upperValue == "ORIGINAL SIZE")
        return szOriginalSize;
    if (upperValue == "HALF SIZE")
        return szHalfSize;
    return szFitToSize;
}
