#!/usr/bin/env bash
# A flag that would make the arithmetic round otherwise, such as -ffast-math
# or i386's -mfpmath=387: a build that the user configures with it still
# prints every case row right, and the float programs compiled with it alone,
# without the project's flags, refuse to compile and say why.
#   inexact-flags.sh FLAG CMAKE SOURCE COMPILER COMPILER_ID TARGET LAUNCHER [CONFIGURE_OPTION...]
set -euo pipefail
flag=$1 cmake=$2 source=$3 cxx=$4 id=$5 target=$6 launcher=$7
shift 7
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

for program in trigab rtriangle; do
  # Clang says nothing of -funsafe-math-optimizations to the preprocessor:
  # there only the project's flags keep the arithmetic exact.
  [ "$id" = Clang ] && [ "$flag" = -funsafe-math-optimizations ] && continue
  if "$cxx" -std=c++20 "$flag" -fsyntax-only "$source/$program/main.cpp" 2>"$scratch/errors"; then
    echo "$program compiles with $flag" >&2
    exit 1
  fi
  grep -q "must be built with IEEE 754 arithmetic" "$scratch/errors" || { cat "$scratch/errors" >&2; exit 1; }
done

"$cmake" -S "$source" -B "$scratch/build" -G Ninja -D CMAKE_CXX_COMPILER="$cxx" -D BUILD_TESTING=OFF \
  "-D CMAKE_CXX_FLAGS=$flag" "$@" >"$scratch/log" 2>&1 &&
  "$cmake" --build "$scratch/build" >>"$scratch/log" 2>&1 || { cat "$scratch/log" >&2; exit 1; }
"$source/tests/oracle.py" --check "$source"/tests/cases/*.jsonl --programs "$scratch/build/bin" --target "$target" --launcher "$launcher"
