#include "boxsim/simulated_box.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "frames/sensor_frame.h"
#include "synth/recording_synth.h"

namespace {

using sundrel::boxsim::BoxOptions;
using sundrel::boxsim::SimulatedBox;
using sundrel::frames::RailSide;
using sundrel::synth::RailFrameSource;
using sundrel::synth::RecordingPlan;
using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

// Deadlines only bound a test that would otherwise hang; nothing waits for them.
constexpr auto kDeadline = std::chrono::seconds(20);
const Bytes kStart80 = {0xFA, 0xFA, 0x50, 0x44};
const Bytes kStart40 = {0xFA, 0xFA, 0x28, 0x1C};
const Bytes kCalibrationRequest = {0xFF, 0xFF, 0x0D, 0x0C};

bool waitFor(const std::function<bool()>& condition) {
    const auto end = Clock::now() + kDeadline;
    while (!condition()) {
        if (Clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

BoxOptions fastBox(RailSide side) {
    BoxOptions options;
    options.side = side;
    options.rateFps = 960;
    options.track.lengthM = 50;
    options.track.left.corrugations = {{50, 0.02}, {120, 0.01}};
    options.track.right.corrugations = {{80, 0.03}};
    options.track.left.roughnessMm = options.track.right.roughnessMm = 0.01;
    options.track.left.spikes = options.track.right.spikes = 40;
    options.track.bounceMm = 0.3;
    options.track.pitchMradian = 2;
    options.track.seed = 5;
    return options;
}

// The frames the shared track model gives for a box's options after a start
// with `pulsesPerFrame`, concatenated.
Bytes modelFrames(const BoxOptions& options, int pulsesPerFrame, RailSide side, std::size_t first,
                  std::size_t count) {
    RecordingPlan plan = options.track;
    plan.metresPerFrame = sundrel::boxsim::metresPerFrame(options.wheelDiameterMm,
                                                          options.pulsesPerTurn, pulsesPerFrame);
    const RailFrameSource source(plan, side);
    Bytes bytes;
    for (std::size_t i = first; i < first + count; ++i) {
        const auto frame = source.frame(i);
        bytes.insert(bytes.end(), frame.begin(), frame.end());
    }
    return bytes;
}

// The host's end of a box's line, opened as a serial port is.
class HostPort {
public:
    explicit HostPort(const std::string& path)
        : fd_(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK)) {
        if (fd_ >= 0) {
            termios raw{};
            tcgetattr(fd_, &raw);
            cfmakeraw(&raw);
            tcsetattr(fd_, TCSANOW, &raw);
        }
    }
    ~HostPort() { close(); }
    HostPort(const HostPort&) = delete;
    HostPort& operator=(const HostPort&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    void close() {
        if (fd_ >= 0) {
            ::close(fd_);
            fd_ = -1;
        }
    }

    void send(const Bytes& bytes) {
        ASSERT_EQ(::write(fd_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }

    // Reads until `count` bytes have arrived in all or the line ends.
    const Bytes& readUntil(std::size_t count) {
        const auto end = Clock::now() + kDeadline;
        while (received_.size() < count && !ended_ && Clock::now() < end) {
            readSome(50);
        }
        return received_;
    }

    // Reads until the line reports that the device has gone.
    bool waitForHangUp() {
        const auto end = Clock::now() + kDeadline;
        while (!ended_ && Clock::now() < end) {
            readSome(50);
        }
        return ended_;
    }

    const Bytes& received() const { return received_; }

private:
    void readSome(int timeoutMs) {
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, timeoutMs) <= 0) {
            return;
        }
        std::uint8_t buffer[4096];
        const ssize_t n = ::read(fd_, buffer, sizeof buffer);
        if (n > 0) {
            received_.insert(received_.end(), buffer, buffer + n);
        } else if (n == 0 || errno == EIO || (p.revents & POLLHUP) != 0) {
            ended_ = true;
        }
    }

    int fd_;
    Bytes received_;
    bool ended_ = false;
};

// Where `needle` first occurs in `haystack`, or haystack.size().
std::size_t find(const Bytes& haystack, const Bytes& needle, std::size_t from = 0) {
    const auto at = std::search(haystack.begin() + static_cast<std::ptrdiff_t>(from),
                                haystack.end(), needle.begin(), needle.end());
    return static_cast<std::size_t>(at - haystack.begin());
}

class SimulatedBoxStream : public testing::TestWithParam<RailSide> {};

TEST_P(SimulatedBoxStream, SendsTheTrackModelsFramesAfterAStartCommand) {
    const BoxOptions options = fastBox(GetParam());
    SimulatedBox box(options);
    HostPort host(box.devicePath());
    ASSERT_TRUE(host.isOpen());
    // The start command split across writes, with stray bytes around it.
    host.send({0x00, 0xFA});
    ASSERT_TRUE(waitFor([&] { return box.counters().bytesSent == 0; }));
    host.send({0xFA, 0x50});
    host.send({0x44, 0x13});
    const std::size_t frames = 300;
    const Bytes& got = host.readUntil(frames * sundrel::frames::kFrameSize);
    ASSERT_GE(got.size(), frames * sundrel::frames::kFrameSize);
    EXPECT_EQ(box.counters().pulsesPerFrame, 80);
    EXPECT_EQ(sundrel::frames::detectSide(got.data(), got.size()), GetParam());
    const Bytes expected = modelFrames(options, 80, GetParam(), 0, frames);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), got.begin()))
        << "the stream differs from the track model at byte "
        << std::mismatch(expected.begin(), expected.end(), got.begin()).first - expected.begin();
}

INSTANTIATE_TEST_SUITE_P(Sides, SimulatedBoxStream,
                         testing::Values(RailSide::Left, RailSide::Right), [](const auto& c) {
                             return c.param == RailSide::Left ? "Left" : "Right";
                         });

TEST(SimulatedBox, SecondStartBeginsANewRunAtDistanceZero) {
    const BoxOptions options = fastBox(RailSide::Left);
    SimulatedBox box(options);
    HostPort host(box.devicePath());
    host.send(kStart80);
    host.readUntil(100 * sundrel::frames::kFrameSize);
    host.send(kStart40);
    const Bytes newRun = modelFrames(options, 40, RailSide::Left, 0, 50);
    const std::size_t restartedAt = 100 * sundrel::frames::kFrameSize;
    const Bytes& got = host.readUntil(restartedAt + 400 * sundrel::frames::kFrameSize);
    EXPECT_LT(find(got, newRun, restartedAt), got.size())
        << "no run from distance 0 with 40 pulses per frame after the second start";
    EXPECT_EQ(box.counters().startCommands, 2u);
}

TEST(SimulatedBox, KeepsWorkingForTheNextHostAfterOneHangsUp) {
    const BoxOptions options = fastBox(RailSide::Right);
    SimulatedBox box(options);
    {
        HostPort first(box.devicePath());
        first.send(kStart80);
        first.readUntil(50 * sundrel::frames::kFrameSize);
    }
    // With nobody listening the box sends nothing.
    const auto sentBefore = box.counters().bytesSent;
    HostPort second(box.devicePath());
    ASSERT_TRUE(second.isOpen());
    second.send(kStart40);
    const Bytes newRun = modelFrames(options, 40, RailSide::Right, 0, 50);
    const Bytes& got = second.readUntil(200 * sundrel::frames::kFrameSize);
    EXPECT_LT(find(got, newRun), got.size());
    EXPECT_GT(box.counters().bytesSent, sentBefore);
}

struct CalibrationCase {
    std::string name;
    RailSide side;
    std::vector<double> script;
    bool cycle;
    std::vector<double> expectedMm;  // all four sensors, per request
};

void PrintTo(const CalibrationCase& c, std::ostream* out) {
    *out << c.name;
}

class SimulatedBoxCalibration : public testing::TestWithParam<CalibrationCase> {};

TEST_P(SimulatedBoxCalibration, AnswersEachRequestWithOneFrameAtTheScriptedDistance) {
    const CalibrationCase& c = GetParam();
    BoxOptions options = fastBox(c.side);
    options.targetScriptMm = c.script;
    options.cycleTargets = c.cycle;
    SimulatedBox box(options);
    HostPort host(box.devicePath());
    const std::size_t base = c.side == RailSide::Left ? 0 : 4;
    for (std::size_t r = 0; r < c.expectedMm.size(); ++r) {
        host.send(kCalibrationRequest);
        const Bytes& got = host.readUntil((r + 1) * sundrel::frames::kFrameSize);
        ASSERT_EQ(got.size(), (r + 1) * sundrel::frames::kFrameSize);
        const std::uint8_t* frame = got.data() + r * sundrel::frames::kFrameSize;
        EXPECT_EQ(frame[0], sundrel::frames::syncByteFor(c.side));
        EXPECT_EQ(frame[1], sundrel::frames::syncByteFor(c.side));
        const auto words = sundrel::frames::readSensorWords(frame);
        for (std::size_t k = 0; k < 4; ++k) {
            EXPECT_EQ(words[k], sundrel::synth::sensorWord(c.expectedMm[r],
                                                           options.track.calibration[base + k]))
                << "request " << r << ", sensor " << k + 1;
        }
    }
    ASSERT_TRUE(waitFor([&] { return box.counters().framesSent == c.expectedMm.size(); }));
    EXPECT_EQ(box.counters().bytesSent, c.expectedMm.size() * sundrel::frames::kFrameSize);
    EXPECT_EQ(box.counters().calibrationRequests, c.expectedMm.size());
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, SimulatedBoxCalibration,
    testing::Values(
        CalibrationCase{
            "HoldsTheLast", RailSide::Left, {1.0, 2.5, 4.0}, false, {1.0, 2.5, 4.0, 4.0}},
        CalibrationCase{"Cycles", RailSide::Left, {1.0, 2.5, 4.0}, true, {1.0, 2.5, 4.0, 1.0}},
        CalibrationCase{
            "RightBoxUsesItsOwnLines", RailSide::Right, {0.75, 5.5}, false, {0.75, 5.5}}),
    [](const auto& c) { return c.param.name; });

TEST(SimulatedBox, CalibrationAnswerFollowsSetTargetPerSensor) {
    BoxOptions options = fastBox(RailSide::Right);
    options.track.calibration = RecordingPlan::defaultCalibration();
    options.track.calibration[6] = {0.00025, -0.4};
    SimulatedBox box(options);
    HostPort host(box.devicePath());
    const std::array<double, 4> targets = {0.5, 3.5, 1.25, 6.0};
    for (int sensor = 1; sensor <= 4; ++sensor) {
        box.setTarget(sensor, targets[static_cast<std::size_t>(sensor - 1)]);
    }
    EXPECT_THROW(box.setTarget(5, 1.0), std::out_of_range);
    host.send(kCalibrationRequest);
    const Bytes& got = host.readUntil(sundrel::frames::kFrameSize);
    ASSERT_EQ(got.size(), sundrel::frames::kFrameSize);
    const auto words = sundrel::frames::readSensorWords(got.data());
    for (std::size_t k = 0; k < 4; ++k) {
        EXPECT_EQ(words[k],
                  sundrel::synth::sensorWord(targets[k], options.track.calibration[4 + k]))
            << "sensor " << k + 1;
    }
}

TEST(SimulatedBox, TeeHoldsExactlyTheBytesTheHostRead) {
    const auto teePath =
        std::filesystem::temp_directory_path() / ("boxsim-tee-" + std::to_string(::getpid()));
    BoxOptions options = fastBox(RailSide::Left);
    options.teePath = teePath.string();
    options.faults.strayEvery = 7;
    SimulatedBox box(options);
    HostPort host(box.devicePath());
    host.send(kStart80);
    host.readUntil(3000);
    // The copy is written once the line has taken the bytes, so it may lag the host.
    ASSERT_TRUE(waitFor([&] { return std::filesystem::file_size(teePath) >= 3000; }));
    std::ifstream file(teePath, std::ios::binary);
    const Bytes tee((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    ASSERT_GE(tee.size(), 3000u);
    const Bytes& got = host.readUntil(tee.size());
    ASSERT_GE(got.size(), tee.size());
    EXPECT_TRUE(std::equal(tee.begin(), tee.end(), got.begin()));
    EXPECT_GE(box.counters().bytesSent, tee.size());
    box.stop();
    std::filesystem::remove(teePath);
}

TEST(SimulatedBox, StrayBytesAndOtherSideFramesComeWhereAsked) {
    BoxOptions options = fastBox(RailSide::Left);
    options.faults.strayEvery = 10;
    options.faults.otherSideAtS = 0;
    options.faults.otherSideFrames = 3;
    SimulatedBox box(options);
    HostPort host(box.devicePath());
    host.send(kStart80);
    Bytes expected = modelFrames(options, 80, RailSide::Right, 0, 3);
    const Bytes stray = sundrel::boxsim::strayBytes(RailSide::Left);
    for (std::size_t i = 3; i < 30; ++i) {
        const Bytes frame = modelFrames(options, 80, RailSide::Left, i, 1);
        expected.insert(expected.end(), frame.begin(), frame.end());
        if ((i + 1) % 10 == 0) {
            expected.insert(expected.end(), stray.begin(), stray.end());
        }
    }
    const Bytes& got = host.readUntil(expected.size());
    ASSERT_GE(got.size(), expected.size());
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), got.begin()));
}

