#include "analysis/report_content.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <vector>

#include "section_records.h"

namespace sundrel::analysis {
namespace {

using testing::sections;

// The text written into a cell (the last write wins), and whether any was.
struct Cells {
    std::map<std::pair<int, int>, std::string> texts;
    std::string operator()(int row, int column) const {
        const auto found = texts.find({row, column});
        return found == texts.end() ? std::string() : found->second;
    }
};

Cells cells(const ReportContent& report) {
    Cells result;
    for (const CellWrite& write : report.writes) {
        result.texts[{write.row, write.column}] = write.text;
    }
    return result;
}

TEST(ReportContent, TwelveSectionsGiveThirteenMergedPairs) {
    DetailTable table;
    const auto left = sections(1, 12);
    const auto right = sections(2, 12);
    table.fill(left.data(), left.size());
    table.fill(right.data(), right.size());
    AnalysisInfoBlock info{};
    std::strcpy(info.lineName, "line");
    std::strcpy(info.startTime, "20261210223000");
    info.forward = 1;
    info.startPosition = 35200.0;
    info.endPosition = 36400.0;
    const ReportContent report = buildReportContent(info, {0.1, 0.2, 0.3, 0.4}, table);

    ASSERT_EQ(report.merges.size(), 13u);
    EXPECT_EQ(report.merges.front(), (CellRange{4, 5, 0, 0}));   // A5:A6
    EXPECT_EQ(report.merges.back(), (CellRange{28, 29, 0, 0}));  // A29:A30
    const Cells cell = cells(report);
    auto written = [&](int row, int column) { return cell.texts.count({row, column}); };
    EXPECT_EQ(cell(1, 1), "line");
    EXPECT_EQ(cell(1, 4), "前进");
    EXPECT_EQ(cell(1, 6), "35km+200m--->36km+400m");
    EXPECT_EQ(cell(1, 15), "20261210223000");
    EXPECT_EQ(cell(2, 2), "30-100mm【阈值:0.100mm】");
    EXPECT_EQ(cell(2, 11), "1000-3000mm【阈值:0.400mm】");
    EXPECT_EQ(cell(4, 0), "0+0-->0+100");
    EXPECT_EQ(cell(26, 0), "0+1100-->0+1200");
    EXPECT_EQ(cell(28, 0), "");  // the table's empty last row
    EXPECT_EQ(cell(4, 1), "左轨");
    EXPECT_EQ(cell(27, 13), "-");  // table row 25, the last right row
    EXPECT_EQ(written(5, 0), 0u);  // column A is written only through merges
    EXPECT_EQ(written(29, 1), 0u);
    EXPECT_EQ(cell(5, 6), "0.100");  // peak-to-peak with three decimals

    // Every failing table cell, and no other, is coloured two rows lower.
    std::vector<CellPosition> expected;
    for (int t = 0; t < table.rowCount(); ++t) {
        for (int c = 0; c < DetailTable::kColumns; ++c) {
            if (table.failing(t, c)) {
                expected.push_back({t + 2, c});
            }
        }
    }
    ASSERT_EQ(expected.size(), 2u * (3u + 6u * 4u) * 3u);  // sections 5 (three bands) to 11
    EXPECT_EQ(report.failing, expected);
    EXPECT_EQ(report.failing.front(), (CellPosition{14, 5}));  // table row 12, section 5, band 2
}

TEST(ReportContent, BeforeAnyAnalysis) {
    const ReportContent report = buildReportContent(AnalysisInfoBlock{}, {}, DetailTable{});
    EXPECT_EQ(report.merges.size(), 12u);  // A5:A6 .. A27:A28 of the 25-row table
    const Cells cell = cells(report);
    EXPECT_EQ(cell(1, 4), "后退");
    EXPECT_EQ(cell(1, 6), "0km+0m--->0km+0m");
    EXPECT_EQ(reportFileName(AnalysisInfoBlock{}), "default.xlsx");
}

TEST(ReportFileName, IsTheStartTimeAndStaysInItsFolder) {
    AnalysisInfoBlock info{};
    std::strcpy(info.startTime, "20261210223000");
    EXPECT_EQ(reportFileName(info), "20261210223000.xlsx");
    std::strcpy(info.startTime, "../../etc/passwd");
    EXPECT_EQ(reportFileName(info), "_._.._etc_passwd.xlsx");
    std::memset(info.startTime, '7', sizeof info.startTime - 1);
    EXPECT_EQ(reportFileName(info).size(), 243u + 5u);
}

}  // namespace
}  // namespace sundrel::analysis
