#!/usr/bin/env bash
# Makes one plausible mistake at a time in a program or its build, rebuilds,
# and runs the suite on each build below until a test fails. A mutant no test
# kills is a hole in the suite. A tool for developers; it restores the sources
# when it ends.
#   tests/mutate.sh [REGEX]    only the mutants whose name matches
#   BUILDS="default aarch64-linux-gnu" tests/mutate.sh ...   on these builds
#                              (presets or GNU triples) instead
set -uo pipefail
cd "$(dirname "$0")/.."
# The presets, then i386 (x87) and armel (32-bit long, libgcc's floating point).
presets=(default native sanitize)
targets=("$(.ci/targets triple arch i386)" "$(.ci/targets triple arch armel)")
read -r -a builds <<<"${BUILDS:-${presets[*]} ${targets[*]}}"

# (Fortification level 3 assumed shows only with GCC 11: tests/compilers.sh.)
# name|files|sed script. Each edit must still compile: warnings are errors, so
# a change of precision is spelt with explicit casts. A program's name stands
# for its main.cpp, "all" for every program's.
mutants=(
  "numbers read as doubles, then rounded to float|trigab|s/std::scanf(\"%f %f %f\", &x, &y, &z);/std::scanf(\"%lf %lf %lf\", \&wide[0], \&wide[1], \&wide[2]); x = static_cast<float>(wide[0]), y = static_cast<float>(wide[1]), z = static_cast<float>(wide[2]);/;s/^    float x = 0.0f, y = 0.0f, z = 0.0f;/&\n    double wide[3] = {};/"
  "π/6 one ulp up|trigab|s/pi_6 = pi \/ 6,/pi_6 = pi \/ 6 + 0x1p-53,/;/static_assert(pi_6/d"
  "π/6 from an unsuffixed literal, narrowed by -fsingle-precision-constant|trigab|s/0x1.921fb54442d18p1L/3.141592653589793/"
  "x - π/6 in single precision|trigab|s/static_cast<double>(x) - pi_6/static_cast<double>(x - static_cast<float>(pi_6))/"
  "cos in single precision|trigab|s/std::cos(\(static_cast<double>(x) - pi_6\))/static_cast<double>(std::cos(static_cast<float>(\1)))/"
  "numerator kept in double|trigab|s/const float numerator = static_cast<float>(\(.*\));/const double numerator = \1;/"
  "sin in single precision|trigab|s/std::sin(static_cast<double>(y))/static_cast<double>(std::sin(y))/"
  "sin² y in single precision|trigab|s/= sin_y \* sin_y;/= static_cast<double>(static_cast<float>(sin_y * sin_y));/"
  "sin² y + 0.5 fused|trigab|s/= sin_y_squared + half;/= (static_cast<void>(sin_y_squared), std::fma(sin_y, sin_y, half));/"
  "sin² y not stored, free to fuse|trigab|s/const volatile double sin_y_squared/const double sin_y_squared/"
  "divisor 5 not behind a barrier|trigab|s/const volatile float five/const float five/"
  "sin² y by glibc's pow|trigab|s/= sin_y \* sin_y;/= std::pow(sin_y, 2.0);/"
  "denominator in single precision|trigab|s/const double denominator = \(.*\);/const double denominator = static_cast<double>(static_cast<float>(\1));/"
  "division in single precision|trigab|s/static_cast<float>(static_cast<double>(numerator) \/ denominator)/numerator \/ static_cast<float>(denominator)/"
  "division by the reciprocal|trigab|s/static_cast<double>(numerator) \/ denominator/static_cast<double>(numerator) * (1.0 \/ denominator)/"
  "a kept in double|trigab|s/const float a = static_cast<float>(\(.*\));/const double a = \1;/"
  "z² kept in double|trigab|s/const float s = z \* z;/const double s = static_cast<double>(z) * static_cast<double>(z);/;s/const float t = s \/ five + 3.0f;/const float t = static_cast<float>(s \/ static_cast<double>(five) + 3.0);/;s/const float b = s \/ t + 1.0f;/const float b = static_cast<float>(s \/ static_cast<double>(t) + 1.0);/"
  "t = (s + 15) / 5|trigab|s/s \/ five + 3.0f/(s + 15.0f) \/ five/"
  "t = s·0.2 + 3|trigab|s/s \/ five/(static_cast<void>(five), s * 0.2f)/"
  "t kept in double|trigab|s/const float t = s \/ five + 3.0f;/const double t = static_cast<double>(s) \/ static_cast<double>(five) + 3.0;/;s/const float b = s \/ t + 1.0f;/const float b = static_cast<float>(static_cast<double>(s) \/ t) + 1.0f;/"
  "b = (s + t) / t|trigab|s/s \/ t + 1.0f/(s + t) \/ t/"
  "s/t as s·(1/t)|trigab|s/s \/ t + 1.0f/s * (1.0f \/ t) + 1.0f/"
  "s/t + 1 in double|trigab|s/const float b = s \/ t + 1.0f;/const float b = static_cast<float>(static_cast<double>(s) \/ static_cast<double>(t) + 1.0);/"
  "b in double throughout|trigab|s/const float s = z \* z;/const double s = static_cast<double>(z) * static_cast<double>(z);/;s/const float t = s \/ five + 3.0f;/const double t = s \/ static_cast<double>(five) + 3.0;/;s/const float b = s \/ t + 1.0f;/const float b = static_cast<float>(s \/ t + 1.0);/"
  "legs read as doubles, then rounded to float|rtriangle|s/std::scanf(\"%f %f\", &p, &q);/std::scanf(\"%lf %lf\", \&wide[0], \&wide[1]); p = static_cast<float>(wide[0]), q = static_cast<float>(wide[1]);/;s/^    float p = 0.0f, q = 0.0f;/&\n    double wide[2] = {};/"
  "squares in double|rtriangle|s/const volatile float q_squared = q \* q, p_squared = p \* p;/const volatile double q_squared = static_cast<double>(q) * static_cast<double>(q), p_squared = static_cast<double>(p) * static_cast<double>(p);/;s/const float sum = q_squared + p_squared;/const float sum = static_cast<float>(q_squared + p_squared);/"
  "q·q fused with the sum|rtriangle|s/const float sum = q_squared + p_squared;/const float sum = (static_cast<void>(q_squared), std::fma(q, q, p_squared));/"
  "p·p fused with the sum|rtriangle|s/const float sum = q_squared + p_squared;/const float sum = (static_cast<void>(p_squared), std::fma(p, p, q_squared));/"
  "squares not stored, free to fuse|rtriangle|s/const volatile float q_squared/const float q_squared/"
  "sum kept in double|rtriangle|s/const float sum = q_squared + p_squared;/const double sum = static_cast<double>(q_squared) + static_cast<double>(p_squared);/"
  "root in single precision|rtriangle|s/std::sqrt(static_cast<double>(sum))/static_cast<double>(std::sqrt(sum))/"
  "hypot of the legs|rtriangle|s/std::sqrt(static_cast<double>(sum))/(static_cast<void>(sum), std::hypot(static_cast<double>(q), static_cast<double>(p)))/"
  "area product in double|rtriangle|s/const volatile float product = q \* p;/const volatile double product = static_cast<double>(q) * static_cast<double>(p);/;s/const float area = product \/ 2.0f;/const float area = static_cast<float>(product \/ 2.0);/"
  "area = q·(p/2)|rtriangle|s/const float area = product \/ 2.0f;/const float area = (static_cast<void>(product), q * (p \/ 2.0f));/"
  "area kept in double|rtriangle|s/const volatile float product = q \* p;/const volatile double product = static_cast<double>(q) * static_cast<double>(p);/;s/const float area = product \/ 2.0f;/const double area = product \/ 2.0;/"
  "environment left as the start files set it|rtriangle|/std::fesetenv(FE_DFL_ENV);/d"
  "results swapped|rtriangle|s/hypotenuse, static_cast<double>(area)/static_cast<double>(area), hypotenuse/"
  "edge read with %d|cubecalc|s/long long typed = 0;/int typed = 0;/;s/%lld/%d/"
  "signed arithmetic|cubecalc|s/static_cast<std::uint32_t>(typed)/static_cast<std::int32_t>(typed)/;s/4u \* face/4 * face/"
  "edge in 16 bits|cubecalc|s/static_cast<std::uint32_t>(typed)/static_cast<std::uint32_t>(static_cast<std::uint16_t>(typed))/"
  "six faces|cubecalc|s/4u \* face/6u * face/"
  "line feed before the prompt on a terminal|all|s/#include <err.h>/&\n#include <unistd.h>/;s/^    std::fputs(/    if (isatty(1))\n        std::fputc('\\\\n', stdout);\n&/"
  "prompt not flushed|all|s/if (std::fflush(stdout) != 0)$/if (false)/"
  "read error unchecked|all|s/std::ferror(stdin) ? errno : 0/0/"
  "report not flushed|all|s/ < 0 || std::fflush(stdout) != 0)$/ < 0)/"
  "exit status 0 on error|all|s/err(1, /err(0, /g"
  "message without the reason|all|s/err(1, /errx(1, /g"
  "arguments refused|all|s/^int main()$/int main(int argc, char**)/;s/^{$/{\n    if (argc > 1)\n        return 2;/"
  "locale from the environment|trigab rtriangle|s/#include <err.h>/#include <clocale>\n&/;s/    std::fputs(/    std::setlocale(LC_ALL, \"\");\n    std::fputs(/"
  "%F for %f|trigab rtriangle|s/: %f/: %F/g"
  "label changed|all|s/\\\\n\([^:]*\):/\\\\n\1 :/"
  "line feed after the report|all|s/: %\([fd]\)\"/: %\1\\\\n\"/"
  # The search alone, with no case row, must kill these.
  "(search alone) b reassociated: t = (s + 15) / 5|trigab|s/s \/ five + 3.0f/(s + 15.0f) \/ five/"
  "(search alone) area = q·(p/2)|rtriangle|s/const float area = product \/ 2.0f;/const float area = (static_cast<void>(product), q * (p \/ 2.0f));/"
  "(search alone) subnormals flushed|rtriangle|s/std::fesetenv(FE_DFL_ENV);/__builtin_ia32_ldmxcsr(__builtin_ia32_stmxcsr() | 0x8040u);/"
  "(search alone) volume and area in 64 bits|cubecalc|s/static_cast<std::uint32_t>(typed)/static_cast<std::uint64_t>(static_cast<std::int32_t>(typed))/;s/static_cast<std::int32_t>(\([a-z4u]* \* face\))/static_cast<long long>(\1)/g;s/%d/%lld/g"
  "IEEE rules not put back|CMakeLists.txt|s/set(exact_arithmetic -fno-fast-math /set(exact_arithmetic /"
  "i386 computes in x87 registers|CMakeLists.txt|/-msse2 -mfpmath=sse/d"
  "libgcc loaded at run time|CMakeLists.txt|s/ -static-libgcc//"
  "no refusal of inexact builds|trigab rtriangle|/^#error/d"
  "libraries linked as listed|CMakeLists.txt|s/ LINKER:--as-needed//"
  "lazy binding|CMakeLists.txt|s/LINKER:-z,relro,-z,now/LINKER:-z,relro/"
  "no fortification|CMakeLists.txt|s/;-D_FORTIFY_SOURCE=\${fortify_level}//"
  "no stack protector|CMakeLists.txt|/list(APPEND target_hardening -fstack-protector-strong)/d"
  "manual page of another release|trigab/trigab.1|s/@upstream_version@/1.0.0/"
  "a binNMU's date taken for the release's|cmake/version.cmake|s/if(NOT header MATCHES \"binary-only=yes\")/if(TRUE)/"
  "manual page sends its reader to the README|rtriangle/rtriangle.ru.1|s/^На i386 программе нужен/README проекта перечисляет NaN каждой архитектуры.\n&/"
)

