// Feeds arbitrary bytes to Analyse as the contents of a raw data file. The
// first four bytes choose a few header values that random bytes would rarely
// reach (valid magic, hostile positions and calibration), so the fuzzer
// spends its time past the file checks.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "kestova/kestova.h"

namespace {

intptr_t swallow(KestovaHostWindow*, uint32_t, uintptr_t wparam, intptr_t) {
    // Touch every payload the way a host copies it.
    const auto* message = reinterpret_cast<const PanelMessage*>(wparam);
    volatile double sink = 0;
    if (message->code == KESTOVA_CODE_SECTIONS) {
        const auto* records = reinterpret_cast<const SectionRecord*>(message->data);
        for (uintptr_t i = 0; i < message->count; ++i) {
            sink = sink + records[i].bands[3].peakToPeak + static_cast<double>(records[i].range[0]);
        }
    } else if (message->code != KESTOVA_CODE_FILE_INFO) {
        const auto* data = reinterpret_cast<const double*>(message->data);
        const auto* axis = reinterpret_cast<const double*>(message->axis);
        for (uintptr_t i = 0; i < message->count; ++i) {
            sink = sink + data[i] + (axis ? axis[i] : 0.0);
        }
    }
    return 0;
}

const std::string& scratchPath() {
    static const std::string path = "/tmp/kestova_fuzz_" + std::to_string(getpid()) + ".raw";
    return path;
}

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kHostile[] = {0.0,    1e300,   -1e300, 1e12,
                               -0.0,   kInf,    -kInf,  std::numeric_limits<double>::quiet_NaN(),
                               5e-324, 123456.5};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static KestovaHostWindow window{&swallow, nullptr};
    SetWnd(&window);
    if (size < 4) {
        return 0;
    }
    const std::uint8_t mode = data[0];
    std::vector<std::uint8_t> file(data + 4, data + size);
    if (mode & 1) {
        // Grow small inputs to the minimum size with frames of both sides.
        const std::uint8_t frame[12] = {0xFC, 0xFC, 0,    0x12, 0x34, 0x56,
                                        0x78, 0x9A, 0xBC, 0xDE, 0xF0, 0};
        while (file.size() < 17100 + (data[1] % 8) * 1000) {
            file.insert(file.end(), frame, frame + 12);
            if (data[2] & 1) {
                file.push_back(0xFD);
            }
        }
    }
    if ((mode & 2) && file.size() >= 1710) {
        file[0] = 0xCD;
        file[1] = 0xAB;
        const double position = kHostile[data[1] % std::size(kHostile)];
        std::memcpy(file.data() + 1702, &position, sizeof position);
        const double slope = kHostile[data[2] % std::size(kHostile)];
        std::memcpy(file.data() + 43, &slope, sizeof slope);
    }
    if ((mode & 4) && file.size() >= 3420) {
        const std::size_t trailer = file.size() - 1710;
        file[trailer] = 0xCD;
        file[trailer + 1] = 0xAB;
        const double end = kHostile[data[3] % std::size(kHostile)];
        std::memcpy(file.data() + trailer + 1702, &end, sizeof end);
    }
    std::FILE* out = std::fopen(scratchPath().c_str(), "wb");
    if (!out) {
        return 0;
    }
    std::fwrite(file.data(), 1, file.size(), out);
    std::fclose(out);
    const double limit = (mode & 8) ? kHostile[data[3] % std::size(kHostile)] : 0.1;
    Analyse(scratchPath().c_str(), limit, 0.1, 0.1, 0.1);
    return 0;
}
