#include "analysis/detail_table.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

#include "section_records.h"

namespace sundrel::analysis {
namespace {

using testing::sections;

TEST(DetailTable, StartsAsTheHeaderAndAnEmptyBody) {
    const DetailTable table({0.05, 0.1, 0.2, 0.3});
    EXPECT_EQ(table.rowCount(), 25);
    EXPECT_EQ(table.text(0, 0), "里程");
    EXPECT_EQ(table.text(0, 1), "股别");
    EXPECT_EQ(table.text(0, 2), "30-100mm【阈值:0.050mm】");
    EXPECT_EQ(table.text(0, 11), "1000-3000mm【阈值:0.300mm】");
    EXPECT_EQ(table.text(0, 14), "轨道高低");
    EXPECT_EQ(table.text(1, 2), "超限比");
    EXPECT_EQ(table.text(1, 16), "波磨集中区段");
    EXPECT_EQ(table.merges().size(), 7u);
    EXPECT_EQ(table.merges()[0], (CellRange{0, 1, 0, 0}));
    EXPECT_EQ(table.merges()[6], (CellRange{0, 0, 14, 16}));
}

TEST(DetailTable, TwoRailsOfTwelveSections) {
    DetailTable table;
    const auto left = sections(1, 12);
    const auto right = sections(2, 12);
    table.fill(left.data(), left.size());
    table.fill(right.data(), right.size());
    ASSERT_EQ(table.rowCount(), 27);
    EXPECT_EQ(table.text(2, 0), "0+0-->0+100");
    EXPECT_EQ(table.text(24, 0), "0+1100-->0+1200");
    EXPECT_EQ(table.text(2, 1), "左轨");
    EXPECT_EQ(table.text(3, 1), "右轨");
    EXPECT_EQ(table.text(4, 2), "1.00%");  // left, section 1, band 1
    EXPECT_EQ(table.text(5, 6), "0.100");  // right, section 1, band 2 peak-to-peak
    EXPECT_EQ(table.text(25, 13), "-");    // right, section 11, band 4 position
    EXPECT_EQ(table.text(26, 2), "");      // the empty last row
    EXPECT_EQ(table.text(2, 14), "");      // track high/low stays empty
    EXPECT_EQ(table.merges().size(), 7u + 12u);
    EXPECT_EQ(table.merges().back(), (CellRange{24, 25, 0, 0}));
}

TEST(DetailTable, FormatsRatiosAndValues) {
    auto records = sections(1, 1);
    records[0].bands[0].ratio = 12.346f;
    records[0].bands[0].peakToPeak = 0.0f;
    DetailTable table;
    table.fill(records.data(), 1);
    EXPECT_EQ(table.text(2, 2), "12.35%");
    EXPECT_EQ(table.text(2, 3), "0.000");  // three decimals, as the limits
    EXPECT_EQ(table.text(2, 4), "-");
    records[0].bands[1].peakToPeak = 0.1f;
    records[0].bands[2].peakToPeak = 0.0375f;
    table.fill(records.data(), 1);
    EXPECT_EQ(table.text(2, 6), "0.100");
    EXPECT_EQ(table.text(2, 9), "0.038");
}

// Section i's band k has the ratio i + k / 10: section 5 holds 5.0 (not
// above the limit) and 5.1, 5.2, 5.3.
TEST(DetailTable, MarksTheCellsOfBandsAboveFivePercent) {
    DetailTable table;
    const auto left = sections(1, 7);
    auto right = sections(2, 7);
    right[1].bands[2].ratio = 5.01f;
    right[1].bands[3].ratio = 4.99f;
    table.fill(left.data(), left.size());
    table.fill(right.data(), right.size());
    struct Case {
        int row;
        int band;
        bool failing;
    };
    for (const Case c : {
             Case{2 + 2 * 4, 3, false},  // left, section 4, 4.3
             Case{2 + 2 * 5, 0, false},  // left, section 5, 5.0
             Case{2 + 2 * 5, 1, true},   // 5.1
             Case{2 + 2 * 5, 3, true},
             Case{2 + 2 * 6, 0, true},  // 6.0
             Case{3 + 2 * 1, 2, true},  // right, section 1, 5.01
             Case{3 + 2 * 1, 3, false},
             Case{3 + 2 * 1, 1, false},
         }) {
        for (int part = 0; part < 3; ++part) {
            EXPECT_EQ(table.failing(c.row, 2 + 3 * c.band + part), c.failing)
                << "row " << c.row << " band " << c.band << " part " << part;
        }
    }
    // Range, side, track high/low, header and the empty last row stay plain.
    for (const auto& [row, column] : std::initializer_list<std::pair<int, int>>{
             {12, 0}, {12, 1}, {12, 14}, {0, 2}, {1, 5}, {16, 2}, {-1, 2}, {12, 17}}) {
        EXPECT_FALSE(table.failing(row, column)) << row << "," << column;
    }

    // A rail filled again takes its new marks; a reset clears them.
    auto quiet = sections(1, 7);
    for (auto& record : quiet) {
        for (auto& band : record.bands) {
            band.ratio = 0.0f;
        }
    }
    table.fill(quiet.data(), quiet.size());
    EXPECT_FALSE(table.failing(12, 5));
    EXPECT_TRUE(table.failing(5, 8));  // the right rail keeps its own
    table.reset({});
    EXPECT_FALSE(table.failing(5, 8));
}

TEST(DetailTable, ARightRailAloneFillsTheLowerRows) {
    DetailTable table;
    const auto right = sections(2, 3);
    table.fill(right.data(), right.size());
    EXPECT_EQ(table.rowCount(), 9);
    EXPECT_EQ(table.text(2, 1), "左轨");
    EXPECT_EQ(table.text(2, 2), "");
    EXPECT_EQ(table.text(3, 2), "0.00%");
    EXPECT_EQ(table.text(7, 2), "2.00%");
}

TEST(DetailTable, TheFirstRailDecidesTheRows) {
    DetailTable table;
    const auto left = sections(1, 10);
    const auto right = sections(2, 11);
    table.fill(left.data(), left.size());
    table.fill(right.data(), right.size());
    EXPECT_EQ(table.rowCount(), 23);  // ten pairs: the eleventh right section is dropped
    EXPECT_EQ(table.text(21, 2), "9.00%");
    table.fill(nullptr, 0);  // no records: nothing changes
    EXPECT_EQ(table.rowCount(), 23);
}

TEST(DetailTable, AResetRefreshesTheThresholds) {
    DetailTable table({0.05, 0.1, 0.1, 0.1});
    const auto left = sections(1, 2);
    table.fill(left.data(), left.size());
    table.reset({0.08, 0.1, 0.1, 0.1});
    EXPECT_EQ(table.rowCount(), 25);
    EXPECT_EQ(table.text(2, 0), "");
    EXPECT_EQ(table.text(0, 2), "30-100mm【阈值:0.080mm】");
}

}  // namespace
}  // namespace sundrel::analysis
