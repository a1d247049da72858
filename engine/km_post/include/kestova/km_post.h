#pragma once

#include <string>

// Km-post positions as the program and the engine show them. One copy for
// both: the engine links it without any of the program's libraries.
namespace kestova {

// Whole-metre position of a distance: trunc(metres + 0.5). Values that have no
// int form (NaN, beyond the int range) saturate; NaN gives 0.
int wholeMetre(double metres);

// A value truncated toward zero into an int, saturating; NaN gives 0.
int truncatedInt(double value);

// km and metre parts of a position, each truncated toward zero, so that
// 35200.7 m is 35 km + 200 m and -500 m is 0 km + -500 m.
struct KmPost {
    int km;
    int metres;
};
KmPost kmPostOf(double metres);

// "%d+%d" of a whole-metre position, both parts truncated toward zero (so
// -500 prints as "0+-500").
std::string positionText(int metres);

// "%d+%d-->%d+%d" of two positions.
std::string rangeText(int fromMetres, int toMetres);

// "%dkm+%dm" of a position.
std::string kmMetreText(const KmPost& position);

}  // namespace kestova
