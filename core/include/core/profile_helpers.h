#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace sundrel::core {

// Typed access to one key of a private-profile file. Each returns 0, or -1
// when `path` is empty (nothing is read or written then); a write that could
// not reach the file returns 1 and leaves the file as it was. A read asks for the
// value with the default text "0", so a missing key reads as 0, 0.0, '0' or
// "0"; numbers take their leading numeric part ("12abc" is 12, "abc" is 0).
// Conversions ignore the user's locale: the decimal point is always '.'.
int readInt(const char* section, const char* key, std::int32_t* value, const std::string& path);
int readDouble(const char* section, const char* key, double* value, const std::string& path);
int readChar(const char* section, const char* key, char* value, const std::string& path);
// Copies the text into a field of `size` bytes as copyText does.
int readText(const char* section, const char* key, char* value, std::size_t size,
             const std::string& path);

// Copies UTF-8 text into a field of `size` bytes, cut on a character boundary
// to at most 254 GBK bytes (what config.ini and a raw file header hold) and to
// the field, NUL-terminated, the rest of the field zero-filled.
void copyText(char* field, std::size_t size, std::string_view text);

int writeInt(const char* section, const char* key, std::int32_t value, const std::string& path);
int writeDouble(const char* section, const char* key, double value, const std::string& path);
int writeChar(const char* section, const char* key, char value, const std::string& path);
int writeText(const char* section, const char* key, const char* value, const std::string& path);

// "%.6f" without regard to locale.
std::string formatSixDecimals(double value);
// Leading integer (atoi, saturated to int32) or number (atof) of a text, as
// the reads convert them.
std::int32_t leadingInt(const std::string& text);
double leadingDouble(const std::string& text);

}  // namespace sundrel::core
