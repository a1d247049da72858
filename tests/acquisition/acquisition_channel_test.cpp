// Acquisition channels against simulated sensor boxes on pseudo-terminals.
#include "acquisition/acquisition_channel.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <mutex>
#include <thread>
#include <vector>

#include "acquisition/port_devices.h"
#include "acquisition/serial_link.h"
#include "boxsim/simulated_box.h"
#include "test_support/scratch_folder.h"

namespace sundrel::acquisition {
namespace {

using namespace std::chrono_literals;
using frames::RailSide;

// Stands in for the windows: keeps every batch, progress value and fault.
// Deliveries may be held up to show that stop and pause wait correctly.
class RecordingHost : public ChannelHost {
public:
    void deliverBatch(const PanelMessage& message, std::intptr_t side) override {
        std::unique_lock lock(mutex_);
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(message.data);
        EXPECT_EQ(message.code, 4u);
        batches.emplace_back(bytes, bytes + message.count);
        sides.push_back(side);
        held_.wait(lock, [this] { return !holdDeliveries; });
    }
    void postProgress(const PanelMessage& message) override {
        std::lock_guard lock(mutex_);
        EXPECT_EQ(message.code, 6u);
        progress.push_back(message.data);
    }
    void waitDelivering(const std::function<bool()>& finished) override {
        while (!finished()) {
            std::this_thread::sleep_for(1ms);
        }
    }
    void reportFault(std::string_view text) override {
        std::lock_guard lock(mutex_);
        faults.emplace_back(text);
    }
    void release() {
        {
            std::lock_guard lock(mutex_);
            holdDeliveries = false;
        }
        held_.notify_all();
    }
    template <typename T>
    T read(const std::function<T(RecordingHost&)>& get) {
        std::lock_guard lock(mutex_);
        return get(*this);
    }
    std::size_t batchCount() {
        return read<std::size_t>([](RecordingHost& h) { return h.batches.size(); });
    }

    std::vector<std::vector<std::uint8_t>> batches;
    std::vector<std::intptr_t> sides;
    std::vector<std::uintptr_t> progress;
    std::vector<std::string> faults;
    bool holdDeliveries = false;

private:
    std::mutex mutex_;
    std::condition_variable held_;
};

bool waitFor(const std::function<bool()>& condition, std::chrono::seconds limit = 20s) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(2ms);
    }
    return true;
}

std::vector<std::uint8_t> contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class AcquisitionChannelTest : public ::testing::Test {
protected:
    boxsim::BoxOptions boxOptions(RailSide side) {
        boxsim::BoxOptions options;
        options.side = side;
        options.rateFps = 960;
        options.track.lengthM = 50;
        options.track.left.corrugations = {{50, 0.02}};
        options.track.right.corrugations = {{80, 0.03}};
        options.teePath = scratch_.file(side == RailSide::Left ? "tee-left" : "tee-right");
        return options;
    }

    RawFileHeader header(int side, std::int32_t trigger = 1200) {
        RawFileHeader h = makeRawFileHeader();
        h.line = {side, 115200, 'N', 8, 1, 80, trigger, side};
        h.dEncoder = 0.02;
        h.position = 1000;
        h.forward = 1;
        setHeaderText(h.fileName, side == 1 ? "run_left.raw" : "run_right.raw");
        setHeaderText(h.folder, scratch_.path().string());
        return h;
    }

    // Bytes of the file between its leading header and its trailer, and the
    // trailer itself.
    void expectFileHolds(const std::string& path, const std::vector<std::uint8_t>& sent, int side,
                         double endPosition) {
        const auto bytes = contents(path);
        ASSERT_GE(bytes.size(), 2 * sizeof(RawFileHeader));
        const std::vector<std::uint8_t> stream(bytes.begin() + sizeof(RawFileHeader),
                                               bytes.end() - sizeof(RawFileHeader));
        ASSERT_LE(stream.size(), sent.size());
        EXPECT_TRUE(std::equal(stream.begin(), stream.end(), sent.begin()))
            << "the file holds the bytes the box sent, in order";
        RawFileHeader trailer{};
        std::memcpy(&trailer, bytes.data() + bytes.size() - sizeof trailer, sizeof trailer);
        // The record is packed: its fields are compared by value.
        const std::size_t count = trailer.dataByteCount;
        const int trailerSide = trailer.line.side;
        const double position = trailer.position;
        EXPECT_EQ(count, stream.size());
        EXPECT_EQ(trailerSide, side);
        EXPECT_EQ(position, endPosition);
    }

    testing::ScratchFolder scratch_;
    RecordingHost host_;
};

