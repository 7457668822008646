#!/usr/bin/env bash
# A flag that would make the arithmetic round otherwise, such as -ffast-math
# or i386's -mfpmath=387, given to the compiler and target of a build: the
# project configured with it still prints every case row, and so does each
# main.cpp compiled alone with it and -O2, as one compiles a single file by
# hand, unless it refuses to compile and says why.
#   inexact-flags.sh FLAG BUILD    BUILD: the folder of the build to copy
set -euo pipefail
flag=$1 build=$2
source=$(cd "$(dirname "$0")/.." && pwd)
cache() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }
scratch=$(mktemp -d)
trap 'rm -rf "$scratch" "$scratch.log"' EXIT

options=()
for v in CMAKE_BUILD_TYPE CMAKE_CXX_COMPILER CMAKE_CXX_COMPILER_TARGET CMAKE_TOOLCHAIN_FILE TARGET CMAKE_COMPILE_WARNING_AS_ERROR; do
  [ -z "$(cache $v)" ] || options+=(-D "$v=$(cache $v)")
done
"$(cache CMAKE_COMMAND)" -S "$source" -B "$scratch" -G "$(cache CMAKE_GENERATOR)" "${options[@]}" -D "CMAKE_CXX_FLAGS=$flag" >"$scratch.log" 2>&1 &&
  "$(cache CMAKE_COMMAND)" --build "$scratch" >>"$scratch.log" 2>&1 || { cat "$scratch.log" >&2; exit 1; }
rows() { "$(cache CMAKE_CTEST_COMMAND)" --test-dir "$scratch" --no-tests=error -R '^rows$' --output-on-failure; }
rows

# The compiler as CMake found it, whether named or set by a toolchain file.
compiler=$(sed -n 's/^set(CMAKE_CXX_COMPILER "\(.*\)")$/\1/p' "$build"/CMakeFiles/*/CMakeCXXCompiler.cmake)
target=$(cache CMAKE_CXX_COMPILER_TARGET)
for program in trigab rtriangle cubecalc; do
  # shellcheck disable=SC2086 # the flag may be several
  if ! "$compiler" ${target:+--target=$target} -O2 $flag "$source/$program/main.cpp" \
       -o "$scratch/bin/$program" 2>"$scratch/errors"; then
    grep -q "must be built with IEEE 754 arithmetic" "$scratch/errors" || { cat "$scratch/errors" >&2; exit 1; }
    echo "$program alone refuses $flag"
  fi
done
rows
