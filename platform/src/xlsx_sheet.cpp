#include "platform/xlsx_sheet.h"

#include <pugixml.hpp>

#include <algorithm>
#include <array>
#include <charconv>
#include <map>
#include <optional>
#include <string_view>

#include "platform/xlsx_address.h"
#include "platform/xlsx_text.h"

namespace sundrel::platform {
namespace {

// Worksheet children that the schema places before <mergeCells>, in order;
// a new <mergeCells> goes after the last of them that the sheet has.
constexpr std::array<std::string_view, 9> kBeforeMergeCells = {
    "sheetData",  "sheetCalcPr", "sheetProtection", "protectedRanges", "scenarios",
    "autoFilter", "sortState",   "dataConsolidate", "customSheetViews"};

// Parse flags that keep the part as written: whitespace between elements,
// comments, processing instructions and the declaration survive a save.
constexpr unsigned kParseFlags = pugi::parse_default | pugi::parse_ws_pcdata |
                                 pugi::parse_declaration | pugi::parse_comments | pugi::parse_pi;

std::optional<int> parseNumber(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

bool isTrue(const pugi::xml_attribute& attribute) {
    const std::string_view value = attribute.value();
    return value == "1" || value == "true";
}

pugi::xml_node childNamed(const pugi::xml_node& parent, std::string_view localName) {
    for (const pugi::xml_node child : parent.children()) {
        if (child.type() == pugi::node_element && xlsxLocalName(child.name()) == localName) {
            return child;
        }
    }
    return {};
}

struct ColumnStyle {
    int first = 0;  // 0-based, inclusive
    int last = 0;
    std::string style;
};

CellRange unite(const CellRange& a, const CellRange& b) {
    return {{std::min(a.first.row, b.first.row), std::min(a.first.column, b.first.column)},
            {std::max(a.last.row, b.last.row), std::max(a.last.column, b.last.column)}};
}

struct StringWriter : pugi::xml_writer {
    std::string text;
    void write(const void* data, std::size_t size) override {
        text.append(static_cast<const char*>(data), size);
    }
};

}  // namespace

struct XlsxSheet::Impl {
    pugi::xml_document document;
    pugi::xml_node worksheet;
    pugi::xml_node sheetData;
    std::string prefix;                  // namespace prefix of the part's elements, "" or "x:"
    std::map<int, pugi::xml_node> rows;  // 0-based row number -> <row>
    std::vector<ColumnStyle> columnStyles;
    std::optional<CellRange> usedRange;  // cells of the sheet and its <dimension>
    SharedStrings sharedStrings;
    bool modified = false;

    std::string elementName(std::string_view localName) const {
        return prefix + std::string(localName);
    }

