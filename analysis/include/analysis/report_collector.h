#pragma once

#include <cstdint>

#include "analysis/analysis_rules.h"
#include "analysis/detail_table.h"
#include "kestova/kestova.h"

namespace sundrel::analysis {

// An engine host without windows: keeps the last file information (code 13)
// and fills a detailed table from the section records (code 19), as the
// analysis workspace does, so that a report can be written for recordings
// without the program.
class ReportCollector {
public:
    explicit ReportCollector(const Thresholds& thresholds) : table_(thresholds) {}
    ReportCollector(const ReportCollector&) = delete;
    ReportCollector& operator=(const ReportCollector&) = delete;

    KestovaHostWindow* window() { return &window_; }
    const AnalysisInfoBlock& lastInfo() const { return info_; }
    const DetailTable& table() const { return table_; }
    int filesAnalysed() const { return infos_; }

private:
    static std::intptr_t deliver(KestovaHostWindow* window, std::uint32_t message,
                                 std::uintptr_t wparam, std::intptr_t lparam);

    AnalysisInfoBlock info_{};
    DetailTable table_;
    int infos_ = 0;
    KestovaHostWindow window_{&ReportCollector::deliver, this};
};

}  // namespace sundrel::analysis
