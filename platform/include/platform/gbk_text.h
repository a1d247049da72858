#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace sundrel::platform {

// Texts live as UTF-8 inside the program and as GBK (code page 936) bytes in
// files, fixed record fields and config.ini. These convert at that boundary.
// Characters without a GBK form become '?'; undecodable GBK bytes become U+FFFD.
std::string utf8ToGbk(std::string_view utf8);
std::string gbkToUtf8(std::string_view gbk);

// Length of the longest prefix of `gbk` that holds at most `maxBytes` bytes and
// does not end inside a double-byte character.
std::size_t gbkPrefixLength(std::string_view gbk, std::size_t maxBytes);

// Length of the longest prefix of UTF-8 text that ends on a character
// boundary and whose GBK form holds at most `maxGbkBytes` bytes: how much of a
// text fits a GBK field of maxGbkBytes + 1 bytes.
std::size_t utf8PrefixWithinGbk(std::string_view utf8, std::size_t maxGbkBytes);

// Copies GBK text into a fixed NUL-terminated field of `fieldSize` bytes: at
// most fieldSize - 1 bytes of text, cut on a character boundary, the rest of
// the field zero-filled. Never writes past the field.
void copyToGbkField(char* field, std::size_t fieldSize, std::string_view gbk);

// Reads a fixed NUL-terminated field; an unterminated field ends at its size.
std::string_view readGbkField(const char* field, std::size_t fieldSize);

}  // namespace sundrel::platform
