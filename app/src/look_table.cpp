#include "app/look_table.h"

#include <atomic>

namespace sundrel::app {
namespace {

std::atomic<int> current{kDefaultLook};

}  // namespace

std::optional<std::uint32_t> lookColour(int lookId) {
    switch (lookId) {
        case kLookOffice2007Blue:
            return 0xFCF1E0;  // RGB(224, 241, 252)
        case kLookOffice2007Black:
            return 0xF0EFE7;  // RGB(231, 239, 240)
        case kLookOffice2007Silver:
            return 0xF8F8F0;  // RGB(240, 248, 248)
        case kLookOffice2007Aqua:
            return 0xF1EAE7;  // RGB(231, 234, 241)
        case kLookWindows7:
            return 0xFDF6ED;  // RGB(237, 246, 253)
        default:
            return std::nullopt;
    }
}

int currentLook() {
    return current.load();
}
void setCurrentLook(int lookId) {
    current.store(lookId);
}

}  // namespace sundrel::app
