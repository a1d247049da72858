#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

#include "acquisition/channel_host.h"
#include "acquisition/raw_file_header.h"
#include "acquisition/raw_file_writer.h"
#include "acquisition/status_code.h"
#include "frames/sensor_frame.h"
#include "platform/serial_port.h"

namespace sundrel::acquisition {

// Worker constants.
inline constexpr std::size_t kBatchBufferBytes = 8192;
inline constexpr int kPollIntervalMs = 2;
// With a batch size, the worker sleeps until the port holds a batch (or a
// stop, a pause, or this long has passed) instead of waking every 2 ms: a
// rail at full speed then costs tens of wake-ups a second, not 500.
inline constexpr int kIdleWaitMs = 100;

// One rail of a measurement run: its serial port, its raw data file and the
// worker thread that polls the port, appends every batch to the file and
// hands it to the real-time view.
//
// Threads: start, stop, pause and resume belong to one thread (the window
// thread); the worker reads the port and writes the file in between. Stop
// waits through the host until the worker has left its loop, so the drain,
// the trailer and the close never meet a write of the worker, and a worker
// inside a delivery can always finish. Pause holds the worker between polls,
// where it holds no lock and delivers nothing; bytes keep queuing in the port.
class AcquisitionChannel {
public:
    explicit AcquisitionChannel(ChannelHost& host);
    // Closes the file if it is open, without a trailer; a running worker is
    // stopped first.
    ~AcquisitionChannel();
    AcquisitionChannel(const AcquisitionChannel&) = delete;
    AcquisitionChannel& operator=(const AcquisitionChannel&) = delete;

    // Opens `devicePath` for the record's port, configures it, creates the
    // file folder + "/" + fileName with the record as its leading header,
    // starts the worker and sends the start command. PortNotOpened when the
    // port cannot be opened, SetPortError for any later failure (the file is
    // then closed and removed, the worker ended and the port closed);
    // OpenFileError is reported to the host before.
    StatusCode startChannel(const RawFileHeader& record, const std::string& devicePath);

    // Ends the run: waits for the worker, drains what still waits in the port
    // into the file, writes the record with `endPosition` as trailer, closes
    // the file and the port. Nothing happens for a channel that is not
    // running. ClosePortError when the port did not close.
    StatusCode stopChannel(double endPosition);

    // Holds the worker between polls and returns once it holds (serving its
    // last delivery through the host meanwhile); resume lets it go on.
    void pause();
    void resume();
    bool isRunning() const { return running_; }
    bool isPaused() const { return pauseRequested_.load(); }

    // The worker posts code 6 after every batch while this is set.
    void setReportProgress(bool report) { reportProgress_.store(report); }

    // Bytes that reached the file since the start (frame stream only).
    std::uint32_t dataByteCount() const { return dataByteCount_.load(); }
    // Bytes handed to the real-time view since the start.
    std::uint32_t deliveredBytes() const { return deliveredBytes_.load(); }
    frames::RailSide side() const { return static_cast<frames::RailSide>(side_.load()); }
    // True once the worker found the device gone.
    bool deviceLost() const { return deviceLost_.load(); }
    // True once a batch did not reach the file.
    bool writeFailed() const { return writeFailed_.load(); }
    // The record as started; dataByteCount, side and position are the
    // trailer's after a stop.
    const RawFileHeader& record() const { return record_; }
    std::string filePath() const { return writer_.path(); }

private:
    void workerLoop();
    // Appends bytes to the file; counts only what reached it and reports the
    // first failure once.
    void appendToFile(const std::uint8_t* bytes, std::size_t count);
    bool waitWhilePaused();

    ChannelHost& host_;
    RawFileHeader record_{};
    RawFileWriter writer_;
    platform::SerialPort port_;
    std::thread worker_;
    bool running_ = false;  // window thread only

    std::atomic<bool> stopRequested_{true};
    std::atomic<bool> pauseRequested_{false};
    std::atomic<bool> workerDone_{true};
    std::atomic<bool> parked_{false};  // the worker holds in a pause
    bool batchWaiting_ = false;        // guarded by pauseMutex_: the port holds a batch
    std::atomic<bool> reportProgress_{false};
    std::atomic<bool> deviceLost_{false};
    std::atomic<bool> writeFailed_{false};
    std::atomic<std::uint32_t> dataByteCount_{0};
    std::atomic<std::uint32_t> deliveredBytes_{0};
    std::atomic<std::int32_t> side_{0};
    std::mutex pauseMutex_;
    std::condition_variable pauseChanged_;
};

}  // namespace sundrel::acquisition
