#include "core/settings_file.h"

#include <array>
#include <cstring>
#include <string>

#include "core/profile_helpers.h"

namespace sundrel::core {
namespace {

constexpr const char* kPortInfo = "PORT_INFO";
constexpr const char* kDefaultPara = "DEFAULT_PARA";
constexpr const char* kCalibrationPara = "CALIBRATION_PARA";

// Only a distance per frame above this is worth keeping: the wheel and
// encoder check never gives less.
constexpr double kSavedEncoderMinimum = 0.003;

// dLeftEddy1Slope, dLeftEddy1Intercept, ... dRightEddy4Intercept, each with
// the field it names, in file order.
struct CalibrationKey {
    std::string name;
    bool left;
    std::size_t sensor;
    bool slope;  // else the intercept
};

const std::array<CalibrationKey, 16>& calibrationKeys() {
    static const std::array<CalibrationKey, 16> keys = [] {
        std::array<CalibrationKey, 16> table{};
        std::size_t at = 0;
        for (const bool left : {true, false}) {
            for (std::size_t k = 0; k < 4; ++k) {
                const std::string stem =
                    std::string(left ? "dLeftEddy" : "dRightEddy") + std::to_string(k + 1);
                table[at++] = {stem + "Slope", left, k, true};
                table[at++] = {stem + "Intercept", left, k, false};
            }
        }
        return table;
    }();
    return keys;
}

// The record is packed: its fields are read and written by value, never
// through references or pointers.
double calibrationValue(const SettingsRecord& settings, const CalibrationKey& key) {
    const auto& pair = (key.left ? settings.leftEddy : settings.rightEddy)[key.sensor];
    return key.slope ? pair.slope : pair.intercept;
}

void setCalibrationValue(SettingsRecord& settings, const CalibrationKey& key, double value) {
    auto& pair = (key.left ? settings.leftEddy : settings.rightEddy)[key.sensor];
    (key.slope ? pair.slope : pair.intercept) = value;
}

std::int32_t intValue(const char* section, const char* key, const std::string& path) {
    std::int32_t value = 0;
    readInt(section, key, &value, path);
    return value;
}

double doubleValue(const char* section, const char* key, const std::string& path) {
    double value = 0;
    readDouble(section, key, &value, path);
    return value;
}

}  // namespace

void copyEncoderAndCalibration(const SettingsRecord& settings, acquisition::RawFileHeader& header) {
    std::memcpy(&header.dEncoder, &settings.dEncoder, kEncoderAndCalibrationBytes);
}

acquisition::StatusCode loadSettings(SettingsRecord& settings, const std::string& path) {
    std::int32_t portLeft = 0;
    readInt(kPortInfo, "nPortLeft", &portLeft, path);
    if (portLeft == 0) {
        return acquisition::StatusCode::ConfigurationFileError;
    }
    settings.nPortLeft = portLeft;
    settings.nPortRight = intValue(kPortInfo, "nPortRight", path);
    settings.nBaud = intValue(kPortInfo, "nBaud", path);
    char parity = 0;
    readChar(kPortInfo, "chParity", &parity, path);
    settings.chParity = parity;
    settings.nDatabits = intValue(kPortInfo, "nDatabits", path);
    settings.nStopbits = intValue(kPortInfo, "nStopbits", path);
    settings.nCollectionCommand = intValue(kPortInfo, "nCollectionCommand", path);
    settings.nDataBytesTrigger = intValue(kPortInfo, "nDataBytesTrigger", path);

    settings.nColor = intValue(kDefaultPara, "nColor", path);
    readText(kDefaultPara, "chFilePath", settings.chFilePath, kSettingsTextSize, path);
    readText(kDefaultPara, "chLineName", settings.chLineName, kSettingsTextSize, path);
    readText(kDefaultPara, "chStaffName", settings.chStaffName, kSettingsTextSize, path);
    readText(kDefaultPara, "chDepartment", settings.chDepartment, kSettingsTextSize, path);
    settings.nSerialReserveData = intValue(kDefaultPara, "nSerialReserveData", path);
    settings.dYmin = doubleValue(kDefaultPara, "dYmin", path);
    settings.dYmax = doubleValue(kDefaultPara, "dYmax", path);
    settings.dXmin = doubleValue(kDefaultPara, "dXmin", path);
    settings.dXmax = doubleValue(kDefaultPara, "dXmax", path);
    settings.dTh30_100 = doubleValue(kDefaultPara, "dTh30_100", path);
    settings.dTh100_300 = doubleValue(kDefaultPara, "dTh100_300", path);
    settings.dTh300_1000 = doubleValue(kDefaultPara, "dTh300_1000", path);
    settings.dTh1000_3000 = doubleValue(kDefaultPara, "dTh1000_3000", path);
    settings.nEncoder = intValue(kDefaultPara, "nEncoder", path);
    settings.dWheelDia = doubleValue(kDefaultPara, "dWheelDia", path);
    settings.dThLine1 = doubleValue(kDefaultPara, "dThLine1", path);
    settings.dThLine2 = doubleValue(kDefaultPara, "dThLine2", path);

    settings.dEncoder = doubleValue(kCalibrationPara, "dEncoder", path);
    for (const CalibrationKey& key : calibrationKeys()) {
        setCalibrationValue(settings, key, doubleValue(kCalibrationPara, key.name.c_str(), path));
    }
    return acquisition::StatusCode::Success;
}

bool saveSettings(const SettingsRecord& settings, const std::string& path) {
    int failed = 0;
    failed |= writeInt(kPortInfo, "nPortLeft", settings.nPortLeft, path);
    failed |= writeInt(kPortInfo, "nPortRight", settings.nPortRight, path);
    failed |= writeInt(kPortInfo, "nBaud", settings.nBaud, path);
    failed |= writeChar(kPortInfo, "chParity", settings.chParity, path);
    failed |= writeInt(kPortInfo, "nDatabits", settings.nDatabits, path);
    failed |= writeInt(kPortInfo, "nStopbits", settings.nStopbits, path);
    failed |= writeInt(kPortInfo, "nCollectionCommand", settings.nCollectionCommand, path);

    failed |= writeInt(kDefaultPara, "nColor", settings.nColor, path);
    failed |= writeText(kDefaultPara, "chFilePath", settings.chFilePath, path);
    failed |= writeText(kDefaultPara, "chLineName", settings.chLineName, path);
    failed |= writeText(kDefaultPara, "chStaffName", settings.chStaffName, path);
    failed |= writeText(kDefaultPara, "chDepartment", settings.chDepartment, path);
    failed |= writeDouble(kDefaultPara, "dTh30_100", settings.dTh30_100, path);
    failed |= writeDouble(kDefaultPara, "dTh100_300", settings.dTh100_300, path);
    failed |= writeDouble(kDefaultPara, "dTh300_1000", settings.dTh300_1000, path);
    failed |= writeDouble(kDefaultPara, "dTh1000_3000", settings.dTh1000_3000, path);
    failed |= writeInt(kDefaultPara, "nEncoder", settings.nEncoder, path);
    failed |= writeDouble(kDefaultPara, "dWheelDia", settings.dWheelDia, path);

    if (settings.dEncoder > kSavedEncoderMinimum) {
        failed |= writeDouble(kCalibrationPara, "dEncoder", settings.dEncoder, path);
    }
    for (const CalibrationKey& key : calibrationKeys()) {
        failed |=
            writeDouble(kCalibrationPara, key.name.c_str(), calibrationValue(settings, key), path);
    }
    return failed == 0;
}

}  // namespace sundrel::core
