#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "platform/xlsx_sheet.h"

namespace sundrel::platform {

// An Office Open XML workbook (.xlsx) loaded from a template, edited through
// its worksheets and saved under a new name. Only the worksheets that were
// edited are written anew; every other part of the package (styles, themes,
// other sheets, drawings, printer settings, ...) is copied into the saved
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
    // of it is not well-formed.
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
