#pragma once

#include <cstdint>

namespace sundrel::core {

// The code in word 0 of every panel message. S: sent synchronously, P: posted.
enum class PanelCode : std::uintptr_t {
    SwitchActivity = 1,       // S data = activity: 0 acquisition, 1 analysis, 2 calibration
    ApplyLook = 2,            // S data = background colour 0x00BBGGRR
    StartMeasurement = 3,     // S ribbon start
    AcquisitionBatch = 4,     // S data = bytes, count = byte count; lparam = RailSide
    Clear = 5,                // S clear plots, points or tables
    AcquisitionProgress = 6,  // P data = bytes delivered since the start
    Stop = 7,                 // S ribbon stop / end of the run display
    CalibrationBytes = 8,     // S data = bytes, count = byte count; lparam = port number pointer
    CalibrationPoint = 9,     // S data = x (integer), count = 1; lparam = pointer to y
    OpenFile = 10,            // S open and analyse a raw data file
    CustomFileName = 11,      // S nobody acts on it
    Profile = 12,             // S engine: profile; lparam = side
    FileInfo = 13,            // S engine: AnalysisInfoBlock
    Band30To100 = 14,         // S engine: band signals; lparam = side
    Band100To300 = 15,
    Band300To1000 = 16,
    Band1000To3000 = 17,
    ExceedRatios = 18,  // S engine: four ratios, percent; lparam = side
    Sections = 19,      // S engine: SectionRecord array
    ExportReport = 20,  // S write the spreadsheet report
};

// Where each window is registered. Slots 11 to 32.
enum class PanelSlot : int {
    MainWindow = 11,
    LeftView = 12,
    TabControl = 13,
    AnalysisContainer = 14,
    AnalysisControl = 15,
    CalibrationView = 16,
    CalibrationControl = 17,
    RealTimeView = 18,
    MeasureControl = 19,
    RibbonBar = 20,
    Splitter = 21,
    RightView = 22,
    StatusBar = 23,
    RawWaveformView = 24,
    UntabbedWaveformView = 25,
    Band30To100View = 26,
    Band100To300View = 27,
    Band300To1000View = 28,
    Band1000To3000View = 29,
    TrackHighLowView = 30,
    EvaluationView = 31,
    DetailedReport = 32,
};

inline constexpr int kFirstPanelSlot = 11;
inline constexpr int kLastPanelSlot = 32;

// The window message that carries a panel message.
inline constexpr unsigned kPanelMessageId = 1025;  // WM_USER + 1

}  // namespace sundrel::core
