// sundrel-report: writes the spreadsheet report of a recording pair without
// the program, for crews that process many runs.
//
//   sundrel-report [--limits T1,T2,T3,T4] [-o OUT.xlsx] FILE.raw
#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "analysis/analysis_rules.h"
#include "analysis/report_collector.h"
#include "analysis/report_content.h"
#include "analysis/report_writer.h"
#include "kestova/kestova.h"

namespace {

constexpr const char* kUsage =
    "usage: sundrel-report [--limits T1,T2,T3,T4] [-o OUT.xlsx] FILE.raw\n"
    "  Analyses FILE.raw and the other rail's file of the same run, and writes\n"
    "  the report (default Report/<start time>.xlsx) from the template\n"
    "  Demo/report.xlsx of the working folder or the one installed with the program.\n"
    "  --limits  peak-to-peak limits of the four bands, mm, each 0.001..1 (0.1)\n";

int usageError(const std::string& message) {
    std::fprintf(stderr, "sundrel-report: %s\n%s", message.c_str(), kUsage);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::array<std::string, 4> limitTexts = {"0.1", "0.1", "0.1", "0.1"};
    std::string output;
    std::string input;
    const std::vector<std::string> args(argv + 1, argv + argc);
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            std::printf("%s", kUsage);
            return 0;
        }
        if (arg == "--limits" && i + 1 < args.size()) {
            const std::string& list = args[++i];
            std::size_t at = 0;
            for (std::size_t band = 0; band < 4; ++band) {
                const std::size_t comma = list.find(',', at);
                if ((band < 3) == (comma == std::string::npos)) {
                    return usageError("--limits takes four numbers separated by commas");
                }
                limitTexts[band] =
                    list.substr(at, comma == std::string::npos ? std::string::npos : comma - at);
                at = comma + 1;
            }
        } else if (arg == "-o" && i + 1 < args.size()) {
            output = args[++i];
        } else if (!arg.empty() && arg[0] == '-') {
            return usageError("unknown option '" + arg + "'");
        } else if (input.empty()) {
            input = arg;
        } else {
            return usageError("one recording at a time");
        }
    }
    if (input.empty()) {
        return usageError("no recording given");
    }
    const sundrel::analysis::ThresholdCheck check = sundrel::analysis::checkThresholds(limitTexts);
    if (check.rejectedBand) {
        std::fprintf(stderr, "sundrel-report: %s\n",
                     sundrel::analysis::thresholdRejectionText(*check.rejectedBand));
        return 2;
    }

    sundrel::analysis::ReportCollector collector(check.values);
    SetWnd(collector.window());
    const auto& t = check.values;
    const int first = Analyse(input.c_str(), t[0], t[1], t[2], t[3]);
    const sundrel::analysis::RailFiles files = sundrel::analysis::railFiles(input);
    const int second =
        files.other ? Analyse(files.other->c_str(), t[0], t[1], t[2], t[3]) : KESTOVA_OK;
    SetWnd(nullptr);
    if (first != KESTOVA_OK) {
        std::fprintf(stderr, "sundrel-report: %s could not be analysed (%d)\n", input.c_str(),
                     first);
        return 1;
    }
    if (!files.other) {
        std::fprintf(stderr, "sundrel-report: %s; the report has one rail\n",
                     files.missingOther == input ? "the file name has no _left or _right"
                                                 : ("no file " + files.missingOther).c_str());
    } else if (second != KESTOVA_OK) {
        std::fprintf(stderr,
                     "sundrel-report: %s could not be analysed (%d); the report has one rail\n",
                     files.other->c_str(), second);
    }

    const auto content =
        sundrel::analysis::buildReportContent(collector.lastInfo(), t, collector.table());
    if (output.empty()) {
        output = sundrel::analysis::reportPath(collector.lastInfo());
    }
    const sundrel::analysis::ReportTemplate found = sundrel::analysis::findReportTemplate();
    std::string error;
    if (found.path.empty()) {
        error = sundrel::analysis::missingTemplateText(found.searched);
    }
    if (!error.empty() || !sundrel::analysis::writeReport(content, found.path, output, error)) {
        std::fprintf(stderr, "sundrel-report: %s\n", error.c_str());
        return 1;
    }
    std::printf("%s\n", output.c_str());
    return 0;
}
