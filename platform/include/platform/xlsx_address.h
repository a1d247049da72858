#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace sundrel::platform {

// Cell addresses of a worksheet ("B5", "AA1", "A5:A6"). Rows and columns
// count from 0 here and from 1 / "A" in the address, as in the file.

inline constexpr int kXlsxRowCount = 1048576;   // rows 0 .. 1048575 (1 .. 1048576)
inline constexpr int kXlsxColumnCount = 16384;  // columns 0 .. 16383 ("A" .. "XFD")

struct CellPosition {
    int row = 0;     // 0 .. kXlsxRowCount - 1
    int column = 0;  // 0 .. kXlsxColumnCount - 1
    friend bool operator==(const CellPosition&, const CellPosition&) = default;
};

// A rectangle of cells, corners included; first <= last in both directions.
struct CellRange {
    CellPosition first;
    CellPosition last;
    friend bool operator==(const CellRange&, const CellRange&) = default;
};

// Column letters of a 0-based column: 0 -> "A", 25 -> "Z", 26 -> "AA".
// Empty when the column is outside 0 .. kXlsxColumnCount - 1.
std::string columnName(int column);

// (4, 0) -> "A5", (0, 26) -> "AA1". Empty when row or column is out of range.
std::string cellAddress(int row, int column);

// "A5:A6" for the range, or the single address when both corners are equal.
// Empty when a corner is out of range or a last corner precedes the first.
std::string rangeAddress(const CellRange& range);

// "B5" -> (4, 1). Letters in either case; "$" anchors are accepted and
// ignored. Nothing for anything else or an address outside the sheet.
std::optional<CellPosition> parseCellAddress(std::string_view address);

// "A5:A6" or a single "A5" (a one-cell range). Corners are put in order.
std::optional<CellRange> parseRangeAddress(std::string_view address);

// Whether the two ranges share at least one cell.
bool rangesOverlap(const CellRange& a, const CellRange& b);

}  // namespace sundrel::platform
