// Copyright 2026 The rucalc developers
// SPDX-License-Identifier: MIT
//
// rtriangle: reads the legs p and q of a right triangle, as floats, and
// prints
//   hypotenuse = √(p² + q²)    each square and their sum rounded to float,
//                              the root taken and printed in double
//   area = p·q/2               the product and the half rounded to float
#include <cerrno>
#include <cfenv>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <err.h>

// Every rounding shows in the digits, so a build that would round otherwise
// is refused, naming its cause. Each program keeps its own copy of this
// guard: each main.cpp must compile alone, as one builds a file by hand.
// GCC names each part of -ffast-math by a macro, and x86's mixed units
// (-mfpmath=sse,387, or SSE without SSE2) by FLT_EVAL_METHOD -1. Clang
// names -ffast-math whole and -ffinite-math-only, and Clang 15 alone the
// other parts, by FLT_EVAL_METHOD -1; it widens by -ffp-eval-method, where
// GCC widens on the x87 and m68k alone.
#if __FAST_MATH__ || __FINITE_MATH_ONLY__ || __ASSOCIATIVE_MATH__ || __RECIPROCAL_MATH__ || (defined(__clang__) && FLT_EVAL_METHOD < 0)
#error "rtriangle must be built with IEEE 754 arithmetic: no -ffast-math or any of its parts"
#elif (defined(__i386__) || defined(__x86_64__)) && (!defined(__SSE2_MATH__) || FLT_EVAL_METHOD < 0)
#error "rtriangle must be built with IEEE 754 arithmetic: doubles in SSE2 registers alone (-msse2 -mfpmath=sse), not on the x87, whose registers are wider"
#elif FLT_EVAL_METHOD < 0
#error "rtriangle must be built with IEEE 754 arithmetic: the compiler does not say how wide it computes (FLT_EVAL_METHOD is -1)"
#elif FLT_EVAL_METHOD != 0 && defined(__clang__) && !defined(__m68k__)
#error "rtriangle must be built with IEEE 754 arithmetic: evaluation widened by a flag (-ffp-eval-method), not in each operand's own precision"
#elif FLT_EVAL_METHOD != 0
#error "rtriangle must be built with IEEE 754 arithmetic: this target computes in wider registers (FLT_EVAL_METHOD is not 0)"
#elif !defined(FE_DFL_ENV)
#error "rtriangle must be built with IEEE 754 arithmetic: this C library has no default floating-point environment"
#endif
// Under the parts Clang names by no macro, Clang 13 to 22, told -mrecip
// where infinities are not honoured, turn a division, and on arm64 a square
// root, into a reciprocal estimate. Their float_control pragma is ignored on
// arm64 before Clang 16, and Clang 16 still estimates the root under it;
// strict floating-point exceptions hold on each, on every target: each
// operation is carried out as written. The volatile barriers below keep GCC
// from fusing a multiply and an add, which no macro names.
#ifdef __clang__
#pragma clang fp exceptions(strict)
#endif

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
    const volatile float legs_product = q * p;
    const float area = legs_product / 2.0f;
    // Only the root is taken in double precision.
    const volatile float q_squared = q * q, p_squared = p * p;
    const float sum_of_squares = q_squared + p_squared;
    const double hypotenuse = std::sqrt(static_cast<double>(sum_of_squares));

    if (std::printf("Гипотенуза: %f\nПлощадь: %f", hypotenuse, static_cast<double>(area)) < 0 || std::fflush(stdout) != 0)
        err(1, "write error");
    if (read_error != 0) {
        errno = read_error;
        err(1, "read error");
    }
    return 0;
}
