#include "real_dft.h"

#include <gsl/gsl_fft_complex.h>
#include <gsl/gsl_fft_halfcomplex.h>
#include <gsl/gsl_fft_real.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <vector>

namespace kestova {
namespace {

// GSL's generic pass for a prime factor p > 5 costs about p operations per
// element. Bluestein's smooth-length transforms cost more to prepare and less
// to run: on 10 km records a factor 97 direct costs about 240 ms to prepare
// and run and 220 ms to run again, Bluestein about 390 ms and 120 ms (61:
// 190 and 170 ms). Over the two rails of a pair, which share one transform,
// they break even near factors adding up to 100.
constexpr std::size_t kDirectFactorBudget = 100;

// Sum of the prime factors above 5, with multiplicity.
std::size_t genericFactorSum(std::size_t n) {
    std::size_t sum = 0;
    for (std::size_t p = 2; p * p <= n; ++p) {
        while (n % p == 0) {
            sum += p > 5 ? p : 0;
            n /= p;
        }
    }
    return sum + (n > 5 ? n : 0);
}

bool isSmooth(std::size_t m) {
    for (std::size_t p : {2, 3, 5}) {
        while (m % p == 0) {
            m /= p;
        }
    }
    return m == 1;
}

std::size_t nextSmoothLength(std::size_t atLeast) {
    std::size_t m = atLeast;
    while (!isSmooth(m)) {
        ++m;
    }
    return m;
}

}  // namespace

std::size_t RealDft::largestPrimeFactor(std::size_t n) {
    std::size_t largest = 1;
    for (std::size_t p = 2; p * p <= n; ++p) {
        while (n % p == 0) {
            largest = p;
            n /= p;
        }
    }
    return n > 1 ? n : largest;
}

// GSL's mixed-radix real transform of length n.
struct RealDft::Mixed {
    explicit Mixed(std::size_t n)
        : workspace(gsl_fft_real_workspace_alloc(n)),
          realTable(gsl_fft_real_wavetable_alloc(n)),
          halfComplexTable(gsl_fft_halfcomplex_wavetable_alloc(n)) {}
    ~Mixed() {
        gsl_fft_halfcomplex_wavetable_free(halfComplexTable);
        gsl_fft_real_wavetable_free(realTable);
        gsl_fft_real_workspace_free(workspace);
    }
    Mixed(const Mixed&) = delete;
    Mixed& operator=(const Mixed&) = delete;

    gsl_fft_real_workspace* workspace;
    gsl_fft_real_wavetable* realTable;
    gsl_fft_halfcomplex_wavetable* halfComplexTable;
};

// Bluestein's identity jk = (j^2 + k^2 - (k - j)^2) / 2 turns the length-n DFT
//   X[k] = c[k] * sum_j (x[j] c[j]) conj(c[k - j]),  c[m] = exp(-i pi m^2 / n)
// into a convolution, done with complex transforms of a smooth length m.
//
// A real record needs only lines 0 .. n/2, so the convolution is needed at
// n/2 + 1 outputs only, and m >= n + n/2 keeps them free of wrap-around
// (instead of m >= 2n - 1 for all n lines). The inverse of a half-complex
// spectrum is, for the same reason, a convolution of its n/2 + 1 lines onto n
// outputs, with the kernel c[d] for d = -n/2 .. n - 1: the mirror image of
// the forward kernel's conjugate, whose transform is the conjugate of the
// forward kernel's transform. One kernel transform serves both directions.
struct RealDft::Bluestein {
    explicit Bluestein(std::size_t length)
        : n(length),
          half(length / 2),
          m(nextSmoothLength(length + length / 2)),
          chirp(length),
          kernelSpectrum(2 * m, 0.0),
          work(2 * m),
          table(gsl_fft_complex_wavetable_alloc(m)),
          workspace(gsl_fft_complex_workspace_alloc(m)) {
        for (std::size_t j = 0; j < n; ++j) {
            // j^2 mod 2n keeps the angle exact for long records.
            const auto phase = static_cast<double>((j * j) % (2 * n));
            chirp[j] = std::polar(1.0, -std::numbers::pi * phase / static_cast<double>(n));
        }
        // conj(c[d]) at d mod m for d = -(n - 1) .. n/2; m >= n + n/2 keeps
        // the two ends apart.
        auto put = [&](std::size_t at, std::complex<double> value) {
            kernelSpectrum[2 * at] = value.real();
            kernelSpectrum[2 * at + 1] = value.imag();
        };
        put(0, std::conj(chirp[0]));
        for (std::size_t d = 1; d < n; ++d) {
            put(m - d, std::conj(chirp[d]));
        }
        for (std::size_t d = 1; d <= half; ++d) {
            put(d, std::conj(chirp[d]));
        }
        gsl_fft_complex_forward(kernelSpectrum.data(), 1, m, table, workspace);
        // The convolution's 1/m, here once instead of after every backward transform.
        for (double& value : kernelSpectrum) {
            value /= static_cast<double>(m);
        }
    }
    ~Bluestein() {
        gsl_fft_complex_workspace_free(workspace);
        gsl_fft_complex_wavetable_free(table);
    }
    Bluestein(const Bluestein&) = delete;
    Bluestein& operator=(const Bluestein&) = delete;

