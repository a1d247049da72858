#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "acquisition/raw_file_header.h"
#include "test_support/scratch_folder.h"

namespace kestova::testing {

using sundrel::testing::ScratchFolder;

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
