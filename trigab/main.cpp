// Copyright 2026 The rucalc developers
// SPDX-License-Identifier: MIT
#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstring>

// Every rounding shows in the digits: refuse a build that would round otherwise.
#if __FAST_MATH__ || __FINITE_MATH_ONLY__ || __ASSOCIATIVE_MATH__ || __RECIPROCAL_MATH__
#error "trigab must be built with IEEE 754 arithmetic: no -ffast-math or any of its parts"
#elif FLT_EVAL_METHOD != 0 && defined(__i386__)
#error "trigab must be built with IEEE 754 arithmetic: in SSE2 registers (-msse2 -mfpmath=sse), not the x87's wider ones"
#elif FLT_EVAL_METHOD != 0
#error "trigab must be built with IEEE 754 arithmetic: this target computes in wider registers (FLT_EVAL_METHOD is not 0)"
#endif
// Clang names no macro for -freciprocal-math, -funsafe-math-optimizations
// and the like: it is told here to round as IEEE 754 does all the same.
// Clang 14 can do so for x86 alone, and elsewhere says it cannot.
#ifdef __clang__
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wignored-pragmas"
#pragma float_control(precise, on)
#pragma clang diagnostic pop
#endif

int main()
{
    float x = 0.0f, y = 0.0f, z = 0.0f;
    const char* failed = nullptr;
    int error = 0;

    std::fputs("3 числа через пробел: ", stdout);
    // A caller on a pipe may wait for the prompt before it answers.
    if (std::fflush(stdout) != 0) {
        failed = "write";
        error = errno;
    }
    // How many numbers were converted does not matter: the others stay 0.
    // Fortified glibc marks the count as not to be ignored, and GCC takes no
    // cast to void for that.
    [[maybe_unused]] const int converted = std::scanf("%f %f %f", &x, &y, &z);
    if (std::ferror(stdin) && !failed) {
        failed = "read";
        error = errno;
    }

    // The double π divided by 6 in double precision (3FE0C152382D7365), one
    // unit in the last place below the double nearest π/6: that bit shows.
    const double pi_6 = 0.5235987755982988;
    const float numerator = static_cast<float>(2.0 * std::cos(static_cast<double>(x) - pi_6));
    const double sin_y = std::sin(static_cast<double>(y));
    // The square rounded once, as pow(sin_y, 2.0) should be. glibc's pow is
    // sometimes an ulp off, and compilers put this product in its place only
    // when optimising: the product keeps every build printing the same digits.
    // Stored, so that no compiler fuses it with the addition: Clang's
    // -ffp-contract=fast overrides every pragma.
    const volatile double sin_y_squared = sin_y * sin_y;
    const double denominator = sin_y_squared + 0.5;
    const float a = static_cast<float>(static_cast<double>(numerator) / denominator);

    const float s = z * z;
    const float t = s / 5.0f + 3.0f;
    const float b = s / t + 1.0f;

    if ((std::printf("a: %f\nb: %f", static_cast<double>(a), static_cast<double>(b)) < 0 ||
         std::fflush(stdout) != 0) &&
        !failed) {
        failed = "write";
        error = errno;
    }
    if (!failed)
        return 0;
    std::fprintf(stderr, "trigab: %s error: %s\n", failed, std::strerror(error));
    return 1;
}
