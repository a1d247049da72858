#include "boxsim/host_command_parser.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace {

using sundrel::boxsim::HostCommand;
using sundrel::boxsim::HostCommandParser;
using Bytes = std::vector<std::uint8_t>;

constexpr HostCommand kCalibration{HostCommand::Kind::Calibration, 0};

HostCommand start(int pulses) {
    return {HostCommand::Kind::Start, pulses};
}

struct ParseCase {
    std::string name;
    std::vector<Bytes> reads;  // as they arrive from the line
    std::vector<HostCommand> expected;
};

void PrintTo(const ParseCase& c, std::ostream* out) {
    *out << c.name;
}

class HostCommandParserTest : public testing::TestWithParam<ParseCase> {};

TEST_P(HostCommandParserTest, FindsTheCommandsOfTheReads) {
    HostCommandParser parser;
    std::vector<HostCommand> found;
    for (const Bytes& read : GetParam().reads) {
        for (const HostCommand& command : parser.feed(read.data(), read.size())) {
            found.push_back(command);
        }
    }
    ASSERT_EQ(found.size(), GetParam().expected.size());
    for (std::size_t n = 0; n < found.size(); ++n) {
        EXPECT_EQ(found[n].kind, GetParam().expected[n].kind) << "command " << n;
        EXPECT_EQ(found[n].pulsesPerFrame, GetParam().expected[n].pulsesPerFrame)
            << "command " << n;
    }
}

INSTANTIATE_TEST_SUITE_P(
    BoxCommands, HostCommandParserTest,
    testing::Values(
        ParseCase{"StartGivesPulsesPerFrame", {{0xFA, 0xFA, 0x50, 0x44}}, {start(80)}},
        ParseCase{"StartWithSmallP", {{0xFA, 0xFA, 0x05, 0xF9}}, {start(5)}},
        ParseCase{"CalibrationRequest", {{0xFF, 0xFF, 0x0D, 0x0C}}, {kCalibration}},
        ParseCase{"SplitIntoSingleBytes", {{0xFA}, {0xFA}, {0x50}, {0x44}}, {start(80)}},
        ParseCase{"SplitAcrossTwoCommands",
                  {{0xFF, 0xFF, 0x0D}, {0x0C, 0xFA, 0xFA}, {0x50, 0x44}},
                  {kCalibration, start(80)}},
        ParseCase{"GarbageAroundAndBetween",
                  {{0x00, 0x13, 0xFA, 0x0D, 0xFA, 0xFA, 0x50, 0x44, 0x7E, 0xFF, 0x0D, 0xFF, 0xFF,
                    0x0D, 0x0C, 0x55}},
                  {start(80), kCalibration}},
        ParseCase{"ExtraLeadingSyncBytes", {{0xFA, 0xFA, 0xFA, 0x50, 0x44}}, {start(80)}},
        ParseCase{"ExtraLeadingRequestByte", {{0xFF, 0xFF, 0xFF, 0x0D, 0x0C}}, {kCalibration}},
        ParseCase{"WrongCheckByteIsNoCommand",
                  {{0xFA, 0xFA, 0x50, 0x45, 0xFA, 0xFA, 0x28, 0x1C}},
                  {start(40)}},
        ParseCase{"ZeroPulsesIsNoCommand", {{0xFA, 0xFA, 0x00, 0xF4}}, {}},
        ParseCase{"BrokenRequestIsNoCommand", {{0xFF, 0xFF, 0x0D, 0x0D, 0xFF, 0xFF, 0x0C}}, {}}),
    [](const testing::TestParamInfo<ParseCase>& c) { return c.param.name; });

TEST(BoxHostCommandParser, ResetForgetsAPartialCommand) {
    HostCommandParser parser;
    const Bytes head = {0xFA, 0xFA, 0x50};
    const Bytes tail = {0x44};
    EXPECT_TRUE(parser.feed(head.data(), head.size()).empty());
    parser.reset();
    EXPECT_TRUE(parser.feed(tail.data(), tail.size()).empty());
}

}  // namespace
