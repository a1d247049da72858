#include "band_filter.h"

#include <algorithm>
#include <vector>

namespace kestova {
namespace {

// Outputs computed together: the block and the kernel stay in the first-level
// cache while the inner loop runs over contiguous outputs and vectorises.
constexpr std::size_t kBlock = 512;

// The AVX2 clone is chosen when the library loads, through an ifunc resolver
// that runs before a ThreadSanitizer runtime is ready; sanitized builds keep
// the portable code only.
#if defined(KESTOVA_PORTABLE_ONLY)
#define KESTOVA_VECTOR_CLONES
#else
#define KESTOVA_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#endif

// Sums the pairs of inputs that a symmetric kernel weighs alike:
//   out[k] = h[D] x[k] + sum_{m=1..D} h[D-m] (x[k-m] + x[k+m]),
// half the multiplications of the plain sum.
KESTOVA_VECTOR_CLONES void symmetricBlock(
    const double* __restrict kernel, std::size_t delay, const double* __restrict input,
    double* __restrict out, std::size_t first, std::size_t count) {
    const double centre = kernel[delay];
    for (std::size_t j = 0; j < count; ++j) {
        out[j] = centre * input[first + j];
    }
    for (std::size_t m = 1; m <= delay; ++m) {
        const double tap = kernel[delay - m];
        const double* before = input + first - m;
        const double* after = input + first + m;
        for (std::size_t j = 0; j < count; ++j) {
            out[j] += tap * (before[j] + after[j]);
        }
    }
}

// The causal sum c[i] = sum_{j=0..min(M-1, i)} kernel[j] input[i-j], read at
// i = k + D: for kernels that are not exactly symmetric about a centre tap.
void generalBlock(std::span<const double> kernel, std::size_t delay, const double* input,
                  double* out, std::size_t first, std::size_t count) {
    for (std::size_t j = 0; j < count; ++j) {
        const std::size_t i = first + j + delay;
        const std::size_t taps = std::min(kernel.size() - 1, i) + 1;
        double sum = 0.0;
        for (std::size_t t = 0; t < taps; ++t) {
            sum += kernel[t] * input[i - t];
        }
        out[j] = sum;
    }
}

bool isSymmetric(std::span<const double> kernel) {
    const std::size_t taps = kernel.size();
    if (taps % 2 == 0) {
        return false;
    }
    for (std::size_t i = 0; i < taps / 2; ++i) {
        if (kernel[i] != kernel[taps - 1 - i]) {
            return false;
        }
    }
    return true;
}

}  // namespace

void applyBandFilter(std::span<const double> kernel, std::span<const double> input,
                     std::span<double> output) {
    const std::size_t n = input.size();
    std::fill(output.begin(), output.end(), 0.0);
    if (kernel.empty()) {
        return;
    }
    const std::size_t delay = kernelDelay(kernel.size());
    if (n <= 2 * delay) {
        return;  // no window lies wholly inside the record
    }
    const std::size_t first = delay;
    const std::size_t last = n - delay;  // one past the last filtered output
    const bool symmetric = isSymmetric(kernel);
    for (std::size_t k = first; k < last; k += kBlock) {
        const std::size_t count = std::min(kBlock, last - k);
        if (symmetric) {
            symmetricBlock(kernel.data(), delay, input.data(), output.data() + k, k, count);
        } else {
            generalBlock(kernel, delay, input.data(), output.data() + k, k, count);
        }
    }
}

}  // namespace kestova
