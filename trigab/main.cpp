// Copyright 2026 The rucalc developers
// SPDX-License-Identifier: MIT
//
// trigab: reads three reals x, y, z and prints
//   a = 2·cos(x − π/6) / (1/2 + sin² y)
//   b = 1 + z² / (3 + z²/5)
// x, y, z, a and b are floats. a: x − π/6, its cosine, doubled, in double;
// that numerator rounded to float; sin y and its square plus 1/2 in double;
// the quotient in double, rounded to float. b: every operation in float.
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
#error "trigab must be built with IEEE 754 arithmetic: no -ffast-math or any of its parts"
#elif (defined(__i386__) || defined(__x86_64__)) && (!defined(__SSE2_MATH__) || FLT_EVAL_METHOD < 0)
#error "trigab must be built with IEEE 754 arithmetic: doubles in SSE2 registers alone (-msse2 -mfpmath=sse), not on the x87, whose registers are wider"
#elif FLT_EVAL_METHOD < 0
#error "trigab must be built with IEEE 754 arithmetic: the compiler does not say how wide it computes (FLT_EVAL_METHOD is -1)"
#elif FLT_EVAL_METHOD != 0 && defined(__clang__) && !defined(__m68k__)
#error "trigab must be built with IEEE 754 arithmetic: evaluation widened by a flag (-ffp-eval-method), not in each operand's own precision"
#elif FLT_EVAL_METHOD != 0
#error "trigab must be built with IEEE 754 arithmetic: this target computes in wider registers (FLT_EVAL_METHOD is not 0)"
#elif !defined(FE_DFL_ENV)
#error "trigab must be built with IEEE 754 arithmetic: this C library has no default floating-point environment"
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

    std::fputs("3 числа через пробел: ", stdout);
    // A caller on a pipe may wait for the prompt before it answers.
    if (std::fflush(stdout) != 0)
        err(1, "write error");
    // How many numbers were converted does not matter: the others stay 0.
    // Fortified glibc marks the count as not to be ignored, and GCC takes no
    // cast to void for that.
    float x = 0.0f, y = 0.0f, z = 0.0f;
    [[maybe_unused]] const int converted = std::scanf("%f %f %f", &x, &y, &z);
    const int read_error = std::ferror(stdin) ? errno : 0;

    // π rounded to double, then divided by 6 in double: one unit in the last
    // place below the double nearest π/6, and that bit shows. Written in hex
    // as long double and held in doubles, so that no flag narrows a constant
    // to single precision.
    constexpr double pi = 0x1.921fb54442d18p1L, pi_6 = pi / 6, half = 0.5;
    static_assert(pi_6 == static_cast<double>(0x1.0c152382d7365p-1L), "π/6 as the double π divided by 6");
    const float a_numerator = static_cast<float>(2 * std::cos(static_cast<double>(x) - pi_6));
    const double sin_y = std::sin(static_cast<double>(y));
    // The square rounded once, as pow(sin_y, 2.0) should be. glibc's pow is
    // sometimes an ulp off, and compilers put this product in its place only
    // when optimising: the product keeps every build printing the same digits.
    // volatile is the barrier that keeps it from being fused with the
    // addition.
    const volatile double sin_y_squared = sin_y * sin_y;
    const double a_denominator = sin_y_squared + half;
    const float a = static_cast<float>(static_cast<double>(a_numerator) / a_denominator);

    const float z_squared = z * z;
    const float b_denominator = z_squared / 5.0f + 3.0f;
    const float b = z_squared / b_denominator + 1.0f;

    if (std::printf("a: %f\nb: %f", static_cast<double>(a), static_cast<double>(b)) < 0 || std::fflush(stdout) != 0)
        err(1, "write error");
    if (read_error != 0) {
        errno = read_error;
        err(1, "read error");
    }
    return 0;
}
