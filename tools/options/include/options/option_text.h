#pragma once

#include <array>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "synth/recording_synth.h"

// Values of the command-line tools' options, read from their text. Each
// function throws OptionError, whose message names the option, on text it
// cannot take; the tools print it with their usage.
namespace sundrel::options {

class OptionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A whole decimal number, e.g. "2.5" or "1e3".
double number(const std::string& text, const std::string& option);

// Numbers separated by commas, at least one: "3.1,3.2".
std::vector<double> numbers(const std::string& text, const std::string& option);

// A:B pairs separated by commas, at least one: "50:0.02,120:0.01".
std::vector<std::pair<double, double>> pairs(const std::string& text, const std::string& option);

// Corrugations as wavelength mm : amplitude mm pairs; wavelengths > 0.
std::vector<synth::Corrugation> corrugations(const std::string& text, const std::string& option);

// Eight slope:intercept pairs, sensors 1# to 4# of the left box then of the
// right box; slopes (mm per count) must not be 0.
std::array<synth::SensorCalibration, 8> calibration(const std::string& text,
                                                    const std::string& option);

}  // namespace sundrel::options
