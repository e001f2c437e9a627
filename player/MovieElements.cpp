#include "player/MovieElements.h"

#include <algorithm>

const std::vector<MovieElementNeed>& MovieElementNeeds() {
    static const std::vector<MovieElementNeed> needs = {
        {{"playbin"}, {"gstreamer1.0-plugins-base"}},
        {{"appsink"}, {"gstreamer1.0-plugins-base"}},
        {{"videoconvert"}, {"gstreamer1.0-plugins-base"}},
        {{"mpegpsdemux"}, {"gstreamer1.0-plugins-bad"}},
        {{"mpegvideoparse"}, {"gstreamer1.0-plugins-bad"}},
        {{"avdec_mpeg2video", "mpeg2dec"}, {"gstreamer1.0-libav", "gstreamer1.0-plugins-ugly"}},
        {{"mpegaudioparse"}, {"gstreamer1.0-plugins-good"}},
        {{"mpg123audiodec", "avdec_mp2float"}, {"gstreamer1.0-plugins-good", "gstreamer1.0-libav"}},
    };
    return needs;
}

namespace {
std::string Joined(const std::vector<std::string>& items, const std::string& separator) {
    std::string text;
    for (const std::string& item : items)
        text += (text.empty() ? "" : separator) + item;
    return text;
}
} // namespace

std::string MissingMovieElements::Description() const {
    return "Missing GStreamer elements: " + Joined(elements, ", ");
}

std::string MissingMovieElements::Advice() const {
    return "The movie cannot be played because GStreamer elements are missing: " +
           Joined(elements, ", ") + ".\r\rInstall the package" +
           (packages.size() > 1 ? "s " : " ") + Joined(packages, ", ") + ".";
}

MissingMovieElements
FindMissingMovieElements(const std::function<bool(const std::string& element)>& available) {
    MissingMovieElements missing;
    for (const MovieElementNeed& need : MovieElementNeeds()) {
        if (std::any_of(need.alternatives.begin(), need.alternatives.end(), available))
            continue;
        missing.elements.push_back(Joined(need.alternatives, " or "));
        const std::string& package = need.packages.front();
        if (std::find(missing.packages.begin(), missing.packages.end(), package) ==
            missing.packages.end())
            missing.packages.push_back(package);
    }
    return missing;
}
