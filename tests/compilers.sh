#!/usr/bin/env bash
# Every C++ compiler here (each g++-N and clang++-N on the PATH), or those
# named, builds the programs with warnings as errors at -O0 and at -O2 for
# this CPU: each build prints every case row, passes the search (short) and
# links as checked, and each Clang's -O0 build keeps reciprocal math exact.
#   tests/compilers.sh [COMPILER...]
set -uo pipefail
cd "$(dirname "$0")/.."
(($#)) || set -- $(compgen -c | grep -E '^(g|clang)\+\+-[0-9]+$' | sort -uV)
(($#)) || { echo "compilers.sh: no g++-N or clang++-N here" >&2; exit 1; }
mapfile -t required < <(echo rows; echo search; tests/programs.sh | sed 's/$/.linkage/')
run_tests() {
  [[ $cxx != clang* || $type != Debug ]] || set -- "$1" "inexact-flags -ffast-math -fhonor-nans -mrecip"
  for t in "${required[@]}" "${@:2}"; do
    SEARCH_PROFILE=short ctest --test-dir "$1" --no-tests=error -R "^${t//./\\.}\$" --output-on-failure || return
  done
}
mkdir -p build/compilers
passed=0 failed=0
for cxx; do
  for build in "Debug" "RelWithDebInfo -march=native"; do
    read -r type flags <<<"$build"
    dir=build/compilers/$cxx-$type${flags:+-native}
    if { cmake -S . -B "$dir" -G Ninja -D CMAKE_CXX_COMPILER="$cxx" -D CMAKE_BUILD_TYPE="$type" \
           -D CMAKE_CXX_FLAGS="$flags" -D CMAKE_COMPILE_WARNING_AS_ERROR=ON && cmake --build "$dir" &&
         run_tests "$dir"; } >"$dir.log" 2>&1; then
      passed=$((passed + 1)) verdict=ok
    else
      failed=$((failed + 1)) verdict="FAILED (see $dir.log)"
    fi
    printf '%-14s %-26s %s\n' "$cxx" "$type $flags" "$verdict"
  done
done
echo "$passed passed, $failed failed"
((failed == 0))
