#pragma once

#include <string>
#include <vector>

#include "core/settings_record.h"

namespace sundrel::core {

// Texts the ribbon shows for settings values.
std::string portText(int port);               // "COM%d"
std::string parityText(char parity);          // 'E' "EVEN", 'O' "ODD", anything else "NONE"
std::string integerText(int value);           // "%d": baud, data and stop bits, encoder pulses
std::string threeDecimalsText(double value);  // "%.3f": thresholds and wheel diameter

// What a ribbon control is set to from the settings: a combo box selects the
// item with exactly this text (none when no item has it), an edit shows it.
struct RibbonValue {
    int commandId;
    std::string text;
};

// Every control the settings fill, in the order they are filled.
std::vector<RibbonValue> ribbonValuesFromSettings(const SettingsRecord& settings);

}  // namespace sundrel::core
