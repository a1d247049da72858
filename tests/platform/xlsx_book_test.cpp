#include "platform/xlsx_book.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <zip.h>
#include "test_support/scratch_folder.h"

#include <pugixml.hpp>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/xlsx_address.h"
#include "platform/xlsx_styles.h"

namespace sundrel::platform {
namespace {

namespace fs = std::filesystem;

using Entries = std::vector<std::pair<std::string, std::string>>;  // name, content

const std::string kTemplate = SUNDREL_REPORT_TEMPLATE;
const std::string kSheetPart = "xl/worksheets/sheet1.xml";

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Every entry of a zip archive, uncompressed, in archive order.
Entries readZip(const std::string& path) {
    Entries entries;
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY, &error);
    if (archive == nullptr) {
        ADD_FAILURE() << "cannot open " << path;
        return entries;
    }
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        const auto index = static_cast<zip_uint64_t>(i);
        zip_stat_t stat;
        zip_stat_index(archive, index, 0, &stat);
        std::string content(stat.size, '\0');
        zip_file_t* file = zip_fopen_index(archive, index, 0);
        const zip_int64_t n = zip_fread(file, content.data(), stat.size);
        EXPECT_EQ(static_cast<zip_uint64_t>(n), stat.size);
        zip_fclose(file);
        entries.emplace_back(stat.name, std::move(content));
    }
    zip_discard(archive);
    return entries;
}

std::string zipEntry(const std::string& path, const std::string& name) {
    for (const auto& [entryName, content] : readZip(path)) {
        if (entryName == name) {
            return content;
        }
    }
    ADD_FAILURE() << name << " not in " << path;
    return {};
}

void writeZip(const std::string& path, const Entries& entries) {
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(archive, nullptr);
    for (const auto& [name, content] : entries) {
        zip_source_t* source = zip_source_buffer(archive, content.data(), content.size(), 0);
        ASSERT_GE(zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8), 0);
    }
    ASSERT_EQ(zip_close(archive), 0);
}

// The <c> element of `address` in a worksheet's XML, and its row.
struct CellLookup {
    pugi::xml_document document;
    pugi::xml_node cell(const std::string& address) {
        return document.select_node(("//c[@r='" + address + "']").c_str()).node();
    }
    pugi::xml_node row(int number) {
        return document.select_node(("//row[@r='" + std::to_string(number) + "']").c_str()).node();
    }
    explicit CellLookup(const std::string& xml) {
        EXPECT_TRUE(document.load_buffer(xml.data(), xml.size()));
    }
};

// A small workbook as a spreadsheet program writes it: shared strings with
// rich text, a pretty-printed sheet with column and row formats, no merged
// cells, and a second sheet.
Entries sharedStringWorkbook() {
    const std::string main = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
    const std::string rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
    return {
        {"[Content_Types].xml",
         "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
         "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
         "<Default Extension=\"rels\" "
         "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
         "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
         "<Override PartName=\"/xl/workbook.xml\" ContentType=\"application/"
         "vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>"
         "<Override PartName=\"/xl/worksheets/sheet1.xml\" ContentType=\"application/"
         "vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>"
         "<Override PartName=\"/xl/worksheets/sheet2.xml\" ContentType=\"application/"
         "vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>"
         "<Override PartName=\"/xl/sharedStrings.xml\" ContentType=\"application/"
         "vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml\"/>"
         "<Override PartName=\"/xl/styles.xml\" ContentType=\"application/"
         "vnd.openxmlformats-officedocument.spreadsheetml.styles+xml\"/>"
         "</Types>"},
        {"_rels/.rels",
         "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
         "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
         "<Relationship Id=\"rId1\" Type=\"" +
             rel + "/officeDocument\" Target=\"/xl/workbook.xml\"/></Relationships>"},
        {"xl/workbook.xml",
         "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
         "<workbook xmlns=\"" +
             main + "\" xmlns:rel=\"" + rel +
             "\"><sheets><sheet name=\"数据\" sheetId=\"1\" rel:id=\"rId1\"/>"
             "<sheet name=\"说明\" sheetId=\"2\" rel:id=\"rId2\"/></sheets></workbook>"},
        {"xl/_rels/workbook.xml.rels",
         "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
         "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
         "<Relationship Id=\"rId2\" Type=\"" +
             rel +
             "/worksheet\" Target=\"worksheets/sheet2.xml\"/><Relationship Id=\"rId1\" Type=\"" +
             rel +
             "/worksheet\" Target=\"worksheets/sheet1.xml\"/><Relationship Id=\"rId3\" Type=\"" +
             rel +
             "/sharedStrings\" Target=\"sharedStrings.xml\"/><Relationship Id=\"rId4\" Type=\"" +
             rel + "/styles\" Target=\"styles.xml\"/></Relationships>"},
        {"xl/sharedStrings.xml",
         "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
         "<sst xmlns=\"" +
             main +
             "\" count=\"2\" uniqueCount=\"2\"><si><t>里程</t></si>"
             "<si><r><t>峰峰值</t></r><r><rPr><b/></rPr><t>/mm</t></r></si></sst>"},
        {"xl/styles.xml",
         "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
         "<styleSheet xmlns=\"" +
             main +
             "\"><fonts count=\"1\"><font><sz val=\"11\"/><name val=\"宋体\"/></font></fonts>"
             "<fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill>"
             "<fill><patternFill patternType=\"gray125\"/></fill></fills>"
             "<borders count=\"1\"><border/></borders>"
             "<cellXfs count=\"3\"><xf fontId=\"0\"/><xf fontId=\"0\"/><xf fontId=\"0\"/></cellXfs>"
             "</styleSheet>"},
        {"xl/worksheets/sheet1.xml",
         "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
         "<worksheet xmlns=\"" +
             main +
             "\">\n"
             "  <dimension ref=\"A1:C3\"/>\n"
             "  <cols><col min=\"2\" max=\"3\" width=\"12\" style=\"1\" "
             "customWidth=\"1\"/></cols>\n"
             "  <sheetData>\n"
             "    <row r=\"1\" spans=\"1:3\">\n"
             "      <c r=\"A1\" s=\"2\" t=\"s\"><v>0</v></c>\n"
             "      <c r=\"C1\" t=\"s\"><v>1</v></c>\n"
             "    </row>\n"
             "    <row r=\"3\" spans=\"1:1\" s=\"2\" customFormat=\"1\">\n"
             "      <c r=\"A3\"><v>42</v></c>\n"
             "    </row>\n"
             "  </sheetData>\n"
             "  <phoneticPr fontId=\"1\" type=\"noConversion\"/>\n"
             "  <pageMargins left=\"0.7\" right=\"0.7\" top=\"0.75\" bottom=\"0.75\" "
             "header=\"0.3\" "
             "footer=\"0.3\"/>\n"
             "</worksheet>\n"},
        {"xl/worksheets/sheet2.xml",
         "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
         "<worksheet xmlns=\"" +
             main +
             "\"><sheetData><row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>说明</t></is></c>"
             "</row></sheetData></worksheet>"},
    };
}