    std::complex<double> at(std::size_t i) const { return {work[2 * i], work[2 * i + 1]}; }
    void set(std::size_t i, std::complex<double> value) {
        work[2 * i] = value.real();
        work[2 * i + 1] = value.imag();
    }

    // Circular convolution of work (its first `inputs` entries, the rest
    // zeroed here) with the kernel, or with its mirror image when `mirrored`.
    void convolve(std::size_t inputs, bool mirrored) {
        std::fill(work.begin() + static_cast<std::ptrdiff_t>(2 * inputs), work.end(), 0.0);
        gsl_fft_complex_forward(work.data(), 1, m, table, workspace);
        for (std::size_t k = 0; k < m; ++k) {
            std::complex<double> kernel(kernelSpectrum[2 * k], kernelSpectrum[2 * k + 1]);
            set(k, at(k) * (mirrored ? std::conj(kernel) : kernel));
        }
        gsl_fft_complex_backward(work.data(), 1, m, table, workspace);
    }

    void forward(std::span<double> data) {
        for (std::size_t j = 0; j < n; ++j) {
            set(j, data[j] * chirp[j]);
        }
        convolve(n, false);
        data[0] = (at(0) * chirp[0]).real();
        for (std::size_t k = 1; 2 * k - 1 < n; ++k) {
            const std::complex<double> line = at(k) * chirp[k];
            data[2 * k - 1] = line.real();
            if (2 * k < n) {
                data[2 * k] = line.imag();
            }
        }
    }

    void inverse(std::span<double> data) {
        // y[j] = Re sum_{k <= n/2} z[k] exp(2 pi i jk / n) / n, where z holds
        // line 0, twice every line below n/2 (it stands for line n - k too),
        // and the real line n/2 of an even n once.
        set(0, data[0]);
        for (std::size_t k = 1; k <= half; ++k) {
            const bool nyquist = 2 * k == n;
            const std::complex<double> line(data[2 * k - 1], nyquist ? 0.0 : data[2 * k]);
            set(k, (nyquist ? line : 2.0 * line) * std::conj(chirp[k]));
        }
        convolve(half + 1, true);
        const double scale = 1.0 / static_cast<double>(n);
        for (std::size_t j = 0; j < n; ++j) {
            data[j] = (at(j) * std::conj(chirp[j])).real() * scale;
        }
    }

    std::size_t n;
    std::size_t half;
    std::size_t m;
    std::vector<std::complex<double>> chirp;
    std::vector<double> kernelSpectrum;
    std::vector<double> work;
    gsl_fft_complex_wavetable* table;
    gsl_fft_complex_workspace* workspace;
};

RealDft::RealDft(std::size_t n) : n_(n) {
    if (n < 2) {
        return;  // the transform of one value is the value itself
    }
    if (genericFactorSum(n) <= kDirectFactorBudget) {
        mixed_ = std::make_unique<Mixed>(n);
    } else {
        bluestein_ = std::make_unique<Bluestein>(n);
    }
}

RealDft::~RealDft() = default;

void RealDft::forward(std::span<double> data) {
    if (mixed_) {
        gsl_fft_real_transform(data.data(), 1, n_, mixed_->realTable, mixed_->workspace);
    } else if (bluestein_) {
        bluestein_->forward(data);
    }
}

void RealDft::inverse(std::span<double> data) {
    if (mixed_) {
        gsl_fft_halfcomplex_inverse(data.data(), 1, n_, mixed_->halfComplexTable,
                                    mixed_->workspace);
    } else if (bluestein_) {
        bluestein_->inverse(data);
    }
}

}  // namespace kestova
