#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "analysis/analysis_rules.h"
#include "kestova/kestova.h"

namespace sundrel::analysis {

// A rectangle of cells shown as one, with the text of its top-left cell.
struct CellRange {
    int firstRow;
    int lastRow;
    int firstColumn;
    int lastColumn;
    bool operator==(const CellRange&) const = default;
};

// The detailed report: two header rows, then one pair of rows per 100 m
// section (left rail above right rail) with each band's exceed ratio
// (percent, two decimals), peak-to-peak value (mm, three decimals, as the
// limits) and longest-run position, and a last empty row. A band's three
// cells of a rail whose exceed ratio is above kFailingExceedRatio are marked
// failing. The spreadsheet report copies it cell by cell. Texts are UTF-8.
class DetailTable {
public:
    static constexpr int kColumns = 17;
    static constexpr int kHeaderRows = 2;
    static constexpr int kEmptyTableRows = 25;
    // Column widths in pixels; 0 keeps the grid's default.
    static constexpr std::array<int, kColumns> kColumnWidths = {
        180, 80, 80, 90, 180, 80, 90, 180, 80, 90, 180, 80, 90, 180, 80, 90, 0};

    explicit DetailTable(const Thresholds& thresholds = {});

    // Empties the table to its 25 rows with the header, whose band captions
    // carry these thresholds; forgets which rails were filled.
    void reset(const Thresholds& thresholds);

    // One rail's sections. The first rail after a reset creates the rows and
    // the section texts; the rail is that of the first record. Sections
    // beyond the rows that exist are dropped. No records: nothing changes.
    void fill(const SectionRecord* records, std::size_t count);

    int rowCount() const { return static_cast<int>(cells_.size()); }
    const std::string& text(int row, int column) const;
    // Whether the cell belongs to a band that fails its section; false
    // outside the table.
    bool failing(int row, int column) const;
    const std::vector<CellRange>& merges() const { return merges_; }

private:
    void setText(int row, int column, std::string text);
    void merge(const CellRange& range) { merges_.push_back(range); }

    struct Cell {
        std::string text;
        bool failing = false;
    };
    std::vector<std::array<Cell, kColumns>> cells_;
    std::vector<CellRange> merges_;
    bool leftFilled_ = false;
    bool rightFilled_ = false;
};

}  // namespace sundrel::analysis
