#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/xlsx_sheet.h"
#include "platform/xlsx_styles.h"

namespace sundrel::platform {

// An Office Open XML workbook (.xlsx) loaded from a template, edited through
// its worksheets and saved under a new name. Only the worksheets that were
// edited, and the styles part when cell fills were added, are written anew; every other part of the
// package (styles, themes, other sheets, drawings, printer settings, ...) is copied into the saved
// file unchanged, so the template's look survives.
class XlsxBook {
public:
    XlsxBook();
    ~XlsxBook();
    XlsxBook(XlsxBook&&) noexcept;
    XlsxBook& operator=(XlsxBook&&) noexcept;

    // Reads the whole file into memory (the file is not kept open and never
    // written). False, leaving the book empty, when the file is missing or
    // unreadable, is not a zip archive, has no workbook part, or a worksheet
    // of it is not well-formed. A styles part that cannot be read is copied
    // as it is, and cell fills are then unavailable.
    bool load(const std::string& path);

    // Whether a load has succeeded.
    bool loaded() const;

    // Number of sheets in the workbook's order, worksheets or not.
    std::size_t sheetCount() const;

    // The worksheet at `index` in the workbook's sheet order, counting from
    // 0; nullptr when there is no such sheet or it is not a worksheet (a
    // chart sheet). Valid as long as the book and its load last.
    XlsxSheet* sheet(std::size_t index);
    const XlsxSheet* sheet(std::size_t index) const;

    // Gives a cell of `sheet` (a sheet of this book) a solid fill of `rgb`
    // (0xRRGGBB) over the look it has, keeping its font, border and
    // alignment: a copy of its cell format with that fill is added to the
    // workbook's styles, once per format and colour. False when the
    // workbook has no readable styles part or the cell is out of range.
    bool setCellFill(XlsxSheet& sheet, int row, int column, std::uint32_t rgb);

    // The colour of a cell's solid fill, 0xRRGGBB; nothing for a cell
    // without one (or with a theme or palette colour).
    std::optional<std::uint32_t> cellFill(const XlsxSheet& sheet, int row, int column) const;

    // The workbook's cell formats; nullptr without a readable styles part.
    const XlsxStyles* styles() const;

    // Writes the workbook with its edits to `path`, replacing a file of that
    // name. The file is written beside the target under a temporary name,
    // flushed to disk and renamed, so a failure leaves no partial file and
    // any previous file whole. False on any failure, nothing loaded, a
    // missing folder, and when `path` is the file the book was loaded from
    // (a template is never changed).
    bool save(const std::string& path) const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace sundrel::platform