class XlsxBookTest : public ::testing::Test {
protected:
    std::string path(const std::string& name) const { return (folder_ / name).string(); }

    std::vector<std::string> folderContents() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder_)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    sundrel::testing::ScratchFolder scratch_;
    fs::path folder_ = scratch_.path();
};

TEST_F(XlsxBookTest, LoadsTheShippedTemplate) {
    XlsxBook book;
    ASSERT_TRUE(book.load(kTemplate));
    EXPECT_TRUE(book.loaded());
    EXPECT_EQ(book.sheetCount(), 1u);
    EXPECT_EQ(book.sheet(1), nullptr);
    XlsxSheet* sheet = book.sheet(0);
    ASSERT_NE(sheet, nullptr);
    EXPECT_FALSE(sheet->modified());

    // Captions beside the cells the report fills, and the table header.
    EXPECT_EQ(sheet->text(0, 0), "钢轨波磨检测报表");
    EXPECT_EQ(sheet->text(1, 0), "线路名称");
    EXPECT_EQ(sheet->text(1, 3), "运行方向");
    EXPECT_EQ(sheet->text(1, 5), "公里标");
    EXPECT_EQ(sheet->text(1, 8), "作业单位");
    EXPECT_EQ(sheet->text(1, 11), "作业人员");
    EXPECT_EQ(sheet->text(1, 14), "采集时间");
    EXPECT_EQ(sheet->text(2, 0), "里程");
    EXPECT_EQ(sheet->text(2, 1), "股别");
    EXPECT_EQ(sheet->text(2, 14), "轨道高低");
    for (int band = 0; band < 5; ++band) {
        EXPECT_EQ(sheet->text(3, 2 + 3 * band), "超限比");
        EXPECT_EQ(sheet->text(3, 3 + 3 * band), "峰峰值/mm");
        EXPECT_EQ(sheet->text(3, 4 + 3 * band), "波磨集中区段");
    }
    // The cells the report writes are empty in the template.
    for (const auto& [row, column] : {std::pair{1, 1},
                                      {1, 4},
                                      {1, 6},
                                      {1, 9},
                                      {1, 12},
                                      {1, 15},
                                      {2, 2},
                                      {2, 5},
                                      {2, 8},
                                      {2, 11},
                                      {4, 0}}) {
        EXPECT_EQ(sheet->text(row, column), "") << cellAddress(row, column);
    }
    const auto merged = sheet->mergedRanges();
    for (const char* range :
         {"A1:Q1", "A3:A4", "B3:B4", "C3:E3", "F3:H3", "I3:K3", "L3:N3", "O3:Q3"}) {
        EXPECT_NE(std::find(merged.begin(), merged.end(), range), merged.end()) << range;
    }
}

