#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

#include "boxsim/box_options.h"

namespace sundrel::boxsim {

// What a box has done so far.
struct BoxCounters {
    std::uint64_t bytesSent = 0;            // written to the line, stray bytes included
    std::uint64_t framesSent = 0;           // whole frames written, answers included
    std::uint64_t startCommands = 0;        // runs started
    std::uint64_t calibrationRequests = 0;  // requests answered or being answered
    int pulsesPerFrame = 0;                 // P of the last start command; 0: none yet
    bool hungUp = false;                    // the device is gone
};

// A sensor box on a pseudo-terminal. The host opens devicePath() like a
// serial port. A thread of the box reads the host's commands and, after a
// start command, sends the frames of its side of the track at the pace of the
// trolley; a second start command begins a new run at distance 0. A run ends
// when the host closes the port. Until a host has the port open again the box
// sends nothing and does not wait busily.
class SimulatedBox {
public:
    // Throws std::invalid_argument for options out of range and
    // std::system_error when no pseudo-terminal or tee file can be opened.
    explicit SimulatedBox(BoxOptions options);
    ~SimulatedBox();
    SimulatedBox(const SimulatedBox&) = delete;
    SimulatedBox& operator=(const SimulatedBox&) = delete;

    // The slave side, e.g. /dev/pts/7; it disappears when the box hangs up or stops.
    const std::string& devicePath() const { return devicePath_; }
    frames::RailSide side() const { return options_.side; }

    // Moves the target in front of sensor 1..4 to `mm`; throws
    // std::out_of_range for another sensor. Safe from any thread.
    void setTarget(int sensor, double mm);
    double target(int sensor) const;

    BoxCounters counters() const;

    // Ends the thread and closes the pseudo-terminal; the destructor calls it.
    void stop();

private:
    void run();
    std::array<std::uint8_t, frames::kFrameSize> calibrationFrame();

    const BoxOptions options_;
    std::string devicePath_;
    int masterFd_ = -1;
    int wakeFd_ = -1;  // an eventfd that wakes the thread to stop
    int teeFd_ = -1;

    mutable std::mutex targetsMutex_;
    std::array<double, frames::kSensorCount> targetsMm_;
    std::size_t scriptNext_ = 0;

    std::atomic<std::uint64_t> bytesSent_{0};
    std::atomic<std::uint64_t> framesSent_{0};
    std::atomic<std::uint64_t> startCommands_{0};
    std::atomic<std::uint64_t> calibrationRequests_{0};
    std::atomic<int> pulsesPerFrame_{0};
    std::atomic<bool> hungUp_{false};
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

}  // namespace sundrel::boxsim
