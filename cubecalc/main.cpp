// Copyright 2026 The rucalc developers
// SPDX-License-Identifier: MIT
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>

int main()
{
    long long typed = 0;
    const char* failed = nullptr;
    int error = 0;

    std::fputs("Дана длина ребра куба: ", stdout);
    // A caller on a pipe may wait for the prompt before it answers.
    if (std::fflush(stdout) != 0) {
        failed = "write";
        error = errno;
    }
    // Whether the edge was converted does not matter: if not, it stays 0.
    // Fortified glibc marks the count as not to be ignored, and GCC takes no
    // cast to void for that. Read as 64 bits wherever long has 32: an edge
    // beyond 32 bits keeps its low 32 bits everywhere.
    [[maybe_unused]] const int converted = std::scanf("%lld", &typed);
    if (std::ferror(stdin) && !failed) {
        failed = "read";
        error = errno;
    }

    // The results wrap modulo 2^32. Signed overflow would be undefined, so
    // multiply unsigned and convert back.
    const auto edge = static_cast<std::uint32_t>(typed);
    const auto face = edge * edge;
    const auto volume = static_cast<std::int32_t>(edge * face);
    const auto lateral = static_cast<std::int32_t>(4u * face);

    if ((std::printf("Объем: %d\nПлощадь боковой поверхности: %d", volume, lateral) < 0 ||
         std::fflush(stdout) != 0) &&
        !failed) {
        failed = "write";
        error = errno;
    }
    if (!failed)
        return 0;
    std::fprintf(stderr, "cubecalc: %s error: %s\n", failed, std::strerror(error));
    return 1;
}