TEST_F(XlsxBookTest, WrittenCellsAndMergesSurviveSaveAndReload) {
    XlsxBook book;
    ASSERT_TRUE(book.load(kTemplate));
    XlsxSheet* sheet = book.sheet(0);
    ASSERT_NE(sheet, nullptr);
    ASSERT_TRUE(sheet->writeText(1, 1, "京沪高速线"));
    ASSERT_TRUE(sheet->writeText(1, 4, "前进"));
    ASSERT_TRUE(sheet->writeText(1, 6, "12km+300m--->15km+800m"));
    ASSERT_TRUE(sheet->writeText(2, 2, "30-100mm【阈值:0.050mm】"));
    ASSERT_TRUE(sheet->writeText(1, 0, "线路"));  // overwrites a template caption
    ASSERT_TRUE(sheet->writeText(4, 0, "12+300-->12+400"));
    ASSERT_TRUE(sheet->merge(4, 5, 0, 0));
    ASSERT_TRUE(sheet->writeText(4, 1, "左轨"));
    ASSERT_TRUE(sheet->writeText(5, 1, "右轨"));
    ASSERT_TRUE(sheet->writeText(4, 2, "12.35%"));
    ASSERT_TRUE(sheet->writeText(5, 16, " <&> \"引号\" "));
    EXPECT_EQ(sheet->text(1, 1), "京沪高速线");
    EXPECT_EQ(sheet->text(1, 0), "线路");
    EXPECT_TRUE(sheet->modified());

    const std::string report = path("20240102030405.xlsx");
    ASSERT_TRUE(book.save(report));
    EXPECT_EQ(folderContents(), std::vector<std::string>{"20240102030405.xlsx"});

    XlsxBook reloaded;
    ASSERT_TRUE(reloaded.load(report));
    const XlsxSheet* again = reloaded.sheet(0);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->text(1, 1), "京沪高速线");
    EXPECT_EQ(again->text(1, 4), "前进");
    EXPECT_EQ(again->text(1, 6), "12km+300m--->15km+800m");
    EXPECT_EQ(again->text(2, 2), "30-100mm【阈值:0.050mm】");
    EXPECT_EQ(again->text(1, 0), "线路");
    EXPECT_EQ(again->text(4, 0), "12+300-->12+400");
    EXPECT_EQ(again->text(4, 1), "左轨");
    EXPECT_EQ(again->text(5, 1), "右轨");
    EXPECT_EQ(again->text(4, 2), "12.35%");
    EXPECT_EQ(again->text(5, 16), " <&> \"引号\" ");
    EXPECT_EQ(again->text(3, 2), "超限比");  // untouched template text
    const auto merged = again->mergedRanges();
    EXPECT_EQ(std::count(merged.begin(), merged.end(), "A5:A6"), 1);
    EXPECT_EQ(merged.size(), sheet->mergedRanges().size());
}

TEST_F(XlsxBookTest, WrittenCellsKeepTheTemplateFormat) {
    XlsxBook book;
    ASSERT_TRUE(book.load(kTemplate));
    CellLookup before(zipEntry(kTemplate, kSheetPart));
    XlsxSheet* sheet = book.sheet(0);
    ASSERT_TRUE(sheet->writeText(1, 1, "线路"));  // a styled empty cell
    ASSERT_TRUE(sheet->writeText(1, 0, "名称"));  // a styled caption
    ASSERT_TRUE(sheet->writeText(6, 3, "0.00"));  // no cell there: the column's format
    const std::string report = path("r.xlsx");
    ASSERT_TRUE(book.save(report));
    CellLookup after(zipEntry(report, kSheetPart));

    for (const char* address : {"B2", "A2"}) {
        const std::string style = before.cell(address).attribute("s").value();
        EXPECT_FALSE(style.empty()) << address;
        EXPECT_EQ(after.cell(address).attribute("s").value(), style) << address;
        EXPECT_STREQ(after.cell(address).attribute("t").value(), "inlineStr") << address;
    }
    const std::string columnStyle =
        before.document.select_node("//col[@min='4']").node().attribute("style").value();
    EXPECT_FALSE(columnStyle.empty());
    EXPECT_EQ(after.cell("D7").attribute("s").value(), columnStyle);
}

// The <xf> elements of <cellXfs> in a styles part, each as written.
std::vector<std::string> cellFormats(const std::string& stylesXml) {
    pugi::xml_document document;
    EXPECT_TRUE(document.load_buffer(stylesXml.data(), stylesXml.size()));
    std::vector<std::string> formats;
    for (const pugi::xpath_node xf : document.select_nodes("/styleSheet/cellXfs/xf")) {
        std::ostringstream text;
        xf.node().print(text, "", pugi::format_raw);
        formats.push_back(text.str());
    }
    return formats;
}

