#include "platform/serial_port.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <numeric>
#include <string>
#include <thread>
#include <vector>

#include "platform/serial_line_codes.h"

namespace sundrel::platform {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Waits for a condition another thread brings about; the deadline only ends
// a test that would otherwise hang.
bool eventually(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

Bytes allByteValues() {
    Bytes bytes(256);
    std::iota(bytes.begin(), bytes.end(), std::uint8_t{0});
    return bytes;
}

// Bytes that differ from their neighbours, so that a lost, doubled or
// swapped chunk shows.
Bytes pattern(std::size_t count) {
    Bytes bytes(count);
    std::uint32_t state = 12345;
    for (std::uint8_t& byte : bytes) {
        state = state * 1103515245u + 12345u;
        byte = static_cast<std::uint8_t>(state >> 16);
    }
    return bytes;
}

// A simulated box: the test holds the master of a pseudo-terminal pair and
// the port opens the slave.
class PtyPair {
public:
    PtyPair() {
        // Non-blocking, so that a box thread never hangs in write() when
        // nobody takes the bytes.
        master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
        if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
            return;
        }
        char name[128] = {};
        if (ptsname_r(master_, name, sizeof name) != 0) {
            return;
        }
        // Termios requests on a master act on the slave's line; the master's
        // own side is raw already. The line is left cooked, as a fresh
        // terminal or another program leaves it, so the port must make it raw.
        termios settings{};
        tcgetattr(master_, &settings);
        settings.c_iflag |= ICRNL | IXON | IXOFF;
        settings.c_oflag |= OPOST | ONLCR;
        settings.c_lflag |= ICANON | ECHO | ISIG | IEXTEN;
        tcsetattr(master_, TCSANOW, &settings);
        slavePath_ = name;
    }
    ~PtyPair() { closeMaster(); }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool ok() const { return master_ >= 0 && !slavePath_.empty(); }
    const std::string& slavePath() const { return slavePath_; }
    int master() const { return master_; }

    void closeMaster() {
        if (master_ >= 0) {
            ::close(master_);
            master_ = -1;
        }
    }

    bool send(const Bytes& bytes) const { return send(bytes.data(), bytes.size()); }
    bool send(const std::uint8_t* bytes, std::size_t count) const {
        while (count > 0) {
            const ssize_t n = ::write(master_, bytes, count);
            if (n < 0 && (errno == EINTR || errno == EAGAIN)) {
                pollfd writable{master_, POLLOUT, 0};
                if (poll(&writable, 1, 5000) <= 0) {
                    return false;
                }
                continue;
            }
            if (n <= 0) {
                return false;
            }
            bytes += n;
            count -= static_cast<std::size_t>(n);
        }
        return true;
    }

    // What the port wrote, `count` bytes.
    Bytes receive(std::size_t count) const {
        Bytes bytes;
        std::uint8_t chunk[256];
        while (bytes.size() < count) {
            pollfd readable{master_, POLLIN, 0};
            if (poll(&readable, 1, 5000) <= 0) {
                break;
            }
            const ssize_t n = ::read(master_, chunk, std::min(sizeof chunk, count - bytes.size()));
            if (n <= 0) {
                break;
            }
            bytes.insert(bytes.end(), chunk, chunk + n);
        }
        return bytes;
    }

private:
    int master_ = -1;
    std::string slavePath_;
};

class SerialPortTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(pty.ok()) << "no pseudo-terminal";
        ASSERT_EQ(port.open(pty.slavePath()), 0);
    }

    // Waits until `count` bytes are queued, then reads them.
    Bytes readQueued(std::size_t count) {
        EXPECT_TRUE(eventually([&] { return port.inputQueueCount() >= static_cast<int>(count); }))
            << port.inputQueueCount() << " of " << count << " bytes arrived";
        Bytes bytes(count);
        const int n = port.read(bytes.data(), bytes.size());
        bytes.resize(static_cast<std::size_t>(std::max(n, 0)));
        return bytes;
    }

    PtyPair pty;
    SerialPort port;
};

