#include "profile_reconstruction.h"

#include <gsl/gsl_complex.h>
#include <gsl/gsl_complex_math.h>

#include <cassert>
#include <cmath>

#include "engine_constants.h"

namespace kestova {

std::complex<double> chordResponse(std::size_t k, std::size_t n) {
    const double w = static_cast<double>(k) * 50 / static_cast<double>(n) * kPi;
    const double omega = w + w;  // radians per metre
    gsl_complex response = gsl_complex_rect(0.0, 0.0);
    for (const ChordTap& tap : kChordTaps) {
        response =
            gsl_complex_add(response, gsl_complex_polar(tap.weight, omega * tap.offsetMm / 1000));
    }
    return {GSL_REAL(response), GSL_IMAG(response)};
}

void reconstructProfile(std::span<double> samples) {
    if (samples.size() < kMinimumInversionLength) {
        return;
    }
    RealDft dft(samples.size());
    reconstructProfile(samples, dft);
}

void reconstructProfile(std::span<double> samples, RealDft& dft) {
    const std::size_t n = samples.size();
    if (n < kMinimumInversionLength) {
        return;
    }
    assert(dft.size() == n);
    dft.forward(samples);
    samples[0] = 0.0;  // the mean goes

    // Lines 0 .. K-1; for even n the real Nyquist line n/2 is not visited.
    const auto lines = static_cast<std::size_t>(std::trunc(static_cast<double>(n) * 0.5 + 0.5));
    for (std::size_t k = 1; k < lines; ++k) {
        const std::complex<double> h = chordResponse(k, n);
        const gsl_complex response = gsl_complex_rect(h.real(), h.imag());
        if (gsl_complex_abs(response) < kInversionFloor) {
            continue;
        }
        const gsl_complex line = gsl_complex_rect(samples[2 * k - 1], samples[2 * k]);
        const gsl_complex profile = gsl_complex_div(line, response);
        samples[2 * k - 1] = GSL_REAL(profile);
        samples[2 * k] = GSL_IMAG(profile);
    }
    dft.inverse(samples);
}

}  // namespace kestova
