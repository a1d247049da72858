#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/serial_line_codes.h"

namespace sundrel::platform {

// One open serial port (a tty device: a USB adapter, a UART or the slave side
// of a pseudo-terminal) carrying raw 8-bit bytes unchanged in both directions.
//
// While the port is open, a reader thread of the port moves every arriving
// byte into a queue of the port, so nothing is lost however long the program
// does not read (a paused recording). read() and inputQueueCount() work on
// that queue. When the device goes away (the box is unplugged, the other side
// of a pseudo-terminal closes) the reader drains what the device still held
// and stops; the queued bytes can still be read, and then inputQueueCount()
// turns negative.
//
// Threads: open(), close(), the setters, flush() and write() belong to the
// thread that owns the port. The count callback runs on the reader thread
// and may call read(), inputQueueCount(), write(), setCountCallback() and
// close() of its own port; it must not wait for the owning thread, since
// close() waits for a callback under way (and a close() from the callback
// waits for a write() under way). The port must not be destroyed from its
// own callback.
class SerialPort {
public:
    // Flow control modes of setFlowControl(); the bits may be combined.
    static constexpr int kFlowNone = 0x00;
    static constexpr int kFlowRtsCts = 0x01;   // hardware handshake on RTS/CTS
    static constexpr int kFlowXonXoff = 0x02;  // XON/XOFF bytes in both directions

    // Bytes kept queued at most when the program does not read; more
    // arriving bytes are dropped and counted (droppedByteCount()).
    // 256 MiB is about six hours of a box at 115200 bit/s.
    static constexpr std::size_t kDefaultQueueCapacity = std::size_t{256} << 20;

    // queueCapacity: bytes, 1 .. 2^31 - 1 (larger values are cut to that).
    explicit SerialPort(std::size_t queueCapacity = kDefaultQueueCapacity);
    ~SerialPort();  // closes the port
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;
    SerialPort(SerialPort&&) = delete;
    SerialPort& operator=(SerialPort&&) = delete;

    // Opens the device for exclusive use, raw, 9600 bit/s 8N1, no flow
    // control, and starts the reader thread. 0 on success, else an errno
    // value: ENOENT missing device, EBUSY in use (by this or another process,
    // or this port is already open), ENOTTY not a terminal.
    int open(const std::string& devicePath);

    // Stops and joins the reader thread, removes the count callback, drops
    // the queued bytes and closes the device. After it returns the callback
    // is not called again (called from the callback: once that returns).
    // 0; calling it on a closed port does nothing.
    int close();

    // From a successful open() until close(), also after the device went away.
    bool isOpen() const;

    // Speed and character frame: baudCode one of kBaudCode*, modeWord data
    // bits | stop bits | parity (kMode*). 0, or EINVAL for an unknown baud
    // code or mode bits, EBADF when not open, an errno value of tcsetattr.
    int setLineParameters(int baudCode, int modeWord);

    // kFlowNone (the program's 0), kFlowRtsCts, kFlowXonXoff. 0, EINVAL for
    // unknown bits, EBADF when not open.
    int setFlowControl(int mode);

    // ms >= 0: how long read() waits for a first byte when none is queued;
    // 0 (the default) returns at once. 0, or EINVAL for a negative value.
    int setReadTimeout(int ms);

    // ms >= 0: how long write() waits for the device to take more bytes;
    // 0 (the default) waits as long as needed. 0, or EINVAL for a negative value.
    int setWriteTimeout(int ms);

    // directions: 0 input, 1 output, 2 both. Input discards the queued bytes
    // and what the device holds unread; output discards what was written and
    // not yet sent. Bytes arriving while it runs may go either way.
    void flush(int directions);

    // Writes all `count` bytes. The count written (less than `count` only
    // when the write timeout ran out), or negative when the port is not open
    // or the device failed or went away.
    int write(const void* bytes, std::size_t count);

    // Bytes queued for read(); negative when the port is not open, or when
    // the device went away and every queued byte has been read.
    int inputQueueCount();

    // Copies up to `capacity` queued bytes, oldest first, and removes them
    // from the queue. Waits for a first byte only as setReadTimeout() says.
    // The count copied (0 when none), or negative when the port is not open.
    int read(void* buffer, std::size_t capacity);

    // Moves into the queue, on the calling thread, every byte the device
    // holds that the reader thread has not taken yet (a busy machine can
    // leave it behind), so that a final drain before close() misses nothing.
    // The bytes it moved; negative when the port is not open.
    int collectPending();

    // Calls `callback` on the reader thread whenever bytes arrived and at
    // least `count` (bytes, >= 1) are queued, and again after it returns
    // while it took bytes and at least `count` are still queued. nullptr
    // removes it. Bytes queued before the callback is set do not call it
    // until more arrive. The callback must not throw. Called from another
    // thread, it returns when the previous callback is no longer running, and
    // that one is not called again. 0, or EINVAL for a callback with count 0.
    int setCountCallback(std::function<void()> callback, std::size_t count);

    // True once the device went away (hang-up, I/O error, unplugged); reset by open().
    bool deviceLost() const;

    // Bytes dropped because the queue was full, since open().
    std::uint64_t droppedByteCount() const;

    // The path given to the last successful open(); empty before.
    std::string devicePath() const;

private:
    class Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace sundrel::platform