TEST(SerialPortLineCodes, MapSpeedsAndFrames) {
    const std::pair<int, int> speeds[] = {
        {9600, 0x0C}, {19200, 0x0D}, {38400, 0x0E}, {115200, 0x10}, {57600, 0x10}, {0, 0x10},
    };
    for (const auto& [baud, code] : speeds) {
        EXPECT_EQ(baudCodeFor(baud), code) << baud;
    }
    struct FrameCase {
        int dataBits;
        int stopBits;
        char parity;
        int mode;
    };
    const FrameCase frames[] = {
        {5, 1, 'N', 0x00}, {6, 1, 'N', 0x01}, {7, 1, 'N', 0x02}, {8, 1, 'N', 0x03},
        {9, 1, 'N', 0x03}, {4, 1, 'N', 0x03}, {8, 2, 'N', 0x07}, {8, 0, 'N', 0x03},
        {8, 1, 'E', 0x1B}, {8, 1, 'O', 0x0B}, {7, 2, 'E', 0x1E}, {8, 1, 'e', 0x03},
        {8, 1, 'M', 0x03},
    };
    for (const FrameCase& f : frames) {
        EXPECT_EQ(modeWordFor(f.dataBits, f.stopBits, f.parity), f.mode)
            << f.dataBits << f.parity << f.stopBits;
    }
}

// The settings as the device holds them, through a second descriptor. Root
// may open a tty its owner marked exclusive; others are refused.
bool deviceSettings(const std::string& path, termios& settings) {
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool read = tcgetattr(fd, &settings) == 0;
    ::close(fd);
    return read;
}

TEST_F(SerialPortTest, LineIsRawWithTheRequestedSpeedAndFrame) {
    termios settings{};
    if (!deviceSettings(pty.slavePath(), settings)) {
        GTEST_SKIP() << "the exclusive tty cannot be inspected without root";
    }
    EXPECT_EQ(settings.c_lflag & (ICANON | ECHO | ECHONL | ISIG | IEXTEN), 0u);
    EXPECT_EQ(settings.c_iflag & (ICRNL | INLCR | IGNCR | IXON | IXOFF | ISTRIP), 0u);
    EXPECT_EQ(settings.c_oflag & OPOST, 0u);
    EXPECT_EQ(settings.c_cflag & (CLOCAL | CREAD), static_cast<tcflag_t>(CLOCAL | CREAD));
    EXPECT_EQ(settings.c_cflag & CRTSCTS, 0u);
    EXPECT_EQ(settings.c_cc[VMIN], 0);
    EXPECT_EQ(settings.c_cc[VTIME], 0);

    // A pseudo-terminal keeps speed, stop bits and the parity sense but
    // always reports 8 data bits without parity, so those are not checked.
    struct LineCase {
        int baudCode;
        int modeWord;
        speed_t speed;
        bool twoStopBits;
        bool odd;
    };
    const LineCase lines[] = {
        {kBaudCode9600, modeWordFor(8, 1, 'N'), B9600, false, false},
        {kBaudCode19200, modeWordFor(7, 2, 'E'), B19200, true, false},
        {kBaudCode38400, modeWordFor(8, 1, 'O'), B38400, false, true},
        {kBaudCode115200, modeWordFor(8, 2, 'N'), B115200, true, false},
    };
    for (const LineCase& line : lines) {
        ASSERT_EQ(port.setLineParameters(line.baudCode, line.modeWord), 0) << line.baudCode;
        ASSERT_TRUE(deviceSettings(pty.slavePath(), settings));
        EXPECT_EQ(cfgetispeed(&settings), line.speed) << line.baudCode;
        EXPECT_EQ(cfgetospeed(&settings), line.speed) << line.baudCode;
        EXPECT_EQ((settings.c_cflag & CSTOPB) != 0, line.twoStopBits) << line.baudCode;
        EXPECT_EQ((settings.c_cflag & PARODD) != 0, line.odd) << line.baudCode;
    }

    ASSERT_EQ(port.setFlowControl(SerialPort::kFlowRtsCts), 0);
    ASSERT_TRUE(deviceSettings(pty.slavePath(), settings));
    EXPECT_NE(settings.c_cflag & CRTSCTS, 0u);
    ASSERT_EQ(port.setFlowControl(SerialPort::kFlowNone), 0);
    ASSERT_TRUE(deviceSettings(pty.slavePath(), settings));
    EXPECT_EQ(settings.c_cflag & CRTSCTS, 0u);
    EXPECT_EQ(settings.c_iflag & (IXON | IXOFF), 0u);
}

