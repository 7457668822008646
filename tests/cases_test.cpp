// Every row of cases/PROGRAM.jsonl: the row's input on standard input gives
// exactly its output, nothing on standard error and status 0.
#include "run.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>

#include <gtest/gtest.h>

namespace {

using Row = std::map<std::string, std::string>;

// Adds the character at text[i], a JSON escape if it is one, and moves past it.
void unescape(std::string_view text, size_t& i, std::string& out)
{
    if (text[i] != '\\') {
        out += text[i++];
        return;
    }
    const char c = text.at(i + 1);
    i += 2;
    if (c != 'u') {
        const char* from = "bfnrt";
        const char* p = std::strchr(from, c);
        out += p && c ? "\b\f\n\r\t"[p - from] : c;
        return;
    }
    const auto u = static_cast<unsigned>(std::stoul(std::string(text.substr(i, 4)), nullptr, 16));
    i += 4;
    if (u < 0x80)
        out += static_cast<char>(u);
    else if (u < 0x800)
        out += {static_cast<char>(0xC0 | u >> 6), static_cast<char>(0x80 | (u & 0x3F))};
    else
        out += {static_cast<char>(0xE0 | u >> 12), static_cast<char>(0x80 | (u >> 6 & 0x3F)),
                static_cast<char>(0x80 | (u & 0x3F))};
}

// A row is a JSON object of strings on one line, as tests/oracle.py writes it.
Row parse(std::string_view line)
{
    Row row;
    std::string strings[2];
    int n = 0;
    for (size_t i = 0; i < line.size();) {
        if (line[i++] != '"')
            continue;
        std::string& s = strings[n++];
        while (line.at(i) != '"')
            unescape(line, i, s);
        ++i;
        if (n == 2) {
            row[strings[0]] = strings[1];
            strings[0].clear(), strings[1].clear(), n = 0;
        }
    }
    return row;
}

// glibc picks its sin and cos when a program starts: on x86-64 the ones with
// fused multiply-adds where the CPU has FMA and AVX2, unless GLIBC_TUNABLES
// masks them; aarch64 always fuses.
bool fused_libm()
{
#if defined(__x86_64__)
    const char* tunables = std::getenv("GLIBC_TUNABLES");
    return __builtin_cpu_supports("fma") && __builtin_cpu_supports("avx2") &&
           !(tunables && std::strstr(tunables, "-FMA"));
#else
    return true;
#endif
}

// What this machine must print: the row's output, unless it names another
// for this architecture or for this CPU's sin and cos.
std::string expected(const Row& row)
{
#if defined(__aarch64__)
    if (row.contains("aarch64"))
        return row.at("aarch64");
#endif
    const char* libm = fused_libm() ? "fma" : "no_fma";
    return row.contains(libm) ? row.at(libm) : row.at("output");
}

TEST(Cases, EveryRow)
{
    const std::pair<const char*, const char*> programs[] = {
        {"trigab", TRIGAB}, {"rtriangle", RTRIANGLE}, {"cubecalc", CUBECALC}};
    for (const auto& [name, path] : programs) {
        const std::string file = std::string(CASES) + "/" + name + ".jsonl";
        std::ifstream rows(file);
        ASSERT_TRUE(rows) << file;
        std::string line;
        for (int number = 1; std::getline(rows, line); ++number) {
            const Row row = parse(line);
            SCOPED_TRACE(testing::Message() << file << ":" << number << ": " << row.at("why"));
            expect_success(run(path, row.at("input")), expected(row));
        }
    }
}

}  // namespace