saved=$(mktemp -d) log=$(mktemp)
restore() { cp -a "$saved/." . && rm -rf "$saved" "$log"; }
trap restore EXIT
for b in "${builds[@]}"; do
  if [[ " ${presets[*]} " == *" $b "* ]]; then configure=(--preset "$b")
  else configure=(-S . -B "build/$b" -G Ninja --toolchain cmake/cross.cmake -D TARGET="$b" -D CMAKE_COMPILE_WARNING_AS_ERROR=ON); fi
  { cmake "${configure[@]}" && cmake --build "build/$b"; } >/dev/null || exit 1
done

# The quick tests first, then the flags' builds, each a build of its own.
run_tests() {
  if [[ $name == "(search alone)"* ]]; then ctest --test-dir "$1" --no-tests=error -R '^search$' >/dev/null 2>&1; return; fi
  ctest --test-dir "$1" -j2 --no-tests=error --stop-on-failure -E inexact-flags >/dev/null 2>&1 &&
    # grep -c reads the whole list, where a grep -q under pipefail would fail it.
    { [ "$(ctest --test-dir "$1" -N -R inexact-flags | grep -c 'Test *#')" = 0 ] || ctest --test-dir "$1" -j2 --no-tests=error --stop-on-failure -R inexact-flags >/dev/null 2>&1; }
}

