#include "acquisition/raw_file_header.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/gbk_text.h"

namespace sundrel::acquisition {
namespace {

TEST(RawFileHeader, StartsClearedWithTheMagicBytesCdAb) {
    const RawFileHeader header = makeRawFileHeader();
    const auto* bytes = reinterpret_cast<const unsigned char*>(&header);
    EXPECT_EQ(bytes[0], 0xCD);
    EXPECT_EQ(bytes[1], 0xAB);
    for (std::size_t i = 2; i < sizeof header; ++i) {
        ASSERT_EQ(bytes[i], 0) << "byte " << i;
    }
}

TEST(RawFileHeader, FieldsLandAtTheirFileOffsets) {
    RawFileHeader header = makeRawFileHeader();
    header.line.side = 2;
    header.rightEddy[3].intercept = -1.5;
    header.position = 12.5;
    const auto* bytes = reinterpret_cast<const unsigned char*>(&header);
    std::int32_t side = 0;
    std::memcpy(&side, bytes + 31, 4);
    double intercept = 0;
    std::memcpy(&intercept, bytes + 115 + 16 * 3, 8);
    double position = 0;
    std::memcpy(&position, bytes + 1702, 8);
    EXPECT_EQ(side, 2);
    EXPECT_EQ(intercept, -1.5);
    EXPECT_EQ(position, 12.5);
}

TEST(RawFileHeader, TextIsCutOnACharacterBoundaryAndNeverOverruns) {
    // "a" then 200 two-byte characters: 401 bytes, cut to 253 so that no
    // character is split and the terminating NUL fits.
    std::string text = "a";
    for (int i = 0; i < 200; ++i) {
        text += platform::utf8ToGbk("线");
    }
    ASSERT_EQ(text.size(), 401u);
    RawFileHeader header = makeRawFileHeader();
    header.department[0] = 'x';
    std::memset(header.staffName, 0x7E, sizeof header.staffName);
    setHeaderText(header.lineName, text);
    EXPECT_EQ(std::strlen(header.lineName), 253u);
    EXPECT_EQ(header.lineName[253], '\0');
    EXPECT_EQ(header.lineName[254], '\0');
    EXPECT_EQ(std::string(header.lineName), text.substr(0, 253));
    EXPECT_EQ(header.department[0], 'x');  // the next field is untouched

    setHeaderText(header.lineName, "");
    EXPECT_EQ(header.lineName[0], '\0');
}

}  // namespace
}  // namespace sundrel::acquisition