TEST(PortDevices, NumbersOpenTheirMappedDeviceOrTheSerialPortBelowThem) {
    const testing::ScratchFolder scratch;
    const std::string config = scratch.file("config.ini");
    std::ofstream(config) << "[PORT_DEVICES]\nCOM3=/dev/pts/7\n";
    const std::pair<const char*, const char*> cases[] = {
        {"3", "/dev/pts/7"},
        {"COM3", "/dev/pts/7"},
        {"com1", "/dev/ttyS0"},
        {"12", "/dev/ttyS11"},
        {"/dev/ttyUSB0", "/dev/ttyUSB0"},
        {"0", ""},
        {"COM", ""},
        {"x3", ""},
    };
    for (const auto& [text, device] : cases) {
        EXPECT_EQ(devicePathOf(text, config), device) << text;
    }
}

TEST(SerialLink, StartCommandCarriesThePulsesPerFrameAndItsCheckByte) {
    const std::pair<std::int32_t, BoxCommand> cases[] = {
        {80, {0xFA, 0xFA, 0x50, 0x44}},
        {5, {0xFA, 0xFA, 0x05, 0xF9}},
        {85, {0xFA, 0xFA, 0x55, 0x49}},
        {0x1FF, {0xFA, 0xFA, 0xFF, 0xF3}},  // only the low byte
    };
    for (const auto& [pulses, command] : cases) {
        EXPECT_EQ(startCommand(pulses), command) << pulses;
    }
}

TEST_F(AcquisitionChannelTest, EveryByteTheBoxSentIsInTheFileWithItsTrailer) {
    boxsim::SimulatedBox box(boxOptions(RailSide::Left));
    AcquisitionChannel channel(host_);
    channel.setReportProgress(true);
    ASSERT_EQ(channel.startChannel(header(1), box.devicePath()), StatusCode::Success);
    ASSERT_TRUE(waitFor([&] { return channel.dataByteCount() >= 6000; }));
    EXPECT_EQ(channel.stopChannel(1234.5), StatusCode::Success);
    box.stop();

    expectFileHolds(scratch_.file("run_left.raw"), contents(scratch_.file("tee-left")), 1, 1234.5);
    // Batches of at least the trigger, the file growing by what was delivered.
    std::size_t delivered = 0;
    for (const auto& batch : host_.batches) {
        EXPECT_GE(batch.size(), 1200u);
        delivered += batch.size();
    }
    EXPECT_GE(channel.dataByteCount(), delivered);
    ASSERT_FALSE(host_.progress.empty());
    EXPECT_EQ(host_.progress.back(), delivered);
    EXPECT_TRUE(host_.faults.empty());
}

TEST_F(AcquisitionChannelTest, ABurstLargerThanTheBufferIsStoredWhole) {
    auto options = boxOptions(RailSide::Right);
    options.faults.burstAtS = 0.05;
    options.faults.burstFrames = 3000;  // 36000 bytes at once, over four buffers
    boxsim::SimulatedBox box(options);
    AcquisitionChannel channel(host_);
    ASSERT_EQ(channel.startChannel(header(2, 20000), box.devicePath()), StatusCode::Success);
    ASSERT_TRUE(waitFor([&] { return channel.dataByteCount() >= 40000; }));
    channel.stopChannel(0);
    box.stop();
    expectFileHolds(scratch_.file("run_right.raw"), contents(scratch_.file("tee-right")), 2, 0);
    for (const auto& batch : host_.batches) {
        EXPECT_EQ(batch.size(), kBatchBufferBytes);  // a full buffer makes a batch
    }
}

TEST_F(AcquisitionChannelTest, TriggerZeroDeliversEveryPollEvenEmpty) {
    auto options = boxOptions(RailSide::Left);
    options.rateFps = 5;
    boxsim::SimulatedBox box(options);
    AcquisitionChannel channel(host_);
    ASSERT_EQ(channel.startChannel(header(1, 0), box.devicePath()), StatusCode::Success);
    ASSERT_TRUE(waitFor([&] { return host_.batchCount() >= 50; }));
    channel.stopChannel(0);
    EXPECT_TRUE(std::any_of(host_.batches.begin(), host_.batches.end(),
                            [](const auto& b) { return b.empty(); }));
}

