#include "acquisition/ui/ribbon_run_setup.h"

#include <cstdlib>

#include "core/profile_helpers.h"
#include "core/ribbon_ids.h"

namespace sundrel::acquisition {
namespace {

QString q(const char* utf8) {
    return QString::fromUtf8(utf8);
}

std::string ribbonText(const core::RibbonControls& ribbon, int id) {
    return ribbon.text(id).toStdString();
}

// The digits of a text ("COM3" → 3); 0 without any.
int digitsOf(const std::string& text) {
    std::string digits;
    for (const char c : text) {
        if (c >= '0' && c <= '9') {
            digits += c;
        }
    }
    return digits.empty() || digits.size() > 9 ? 0 : std::atoi(digits.c_str());
}

// The number in a text with everything but digits and '.' left out.
double decimalOf(const std::string& text) {
    std::string kept;
    for (const char c : text) {
        if ((c >= '0' && c <= '9') || c == '.') {
            kept += c;
        }
    }
    return std::atof(kept.c_str());
}

}  // namespace

RunSetup runSetupFromRibbon(const core::RibbonControls& ribbon,
                            const core::SettingsRecord& settings) {
    RunSetup setup;
    setup.leftPort = digitsOf(ribbonText(ribbon, core::ID_COMBO_PORT_NO_LEFT));
    setup.rightPort = digitsOf(ribbonText(ribbon, core::ID_COMBO_PORT_NO_RIGHT));
    const std::string parity = ribbonText(ribbon, core::ID_COMBO_CRC);
    setup.parity = parity.empty() ? '\0' : parity[0];
    setup.stopBits = core::leadingInt(ribbonText(ribbon, core::ID_COMBO_STOP_BIT));
    setup.baud = core::leadingInt(ribbonText(ribbon, core::IDC_COMBO_RATE));
    setup.dataBits = core::leadingInt(ribbonText(ribbon, core::IDC_COMBO_DATA_BITS));
    setup.forward = ribbon.text(core::ID_COMBO_RUN_PATH) != q("后退");
    setup.lineName = ribbonText(ribbon, core::ID_LINE_NAME);
    setup.leftName = ribbonText(ribbon, core::ID_EDIT_FILE_NAME_LEFT);
    setup.rightName = ribbonText(ribbon, core::ID_EDIT_FILE_NAME_RIGHT);
    setup.folder = ribbonText(ribbon, core::ID_FILE_PATH);
    setup.staffName = ribbonText(ribbon, core::ID_OPERATION_STAFF);
    setup.department = ribbonText(ribbon, core::ID_OPERATION_DEPARTMENT);
    setup.positionM = decimalOf(ribbonText(ribbon, core::ID_EDIT_KM_POS));
    setup.collectionCommand = settings.nCollectionCommand;
    setup.dataBytesTrigger = settings.nDataBytesTrigger;
    return setup;
}

}  // namespace sundrel::acquisition
