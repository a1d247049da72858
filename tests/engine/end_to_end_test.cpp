// Whole analyses of synthetic recordings: the rail the synthesiser laid down
// must come back out of the library.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "kestova/kestova.h"
#include "recording_host.h"
#include "synth/recording_synth.h"
#include "test_support/test_recordings.h"

namespace kestova {
namespace {

using sundrel::synth::RecordingPlan;
using sundrel::synth::SurfaceModel;
using testing::RecordingHost;
using testing::ScratchFolder;

double peakIn(const std::vector<double>& x, std::size_t from, std::size_t to) {
    double peak = 0;
    for (std::size_t i = from; i < to; ++i) {
        peak = std::max(peak, std::fabs(x[i]));
    }
    return peak;
}

class EndToEnd : public ::testing::Test {
protected:
    ScratchFolder folder;
    RecordingPlan plan;

    void SetUp() override {
        plan.lengthM = 180.0;  // whole periods of every wavelength used below
        plan.startPositionM = 12345.0;
        plan.startTime = "20261210223000";
        plan.left.corrugations = {{60.0, 0.05}};
        plan.right.corrugations = {{500.0, 0.08}};
    }

    std::unique_ptr<RecordingHost> analyse(const std::string& path, double limit = 0.1) {
        auto host = std::make_unique<RecordingHost>();
        EXPECT_EQ(Analyse(path.c_str(), limit, limit, limit, limit), KESTOVA_OK);
        return host;
    }
};

TEST_F(EndToEnd, TheProfileIsTheRailWhateverTheDeviceDoes) {
    plan.bounceMm = 1.0;      // +-1 mm
    plan.pitchMradian = 2.0;  // +-1.4 mm at sensor 1#, within every sensor's range
    const auto pair = sundrel::synth::writeRecordingPair(plan, folder.path().string());
    for (int side : {1, 2}) {
        const auto host = analyse(side == 1 ? pair.leftPath : pair.rightPath);
        const auto& profile = host->withCode(KESTOVA_CODE_PROFILE);
        EXPECT_EQ(profile.lparam, side);
        ASSERT_EQ(profile.count, 9000u);
        const SurfaceModel rail(side == 1 ? plan.left : plan.right, 0);
        for (std::size_t i = 0; i < profile.count; ++i) {
            ASSERT_NEAR(profile.data[i], rail.heightMm(static_cast<double>(i) * 0.02), 2e-3)
                << "side " << side << " sample " << i;
        }
    }
}

TEST_F(EndToEnd, EachCorrugationLandsInItsBand) {
    const auto pair = sundrel::synth::writeRecordingPair(plan, folder.path().string());
    const auto left = analyse(pair.leftPath);
    const auto right = analyse(pair.rightPath);
    // Away from the unfiltered ends.
    auto bandPeak = [](const std::unique_ptr<RecordingHost>& host, int code) {
        const auto& band = host->withCode(static_cast<uintptr_t>(code)).data;
        return peakIn(band, 1000, band.size() - 1000);
    };
    // Samples every 20 mm meet a 60 mm wave at most at sin(120 deg) of its crest.
    EXPECT_NEAR(bandPeak(left, 14), 0.05 * 0.866, 0.003);  // 60 mm in 30-100 mm
    EXPECT_LT(bandPeak(left, 15), 0.002);
    EXPECT_LT(bandPeak(left, 16), 0.002);
    EXPECT_LT(bandPeak(left, 17), 0.002);
    EXPECT_NEAR(bandPeak(right, 16), 0.08, 0.007);  // 500 mm in 300-1000 mm
    EXPECT_LT(bandPeak(right, 14), 0.002);
    EXPECT_LT(bandPeak(right, 15), 0.003);
    EXPECT_LT(bandPeak(right, 17), 0.002);
}

TEST_F(EndToEnd, SectionsReportTheExceedingCorrugation) {
    plan.lengthM = 240.0;
    const auto pair = sundrel::synth::writeRecordingPair(plan, folder.path().string());
    // Limit 0.08 mm: the 0.1 mm peak-to-peak 60 mm corrugation exceeds.
    const auto host = analyse(pair.leftPath, 0.08);
    const auto& info = host->withCode(KESTOVA_CODE_FILE_INFO).info;
    EXPECT_STREQ(info.startTime, "20261210223000");
    EXPECT_EQ(double{info.startPosition}, 12345.0);  // packed: compare copies
    EXPECT_EQ(double{info.endPosition}, 12585.0);

    const auto& ratios = host->withCode(KESTOVA_CODE_EXCEED_RATIOS).data;
    EXPECT_GT(ratios[0], 50.0);
    EXPECT_EQ(ratios[1], 0.0);
    EXPECT_EQ(ratios[3], 0.0);

    const auto& sections = host->withCode(KESTOVA_CODE_SECTIONS).sections;
    ASSERT_EQ(sections.size(), 3u);
    EXPECT_STREQ(sections[0].range, "12+345-->12+445");
    EXPECT_STREQ(sections[1].range, "12+445-->12+545");
    EXPECT_STREQ(sections[2].range, "12+545-->12+585");
    const BandResult& band1 = sections[1].bands[0];
    // The run crosses zero: from the highest to the lowest sampled value.
    EXPECT_NEAR(band1.peakToPeak, 2 * 0.05 * 0.866, 0.006);
    EXPECT_STREQ(band1.position, "12+445-->12+545");  // one run through the section
    EXPECT_STREQ(sections[1].bands[1].position, "-");
}

TEST_F(EndToEnd, SpikesDoNotReachTheProfile) {
    plan.left.corrugations.clear();
    plan.left.spikes = 40;
    plan.left.spikeHeightMm = 2.0;
    plan.left.roughnessMm = 0.0;
    const auto pair = sundrel::synth::writeRecordingPair(plan, folder.path().string());
    const auto host = analyse(pair.leftPath);
    const auto& profile = host->withCode(KESTOVA_CODE_PROFILE).data;
    // The first and last 40 samples are never filtered; a spike there stays.
    EXPECT_LT(peakIn(profile, 500, profile.size() - 500), 1e-3);
}

double peakToPeak(const std::vector<double>& x, std::size_t from, std::size_t to) {
    const auto [low, high] = std::minmax_element(x.begin() + static_cast<std::ptrdiff_t>(from),
                                                 x.begin() + static_cast<std::ptrdiff_t>(to));
    return *high - *low;
}

// Corrugation keeps its height through the whole analysis whatever its
// amplitude, and puts nothing into the other bands: severe corrugation swings
// the chord far beyond the spike filter's 0.1 mm. Wavelengths where the chord
// responds with at least 0.2; the other bands are checked only for
// wavelengths the band kernels do not share between two bands.
TEST_F(EndToEnd, CorrugationOfAnyAmplitudeKeepsItsHeightAndItsBand) {
    struct Case {
        double wavelengthMm;
        int band;  // code of its band, or 0: on a band edge, not checked
    };
    const Case cases[] = {{50, 14},  {60, 14},  {75, 14},  {100, 0},   {150, 15},
                          {200, 15}, {250, 15}, {300, 0},  {400, 0},   {500, 16},
                          {600, 16}, {750, 0},  {1000, 0}, {1500, 17}, {2000, 17}};
    plan.lengthM = 60.0;  // whole periods of every wavelength
    plan.right.corrugations.clear();
    for (const Case& c : cases) {
        for (double amplitude : {0.05, 0.1, 0.2, 0.3, 0.5, 1.0}) {
            plan.left.corrugations = {{c.wavelengthMm, amplitude}};
            const auto pair = sundrel::synth::writeRecordingPair(plan, folder.path().string());
            const auto host = analyse(pair.leftPath);
            const auto& profile = host->withCode(KESTOVA_CODE_PROFILE).data;
            ASSERT_EQ(profile.size(), 3000u);
            // Away from the ends, where the bands are zero or partly filtered.
            const std::size_t from = 1000;
            const std::size_t to = profile.size() - 1000;
            std::vector<double> rail(profile.size());
            const SurfaceModel surface(plan.left, 0);
            for (std::size_t i = 0; i < rail.size(); ++i) {
                rail[i] = surface.heightMm(static_cast<double>(i) * 0.02);
            }
            const double truth = peakToPeak(rail, from, to);
            EXPECT_NEAR(peakToPeak(profile, from, to), truth, 0.02 * truth)
                << c.wavelengthMm << " mm, amplitude " << amplitude;
            if (c.band == 0) {
                continue;
            }
            for (int code = KESTOVA_CODE_BAND_30_100; code <= KESTOVA_CODE_BAND_1000_3000; ++code) {
                if (code != c.band) {
                    const auto& band = host->withCode(static_cast<uintptr_t>(code)).data;
                    EXPECT_LT(peakToPeak(band, from, to), 0.05 * truth)
                        << c.wavelengthMm << " mm, amplitude " << amplitude << ", code " << code;
                }
            }
        }
    }
}

TEST_F(EndToEnd, SpikesOnMildCorrugationDoNotReachTheProfile) {
    plan.left.corrugations = {{60.0, 0.05}, {500.0, 0.05}};
    plan.left.roughnessMm = 0.005;
    const auto clean = sundrel::synth::writeRecordingPair(plan, folder.path().string());
    const auto expected = analyse(clean.leftPath)->withCode(KESTOVA_CODE_PROFILE).data;
    // On sensor 1# the smallest is a 0.33 mm spike of the chord, on 2# the
    // largest 1.8 mm.
    for (double height : {2.5, 4.0}) {
        plan.left.spikes = 40;
        plan.left.spikeHeightMm = height;
        ScratchFolder spikedFolder;
        const auto spiked = sundrel::synth::writeRecordingPair(plan, spikedFolder.path().string());
        const auto host = analyse(spiked.leftPath);  // owns the arrays
        const auto& profile = host->withCode(KESTOVA_CODE_PROFILE).data;
        ASSERT_EQ(profile.size(), expected.size());
        // A removed spike leaves the median in its place, which misses the
        // chord by up to the corrugation's swing at one sample: after the
        // inversion up to about 0.06 mm here. A spike left in would leave
        // tenths of a millimetre. A spike within the first or last 40 samples
        // stays, and the inversion spreads a little of it.
        for (std::size_t i = 500; i + 500 < profile.size(); ++i) {
            ASSERT_NEAR(profile[i], expected[i], 0.1) << "spike " << height << ", sample " << i;
        }
    }
}

// The engine keeps what it prepared for the last record's length; records
// of other lengths in between must not change what a record gives.
TEST_F(EndToEnd, ARecordGivesTheSameProfileWhateverWasAnalysedBefore) {
    plan.left.roughnessMm = 0.02;
    auto profileOf = [this](const std::string& path) {
        return analyse(path)->withCode(KESTOVA_CODE_PROFILE).data;
    };
    plan.lengthM = 24.02;  // 1201 frames, a prime
    ScratchFolder primeFolder;
    const auto prime = sundrel::synth::writeRecordingPair(plan, primeFolder.path().string());
    plan.lengthM = 24.0;  // 1200 frames
    ScratchFolder smoothFolder;
    const auto smooth = sundrel::synth::writeRecordingPair(plan, smoothFolder.path().string());

    const auto primeFirst = profileOf(prime.leftPath);
    const auto primeAgain = profileOf(prime.leftPath);
    const auto smoothFirst = profileOf(smooth.leftPath);
    const auto primeAfterSmooth = profileOf(prime.leftPath);
    const auto smoothAfterPrime = profileOf(smooth.leftPath);
    ASSERT_EQ(primeFirst.size(), 1201u);
    ASSERT_EQ(smoothFirst.size(), 1200u);
    EXPECT_EQ(primeAgain, primeFirst);
    EXPECT_EQ(primeAfterSmooth, primeFirst);
    EXPECT_EQ(smoothAfterPrime, smoothFirst);
}

TEST_F(EndToEnd, ARunWithoutTrailerAndWithStrayBytesStillAnalyses) {
    plan.withTrailer = false;
    plan.forward = false;
    plan.junkBytes = 5;
    const auto pair = sundrel::synth::writeRecordingPair(plan, folder.path().string());
    const auto host = analyse(pair.rightPath);
    EXPECT_EQ(host->withCode(KESTOVA_CODE_PROFILE).count, 9000u);
    const auto& info = host->withCode(KESTOVA_CODE_FILE_INFO).info;
    // Estimated at 0.02 m per 12 bytes after the header, falling backwards.
    EXPECT_DOUBLE_EQ(info.endPosition, 12345.0 - (9000.0 * 12 + 5) / 12 * 0.02);
    const auto& axis = host->withCode(KESTOVA_CODE_PROFILE).axis;
    EXPECT_GT(axis.front(), axis.back());
}

}  // namespace
}  // namespace kestova
