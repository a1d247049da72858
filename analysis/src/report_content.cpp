#include "analysis/report_content.h"

#include "platform/gbk_text.h"

namespace sundrel::analysis {
namespace {

template <std::size_t N>
std::string utf8(const char (&field)[N]) {
    return platform::gbkToUtf8(platform::readGbkField(field, N));
}

constexpr std::size_t kLongestStartTime = 243;

}  // namespace

ReportContent buildReportContent(const AnalysisInfoBlock& info, const Thresholds& thresholds,
                                 const DetailTable& table) {
    ReportContent report;
    auto write = [&](int row, int column, std::string text) {
        report.writes.push_back({row, column, std::move(text)});
    };
    write(1, 1, utf8(info.lineName));
    write(1, 9, utf8(info.department));
    write(1, 12, utf8(info.staffName));
    write(1, 15, utf8(info.startTime));
    for (std::size_t band = 0; band < 4; ++band) {
        write(2, 2 + 3 * static_cast<int>(band), bandThresholdHeader(band, thresholds[band]));
    }
    write(1, 4, directionText(info.forward != 0));
    write(1, 6, kilometreRangeText(info.startPosition, info.endPosition));

    const int rows = table.rowCount();
    if (rows > 2) {
        for (int j = 0; j <= (rows - 3) / 2; ++j) {
            report.merges.push_back({4 + 2 * j, 5 + 2 * j, 0, 0});
            write(4 + 2 * j, 0, table.text(2 + 2 * j, 0));
        }
        for (int t = 2; t < rows; ++t) {
            for (int c = 1; c < DetailTable::kColumns; ++c) {
                write(t + 2, c, table.text(t, c));
                if (table.failing(t, c)) {
                    report.failing.push_back({t + 2, c});
                }
            }
        }
    }
    return report;
}

std::string reportFileName(const AnalysisInfoBlock& info) {
    std::string name(platform::readGbkField(info.startTime, sizeof info.startTime));
    if (name.empty()) {
        return "default.xlsx";
    }
    name.resize(platform::gbkPrefixLength(name, kLongestStartTime));
    for (char& c : name) {
        if (c == '/') {
            c = '_';
        }
    }
    if (name.front() == '.') {
        name.front() = '_';
    }
    return platform::gbkToUtf8(name) + ".xlsx";
}

}  // namespace sundrel::analysis
