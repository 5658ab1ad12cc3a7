#include "tests/e2e/driver/Pixels.h"

#include <algorithm>

#include "platform/Win32Handles.h"
#include "tests/e2e/driver/Session.h"

namespace uidriver {

namespace {

constexpr int kMinimumHuePixels = 4;
constexpr DWORD kSettleStepMs = 150;
constexpr int kSettleAttempts = 20;

Pixels CaptureScreen(const RECT& rect) {
    Pixels pixels;
    pixels.width = std::max(0, static_cast<int>(rect.right - rect.left));
    pixels.height = std::max(0, static_cast<int>(rect.bottom - rect.top));
    if (pixels.width == 0 || pixels.height == 0) return pixels;

    HDC screen = ::GetDC(nullptr);
    if (!screen) throw DriverError(L"GetDC(NULL) failed");
    HDC memory = ::CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = pixels.width;
    info.bmiHeader.biHeight = -pixels.height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    platform::UniqueGdiObject bitmap(
        ::CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    bool copied = false;
    if (bitmap && memory) {
        HGDIOBJ previous = ::SelectObject(memory, bitmap.Get());
        copied = ::BitBlt(memory, 0, 0, pixels.width, pixels.height, screen, rect.left, rect.top,
                          SRCCOPY | CAPTUREBLT) != FALSE;
        ::GdiFlush();
        ::SelectObject(memory, previous);
    }
    if (copied) {
        const auto* source = static_cast<const std::uint32_t*>(bits);
        pixels.bgr.assign(source, source + static_cast<std::size_t>(pixels.width) * pixels.height);
        for (auto& pixel : pixels.bgr) pixel &= 0x00FFFFFFu;
    }
    if (memory) ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    if (!copied) throw DriverError(L"BitBlt from the screen failed");
    return pixels;
}

}  // namespace

Hue HueOf(std::uint32_t rgb) {
    const int r = static_cast<int>((rgb >> 16) & 0xFF);
    const int g = static_cast<int>((rgb >> 8) & 0xFF);
    const int b = static_cast<int>(rgb & 0xFF);
    // Amber before red: warning icons range from yellow to orange, whose green part is high.
    if (r >= 180 && g >= 100 && b < 100 && r - b >= 120) return Hue::Yellow;
    if (r >= 150 && r - g >= 80 && r - b >= 80) return Hue::Red;
    if (g >= 100 && g - r >= 50 && g - b >= 50) return Hue::Green;
    if (b >= 120 && b - r >= 60 && b - g >= 20) return Hue::Blue;
    return Hue::Other;
}

Pixels CaptureStable(const RECT& rect) {
    Pixels previous = CaptureScreen(rect);
    for (int attempt = 0; attempt < kSettleAttempts; ++attempt) {
        ::Sleep(kSettleStepMs);
        Pixels current = CaptureScreen(rect);
        if (current == previous) return current;
        previous = std::move(current);
    }
    return previous;
}

HueCounts CountHues(const Pixels& pixels) {
    HueCounts counts;
    for (const std::uint32_t pixel : pixels.bgr) {
        switch (HueOf(pixel)) {
        case Hue::Green: ++counts.green; break;
        case Hue::Red: ++counts.red; break;
        case Hue::Blue: ++counts.blue; break;
        case Hue::Yellow: ++counts.yellow; break;
        case Hue::Other: break;
        }
    }
    return counts;
}

std::wstring ClassifyStatusImage(const Pixels& pixels) {
    const HueCounts counts = CountHues(pixels);
    const bool green = counts.green >= kMinimumHuePixels;
    const bool red = counts.red >= kMinimumHuePixels;
    if (green && red) return L"mixed";
    if (green) return L"tick";
    if (red) return L"cross";
    return L"none";
}

std::wstring ClassifyBoxIcon(const Pixels& pixels) {
    const HueCounts counts = CountHues(pixels);
    const int strongest = std::max({counts.blue, counts.yellow, counts.red});
    if (strongest < kMinimumHuePixels) return counts.green >= kMinimumHuePixels ? L"unknown" : L"none";
    if (strongest == counts.yellow) return L"warning";
    if (strongest == counts.blue) return L"information";
    return L"error";
}

LinkLook InspectLink(const Pixels& pixels) {
    LinkLook look;
    int left = pixels.width;
    int right = -1;
    int longestRun = 0;
    for (int y = 0; y < pixels.height; ++y) {
        int run = 0;
        for (int x = 0; x < pixels.width; ++x) {
            if (HueOf(pixels.At(x, y)) != Hue::Red) {
                run = 0;
                continue;
            }
            ++look.redPixels;
            left = std::min(left, x);
            right = std::max(right, x);
            longestRun = std::max(longestRun, ++run);
        }
    }
    // Glyph strokes are short; only an underline spans (nearly) the whole text.
    const int textWidth = right - left + 1;
    look.underlined = look.redPixels > 0 && longestRun >= 8 && longestRun * 10 >= textWidth * 8;
    return look;
}

}  // namespace uidriver
