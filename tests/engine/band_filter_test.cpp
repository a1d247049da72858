#include "band_filter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "band_kernels.h"
#include "test_support/test_recordings.h"

namespace kestova {
namespace {

using testing::randomRecord;

// The defining causal sum, centred: c[i] = sum_{j<=min(M-1,i)} h[j] x[i-j],
// output[k] = c[k + D] for D <= k < n - D, else 0.
std::vector<double> causalCentred(std::span<const double> h, const std::vector<double>& x) {
    const std::size_t n = x.size();
    const std::size_t d = kernelDelay(h.size());
    std::vector<double> out(n, 0.0);
    for (std::size_t k = d; k + d < n; ++k) {
        const std::size_t i = k + d;
        double sum = 0;
        for (std::size_t j = 0; j <= std::min(h.size() - 1, i); ++j) {
            sum += h[j] * x[i - j];
        }
        out[k] = sum;
    }
    return out;
}

TEST(ApplyBandFilter, EqualsTheDirectCentredConvolution) {
    for (const BandKernel& kernel : kBandKernels) {
        for (std::size_t n : {419u, 420u, 1000u, 5003u}) {
            const auto x = randomRecord(n);
            std::vector<double> out(n, 99.0);
            applyBandFilter(kernel.taps, x, out);
            const auto expected = causalCentred(kernel.taps, x);
            for (std::size_t k = 0; k < n; ++k) {
                ASSERT_NEAR(out[k], expected[k], 1e-12) << "band " << kernel.band << " n " << n;
            }
        }
    }
}

TEST(ApplyBandFilter, AnImpulseGivesTheKernelCentredOnIt) {
    for (const BandKernel& kernel : kBandKernels) {
        const std::size_t n = 2000;
        const std::size_t at = 1000;
        const std::size_t d = kernelDelay(kernel.taps.size());
        std::vector<double> x(n, 0.0);
        x[at] = 1.0;
        std::vector<double> out(n);
        applyBandFilter(kernel.taps, x, out);
        for (std::size_t m = 0; m < kernel.taps.size(); ++m) {
            ASSERT_EQ(out[at - d + m], kernel.taps[m]) << "band " << kernel.band;
        }
    }
}

TEST(ApplyBandFilter, EndsAreZeroAndShortRecordsAllZero) {
    const BandKernel& band4 = kBandKernels[3];
    const std::size_t d = kernelDelay(band4.taps.size());
    ASSERT_EQ(d, 209u);
    double tapSum = 0;
    for (double tap : band4.taps) {
        tapSum += tap;
    }
    std::vector<double> constant(1000, 2.0);
    std::vector<double> out(1000);
    applyBandFilter(band4.taps, constant, out);
    for (std::size_t k = 0; k < 1000; ++k) {
        if (k < d || k >= 1000 - d) {
            ASSERT_EQ(out[k], 0.0) << k;
        } else {
            ASSERT_NEAR(out[k], 2.0 * tapSum, 1e-12) << k;
        }
    }

    // n = 418 = 2D: band 4 has no whole window; band 1 (D = 139) has some.
    std::vector<double> short418 = randomRecord(418);
    std::vector<double> band4Out(418, 1.0);
    applyBandFilter(band4.taps, short418, band4Out);
    EXPECT_EQ(band4Out, std::vector<double>(418, 0.0));
    std::vector<double> band1Out(418);
    applyBandFilter(kBandKernels[0].taps, short418, band1Out);
    EXPECT_NE(band1Out[200], 0.0);
    EXPECT_EQ(band1Out[138], 0.0);
    EXPECT_EQ(band1Out[418 - 139], 0.0);
}

TEST(ApplyBandFilter, KernelsThatAreNotSymmetricUseThePlainSum) {
    const std::vector<double> even = {0.25, -1.0, 0.5, 2.0};  // D = 1
    const std::vector<double> odd = {1.0, 2.0, 3.0};          // not symmetric
    const auto x = randomRecord(50);
    for (const auto& kernel : {even, odd}) {
        std::vector<double> out(50);
        applyBandFilter(kernel, x, out);
        const auto expected = causalCentred(kernel, x);
        for (std::size_t k = 0; k < 50; ++k) {
            ASSERT_NEAR(out[k], expected[k], 1e-12) << k;
        }
    }
}

}  // namespace
}  // namespace kestova
