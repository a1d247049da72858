#include "analysis/detail_table.h"

#include "core/number_text.h"
#include "platform/gbk_text.h"

namespace sundrel::analysis {
namespace {

std::string utf8Field(const char* field, std::size_t size) {
    return platform::gbkToUtf8(platform::readGbkField(field, size));
}

}  // namespace

DetailTable::DetailTable(const Thresholds& thresholds) {
    reset(thresholds);
}

void DetailTable::reset(const Thresholds& thresholds) {
    cells_.assign(kEmptyTableRows, {});
    merges_.clear();
    leftFilled_ = rightFilled_ = false;
    merge({0, 1, 0, 0});
    setText(0, 0, "里程");
    merge({0, 1, 1, 1});
    setText(0, 1, "股别");
    for (int group = 0; group < 5; ++group) {
        const int first = 2 + 3 * group;
        merge({0, 0, first, first + 2});
        setText(0, first,
                group < 4 ? bandThresholdHeader(static_cast<std::size_t>(group),
                                                thresholds[static_cast<std::size_t>(group)])
                          : std::string("轨道高低"));
        setText(1, first, "超限比");
        setText(1, first + 1, "峰峰值/mm");
        setText(1, first + 2, "波磨集中区段");
    }
}

const std::string& DetailTable::text(int row, int column) const {
    static const std::string none;
    if (row < 0 || row >= rowCount() || column < 0 || column >= kColumns) {
        return none;
    }
    return cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)].text;
}

bool DetailTable::failing(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 0 || column >= kColumns) {
        return false;
    }
    return cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)].failing;
}

void DetailTable::setText(int row, int column, std::string text) {
    if (row < 0 || row >= rowCount() || column < 0 || column >= kColumns) {
        return;  // cells outside the table do not exist
    }
    cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)].text = std::move(text);
}

void DetailTable::fill(const SectionRecord* records, std::size_t count) {
    if (records == nullptr || count == 0) {
        return;  // no record tells which rail it is
    }
    if (!leftFilled_ && !rightFilled_) {
        cells_.resize(2 * count + 3);
        for (std::size_t i = 0; i < count; ++i) {
            const int row = 2 + 2 * static_cast<int>(i);
            merge({row, row + 1, 0, 0});
            setText(row, 0, utf8Field(records[i].range, sizeof records[i].range));
            setText(row, 1, "左轨");
            setText(row + 1, 1, "右轨");
        }
    }
    const bool left = records[0].side == 1;
    (left ? leftFilled_ : rightFilled_) = true;
    const int firstRow = left ? 2 : 3;
    for (std::size_t i = 0; i < count; ++i) {
        const int row = firstRow + 2 * static_cast<int>(i);
        if (row >= rowCount()) {
            break;  // more sections than the first rail made rows for
        }
        for (int band = 0; band < 4; ++band) {
            const BandResult& result = records[i].bands[band];
            const int column = 2 + 3 * band;
            setText(row, column, core::fixedText(static_cast<double>(result.ratio), 2) + "%");
            setText(row, column + 1, core::fixedText(static_cast<double>(result.peakToPeak), 3));
            setText(row, column + 2, utf8Field(result.position, sizeof result.position));
            const bool fails = static_cast<double>(result.ratio) > kFailingExceedRatio;
            for (int part = 0; part < 3; ++part) {
                cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column + part)]
                    .failing = fails;
            }
        }
    }
}

}  // namespace sundrel::analysis