    bool indexRows();
    void readColumnStyles();
    pugi::xml_node row(int row, bool create);
    pugi::xml_node cell(int row, int column, bool create);
    std::string styleForNewCell(const pugi::xml_node& rowNode, int column) const;
    void widenSpans(pugi::xml_node rowNode, int column) const;
    void widenDimension(int row, int column);
    pugi::xml_node mergeCells(bool create);
};

bool XlsxSheet::Impl::indexRows() {
    int previousRow = -1;
    for (pugi::xml_node rowNode : sheetData.children()) {
        if (rowNode.type() != pugi::node_element || xlsxLocalName(rowNode.name()) != "row") {
            continue;
        }
        // "r" may be left out, meaning the row after the previous one.
        auto number = parseNumber(rowNode.attribute("r").value());
        if (!number) {
            number = previousRow + 2;
            rowNode.append_attribute("r") = *number;
        }
        if (*number < 1 || *number > kXlsxRowCount) {
            return false;
        }
        previousRow = *number - 1;
        rows.emplace(previousRow, rowNode);
        int previousColumn = -1;
        for (pugi::xml_node cellNode : rowNode.children()) {
            if (cellNode.type() != pugi::node_element || xlsxLocalName(cellNode.name()) != "c") {
                continue;
            }
            const auto position = parseCellAddress(cellNode.attribute("r").value());
            if (position) {
                previousColumn = position->column;
            } else if (++previousColumn < kXlsxColumnCount) {
                const std::string address = cellAddress(previousRow, previousColumn);
                if (cellNode.attribute("r")) {
                    cellNode.attribute("r") = address.c_str();
                } else {
                    cellNode.append_attribute("r") = address.c_str();
                }
            } else {
                return false;
            }
            const CellRange cellRange{{previousRow, previousColumn}, {previousRow, previousColumn}};
            usedRange = usedRange ? unite(*usedRange, cellRange) : cellRange;
        }
    }
    // A blank sheet's dimension says "A1"; that corner is not content.
    const auto dimension =
        parseRangeAddress(childNamed(worksheet, "dimension").attribute("ref").value());
    if (dimension && usedRange) {
        usedRange = unite(*usedRange, *dimension);
    }
    return true;
}

void XlsxSheet::Impl::readColumnStyles() {
    for (const pugi::xml_node cols : worksheet.children()) {
        if (xlsxLocalName(cols.name()) != "cols") {
            continue;
        }
        for (const pugi::xml_node col : cols.children()) {
            const auto first = parseNumber(col.attribute("min").value());
            const auto last = parseNumber(col.attribute("max").value());
            const std::string_view style = col.attribute("style").value();
            if (xlsxLocalName(col.name()) == "col" && first && last && !style.empty()) {
                columnStyles.push_back({*first - 1, *last - 1, std::string(style)});
            }
        }
    }
}

pugi::xml_node XlsxSheet::Impl::row(int rowIndex, bool create) {
    if (const auto found = rows.find(rowIndex); found != rows.end()) {
        return found->second;
    }
    if (!create) {
        return {};
    }
    const std::string name = elementName("row");
    const auto next = rows.upper_bound(rowIndex);
    pugi::xml_node rowNode = next == rows.end()
                                 ? sheetData.append_child(name.c_str())
                                 : sheetData.insert_child_before(name.c_str(), next->second);
    rowNode.append_attribute("r") = rowIndex + 1;
    rows.emplace(rowIndex, rowNode);
    return rowNode;
}

pugi::xml_node XlsxSheet::Impl::cell(int rowIndex, int column, bool create) {
    pugi::xml_node rowNode = row(rowIndex, create);
    if (!rowNode) {
        return {};
    }
    pugi::xml_node following;  // first cell to the right of `column`
    for (const pugi::xml_node cellNode : rowNode.children()) {
        if (cellNode.type() != pugi::node_element || xlsxLocalName(cellNode.name()) != "c") {
            continue;
        }
        const auto position = parseCellAddress(cellNode.attribute("r").value());
        if (position && position->column == column) {
            return cellNode;
        }
        if (position && position->column > column) {
            following = cellNode;
            break;
        }
    }
    if (!create) {
        return {};
    }
    const std::string name = elementName("c");
    pugi::xml_node cellNode = following ? rowNode.insert_child_before(name.c_str(), following)
                                        : rowNode.append_child(name.c_str());
    cellNode.append_attribute("r") = cellAddress(rowIndex, column).c_str();
    const std::string style = styleForNewCell(rowNode, column);
    if (!style.empty() && style != "0") {
        cellNode.append_attribute("s") = style.c_str();
    }
    widenSpans(rowNode, column);
    return cellNode;
}

std::string XlsxSheet::Impl::styleForNewCell(const pugi::xml_node& rowNode, int column) const {
    // The format that spreadsheet programs show an empty cell in, and give
    // to a cell typed into it: the row's when the row has one, else the
    // column's.
    if (isTrue(rowNode.attribute("customFormat"))) {
        return rowNode.attribute("s").value();
    }
    for (const ColumnStyle& columnStyle : columnStyles) {
        if (column >= columnStyle.first && column <= columnStyle.last) {
            return columnStyle.style;
        }
    }
    return {};
}

void XlsxSheet::Impl::widenSpans(pugi::xml_node rowNode, int column) const {
    // "spans" is only an optimisation hint ("first:last", 1-based), but it
    // must not claim less than the row holds.
    pugi::xml_attribute spans = rowNode.attribute("spans");
    if (!spans) {
        return;
    }
    const std::string_view value = spans.value();
    const auto colon = value.find(':');
    const auto first = parseNumber(value.substr(0, colon));
    const auto last =
        colon == std::string_view::npos ? std::nullopt : parseNumber(value.substr(colon + 1));
    if (!first || !last) {
        rowNode.remove_attribute(spans);  // a list of spans: drop rather than keep it wrong
        return;
    }
    const std::string widened = std::to_string(std::min(*first, column + 1)) + ":" +
                                std::to_string(std::max(*last, column + 1));
    spans = widened.c_str();
}

void XlsxSheet::Impl::widenDimension(int rowIndex, int column) {
    const CellRange cellRange{{rowIndex, column}, {rowIndex, column}};
    usedRange = usedRange ? unite(*usedRange, cellRange) : cellRange;
    pugi::xml_attribute ref = childNamed(worksheet, "dimension").attribute("ref");
    if (ref) {  // the element is optional; without it there is nothing to keep right
        ref = rangeAddress(*usedRange).c_str();
    }
}

pugi::xml_node XlsxSheet::Impl::mergeCells(bool create) {
    pugi::xml_node found = childNamed(worksheet, "mergeCells");
    if (found || !create) {
        return found;
    }
    pugi::xml_node anchor = sheetData;
    for (const pugi::xml_node child : worksheet.children()) {
        const std::string_view name = xlsxLocalName(child.name());
        if (child.type() == pugi::node_element &&
            std::find(kBeforeMergeCells.begin(), kBeforeMergeCells.end(), name) !=
                kBeforeMergeCells.end()) {
            anchor = child;
        }
    }
    const std::string name = elementName("mergeCells");
    return worksheet.insert_child_after(name.c_str(), anchor);
}

XlsxSheet::XlsxSheet(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

XlsxSheet::~XlsxSheet() = default;

std::unique_ptr<XlsxSheet> XlsxSheet::fromXml(std::string_view xml, SharedStrings sharedStrings) {
    auto impl = std::make_unique<Impl>();
    if (!impl->document.load_buffer(xml.data(), xml.size(), kParseFlags, pugi::encoding_auto)) {
        return nullptr;
    }
    impl->worksheet = impl->document.document_element();
    const std::string_view rootName = impl->worksheet.name();
    if (xlsxLocalName(rootName.data()) != "worksheet") {
        return nullptr;
    }
    impl->prefix =
        std::string(rootName.substr(0, rootName.size() - std::string_view("worksheet").size()));
    impl->sheetData = childNamed(impl->worksheet, "sheetData");
    if (!impl->sheetData || !impl->indexRows()) {
        return nullptr;
    }
    impl->readColumnStyles();
    // The tree is saved as UTF-8 whatever the part was read in.
    const pugi::xml_node declaration = impl->document.first_child();
    if (declaration.type() == pugi::node_declaration && declaration.attribute("encoding")) {
        declaration.attribute("encoding") = "UTF-8";
    }
    impl->sharedStrings = std::move(sharedStrings);
    return std::unique_ptr<XlsxSheet>(new XlsxSheet(std::move(impl)));
}

bool XlsxSheet::writeText(int row, int column, std::string_view utf8) {
    if (cellAddress(row, column).empty()) {
        return false;
    }
    pugi::xml_node cellNode = impl_->cell(row, column, true);
    cellNode.remove_children();
    cellNode.remove_attribute("t");
    cellNode.remove_attribute("cm");  // cell and value metadata belonged to the old value
    cellNode.remove_attribute("vm");
    if (!utf8.empty()) {
        const std::string stored = encodeXlsxText(utf8);
        cellNode.append_attribute("t") = "inlineStr";
        const std::string isName = impl_->elementName("is");
        const std::string tName = impl_->elementName("t");
        pugi::xml_node textNode = cellNode.append_child(isName.c_str()).append_child(tName.c_str());
        const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\n'; };
        if (isSpace(stored.front()) || isSpace(stored.back())) {
            textNode.append_attribute("xml:space") = "preserve";
        }
        textNode.text() = stored.c_str();
    }
    impl_->widenDimension(row, column);
    impl_->modified = true;
    return true;
}

bool XlsxSheet::merge(int firstRow, int lastRow, int firstColumn, int lastColumn) {
    const CellRange range{{firstRow, firstColumn}, {lastRow, lastColumn}};
    const std::string ref = rangeAddress(range);
    if (ref.empty() || range.first == range.last) {
        return false;
    }
    if (pugi::xml_node existing = impl_->mergeCells(false)) {
        for (const pugi::xml_node mergeCell : existing.children()) {
            if (xlsxLocalName(mergeCell.name()) != "mergeCell") {
                continue;
            }
            const auto other = parseRangeAddress(mergeCell.attribute("ref").value());
            if (other && *other == range) {
                return true;
            }
            if (other && rangesOverlap(*other, range)) {
                return false;
            }
        }
    }
    pugi::xml_node list = impl_->mergeCells(true);
    const std::string name = impl_->elementName("mergeCell");
    list.append_child(name.c_str()).append_attribute("ref") = ref.c_str();
    int count = 0;
    for (const pugi::xml_node mergeCell : list.children()) {
        count += xlsxLocalName(mergeCell.name()) == "mergeCell" ? 1 : 0;
    }
    pugi::xml_attribute countAttribute = list.attribute("count");
    if (!countAttribute) {
        countAttribute = list.append_attribute("count");
    }
    countAttribute = count;
    impl_->modified = true;
    return true;
}

unsigned XlsxSheet::style(int row, int column) const {
    if (cellAddress(row, column).empty()) {
        return 0;
    }
    const pugi::xml_node cellNode = impl_->cell(row, column, false);
    const std::string text = cellNode ? std::string(cellNode.attribute("s").value())
                                      : impl_->styleForNewCell(impl_->row(row, false), column);
    const auto value = parseNumber(text);
    return value && *value > 0 ? static_cast<unsigned>(*value) : 0u;
}

bool XlsxSheet::setStyle(int row, int column, unsigned style) {
    if (cellAddress(row, column).empty()) {
        return false;
    }
    pugi::xml_node cellNode = impl_->cell(row, column, true);
    pugi::xml_attribute attribute = cellNode.attribute("s");
    if (style == 0) {
        cellNode.remove_attribute(attribute);
    } else {
        if (!attribute) {
            // "s" comes after "r" by custom; attribute order carries no meaning.
            attribute = cellNode.insert_attribute_after("s", cellNode.attribute("r"));
        }
        attribute = style;
    }
    impl_->widenDimension(row, column);
    impl_->modified = true;
    return true;
}

std::string XlsxSheet::text(int row, int column) const {
    if (cellAddress(row, column).empty()) {
        return {};
    }
    const pugi::xml_node cellNode = impl_->cell(row, column, false);
    if (!cellNode) {
        return {};
    }
    const std::string_view type = cellNode.attribute("t").value();
    if (type == "inlineStr") {
        return xlsxItemText(childNamed(cellNode, "is"));
    }
    const std::string_view value = childNamed(cellNode, "v").text().get();
    if (type == "s") {
        const auto index = parseNumber(value);
        const auto& items = impl_->sharedStrings;
        if (!index || !items || *index < 0 || static_cast<std::size_t>(*index) >= items->size()) {
            return {};
        }
        return (*items)[static_cast<std::size_t>(*index)];
    }
    return type == "str" ? decodeXlsxText(value) : std::string(value);
}

std::vector<std::string> XlsxSheet::mergedRanges() const {
    std::vector<std::string> ranges;
    for (const pugi::xml_node mergeCell : impl_->mergeCells(false).children()) {
        if (xlsxLocalName(mergeCell.name()) == "mergeCell") {
            ranges.emplace_back(mergeCell.attribute("ref").value());
        }
    }
    return ranges;
}

bool XlsxSheet::modified() const {
    return impl_->modified;
}

std::string XlsxSheet::toXml() const {
    StringWriter writer;
    impl_->document.save(writer, "", pugi::format_raw, pugi::encoding_utf8);
    return writer.text;
}

}  // namespace sundrel::platform