TEST_F(SerialPortTest, RejectsUnknownSettings) {
    EXPECT_NE(port.setLineParameters(0x0B, kModeDataBits8), 0);
    EXPECT_NE(port.setLineParameters(kBaudCode9600, 0x10), 0);  // parity bit without sense
    EXPECT_NE(port.setLineParameters(kBaudCode9600, 0x20), 0);
    EXPECT_NE(port.setFlowControl(0x04), 0);
    EXPECT_NE(port.setReadTimeout(-1), 0);
    EXPECT_NE(port.setWriteTimeout(-1), 0);
    EXPECT_EQ(port.setReadTimeout(0), 0);
    EXPECT_EQ(port.setWriteTimeout(0), 0);
    EXPECT_NE(port.setCountCallback([] {}, 0), 0);
}

TEST_F(SerialPortTest, EveryByteValueArrivesUnchangedAndInOrder) {
    // Control bytes a cooked line would act on: CR, LF, XON, XOFF, ^C.
    const Bytes all = allByteValues();
    ASSERT_TRUE(pty.send(all));
    EXPECT_EQ(readQueued(all.size()), all);
    EXPECT_EQ(port.inputQueueCount(), 0);
}

TEST_F(SerialPortTest, BytesArriveInOrderWhateverTheChunks) {
    Bytes sent;
    for (int round = 0; round < 8; ++round) {
        const Bytes all = allByteValues();
        sent.insert(sent.end(), all.begin(), all.end());
    }
    const std::size_t writeSizes[] = {1, 2, 3, 5, 7, 13, 64, 255, 1};
    std::size_t offset = 0;
    for (std::size_t i = 0; offset < sent.size(); ++i) {
        const std::size_t n = std::min(writeSizes[i % std::size(writeSizes)], sent.size() - offset);
        ASSERT_TRUE(pty.send(sent.data() + offset, n));
        offset += n;
    }
    ASSERT_TRUE(
        eventually([&] { return port.inputQueueCount() == static_cast<int>(sent.size()); }));
    const std::size_t readSizes[] = {1, 3, 17, 100, 2, 511};
    Bytes received;
    for (std::size_t i = 0; received.size() < sent.size(); ++i) {
        std::uint8_t chunk[511];
        const int n = port.read(chunk, readSizes[i % std::size(readSizes)]);
        ASSERT_GT(n, 0);
        ASSERT_LE(n, static_cast<int>(readSizes[i % std::size(readSizes)]));
        received.insert(received.end(), chunk, chunk + n);
    }
    EXPECT_EQ(received, sent);
    EXPECT_EQ(port.read(received.data(), 1), 0);
}

// The final drain of a stop: the owner takes what the device holds while the
// reader thread may be taking it too; the bytes stay whole and in order.
TEST_F(SerialPortTest, CollectingPendingBytesKeepsThemInOrderAlongsideTheReader) {
    const Bytes sent = pattern(std::size_t{1} << 18);
    std::thread box([&] { pty.send(sent); });
    Bytes received;
    std::uint8_t chunk[4096];
    while (received.size() < sent.size()) {
        ASSERT_GE(port.collectPending(), 0);
        const int n = port.read(chunk, sizeof chunk);
        ASSERT_GE(n, 0);
        received.insert(received.end(), chunk, chunk + n);
        if (n == 0 && !eventually([&] { return port.inputQueueCount() > 0; })) {
            break;
        }
    }
    box.join();
    EXPECT_EQ(received, sent);
    port.close();
    EXPECT_LT(port.collectPending(), 0) << "a closed port has nothing to collect";
}

