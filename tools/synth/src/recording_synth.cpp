#include "synth/recording_synth.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <filesystem>
#include <numbers>
#include <random>
#include <stdexcept>

#include "acquisition/raw_file_header.h"
#include "acquisition/raw_file_naming.h"
#include "acquisition/raw_file_writer.h"
#include "frames/sensor_frame.h"
#include "platform/gbk_text.h"

namespace sundrel::synth {
namespace {

using acquisition::RawFileHeader;
using acquisition::StatusCode;
using frames::RailSide;

constexpr double kTwoPi = 2 * std::numbers::pi;
constexpr int kRoughnessComponents = 96;
// Distance of each sensor's face from the rail at rest, mm; within range of
// the default calibration.
constexpr std::array<double, 4> kStandoffMm = {3.0, 3.1, 3.2, 3.3};

std::string nowText() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return acquisition::timestampText(local);
}

RawFileHeader makeHeader(const RecordingPlan& plan, int side, const std::string& startTime,
                         const std::string& fileName, const std::string& folder) {
    RawFileHeader header = acquisition::makeRawFileHeader();
    header.line = {side == 1 ? 3 : 4, 115200, 'N', 8, 1, 85, 1200, side};
    header.dEncoder = plan.metresPerFrame;
    for (std::size_t k = 0; k < 4; ++k) {
        header.leftEddy[k] = {plan.calibration[k].slope, plan.calibration[k].intercept};
        header.rightEddy[k] = {plan.calibration[4 + k].slope, plan.calibration[4 + k].intercept};
    }
    acquisition::setHeaderText(header.fileName, platform::utf8ToGbk(fileName));
    acquisition::setHeaderText(header.folder, platform::utf8ToGbk(folder));
    acquisition::setHeaderText(header.startTime, startTime);
    acquisition::setHeaderText(header.lineName, platform::utf8ToGbk(plan.lineName));
    acquisition::setHeaderText(header.department, platform::utf8ToGbk(plan.department));
    acquisition::setHeaderText(header.staffName, platform::utf8ToGbk(plan.staffName));
    header.forward = plan.forward ? 1 : 0;
    header.position = plan.startPositionM;
    return header;
}

void writeFile(const std::string& path, RawFileHeader header,
               const std::vector<std::uint8_t>& stream, const RecordingPlan& plan) {
    acquisition::RawFileWriter writer;
    bool ok = writer.open(path, "wb+") == StatusCode::Success &&
              writer.writeBlock(&header, sizeof header) == StatusCode::Success &&
              writer.writeBlock(stream.data(), stream.size()) == StatusCode::Success;
    if (ok && plan.withTrailer) {
        header.dataByteCount = static_cast<std::uint32_t>(stream.size());
        header.position =
            plan.forward ? plan.startPositionM + plan.lengthM : plan.startPositionM - plan.lengthM;
        ok = writer.writeBlock(&header, sizeof header) == StatusCode::Success;
    }
    if (!ok) {
        throw std::runtime_error("cannot write " + path);
    }
}

}  // namespace

std::array<SensorCalibration, 8> RecordingPlan::defaultCalibration() {
    std::array<SensorCalibration, 8> pairs{};
    for (std::size_t k = 0; k < pairs.size(); ++k) {
        pairs[k] = {0.0001 + 0.000002 * static_cast<double>(k), 0.1 * static_cast<double>(k % 4)};
    }
    return pairs;
}

SurfaceModel::SurfaceModel(const RailSurface& surface, std::uint64_t seed) {
    for (const Corrugation& c : surface.corrugations) {
        components_.push_back({kTwoPi * 1000.0 / c.wavelengthMm, c.amplitudeMm, 0.0});
    }
    if (surface.roughnessMm > 0) {
        std::mt19937_64 random(seed);
        std::uniform_real_distribution<double> unit(0.0, 1.0);
        // Log-uniform wavelengths; equal shares of the variance.
        const double amplitude = surface.roughnessMm * std::sqrt(2.0 / kRoughnessComponents);
        for (int i = 0; i < kRoughnessComponents; ++i) {
            const double wavelengthM = 0.03 * std::pow(5.0 / 0.03, unit(random));
            components_.push_back({kTwoPi / wavelengthM, amplitude, kTwoPi * unit(random)});
        }
    }
}

double SurfaceModel::heightMm(double metres) const {
    double height = 0;
    for (const Component& c : components_) {
        height += c.amplitude * std::sin(c.wavenumber * metres + c.phase);
    }
    return height;
}

std::uint16_t sensorWord(double distanceMm, const SensorCalibration& calibration) {
    const double counts = std::round((distanceMm - calibration.intercept) / calibration.slope);
    return static_cast<std::uint16_t>(std::clamp(counts, 0.0, 65535.0));
}

