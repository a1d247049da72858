#include "acquisition/acquisition_channel.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <system_error>
#include <vector>

#include "acquisition/raw_file_naming.h"
#include "acquisition/serial_link.h"
#include "core/panel_codes.h"

namespace sundrel::acquisition {
namespace {

using Clock = std::chrono::steady_clock;

// Every batch is on the disk at most this long after it was written.
constexpr auto kSyncInterval = std::chrono::seconds(1);

PanelMessage messageOf(core::PanelCode code) {
    return {static_cast<std::uintptr_t>(code), 0, 0, 0};
}

}  // namespace

AcquisitionChannel::AcquisitionChannel(ChannelHost& host) : host_(host) {}

AcquisitionChannel::~AcquisitionChannel() {
    port_.setCountCallback(nullptr, 1);  // it wakes the worker through members going now
    if (worker_.joinable()) {
        {
            std::lock_guard lock(pauseMutex_);
            stopRequested_.store(true);
        }
        pauseChanged_.notify_all();
        // The worker may be inside a delivery: serve it while waiting.
        host_.waitDelivering([this] { return workerDone_.load(); });
        worker_.join();
    }
    writer_.close();
}

StatusCode AcquisitionChannel::startChannel(const RawFileHeader& record,
                                            const std::string& devicePath) {
    if (running_) {
        return StatusCode::Success;  // one run at a time
    }
    record_ = record;
    if (devicePath.empty() || port_.open(devicePath) != 0) {
        return StatusCode::PortNotOpened;
    }
    const auto fail = [&](StatusCode code) {
        closePort(port_);
        return code;
    };
    if (configureLine(port_, record_.line) != StatusCode::Success) {
        return fail(StatusCode::SetPortError);
    }
    stopRequested_.store(false);
    pauseRequested_.store(false);
    deviceLost_.store(false);
    writeFailed_.store(false);
    dataByteCount_.store(0);
    deliveredBytes_.store(0);
    side_.store(record_.line.side);

    const std::string path = headerFilePath(record_);
    if (writer_.open(path, "wb+") != StatusCode::Success) {
        host_.reportFault(statusText(StatusCode::OpenFileError));
        return fail(StatusCode::SetPortError);
    }
    const auto abandonFile = [&] {
        writer_.close();
        std::remove(path.c_str());
    };
    if (writer_.writeBlock(&record_, sizeof record_) != StatusCode::Success) {
        abandonFile();
        host_.reportFault(statusText(StatusCode::WriteFileError));
        return fail(StatusCode::SetPortError);
    }
    workerDone_.store(false);
    try {
        worker_ = std::thread(&AcquisitionChannel::workerLoop, this);
    } catch (const std::system_error&) {
        workerDone_.store(true);
        abandonFile();
        return fail(StatusCode::SetPortError);
    }
    port_.flush(2);
    const auto trigger = static_cast<std::uint32_t>(record_.line.nDataBytesTrigger);
    if (trigger > 0) {
        // Wakes the worker once a batch waits in the port.
        const std::size_t batch =
            std::clamp<std::size_t>(trigger, frames::kFrameSize, kBatchBufferBytes);
        port_.setCountCallback(
            [this] {
                {
                    std::lock_guard lock(pauseMutex_);
                    batchWaiting_ = true;
                }
                pauseChanged_.notify_all();
            },
            batch);
    }
    const BoxCommand command = startCommand(record_.line.nCollectionCommand);
    if (port_.write(command.data(), command.size()) != static_cast<int>(command.size())) {
        stopRequested_.store(true);
        host_.waitDelivering([this] { return workerDone_.load(); });
        worker_.join();
        abandonFile();
        return fail(StatusCode::SetPortError);
    }
    running_ = true;
    return StatusCode::Success;
}

void AcquisitionChannel::appendToFile(const std::uint8_t* bytes, std::size_t count) {
    if (count == 0 || !writer_.isOpen()) {
        return;
    }
    if (writer_.writeBlock(bytes, count) == StatusCode::Success) {
        dataByteCount_.fetch_add(static_cast<std::uint32_t>(count));
        return;
    }
    if (!writeFailed_.exchange(true)) {
        host_.reportFault(statusText(StatusCode::WriteFileError));
    }
}

bool AcquisitionChannel::waitWhilePaused() {
    std::unique_lock lock(pauseMutex_);
    parked_.store(true);
    pauseChanged_.wait(lock, [this] { return !pauseRequested_.load() || stopRequested_.load(); });
    parked_.store(false);
    return !stopRequested_.load();
}

void AcquisitionChannel::workerLoop() {
    std::vector<std::uint8_t> buffer(kBatchBufferBytes);
    const auto trigger = static_cast<std::uint32_t>(record_.line.nDataBytesTrigger);
    PanelMessage batch = messageOf(core::PanelCode::AcquisitionBatch);
    PanelMessage progress = messageOf(core::PanelCode::AcquisitionProgress);
    std::size_t collected = 0;
    bool sideChecked = false;
    auto lastSync = Clock::now();

    while (!stopRequested_.load()) {
        if (pauseRequested_.load() && !waitWhilePaused()) {
            break;
        }
        const int waiting = port_.inputQueueCount();
        if (waiting < 0) {
            deviceLost_.store(true);
            host_.reportFault("connect error");
            break;
        }
        if (waiting >= static_cast<int>(frames::kFrameSize) && collected < buffer.size()) {
            const std::size_t room = buffer.size() - collected;
            const int read = port_.read(buffer.data() + collected,
                                        std::min(room, static_cast<std::size_t>(waiting)));
            collected += static_cast<std::size_t>(std::max(read, 0));
        }
        // A full buffer is a batch too, whatever the trigger says: otherwise
        // a trigger above the buffer's size would never write a byte.
        if (collected >= trigger || collected == buffer.size()) {
            appendToFile(buffer.data(), collected);
            if (!sideChecked) {
                const frames::RailSide found = frames::detectSide(buffer.data(), collected);
                if (found != frames::RailSide::None) {
                    side_.store(static_cast<std::int32_t>(found));
                }
                sideChecked = true;
            }
            batch.data = reinterpret_cast<std::uintptr_t>(buffer.data());
            batch.count = collected;
            host_.deliverBatch(batch, side_.load());
            const std::uint32_t delivered =
                deliveredBytes_.fetch_add(static_cast<std::uint32_t>(collected)) +
                static_cast<std::uint32_t>(collected);
            collected = 0;
            if (reportProgress_.load()) {
                progress.data = delivered;
                host_.postProgress(progress);
            }
        }
        if (Clock::now() - lastSync >= kSyncInterval) {
            writer_.sync();
            lastSync = Clock::now();
        }
        std::unique_lock lock(pauseMutex_);
        const auto wait = std::chrono::milliseconds(trigger == 0 ? kPollIntervalMs : kIdleWaitMs);
        pauseChanged_.wait_for(lock, wait, [this] {
            return stopRequested_.load() || pauseRequested_.load() || batchWaiting_;
        });
        batchWaiting_ = false;
    }
    // What was collected but not yet a batch still belongs in the file.
    appendToFile(buffer.data(), collected);
    workerDone_.store(true);
}

void AcquisitionChannel::pause() {
    if (!running_) {
        return;
    }
    {
        std::lock_guard lock(pauseMutex_);
        pauseRequested_.store(true);
    }
    pauseChanged_.notify_all();
    // Returns once the worker holds between polls (a batch under way is
    // delivered first), so nothing is delivered after a pause.
    host_.waitDelivering([this] { return parked_.load() || workerDone_.load(); });
}

void AcquisitionChannel::resume() {
    {
        std::lock_guard lock(pauseMutex_);
        pauseRequested_.store(false);
    }
    pauseChanged_.notify_all();
}

StatusCode AcquisitionChannel::stopChannel(double endPosition) {
    {
        std::lock_guard lock(pauseMutex_);
        stopRequested_.store(true);
        pauseRequested_.store(false);
    }
    pauseChanged_.notify_all();
    if (!running_) {
        return StatusCode::Success;
    }
    running_ = false;
    host_.waitDelivering([this] { return workerDone_.load(); });
    worker_.join();

    // Every byte that reached the port goes into the file, however many,
    // including those a busy reader thread had not taken from the device yet.
    port_.collectPending();
    std::array<std::uint8_t, 4095> drain{};
    for (;;) {
        const int read = port_.read(drain.data(), drain.size());
        if (read <= 0) {
            break;
        }
        appendToFile(drain.data(), static_cast<std::size_t>(read));
    }
    record_.dataByteCount = dataByteCount_.load();
    record_.line.side = side_.load();
    record_.position = endPosition;
    if (writer_.isOpen()) {
        if (writer_.writeBlock(&record_, sizeof record_) != StatusCode::Success ||
            !writer_.sync()) {
            if (!writeFailed_.exchange(true)) {
                host_.reportFault(statusText(StatusCode::WriteFileError));
            }
        }
        writer_.close();
    }
    return closePort(port_);
}

}  // namespace sundrel::acquisition
