#include "peak_evaluation.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "kestova/km_post.h"

namespace kestova {
namespace {

bool exceeds(double value, double limit) {
    return std::fabs(value) > limit / 2;
}

void setText(char (&field)[KESTOVA_TEXT_SIZE], const std::string& text) {
    std::memset(field, 0, sizeof field);
    std::memcpy(field, text.data(), std::min(text.size(), sizeof field - 1));
}

// Converts a non-negative quotient to a count, with NaN and overflow as 0:
// a record whose positions are not finite is one section.
std::size_t wholeCount(double value) {
    if (!(value >= 0.0) || value >= 9.0e15) {
        return 0;
    }
    return static_cast<std::size_t>(std::trunc(value));
}

}  // namespace

double exceedRatio(std::span<const double> band, double limit) {
    if (band.empty()) {
        return 0.0;
    }
    const auto over = std::count_if(band.begin(), band.end(),
                                    [limit](double value) { return exceeds(value, limit); });
    return 100.0 * static_cast<double>(over) / static_cast<double>(band.size());
}

RunResult evaluateRun(std::span<const double> x, std::span<const double> positions, double limit) {
    RunResult result;
    const std::size_t count = x.size();
    if (count == 0) {
        return result;
    }
    std::vector<std::size_t> over;
    for (std::size_t i = 0; i < count; ++i) {
        if (exceeds(x[i], limit)) {
            over.push_back(i);
        }
    }
    const std::size_t runs = over.size();
    result.ratio = 100.0 * static_cast<double>(runs) / static_cast<double>(count);
    if (runs < 2) {
        return result;
    }

    // Split into runs at gaps wider than 1 m; the last exceeding sample always
    // joins the run open when it is reached. The widest run wins, the earliest
    // of equals.
    auto position = [&](std::size_t k) { return positions[over[k]]; };
    std::size_t open = 0;
    std::size_t bestFirst = 0;
    std::size_t bestLast = 0;
    double bestSpan = -1.0;
    auto close = [&](std::size_t first, std::size_t last) {
        const double span = std::fabs(position(last) - position(first));
        if (span > bestSpan) {
            bestSpan = span;
            bestFirst = first;
            bestLast = last;
        }
    };
    for (std::size_t k = 1; k < runs; ++k) {
        if (k == runs - 1) {
            close(open, k);
        } else if (std::fabs(position(k) - position(k - 1)) > kRunGapM) {
            close(open, k - 1);
            open = k;
        }
    }
    if (bestFirst == bestLast) {
        return result;
    }

    double highest = -100.0;
    double lowest = 100.0;
    for (std::size_t k = bestFirst; k <= bestLast; ++k) {
        highest = std::max(highest, x[over[k]]);
        lowest = std::min(lowest, x[over[k]]);
    }
    if (highest != lowest) {
        result.peakToPeak = highest - lowest;
    }
    if (highest > 0 && lowest > 0) {
        result.peakToPeak = 2 * highest;
    }
    if (highest <= 0 && lowest <= 0) {
        result.peakToPeak = 2 * std::fabs(lowest);
    }

    // The last section sample at the run's first and last positions.
    auto lastAt = [&](double where) {
        std::size_t found = 0;
        for (std::size_t i = 0; i < count; ++i) {
            if (std::fabs(positions[i] - where) < kPositionMatchM) {
                found = i;
            }
        }
        return found;
    };
    result.runStart = lastAt(position(bestFirst));
    result.runEnd = lastAt(position(bestLast));
    return result;
}

std::vector<SectionRecord> evaluateSections(
    std::span<const double> distances, const std::array<std::span<const double>, kBandCount>& bands,
    std::int32_t side, const std::array<double, kBandCount>& limits) {
    std::vector<SectionRecord> records;
    const std::size_t n = distances.size();
    if (n == 0) {
        return records;
    }
    const double length = std::fabs(distances[n - 1] - distances[0]);
    std::size_t sections = wholeCount(length / kSectionLengthM);
    const std::size_t perSection =
        length > 0 ? wholeCount(static_cast<double>(n - 1) / length * kSectionLengthM) : 0;
    // Whole sections need at least one sample each; km marks far apart for
    // the samples recorded (or absurd ones) leave the record in one piece.
    if (perSection == 0 || sections > kMaxSections) {
        sections = 0;
    }
    // sections * perSection <= n - 1 by construction; the guard keeps it so
    // against rounding.
    while (sections > 0 && sections * perSection > n - 1) {
        --sections;
    }

    records.resize(sections + 1);
    for (std::size_t s = 0; s <= sections; ++s) {
        const std::size_t first = s * perSection;
        const std::size_t end = s < sections ? first + perSection : n;  // one past the last
        const std::size_t rangeEnd = s < sections ? end : n - 1;
        SectionRecord& record = records[s];
        std::memset(&record, 0, sizeof record);
        setText(record.range,
                rangeText(wholeMetre(distances[first]), wholeMetre(distances[rangeEnd])));
        record.side = side;
        const auto positions = distances.subspan(first, end - first);
        for (std::size_t b = 0; b < kBandCount; ++b) {
            const RunResult run =
                evaluateRun(bands[b].subspan(first, end - first), positions, limits[b]);
            BandResult& result = record.bands[b];
            result.ratio = static_cast<float>(run.ratio);
            result.peakToPeak = static_cast<float>(run.peakToPeak);
            std::string text = "-";
            if (run.ratio != 0 && run.peakToPeak != 0) {
                const int from = wholeMetre(distances[first + run.runStart]);
                const int to = wholeMetre(distances[first + run.runEnd]);
                text = from == to ? positionText(from) : rangeText(from, to);
            }
            setText(result.position, text);
        }
    }
    return records;
}

}  // namespace kestova
