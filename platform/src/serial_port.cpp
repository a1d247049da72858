#include "platform/serial_port.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

#include "serial_termios.h"

namespace sundrel::platform {

namespace {

constexpr std::size_t kReadChunk = 4096;  // bytes taken from the device per read()

// The port whose reader thread this is, so that a call from the count
// callback knows it must not wait for its own thread.
thread_local const void* tReaderOf = nullptr;

// Exclusive use, raw line at 9600 bit/s 8N1. 0 or an errno value.
int prepareDevice(int fd) {
    if (isatty(fd) == 0) {
        return ENOTTY;
    }
    // flock() keeps out every other opener that asks, root included;
    // TIOCEXCL also keeps out programs that do not ask, unless they run as root.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        return errno == EWOULDBLOCK ? EBUSY : errno;
    }
    if (ioctl(fd, TIOCEXCL) != 0) {
        return errno;
    }
    termios settings{};
    if (tcgetattr(fd, &settings) != 0) {
        return errno;
    }
    makeRawLine(settings);
    applyLineParameters(settings, kBaudCode9600, kModeDataBits8);
    if (tcsetattr(fd, TCSANOW, &settings) != 0) {
        return errno;
    }
    return 0;
}

void releaseDevice(int fd) {
    // The tty outlives this descriptor (a pseudo-terminal whose other side
    // stays open); a left-over TIOCEXCL would refuse the next open.
    ioctl(fd, TIOCNXCL);
    ::close(fd);  // also releases the flock()
}

template <typename Change>
int changeSettings(int fd, Change change) {
    if (fd < 0) {
        return EBADF;
    }
    termios settings{};
    if (tcgetattr(fd, &settings) != 0) {
        return errno;
    }
    if (!change(settings)) {
        return EINVAL;
    }
    return tcsetattr(fd, TCSANOW, &settings) == 0 ? 0 : errno;
}

}  // namespace

class SerialPort::Impl {
public:
    explicit Impl(std::size_t queueCapacity)
        : queueCapacity_(std::clamp<std::size_t>(queueCapacity, 1, INT_MAX)) {}

    int open(const std::string& devicePath);
    int close();
    bool isOpen() const;
    int setLineParameters(int baudCode, int modeWord);
    int setFlowControl(int mode);
    int setReadTimeout(int ms);
    int setWriteTimeout(int ms);
    void flush(int directions);
    int write(const void* bytes, std::size_t count);
    int inputQueueCount();
    int read(void* buffer, std::size_t capacity);
    int collectPending();
    int setCountCallback(std::function<void()> callback, std::size_t count);
    bool deviceLost() const { return deviceLost_.load(); }
    std::uint64_t droppedByteCount() const { return droppedBytes_.load(); }
    std::string devicePath() const;

private:
    struct CountCallback {
        std::function<void()> function;
        std::size_t count = 0;
    };

    bool onReaderThread() const { return tReaderOf == this; }
    void joinStoppedReader();
    void closeDevice();
    void readerLoop(int fd, int wakeFd);
    bool drainDevice(int fd);
    // One read of the device into the queue, under readMutex_ so that the
    // reader thread and collectPending() keep the bytes in order.
    ssize_t readDevice(int fd);
    void append(const std::uint8_t* bytes, std::size_t count, std::uint64_t generation);
    void markDeviceLost();
    void deliverCallbacks();

    const std::size_t queueCapacity_;

    // The device, its reader thread and the descriptor that wakes the reader
    // for close(). Owner-side calls hold ioMutex_; the reader thread gets
    // copies of the descriptors and touches them only until stopping_.
    mutable std::mutex ioMutex_;
    int fd_ = -1;
    int wakeFd_ = -1;
    std::thread reader_;
    std::string devicePath_;
    std::atomic<bool> stopping_{false};
    std::atomic<int> readTimeoutMs_{0};
    std::atomic<int> writeTimeoutMs_{0};

    // What the reader collected. A flush of the input bumps the generation,
    // so that bytes the reader took from the device before the flush and
    // queues after it are dropped as well.
    std::mutex readMutex_;
    mutable std::mutex queueMutex_;
    std::condition_variable queueChanged_;
    std::deque<std::uint8_t> queue_;
    bool open_ = false;
    std::atomic<std::uint64_t> flushGeneration_{0};
    std::atomic<bool> deviceLost_{false};
    std::atomic<std::uint64_t> droppedBytes_{0};

