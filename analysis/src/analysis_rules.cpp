#include "analysis/analysis_rules.h"

#include <cmath>
#include <cstdio>
#include <limits>

#include "core/number_text.h"
#include "core/profile_helpers.h"
#include "kestova/km_post.h"

namespace sundrel::analysis {
namespace {

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
    std::size_t at = 0;
    while ((at = text.find(from, at)) != std::string::npos) {
        text.replace(at, from.size(), to);
        at += to.size();
    }
    return text;
}

}  // namespace

std::string counterpartPath(const std::string& path) {
    const std::size_t underscore = path.find('_');
    if (underscore == std::string::npos) {
        return path;
    }
    const std::size_t dot = path.find('.');
    const std::string word = dot != std::string::npos && dot > underscore
                                 ? path.substr(underscore + 1, dot - underscore - 1)
                                 : std::string();
    if (word == "left") {
        return replaceAll(path, "left", "right");
    }
    if (word == "right") {
        return replaceAll(path, "right", "left");
    }
    return path;
}

ThresholdCheck checkThresholds(const std::array<std::string, 4>& texts) {
    ThresholdCheck check;
    for (std::size_t band = 0; band < texts.size(); ++band) {
        const double value = core::leadingDouble(texts[band]);
        if (!(value >= 0.001 && value <= 1.0)) {
            check.rejectedBand = band;
            return check;
        }
        check.values[band] = value;
    }
    return check;
}

const char* thresholdRejectionText(std::size_t band) {
    static constexpr const char* kTexts[4] = {
        "30-100mm波段阈值设置不合理！", "100-300mm波段阈值设置不合理！",
        "300-1000mm波段阈值设置不合理！", "1000-3000mm波段阈值设置不合理！"};
    return band < 4 ? kTexts[band] : "";
}

std::string kilometreRangeText(double startMetres, double endMetres) {
    return kestova::kmMetreText(kestova::kmPostOf(startMetres)) + "--->" +
           kestova::kmMetreText(kestova::kmPostOf(endMetres));
}

const char* directionText(bool forward) {
    return forward ? "前进" : "后退";
}

const char* bandName(std::size_t band) {
    static constexpr const char* kNames[4] = {"30-100mm", "100-300mm", "300-1000mm", "1000-3000mm"};
    return band < 4 ? kNames[band] : "";
}

std::string bandThresholdHeader(std::size_t band, double threshold) {
    return std::string(bandName(band)) + "【阈值:" + core::fixedText(threshold, 3) + "mm】";
}

}  // namespace sundrel::analysis
