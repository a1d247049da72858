#include "acquisition/raw_file_writer.h"

#include <unistd.h>

namespace sundrel::acquisition {

StatusCode RawFileWriter::open(const std::string& path, const char* mode) {
    close();
    path_ = path;
    stream_ = std::fopen(path.c_str(), mode);
    return stream_ ? StatusCode::Success : StatusCode::OpenFileError;
}

StatusCode RawFileWriter::writeBlock(const void* bytes, std::size_t count) {
    if (!stream_) {
        return StatusCode::WriteFileError;
    }
    const std::size_t written = count == 0 ? 0 : std::fwrite(bytes, 1, count, stream_);
    const bool flushed = std::fflush(stream_) == 0;
    return written == count && flushed ? StatusCode::Success : StatusCode::WriteFileError;
}

bool RawFileWriter::sync() {
    return stream_ != nullptr && std::fflush(stream_) == 0 && ::fsync(fileno(stream_)) == 0;
}

void RawFileWriter::close() {
    if (stream_) {
        std::fclose(stream_);
        stream_ = nullptr;
    }
}

}  // namespace sundrel::acquisition
