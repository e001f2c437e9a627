#pragma once

#include <functional>
#include <string>
#include <vector>

// The GStreamer elements the movie player needs to play the game's MPEG-1 movies, and the Debian
// packages that provide them.
struct MovieElementNeed {
    std::vector<std::string> alternatives; // any one of them will do
    std::vector<std::string> packages;     // the package of each alternative, in the same order
};

const std::vector<MovieElementNeed>& MovieElementNeeds();

struct MissingMovieElements {
    std::vector<std::string> elements; // "mpegpsdemux", "avdec_mpeg2video or mpeg2dec"
    std::vector<std::string> packages; // the first package of each missing need, no repeats
    bool Empty() const { return elements.empty(); }
    // "Missing GStreamer elements: mpegpsdemux, avdec_mpeg2video or mpeg2dec"
    std::string Description() const;
    // The message box text that names the packages to install.
    std::string Advice() const;
};

// Which needs none of whose alternatives `available` knows.
MissingMovieElements
FindMissingMovieElements(const std::function<bool(const std::string& element)>& available);