TEST_F(XlsxBookTest, CellFillsSurviveSaveAndReloadOverTheCellsOwnLook) {
    const std::uint32_t red = 0xFFC7CE;
    const std::uint32_t amber = 0xFFEB9C;
    XlsxBook book;
    ASSERT_TRUE(book.load(kTemplate));
    XlsxSheet* sheet = book.sheet(0);
    ASSERT_NE(book.styles(), nullptr);
    const std::size_t templateFormats = book.styles()->formatCount();
    const unsigned captionStyle = sheet->style(1, 0);  // bold, grey fill, border
    const unsigned columnStyle = sheet->style(6, 2);   // no cell there: the column's
    ASSERT_NE(captionStyle, columnStyle);
    ASSERT_TRUE(sheet->writeText(6, 2, "7.00%"));
    ASSERT_TRUE(book.setCellFill(*sheet, 6, 2, red));
    ASSERT_TRUE(book.setCellFill(*sheet, 6, 3, red));  // blank cell, same format: shared
    ASSERT_TRUE(sheet->writeText(6, 3, "0.120"));      // text after the fill keeps it
    ASSERT_TRUE(book.setCellFill(*sheet, 1, 0, red));  // another base format
    ASSERT_TRUE(book.setCellFill(*sheet, 7, 2, amber));
    EXPECT_FALSE(book.setCellFill(*sheet, kXlsxRowCount, 0, red));
    EXPECT_EQ(book.styles()->formatCount(), templateFormats + 3);
    EXPECT_EQ(sheet->style(6, 2), sheet->style(6, 3));
    const std::string report = path("filled.xlsx");
    ASSERT_TRUE(book.save(report));

    XlsxBook reloaded;
    ASSERT_TRUE(reloaded.load(report));
    const XlsxSheet* again = reloaded.sheet(0);
    EXPECT_EQ(reloaded.cellFill(*again, 6, 2), red);
    EXPECT_EQ(reloaded.cellFill(*again, 6, 3), red);
    EXPECT_EQ(reloaded.cellFill(*again, 1, 0), red);
    EXPECT_EQ(reloaded.cellFill(*again, 7, 2), amber);
    EXPECT_EQ(reloaded.cellFill(*again, 6, 4), std::nullopt);
    EXPECT_EQ(reloaded.cellFill(*again, 2, 0), 0xDDEBF7u);  // the template's header fills
    EXPECT_EQ(reloaded.cellFill(*again, 1, 3), 0xF2F2F2u);
    EXPECT_EQ(again->text(6, 2), "7.00%");
    EXPECT_EQ(again->text(6, 3), "0.120");
    EXPECT_EQ(again->text(1, 0), "线路名称");

    // The template's formats are kept as they were, and the new ones are
    // copies of their base with only the fill changed.
    const auto before = cellFormats(zipEntry(kTemplate, "xl/styles.xml"));
    const auto after = cellFormats(zipEntry(report, "xl/styles.xml"));
    ASSERT_EQ(after.size(), before.size() + 3);
    EXPECT_TRUE(std::equal(before.begin(), before.end(), after.begin()));
    pugi::xml_document base;
    pugi::xml_document filled;
    ASSERT_TRUE(base.load_string(before[captionStyle].c_str()));
    ASSERT_TRUE(filled.load_string(after[again->style(1, 0)].c_str()));
    for (const char* attribute : {"fontId", "borderId", "numFmtId"}) {
        EXPECT_STREQ(filled.first_child().attribute(attribute).value(),
                     base.first_child().attribute(attribute).value())
            << attribute;
    }
    EXPECT_STREQ(filled.first_child().attribute("applyFill").value(), "1");
    EXPECT_EQ(filled.first_child().child("alignment").attribute("horizontal").value(),
              std::string("center"));
}

TEST_F(XlsxBookTest, AWorkbookWithoutStylesTakesNoFillButKeepsItsTexts) {
    Entries entries = sharedStringWorkbook();
    entries.erase(std::remove_if(entries.begin(), entries.end(),
                                 [](const auto& entry) { return entry.first == "xl/styles.xml"; }),
                  entries.end());
    writeZip(path("plain.xlsx"), entries);
    XlsxBook book;
    ASSERT_TRUE(book.load(path("plain.xlsx")));
    EXPECT_EQ(book.styles(), nullptr);
    XlsxSheet* sheet = book.sheet(0);
    EXPECT_FALSE(book.setCellFill(*sheet, 4, 2, 0xFFC7CE));
    EXPECT_TRUE(sheet->writeText(4, 2, "7.00%"));
    ASSERT_TRUE(book.save(path("out.xlsx")));
    XlsxBook reloaded;
    ASSERT_TRUE(reloaded.load(path("out.xlsx")));
    EXPECT_EQ(reloaded.sheet(0)->text(4, 2), "7.00%");
    EXPECT_EQ(reloaded.cellFill(*reloaded.sheet(0), 4, 2), std::nullopt);
}

