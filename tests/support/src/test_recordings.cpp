#include "test_support/test_recordings.h"

#include <unistd.h>
#include <atomic>
#include <fstream>
#include <random>

#include "frames/sensor_frame.h"

namespace kestova::testing {

void writeRawFile(const std::string& path, const RawFileParts& parts) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(&parts.header), sizeof parts.header);
    out.write(reinterpret_cast<const char*>(parts.stream.data()),
              static_cast<std::streamsize>(parts.stream.size()));
    if (parts.withTrailer) {
        auto trailer = parts.header;
        trailer.dataByteCount = static_cast<std::uint32_t>(parts.stream.size());
        trailer.position = parts.endPosition;
        out.write(reinterpret_cast<const char*>(&trailer), sizeof trailer);
    }
}

std::vector<double> randomRecord(std::size_t n) {
    std::mt19937 random(static_cast<unsigned>(n));
    std::normal_distribution<double> normal(0.0, 1.0);
    std::vector<double> x(n);
    for (double& v : x) {
        v = normal(random);
    }
    return x;
}

std::vector<std::uint8_t> repeatedFrames(int side, std::size_t count, std::uint16_t word) {
    const auto frame = sundrel::frames::makeFrame(
        side == 1 ? sundrel::frames::RailSide::Left : sundrel::frames::RailSide::Right,
        {word, word, word, word});
    std::vector<std::uint8_t> stream;
    stream.reserve(count * frame.size());
    for (std::size_t i = 0; i < count; ++i) {
        stream.insert(stream.end(), frame.begin(), frame.end());
    }
    return stream;
}

}  // namespace kestova::testing
