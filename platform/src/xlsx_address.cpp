#include "platform/xlsx_address.h"

#include <algorithm>

namespace sundrel::platform {

std::string columnName(int column) {
    if (column < 0 || column >= kXlsxColumnCount) {
        return {};
    }
    // Bijective base 26: there is no zero digit, "Z" is followed by "AA".
    std::string name;
    for (int n = column + 1; n > 0; n = (n - 1) / 26) {
        name.insert(name.begin(), static_cast<char>('A' + (n - 1) % 26));
    }
    return name;
}

std::string cellAddress(int row, int column) {
    if (row < 0 || row >= kXlsxRowCount || column < 0 || column >= kXlsxColumnCount) {
        return {};
    }
    return columnName(column) + std::to_string(row + 1);
}

std::string rangeAddress(const CellRange& range) {
    if (range.last.row < range.first.row || range.last.column < range.first.column) {
        return {};
    }
    const std::string first = cellAddress(range.first.row, range.first.column);
    const std::string last = cellAddress(range.last.row, range.last.column);
    if (first.empty() || last.empty()) {
        return {};
    }
    return range.first == range.last ? first : first + ":" + last;
}

std::optional<CellPosition> parseCellAddress(std::string_view address) {
    std::size_t at = 0;
    if (at < address.size() && address[at] == '$') {
        ++at;
    }
    long column = 0;
    const std::size_t lettersStart = at;
    while (at < address.size() && at - lettersStart < 4) {
        const char c = static_cast<char>(address[at] & ~0x20);  // upper case for letters
        if (c < 'A' || c > 'Z') {
            break;
        }
        column = column * 26 + (c - 'A' + 1);
        ++at;
    }
    if (at == lettersStart || column > kXlsxColumnCount) {
        return std::nullopt;
    }
    if (at < address.size() && address[at] == '$') {
        ++at;
    }
    long row = 0;
    const std::size_t digitsStart = at;
    while (at < address.size() && address[at] >= '0' && address[at] <= '9' &&
           at - digitsStart < 8) {
        row = row * 10 + (address[at] - '0');
        ++at;
    }
    if (at == digitsStart || at != address.size() || address[digitsStart] == '0' || row < 1 ||
        row > kXlsxRowCount) {
        return std::nullopt;
    }
    return CellPosition{static_cast<int>(row - 1), static_cast<int>(column - 1)};
}

std::optional<CellRange> parseRangeAddress(std::string_view address) {
    const auto colon = address.find(':');
    const auto first = parseCellAddress(address.substr(0, colon));
    const auto last =
        colon == std::string_view::npos ? first : parseCellAddress(address.substr(colon + 1));
    if (!first || !last) {
        return std::nullopt;
    }
    return CellRange{{std::min(first->row, last->row), std::min(first->column, last->column)},
                     {std::max(first->row, last->row), std::max(first->column, last->column)}};
}

bool rangesOverlap(const CellRange& a, const CellRange& b) {
    return a.first.row <= b.last.row && b.first.row <= a.last.row &&
           a.first.column <= b.last.column && b.first.column <= a.last.column;
}

}  // namespace sundrel::platform
