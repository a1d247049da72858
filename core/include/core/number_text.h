#pragma once

#include <string>

namespace sundrel::core {

// "%.<decimals>f" of a value, with '.' as the decimal point whatever the
// user's locale says (the program runs under Qt, which adopts it).
std::string fixedText(double value, int decimals);

}  // namespace sundrel::core
