#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "kestova/kestova.h"

namespace sundrel::analysis::testing {

// `count` sections of one rail, the i-th with range "0+<100 i>-->0+<100 i + 100>"
// and band k holding ratio i + k / 10, peak-to-peak 0.1 k and position "-".
inline std::vector<SectionRecord> sections(int side, int count) {
    std::vector<SectionRecord> records(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        SectionRecord& r = records[static_cast<std::size_t>(i)];
        std::memset(&r, 0, sizeof r);
        const std::string range =
            "0+" + std::to_string(100 * i) + "-->0+" + std::to_string(100 * i + 100);
        std::strcpy(r.range, range.c_str());
        r.side = side;
        for (int k = 0; k < 4; ++k) {
            r.bands[k].ratio = static_cast<float>(i) + static_cast<float>(k) / 10.0f;
            r.bands[k].peakToPeak = 0.1f * static_cast<float>(k);
            std::strcpy(r.bands[k].position, "-");
        }
    }
    return records;
}

}  // namespace sundrel::analysis::testing
