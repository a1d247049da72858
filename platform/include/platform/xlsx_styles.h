#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace sundrel::platform {

// The cell formats of a workbook (the part xl/styles.xml), held as its XML
// tree so that fonts, borders, number formats and named styles are written
// back as they were. Edits only append: a new fill and a new cell format
// (an <xf> of <cellXfs>), so every style index a sheet uses keeps its look.
//
// Colours are 0xRRGGBB.
class XlsxStyles {
public:
    // Parses a styles part. Nothing when `xml` is not well-formed or has no
    // <styleSheet> root with <fills> and <cellXfs>.
    static std::unique_ptr<XlsxStyles> fromXml(std::string_view xml);

    ~XlsxStyles();
    XlsxStyles(const XlsxStyles&) = delete;
    XlsxStyles& operator=(const XlsxStyles&) = delete;

    // Number of cell formats, the valid style indices of cells being
    // 0 .. formatCount() - 1.
    std::size_t formatCount() const;

    // The index of a cell format that is `style` with a solid fill of `rgb`
    // instead of its own fill: font, border, alignment and number format
    // stay. Added on the first request, the same index for the same pair
    // afterwards. Nothing for a style index that does not exist.
    std::optional<unsigned> withSolidFill(unsigned style, std::uint32_t rgb);

    // The colour of a cell format's solid fill; nothing for a style without
    // one, or with a colour given by theme or palette index.
    std::optional<std::uint32_t> solidFill(unsigned style) const;

    // Whether an edit has changed the part since it was parsed.
    bool modified() const;

    // The part as UTF-8 XML.
    std::string toXml() const;

private:
    struct Impl;
    explicit XlsxStyles(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

}  // namespace sundrel::platform
