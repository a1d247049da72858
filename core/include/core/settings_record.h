#pragma once

#include <cstddef>
#include <cstdint>

#include "acquisition/raw_file_header.h"

namespace sundrel::core {

// A text is at most 254 GBK bytes, as config.ini and the raw file headers
// hold it. Here it is UTF-8, up to three bytes for each GBK byte (a GBK
// character of two bytes is at most three in UTF-8, an undecodable byte
// becomes U+FFFD), and a NUL.
inline constexpr std::size_t kSettingsTextGbkBytes = 254;
inline constexpr std::size_t kSettingsTextSize = 3 * kSettingsTextGbkBytes + 1;

// Every lasting setting of the program, in declared order, packed. It lives
// only in memory: files hold its values by key (config.ini) or in their own
// fixed fields (the raw file header). Texts are UTF-8 inside the program (GBK
// in config.ini), cut to 254 GBK bytes on a character boundary.
#pragma pack(push, 1)
struct SettingsRecord {
    std::int32_t nPortLeft;                     // n of COMn of the left sensor box
    std::int32_t nPortRight;                    // n of COMn of the right sensor box
    std::int32_t nBaud;                         // 9600, 19200, 38400 or 115200, both ports
    char chParity;                              // 'O', 'E' or 'N'
    std::int32_t nDatabits;                     // 5..8
    std::int32_t nStopbits;                     // 1 or 2
    std::int32_t nCollectionCommand;            // encoder pulses per frame
    std::int32_t nDataBytesTrigger;             // acquisition batch size, bytes
    std::int32_t nColor;                        // look id, 205..219
    double dEncoder;                            // metres per frame, > 0
    acquisition::EddyCalibration leftEddy[4];   // dLeftEddy{1..4}Slope/Intercept
    acquisition::EddyCalibration rightEddy[4];  // dRightEddy{1..4}Slope/Intercept
    char chFilePath[kSettingsTextSize];         // storage folder of raw data files
    char chLineName[kSettingsTextSize];         // line name
    char chStaffName[kSettingsTextSize];        // operating staff
    char chDepartment[kSettingsTextSize];       // operating department
    std::int32_t nSerialReserveData;            // frames in the real-time display window
    double dYmin;                               // mm, value axis of the analysis charts
    double dYmax;                               // mm
    double dXmin;                               // m, initial distance axis
    double dXmax;                               // m
    std::int32_t nEncoder;                      // encoder pulses per wheel revolution
    double dWheelDia;                           // mm
    double dThLine1;                            // mm peak-to-peak, green threshold lines
    double dThLine2;                            // mm peak-to-peak, red threshold lines
    double dTh30_100;                           // mm peak-to-peak limit of each band
    double dTh100_300;
    double dTh300_1000;
    double dTh1000_3000;
};
#pragma pack(pop)

// dEncoder and the sixteen calibration doubles are one block, copied as such
// into every raw data file header.
inline constexpr std::size_t kEncoderAndCalibrationBytes = 136;
static_assert(offsetof(SettingsRecord, chFilePath) - offsetof(SettingsRecord, dEncoder) ==
              kEncoderAndCalibrationBytes);
static_assert(offsetof(acquisition::RawFileHeader, fileName) -
                  offsetof(acquisition::RawFileHeader, dEncoder) ==
              kEncoderAndCalibrationBytes);

// Copies dEncoder and the calibration pairs into a raw data file header.
void copyEncoderAndCalibration(const SettingsRecord& settings, acquisition::RawFileHeader& header);

}  // namespace sundrel::core
