#!/usr/bin/env bash
# A flag that would make the arithmetic round otherwise, such as -ffast-math,
# given to the compiler and target of a build, or with --link= to its link
# alone: the project built with it still prints every case row and passes the
# search, and so does each main.cpp built alone at -O2 by the build's compiler
# (and, for a GCC build, by Clang where it is installed) unless it refuses to
# compile naming CAUSE ("none": it must not). A compiler without it is passed by.
#   inexact-flags.sh [--link=]FLAG BUILD CAUSE    BUILD: the folder of the build to copy
set -euo pipefail
flag=${1#--link=} build=$2 cause=$3
compile=$flag link=
[ "$1" = "$flag" ] || compile= link=$flag
source=$(cd "$(dirname "$0")/.." && pwd)
cache() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }
scratch=$(mktemp -d)
trap 'rm -rf "$scratch" "$scratch.log"' EXIT

options=()
for v in CMAKE_BUILD_TYPE CMAKE_CXX_COMPILER CMAKE_CXX_COMPILER_TARGET CMAKE_TOOLCHAIN_FILE TARGET CMAKE_COMPILE_WARNING_AS_ERROR; do
  [ -z "$(cache $v)" ] || options+=(-D "$v=$(cache $v)")
done
"$(cache CMAKE_COMMAND)" -S "$source" -B "$scratch" -G "$(cache CMAKE_GENERATOR)" "${options[@]}" \
  -D "CMAKE_CXX_FLAGS=$compile" -D "CMAKE_EXE_LINKER_FLAGS=$link" >"$scratch.log" 2>&1 &&
  "$(cache CMAKE_COMMAND)" --build "$scratch" >>"$scratch.log" 2>&1 || { cat "$scratch.log" >&2; exit 1; }
check() { SEARCH_PROFILE=short "$(cache CMAKE_CTEST_COMMAND)" --test-dir "$scratch" --no-tests=error -R '^(rows|search)$' --output-on-failure; }
check

# The compiler as CMake found it, and Clang for its target beside GCC.
compiler=$(sed -n 's/^set(CMAKE_CXX_COMPILER "\(.*\)")$/\1/p' "$build"/CMakeFiles/*/CMakeCXXCompiler.cmake)
triple=$(cache TARGET) other=
[[ $("$compiler" --version) == *clang* ]] || other="clang++${triple:+ --target=$triple}"
command -v clang++ >/dev/null || other=
[ -z "$(cache CMAKE_CXX_COMPILER_TARGET)" ] || compiler="$compiler --target=$(cache CMAKE_CXX_COMPILER_TARGET)"
# shellcheck disable=SC2086 # the compiler and the flag may be several words
for cxx in "$compiler" ${other:+"$other"}; do
  echo 'int main() {}' | $cxx $compile -x c++ -c - -o "$scratch/empty.o" 2>/dev/null || { echo "$cxx has no $1"; continue; }
  refused=0
  for program in $("$source/tests/programs.sh"); do
    if ! $cxx -O2 $compile -c "$source/$program/main.cpp" -o "$scratch/$program.o" 2>"$scratch/errors" ||
       ! $cxx $link "$scratch/$program.o" -o "$scratch/bin/$program" 2>>"$scratch/errors"; then
      grep "must be built with IEEE 754 arithmetic: .*$cause" "$scratch/errors" || { cat "$scratch/errors" >&2; exit 1; }
      echo "$program alone refuses $1 with $cxx" && refused=$((refused + 1))
    fi
  done
  # Where every program with floating point refused, nothing new is left to run.
  ((refused == $("$source/tests/programs.sh" --float | wc -l))) || check
done
