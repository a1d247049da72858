#pragma once

#include <cstddef>
#include <memory>
#include <span>

namespace kestova {

// The discrete Fourier transform of a real record of any length n, in GSL's
// half-complex order: element 0 is line 0; for line k >= 1 the real part is
// element 2k - 1 and the imaginary part element 2k; for even n the last
// element is the real line n/2.
//
// GSL's mixed-radix transform costs O(n p) for a prime factor p of n, which is
// prohibitive for records whose length has large prime factors. Those
// lengths go through Bluestein's algorithm instead: the same spectral lines,
// computed as a convolution with a chirp on a smooth-length GSL complex
// transform, O(n log n) for every n.
class RealDft {
public:
    explicit RealDft(std::size_t n);
    ~RealDft();
    RealDft(const RealDft&) = delete;
    RealDft& operator=(const RealDft&) = delete;

    // Real record -> half-complex spectrum, in place (forward sign, no scaling).
    void forward(std::span<double> data);
    // Half-complex spectrum -> real record, in place, including the 1/n scaling.
    void inverse(std::span<double> data);

    std::size_t size() const { return n_; }
    bool usesBluestein() const { return bluestein_ != nullptr; }

    // Largest prime factor of n (1 for n <= 1).
    static std::size_t largestPrimeFactor(std::size_t n);

private:
    struct Mixed;
    struct Bluestein;
    std::size_t n_;
    std::unique_ptr<Mixed> mixed_;
    std::unique_ptr<Bluestein> bluestein_;
};

}  // namespace kestova
