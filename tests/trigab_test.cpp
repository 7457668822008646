#include "run.h"

#include <gtest/gtest.h>

namespace {

constexpr std::string_view prompt = "3 числа через пробел: ";

TEST(Trigab, EachRoundingStep)
{
    expect_reports(TRIGAB, prompt, {
        {"1 2 3", "a: 1.339518\nb: 2.875000"},
        {"0 0 0", "a: 3.464102\nb: 1.000000"},
        // The numerator is rounded to single precision before the division.
        {"6 0 0", "a: 2.767297\nb: 1.000000"},
        // b stays in single precision throughout, every step rounded.
        {"0 0 17", "a: 3.464102\nb: 5.753290"},
        {"0 0 5.5", "a: 3.464102\nb: 4.342542"},
        // sin and cos work in double precision on the widened numbers.
        {"4 2 3", "a: -1.423662\nb: 2.875000"},
        {"100 0 0", "a: 1.974429\nb: 1.000000"},
        // sin² y is the exact square rounded once; glibc's pow(s, 2.0) is an
        // ulp off here, which shows in the last digit.
        {"0.799799085 0.552061081 0", "a: 2.482704\nb: 1.000000"},
        {"1.07063723 0.625419199 0", "a: 2.026893\nb: 1.000000"},
        // ... and 0.5 is added to it after that rounding, not fused with it.
        {"1.37423944 0.500117898 0", "a: 1.806982\nb: 1.000000"},
        // z² beyond the single-precision range: inf / inf.
        {"0 0 1e20", "a: 3.464102\nb: -nan"},
        {"0 0 1e19", "a: 3.464102\nb: 6.000000"},
    });
}

TEST(Trigab, InputLayout)
{
    const std::string_view report = "a: 1.339518\nb: 2.875000";
    expect_reports(TRIGAB, prompt, {
        {"1\n2\n3\n", report},
        {"\t 1\t\t2 \n\n 3", report},
        {"1 2 3 4 five", report},
        {"+1e0 0x1p1 3.", report},
    });
}

TEST(Trigab, UnconvertedNumbersAreZero)
{
    const std::string_view zeros = "a: 3.464102\nb: 1.000000";
    expect_reports(TRIGAB, prompt, {
        {"", zeros},
        {"x 2 3", zeros},
        {"1 2", "a: 1.339518\nb: 1.000000"},
        // No locale: a comma ends the first number and stops the read.
        {"1,5 2 3", "a: 3.554604\nb: 1.000000"},
    });
}

}  // namespace
