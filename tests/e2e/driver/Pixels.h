// Reading what is on the screen: the only way to see another program's painting under Wine
// (its window DCs yield nothing), so status images, red links and box icons are told apart
// by the colours at their place on the screen.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace uidriver {

struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> bgr;  // row by row, top first; 0x00RRGGBB

    std::uint32_t At(int x, int y) const { return bgr[static_cast<std::size_t>(y) * width + x]; }
    bool operator==(const Pixels& other) const {
        return width == other.width && height == other.height && bgr == other.bgr;
    }
};

// Yellow covers the yellow-to-orange of warning icons.
enum class Hue { Green, Red, Blue, Yellow, Other };

Hue HueOf(std::uint32_t rgb);

// The screen inside `rect`. Waits until two captures agree, so that a repaint in progress
// is not mistaken for the final picture.
Pixels CaptureStable(const RECT& rect);

struct HueCounts {
    int green = 0;
    int red = 0;
    int blue = 0;
    int yellow = 0;
};
HueCounts CountHues(const Pixels& pixels);

// "tick" (green), "cross" (red), "none" (neither) or "mixed".
std::wstring ClassifyStatusImage(const Pixels& pixels);
// "information" (mostly blue), "warning" (mostly yellow or orange), "error" (mostly red),
// "none" (no coloured pixels) or "unknown".
std::wstring ClassifyBoxIcon(const Pixels& pixels);

struct LinkLook {
    int redPixels = 0;
    bool underlined = false;
};
// Red text, and whether some row of red pixels runs under most of the text's width.
LinkLook InspectLink(const Pixels& pixels);

}  // namespace uidriver
