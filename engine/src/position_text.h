#pragma once

#include <string>

namespace kestova {

// Whole-metre position of a distance: trunc(metres + 0.5). Values that have no
// int form (NaN, beyond the int range) saturate; NaN gives 0.
int wholeMetre(double metres);

// km+m text of a whole-metre position, "%d+%d" with both parts truncated toward
// zero (so -500 prints as "0+-500").
std::string positionText(int metres);

// "%d+%d-->%d+%d" of two positions.
std::string rangeText(int fromMetres, int toMetres);

}  // namespace kestova
