#pragma once

#include <string>
#include <vector>

#include "analysis/report_content.h"

namespace sundrel::analysis {

// Where the report template is looked for, in this order, without
// repetitions: Demo/report.xlsx in `workingFolder`; share/sundrel/Demo/
// report.xlsx in `programFolder` and in each of its three nearest parent
// folders (the installed layout, bin/../share, and the build tree, which
// copies the template there); the install prefix's copy.
std::vector<std::string> reportTemplatePlaces(const std::string& workingFolder,
                                              const std::string& programFolder);

// The first of the places above that holds a file, for the working folder and
// the folder of the running program; `path` is empty when none does.
struct ReportTemplate {
    std::string path;
    std::vector<std::string> searched;
};
ReportTemplate findReportTemplate();

// "找不到报表模板 report.xlsx，查找过：..." with the places searched.
std::string missingTemplateText(const std::vector<std::string>& searched);

// Writes the content into a copy of the template's first sheet and saves it
// at `outputPath`, creating its folder when missing and replacing an older
// report. On failure returns false with a short reason in `error`, in
// Chinese for the status bar.
bool writeReport(const ReportContent& content, const std::string& templatePath,
                 const std::string& outputPath, std::string& error);

// "Report/<start time>.xlsx" (or "Report/default.xlsx") under `folder`.
std::string reportPath(const AnalysisInfoBlock& info, const std::string& folder = ".");

}  // namespace sundrel::analysis
