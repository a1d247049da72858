#include "options/option_text.h"

#include <cstdlib>

namespace sundrel::options {
namespace {

// The comma-separated items of a list; an empty text is one empty item.
std::vector<std::string> items(const std::string& text) {
    std::vector<std::string> result;
    std::size_t at = 0;
    while (at <= text.size()) {
        std::size_t comma = text.find(',', at);
        if (comma == std::string::npos) {
            comma = text.size();
        }
        result.push_back(text.substr(at, comma - at));
        at = comma + 1;
    }
    return result;
}

}  // namespace

double number(const std::string& text, const std::string& option) {
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || end != text.c_str() + text.size()) {
        throw OptionError(option + " takes a number, not '" + text + "'");
    }
    return value;
}

std::vector<double> numbers(const std::string& text, const std::string& option) {
    std::vector<double> result;
    for (const std::string& item : items(text)) {
        result.push_back(number(item, option));
    }
    return result;
}

std::vector<std::pair<double, double>> pairs(const std::string& text, const std::string& option) {
    std::vector<std::pair<double, double>> result;
    for (const std::string& item : items(text)) {
        const std::size_t colon = item.find(':');
        if (colon == std::string::npos) {
            throw OptionError(option + " takes A:B pairs separated by commas");
        }
        result.emplace_back(number(item.substr(0, colon), option),
                            number(item.substr(colon + 1), option));
    }
    return result;
}

std::vector<synth::Corrugation> corrugations(const std::string& text, const std::string& option) {
    std::vector<synth::Corrugation> result;
    for (const auto& [wavelength, amplitude] : pairs(text, option)) {
        if (!(wavelength > 0)) {
            throw OptionError(option + ": wavelengths must be positive");
        }
        result.push_back({wavelength, amplitude});
    }
    return result;
}

std::array<synth::SensorCalibration, 8> calibration(const std::string& text,
                                                    const std::string& option) {
    const auto given = pairs(text, option);
    std::array<synth::SensorCalibration, 8> result{};
    if (given.size() != result.size()) {
        throw OptionError(option + " takes eight slope:intercept pairs");
    }
    for (std::size_t k = 0; k < given.size(); ++k) {
        if (given[k].first == 0) {
            throw OptionError(option + ": a slope must not be 0");
        }
        result[k] = {given[k].first, given[k].second};
    }
    return result;
}

}  // namespace sundrel::options
