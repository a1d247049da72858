#include "analysis/report_writer.h"

#include <filesystem>
#include <system_error>

#include "platform/xlsx_book.h"
#include "platform/xlsx_sheet.h"

namespace sundrel::analysis {

std::string findReportTemplate() {
    namespace fs = std::filesystem;
    std::error_code ignored;
    for (const fs::path& candidate :
         {fs::path("Demo") / "report.xlsx", fs::path(SUNDREL_INSTALLED_TEMPLATE)}) {
        if (fs::is_regular_file(candidate, ignored)) {
            return candidate.string();
        }
    }
    return {};
}

std::string reportPath(const AnalysisInfoBlock& info, const std::string& folder) {
    return (std::filesystem::path(folder) / "Report" / reportFileName(info)).string();
}

bool writeReport(const ReportContent& content, const std::string& templatePath,
                 const std::string& outputPath, std::string& error) {
    platform::XlsxBook book;
    if (templatePath.empty() || !book.load(templatePath)) {
        error = "cannot load the report template " + templatePath;
        return false;
    }
    if (platform::XlsxSheet* sheet = book.sheet(0)) {
        for (const CellRange& range : content.merges) {
            sheet->merge(range.firstRow, range.lastRow, range.firstColumn, range.lastColumn);
        }
        for (const CellWrite& write : content.writes) {
            sheet->writeText(write.row, write.column, write.text);
        }
    }
    const std::filesystem::path output(outputPath);
    std::error_code failed;
    if (output.has_parent_path()) {
        std::filesystem::create_directories(output.parent_path(), failed);
    }
    if (failed || !book.save(outputPath)) {
        error = "cannot save the report " + outputPath;
        return false;
    }
    return true;
}

}  // namespace sundrel::analysis
