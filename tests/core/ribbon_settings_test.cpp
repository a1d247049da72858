#include "core/ribbon_settings.h"

#include <gtest/gtest.h>

#include <cstring>

#include "core/ribbon_ids.h"

namespace sundrel::core {
namespace {

TEST(RibbonSettings, TextsOfTheSettings) {
    EXPECT_EQ(portText(3), "COM3");
    EXPECT_EQ(portText(12), "COM12");  // the combo lists COM1..COM10: selects nothing
    struct ParityCase {
        char letter;
        const char* text;
    };
    for (const ParityCase c : {ParityCase{'E', "EVEN"}, ParityCase{'O', "ODD"},
                               ParityCase{'N', "NONE"}, ParityCase{'X', "NONE"}}) {
        EXPECT_EQ(parityText(c.letter), c.text) << c.letter;
    }
    EXPECT_EQ(threeDecimalsText(0.1), "0.100");
    EXPECT_EQ(threeDecimalsText(150.4567), "150.457");
    EXPECT_EQ(integerText(115200), "115200");
}

TEST(RibbonSettings, EveryControlGetsItsValue) {
    SettingsRecord settings{};
    settings.nPortLeft = 4;
    settings.chParity = 'O';
    settings.nBaud = 19200;
    settings.dTh300_1000 = 0.25;
    settings.nEncoder = 2500;
    std::strcpy(settings.chLineName, "京沪线");
    const auto values = ribbonValuesFromSettings(settings);
    ASSERT_EQ(values.size(), 16u);
    auto valueOf = [&](int id) {
        for (const RibbonValue& v : values) {
            if (v.commandId == id) {
                return v.text;
            }
        }
        return std::string("(none)");
    };
    EXPECT_EQ(valueOf(ID_COMBO_PORT_NO_LEFT), "COM4");
    EXPECT_EQ(valueOf(ID_COMBO_CRC), "ODD");
    EXPECT_EQ(valueOf(IDC_COMBO_RATE), "19200");
    EXPECT_EQ(valueOf(ID_THRESHOLD_300_1000), "0.250");
    EXPECT_EQ(valueOf(ID_EDIT_ENCODER_NUM), "2500");
    EXPECT_EQ(valueOf(ID_LINE_NAME), "京沪线");
}

}  // namespace
}  // namespace sundrel::core