    // The count callback is copied out under callbackMutex_ and run under
    // deliveryMutex_ only, so that it can call back into the port.
    std::mutex callbackMutex_;
    std::shared_ptr<const CountCallback> callback_;
    std::mutex deliveryMutex_;
};

int SerialPort::Impl::open(const std::string& devicePath) {
    if (onReaderThread()) {
        return EBUSY;  // the callback's own thread ends only after it returns
    }
    joinStoppedReader();
    std::lock_guard io(ioMutex_);
    if (fd_ >= 0) {
        return EBUSY;
    }
    const int fd = ::open(devicePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return errno;
    }
    int error = prepareDevice(fd);
    const int wakeFd = error == 0 ? eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK) : -1;
    if (error == 0 && wakeFd < 0) {
        error = errno;
    }
    if (error != 0) {
        releaseDevice(fd);
        return error;
    }
    {
        std::lock_guard queue(queueMutex_);
        queue_.clear();
        open_ = true;
    }
    deviceLost_ = false;
    droppedBytes_ = 0;
    stopping_ = false;
    try {
        reader_ = std::thread(&Impl::readerLoop, this, fd, wakeFd);
    } catch (const std::system_error& e) {
        {
            std::lock_guard queue(queueMutex_);
            open_ = false;
        }
        ::close(wakeFd);
        releaseDevice(fd);
        return e.code().value() != 0 ? e.code().value() : EAGAIN;
    }
    fd_ = fd;
    wakeFd_ = wakeFd;
    devicePath_ = devicePath;
    return 0;
}

int SerialPort::Impl::close() {
    if (onReaderThread()) {
        // From the callback: the reader sees stopping_ when the callback
        // returns and ends without touching the closed descriptors; the
        // owner's next close(), open() or the destructor joins it.
        stopping_ = true;
        closeDevice();
        return 0;
    }
    std::thread reader;
    {
        std::lock_guard io(ioMutex_);
        stopping_ = true;
        if (wakeFd_ >= 0) {
            const std::uint64_t one = 1;
            [[maybe_unused]] const ssize_t n = ::write(wakeFd_, &one, sizeof one);
        }
        reader = std::move(reader_);
    }
    // Joined without ioMutex_, which a callback under way may still need.
    if (reader.joinable()) {
        reader.join();
    }
    closeDevice();
    return 0;
}

void SerialPort::Impl::joinStoppedReader() {
    std::thread reader;
    {
        std::lock_guard io(ioMutex_);
        if (fd_ >= 0) {
            return;
        }
        reader = std::move(reader_);
    }
    if (reader.joinable()) {
        reader.join();
    }
}

void SerialPort::Impl::closeDevice() {
    {
        std::lock_guard lock(callbackMutex_);
        callback_.reset();
    }
    {
        std::lock_guard io(ioMutex_);
        if (fd_ >= 0) {
            releaseDevice(fd_);
            ::close(wakeFd_);
            fd_ = -1;
            wakeFd_ = -1;
        }
        std::lock_guard queue(queueMutex_);
        queue_.clear();
        open_ = false;
    }
    queueChanged_.notify_all();
}

bool SerialPort::Impl::isOpen() const {
    std::lock_guard io(ioMutex_);
    return fd_ >= 0;
}

int SerialPort::Impl::setLineParameters(int baudCode, int modeWord) {
    std::lock_guard io(ioMutex_);
    return changeSettings(
        fd_, [&](termios& settings) { return applyLineParameters(settings, baudCode, modeWord); });
}

int SerialPort::Impl::setFlowControl(int mode) {
    std::lock_guard io(ioMutex_);
    return changeSettings(fd_, [&](termios& settings) { return applyFlowControl(settings, mode); });
}

int SerialPort::Impl::setReadTimeout(int ms) {
    if (ms < 0) {
        return EINVAL;
    }
    readTimeoutMs_ = ms;
    return 0;
}

int SerialPort::Impl::setWriteTimeout(int ms) {
    if (ms < 0) {
        return EINVAL;
    }
    writeTimeoutMs_ = ms;
    return 0;
}

