#include "real_dft.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <vector>

#include "test_support/test_recordings.h"

namespace kestova {
namespace {

using testing::randomRecord;

// The definition, O(n^2), in GSL's half-complex order.
std::vector<double> naiveHalfComplex(const std::vector<double>& x) {
    const std::size_t n = x.size();
    std::vector<double> out(n);
    for (std::size_t k = 0; k <= n / 2; ++k) {
        std::complex<double> sum = 0;
        for (std::size_t j = 0; j < n; ++j) {
            const double angle =
                -2 * std::numbers::pi * static_cast<double>((j * k) % n) / static_cast<double>(n);
            sum += x[j] * std::polar(1.0, angle);
        }
        if (k == 0) {
            out[0] = sum.real();
        } else if (2 * k - 1 < n) {
            out[2 * k - 1] = sum.real();
            if (2 * k < n) {
                out[2 * k] = sum.imag();
            }
        }
    }
    return out;
}

// Smooth lengths go to GSL directly, lengths with a large prime factor
// through Bluestein; both must give the DFT's own lines.
TEST(RealDft, MatchesTheDefinitionForEveryKindOfLength) {
    struct Case {
        std::size_t n;
        bool bluestein;
    };
    for (const Case c :
         {Case{2, false}, Case{10, false}, Case{360, false}, Case{17, false}, Case{11 * 13, false},
          Case{97, false}, Case{101, true}, Case{202, true}, Case{67 * 67, true}, Case{1009, true},
          Case{2018, true}, Case{3 * 101, true}, Case{10 * 101, true}, Case{11 * 101, true}}) {
        const auto x = randomRecord(c.n);
        const auto expected = naiveHalfComplex(x);
        RealDft dft(c.n);
        EXPECT_EQ(dft.usesBluestein(), c.bluestein) << c.n;
        auto data = x;
        dft.forward(data);
        for (std::size_t i = 0; i < c.n; ++i) {
            ASSERT_NEAR(data[i], expected[i], 1e-9 * std::sqrt(static_cast<double>(c.n)))
                << "n " << c.n << " element " << i;
        }
        dft.inverse(data);
        for (std::size_t i = 0; i < c.n; ++i) {
            ASSERT_NEAR(data[i], x[i], 1e-12) << "n " << c.n << " element " << i;
        }
    }
}

// A transform is made once per length and used for record after record:
// nothing of one record may stay behind in it.
TEST(RealDft, KeepsNothingOfTheRecordBefore) {
    for (std::size_t n : {360u, 1009u, 2018u}) {
        RealDft kept(n);
        auto first = randomRecord(n);
        for (double& v : first) {
            v *= 1000;
        }
        kept.forward(first);
        kept.inverse(first);

        const auto second = [n] {
            auto x = randomRecord(n);
            std::reverse(x.begin(), x.end());
            return x;
        }();
        auto expected = second;
        RealDft fresh(n);
        fresh.forward(expected);
        auto data = second;
        kept.forward(data);
        EXPECT_EQ(data, expected) << n;
        fresh.inverse(expected);
        kept.inverse(data);
        EXPECT_EQ(data, expected) << n;
    }
}

TEST(RealDft, LargestPrimeFactor) {
    EXPECT_EQ(RealDft::largestPrimeFactor(1), 1u);
    EXPECT_EQ(RealDft::largestPrimeFactor(50000), 5u);
    EXPECT_EQ(RealDft::largestPrimeFactor(50021), 50021u);
    EXPECT_EQ(RealDft::largestPrimeFactor(2 * 3 * 7 * 13), 13u);
}

}  // namespace
}  // namespace kestova
