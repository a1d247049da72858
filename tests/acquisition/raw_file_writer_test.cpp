#include "acquisition/raw_file_writer.h"

#include <gtest/gtest.h>

#include "test_support/scratch_folder.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "acquisition/raw_file_header.h"

namespace sundrel::acquisition {
namespace {

namespace fs = std::filesystem;

class RawFileWriterTest : public ::testing::Test {
protected:
    std::vector<unsigned char> contents(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    sundrel::testing::ScratchFolder scratch_;
    fs::path folder_ = scratch_.path();
};

TEST_F(RawFileWriterTest, ARunIsHeaderStreamAndTrailer) {
    RawFileHeader record = makeRawFileHeader();
    record.line.side = 2;
    record.position = 100.0;
    const fs::path path = folder_ / "run_right.raw";

    RawFileWriter writer;
    ASSERT_EQ(writer.open(path.string(), "wb+"), StatusCode::Success);
    ASSERT_EQ(writer.writeBlock(&record, sizeof record), StatusCode::Success);
    const std::vector<unsigned char> batch(300, 0xFD);
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(writer.writeBlock(batch.data(), batch.size()), StatusCode::Success);
        record.dataByteCount += static_cast<std::uint32_t>(batch.size());
        // Flushed at once: the file on disk is complete up to this batch.
        EXPECT_EQ(fs::file_size(path), 1710u + 300u * static_cast<unsigned>(i + 1));
    }
    record.position = 250.0;
    ASSERT_EQ(writer.writeBlock(&record, sizeof record), StatusCode::Success);
    writer.close();

    const auto bytes = contents(path);
    ASSERT_EQ(bytes.size(), 1710u + 900u + 1710u);
    RawFileHeader leading;
    RawFileHeader trailer;
    std::memcpy(&leading, bytes.data(), sizeof leading);
    std::memcpy(&trailer, bytes.data() + bytes.size() - 1710, sizeof trailer);
    EXPECT_EQ(std::uint32_t{leading.dataByteCount}, 0u);  // packed: compare copies
    EXPECT_EQ(double{leading.position}, 100.0);
    EXPECT_EQ(std::uint32_t{trailer.dataByteCount}, 900u);
    EXPECT_EQ(double{trailer.position}, 250.0);
    EXPECT_EQ(bytes[bytes.size() - 1710], 0xCD);
    EXPECT_EQ(bytes[bytes.size() - 1709], 0xAB);
}

TEST_F(RawFileWriterTest, FailuresAreReported) {
    RawFileWriter writer;
    const char byte = 1;
    EXPECT_EQ(writer.writeBlock(&byte, 1), StatusCode::WriteFileError);  // nothing open
    EXPECT_EQ(writer.open((folder_ / "missing" / "a.raw").string(), "wb+"),
              StatusCode::OpenFileError);
    EXPECT_FALSE(writer.isOpen());
    writer.close();  // closing a closed writer does nothing
    writer.close();
}

TEST_F(RawFileWriterTest, ABlockThatDoesNotReachTheDiskIsAnError) {
    if (!fs::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full here";
    }
    RawFileWriter writer;
    ASSERT_EQ(writer.open("/dev/full", "wb"), StatusCode::Success);
    const std::vector<char> block(4096, 'x');
    EXPECT_EQ(writer.writeBlock(block.data(), block.size()), StatusCode::WriteFileError);
}

}  // namespace
}  // namespace sundrel::acquisition