RailFrameSource::RailFrameSource(const RecordingPlan& plan, RailSide side)
    : side_(side),
      metresPerFrame_(plan.metresPerFrame),
      bounceMm_(plan.bounceMm),
      pitchMradian_(plan.pitchMradian),
      spikeHeightMm_((side == RailSide::Left ? plan.left : plan.right).spikeHeightMm),
      surface_(side == RailSide::Left ? plan.left : plan.right,
               plan.seed * 2 + static_cast<std::uint64_t>(side)) {
    if (!(plan.metresPerFrame > 0) || !(plan.lengthM >= 0)) {
        throw std::invalid_argument("length and distance per frame must be positive");
    }
    const std::size_t calibrationBase = side == RailSide::Left ? 0 : 4;
    for (std::size_t k = 0; k < 4; ++k) {
        calibration_[k] = plan.calibration[calibrationBase + k];
    }
    const RailSurface& rail = side == RailSide::Left ? plan.left : plan.right;
    spikePeriod_ = static_cast<std::size_t>(std::llround(plan.lengthM / plan.metresPerFrame));
    if (spikePeriod_ == 0 || rail.spikes <= 0) {
        return;
    }
    // Frames first, then one sensor per spiked frame in frame order: the
    // draws recordings have always used.
    std::mt19937_64 random(plan.seed * 7 + static_cast<std::uint64_t>(side));
    std::uniform_int_distribution<std::size_t> pick(0, spikePeriod_ - 1);
    std::vector<std::size_t> at;
    for (int s = 0; s < rail.spikes; ++s) {
        at.push_back(pick(random));
    }
    std::sort(at.begin(), at.end());
    at.erase(std::unique(at.begin(), at.end()), at.end());
    std::uniform_int_distribution<int> pickSensor(0, 3);
    for (const std::size_t i : at) {
        spikes_.emplace_back(i, static_cast<std::size_t>(pickSensor(random)));
    }
}

frames::SensorWords RailFrameSource::words(std::size_t i) const {
    const double x = static_cast<double>(i) * metresPerFrame_;
    const double bounce = bounceMm_ * std::sin(kTwoPi * x / 1.7);
    const double pitch = pitchMradian_ * 1e-3 * std::sin(kTwoPi * x / 2.3 + 0.4);
    frames::SensorWords words{};
    for (std::size_t k = 0; k < 4; ++k) {
        const double offsetM = kSensorOffsetsMm[k] / 1000.0;
        const double displacement =
            kStandoffMm[k] + surface_.heightMm(x + offsetM) + bounce + pitch * kSensorOffsetsMm[k];
        words[k] = sensorWord(displacement, calibration_[k]);
    }
    if (spikePeriod_ > 0 && !spikes_.empty()) {
        const std::size_t inPeriod = i % spikePeriod_;
        const auto spike = std::lower_bound(spikes_.begin(), spikes_.end(),
                                            std::pair<std::size_t, std::size_t>{inPeriod, 0});
        if (spike != spikes_.end() && spike->first == inPeriod) {
            const std::size_t k = spike->second;
            const double reading = words[k] * calibration_[k].slope + calibration_[k].intercept;
            words[k] = sensorWord(reading + spikeHeightMm_, calibration_[k]);
        }
    }
    return words;
}

std::array<std::uint8_t, frames::kFrameSize> RailFrameSource::frame(std::size_t i) const {
    return frames::makeFrame(side_, words(i), static_cast<std::uint8_t>(i));
}

std::vector<std::uint8_t> synthesiseFrames(const RecordingPlan& plan, int side) {
    const RailFrameSource source(plan, side == 1 ? RailSide::Left : RailSide::Right);
    const auto frameCount =
        static_cast<std::size_t>(std::llround(plan.lengthM / plan.metresPerFrame));
    std::vector<std::uint8_t> stream;
    stream.reserve(plan.junkBytes + frameCount * frames::kFrameSize);
    for (std::size_t j = 0; j < plan.junkBytes; ++j) {
        stream.push_back(static_cast<std::uint8_t>(0x11 * (j % 7)));
    }
    for (std::size_t i = 0; i < frameCount; ++i) {
        const auto frame = source.frame(i);
        stream.insert(stream.end(), frame.begin(), frame.end());
    }
    return stream;
}

RecordingPair writeRecordingPair(const RecordingPlan& plan, const std::string& folder) {
    const std::string startTime = plan.startTime.empty() ? nowText() : plan.startTime;
    std::error_code ignored;  // a folder that cannot be made fails at the write
    std::filesystem::create_directories(folder, ignored);
    const acquisition::RawFileNames names = acquisition::makeRawFileNames(startTime, "", "");
    RecordingPair pair;
    pair.leftPath = acquisition::rawFilePath(folder, names.left);
    pair.rightPath = acquisition::rawFilePath(folder, names.right);
    const auto leftStream = synthesiseFrames(plan, 1);
    writeFile(pair.leftPath, makeHeader(plan, 1, startTime, names.left, folder), leftStream, plan);
    writeFile(pair.rightPath, makeHeader(plan, 2, startTime, names.right, folder),
              synthesiseFrames(plan, 2), plan);
    pair.frames = (leftStream.size() - plan.junkBytes) / frames::kFrameSize;
    return pair;
}

}  // namespace sundrel::synth