void SerialPort::Impl::flush(int directions) {
    std::lock_guard io(ioMutex_);
    if (fd_ < 0) {
        return;
    }
    if (directions == 0 || directions == 2) {
        std::lock_guard queue(queueMutex_);
        tcflush(fd_, TCIFLUSH);
        queue_.clear();
        ++flushGeneration_;
    }
    if (directions == 1 || directions == 2) {
        tcflush(fd_, TCOFLUSH);
    }
}

int SerialPort::Impl::write(const void* bytes, std::size_t count) {
    if (count > INT_MAX) {
        return -1;
    }
    std::lock_guard io(ioMutex_);
    if (fd_ < 0) {
        return -1;
    }
    using Clock = std::chrono::steady_clock;
    const int timeoutMs = writeTimeoutMs_;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    const auto* next = static_cast<const std::uint8_t*>(bytes);
    std::size_t written = 0;
    while (written < count) {
        const ssize_t n = ::write(fd_, next + written, count - written);
        if (n > 0) {
            written += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0 && errno != EAGAIN) {
            return -1;
        }
        // The device's output buffer is full: wait until it takes more.
        int waitMs = -1;
        if (timeoutMs > 0) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0) {
                break;
            }
            waitMs = static_cast<int>(left.count());
        }
        pollfd writable{fd_, POLLOUT, 0};
        const int ready = poll(&writable, 1, waitMs);
        if (ready < 0 && errno != EINTR) {
            return -1;
        }
        if (ready == 0) {
            break;
        }
        if (ready > 0 && (writable.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
            return -1;
        }
    }
    return static_cast<int>(written);
}

int SerialPort::Impl::inputQueueCount() {
    std::lock_guard queue(queueMutex_);
    if (!open_ || (queue_.empty() && deviceLost_)) {
        return -1;
    }
    return static_cast<int>(queue_.size());
}

int SerialPort::Impl::read(void* buffer, std::size_t capacity) {
    std::unique_lock queue(queueMutex_);
    const int timeoutMs = readTimeoutMs_;
    // On the reader thread nothing can arrive while waiting.
    if (open_ && queue_.empty() && capacity > 0 && timeoutMs > 0 && !onReaderThread()) {
        queueChanged_.wait_for(queue, std::chrono::milliseconds(timeoutMs),
                               [&] { return !queue_.empty() || !open_ || deviceLost_; });
    }
    if (!open_) {
        return -1;
    }
    const std::size_t n = std::min({capacity, queue_.size(), std::size_t{INT_MAX}});
    const auto end = queue_.begin() + static_cast<std::ptrdiff_t>(n);
    std::copy(queue_.begin(), end, static_cast<std::uint8_t*>(buffer));
    queue_.erase(queue_.begin(), end);
    return static_cast<int>(n);
}

int SerialPort::Impl::setCountCallback(std::function<void()> callback, std::size_t count) {
    if (callback && count == 0) {
        return EINVAL;
    }
    std::shared_ptr<const CountCallback> next;
    if (callback) {
        next = std::make_shared<const CountCallback>(CountCallback{std::move(callback), count});
    }
    std::shared_ptr<const CountCallback> previous;
    {
        std::lock_guard lock(callbackMutex_);
        previous = std::exchange(callback_, std::move(next));
    }
    if (!onReaderThread()) {
        std::lock_guard waitForCallUnderWay(deliveryMutex_);
    }
    return 0;
}

std::string SerialPort::Impl::devicePath() const {
    std::lock_guard io(ioMutex_);
    return devicePath_;
}

