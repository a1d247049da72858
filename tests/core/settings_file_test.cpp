#include "core/settings_file.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include "test_support/file_replacements.h"
#include "test_support/scratch_folder.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>

#include "core/profile_helpers.h"
#include "platform/gbk_text.h"

namespace sundrel::core {
namespace {

namespace fs = std::filesystem;
using acquisition::StatusCode;

class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override { path_ = (folder_ / "config.ini").string(); }

    void writeFile(const std::string& content) {
        std::ofstream(path_, std::ios::binary) << content;
    }
    std::string readFile() {
        std::ifstream in(path_, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    static SettingsRecord sample() {
        SettingsRecord s{};
        s.nPortLeft = 3;
        s.nPortRight = 12;
        s.nBaud = 115200;
        s.chParity = 'E';
        s.nDatabits = 8;
        s.nStopbits = 1;
        s.nCollectionCommand = 85;
        s.nColor = 215;
        s.dEncoder = 0.0200124;
        for (int k = 0; k < 4; ++k) {
            s.leftEddy[k] = {0.000101 * (k + 1), 0.25 * k};
            s.rightEddy[k] = {-0.000099 * (k + 1), -0.5 * k};
        }
        std::strcpy(s.chFilePath, "/data/runs");
        std::strcpy(s.chLineName, "京沪线下行");
        std::strcpy(s.chStaffName, "张三");
        std::strcpy(s.chDepartment, "北京工务段");
        s.dTh30_100 = 0.12345678;
        s.dTh100_300 = 0.2;
        s.dTh300_1000 = 0.3;
        s.dTh1000_3000 = 1.0;
        s.nEncoder = 2000;
        s.dWheelDia = 150.5;
        return s;
    }

    sundrel::testing::ScratchFolder scratch_;
    fs::path folder_ = scratch_.path();
    std::string path_;
};

TEST_F(SettingsFileTest, NoFileIsAConfigurationErrorThatChangesNothing) {
    SettingsRecord settings = sample();
    EXPECT_EQ(loadSettings(settings, path_), StatusCode::ConfigurationFileError);
    EXPECT_EQ(
        std::memcmp(&settings, &static_cast<const SettingsRecord&>(sample()), sizeof settings), 0);
}

// A crew's file with a broken port line: the error is reported, but the
// calibration, thresholds and wheel are read, and a save keeps them.
TEST_F(SettingsFileTest, AZeroLeftPortIsAnErrorThatKeepsEverythingElse) {
    const std::string broken =
        "[PORT_INFO]\nnPortLeft=0\nnBaud=9600\n"
        "[DEFAULT_PARA]\ndTh30_100=0.2\ndWheelDia=150\n"
        "[CALIBRATION_PARA]\ndLeftEddy1Slope=0.0123\n";
    writeFile(broken);
    SettingsFile file(path_);
    SettingsRecord settings{};
    EXPECT_EQ(file.load(settings), StatusCode::ConfigurationFileError);
    EXPECT_EQ(std::int32_t{settings.nBaud}, 9600);
    EXPECT_EQ(double{settings.dTh30_100}, 0.2);
    EXPECT_EQ(double{settings.dWheelDia}, 150.0);
    EXPECT_EQ(double{settings.leftEddy[0].slope}, 0.0123);
    EXPECT_EQ(std::int32_t{settings.nPortLeft}, kDefaultPortLeft);
    EXPECT_EQ(std::int32_t{settings.nPortRight}, kDefaultPortRight);

    sundrel::testing::FileReplacements replacements(path_);
    ASSERT_TRUE(file.save(settings));
    EXPECT_EQ(replacements.count(), 1);  // one save, one replacement of the file
    EXPECT_EQ(readFile(),
              "[PORT_INFO]\nnPortLeft=1\nnBaud=9600\nnPortRight=2\n"
              "[DEFAULT_PARA]\ndTh30_100=0.200000\ndWheelDia=150.000000\n"
              "[CALIBRATION_PARA]\ndLeftEddy1Slope=0.012300\n");
    SettingsRecord again{};
    EXPECT_EQ(loadSettings(again, path_), StatusCode::Success);
    EXPECT_EQ(double{again.leftEddy[0].slope}, 0.0123);
}

// What a save writes of one key, by whether the file held it and whether
// the program changed it since the load.
TEST_F(SettingsFileTest, ASaveWritesOnlyKeysTheFileHeldOrTheProgramChanged) {
    struct Case {
        const char* name;
        bool inFile;
        bool changed;
        const char* written;  // the key's line after the save, or null for none
    };
    for (const Case& c : {Case{"held, unchanged", true, false, "dTh100_300=0.300000"},
                          Case{"held, changed", true, true, "dTh100_300=0.500000"},
                          Case{"missing, unchanged", false, false, nullptr},
                          Case{"missing, changed", false, true, "dTh100_300=0.500000"}}) {
        writeFile(std::string("[PORT_INFO]\nnPortLeft=3\n[DEFAULT_PARA]\n") +
                  (c.inFile ? "dTh100_300=0.3\n" : ""));
        SettingsFile file(path_);
        SettingsRecord settings{};
        ASSERT_EQ(file.load(settings), StatusCode::Success);
        if (c.changed) {
            settings.dTh100_300 = 0.5;
        }
        ASSERT_TRUE(file.save(settings));
        const std::string saved = readFile();
        if (c.written != nullptr) {
            EXPECT_NE(saved.find(std::string(c.written) + "\n"), std::string::npos) << c.name;
        } else {
            EXPECT_EQ(saved.find("dTh100_300"), std::string::npos) << c.name;
        }
        EXPECT_EQ(saved.find("dRightEddy"), std::string::npos) << c.name;
    }
}

// Texts are limited by their 254 GBK bytes in the file and the raw file
// headers, not by their UTF-8 length.
TEST_F(SettingsFileTest, ALineNameOf127ChineseCharactersRoundTrips) {
    std::string name;
    for (int i = 0; i < 127; ++i) {
        name += "线";
    }
    SettingsRecord settings = sample();
    copyText(settings.chLineName, sizeof settings.chLineName, name + "路");
    EXPECT_TRUE(settings.chLineName == name) << "the 128th does not fit";
    ASSERT_TRUE(saveSettings(settings, path_));
    EXPECT_NE(readFile().find("chLineName=" + platform::utf8ToGbk(name) + "\n"), std::string::npos);
    SettingsRecord loaded{};
    ASSERT_EQ(loadSettings(loaded, path_), StatusCode::Success);
    EXPECT_TRUE(loaded.chLineName == name);
    copyText(loaded.chLineName, sizeof loaded.chLineName, "a" + name);
    EXPECT_TRUE(loaded.chLineName == "a" + name.substr(0, 126 * 3)) << "cut between characters";
}

TEST_F(SettingsFileTest, SaveThenLoadGivesTheSavedKeysBack) {
    const SettingsRecord saved = sample();
    ASSERT_TRUE(saveSettings(saved, path_));
    SettingsRecord loaded{};
    ASSERT_EQ(loadSettings(loaded, path_), StatusCode::Success);
    EXPECT_EQ(std::int32_t{loaded.nPortLeft}, 3);
    EXPECT_EQ(std::int32_t{loaded.nPortRight}, 12);
    EXPECT_EQ(std::int32_t{loaded.nBaud}, 115200);
    EXPECT_EQ(loaded.chParity, 'E');
    EXPECT_EQ(std::int32_t{loaded.nCollectionCommand}, 85);
    EXPECT_EQ(std::int32_t{loaded.nColor}, 215);
    EXPECT_STREQ(loaded.chLineName, "京沪线下行");
    EXPECT_STREQ(loaded.chStaffName, "张三");
    EXPECT_STREQ(loaded.chDepartment, "北京工务段");
    EXPECT_STREQ(loaded.chFilePath, "/data/runs");
    EXPECT_EQ(double{loaded.dTh30_100}, 0.123457);  // six decimals survive a save
    EXPECT_EQ(double{loaded.dEncoder}, 0.020012);
    EXPECT_EQ(double{loaded.rightEddy[3].slope}, -0.000396);
    EXPECT_EQ(double{loaded.rightEddy[3].intercept}, -1.5);
    EXPECT_EQ(double{loaded.dWheelDia}, 150.5);
    EXPECT_EQ(std::int32_t{loaded.nEncoder}, 2000);
    // Loaded but never saved: missing keys read as 0.
    EXPECT_EQ(std::int32_t{loaded.nDataBytesTrigger}, 0);
    EXPECT_EQ(double{loaded.dYmax}, 0.0);
}

TEST_F(SettingsFileTest, AFreshFileHoldsTheSavedKeysInOrder) {
    SettingsRecord settings = sample();
    settings.dEncoder = 0.003;  // not above 0.003: not written
    ASSERT_TRUE(saveSettings(settings, path_));
    const std::string file = readFile();
    EXPECT_EQ(file.find("dEncoder"), std::string::npos);
    EXPECT_LT(file.find("[PORT_INFO]"), file.find("[DEFAULT_PARA]"));
    EXPECT_LT(file.find("[DEFAULT_PARA]"), file.find("[CALIBRATION_PARA]"));
    EXPECT_LT(file.find("nPortLeft=3"), file.find("nCollectionCommand=85"));
    EXPECT_NE(file.find("chParity=E\n"), std::string::npos);
    EXPECT_NE(file.find("dTh30_100=0.123457\n"), std::string::npos);
    EXPECT_NE(file.find("chLineName=" + platform::utf8ToGbk("京沪线下行") + "\n"),
              std::string::npos);
    EXPECT_LT(file.find("dLeftEddy1Slope=0.000101"), file.find("dLeftEddy1Intercept=0.000000"));
    EXPECT_LT(file.find("dLeftEddy4Intercept"), file.find("dRightEddy1Slope"));
    EXPECT_EQ(file.find("nDataBytesTrigger"), std::string::npos);
}

TEST_F(SettingsFileTest, HandEditedLinesSurviveASave) {
    writeFile(
        "; tuned on site\n"
        "[PORT_INFO]\n"
        "nPortLeft=5\n"
        "nDataBytesTrigger=1200\n"
        "vendorKey=42\n"
        "[DEFAULT_PARA]\n"
        "dYmax=0.5\n"
        "chLineName=\n");
    SettingsRecord settings{};
    ASSERT_EQ(loadSettings(settings, path_), StatusCode::Success);
    EXPECT_EQ(std::int32_t{settings.nDataBytesTrigger}, 1200);
    EXPECT_EQ(double{settings.dYmax}, 0.5);
    EXPECT_STREQ(settings.chLineName, "");       // present and empty
    EXPECT_EQ(std::int32_t{settings.nBaud}, 0);  // missing: left as it was
    EXPECT_EQ(settings.chParity, '\0');
    ASSERT_TRUE(saveSettings(settings, path_));
    const std::string file = readFile();
    EXPECT_EQ(file.rfind("; tuned on site\n[PORT_INFO]\nnPortLeft=5\nnDataBytesTrigger=1200\n"
                         "vendorKey=42\n",
                         0),
              0u);
    EXPECT_NE(file.find("dYmax=0.5\n"), std::string::npos);
}

TEST(ProfileHelpers, EmptyPathReadsAndWritesNothing) {
    std::int32_t value = 7;
    EXPECT_EQ(readInt("S", "k", &value, ""), -1);
    EXPECT_EQ(value, 7);
    EXPECT_EQ(writeDouble("S", "k", 1.0, ""), -1);
}

TEST(ProfileHelpers, NumbersTakeTheirLeadingPart) {
    struct IntCase {
        const char* text;
        std::int32_t value;
    };
    for (const IntCase c : {IntCase{"12abc", 12}, IntCase{"abc", 0}, IntCase{" -7", -7},
                            IntCase{"+3", 3}, IntCase{"", 0}, IntCase{"1.9", 1},
                            IntCase{"99999999999", std::numeric_limits<std::int32_t>::max()}}) {
        EXPECT_EQ(leadingInt(c.text), c.value) << c.text;
    }
    EXPECT_EQ(leadingDouble("0.125mm"), 0.125);
    EXPECT_EQ(leadingDouble("x1"), 0.0);
    EXPECT_EQ(leadingDouble(" -2.5e-3"), -0.0025);
    EXPECT_EQ(formatSixDecimals(0.1234566), "0.123457");
    EXPECT_EQ(formatSixDecimals(-1.5), "-1.500000");
}

TEST(SettingsRecord, EncoderAndCalibrationCopyAsOneBlock) {
    SettingsRecord settings{};
    settings.dEncoder = 0.02;
    settings.rightEddy[3].intercept = 4.5;
    auto header = acquisition::makeRawFileHeader();
    copyEncoderAndCalibration(settings, header);
    EXPECT_EQ(double{header.dEncoder}, 0.02);
    EXPECT_EQ(double{header.rightEddy[3].intercept}, 4.5);
}

}  // namespace
}  // namespace sundrel::core