// A paused recording: the box goes on sending far more than the kernel's
// buffer of the line holds while the program reads nothing.
TEST_F(SerialPortTest, NothingIsLostWhileTheProgramDoesNotRead) {
    const Bytes sent = pattern(std::size_t{1} << 20);
    std::atomic<bool> stop{false};
    std::atomic<bool> allSent{false};
    std::thread box([&] {
        std::size_t offset = 0;
        while (offset < sent.size() && !stop) {
            pollfd writable{pty.master(), POLLOUT, 0};
            if (poll(&writable, 1, 100) <= 0) {
                continue;
            }
            const ssize_t n = ::write(pty.master(), sent.data() + offset,
                                      std::min<std::size_t>(8192, sent.size() - offset));
            if (n > 0) {
                offset += static_cast<std::size_t>(n);
            }
        }
        allSent = offset == sent.size();
    });
    const bool finished = eventually([&] { return allSent.load(); });
    stop = true;
    box.join();
    ASSERT_TRUE(finished) << "the box could not send: nobody took the bytes off the line";

    EXPECT_EQ(readQueued(sent.size()), sent);
    EXPECT_EQ(port.droppedByteCount(), 0u);
}

TEST(SerialPortQueue, KeepsTheOldestBytesWhenFullAndCountsTheRest) {
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    SerialPort port(1000);
    ASSERT_EQ(port.open(pty.slavePath()), 0);
    const Bytes sent = pattern(1500);
    ASSERT_TRUE(pty.send(sent));
    ASSERT_TRUE(eventually([&] { return port.droppedByteCount() == 500; }));
    Bytes received(1500);
    ASSERT_EQ(port.read(received.data(), received.size()), 1000);
    received.resize(1000);
    EXPECT_EQ(received, Bytes(sent.begin(), sent.begin() + 1000));
}

TEST_F(SerialPortTest, WrittenBytesReachTheBoxUnchanged) {
    Bytes sent = allByteValues();
    const Bytes more = pattern(100000);  // more than the line buffers at once
    sent.insert(sent.end(), more.begin(), more.end());
    std::thread writer([&] { EXPECT_EQ(port.write(sent.data(), sent.size()), int(sent.size())); });
    const Bytes received = pty.receive(sent.size());
    writer.join();
    EXPECT_EQ(received, sent);
}

TEST_F(SerialPortTest, FlushDiscardsQueuedInputOnly) {
    ASSERT_TRUE(pty.send(pattern(300)));
    ASSERT_TRUE(eventually([&] { return port.inputQueueCount() == 300; }));
    port.flush(1);  // output only
    EXPECT_EQ(port.inputQueueCount(), 300);
    port.flush(0);
    EXPECT_EQ(port.inputQueueCount(), 0);

    ASSERT_TRUE(pty.send(pattern(20)));
    ASSERT_TRUE(eventually([&] { return port.inputQueueCount() == 20; }));
    port.flush(2);
    EXPECT_EQ(port.inputQueueCount(), 0);

    // Bytes after the flush come through.
    const Bytes after = allByteValues();
    ASSERT_TRUE(pty.send(after));
    EXPECT_EQ(readQueued(after.size()), after);
}

TEST_F(SerialPortTest, ReadWaitsForAFirstByteOnlyWithATimeout) {
    std::uint8_t byte = 0;
    EXPECT_EQ(port.read(&byte, 1), 0);  // the default never waits
    ASSERT_EQ(port.setReadTimeout(5000), 0);
    std::thread box([&] { pty.send(Bytes{0x42}); });
    EXPECT_EQ(port.read(&byte, 1), 1);
    EXPECT_EQ(byte, 0x42);
    box.join();
}

