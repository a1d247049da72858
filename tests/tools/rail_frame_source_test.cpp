#include "synth/recording_synth.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <vector>

#include "test_support/scratch_folder.h"

namespace {

using sundrel::frames::RailSide;
using sundrel::synth::RailFrameSource;
using sundrel::synth::RecordingPlan;

RecordingPlan busyPlan() {
    RecordingPlan plan;
    plan.lengthM = 200;
    plan.metresPerFrame = 0.01885;
    plan.left.corrugations = {{50, 0.02}, {120, 0.01}};
    plan.right.corrugations = {{80, 0.03}};
    plan.left.roughnessMm = plan.right.roughnessMm = 0.01;
    plan.left.spikes = plan.right.spikes = 9;
    plan.bounceMm = 0.3;
    plan.pitchMradian = 2;
    plan.junkBytes = 3;
    plan.seed = 11;
    return plan;
}

std::uint64_t fnv1a(const std::vector<std::uint8_t>& bytes) {
    std::uint64_t hash = 1469598103934665603ull;
    for (const std::uint8_t b : bytes) {
        hash = (hash ^ b) * 1099511628211ull;
    }
    return hash;
}

// Digests of the frames recordings of this plan have always held; a change
// means synthetic recordings, and the reference results built on them, moved.
TEST(RecordingSynth, FramesOfAPlanAreThoseRecordedBefore) {
    const RecordingPlan plan = busyPlan();
    const auto left = sundrel::synth::synthesiseFrames(plan, 1);
    const auto right = sundrel::synth::synthesiseFrames(plan, 2);
    EXPECT_EQ(left.size(), 127323u);
    EXPECT_EQ(fnv1a(left), 0x46f60fe33be67089ull);
    EXPECT_EQ(right.size(), 127323u);
    EXPECT_EQ(fnv1a(right), 0x1e7692aab1d9dd4full);
}

TEST(RecordingSynth, WritesIntoAFolderItMakes) {
    const sundrel::testing::ScratchFolder scratch;
    const std::string folder = scratch.file("runs/2026-12-10");
    RecordingPlan plan;
    plan.lengthM = 1;
    plan.startTime = "20261210223000";
    const sundrel::synth::RecordingPair pair = sundrel::synth::writeRecordingPair(plan, folder);
    EXPECT_TRUE(std::filesystem::exists(pair.leftPath));
    EXPECT_TRUE(std::filesystem::exists(pair.rightPath));
}

TEST(RecordingSynth, SpikesRepeatEveryPlanLength) {
    RecordingPlan plan = busyPlan();
    plan.left.corrugations.clear();
    plan.left.roughnessMm = 0;
    plan.bounceMm = plan.pitchMradian = 0;
    plan.left.spikes = 0;
    const auto flat = RailFrameSource(plan, RailSide::Left).words(0);
    plan.left.spikes = 5;
    const RailFrameSource source(plan, RailSide::Left);
    const std::size_t period = 10610;  // 200 m / 0.01885 m
    std::size_t spiked = 0;
    for (std::size_t i = 0; i < period; ++i) {
        if (source.words(i) != flat) {
            ++spiked;
            EXPECT_EQ(source.words(i + period), source.words(i)) << "frame " << i;
        }
    }
    EXPECT_EQ(spiked, 5u);
}

}  // namespace
