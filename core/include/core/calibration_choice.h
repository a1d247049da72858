#pragma once

namespace sundrel::core {

// The calibration side and sensor chosen on the ribbon: exactly one side and
// one sensor at any time; a click on a set box leaves it set.
struct CalibrationChoice {
    enum class Side { Left, Right };
    Side side = Side::Left;
    int sensor = 1;  // 1..4

    void chooseSide(Side chosen) { side = chosen; }
    void chooseSensor(int chosen) {
        if (chosen >= 1 && chosen <= 4) {
            sensor = chosen;
        }
    }
};

}  // namespace sundrel::core