TEST_F(SerialPortTest, IsExclusiveUntilClosed) {
    EXPECT_TRUE(port.isOpen());
    EXPECT_EQ(port.devicePath(), pty.slavePath());
    EXPECT_EQ(port.open(pty.slavePath()), EBUSY);  // this port again

    SerialPort second;
    EXPECT_EQ(second.open(pty.slavePath()), EBUSY);
    EXPECT_FALSE(second.isOpen());

    // Another program (here a child process) is kept out as well.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        SerialPort other;
        _exit(other.open(pty.slavePath()) == EBUSY ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "another process opened it";

    EXPECT_EQ(port.close(), 0);
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(port.close(), 0);
    EXPECT_LT(port.inputQueueCount(), 0);
    ASSERT_EQ(second.open(pty.slavePath()), 0);

    // The reopened port works.
    const Bytes all = allByteValues();
    ASSERT_TRUE(pty.send(all));
    ASSERT_TRUE(eventually([&] { return second.inputQueueCount() == 256; }));
}

TEST(SerialPortOpen, FailsForWhatIsNotAFreeTerminal) {
    const std::pair<const char*, int> cases[] = {
        {"/dev/sundrel-no-such-port", ENOENT},
        {"/dev/null", ENOTTY},
        {"", ENOENT},
    };
    for (const auto& [path, error] : cases) {
        SerialPort port;
        EXPECT_EQ(port.open(path), error) << path;
        EXPECT_FALSE(port.isOpen()) << path;
        EXPECT_LT(port.write("x", 1), 0) << path;
        EXPECT_LT(port.inputQueueCount(), 0) << path;
    }
}

TEST_F(SerialPortTest, BytesBeforeAHangUpStayReadable) {
    const Bytes sent = pattern(100);
    ASSERT_TRUE(pty.send(sent));
    ASSERT_TRUE(eventually([&] { return port.inputQueueCount() == 100; }));
    pty.closeMaster();  // the box vanished
    ASSERT_TRUE(eventually([&] { return port.deviceLost(); }));

    EXPECT_EQ(port.inputQueueCount(), 100);
    Bytes received(60);
    ASSERT_EQ(port.read(received.data(), 60), 60);
    EXPECT_EQ(port.inputQueueCount(), 40);
    received.resize(100);
    ASSERT_EQ(port.read(received.data() + 60, 100), 40);
    EXPECT_EQ(received, sent);

    EXPECT_LT(port.inputQueueCount(), 0);
    EXPECT_EQ(port.read(received.data(), 1), 0);
    EXPECT_LT(port.write("x", 1), 0);
    EXPECT_TRUE(port.isOpen());
    EXPECT_EQ(port.close(), 0);
}

TEST_F(SerialPortTest, CountCallbackRunsOnTheReaderThreadWithEnoughBytes) {
    std::mutex mutex;
    std::vector<int> queuedAtCall;
    std::vector<std::thread::id> threads;
    Bytes received;
    ASSERT_EQ(port.setCountCallback(
                  [&] {
                      std::uint8_t chunk[64];
                      const int queued = port.inputQueueCount();
                      const int n = port.read(chunk, sizeof chunk);
                      std::lock_guard lock(mutex);
                      queuedAtCall.push_back(queued);
                      threads.push_back(std::this_thread::get_id());
                      received.insert(received.end(), chunk, chunk + std::max(n, 0));
                  },
                  10),
              0);
    // Three bytes at a time, each arrival on its own: a callback per
    // arrival would come too early. It reads everything at 12 and 24 bytes.
    const Bytes sent = pattern(30);
    for (std::size_t offset = 0; offset < sent.size(); offset += 3) {
        ASSERT_TRUE(pty.send(sent.data() + offset, 3));
        ASSERT_TRUE(eventually([&] {
            std::lock_guard lock(mutex);
            return received.size() + static_cast<std::size_t>(port.inputQueueCount()) == offset + 3;
        })) << offset;
    }
    EXPECT_EQ(port.inputQueueCount(), 6);
    std::lock_guard lock(mutex);
    EXPECT_EQ(queuedAtCall, (std::vector<int>{12, 12}));
    for (const std::thread::id id : threads) {
        EXPECT_NE(id, std::this_thread::get_id());
        EXPECT_EQ(id, threads.front());
    }
    EXPECT_EQ(received, Bytes(sent.begin(), sent.begin() + 24));
}

TEST_F(SerialPortTest, CountCallbackIsCalledAgainWhileEnoughBytesAreLeft) {
    std::atomic<int> calls{0};
    ASSERT_EQ(port.setCountCallback(
                  [&] {
                      std::uint8_t chunk[4];
                      port.read(chunk, sizeof chunk);
                      ++calls;
                  },
                  4),
              0);
    ASSERT_TRUE(pty.send(pattern(20)));
    ASSERT_TRUE(eventually([&] { return calls == 5; })) << calls;
    EXPECT_EQ(port.inputQueueCount(), 0);
}

TEST_F(SerialPortTest, CountCallbackThatLeavesBytesIsCalledWhenMoreArrive) {
    std::atomic<int> calls{0};
    ASSERT_EQ(port.setCountCallback(
                  [&] {
                      Bytes chunk(64);
                      const int queued = port.inputQueueCount();
                      port.read(chunk.data(), static_cast<std::size_t>(queued - 11));
                      ++calls;
                  },
                  16),
              0);
    ASSERT_TRUE(pty.send(pattern(20)));
    ASSERT_TRUE(eventually([&] { return calls == 1 && port.inputQueueCount() == 11; }));
    // 11 + 5 = 16 queued: enough, although only 5 arrived.
    ASSERT_TRUE(pty.send(pattern(5)));
    ASSERT_TRUE(eventually([&] { return calls == 2; })) << calls;
    EXPECT_EQ(port.inputQueueCount(), 11);
}

TEST_F(SerialPortTest, CloseFromTheCallbackEndsThePort) {
    std::atomic<int> calls{0};
    ASSERT_EQ(port.setCountCallback(
                  [&] {
                      ++calls;
                      EXPECT_EQ(port.close(), 0);
                      EXPECT_FALSE(port.isOpen());
                      EXPECT_LT(port.inputQueueCount(), 0);
                  },
                  1),
              0);
    ASSERT_TRUE(pty.send(pattern(10)));
    ASSERT_TRUE(eventually([&] { return !port.isOpen(); }));
    ASSERT_EQ(port.open(pty.slavePath()), 0);  // the device was released
    EXPECT_EQ(calls, 1);
    // close() removed the callback.
    ASSERT_TRUE(pty.send(pattern(10)));
    EXPECT_EQ(readQueued(10), pattern(10));
    EXPECT_EQ(calls, 1);
}

// The box sends all the time while the port is opened and closed over and
// over with a callback installed; no call may come after close() returned.
TEST(SerialPortCallback, NeverRunsAfterCloseReturned) {
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    std::atomic<bool> stop{false};
    std::thread box([&] {
        const Bytes burst = pattern(97);
        while (!stop) {
            pollfd writable{pty.master(), POLLOUT, 0};
            if (poll(&writable, 1, 10) <= 0 ||
                ::write(pty.master(), burst.data(), burst.size()) <= 0) {
                // No slave open between rounds: do not spin.
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        }
    });

    SerialPort port;
    std::atomic<int> openRound{-1};  // the round whose close() has not returned yet
    std::atomic<int> lateCalls{0};
    std::atomic<int> calls{0};
    constexpr int kRounds = 200;
    for (int round = 0; round < kRounds; ++round) {
        ASSERT_EQ(port.open(pty.slavePath()), 0) << round;
        openRound = round;
        port.setCountCallback(
            [&, round] {
                if (openRound != round) {
                    ++lateCalls;
                }
                ++calls;
                std::uint8_t chunk[64];
                port.read(chunk, sizeof chunk);
            },
            1);
        if (round % 10 == 0) {
            const int before = calls;
            ASSERT_TRUE(eventually([&] { return calls > before; })) << round;
        }
        ASSERT_EQ(port.close(), 0);
        openRound = -1;
    }
    stop = true;
    box.join();
    EXPECT_EQ(lateCalls, 0);
    EXPECT_GT(calls, 0);
}

}  // namespace
}  // namespace sundrel::platform
