#pragma once

#include <string>
#include <vector>

#include "analysis/analysis_rules.h"
#include "analysis/detail_table.h"
#include "kestova/kestova.h"

namespace sundrel::analysis {

struct CellWrite {
    int row;           // from 0
    int column;        // from 0
    std::string text;  // UTF-8
};

struct CellPosition {
    int row;     // from 0
    int column;  // from 0
    bool operator==(const CellPosition&) const = default;
};

// What the spreadsheet report writes into the first sheet of its template,
// in the order it is written: the run's information in row 2, the band
// thresholds in row 3, and from row 5 on the detailed table, its section
// texts in merged cell pairs of column A; the cells of failing bands
// (DetailTable::failing) take kFailingSectionColour as their fill.
struct ReportContent {
    std::vector<CellWrite> writes;
    std::vector<CellRange> merges;
    std::vector<CellPosition> failing;
};

ReportContent buildReportContent(const AnalysisInfoBlock& info, const Thresholds& thresholds,
                                 const DetailTable& table);

// The report's file name: the run's start time text and ".xlsx", or
// "default.xlsx" when it is empty. Characters that could leave the report
// folder ('/', a leading '.') become '_', and the name is cut to 243 bytes.
std::string reportFileName(const AnalysisInfoBlock& info);

}  // namespace sundrel::analysis