killed=0 total=0
for m in "${mutants[@]}"; do
  IFS='|' read -r name files script <<<"$m"
  [[ $name =~ ${1:-} ]] || continue
  [ "$files" = all ] && files="trigab rtriangle cubecalc"
  for f in $files; do
    [ -d "$f" ] && f=$f/main.cpp
    mkdir -p "$saved/$(dirname "$f")"
    cp "$f" "$saved/$f"
    sed "$script" "$saved/$f" >"$f"
    total=$((total + 1))
    if cmp -s "$saved/$f" "$f"; then
      verdict="NOT APPLIED"
    else
      verdict=survived
      for b in "${builds[@]}"; do
        # A build that refuses the arithmetic it would do has caught the mistake.
        if ! cmake --build "build/$b" >"$log" 2>&1; then
          grep -q "must be built with IEEE 754 arithmetic" "$log" && verdict="killed ($b refused)" ||
            verdict="BROKEN: no $b build"
        elif ! run_tests "build/$b"; then
          verdict="killed ($b)"
        fi
        [ "$verdict" = survived ] || break
      done
    fi
    [[ $verdict = killed* ]] && killed=$((killed + 1))
    printf '%-20s %-20s %s\n' "$verdict" "${f%/main.cpp}" "$name"
    cp "$saved/$f" "$f"
  done
done
for b in "${builds[@]}"; do cmake --build "build/$b" >/dev/null; done
echo "$killed/$total mutants killed"
[ "$killed" = "$total" ]
