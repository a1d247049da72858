#include "platform/private_profile.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include "test_support/file_replacements.h"
#include "test_support/scratch_folder.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/gbk_text.h"

namespace sundrel::platform {
namespace {

namespace fs = std::filesystem;

class PrivateProfileTest : public ::testing::Test {
protected:
    void SetUp() override { path_ = (folder_ / "config.ini").string(); }
    void TearDown() override { chmod(folder_.c_str(), 0755); }

    void writeFile(const std::string& content) {
        std::ofstream(path_, std::ios::binary) << content;
    }
    std::string readFile() {
        std::ifstream in(path_, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::string read(const char* section, const char* key) {
        return readProfileString(section, key, "0", path_);
    }

    sundrel::testing::ScratchFolder scratch_;
    fs::path folder_ = scratch_.path();
    std::string path_;
};

TEST_F(PrivateProfileTest, MissingFileSectionOrKeyGivesTheDefault) {
    EXPECT_EQ(read("PORT_INFO", "nBaud"), "0");
    writeFile("[PORT_INFO]\nnBaud=9600\n");
    EXPECT_EQ(read("PORT_INFO", "nParity"), "0");
    EXPECT_EQ(read("OTHER", "nBaud"), "0");
    EXPECT_EQ(readProfileString("OTHER", "x", "fallback", path_), "fallback");
}

TEST_F(PrivateProfileTest, ReadsMatchWithoutCaseAndTrimValues) {
    writeFile(
        "; settings\r\n"
        "[port_info]\r\n"
        "  NBAUD =  115200  \r\n"
        "chParity=\"E\"\r\n"
        "nStopbits=\r\n"
        "[DEFAULT_PARA]\r\n"
        "nBaud=1\r\n");
    EXPECT_EQ(read("PORT_INFO", "nBaud"), "115200");
    EXPECT_EQ(read("PORT_INFO", "chparity"), "E");
    EXPECT_EQ(read("PORT_INFO", "nStopbits"), "");  // present but empty
    EXPECT_EQ(read("default_para", "NBAUD"), "1");
}

TEST_F(PrivateProfileTest, ValuesAreGbkOnDiskAndUtf8Here) {
    ASSERT_TRUE(writeProfileString("DEFAULT_PARA", "chLineName", "京沪线", path_));
    EXPECT_EQ(readFile(), "[DEFAULT_PARA]\nchLineName=" + utf8ToGbk("京沪线") + "\n");
    EXPECT_EQ(read("DEFAULT_PARA", "chLineName"), "京沪线");
}

TEST_F(PrivateProfileTest, LongValuesAreCutTo254BytesOnACharacterBoundary) {
    std::string value = "a";
    for (int i = 0; i < 200; ++i) {
        value += "线";
    }
    ASSERT_TRUE(writeProfileString("S", "k", value, path_));
    const std::string read = readProfileString("S", "k", "0", path_);
    EXPECT_EQ(utf8ToGbk(read).size(), 253u);  // "a" and 126 two-byte characters
    EXPECT_EQ(read, value.substr(0, 1 + 126 * 3));
}

TEST_F(PrivateProfileTest, AWriteReplacesInPlaceAndKeepsEverythingElse) {
    writeFile(
        "; written by hand\r\n"
        "[PORT_INFO]\r\n"
        "nPortLeft=3\r\n"
        "unknown=keep me\r\n"
        "\r\n"
        "[CALIBRATION_PARA]\r\n"
        "dEncoder=0.020000\r\n");
    ASSERT_TRUE(writeProfileString("port_info", "NPORTLEFT", "7", path_));
    ASSERT_TRUE(writeProfileString("PORT_INFO", "nBaud", "9600", path_));
    ASSERT_TRUE(writeProfileString("DEFAULT_PARA", "nColor", "210", path_));
    EXPECT_EQ(readFile(),
              "; written by hand\r\n"
              "[PORT_INFO]\r\n"
              "NPORTLEFT=7\r\n"
              "unknown=keep me\r\n"
              "nBaud=9600\r\n"
              "\r\n"
              "[CALIBRATION_PARA]\r\n"
              "dEncoder=0.020000\r\n"
              "[DEFAULT_PARA]\r\n"
              "nColor=210\r\n");
}

TEST_F(PrivateProfileTest, AFailedWriteLeavesTheOldFile) {
    if (geteuid() == 0) {
        // root writes into read-only folders; use a path that is a folder instead.
        fs::create_directories(folder_ / "taken.ini");
        EXPECT_FALSE(writeProfileString("S", "k", "v", (folder_ / "taken.ini").string()));
        EXPECT_TRUE(fs::is_directory(folder_ / "taken.ini"));
        return;
    }
    writeFile("[S]\nk=old\n");
    chmod(folder_.c_str(), 0555);  // no temporary file can be made beside it
    EXPECT_FALSE(writeProfileString("S", "k", "new", path_));
    chmod(folder_.c_str(), 0755);
    EXPECT_EQ(readFile(), "[S]\nk=old\n");
}

TEST_F(PrivateProfileTest, NoTemporaryFileIsLeftBehind) {
    ASSERT_TRUE(writeProfileString("S", "a", "1", path_));
    ASSERT_TRUE(writeProfileString("S", "b", "2", path_));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);
}

// A batch lands as one replacement of the file with the bytes the writes one
// after another give, whatever the file looked like before.
TEST_F(PrivateProfileTest, ABatchIsOneReplacementWithTheBytesOfSingleWrites) {
    const std::vector<ProfileEntry> entries = {
        {"PORT_INFO", "nPortLeft", "7"},
        {"PORT_INFO", "nBaud", "9600"},
        {"DEFAULT_PARA", "chLineName", "京沪线"},
        {"port_info", "NPORTLEFT", "8"},
        {"CALIBRATION_PARA", "dEncoder", "0.020000"},
    };
    const std::vector<std::string> before = {
        "",  // no file
        "[PORT_INFO]\nnPortLeft=3\n",
        "; by hand\r\n[PORT_INFO]\r\nnPortLeft=3\r\nunknown=keep\r\n\r\n[OTHER]\r\nx=1",
        "[DEFAULT_PARA]\nnColor=215",  // no line ending at the end
    };
    for (std::size_t i = 0; i < before.size(); ++i) {
        const std::string single = scratch_.file("single" + std::to_string(i) + ".ini");
        const std::string batch = scratch_.file("batch" + std::to_string(i) + ".ini");
        if (!before[i].empty()) {
            std::ofstream(single, std::ios::binary) << before[i];
            std::ofstream(batch, std::ios::binary) << before[i];
        }
        for (const ProfileEntry& e : entries) {
            ASSERT_TRUE(writeProfileString(e.section, e.key, e.value, single));
        }
        sundrel::testing::FileReplacements replacements(batch);
        ASSERT_TRUE(writeProfileStrings(entries, batch));
        EXPECT_EQ(replacements.count(), 1) << i;
        std::ifstream a(single, std::ios::binary);
        std::ifstream b(batch, std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(b), {}),
                  std::string(std::istreambuf_iterator<char>(a), {}))
            << i;
    }
}

}  // namespace
}  // namespace sundrel::platform
