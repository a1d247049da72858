#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace sundrel::acquisition {

inline constexpr std::uint16_t kRawFileMagic = 0xABCD;  // bytes CD AB on disk
inline constexpr std::size_t kTextFieldSize = 255;      // 254 GBK bytes + NUL

// Serial line parameters of one side, as the serial link reads them.
#pragma pack(push, 1)
struct LineParameters {
    std::int32_t nPort;               // n of COMn
    std::int32_t nBaud;               // 9600, 19200, 38400 or 115200
    char chParity;                    // 'O', 'E' or 'N'
    std::int32_t nDatabits;           // 5..8
    std::int32_t nStopbits;           // 1 or 2
    std::int32_t nCollectionCommand;  // encoder pulses per frame
    std::int32_t nDataBytesTrigger;   // worker batch size, bytes
    std::int32_t side;                // RailSide: 1 left, 2 right
};

// Slope (mm per count) and intercept (mm) that turn one sensor's word into a
// displacement: mm = word * slope + intercept.
struct EddyCalibration {
    double slope;
    double intercept;
};

// The record at the start of every raw data file, and again as its trailer
// when a run is stopped properly. Packed, little-endian, 1710 bytes.
struct RawFileHeader {
    std::uint16_t magic;          // kRawFileMagic
    std::uint32_t dataByteCount;  // frame-stream bytes: 0 in the header, total in the trailer
    LineParameters line;
    double dEncoder;                  // metres per frame, > 0
    EddyCalibration leftEddy[4];      // sensors 1# to 4# of the left box
    EddyCalibration rightEddy[4];     // sensors 1# to 4# of the right box
    char fileName[kTextFieldSize];    // GBK, NUL-terminated
    char folder[kTextFieldSize];      // GBK, NUL-terminated
    char startTime[kTextFieldSize];   // "%4d%02d%02d%02d%02d%02d" local time
    char lineName[kTextFieldSize];    // GBK, NUL-terminated
    char department[kTextFieldSize];  // GBK, NUL-terminated
    char staffName[kTextFieldSize];   // GBK, NUL-terminated
    std::uint8_t forward;             // 1: km-post values grow along the file
    double position;                  // metres: start in the header, end in the trailer
};
#pragma pack(pop)

static_assert(std::endian::native == std::endian::little,
              "raw data files are little-endian and written as the record stands in memory");
static_assert(sizeof(LineParameters) == 29);
static_assert(offsetof(LineParameters, nPort) == 0);
static_assert(offsetof(LineParameters, nBaud) == 4);
static_assert(offsetof(LineParameters, chParity) == 8);
static_assert(offsetof(LineParameters, nDatabits) == 9);
static_assert(offsetof(LineParameters, nStopbits) == 13);
static_assert(offsetof(LineParameters, nCollectionCommand) == 17);
static_assert(offsetof(LineParameters, nDataBytesTrigger) == 21);
static_assert(offsetof(LineParameters, side) == 25);

static_assert(sizeof(RawFileHeader) == 1710);
static_assert(offsetof(RawFileHeader, magic) == 0);
static_assert(offsetof(RawFileHeader, dataByteCount) == 2);
static_assert(offsetof(RawFileHeader, line) == 6);
static_assert(offsetof(RawFileHeader, line) + offsetof(LineParameters, nBaud) == 10);
static_assert(offsetof(RawFileHeader, line) + offsetof(LineParameters, chParity) == 14);
static_assert(offsetof(RawFileHeader, line) + offsetof(LineParameters, nDatabits) == 15);
static_assert(offsetof(RawFileHeader, line) + offsetof(LineParameters, nStopbits) == 19);
static_assert(offsetof(RawFileHeader, line) + offsetof(LineParameters, nCollectionCommand) == 23);
static_assert(offsetof(RawFileHeader, line) + offsetof(LineParameters, nDataBytesTrigger) == 27);
static_assert(offsetof(RawFileHeader, line) + offsetof(LineParameters, side) == 31);
static_assert(offsetof(RawFileHeader, dEncoder) == 35);
static_assert(offsetof(RawFileHeader, leftEddy) == 43);
static_assert(offsetof(RawFileHeader, rightEddy) == 107);
static_assert(offsetof(RawFileHeader, fileName) == 171);
static_assert(offsetof(RawFileHeader, folder) == 426);
static_assert(offsetof(RawFileHeader, startTime) == 681);
static_assert(offsetof(RawFileHeader, lineName) == 936);
static_assert(offsetof(RawFileHeader, department) == 1191);
static_assert(offsetof(RawFileHeader, staffName) == 1446);
static_assert(offsetof(RawFileHeader, forward) == 1701);
static_assert(offsetof(RawFileHeader, position) == 1702);
// dEncoder and the sixteen calibration doubles form one 136-byte block that
// the settings copy in at once.
static_assert(offsetof(RawFileHeader, fileName) - offsetof(RawFileHeader, dEncoder) == 136);

inline constexpr std::size_t kRawFileHeaderSize = sizeof(RawFileHeader);

// A zero-filled record carrying the magic, ready to be filled.
RawFileHeader makeRawFileHeader();

// Sets a text field from GBK bytes, cut to 254 bytes on a character boundary.
void setHeaderText(char (&field)[kTextFieldSize], std::string_view gbk);

}  // namespace sundrel::acquisition
