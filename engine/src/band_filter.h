#pragma once

#include <cstddef>
#include <span>

namespace kestova {

// Centred direct convolution with a symmetric kernel of odd or even length M:
//   output[k] = sum over m = -D..D of kernel[D - m] * input[k + m]
// for every k whose window lies wholly inside the record, D = (M - 1) / 2 for
// odd M and (M - 2) / 2 for even M; the first and last D outputs are 0.
// `output` must not overlap `input` and has the same length.
void applyBandFilter(std::span<const double> kernel, std::span<const double> input,
                     std::span<double> output);

// Delay of a kernel of length M.
constexpr std::size_t kernelDelay(std::size_t taps) {
    return taps % 2 == 1 ? (taps - 1) / 2 : (taps - 2) / 2;
}

}  // namespace kestova
