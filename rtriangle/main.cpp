// Copyright 2026 The rucalc developers
// SPDX-License-Identifier: MIT
#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstring>

// Every rounding shows in the digits: refuse a build that would round otherwise.
#if __FAST_MATH__ || __FINITE_MATH_ONLY__ || __ASSOCIATIVE_MATH__ || __RECIPROCAL_MATH__
#error "rtriangle must be built with IEEE 754 arithmetic: no -ffast-math or any of its parts"
#elif FLT_EVAL_METHOD != 0 && defined(__i386__)
#error "rtriangle must be built with IEEE 754 arithmetic: in SSE2 registers (-msse2 -mfpmath=sse), not the x87's wider ones"
#elif FLT_EVAL_METHOD != 0
#error "rtriangle must be built with IEEE 754 arithmetic: this target computes in wider registers (FLT_EVAL_METHOD is not 0)"
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
    float p = 0.0f, q = 0.0f;
    const char* failed = nullptr;
    int error = 0;

    std::fputs("Длины двух катетов через пробел: ", stdout);
    // A caller on a pipe may wait for the prompt before it answers.
    if (std::fflush(stdout) != 0) {
        failed = "write";
        error = errno;
    }
    // How many numbers were converted does not matter: the others stay 0.
    // Fortified glibc marks the count as not to be ignored, and GCC takes no
    // cast to void for that.
    [[maybe_unused]] const int converted = std::scanf("%f %f", &p, &q);
    if (std::ferror(stdin) && !failed) {
        failed = "read";
        error = errno;
    }

    const float area = q * p / 2.0f;
    // Each square and their sum are rounded to single precision; only the
    // root is taken in double precision. The squares are stored, so that no
    // compiler fuses one with the sum: Clang's -ffp-contract=fast overrides
    // every pragma.
    const volatile float q_squared = q * q, p_squared = p * p;
    const float sum = q_squared + p_squared;
    const double hypotenuse = std::sqrt(static_cast<double>(sum));

    if ((std::printf("Гипотенуза: %f\nПлощадь: %f", hypotenuse, static_cast<double>(area)) < 0 ||
         std::fflush(stdout) != 0) &&
        !failed) {
        failed = "write";
        error = errno;
    }
    if (!failed)
        return 0;
    std::fprintf(stderr, "rtriangle: %s error: %s\n", failed, std::strerror(error));
    return 1;
}
