#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pugi {
class xml_node;
}

namespace sundrel::platform {

// Texts as a workbook stores them. XML 1.0 cannot carry most control
// characters, so the file writes them as "_xHHHH_" (and an underscore that
// would read as such an escape as "_x005F_"); these convert between that
// form and plain UTF-8.

// Stored form of a UTF-8 text: control characters other than tab and line
// feed, and U+FFFE/U+FFFF, become "_xHHHH_"; malformed UTF-8 bytes become
// U+FFFD. The result is valid UTF-8 that XML can hold.
std::string encodeXlsxText(std::string_view utf8);

// Plain text of a stored text: every "_xHHHH_" becomes its character.
std::string decodeXlsxText(std::string_view stored);

// Element or attribute name without its namespace prefix ("x:row" -> "row").
std::string_view xlsxLocalName(const char* name);

// Plain text of a string item: an <si> of the shared strings or the <is> of
// an inline-string cell, either one <t> or rich-text runs <r><t>..</t></r>
// joined; phonetic runs are not part of the text.
std::string xlsxItemText(const pugi::xml_node& item);

// The items of a shared strings part (xl/sharedStrings.xml), in index order.
// Nothing when the part is not well-formed XML with an <sst> root.
std::optional<std::vector<std::string>> parseSharedStrings(std::string_view xml);

}  // namespace sundrel::platform
