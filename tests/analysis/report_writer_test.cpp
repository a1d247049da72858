#include "analysis/report_writer.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <optional>

#include "analysis/report_collector.h"
#include "platform/xlsx_book.h"
#include "platform/xlsx_sheet.h"
#include "synth/recording_synth.h"
#include "test_support/scratch_folder.h"

namespace sundrel::analysis {
namespace {

namespace fs = std::filesystem;

// A recording pair through the engine, into the workbook, and read back.
TEST(ReportWriter, WritesBothRailsOfARecordingIntoTheTemplate) {
    const sundrel::testing::ScratchFolder scratch;
    const fs::path& folder = scratch.path();
    synth::RecordingPlan plan;
    plan.lengthM = 250;
    plan.startPositionM = 1000;
    plan.startTime = "20261210223000";
    plan.lineName = "京沪线";
    plan.right.corrugations = {{450.0, 0.07}};
    const auto pair = synth::writeRecordingPair(plan, folder.string());

    const Thresholds limits = {0.1, 0.1, 0.1, 0.1};
    ReportCollector collector(limits);
    SetWnd(collector.window());
    ASSERT_EQ(Analyse(pair.leftPath.c_str(), 0.1, 0.1, 0.1, 0.1), 0);
    ASSERT_EQ(counterpartPath(pair.leftPath), pair.rightPath);  // whatever the folder is called
    ASSERT_EQ(Analyse(pair.rightPath.c_str(), 0.1, 0.1, 0.1, 0.1), 0);
    SetWnd(nullptr);
    EXPECT_EQ(collector.filesAnalysed(), 2);
    ASSERT_EQ(collector.table().rowCount(), 2 * 3 + 3);

    const std::string output = reportPath(collector.lastInfo(), folder.string());
    EXPECT_EQ(fs::path(output).filename(), "20261210223000.xlsx");
    std::string error;
    ASSERT_TRUE(writeReport(buildReportContent(collector.lastInfo(), limits, collector.table()),
                            SUNDREL_SOURCE_TEMPLATE, output, error))
        << error;  // the Report folder is created on the way

    platform::XlsxBook book;
    ASSERT_TRUE(book.load(output));
    platform::XlsxSheet* sheet = book.sheet(0);
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->text(1, 1), "京沪线");
    EXPECT_EQ(sheet->text(1, 6), "1km+0m--->1km+250m");
    EXPECT_EQ(sheet->text(2, 8), "300-1000mm【阈值:0.100mm】");
    EXPECT_EQ(sheet->text(4, 0), "1+0-->1+100");
    EXPECT_EQ(sheet->text(4, 1), "左轨");
    EXPECT_EQ(sheet->text(5, 1), "右轨");
    EXPECT_NE(sheet->text(5, 8), "0.00%");  // the right rail's 450 mm corrugation exceeds
    EXPECT_NE(sheet->text(5, 8), "");
    EXPECT_EQ(sheet->text(4, 8), "0.00%");
    const auto merges = sheet->mergedRanges();
    EXPECT_NE(std::find(merges.begin(), merges.end(), "A5:A6"), merges.end());
    EXPECT_NE(std::find(merges.begin(), merges.end(), "A9:A10"), merges.end());

    // The failing bands' cells are coloured as on the screen, and only they.
    int coloured = 0;
    for (int t = 2; t < collector.table().rowCount(); ++t) {
        for (int c = 1; c < DetailTable::kColumns; ++c) {
            const bool failing = collector.table().failing(t, c);
            EXPECT_EQ(book.cellFill(*sheet, t + 2, c),
                      failing ? std::optional<std::uint32_t>(kFailingSectionColour) : std::nullopt)
                << t << "," << c;
            coloured += failing ? 1 : 0;
        }
    }
    EXPECT_GE(coloured, 3);  // at least the right rail's 300-1000 mm band somewhere
    EXPECT_EQ(book.cellFill(*sheet, 3, 2), 0xDDEBF7u);  // the template's header keeps its own

    // A second export replaces the first; a missing template is an error.
    ASSERT_TRUE(writeReport(buildReportContent(collector.lastInfo(), limits, collector.table()),
                            SUNDREL_SOURCE_TEMPLATE, output, error));
    EXPECT_FALSE(writeReport({}, (folder / "missing.xlsx").string(), output, error));
    EXPECT_FALSE(error.empty());
}

TEST(ReportTemplatePlaces, WorkingFolderThenBesideTheProgramThenTheInstallPrefix) {
    const std::vector<std::string> places = reportTemplatePlaces("/home/op/runs", "/opt/sd/bin");
    const std::vector<std::string> expected = {
        "/home/op/runs/Demo/report.xlsx",         "/opt/sd/bin/share/sundrel/Demo/report.xlsx",
        "/opt/sd/share/sundrel/Demo/report.xlsx", "/opt/share/sundrel/Demo/report.xlsx",
        "/share/sundrel/Demo/report.xlsx",        SUNDREL_INSTALLED_TEMPLATE_TEXT};
    EXPECT_EQ(places, expected);
    // Near the root, or with the program unknown, fewer places; none twice.
    EXPECT_EQ(reportTemplatePlaces("/", "/bin"),
              (std::vector<std::string>{"/Demo/report.xlsx", "/bin/share/sundrel/Demo/report.xlsx",
                                        "/share/sundrel/Demo/report.xlsx",
                                        SUNDREL_INSTALLED_TEMPLATE_TEXT}));
    EXPECT_EQ(reportTemplatePlaces("/w", ""),
              (std::vector<std::string>{"/w/Demo/report.xlsx", SUNDREL_INSTALLED_TEMPLATE_TEXT}));
}

// Run from a folder without Demo/, as a program started from a data folder:
// the build tree's copy beside the executables is found.
TEST(FindReportTemplate, FindsTheCopyBesideTheProgramFromAnyFolder) {
    const sundrel::testing::ScratchFolder scratch;
    const fs::path previous = fs::current_path();
    fs::current_path(scratch.path());
    ReportTemplate found = findReportTemplate();
    ASSERT_FALSE(found.path.empty()) << missingTemplateText(found.searched);
    EXPECT_EQ(fs::path(found.path).filename(), "report.xlsx");
    EXPECT_NE(found.path, found.searched.front());
    platform::XlsxBook book;
    EXPECT_TRUE(book.load(found.path));

    // The working folder's own template comes first.
    fs::create_directories(scratch.path() / "Demo");
    fs::copy_file(SUNDREL_SOURCE_TEMPLATE, scratch.path() / "Demo" / "report.xlsx");
    found = findReportTemplate();
    EXPECT_EQ(found.path, (scratch.path() / "Demo" / "report.xlsx").string());
    fs::current_path(previous);
}

TEST(MissingTemplateText, ListsThePlacesSearched) {
    EXPECT_EQ(missingTemplateText({"/a/Demo/report.xlsx", "/b/report.xlsx"}),
              "找不到报表模板 report.xlsx，查找过：/a/Demo/report.xlsx、/b/report.xlsx");
}

}  // namespace
}  // namespace sundrel::analysis