TEST(XlsxStyles, AddsEachFillOnceAndReadsOnlyPlainColours) {
    const std::string xml =
        "<x:styleSheet xmlns:x=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
        "<x:fills count=\"3\"><x:fill><x:patternFill patternType=\"none\"/></x:fill>"
        "<x:fill><x:patternFill patternType=\"gray125\"/></x:fill>"
        "<x:fill><x:patternFill patternType=\"solid\"><x:fgColor theme=\"4\"/></x:patternFill>"
        "</x:fill></x:fills>"
        "<x:cellXfs count=\"2\"><x:xf fontId=\"0\" fillId=\"0\"/><x:xf fontId=\"1\" "
        "fillId=\"2\"/></x:cellXfs></x:styleSheet>";
    auto styles = XlsxStyles::fromXml(xml);
    ASSERT_NE(styles, nullptr);
    EXPECT_EQ(styles->formatCount(), 2u);
    EXPECT_EQ(styles->solidFill(0), std::nullopt);  // no fill
    EXPECT_EQ(styles->solidFill(1), std::nullopt);  // a theme colour
    EXPECT_EQ(styles->solidFill(2), std::nullopt);  // no such format
    EXPECT_FALSE(styles->modified());

    EXPECT_EQ(styles->withSolidFill(2, 0xFFC7CE), std::nullopt);
    EXPECT_EQ(styles->withSolidFill(1, 0xFFC7CE), 2u);
    EXPECT_EQ(styles->withSolidFill(1, 0xFFC7CE), 2u);  // the same pair again
    EXPECT_EQ(styles->withSolidFill(0, 0xFFC7CE), 3u);
    EXPECT_EQ(styles->withSolidFill(1, 0x123456), 4u);
    EXPECT_TRUE(styles->modified());
    EXPECT_EQ(styles->solidFill(2), 0xFFC7CEu);
    EXPECT_EQ(styles->solidFill(4), 0x123456u);

    // Written back in the part's own prefix, with the counts kept right.
    auto again = XlsxStyles::fromXml(styles->toXml());
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->formatCount(), 5u);
    EXPECT_EQ(again->solidFill(3), 0xFFC7CEu);
    const std::string text = styles->toXml();
    EXPECT_NE(text.find("<x:fills count=\"6\">"), std::string::npos) << text;
    EXPECT_NE(text.find("<x:cellXfs count=\"5\">"), std::string::npos) << text;
    EXPECT_NE(text.find("<x:fgColor rgb=\"FFFFC7CE\"/>"), std::string::npos) << text;

    EXPECT_EQ(XlsxStyles::fromXml("<styleSheet><fills/></styleSheet>"), nullptr);
    EXPECT_EQ(XlsxStyles::fromXml("<worksheet/>"), nullptr);
    EXPECT_EQ(XlsxStyles::fromXml("<styleSheet><fills/><cellXfs>"), nullptr);
}

TEST_F(XlsxBookTest, EveryOtherPartIsCopiedUnchanged) {
    XlsxBook book;
    ASSERT_TRUE(book.load(kTemplate));
    book.sheet(0)->writeText(7, 2, "7.00%");
    const std::string report = path("r.xlsx");
    ASSERT_TRUE(book.save(report));
    const Entries original = readZip(kTemplate);
    const Entries saved = readZip(report);
    ASSERT_EQ(saved.size(), original.size());
    for (std::size_t i = 0; i < original.size(); ++i) {
        EXPECT_EQ(saved[i].first, original[i].first);  // same order, [Content_Types].xml first
        if (original[i].first != kSheetPart) {
            EXPECT_EQ(saved[i].second, original[i].second) << original[i].first;
        }
    }
}

TEST_F(XlsxBookTest, TheTemplateIsNeverChanged) {
    const std::string bytes = readBytes(kTemplate);
    const auto time = fs::last_write_time(kTemplate);
    XlsxBook book;
    ASSERT_TRUE(book.load(kTemplate));
    book.sheet(0)->writeText(1, 1, "线路");
    book.sheet(0)->merge(4, 5, 0, 0);
    ASSERT_TRUE(book.save(path("r.xlsx")));
    EXPECT_FALSE(book.save(kTemplate));  // saving over the loaded file is refused
    EXPECT_EQ(readBytes(kTemplate), bytes);
    EXPECT_EQ(fs::last_write_time(kTemplate), time);
}

TEST_F(XlsxBookTest, AnUneditedBookSavesAnEqualCopy) {
    XlsxBook book;
    ASSERT_TRUE(book.load(kTemplate));
    const std::string copy = path("copy.xlsx");
    ASSERT_TRUE(book.save(copy));
    EXPECT_EQ(readZip(copy), readZip(kTemplate));
}

