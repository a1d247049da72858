#include "app/command_line.h"

#include <gtest/gtest.h>

namespace sundrel::app {
namespace {

ParsedCommandLine parse(const QString& line) {
    return parseCommandLine(line.split(QLatin1Char(' '), Qt::SkipEmptyParts));
}

TEST(CommandLine, ReadsARecordingAndTheScreenshotOptions) {
    const ParsedCommandLine parsed = parse(
        "run/T_left.raw --screenshot out.png --activity 1 --look 219 --tab E "
        "--range 1050.5,1120");
    ASSERT_EQ(parsed.error, "");
    const CommandLine& options = parsed.options;
    EXPECT_EQ(options.recording, "run/T_left.raw");
    EXPECT_EQ(options.screenshot, "out.png");
    EXPECT_EQ(options.activity, 1);
    EXPECT_EQ(options.look, 219);
    EXPECT_EQ(options.tab, QChar('E'));
    EXPECT_EQ(options.rangeFrom, 1050.5);
    EXPECT_EQ(options.rangeTo, 1120.0);

    const CommandLine plain = parse("").options;
    EXPECT_EQ(plain.recording, "");
    EXPECT_EQ(plain.activity, -1);
    EXPECT_FALSE(plain.tab.has_value());
    EXPECT_FALSE(plain.rangeFrom.has_value());
}

TEST(CommandLine, EveryTabLetterButB) {
    for (const char* letter : {"A", "C", "D", "E", "F", "G", "H", "I"}) {
        const ParsedCommandLine parsed = parse(QStringLiteral("--tab ") + letter);
        EXPECT_EQ(parsed.error, "") << letter;
        EXPECT_EQ(parsed.options.tab, QChar(letter[0])) << letter;
    }
    EXPECT_EQ(parse("--range -20,-10").options.rangeTo, -10.0);
}

TEST(CommandLine, RefusesWhatItCannotDo) {
    for (const char* line : {
             "--tab B",          // there is no tab B
             "--tab a",          // the labels' letters are capitals
             "--tab J",          //
             "--tab AC",         //
             "--tab",            // no value
             "--range 10",       // one number
             "--range 10,",      //
             "--range ,20",      //
             "--range 1,2,3",    //
             "--range 20,10",    // backwards
             "--range 5,5",      // empty
             "--range a,b",      //
             "--range nan,10",   //
             "--range 0,inf",    //
             "--range 1e999,2",  // not finite once read
             "--activity 3",     //
             "--look 1",         //
             "--screenshot",     //
             "--shot x.png",     // unknown option
             "a.raw b.raw",      // one recording
         }) {
        const ParsedCommandLine parsed = parse(line);
        EXPECT_NE(parsed.error, "") << line;
        EXPECT_FALSE(parsed.options.tab.has_value()) << line;  // nothing half-read is acted on
    }
    EXPECT_EQ(parse("--tab B").error, "bad value for --tab: 'B'");
    EXPECT_EQ(parse("--range 20,10").error, "bad value for --range: '20,10'");
}

}  // namespace
}  // namespace sundrel::app
