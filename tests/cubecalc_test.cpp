#include "run.h"

#include <gtest/gtest.h>

namespace {

constexpr std::string_view prompt = "Дана длина ребра куба: ";

TEST(Cubecalc, WrapsAt32Bits)
{
    expect_reports(CUBECALC, prompt, {
        {"3", "Объем: 27\nПлощадь боковой поверхности: 36"},
        {"0", "Объем: 0\nПлощадь боковой поверхности: 0"},
        {"-3", "Объем: -27\nПлощадь боковой поверхности: 36"},
        // The largest edge whose volume fits, and the first that wraps.
        {"1290", "Объем: 2146689000\nПлощадь боковой поверхности: 6656400"},
        {"1291", "Объем: -2143282125\nПлощадь боковой поверхности: 6666724"},
        {"-1291", "Объем: 2143282125\nПлощадь боковой поверхности: 6666724"},
        // Likewise for the lateral area.
        {"23170", "Объем: 563723784\nПлощадь боковой поверхности: 2147395600"},
        {"23171", "Объем: -2120627301\nПлощадь боковой поверхности: -2147386332"},
        {"2147483647", "Объем: 2147483647\nПлощадь боковой поверхности: 4"},
        {"-2147483648", "Объем: 0\nПлощадь боковой поверхности: 0"},
    });
}

TEST(Cubecalc, EdgeBeyond32Bits)
{
    // glibc reads the number as 64 bits, clamped, and keeps the low 32.
    expect_reports(CUBECALC, prompt, {
        {"4294967299", "Объем: 27\nПлощадь боковой поверхности: 36"},
        {"99999999999999999999", "Объем: -1\nПлощадь боковой поверхности: 4"},
    });
}

TEST(Cubecalc, InputLayout)
{
    const std::string_view zeros = "Объем: 0\nПлощадь боковой поверхности: 0";
    expect_reports(CUBECALC, prompt, {
        {" \t\n+3\n", "Объем: 27\nПлощадь боковой поверхности: 36"},
        // The integer ends at the point.
        {"3.7", "Объем: 27\nПлощадь боковой поверхности: 36"},
        {"", zeros},
        {"x3", zeros},
        {"--3", zeros},
    });
}

}  // namespace