TEST_F(AcquisitionChannelTest, AFirstBatchOfTheOtherSideChangesTheSide) {
    boxsim::SimulatedBox box(boxOptions(RailSide::Right));  // on the left channel
    AcquisitionChannel channel(host_);
    ASSERT_EQ(channel.startChannel(header(1), box.devicePath()), StatusCode::Success);
    ASSERT_TRUE(waitFor([&] { return host_.batchCount() >= 3; }));
    channel.stopChannel(7);
    box.stop();
    EXPECT_EQ(channel.side(), RailSide::Right);
    for (const std::intptr_t side : host_.sides) {
        EXPECT_EQ(side, 2);
    }
    expectFileHolds(scratch_.file("run_left.raw"), contents(scratch_.file("tee-right")), 2, 7);
}

TEST_F(AcquisitionChannelTest, PauseHoldsTheWorkerAndLosesNothingAndStopEndsAPausedRun) {
    boxsim::SimulatedBox box(boxOptions(RailSide::Left));
    AcquisitionChannel channel(host_);
    ASSERT_EQ(channel.startChannel(header(1), box.devicePath()), StatusCode::Success);
    ASSERT_TRUE(waitFor([&] { return host_.batchCount() >= 2; }));
    channel.pause();
    channel.pause();                    // twice changes nothing
    std::this_thread::sleep_for(50ms);  // a batch under way ends first
    const std::size_t batches = host_.batchCount();
    const auto sentBefore = box.counters().bytesSent;
    ASSERT_TRUE(waitFor([&] { return box.counters().bytesSent >= sentBefore + 5000; }));
    EXPECT_EQ(host_.batchCount(), batches) << "a paused worker delivers nothing";
    channel.stopChannel(99);  // while paused
    box.stop();
    EXPECT_FALSE(channel.isRunning());
    expectFileHolds(scratch_.file("run_left.raw"), contents(scratch_.file("tee-left")), 1, 99);
    EXPECT_GE(channel.dataByteCount(), sentBefore + 5000 - 12 * 20) << "queued bytes were drained";
}

TEST_F(AcquisitionChannelTest, StopWhileADeliveryIsHeldWaitsWithoutDeadlock) {
    boxsim::SimulatedBox box(boxOptions(RailSide::Left));
    AcquisitionChannel channel(host_);
    host_.holdDeliveries = true;
    ASSERT_EQ(channel.startChannel(header(1), box.devicePath()), StatusCode::Success);
    ASSERT_TRUE(waitFor([&] { return host_.batchCount() >= 1; }));
    std::thread window([&] { channel.stopChannel(5); });
    std::this_thread::sleep_for(30ms);
    host_.release();  // the window thread serves the delivery; the stop completes
    window.join();
    box.stop();
    expectFileHolds(scratch_.file("run_left.raw"), contents(scratch_.file("tee-left")), 1, 5);
}

TEST_F(AcquisitionChannelTest, ADeviceThatVanishesIsReportedOnceAndTheFileCompletedAtStop) {
    auto options = boxOptions(RailSide::Left);
    options.faults.hangUpAfterS = 0.3;
    boxsim::SimulatedBox box(options);
    AcquisitionChannel channel(host_);
    ASSERT_EQ(channel.startChannel(header(1), box.devicePath()), StatusCode::Success);
    ASSERT_TRUE(waitFor([&] { return channel.deviceLost(); }));
    std::this_thread::sleep_for(20ms);
    channel.stopChannel(12);
    EXPECT_EQ(host_.faults, std::vector<std::string>{"connect error"});
    // Bytes still in the terminal when the device vanished are gone with it;
    // everything the program received is in the file.
    expectFileHolds(scratch_.file("run_left.raw"), contents(scratch_.file("tee-left")), 1, 12);
    EXPECT_GT(channel.dataByteCount(), 0u);
}

