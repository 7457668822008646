// Copyright 2026 The rucalc developers
// SPDX-License-Identifier: MIT
//
// cubecalc: reads the whole edge of a cube and prints
//   volume = edge³, lateral area = 4·edge²
// modulo 2³², as signed 32-bit numbers. No floating point: it needs no
// guard of the arithmetic, as trigab and rtriangle do.
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <err.h>

int main()
{
    std::fputs("Дана длина ребра куба: ", stdout);
    // A caller on a pipe may wait for the prompt before it answers.
    if (std::fflush(stdout) != 0)
        err(1, "write error");
    // Whether the edge was converted does not matter: if not, it stays 0.
    // Fortified glibc marks the count as not to be ignored, and GCC takes no
    // cast to void for that. Read as 64 bits wherever long has 32: an edge
    // beyond 32 bits keeps its low 32 bits everywhere.
    long long typed_edge = 0;
    [[maybe_unused]] const int converted = std::scanf("%lld", &typed_edge);
    const int read_error = std::ferror(stdin) ? errno : 0;

    // The results wrap modulo 2^32. Signed overflow would be undefined, so
    // multiply unsigned and convert back.
    const auto edge = static_cast<std::uint32_t>(typed_edge);
    const auto face_area = edge * edge;
    const auto volume = static_cast<std::int32_t>(edge * face_area);
    const auto lateral_area = static_cast<std::int32_t>(4u * face_area);

    if (std::printf("Объем: %d\nПлощадь боковой поверхности: %d", volume, lateral_area) < 0 || std::fflush(stdout) != 0)
        err(1, "write error");
    if (read_error != 0) {
        errno = read_error;
        err(1, "read error");
    }
    return 0;
}
