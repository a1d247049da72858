#include "analysis/report_writer.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/xlsx_book.h"
#include "platform/xlsx_sheet.h"

namespace sundrel::analysis {

std::vector<std::string> reportTemplatePlaces(const std::string& workingFolder,
                                              const std::string& programFolder) {
    namespace fs = std::filesystem;
    std::vector<fs::path> places{fs::path(workingFolder) / "Demo" / "report.xlsx"};
    if (!programFolder.empty()) {
        fs::path folder = fs::path(programFolder).lexically_normal();
        for (int up = 0; up <= 3; ++up) {
            places.push_back(folder / "share" / "sundrel" / "Demo" / "report.xlsx");
            if (!folder.has_relative_path()) {
                break;  // the root has no parent
            }
            folder = folder.parent_path();
        }
    }
    places.emplace_back(SUNDREL_INSTALLED_TEMPLATE);
    std::vector<std::string> texts;
    for (const fs::path& place : places) {
        const std::string text = place.lexically_normal().string();
        if (std::find(texts.begin(), texts.end(), text) == texts.end()) {
            texts.push_back(text);
        }
    }
    return texts;
}

ReportTemplate findReportTemplate() {
    namespace fs = std::filesystem;
    std::error_code ignored;
    const fs::path working = fs::current_path(ignored);
    const fs::path program = fs::read_symlink("/proc/self/exe", ignored);
    ReportTemplate found;
    found.searched = reportTemplatePlaces(working.string(), program.parent_path().string());
    for (const std::string& place : found.searched) {
        if (fs::is_regular_file(place, ignored)) {
            found.path = place;
            break;
        }
    }
    return found;
}

std::string missingTemplateText(const std::vector<std::string>& searched) {
    std::string text = "找不到报表模板 report.xlsx，查找过：";
    for (std::size_t i = 0; i < searched.size(); ++i) {
        text += (i == 0 ? "" : "、") + searched[i];
    }
    return text;
}

std::string reportPath(const AnalysisInfoBlock& info, const std::string& folder) {
    return (std::filesystem::path(folder) / "Report" / reportFileName(info)).string();
}

bool writeReport(const ReportContent& content, const std::string& templatePath,
                 const std::string& outputPath, std::string& error) {
    platform::XlsxBook book;
    if (templatePath.empty() || !book.load(templatePath)) {
        error = "无法读取报表模板 " + templatePath;
        return false;
    }
    if (platform::XlsxSheet* sheet = book.sheet(0)) {
        for (const CellRange& range : content.merges) {
            sheet->merge(range.firstRow, range.lastRow, range.firstColumn, range.lastColumn);
        }
        for (const CellWrite& write : content.writes) {
            sheet->writeText(write.row, write.column, write.text);
        }
        for (const CellPosition& cell : content.failing) {
            // A template without cell formats gets no colours; the texts stand.
            book.setCellFill(*sheet, cell.row, cell.column, kFailingSectionColour);
        }
    }
    const std::filesystem::path output(outputPath);
    std::error_code failed;
    if (output.has_parent_path()) {
        std::filesystem::create_directories(output.parent_path(), failed);
    }
    if (failed || !book.save(outputPath)) {
        error = "无法保存报表 " + outputPath;
        return false;
    }
    return true;
}

}  // namespace sundrel::analysis
