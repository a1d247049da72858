#pragma once

#include <optional>
#include <string>

namespace sundrel::analysis {

// "%dkm+%.2fm" of a position in metres, rounded to the centimetre first; the
// km part truncated toward zero as everywhere else (-500.5 m is "0km+-500.50m").
std::string kmMetreHundredthsText(double metres);

// The status bar's readout under the cursor of a waveform view:
// "位置：35km+200.25m    左轨：0.123mm    右轨：-0.045mm", a rail without
// data left out.
std::string cursorReadoutText(double metres, std::optional<double> leftMm,
                              std::optional<double> rightMm);

}  // namespace sundrel::analysis
