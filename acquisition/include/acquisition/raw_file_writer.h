#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

#include "acquisition/status_code.h"

namespace sundrel::acquisition {

// The open stream of one channel's raw data file. Every block is flushed as
// soon as it is written, so the file on disk is complete up to the last block.
class RawFileWriter {
public:
    RawFileWriter() = default;
    ~RawFileWriter() { close(); }
    RawFileWriter(const RawFileWriter&) = delete;
    RawFileWriter& operator=(const RawFileWriter&) = delete;

    // Opens `path` with a stdio mode (the channel passes "wb+"). OpenFileError
    // when it cannot be opened. An open writer closes its old stream first.
    StatusCode open(const std::string& path, const char* mode);

    // Writes the bytes as one block and flushes them to the operating system.
    // WriteFileError when no file is open, or when the block did not reach the
    // file whole (full disk, removed medium): a lost block is never reported
    // as written.
    StatusCode writeBlock(const void* bytes, std::size_t count);

    // Asks the operating system to put what was written on the disk itself,
    // so that a power cut loses nothing written before. False when it could
    // not (no file, or the medium failed).
    bool sync();

    // Closes the stream; closing a closed writer does nothing.
    void close();

    bool isOpen() const { return stream_ != nullptr; }
    const std::string& path() const { return path_; }

private:
    std::FILE* stream_ = nullptr;
    std::string path_;
};

}  // namespace sundrel::acquisition