TEST(SimulatedBox, BurstArrivesWholeAndInOrder) {
    BoxOptions options = fastBox(RailSide::Left);
    options.rateFps = 20;
    options.faults.burstAtS = 0.01;
    options.faults.burstFrames = 4000;  // several times what the pseudo-terminal buffers
    SimulatedBox box(options);
    HostPort host(box.devicePath());
    host.send(kStart80);
    const std::size_t frames = 4000;
    const Bytes expected = modelFrames(options, 80, RailSide::Left, 0, frames);
    const Bytes& got = host.readUntil(expected.size());
    ASSERT_GE(got.size(), expected.size());
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), got.begin()));
}

TEST(SimulatedBox, HangUpMakesTheDeviceDisappear) {
    BoxOptions options = fastBox(RailSide::Left);
    options.faults.hangUpAfterS = 0.05;
    SimulatedBox box(options);
    HostPort host(box.devicePath());
    host.send(kStart80);
    EXPECT_TRUE(host.waitForHangUp());
    EXPECT_TRUE(box.counters().hungUp);
    EXPECT_FALSE(std::filesystem::exists(box.devicePath()));
}

TEST(SimulatedBox, RejectsOptionsOutOfRange) {
    BoxOptions tooFast = fastBox(RailSide::Left);
    tooFast.rateFps = 961;
    EXPECT_THROW(SimulatedBox{tooFast}, std::invalid_argument);
    BoxOptions noSide = fastBox(RailSide::None);
    EXPECT_THROW(SimulatedBox{noSide}, std::invalid_argument);
    BoxOptions flatSlope = fastBox(RailSide::Left);
    flatSlope.track.calibration[2].slope = 0;
    EXPECT_THROW(SimulatedBox{flatSlope}, std::invalid_argument);
}

TEST(BoxRate, FollowsTheTrolleyUpToTheLineRate) {
    BoxOptions options;
    EXPECT_NEAR(sundrel::boxsim::metresPerFrame(150, 2000, 80), 0.0188496, 1e-7);
    EXPECT_NEAR(sundrel::boxsim::framesPerSecond(options, 80), 5 / 3.6 / 0.0188496, 1e-3);
    options.speedKmh = 80;
    EXPECT_DOUBLE_EQ(sundrel::boxsim::framesPerSecond(options, 1), 960.0);
    options.rateFps = 12.5;
    EXPECT_DOUBLE_EQ(sundrel::boxsim::framesPerSecond(options, 80), 12.5);
}

}  // namespace
