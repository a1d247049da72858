#include "core/look_table.h"

#include <algorithm>
#include <atomic>
#include <cmath>

namespace sundrel::core {
namespace {

std::atomic<int> current{kDefaultLook};

}  // namespace

namespace {

// One row per look.
constexpr LookDefinition kLooks[] = {
    {kLookWindows2000,
     "Windows",
     {212, 208, 200},
     {212, 208, 200},
     {10, 36, 106},
     {212, 208, 200},
     false,
     false},
    {kLookOfficeXp,
     "Fusion",
     {246, 246, 246},
     {239, 237, 222},
     {49, 106, 197},
     {219, 216, 209},
     false,
     false},
    {kLookWindowsXp,
     "Fusion",
     {236, 233, 216},
     {244, 243, 238},
     {49, 106, 197},
     {228, 225, 208},
     false,
     false},
    {kLookOffice2003,
     "Fusion",
     {227, 239, 255},
     {214, 232, 255},
     {251, 200, 79},
     {158, 190, 245},
     false,
     false},
    {kLookVs2005,
     "Fusion",
     {240, 240, 234},
     {250, 250, 246},
     {51, 94, 168},
     {220, 218, 200},
     false,
     false},
    {kLookVs2008,
     "Fusion",
     {240, 240, 240},
     {250, 250, 250},
     {51, 153, 255},
     {204, 213, 240},
     false,
     false},
    {kLookOffice2007Blue,
     "Fusion",
     {191, 219, 255},
     {224, 241, 252},
     {255, 189, 105},
     {219, 234, 252},
     false,
     true},
    // Dark where the ribbon and the status bar frame the window; the window's
    // own grey stays light enough for black text in dialogs and menus.
    {kLookOffice2007Black,
     "Fusion",
     {216, 218, 222},
     {231, 239, 240},
     {255, 189, 105},
     {60, 60, 60},
     true,
     true},
    {kLookOffice2007Silver,
     "Fusion",
     {208, 212, 221},
     {240, 248, 248},
     {255, 189, 105},
     {221, 224, 232},
     false,
     true},
    {kLookOffice2007Aqua,
     "Fusion",
     {196, 214, 226},
     {231, 234, 241},
     {255, 189, 105},
     {207, 224, 233},
     false,
     true},
    {kLookWindows7,
     "Fusion",
     {219, 229, 241},
     {237, 246, 253},
     {51, 153, 255},
     {245, 249, 253},
     false,
     true},
};

}  // namespace

double contrastRatio(LookRgb a, LookRgb b) {
    const auto luminance = [](LookRgb rgb) {
        const auto linear = [](int channel) {
            const double c = channel / 255.0;
            return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(rgb.red) + 0.7152 * linear(rgb.green) + 0.0722 * linear(rgb.blue);
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

LookRgb readableTextOn(LookRgb background) {
    constexpr LookRgb black{0, 0, 0};
    constexpr LookRgb white{255, 255, 255};
    return contrastRatio(background, black) >= contrastRatio(background, white) ? black : white;
}

LookDefinition lookDefinition(int lookId) {
    for (const LookDefinition& look : kLooks) {
        if (look.id == lookId) {
            return look;
        }
    }
    LookDefinition fallback = lookDefinition(kLookOffice2007Blue);
    fallback.id = lookId;
    fallback.panelsFollow = false;
    return fallback;
}

std::optional<std::uint32_t> lookColour(int lookId) {
    const LookDefinition look = lookDefinition(lookId);
    if (!look.panelsFollow) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(look.button.red) |
           static_cast<std::uint32_t>(look.button.green) << 8 |
           static_cast<std::uint32_t>(look.button.blue) << 16;
}

int currentLook() {
    return current.load();
}
void setCurrentLook(int lookId) {
    current.store(lookId);
}

}  // namespace sundrel::core
