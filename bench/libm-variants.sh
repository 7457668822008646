#!/usr/bin/env bash
# How often trigab's a depends on which of glibc's x86-64 sin and cos the CPU
# gets: the variant with fused multiply-adds (CPUs with FMA and AVX2) or the
# one without. For every number typed with up to four decimals
# in [-100, 100], it takes the numerator of a for that x and the denominator
# for that y under each variant, then counts the (x, y) whose printed a
# differs. Only meaningful on an x86-64 CPU with FMA, where both variants run.
#
#   bench/libm-variants.sh
set -euo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cat >"$work/parts.cpp" <<'CPP'
// The numerator and denominator of a as trigab works them out, in binary.
#include <cmath>
#include <cstdio>
#include <cstdlib>
int main()
{
    for (long i = -1000000; i <= 1000000; ++i) {
        char typed[16];
        std::snprintf(typed, sizeof typed, "%.4f", static_cast<double>(i) / 1e4);
        const float v = std::strtof(typed, nullptr);
        const float numerator = static_cast<float>(2.0 * std::cos(static_cast<double>(v) - 0.5235987755982988));
        const double sin_v = std::sin(static_cast<double>(v));
        std::printf("%s %a %a\n", typed, static_cast<double>(numerator), sin_v * sin_v + 0.5);
    }
}
CPP
cat >"$work/pairs.cpp" <<'CPP'
// Reads both tables and counts the pairs whose printed a differs; only the
// pairs with a part that differs need a look.
#include <cstdio>
#include <string>
#include <vector>
int main(int, char** argv)
{
    struct Parts { char typed[16]; double n[2], d[2]; };
    std::vector<Parts> rows;
    FILE* f[2] = {std::fopen(argv[1], "r"), std::fopen(argv[2], "r")};
    for (Parts p; std::fscanf(f[0], "%15s %la %la", p.typed, &p.n[0], &p.d[0]) == 3 &&
                  std::fscanf(f[1], "%*s %la %la", &p.n[1], &p.d[1]) == 2;)
        rows.push_back(p);
    std::vector<const Parts*> xs, ys;
    for (const auto& r : rows) {
        if (r.n[0] != r.n[1]) xs.push_back(&r);
        if (r.d[0] != r.d[1]) ys.push_back(&r);
    }
    auto printed = [](double n, double d) {
        char s[32];
        std::snprintf(s, sizeof s, "%f", static_cast<double>(static_cast<float>(n / d)));
        return std::string(s);
    };
    long pairs = 0;
    auto look = [&](const Parts& x, const Parts& y) {
        if (printed(x.n[0], y.d[0]) != printed(x.n[1], y.d[1]) && ++pairs <= 10)
            std::printf("  a differs for: %s %s 0\n", x.typed, y.typed);
    };
    for (const auto* x : xs)
        for (const auto& y : rows) look(*x, y);
    for (const auto* y : ys)
        for (const auto& x : rows)
            if (x.n[0] == x.n[1]) look(x, *y);
    std::printf("numbers: %zu; numerators that differ: %zu; denominators that differ: %zu\n"
                "(x, y) pairs: %zu; pairs whose printed a differs: %ld\n",
                rows.size(), xs.size(), ys.size(), rows.size() * rows.size(), pairs);
}
CPP
c++ -O2 -ffp-contract=off "$work/parts.cpp" -o "$work/parts"
c++ -O2 "$work/pairs.cpp" -o "$work/pairs"
"$work/parts" >"$work/fused"
GLIBC_TUNABLES=glibc.cpu.hwcaps=-AVX2,-FMA,-FMA4 "$work/parts" >"$work/plain"
cmp -s "$work/fused" "$work/plain" && echo "(both runs used the same variant: is this a CPU with FMA?)"
"$work/pairs" "$work/fused" "$work/plain"
