#include "analysis/report_collector.h"

#include <cstring>

namespace sundrel::analysis {

std::intptr_t ReportCollector::deliver(KestovaHostWindow* window, std::uint32_t message,
                                       std::uintptr_t wparam, std::intptr_t) {
    auto* self = static_cast<ReportCollector*>(window->context);
    if (message != KESTOVA_WM_PANEL_MESSAGE || wparam == 0) {
        return 0;
    }
    const auto& record = *reinterpret_cast<const PanelMessage*>(wparam);
    if (record.code == KESTOVA_CODE_FILE_INFO) {
        std::memcpy(&self->info_, reinterpret_cast<const void*>(record.data), sizeof self->info_);
        ++self->infos_;
    } else if (record.code == KESTOVA_CODE_SECTIONS) {
        self->table_.fill(reinterpret_cast<const SectionRecord*>(record.data), record.count);
    }
    return 0;
}

}  // namespace sundrel::analysis
