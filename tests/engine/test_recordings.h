#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "acquisition/raw_file_header.h"

namespace kestova::testing {

// A scratch folder removed with the object.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// A file's parts, written as given: header, stream, optional trailer.
struct RawFileParts {
    sundrel::acquisition::RawFileHeader header = sundrel::acquisition::makeRawFileHeader();
    std::vector<std::uint8_t> stream;
    bool withTrailer = false;
    double endPosition = 0;
};

void writeRawFile(const std::string& path, const RawFileParts& parts);

// n normally distributed values (mean 0, deviation 1), the same for the same n.
std::vector<double> randomRecord(std::size_t n);

// `count` frames of one side whose four words are all `word`.
std::vector<std::uint8_t> repeatedFrames(int side, std::size_t count, std::uint16_t word);

}  // namespace kestova::testing
