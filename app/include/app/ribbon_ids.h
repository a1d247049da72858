#pragma once

namespace sundrel::app {

// Command ids of the ribbon controls the settings fill and read.
enum RibbonId : int {
    ID_COMBO_PORT_NO_LEFT = 32771,
    ID_COMBO_CRC = 32772,
    ID_COMBO_STOP_BIT = 32773,
    ID_COMBO_PORT_NO_RIGHT = 32774,
    IDC_COMBO_RATE = 32775,
    IDC_COMBO_DATA_BITS = 32776,
    ID_LINE_NAME = 32791,
    ID_FILE_PATH = 32801,
    ID_OPERATION_STAFF = 32804,
    ID_OPERATION_DEPARTMENT = 32805,
    ID_THRESHOLD_30_100 = 32844,
    ID_THRESHOLD_100_300 = 32845,
    ID_THRESHOLD_300_1000 = 32846,
    ID_THRESHOLD_1000_3000 = 32847,
    ID_EDIT_WHEEL_DIA = 32849,
    ID_EDIT_ENCODER_NUM = 32850,
};

}  // namespace sundrel::app
