#include "platform/gbk_text.h"

#include <gtest/gtest.h>

namespace sundrel::platform {
namespace {

TEST(GbkText, RoundTripsChineseText) {
    const std::string utf8 = "京沪线 工务段 张三 K12+345";
    const std::string gbk = utf8ToGbk(utf8);
    EXPECT_EQ(gbk.substr(0, 2), "\xBE\xA9");  // 京
    EXPECT_EQ(gbkToUtf8(gbk), utf8);
}

TEST(GbkText, UnmappableAndBrokenInputIsReplacedNotDropped) {
    EXPECT_EQ(utf8ToGbk("a\xF0\x9F\x98\x80"
                        "b"),
              "a?b");                                // an emoji has no GBK form
    EXPECT_EQ(gbkToUtf8("a\xBE"), "a\xEF\xBF\xBD");  // a lead byte without its trail
}

TEST(GbkText, PrefixNeverSplitsACharacter) {
    const std::string gbk = utf8ToGbk("a线路");  // 1 + 2 + 2 bytes
    EXPECT_EQ(gbkPrefixLength(gbk, 5), 5u);
    EXPECT_EQ(gbkPrefixLength(gbk, 4), 3u);
    EXPECT_EQ(gbkPrefixLength(gbk, 2), 1u);
    EXPECT_EQ(gbkPrefixLength(gbk, 0), 0u);
}

// How much UTF-8 text fits a GBK field: counted in GBK bytes, cut between
// characters. An emoji is one '?' there.
TEST(GbkText, Utf8PrefixIsCountedInGbkBytes) {
    struct Case {
        const char* text;
        std::size_t maxGbk;
        std::size_t length;  // UTF-8 bytes
    };
    for (const Case& c : {Case{"a线路", 5, 7}, Case{"a线路", 4, 4}, Case{"a线路", 0, 0},
                          Case{"线\xF0\x9F\x98\x80"
                               "b",
                               3, 7},
                          Case{"线\xF0\x9F\x98\x80"
                               "b",
                               4, 8},
                          Case{"a\xE7\xBA", 9, 3}}) {
        EXPECT_EQ(utf8PrefixWithinGbk(c.text, c.maxGbk), c.length) << c.text << " " << c.maxGbk;
    }
}

TEST(GbkText, FieldReadStopsAtNulOrFieldEnd) {
    const char terminated[5] = {'a', 'b', '\0', 'c', 'd'};
    const char full[3] = {'x', 'y', 'z'};
    EXPECT_EQ(readGbkField(terminated, 5), "ab");
    EXPECT_EQ(readGbkField(full, 3), "xyz");
}

}  // namespace
}  // namespace sundrel::platform