TEST_F(XlsxBookTest, RowsAndCellsStayInAscendingOrder) {
    XlsxBook book;
    ASSERT_TRUE(book.load(kTemplate));
    XlsxSheet* sheet = book.sheet(0);
    sheet->writeText(9, 5, "f10");
    sheet->writeText(6, 7, "h7");
    sheet->writeText(9, 1, "b10");
    sheet->writeText(20, 0, "a21");
    sheet->writeText(6, 2, "c7");
    sheet->writeText(9, 16, "q10");
    sheet->writeText(1, 1, "b2");  // between the captions of row 2
    const std::string report = path("r.xlsx");
    ASSERT_TRUE(book.save(report));

    CellLookup saved(zipEntry(report, kSheetPart));
    int previousRow = 0;
    int rows = 0;
    for (const pugi::xml_node row :
         saved.document.select_node("//sheetData").node().children("row")) {
        const int number = row.attribute("r").as_int();
        EXPECT_GT(number, previousRow);
        previousRow = number;
        ++rows;
        int previousColumn = -1;
        for (const pugi::xml_node cell : row.children("c")) {
            const auto position = parseCellAddress(cell.attribute("r").value());
            ASSERT_TRUE(position);
            EXPECT_EQ(position->row, number - 1);
            EXPECT_GT(position->column, previousColumn) << cell.attribute("r").value();
            previousColumn = position->column;
        }
    }
    EXPECT_EQ(rows, 4 + 3);
    EXPECT_STREQ(saved.document.select_node("//dimension").node().attribute("ref").value(),
                 "A1:Q21");
    XlsxBook reloaded;
    ASSERT_TRUE(reloaded.load(report));
    EXPECT_EQ(reloaded.sheet(0)->text(9, 5), "f10");
    EXPECT_EQ(reloaded.sheet(0)->text(20, 0), "a21");
}

TEST_F(XlsxBookTest, MergesAreCountedNotDuplicatedAndNeverOverlap) {
    XlsxBook book;
    ASSERT_TRUE(book.load(kTemplate));
    XlsxSheet* sheet = book.sheet(0);
    const std::size_t templateMerges = sheet->mergedRanges().size();
    EXPECT_TRUE(sheet->merge(4, 5, 0, 0));
    EXPECT_TRUE(sheet->merge(4, 5, 0, 0));    // the same range again: no second entry
    EXPECT_TRUE(sheet->merge(2, 2, 2, 4));    // already merged in the template (C3:E3)
    EXPECT_FALSE(sheet->merge(5, 6, 0, 0));   // A6:A7 overlaps A5:A6
    EXPECT_FALSE(sheet->merge(2, 2, 3, 5));   // D3:F3 overlaps C3:E3 and F3:H3
    EXPECT_FALSE(sheet->merge(7, 7, 1, 1));   // a single cell
    EXPECT_FALSE(sheet->merge(7, 6, 0, 0));   // reversed
    EXPECT_FALSE(sheet->merge(-1, 0, 0, 0));  // outside the sheet
    EXPECT_TRUE(sheet->merge(6, 7, 0, 0));
    const auto merged = sheet->mergedRanges();
    EXPECT_EQ(merged.size(), templateMerges + 2);
    EXPECT_EQ(merged[templateMerges], "A5:A6");
    EXPECT_EQ(merged[templateMerges + 1], "A7:A8");

    const std::string report = path("r.xlsx");
    ASSERT_TRUE(book.save(report));
    CellLookup saved(zipEntry(report, kSheetPart));
    const pugi::xml_node list = saved.document.select_node("//mergeCells").node();
    EXPECT_EQ(list.attribute("count").as_ullong(), templateMerges + 2);
    EXPECT_EQ(static_cast<std::size_t>(std::distance(list.children("mergeCell").begin(),
                                                     list.children("mergeCell").end())),
              templateMerges + 2);
}

TEST_F(XlsxBookTest, AReportOfTwelveSectionsFillsRowsFiveToTwentyNine) {
    XlsxBook book;
    ASSERT_TRUE(book.load(kTemplate));
    XlsxSheet* sheet = book.sheet(0);
    const int tableRows = 27;  // 2 header rows, 12 section pairs, one empty row
    for (int j = 0; j <= (tableRows - 3) / 2; ++j) {
        ASSERT_TRUE(sheet->merge(4 + 2 * j, 5 + 2 * j, 0, 0));
        ASSERT_TRUE(sheet->writeText(
            4 + 2 * j, 0, j < 12 ? std::to_string(j) + "+0-->" + std::to_string(j) + "+100" : ""));
    }
    for (int t = 2; t < tableRows; ++t) {
        for (int c = 1; c <= 16; ++c) {
            const bool empty = t == tableRows - 1 || c >= 14;
            ASSERT_TRUE(sheet->writeText(t + 2, c, empty ? "" : cellAddress(t + 2, c) + " 左"));
        }
    }
    const std::string report = path("report.xlsx");
    ASSERT_TRUE(book.save(report));

    XlsxBook reloaded;
    ASSERT_TRUE(reloaded.load(report));
    const XlsxSheet* again = reloaded.sheet(0);
    const auto merged = again->mergedRanges();
    EXPECT_EQ(merged.size(), 13u + 13u);
    EXPECT_EQ(merged[13], "A5:A6");
    EXPECT_EQ(merged.back(), "A29:A30");
    EXPECT_EQ(again->text(4, 0), "0+0-->0+100");
    EXPECT_EQ(again->text(26, 0), "11+0-->11+100");
    EXPECT_EQ(again->text(28, 0), "");
    EXPECT_EQ(again->text(4, 1), "B5 左");
    EXPECT_EQ(again->text(27, 13), "N28 左");
    EXPECT_EQ(again->text(27, 14), "");
    EXPECT_EQ(again->text(28, 1), "");
}

