// Copyright 2026 The rucalc developers
// SPDX-License-Identifier: MIT
#include <cerrno>
#include <cfenv>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <err.h>

// Every rounding shows in the digits: refuse a build that would round otherwise.
// Clang 15 and later say -freciprocal-math and the like by FLT_EVAL_METHOD -1.
#if __FAST_MATH__ || __FINITE_MATH_ONLY__ || __ASSOCIATIVE_MATH__ || __RECIPROCAL_MATH__ || FLT_EVAL_METHOD < 0
#error "rtriangle must be built with IEEE 754 arithmetic: no -ffast-math or any of its parts"
#elif (defined(__i386__) || defined(__x86_64__)) && !defined(__SSE2_MATH__)
#error "rtriangle must be built with IEEE 754 arithmetic: doubles in SSE2 registers (-msse2 -mfpmath=sse), not the x87's wider ones"
#elif FLT_EVAL_METHOD != 0
#error "rtriangle must be built with IEEE 754 arithmetic: this target computes in wider registers (FLT_EVAL_METHOD is not 0)"
#elif !defined(FE_DFL_ENV)
#error "rtriangle must be built with IEEE 754 arithmetic: this C library has no default floating-point environment"
#endif
// Clang before 15 names no macro for -freciprocal-math,
// -funsafe-math-optimizations and the like, and its float_control pragma
// holds on some targets only: the barriers below keep every rounding under
// them instead.

int main()
{
    // Start files linked with -ffast-math, even from one flag on the link
    // line, flush subnormals to zero before main: undo that.
    std::fesetenv(FE_DFL_ENV);

    std::fputs("Длины двух катетов через пробел: ", stdout);
    // A caller on a pipe may wait for the prompt before it answers.
    if (std::fflush(stdout) != 0)
        err(1, "write error");
    // How many numbers were converted does not matter: the others stay 0.
    // Fortified glibc marks the count as not to be ignored, and GCC takes no
    // cast to void for that.
    float p = 0.0f, q = 0.0f;
    [[maybe_unused]] const int converted = std::scanf("%f %f", &p, &q);
    const int read_error = std::ferror(stdin) ? errno : 0;

    // q stands before p in every operation: where both are NaNs, most CPUs
    // pass on the first operand's, so the order fixes the sign printed.
    // volatile is the barrier that rounds each product to single precision
    // before it is halved or added: no compiler fuses or reassociates across
    // it, whatever its flags.
    const volatile float product = q * p;
    const float area = product / 2.0f;
    // Only the root is taken in double precision.
    const volatile float q_squared = q * q, p_squared = p * p;
    const float sum = q_squared + p_squared;
    const double hypotenuse = std::sqrt(static_cast<double>(sum));

    if (std::printf("Гипотенуза: %f\nПлощадь: %f", hypotenuse, static_cast<double>(area)) < 0 || std::fflush(stdout) != 0)
        err(1, "write error");
    if (read_error != 0) {
        errno = read_error;
        err(1, "read error");
    }
    return 0;
}
