#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace sundrel::analysis {

// The other rail's file of a recording. The acquisition names the two files
// of a run "<time stamp>_left.raw" and "<time stamp>_right.raw" in one folder,
// so only the file name counts, never its folders: the word between the
// name's first "_" and first "." decides; "left" swaps every "left" of the
// name for "right" and "right" every "right" for "left"; any other word
// gives the path itself.
std::string counterpartPath(const std::string& path);

// Whether the file name (the part after the last "/") has a "_", which every
// recording's name has.
bool isRecordingName(const std::string& path);

// The files an analysis of `chosen` reads, chosen file first. `other` is the
// counterpart when it exists as a regular file and is not the chosen file
// itself (also not through another spelling of its path); otherwise empty,
// and `missingOther` holds the counterpart path looked for.
struct RailFiles {
    std::string chosen;
    std::optional<std::string> other;
    std::string missingOther;
};
RailFiles railFiles(const std::string& chosen);

// The status text when the other rail's file was not found: names the path
// looked for unless that is the chosen file itself.
std::string otherRailMissingText(const RailFiles& files);

// Peak-to-peak limits of the four bands, mm, in band order.
using Thresholds = std::array<double, 4>;

// The texts of the four threshold edits, read as their leading number and
// each required to lie in 0.001..1. On failure, the index of the first band
// out of range.
struct ThresholdCheck {
    Thresholds values{};
    std::optional<std::size_t> rejectedBand;
};
ThresholdCheck checkThresholds(const std::array<std::string, 4>& texts);

// "30-100mm波段阈值设置不合理！" and its siblings, by band index.
const char* thresholdRejectionText(std::size_t band);

// "%dkm+%dm--->%dkm+%dm" of two positions in metres, each part truncated
// toward zero.
std::string kilometreRangeText(double startMetres, double endMetres);

// "前进" for a forward run, else "后退".
const char* directionText(bool forward);

// A section fails a band when more than this share of it exceeds the band's
// limit, percent; its cells are highlighted in the detailed report and the
// workbook in kFailingSectionColour (0xRRGGBB, light red).
constexpr double kFailingExceedRatio = 5.0;
constexpr std::uint32_t kFailingSectionColour = 0xFFC7CE;

// Band names as the tables show them: "30-100mm" ... "1000-3000mm".
const char* bandName(std::size_t band);

// "<band name>【阈值:%.3fmm】".
std::string bandThresholdHeader(std::size_t band, double threshold);

}  // namespace sundrel::analysis