TEST_F(XlsxBookTest, AnEmptyTextLeavesABlankCellWithItsFormat) {
    XlsxBook book;
    ASSERT_TRUE(book.load(kTemplate));
    XlsxSheet* sheet = book.sheet(0);
    ASSERT_TRUE(sheet->writeText(1, 0, ""));
    EXPECT_EQ(sheet->text(1, 0), "");
    const std::string report = path("r.xlsx");
    ASSERT_TRUE(book.save(report));
    CellLookup before(zipEntry(kTemplate, kSheetPart));
    CellLookup after(zipEntry(report, kSheetPart));
    const pugi::xml_node cell = after.cell("A2");
    ASSERT_TRUE(cell);
    EXPECT_STREQ(cell.attribute("s").value(), before.cell("A2").attribute("s").value());
    EXPECT_FALSE(cell.attribute("t"));
    EXPECT_FALSE(cell.first_child());
}

TEST_F(XlsxBookTest, ControlCharactersRoundTrip) {
    XlsxBook book;
    ASSERT_TRUE(book.load(kTemplate));
    const std::string text = std::string("a\r\nb") + '\x07' + "_x0041_";
    ASSERT_TRUE(book.sheet(0)->writeText(10, 10, text));
    const std::string report = path("r.xlsx");
    ASSERT_TRUE(book.save(report));
    XlsxBook reloaded;
    ASSERT_TRUE(reloaded.load(report));
    EXPECT_EQ(reloaded.sheet(0)->text(10, 10), text);
}

TEST_F(XlsxBookTest, EditsOutsideTheSheetAreRefused) {
    XlsxBook book;
    ASSERT_TRUE(book.load(kTemplate));
    XlsxSheet* sheet = book.sheet(0);
    EXPECT_FALSE(sheet->writeText(-1, 0, "x"));
    EXPECT_FALSE(sheet->writeText(0, kXlsxColumnCount, "x"));
    EXPECT_FALSE(sheet->writeText(kXlsxRowCount, 0, "x"));
    EXPECT_FALSE(sheet->modified());
    EXPECT_TRUE(sheet->writeText(kXlsxRowCount - 1, kXlsxColumnCount - 1, "corner"));
    EXPECT_EQ(sheet->text(kXlsxRowCount - 1, kXlsxColumnCount - 1), "corner");
}

TEST_F(XlsxBookTest, SharedStringCellsAreReadAndOverwrittenWithoutTouchingTheTable) {
    const std::string workbook = path("shared.xlsx");
    const Entries entries = sharedStringWorkbook();
    writeZip(workbook, entries);

    XlsxBook book;
    ASSERT_TRUE(book.load(workbook));
    EXPECT_EQ(book.sheetCount(), 2u);
    XlsxSheet* sheet = book.sheet(0);
    ASSERT_NE(sheet, nullptr);
    ASSERT_NE(book.sheet(1), nullptr);
    EXPECT_EQ(book.sheet(1)->text(0, 0), "说明");
    EXPECT_EQ(sheet->text(0, 0), "里程");
    EXPECT_EQ(sheet->text(0, 2), "峰峰值/mm");
    EXPECT_EQ(sheet->text(2, 0), "42");
    EXPECT_EQ(sheet->text(1, 0), "");
    EXPECT_TRUE(sheet->mergedRanges().empty());

    ASSERT_TRUE(sheet->writeText(0, 0, "公里标"));  // was shared string 0, style 2
    ASSERT_TRUE(sheet->writeText(2, 4, "行格式"));  // row 3 has a format of its own
    ASSERT_TRUE(sheet->writeText(1, 1, "列格式"));  // no row 2: column B's format
    ASSERT_TRUE(sheet->writeText(1, 5, "无格式"));  // neither
    ASSERT_TRUE(sheet->merge(1, 2, 0, 0));
    const std::string report = path("r.xlsx");
    ASSERT_TRUE(book.save(report));

    const Entries saved = readZip(report);
    ASSERT_EQ(saved.size(), entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(saved[i].first, entries[i].first);
        if (entries[i].first != kSheetPart) {
            EXPECT_EQ(saved[i].second, entries[i].second) << entries[i].first;
        }
    }

    CellLookup sheetXml(zipEntry(report, kSheetPart));
    EXPECT_STREQ(sheetXml.cell("A1").attribute("s").value(), "2");
    EXPECT_STREQ(sheetXml.cell("A1").attribute("t").value(), "inlineStr");
    EXPECT_STREQ(sheetXml.cell("E3").attribute("s").value(), "2");
    EXPECT_STREQ(sheetXml.cell("B2").attribute("s").value(), "1");
    EXPECT_FALSE(sheetXml.cell("F2").attribute("s"));
    EXPECT_STREQ(sheetXml.row(3).attribute("spans").value(), "1:5");
    EXPECT_STREQ(sheetXml.document.select_node("//dimension").node().attribute("ref").value(),
                 "A1:F3");
    // <mergeCells> goes where the schema wants it: right after <sheetData>.
    const pugi::xml_node mergeCells = sheetXml.document.select_node("//mergeCells").node();
    ASSERT_TRUE(mergeCells);
    EXPECT_STREQ(mergeCells.previous_sibling().name(), "sheetData");
    EXPECT_STREQ(mergeCells.attribute("count").value(), "1");
    EXPECT_STREQ(mergeCells.next_sibling().name(), "phoneticPr");

    XlsxBook reloaded;
    ASSERT_TRUE(reloaded.load(report));
    EXPECT_EQ(reloaded.sheet(0)->text(0, 0), "公里标");
    EXPECT_EQ(reloaded.sheet(0)->text(0, 2), "峰峰值/mm");
    EXPECT_EQ(reloaded.sheet(0)->text(2, 4), "行格式");
    EXPECT_EQ(reloaded.sheet(0)->mergedRanges(), std::vector<std::string>{"A2:A3"});
}

