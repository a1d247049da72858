#include "analysis/analysis_rules.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
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

std::size_t fileNameStart(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? 0 : slash + 1;
}

}  // namespace

std::string counterpartPath(const std::string& path) {
    const std::size_t start = fileNameStart(path);
    const std::string name = path.substr(start);
    const std::size_t underscore = name.find('_');
    if (underscore == std::string::npos) {
        return path;
    }
    const std::size_t dot = name.find('.');
    const std::string word = dot != std::string::npos && dot > underscore
                                 ? name.substr(underscore + 1, dot - underscore - 1)
                                 : std::string();
    if (word == "left") {
        return path.substr(0, start) + replaceAll(name, "left", "right");
    }
    if (word == "right") {
        return path.substr(0, start) + replaceAll(name, "right", "left");
    }
    return path;
}

bool isRecordingName(const std::string& path) {
    return path.find('_', fileNameStart(path)) != std::string::npos;
}

RailFiles railFiles(const std::string& chosen) {
    namespace fs = std::filesystem;
    RailFiles files{chosen, std::nullopt, {}};
    const std::string other = counterpartPath(chosen);
    std::error_code ignored;
    // A second spelling of the chosen file ("./x" for "x", a link) would
    // draw one rail twice.
    if (other != chosen && fs::is_regular_file(other, ignored) &&
        !fs::equivalent(chosen, other, ignored)) {
        files.other = other;
    } else {
        files.missingOther = other;
    }
    return files;
}

std::string otherRailMissingText(const RailFiles& files) {
    if (files.other) {
        return {};
    }
    if (files.missingOther == files.chosen) {
        return "未找到另一股钢轨的数据文件（文件名中没有 _left 或 _right），只分析了所选文件";
    }
    return "未找到另一股钢轨的数据文件 " + files.missingOther + "，只分析了所选文件";
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
