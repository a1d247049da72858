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
// element; Bluestein's smooth-length transforms cost about as much as factors
// adding up to 100 (measured on 10 km records: a factor 97 direct about
// 225 ms, 127 about 300 ms, Bluestein about 250 ms).
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
// into a convolution, done with complex transforms of a smooth length
// m >= 2n - 1. The inverse is the forward transform of the conjugate spectrum.
struct RealDft::Bluestein {
    explicit Bluestein(std::size_t length)
        : n(length),
          m(nextSmoothLength(2 * length - 1)),
          chirp(length),
          chirpSpectrum(2 * m, 0.0),
          work(2 * m),
          table(gsl_fft_complex_wavetable_alloc(m)),
          workspace(gsl_fft_complex_workspace_alloc(m)) {
        for (std::size_t j = 0; j < n; ++j) {
            // j^2 mod 2n keeps the angle exact for long records.
            const auto phase = static_cast<double>((j * j) % (2 * n));
            chirp[j] = std::polar(1.0, -std::numbers::pi * phase / static_cast<double>(n));
        }
        auto put = [&](std::size_t at, std::complex<double> value) {
            chirpSpectrum[2 * at] = value.real();
            chirpSpectrum[2 * at + 1] = value.imag();
        };
        put(0, std::conj(chirp[0]));
        for (std::size_t j = 1; j < n; ++j) {
            put(j, std::conj(chirp[j]));
            put(m - j, std::conj(chirp[j]));
        }
        gsl_fft_complex_forward(chirpSpectrum.data(), 1, m, table, workspace);
    }
    ~Bluestein() {
        gsl_fft_complex_workspace_free(workspace);
        gsl_fft_complex_wavetable_free(table);
    }
    Bluestein(const Bluestein&) = delete;
    Bluestein& operator=(const Bluestein&) = delete;

    // work[0 .. n) holds z (complex, interleaved); afterwards it holds DFT(z).
    void transformWork() {
        for (std::size_t j = 0; j < n; ++j) {
            const std::complex<double> z(work[2 * j], work[2 * j + 1]);
            const std::complex<double> a = z * chirp[j];
            work[2 * j] = a.real();
            work[2 * j + 1] = a.imag();
        }
        std::fill(work.begin() + static_cast<std::ptrdiff_t>(2 * n), work.end(), 0.0);
        gsl_fft_complex_forward(work.data(), 1, m, table, workspace);
        for (std::size_t k = 0; k < m; ++k) {
            const std::complex<double> a(work[2 * k], work[2 * k + 1]);
            const std::complex<double> b(chirpSpectrum[2 * k], chirpSpectrum[2 * k + 1]);
            const std::complex<double> product = a * b;
            work[2 * k] = product.real();
            work[2 * k + 1] = product.imag();
        }
        gsl_fft_complex_inverse(work.data(), 1, m, table, workspace);
        for (std::size_t k = 0; k < n; ++k) {
            const std::complex<double> y(work[2 * k], work[2 * k + 1]);
            const std::complex<double> line = y * chirp[k];
            work[2 * k] = line.real();
            work[2 * k + 1] = line.imag();
        }
    }

    void forward(std::span<double> data) {
        for (std::size_t j = 0; j < n; ++j) {
            work[2 * j] = data[j];
            work[2 * j + 1] = 0.0;
        }
        transformWork();
        data[0] = work[0];
        for (std::size_t k = 1; 2 * k - 1 < n; ++k) {
            data[2 * k - 1] = work[2 * k];
            if (2 * k < n) {
                data[2 * k] = work[2 * k + 1];
            }
        }
    }

    void inverse(std::span<double> data) {
        // Conjugate of the full Hermitian spectrum: line n - k is conj(line k).
        work[0] = data[0];
        work[1] = 0.0;
        for (std::size_t k = 1; k < n; ++k) {
            const std::size_t line = k <= n / 2 ? k : n - k;
            const double re = data[2 * line - 1];
            const double im = 2 * line < n ? data[2 * line] : 0.0;
            work[2 * k] = re;
            work[2 * k + 1] = k <= n / 2 ? -im : im;
        }
        transformWork();
        const double scale = 1.0 / static_cast<double>(n);
        for (std::size_t j = 0; j < n; ++j) {
            data[j] = work[2 * j] * scale;
        }
    }

    std::size_t n;
    std::size_t m;
    std::vector<std::complex<double>> chirp;
    std::vector<double> chirpSpectrum;
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