void SerialPort::Impl::readerLoop(int fd, int wakeFd) {
    tReaderOf = this;
    pollfd watched[2] = {{fd, POLLIN, 0}, {wakeFd, POLLIN, 0}};
    while (!stopping_) {
        if (poll(watched, 2, -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            markDeviceLost();
            return;
        }
        if (watched[1].revents != 0) {
            return;  // close()
        }
        const bool hungUp = (watched[0].revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
        const bool readable = drainDevice(fd);
        if (stopping_) {
            return;  // closed from the callback: fd is no longer ours
        }
        if (hungUp || !readable) {
            // drainDevice() took every byte the device still held.
            markDeviceLost();
            return;
        }
    }
}

// Moves what the device holds into the queue, running the callback after
// each chunk. False when the device failed (EIO, ENXIO, ...).
bool SerialPort::Impl::drainDevice(int fd) {
    while (!stopping_) {
        const ssize_t n = readDevice(fd);
        if (n > 0) {
            deliverCallbacks();
            continue;
        }
        if (n == 0 || errno == EAGAIN) {
            return true;  // nothing left (a tty with VMIN 0 reads 0 bytes when empty)
        }
        if (errno != EINTR) {
            return false;
        }
    }
    return true;
}

ssize_t SerialPort::Impl::readDevice(int fd) {
    std::uint8_t chunk[kReadChunk];
    std::lock_guard reading(readMutex_);
    const std::uint64_t generation = flushGeneration_;
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n > 0) {
        append(chunk, static_cast<std::size_t>(n), generation);
    }
    return n;
}

int SerialPort::Impl::collectPending() {
    std::lock_guard io(ioMutex_);
    if (fd_ < 0) {
        return -1;
    }
    std::size_t moved = 0;
    for (;;) {
        const ssize_t n = readDevice(fd_);
        if (n > 0) {
            moved += static_cast<std::size_t>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            break;  // empty, or the device failed: the reader reports that
        }
    }
    queueChanged_.notify_all();
    return static_cast<int>(std::min<std::size_t>(moved, INT_MAX));
}

void SerialPort::Impl::append(const std::uint8_t* bytes, std::size_t count,
                              std::uint64_t generation) {
    {
        std::lock_guard queue(queueMutex_);
        if (generation != flushGeneration_) {
            return;  // read from the device before a flush of the input
        }
        const std::size_t kept = std::min(count, queueCapacity_ - queue_.size());
        queue_.insert(queue_.end(), bytes, bytes + kept);
        if (kept < count) {
            droppedBytes_ += count - kept;
        }
    }
    queueChanged_.notify_all();
}

void SerialPort::Impl::markDeviceLost() {
    {
        std::lock_guard queue(queueMutex_);
        deviceLost_ = true;
    }
    queueChanged_.notify_all();
}

void SerialPort::Impl::deliverCallbacks() {
    std::lock_guard delivery(deliveryMutex_);
    while (!stopping_) {
        std::shared_ptr<const CountCallback> callback;
        {
            std::lock_guard lock(callbackMutex_);
            callback = callback_;
        }
        if (!callback) {
            return;
        }
        std::size_t before = 0;
        {
            std::lock_guard queue(queueMutex_);
            before = queue_.size();
        }
        if (before < callback->count) {
            return;
        }
        callback->function();
        std::lock_guard queue(queueMutex_);
        if (queue_.size() >= before) {
            return;  // it took nothing: wait for more bytes
        }
    }
}

SerialPort::SerialPort(std::size_t queueCapacity) : impl_(std::make_unique<Impl>(queueCapacity)) {}

SerialPort::~SerialPort() {
    impl_->close();
}

int SerialPort::open(const std::string& devicePath) {
    return impl_->open(devicePath);
}
int SerialPort::close() {
    return impl_->close();
}
int SerialPort::collectPending() {
    return impl_->collectPending();
}
bool SerialPort::isOpen() const {
    return impl_->isOpen();
}
int SerialPort::setLineParameters(int baudCode, int modeWord) {
    return impl_->setLineParameters(baudCode, modeWord);
}
int SerialPort::setFlowControl(int mode) {
    return impl_->setFlowControl(mode);
}
int SerialPort::setReadTimeout(int ms) {
    return impl_->setReadTimeout(ms);
}
int SerialPort::setWriteTimeout(int ms) {
    return impl_->setWriteTimeout(ms);
}
void SerialPort::flush(int directions) {
    impl_->flush(directions);
}
int SerialPort::write(const void* bytes, std::size_t count) {
    return impl_->write(bytes, count);
}
int SerialPort::inputQueueCount() {
    return impl_->inputQueueCount();
}
int SerialPort::read(void* buffer, std::size_t capacity) {
    return impl_->read(buffer, capacity);
}
int SerialPort::setCountCallback(std::function<void()> callback, std::size_t count) {
    return impl_->setCountCallback(std::move(callback), count);
}
bool SerialPort::deviceLost() const {
    return impl_->deviceLost();
}
std::uint64_t SerialPort::droppedByteCount() const {
    return impl_->droppedByteCount();
}
std::string SerialPort::devicePath() const {
    return impl_->devicePath();
}

}  // namespace sundrel::platform
