#include "platform/xlsx_address.h"

#include <gtest/gtest.h>

namespace sundrel::platform {
namespace {

struct AddressCase {
    int row;
    int column;
    const char* address;
};

TEST(XlsxAddress, ConvertsRowAndColumnToAddress) {
    const AddressCase cases[] = {
        {0, 0, "A1"},     {4, 0, "A5"},        {1, 1, "B2"},
        {1, 15, "P2"},    {2, 11, "L3"},       {28, 16, "Q29"},
        {0, 25, "Z1"},    {0, 26, "AA1"},      {0, 27, "AB1"},
        {0, 51, "AZ1"},   {0, 52, "BA1"},      {0, 701, "ZZ1"},
        {0, 702, "AAA1"}, {9, 16383, "XFD10"}, {1048575, 0, "A1048576"},
    };
    for (const AddressCase& c : cases) {
        EXPECT_EQ(cellAddress(c.row, c.column), c.address) << c.row << "," << c.column;
        const auto parsed = parseCellAddress(c.address);
        ASSERT_TRUE(parsed) << c.address;
        EXPECT_EQ(*parsed, (CellPosition{c.row, c.column})) << c.address;
    }
}

TEST(XlsxAddress, OutOfRangeGivesNoAddress) {
    EXPECT_EQ(cellAddress(-1, 0), "");
    EXPECT_EQ(cellAddress(0, -1), "");
    EXPECT_EQ(cellAddress(kXlsxRowCount, 0), "");
    EXPECT_EQ(cellAddress(0, kXlsxColumnCount), "");
    EXPECT_EQ(columnName(16383), "XFD");
    EXPECT_EQ(columnName(16384), "");
}

TEST(XlsxAddress, ParsesAnchorsAndLowerCaseRejectsTheRest) {
    EXPECT_EQ(parseCellAddress("$b$5"), (CellPosition{4, 1}));
    for (const char* bad : {"", "A", "5", "A0", "A05", "5A", "A1:", "XFE1", "A1048577", "AAAAA1",
                            "A-1", "A 1", "A1 "}) {
        EXPECT_FALSE(parseCellAddress(bad)) << '"' << bad << '"';
    }
}

TEST(XlsxAddress, RangesAreWrittenAndReadInOrder) {
    const CellRange range{{4, 0}, {5, 0}};
    EXPECT_EQ(rangeAddress(range), "A5:A6");
    EXPECT_EQ(rangeAddress({{2, 2}, {2, 4}}), "C3:E3");
    EXPECT_EQ(rangeAddress({{3, 3}, {3, 3}}), "D4");
    EXPECT_EQ(rangeAddress({{5, 0}, {4, 0}}), "");  // reversed
    EXPECT_EQ(parseRangeAddress("A5:A6"), range);
    EXPECT_EQ(parseRangeAddress("A6:A5"), range);
    EXPECT_EQ(parseRangeAddress("D4"), (CellRange{{3, 3}, {3, 3}}));
    EXPECT_FALSE(parseRangeAddress("A5:"));
}

TEST(XlsxAddress, OverlapNeedsASharedCell) {
    const CellRange a5a6{{4, 0}, {5, 0}};
    EXPECT_TRUE(rangesOverlap(a5a6, {{5, 0}, {6, 0}}));   // A6:A7
    EXPECT_FALSE(rangesOverlap(a5a6, {{6, 0}, {7, 0}}));  // A7:A8
    EXPECT_FALSE(rangesOverlap(a5a6, {{4, 1}, {5, 1}}));  // B5:B6
    EXPECT_TRUE(rangesOverlap({{2, 2}, {2, 4}}, {{0, 3}, {9, 3}}));
}

}  // namespace
}  // namespace sundrel::platform
