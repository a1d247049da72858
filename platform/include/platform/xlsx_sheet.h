#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace sundrel::platform {

// One worksheet of a workbook (a part such as xl/worksheets/sheet1.xml),
// held as its XML tree so that everything the edits below do not touch
// (column widths, row heights, views, print setup, drawings' anchors, ...)
// is written back as it was.
//
// Rows and columns count from 0 (row 4, column 0 is "A5"); rows 0 ..
// kXlsxRowCount - 1, columns 0 .. kXlsxColumnCount - 1 (platform/xlsx_address.h).
// An edit with an argument outside those ranges changes nothing and
// returns false.
class XlsxSheet {
public:
    // Items of the workbook's shared strings, for reading cells that refer
    // to them; shared by all sheets of a book.
    using SharedStrings = std::shared_ptr<const std::vector<std::string>>;

    // Parses a worksheet part. Nothing when `xml` is not well-formed or has
    // no <worksheet> root with a <sheetData>.
    static std::unique_ptr<XlsxSheet> fromXml(std::string_view xml, SharedStrings sharedStrings);

    ~XlsxSheet();
    XlsxSheet(const XlsxSheet&) = delete;
    XlsxSheet& operator=(const XlsxSheet&) = delete;

    // Sets the cell to the UTF-8 text (stored as an inline string). The
    // cell's existing style is kept; a new cell takes the style that the
    // row or, failing that, the column gives to empty cells, so it looks as
    // the template drew it. An empty text leaves a blank cell with that
    // style. Formula, value and type of an existing cell are replaced.
    bool writeText(int row, int column, std::string_view utf8);

    // Merges the rectangle rows firstRow..lastRow, columns
    // firstColumn..lastColumn (corners included) into one cell showing the
    // top-left cell's text. Merging a range that is already merged is a
    // no-op that returns true. Returns false for a single cell, reversed or
    // out-of-range bounds, or a range that overlaps another merged range
    // (a workbook with overlapping merges is damaged for spreadsheet
    // programs).
    bool merge(int firstRow, int lastRow, int firstColumn, int lastColumn);

    // The cell's style index into the workbook's cell formats (XlsxStyles):
    // its own, or for a missing cell the one a new cell would take (see
    // writeText). 0, the default format, when none is given.
    unsigned style(int row, int column) const;

    // Gives the cell the style index, creating a blank cell when missing.
    // Its text and value stay.
    bool setStyle(int row, int column, unsigned style);

    // The cell's text: inline and shared strings as text, any other value
    // as stored in the file (numbers unformatted). Empty for a missing cell.
    std::string text(int row, int column) const;

    // The merged ranges in file order, such as "A5:A6".
    std::vector<std::string> mergedRanges() const;

    // Whether an edit has changed the sheet since it was parsed.
    bool modified() const;

    // The sheet part as UTF-8 XML.
    std::string toXml() const;

private:
    struct Impl;
    explicit XlsxSheet(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

}  // namespace sundrel::platform
