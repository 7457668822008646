#include "run.h"

#include <gtest/gtest.h>

namespace {

constexpr std::string_view prompt = "Длины двух катетов через пробел: ";

TEST(Rtriangle, EachRoundingStep)
{
    expect_reports(RTRIANGLE, prompt, {
        {"3 4", "Гипотенуза: 5.000000\nПлощадь: 6.000000"},
        {"5 12", "Гипотенуза: 13.000000\nПлощадь: 30.000000"},
        {"1 1", "Гипотенуза: 1.414214\nПлощадь: 0.500000"},
        // The squares and their sum are rounded to single precision, never
        // fused: squares kept in double precision print 1.204160.
        {"0.1 1.2", "Гипотенуза: 1.204159\nПлощадь: 0.060000"},
        // The product is rounded to single precision before it is halved, and
        // the root is printed in double precision, unrounded.
        {"123.456 7.89", "Гипотенуза: 123.707865\nПлощадь: 487.033905"},
        {"-3 4", "Гипотенуза: 5.000000\nПлощадь: -6.000000"},
        // The square of 1e20 is beyond the single-precision range.
        {"1e20 1", "Гипотенуза: inf\nПлощадь: 50000001002043867136.000000"},
    });
}

TEST(Rtriangle, InputLayout)
{
    const std::string_view report = "Гипотенуза: 5.000000\nПлощадь: 6.000000";
    expect_reports(RTRIANGLE, prompt, {
        {"3\n4\n", report},
        {"\t3 \n\n 4 5 six", report},
    });
}

TEST(Rtriangle, UnconvertedLegsAreZero)
{
    expect_reports(RTRIANGLE, prompt, {
        {"", "Гипотенуза: 0.000000\nПлощадь: 0.000000"},
        {"3", "Гипотенуза: 3.000000\nПлощадь: 0.000000"},
        // No locale: a comma ends the first leg and stops the read.
        {"3,5 4", "Гипотенуза: 3.000000\nПлощадь: 0.000000"},
        {"x 4", "Гипотенуза: 0.000000\nПлощадь: 0.000000"},
    });
}

}  // namespace
