#include "core/settings_file.h"

#include <cstddef>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/profile_helpers.h"
#include "platform/atomic_file.h"
#include "platform/private_profile.h"

namespace sundrel::core {
namespace {

constexpr const char* kPortInfo = "PORT_INFO";
constexpr const char* kDefaultPara = "DEFAULT_PARA";
constexpr const char* kCalibrationPara = "CALIBRATION_PARA";

// Only a distance per frame above this is worth keeping: the wheel and
// encoder check never gives less.
constexpr double kSavedEncoderMinimum = 0.003;

enum class Kind { Int, Double, Char, Text };

// One key of config.ini and the record field it holds. The record is packed:
// fields are reached by their offset and copied by value, never through
// references or pointers to them.
struct SettingKey {
    const char* section;
    std::string name;
    Kind kind;
    std::size_t offset;
    bool saved;
};

#define SUNDREL_KEY(section, field, kind, saved)                      \
    SettingKey {                                                      \
        section, #field, kind, offsetof(SettingsRecord, field), saved \
    }

std::size_t calibrationOffset(bool left, std::size_t sensor, bool slope) {
    return (left ? offsetof(SettingsRecord, leftEddy) : offsetof(SettingsRecord, rightEddy)) +
           sensor * sizeof(acquisition::EddyCalibration) +
           (slope ? offsetof(acquisition::EddyCalibration, slope)
                  : offsetof(acquisition::EddyCalibration, intercept));
}

// Every key in the order of a load; the saved ones are in the order of a save.
const std::vector<SettingKey>& settingKeys() {
    static const std::vector<SettingKey> keys = [] {
        std::vector<SettingKey> table = {
            SUNDREL_KEY(kPortInfo, nPortLeft, Kind::Int, true),
            SUNDREL_KEY(kPortInfo, nPortRight, Kind::Int, true),
            SUNDREL_KEY(kPortInfo, nBaud, Kind::Int, true),
            SUNDREL_KEY(kPortInfo, chParity, Kind::Char, true),
            SUNDREL_KEY(kPortInfo, nDatabits, Kind::Int, true),
            SUNDREL_KEY(kPortInfo, nStopbits, Kind::Int, true),
            SUNDREL_KEY(kPortInfo, nCollectionCommand, Kind::Int, true),
            SUNDREL_KEY(kPortInfo, nDataBytesTrigger, Kind::Int, false),
            SUNDREL_KEY(kDefaultPara, nColor, Kind::Int, true),
            SUNDREL_KEY(kDefaultPara, chFilePath, Kind::Text, true),
            SUNDREL_KEY(kDefaultPara, chLineName, Kind::Text, true),
            SUNDREL_KEY(kDefaultPara, chStaffName, Kind::Text, true),
            SUNDREL_KEY(kDefaultPara, chDepartment, Kind::Text, true),
            SUNDREL_KEY(kDefaultPara, nSerialReserveData, Kind::Int, false),
            SUNDREL_KEY(kDefaultPara, dYmin, Kind::Double, false),
            SUNDREL_KEY(kDefaultPara, dYmax, Kind::Double, false),
            SUNDREL_KEY(kDefaultPara, dXmin, Kind::Double, false),
            SUNDREL_KEY(kDefaultPara, dXmax, Kind::Double, false),
            SUNDREL_KEY(kDefaultPara, dTh30_100, Kind::Double, true),
            SUNDREL_KEY(kDefaultPara, dTh100_300, Kind::Double, true),
            SUNDREL_KEY(kDefaultPara, dTh300_1000, Kind::Double, true),
            SUNDREL_KEY(kDefaultPara, dTh1000_3000, Kind::Double, true),
            SUNDREL_KEY(kDefaultPara, nEncoder, Kind::Int, true),
            SUNDREL_KEY(kDefaultPara, dWheelDia, Kind::Double, true),
            SUNDREL_KEY(kDefaultPara, dThLine1, Kind::Double, false),
            SUNDREL_KEY(kDefaultPara, dThLine2, Kind::Double, false),
            SUNDREL_KEY(kCalibrationPara, dEncoder, Kind::Double, true),
        };
        // dLeftEddy1Slope, dLeftEddy1Intercept, ... dRightEddy4Intercept.
        for (const bool left : {true, false}) {
            for (std::size_t k = 0; k < 4; ++k) {
                const std::string stem =
                    std::string(left ? "dLeftEddy" : "dRightEddy") + std::to_string(k + 1);
                for (const bool slope : {true, false}) {
                    table.push_back({kCalibrationPara, stem + (slope ? "Slope" : "Intercept"),
                                     Kind::Double, calibrationOffset(left, k, slope), true});
                }
            }
        }
        return table;
    }();
    return keys;
}

#undef SUNDREL_KEY

template <typename T>
T fieldValue(const SettingsRecord& settings, std::size_t offset) {
    T value;
    std::memcpy(&value, reinterpret_cast<const char*>(&settings) + offset, sizeof value);
    return value;
}

template <typename T>
void setField(SettingsRecord& settings, std::size_t offset, T value) {
    std::memcpy(reinterpret_cast<char*>(&settings) + offset, &value, sizeof value);
}

// The value of a key as a save writes it.
std::string fileText(const SettingsRecord& settings, const SettingKey& key) {
    switch (key.kind) {
        case Kind::Int:
            return std::to_string(fieldValue<std::int32_t>(settings, key.offset));
        case Kind::Double:
            return formatSixDecimals(fieldValue<double>(settings, key.offset));
        case Kind::Char: {
            const char c = fieldValue<char>(settings, key.offset);
            return c == '\0' ? std::string() : std::string(1, c);
        }
        case Kind::Text: {
            const char* field = reinterpret_cast<const char*>(&settings) + key.offset;
            return std::string(field, strnlen(field, kSettingsTextSize));
        }
    }
    return {};
}

// Sets the field of a key from its text in the file, as the typed reads
// convert it.
void setFromFile(SettingsRecord& settings, const SettingKey& key, const std::string& text) {
    switch (key.kind) {
        case Kind::Int:
            setField(settings, key.offset, leadingInt(text));
            break;
        case Kind::Double:
            setField(settings, key.offset, leadingDouble(text));
            break;
        case Kind::Char:
            setField(settings, key.offset, text.empty() ? '\0' : text.front());
            break;
        case Kind::Text:
            copyText(reinterpret_cast<char*>(&settings) + key.offset, kSettingsTextSize, text);
            break;
    }
}

bool isEncoder(const SettingKey& key) {
    return key.offset == offsetof(SettingsRecord, dEncoder);
}

}  // namespace

void copyEncoderAndCalibration(const SettingsRecord& settings, acquisition::RawFileHeader& header) {
    std::memcpy(&header.dEncoder, &settings.dEncoder, kEncoderAndCalibrationBytes);
}

SettingsFile::SettingsFile(std::string path) : path_(std::move(path)) {}

acquisition::StatusCode SettingsFile::load(SettingsRecord& settings) {
    written_.clear();
    for (const SettingKey& key : settingKeys()) {
        if (path_.empty()) {
            break;
        }
        if (const std::optional<std::string> text =
                platform::findProfileString(key.section, key.name, path_)) {
            setFromFile(settings, key, *text);
            written_.insert(key.name);
        }
    }
    asLoaded_ = settings;
    loaded_ = true;
    const bool portGiven = written_.count("nPortLeft") != 0 && settings.nPortLeft != 0;
    if (settings.nPortLeft == 0) {
        settings.nPortLeft = kDefaultPortLeft;
    }
    if (settings.nPortRight == 0) {
        settings.nPortRight = kDefaultPortRight;
    }
    return portGiven ? acquisition::StatusCode::Success
                     : acquisition::StatusCode::ConfigurationFileError;
}

bool SettingsFile::save(const SettingsRecord& settings) {
    if (path_.empty()) {
        return false;
    }
    std::vector<platform::ProfileEntry> entries;
    for (const SettingKey& key : settingKeys()) {
        if (!key.saved || (isEncoder(key) && !(settings.dEncoder > kSavedEncoderMinimum))) {
            continue;
        }
        std::string text = fileText(settings, key);
        if (loaded_ && written_.count(key.name) == 0 && text == fileText(asLoaded_, key)) {
            continue;  // the program never knew this key and did not change it
        }
        entries.push_back({key.section, key.name, std::move(text)});
    }
    if (entries.empty()) {
        return true;
    }
    if (!platform::writeProfileStrings(entries, path_)) {
        return false;
    }
    for (const platform::ProfileEntry& entry : entries) {
        written_.insert(entry.key);
    }
    return true;
}

bool copyDefaultSettings(const std::string& defaultPath, const std::string& path) {
    std::error_code error;
    if (path.empty() || defaultPath.empty() || std::filesystem::exists(path, error) || error) {
        return false;
    }
    std::ifstream in(defaultPath, std::ios::binary);
    const std::string content((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
    if (!in.is_open() || in.bad()) {
        return false;
    }
    return platform::replaceFileAtomically(path, content);
}

acquisition::StatusCode loadSettings(SettingsRecord& settings, const std::string& path) {
    return SettingsFile(path).load(settings);
}

bool saveSettings(const SettingsRecord& settings, const std::string& path) {
    return SettingsFile(path).save(settings);
}

}  // namespace sundrel::core