TEST_F(AcquisitionChannelTest, AStartThatFailsLeavesNoFileAndNoWorker) {
    boxsim::SimulatedBox box(boxOptions(RailSide::Left));
    AcquisitionChannel first(host_);
    ASSERT_EQ(first.startChannel(header(1), box.devicePath()), StatusCode::Success);
    RecordingHost otherHost;
    AcquisitionChannel second(otherHost);
    RawFileHeader other = header(1);
    setHeaderText(other.fileName, "second_left.raw");
    EXPECT_EQ(second.startChannel(other, box.devicePath()), StatusCode::PortNotOpened)
        << "a busy port is not shared";
    EXPECT_EQ(second.startChannel(other, scratch_.file("no-such-device")),
              StatusCode::PortNotOpened);
    EXPECT_FALSE(second.isRunning());
    EXPECT_FALSE(std::filesystem::exists(scratch_.file("second_left.raw")));
    EXPECT_EQ(second.stopChannel(0), StatusCode::Success);  // nothing to stop, nothing written
    EXPECT_FALSE(std::filesystem::exists(scratch_.file("second_left.raw")));
    first.stopChannel(0);

    // A folder that cannot hold the file: the port is closed again.
    RecordingHost thirdHost;
    AcquisitionChannel third(thirdHost);
    RawFileHeader nowhere = header(1);
    setHeaderText(nowhere.folder, scratch_.file("missing/folder"));
    EXPECT_EQ(third.startChannel(nowhere, box.devicePath()), StatusCode::SetPortError);
    EXPECT_EQ(thirdHost.faults, std::vector<std::string>{"open file error"});
    EXPECT_FALSE(third.isRunning());
    AcquisitionChannel again(host_);
    EXPECT_EQ(again.startChannel(header(1), box.devicePath()), StatusCode::Success)
        << "the failed start released the port";
    again.stopChannel(0);
}

TEST_F(AcquisitionChannelTest, CalibrationRequestsAreAnsweredOneFrameEach) {
    boxsim::SimulatedBox box(boxOptions(RailSide::Left));
    platform::SerialPort port;
    ASSERT_EQ(port.open(box.devicePath()), 0);
    std::mutex mutex;
    std::vector<std::size_t> reads;
    ASSERT_EQ(configureForCalibration(port, header(1).line,
                                      [&] {
                                          readCalibrationBytes(
                                              port, [&](const std::uint8_t*, std::size_t count) {
                                                  std::lock_guard lock(mutex);
                                                  reads.push_back(count);
                                              });
                                      }),
              StatusCode::Success);
    // The box answers one frame per request: three requests, 36 bytes.
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(port.write(kCalibrationRequest.data(), kCalibrationRequest.size()), 4);
        ASSERT_TRUE(waitFor([&] {
            std::lock_guard lock(mutex);
            return reads.size() == static_cast<std::size_t>(i + 1);
        }));
    }
    port.setCountCallback(nullptr, 1);
    for (const std::size_t count : reads) {
        EXPECT_EQ(count, 12u);
    }
    closePort(port);
}

TEST(CalibrationBytes, ElevenWaitingBytesStayQueuedUntilAFrameIsComplete) {
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    termios raw{};
    tcgetattr(master, &raw);
    cfmakeraw(&raw);
    tcsetattr(master, TCSANOW, &raw);
    platform::SerialPort port;
    ASSERT_EQ(port.open(ptsname(master)), 0);
    std::vector<std::size_t> reads;
    const auto deliver = [&](const std::uint8_t*, std::size_t count) { reads.push_back(count); };

    const std::vector<std::uint8_t> bytes(300, 0x5A);
    ASSERT_EQ(::write(master, bytes.data(), 11), 11);
    ASSERT_TRUE(waitFor([&] { return port.inputQueueCount() == 11; }));
    readCalibrationBytes(port, deliver);
    EXPECT_TRUE(reads.empty());
    EXPECT_EQ(port.inputQueueCount(), 11);

    ASSERT_EQ(::write(master, bytes.data(), 289), 289);  // 300 waiting
    ASSERT_TRUE(waitFor([&] { return port.inputQueueCount() == 300; }));
    readCalibrationBytes(port, deliver);
    readCalibrationBytes(port, deliver);
    EXPECT_EQ(reads, (std::vector<std::size_t>{256, 44}));
    closePort(port);
    ::close(master);
}

}  // namespace
}  // namespace sundrel::acquisition
