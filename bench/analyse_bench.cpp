// Time of one whole analysis (file to last message) of a 10 km record, for a
// smooth and a prime number of frames, and of each stage on its own.
//
//   build/release/bench/analyse_bench [frames]
//   build/release/bench/analyse_bench --inversion N...   (the inversion alone, per length)
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "band_filter.h"
#include "band_kernels.h"
#include "best_time.h"
#include "kestova/kestova.h"
#include "profile_reconstruction.h"
#include "real_dft.h"
#include "spike_filter.h"
#include "synth/recording_synth.h"

namespace {

using sundrel::bench::bestMs;

using Clock = std::chrono::steady_clock;

std::string writeRecording(const std::filesystem::path& folder, std::size_t frames) {
    sundrel::synth::RecordingPlan plan;
    plan.lengthM = static_cast<double>(frames) * 0.02;
    plan.startTime = "20261210000000";
    plan.left.corrugations = {{60.0, 0.05}, {250.0, 0.08}};
    plan.left.roughnessMm = 0.01;
    plan.left.spikes = 200;
    plan.right = plan.left;
    std::filesystem::create_directories(folder);
    return sundrel::synth::writeRecordingPair(plan, folder.string()).leftPath;
}

std::vector<double> record(std::size_t n) {
    std::vector<double> x(n);
    for (std::size_t i = 0; i < n; ++i) {
        x[i] = 0.01 * static_cast<double>((i * 7919) % 1000) / 1000.0;
    }
    return x;
}

// Chord samples of severe corrugation: every sample strays more than 0.1 mm
// from its median, so the spike filter weighs each one.
std::vector<double> severeRecord(std::size_t n) {
    std::vector<double> x(n);
    for (std::size_t i = 0; i < n; ++i) {
        x[i] = 0.5 * std::sin(static_cast<double>(i) * 0.37) +
               0.3 * std::sin(static_cast<double>(i) * 0.05);
    }
    return x;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "--inversion") {
        for (int i = 2; i < argc; ++i) {
            const std::size_t n = std::strtoul(argv[i], nullptr, 10);
            const auto input = record(n);
            auto work = input;
            const double ms = bestMs([&] {
                work = input;
                kestova::reconstructProfile(work);
            });
            kestova::RealDft kept(n);
            const double keptMs = bestMs([&] {
                work = input;
                kestova::reconstructProfile(work, kept);
            });
            std::printf(
                "n = %zu (largest prime factor %zu%s): inversion %.1f ms, with a kept transform "
                "%.1f ms\n",
                n, kestova::RealDft::largestPrimeFactor(n),
                kept.usesBluestein() ? ", Bluestein" : "", ms, keptMs);
        }
        return 0;
    }
    const std::size_t smooth = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 500000;
    const std::size_t prime = smooth == 500000 ? 500009 : smooth + 1;
    const auto scratch = std::filesystem::temp_directory_path() / "kestova_bench";
    std::filesystem::remove_all(scratch);

    std::printf(
        "whole analysis through Analyse, no host window (best of 5; the engine keeps the\n"
        "transform of the last length, as for the second rail of a pair):\n");
    double perFile[2] = {};
    const std::size_t lengths[2] = {smooth, prime};
    for (int i = 0; i < 2; ++i) {
        const std::string path = writeRecording(scratch / std::to_string(lengths[i]), lengths[i]);
        const double first = bestMs([&] { Analyse(path.c_str(), 0.1, 0.1, 0.1, 0.1); }, 1);
        perFile[i] = bestMs([&] { Analyse(path.c_str(), 0.1, 0.1, 0.1, 0.1); });
        std::printf("  n = %zu frames: %.1f ms per file (first call on this length %.1f ms)\n",
                    lengths[i], perFile[i], first);
    }
    std::printf("  prime / smooth: %.2f\n\n", perFile[1] / perFile[0]);

    std::printf("stages on n = %zu and n = %zu (best of 5, ms):\n", smooth, prime);
    for (std::size_t n : lengths) {
        const auto input = record(n);
        auto work = input;
        const double spikes = bestMs([&] {
            work = input;
            kestova::removeSpikes(work);
        });
        const auto severe = severeRecord(n);
        const double severeSpikes = bestMs([&] {
            work = severe;
            kestova::removeSpikes(work);
        });
        const double inversion = bestMs([&] {
            work = input;
            kestova::reconstructProfile(work);
        });
        const double preparation = bestMs([&] { kestova::RealDft prepared(n); });
        kestova::RealDft kept(n);
        const double inversionKept = bestMs([&] {
            work = input;
            kestova::reconstructProfile(work, kept);
        });
        std::vector<double> out(n);
        const double bands = bestMs([&] {
            for (const auto& kernel : kestova::kBandKernels) {
                kestova::applyBandFilter(kernel.taps, input, out);
            }
        });
        std::printf(
            "  n = %zu: spikes %.1f (severe corrugation %.1f), inversion %.1f (preparing the "
            "transform %.1f, inverting with a kept one %.1f), four bands %.1f\n",
            n, spikes, severeSpikes, inversion, preparation, inversionKept, bands);
    }
    std::filesystem::remove_all(scratch);
    return 0;
}
