#include "raw_file_reader.h"

#include <sys/stat.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <memory>

#include "acquisition/raw_file_header.h"
#include "engine_constants.h"
#include "frames/frame_decoder.h"

namespace kestova {
namespace {

using sundrel::acquisition::kRawFileMagic;
using sundrel::acquisition::RawFileHeader;
using sundrel::frames::RailSide;

static_assert(sizeof(RawFileHeader) == kFileHeaderSize);

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Opens a regular file for binary reading; anything else (a directory, a FIFO,
// a device that never ends) counts as a file that cannot be opened.
File openRegularFile(const std::string& path, std::uint64_t& size) {
    File file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        return nullptr;
    }
    struct stat info {};
    if (fstat(fileno(file.get()), &info) != 0 || !S_ISREG(info.st_mode)) {
        return nullptr;
    }
    size = static_cast<std::uint64_t>(info.st_size);
    return file;
}

bool readAt(std::FILE* file, std::uint64_t offset, void* buffer, std::size_t count) {
    return fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0 &&
           std::fread(buffer, 1, count, file) == count;
}

std::uint16_t magicOf(const std::uint8_t* record) {
    return static_cast<std::uint16_t>(record[0] | record[1] << 8);
}

template <std::size_t N>
void copyText(char (&to)[N], const char (&from)[N]) {
    // Up to and including the NUL; an unterminated field stays within N - 1
    // bytes so the copy is terminated too.
    const void* nul = std::memchr(from, '\0', N);
    const std::size_t length =
        nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - from) : N - 1;
    std::memcpy(to, from, length);
    to[length] = '\0';
}

}  // namespace

int checkRawFile(const std::string& path, RawFileFacts& facts) {
    facts = RawFileFacts{};
    std::uint64_t size = 0;
    File file = openRegularFile(path, size);
    if (!file) {
        return KESTOVA_CANNOT_OPEN;
    }
    if (size < kMinimumFileSize) {
        return KESTOVA_TOO_SHORT;
    }
    std::array<std::uint8_t, kFileHeaderSize> bytes{};
    if (!readAt(file.get(), 0, bytes.data(), bytes.size())) {
        return KESTOVA_CANNOT_OPEN;
    }
    if (magicOf(bytes.data()) != kRawFileMagic) {
        return KESTOVA_BAD_MAGIC;
    }
    RawFileHeader header;
    std::memcpy(&header, bytes.data(), sizeof header);

    AnalysisInfoBlock& info = facts.info;
    std::memset(&info, 0, sizeof info);
    copyText(info.startTime, header.startTime);
    copyText(info.lineName, header.lineName);
    copyText(info.department, header.department);
    copyText(info.staffName, header.staffName);
    info.forward = header.forward;
    info.startPosition = header.position;

    std::array<std::uint8_t, kSideProbeBytes> probe{};
    const std::size_t probed = std::fread(probe.data(), 1, probe.size(), file.get());
    const RailSide detected = sundrel::frames::detectSide(probe.data(), probed);
    const RailSide side = detected == RailSide::Right ? RailSide::Right : RailSide::Left;

    const auto& calibration = side == RailSide::Left ? header.leftEddy : header.rightEddy;
    for (std::size_t k = 0; k < 4; ++k) {
        facts.slope[k] = calibration[k].slope;
        facts.intercept[k] = calibration[k].intercept;
    }

    std::array<std::uint8_t, kFileHeaderSize> tail{};
    const bool tailRead = readAt(file.get(), size - kFileHeaderSize, tail.data(), tail.size());
    if (tailRead && magicOf(tail.data()) == kRawFileMagic) {
        RawFileHeader trailer;
        std::memcpy(&trailer, tail.data(), sizeof trailer);
        facts.hasTrailer = true;
        facts.endPosition = trailer.position;
    } else {
        const double travelled =
            static_cast<double>(size - kFileHeaderSize) / 12.0 * kEstimatedMetresPerFrame;
        facts.endPosition =
            header.forward != 0 ? header.position + travelled : header.position - travelled;
    }

    facts.startPosition = header.position;
    facts.forward = header.forward;
    facts.side = static_cast<std::int32_t>(side);
    facts.fileSize = size;
    info.endPosition = facts.endPosition;
    return KESTOVA_OK;
}

std::vector<double> loadSamples(const std::string& path, const RawFileFacts& facts) {
    std::vector<double> samples;
    const std::uint64_t trailerBytes = facts.hasTrailer ? kFileHeaderSize : 0;
    if (facts.fileSize < kFileHeaderSize + trailerBytes) {
        return samples;
    }
    const std::uint64_t frameBytes = facts.fileSize - kFileHeaderSize - trailerBytes;
    std::uint64_t size = 0;
    File file = openRegularFile(path, size);
    if (!file || fseeko(file.get(), static_cast<off_t>(kFileHeaderSize), SEEK_SET) != 0) {
        return samples;
    }
    samples.reserve(static_cast<std::size_t>(frameBytes / sundrel::frames::kFrameSize));

    const auto w1 = kChordTaps[0].weight;
    const auto w2 = kChordTaps[1].weight;
    const auto w4 = kChordTaps[2].weight;
    sundrel::frames::FrameDecoder decoder(static_cast<RailSide>(facts.side));
    auto toSample = [&](const sundrel::frames::SensorWords& words) {
        const double d1 = words[0] * facts.slope[0] + facts.intercept[0];
        const double d2 = words[1] * facts.slope[1] + facts.intercept[1];
        const double d4 = words[3] * facts.slope[3] + facts.intercept[3];
        samples.push_back(w1 * d1 + w2 * d2 + w4 * d4);
    };

    std::array<std::uint8_t, kReadChunkBytes> chunk{};
    std::uint64_t remaining = frameBytes;
    while (remaining > 0) {
        const std::size_t want =
            remaining < chunk.size() ? static_cast<std::size_t>(remaining) : chunk.size();
        const std::size_t got = std::fread(chunk.data(), 1, want, file.get());
        decoder.append(chunk.data(), got);
        decoder.decode(toSample);
        if (got < want) {
            break;  // the file ended early: use what arrived
        }
        remaining -= want;
    }
    return samples;
}

std::vector<double> buildDistanceAxis(double startPosition, double endPosition, std::size_t n) {
    std::vector<double> distances(n);
    if (n == 0) {
        return distances;
    }
    const double step = (endPosition - startPosition) / static_cast<double>(n);
    for (std::size_t i = 0; i < n; ++i) {
        distances[i] = startPosition + static_cast<double>(i) * step;
    }
    return distances;
}

}  // namespace kestova