TEST_F(XlsxBookTest, LoadFailsForMissingUnreadableAndForeignFiles) {
    XlsxBook book;
    EXPECT_FALSE(book.load(path("missing.xlsx")));
    EXPECT_FALSE(book.load(folder_.string()));  // a folder

    const std::string text = path("not_a_zip.xlsx");
    std::ofstream(text) << "线路名称,运行方向\n";
    EXPECT_FALSE(book.load(text));

    const std::string empty = path("empty.xlsx");
    std::ofstream{empty};
    EXPECT_FALSE(book.load(empty));

    const std::string foreign = path("foreign.xlsx");
    writeZip(foreign, {{"readme.txt", "no workbook here"}});
    EXPECT_FALSE(book.load(foreign));

    Entries broken = sharedStringWorkbook();
    for (auto& [name, content] : broken) {
        if (name == kSheetPart) {
            content = "<worksheet><sheetData><row r=\"1\">";
        }
    }
    const std::string damaged = path("damaged.xlsx");
    writeZip(damaged, broken);
    EXPECT_FALSE(book.load(damaged));

    EXPECT_FALSE(book.loaded());
    EXPECT_EQ(book.sheet(0), nullptr);
    EXPECT_FALSE(book.save(path("out.xlsx")));  // nothing loaded, nothing saved
    EXPECT_FALSE(fs::exists(path("out.xlsx")));

    // A failed load after a good one leaves the book empty, not half old.
    ASSERT_TRUE(book.load(kTemplate));
    EXPECT_FALSE(book.load(text));
    EXPECT_FALSE(book.loaded());
    EXPECT_EQ(book.sheetCount(), 0u);
}

TEST_F(XlsxBookTest, SaveIntoAMissingFolderFailsAndLeavesNothing) {
    XlsxBook book;
    ASSERT_TRUE(book.load(kTemplate));
    book.sheet(0)->writeText(1, 1, "线路");
    EXPECT_FALSE(book.save(path("Report/20240102030405.xlsx")));
    EXPECT_FALSE(fs::exists(path("Report")));
    EXPECT_TRUE(folderContents().empty());
    EXPECT_FALSE(book.save(folder_.string()));  // a folder is not a file name
    EXPECT_TRUE(folderContents().empty());
}

TEST_F(XlsxBookTest, SavingAgainReplacesTheReport) {
    const std::string report = path("report.xlsx");
    std::ofstream(report) << "an older report";
    XlsxBook book;
    ASSERT_TRUE(book.load(kTemplate));
    book.sheet(0)->writeText(1, 1, "第一次");
    ASSERT_TRUE(book.save(report));
    book.sheet(0)->writeText(1, 1, "第二次");
    ASSERT_TRUE(book.save(report));
    EXPECT_EQ(folderContents(), std::vector<std::string>{"report.xlsx"});
    XlsxBook reloaded;
    ASSERT_TRUE(reloaded.load(report));
    EXPECT_EQ(reloaded.sheet(0)->text(1, 1), "第二次");
}

TEST_F(XlsxBookTest, SheetsStayValidWhenTheBookMoves) {
    XlsxBook book;
    ASSERT_TRUE(book.load(kTemplate));
    XlsxSheet* sheet = book.sheet(0);
    XlsxBook moved = std::move(book);
    EXPECT_EQ(moved.sheet(0), sheet);
    sheet->writeText(1, 1, "线路");
    const std::string report = path("r.xlsx");
    ASSERT_TRUE(moved.save(report));
    XlsxBook reloaded;
    ASSERT_TRUE(reloaded.load(report));
    EXPECT_EQ(reloaded.sheet(0)->text(1, 1), "线路");
}

}  // namespace
}  // namespace sundrel::platform
