#pragma once

#include <cstdint>
#include <optional>

// One display mode as the display reports it.
struct DisplayMode {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t bitsPerPixel = 0;
    std::uint32_t refreshRate = 0;
    std::uint32_t fields = 0; // which of the above the record sets (kField... bits)
};

constexpr std::uint32_t kFieldBitsPerPel = 0x00040000;
constexpr std::uint32_t kFieldPelsWidth = 0x00080000;
constexpr std::uint32_t kFieldPelsHeight = 0x00100000;
constexpr std::uint32_t kFieldDisplayFrequency = 0x00400000;

// The display's full-screen modes.
class DisplayModes {
public:
    virtual ~DisplayModes() = default;
    // Mode number index of the primary display; no value past the last one.
    virtual std::optional<DisplayMode> Mode(int index) = 0;
    // Whether the display would accept the mode in full screen (nothing is changed).
    virtual bool Accepts(const DisplayMode& mode) = 0;
};
