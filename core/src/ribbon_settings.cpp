#include "core/ribbon_settings.h"

#include "core/number_text.h"
#include "core/ribbon_ids.h"
#include "platform/gbk_text.h"

namespace sundrel::core {
namespace {

std::string fieldText(const char (&field)[kSettingsTextSize]) {
    return std::string(platform::readGbkField(field, kSettingsTextSize));
}

}  // namespace

std::string portText(int port) {
    return "COM" + std::to_string(port);
}

std::string parityText(char parity) {
    switch (parity) {
        case 'E':
            return "EVEN";
        case 'O':
            return "ODD";
        default:
            return "NONE";
    }
}

std::string integerText(int value) {
    return std::to_string(value);
}

std::string threeDecimalsText(double value) {
    return fixedText(value, 3);
}

std::vector<RibbonValue> ribbonValuesFromSettings(const SettingsRecord& settings) {
    return {
        {ID_COMBO_PORT_NO_LEFT, portText(settings.nPortLeft)},
        {ID_COMBO_PORT_NO_RIGHT, portText(settings.nPortRight)},
        {ID_COMBO_CRC, parityText(settings.chParity)},
        {ID_COMBO_STOP_BIT, integerText(settings.nStopbits)},
        {IDC_COMBO_RATE, integerText(settings.nBaud)},
        {IDC_COMBO_DATA_BITS, integerText(settings.nDatabits)},
        {ID_LINE_NAME, fieldText(settings.chLineName)},
        {ID_FILE_PATH, fieldText(settings.chFilePath)},
        {ID_OPERATION_STAFF, fieldText(settings.chStaffName)},
        {ID_OPERATION_DEPARTMENT, fieldText(settings.chDepartment)},
        {ID_THRESHOLD_30_100, threeDecimalsText(settings.dTh30_100)},
        {ID_THRESHOLD_100_300, threeDecimalsText(settings.dTh100_300)},
        {ID_THRESHOLD_300_1000, threeDecimalsText(settings.dTh300_1000)},
        {ID_THRESHOLD_1000_3000, threeDecimalsText(settings.dTh1000_3000)},
        {ID_EDIT_WHEEL_DIA, threeDecimalsText(settings.dWheelDia)},
        {ID_EDIT_ENCODER_NUM, integerText(settings.nEncoder)},
    };
}

}  // namespace sundrel::core
