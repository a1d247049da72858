#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "core/panel_codes.h"

namespace sundrel::core {

// Window looks, by command id.
inline constexpr int kLookWindows2000 = 205;
inline constexpr int kLookOfficeXp = 206;
inline constexpr int kLookWindowsXp = 207;
inline constexpr int kLookOffice2003 = 208;
inline constexpr int kLookVs2005 = 209;
inline constexpr int kLookVs2008 = 210;  // when nothing is stored
inline constexpr int kLookOffice2007Blue = 215;
inline constexpr int kLookOffice2007Black = 216;
inline constexpr int kLookOffice2007Silver = 217;
inline constexpr int kLookOffice2007Aqua = 218;
inline constexpr int kLookWindows7 = 219;
inline constexpr int kDefaultLook = kLookVs2008;

// The looks the ribbon's look menu offers, with their labels.
struct LookMenuItem {
    int id;
    const char* label;
};
inline constexpr std::array<LookMenuItem, 5> kLookMenu = {{
    {kLookOffice2007Blue, "蓝色样式(&B)"},
    {kLookOffice2007Black, "黑色样式(&L)"},
    {kLookOffice2007Silver, "银色样式(&S)"},
    {kLookOffice2007Aqua, "水绿色样式(&A)"},
    {kLookWindows7, "Windows 经典样式(&D)"},
}};

// A colour as red, green, blue.
struct LookRgb {
    int red;
    int green;
    int blue;
};

// Everything a look sets: the widget style, the palette's colours, the
// ribbon's band, and whether the panels take its button colour as their
// background (only the Office 2007 and Windows 7 looks do).
struct LookDefinition {
    int id;
    const char* style;  // Qt widget style
    LookRgb window;     // window background, dialogs and menus; black text reads on it
    LookRgb button;     // buttons; the panels' background where panelsFollow
    LookRgb highlight;  // selections, the splitter bar
    LookRgb ribbon;     // the ribbon's band and the status bar
    bool lightText;     // text on the ribbon's band and the status bar is white
    bool panelsFollow;
};

// Contrast ratio of two colours, 1 (the same) to 21 (black and white), from
// their relative luminance as WCAG 2 defines it. Text wants 4.5 or more.
double contrastRatio(LookRgb a, LookRgb b);

// Black or white, whichever reads better on `background`.
LookRgb readableTextOn(LookRgb background);

// The definition of a look; ids outside the table get the Office 2007 blue
// look without its panel colour.
LookDefinition lookDefinition(int lookId);

// Panel background of a look, 0x00BBGGRR; none for the looks without one.
std::optional<std::uint32_t> lookColour(int lookId);

// The panels that follow a look change, in the order they are told.
inline constexpr std::array<PanelSlot, 15> kLookBroadcastOrder = {
    PanelSlot::AnalysisControl,      PanelSlot::AnalysisContainer,  PanelSlot::CalibrationControl,
    PanelSlot::RealTimeView,         PanelSlot::CalibrationView,    PanelSlot::MeasureControl,
    PanelSlot::EvaluationView,       PanelSlot::Band1000To3000View, PanelSlot::Band100To300View,
    PanelSlot::Band300To1000View,    PanelSlot::Band30To100View,    PanelSlot::RawWaveformView,
    PanelSlot::UntabbedWaveformView, PanelSlot::TrackHighLowView,   PanelSlot::DetailedReport,
};

// The look the program runs with; every panel reads it when it is created.
int currentLook();
void setCurrentLook(int lookId);

}  // namespace sundrel::core
