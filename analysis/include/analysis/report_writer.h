#pragma once

#include <string>

#include "analysis/report_content.h"

namespace sundrel::analysis {

// Where the report template is looked for: Demo/report.xlsx in the working
// folder first, then where the program is installed. Empty when neither exists.
std::string findReportTemplate();

// Writes the content into a copy of the template's first sheet and saves it
// at `outputPath`, creating its folder when missing and replacing an older
// report. On failure returns false with a short reason in `error`.
bool writeReport(const ReportContent& content, const std::string& templatePath,
                 const std::string& outputPath, std::string& error);

// "Report/<start time>.xlsx" (or "Report/default.xlsx") under `folder`.
std::string reportPath(const AnalysisInfoBlock& info, const std::string& folder = ".");

}  // namespace sundrel::analysis
