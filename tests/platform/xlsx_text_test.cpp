#include "platform/xlsx_text.h"

#include <gtest/gtest.h>

namespace sundrel::platform {
namespace {

TEST(XlsxText, PlainAndChineseTextIsStoredAsItIs) {
    EXPECT_EQ(encodeXlsxText("12.35%"), "12.35%");
    EXPECT_EQ(encodeXlsxText("左轨 <&> \"x\"\ttab\nline"), "左轨 <&> \"x\"\ttab\nline");
    EXPECT_EQ(decodeXlsxText("30-100mm【阈值:0.050mm】"), "30-100mm【阈值:0.050mm】");
}

TEST(XlsxText, ControlCharactersAreEscapedAndComeBack) {
    const std::string text = std::string("a\rb") + '\x01' + "c" + '\0' + "d";
    const std::string stored = encodeXlsxText(text);
    EXPECT_EQ(stored, "a_x000D_b_x0001_c_x0000_d");
    EXPECT_EQ(decodeXlsxText(stored), text);
}

TEST(XlsxText, ALiteralEscapeSequenceSurvives) {
    const std::string stored = encodeXlsxText("_x0041_ and _x12");
    EXPECT_EQ(stored, "_x005F_x0041_ and _x12");
    EXPECT_EQ(decodeXlsxText(stored), "_x0041_ and _x12");
    EXPECT_EQ(decodeXlsxText("_x0041_"), "A");
}

TEST(XlsxText, MalformedUtf8BecomesReplacementCharacters) {
    EXPECT_EQ(encodeXlsxText("a\xE6\x88"
                             "b"),
              "a\xEF\xBF\xBD\xEF\xBF\xBD"
              "b");
    EXPECT_EQ(encodeXlsxText("\xC0\xAF"), "\xEF\xBF\xBD\xEF\xBF\xBD");  // overlong "/"
    EXPECT_EQ(encodeXlsxText("\xED\xA0\x80"),
              "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");  // a surrogate
}

TEST(XlsxText, SharedStringsJoinRichTextRunsAndSkipPhonetics) {
    const auto items = parseSharedStrings(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
        "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" count=\"3\">"
        "<si><t>里程</t></si>"
        "<si><r><rPr><b/></rPr><t>峰峰值</t></r><r><t xml:space=\"preserve\">/mm </t></r>"
        "<rPh sb=\"0\" eb=\"1\"><t>x</t></rPh></si>"
        "<si><t/></si></sst>");
    ASSERT_TRUE(items);
    ASSERT_EQ(items->size(), 3u);
    EXPECT_EQ((*items)[0], "里程");
    EXPECT_EQ((*items)[1], "峰峰值/mm ");
    EXPECT_EQ((*items)[2], "");
    EXPECT_FALSE(parseSharedStrings("<sst><si>"));
    EXPECT_FALSE(parseSharedStrings("<other/>"));
}

}  // namespace
}  // namespace sundrel::platform
