#!/usr/bin/env bash
# A flag that would make the arithmetic round otherwise, such as -ffast-math
# or i386's -mfpmath=387: a build that the user configures with it still
# prints every case row right, and the float programs compiled with it alone,
# without the project's flags, refuse to compile and say why.
#   inexact-flags.sh FLAG COMPILER COMPILER_ID CMAKE CONFIGURE_ARG... -- CASES_COMMAND...
set -euo pipefail
flag=$1 cxx=$2 id=$3
shift 3
configure=()
while [ "$1" != -- ]; do configure+=("$1"); shift; done
shift
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

for program in trigab rtriangle; do
  source=${configure[2]}/$program/main.cpp
  # Clang says nothing of -funsafe-math-optimizations to the preprocessor:
  # there only the project's flags keep the arithmetic exact.
  [ "$id" = Clang ] && [ "$flag" = -funsafe-math-optimizations ] && continue
  if "$cxx" -std=c++20 "$flag" -fsyntax-only "$source" 2>"$scratch/errors"; then
    echo "$program compiles with $flag" >&2
    exit 1
  fi
  grep -q "must be built with IEEE 754 arithmetic" "$scratch/errors" || { cat "$scratch/errors" >&2; exit 1; }
done

"${configure[@]}" -B "$scratch/build" -D BUILD_TESTING=OFF "-D CMAKE_CXX_FLAGS=$flag" >"$scratch/log" 2>&1 &&
  "${configure[0]}" --build "$scratch/build" >>"$scratch/log" 2>&1 || { cat "$scratch/log" >&2; exit 1; }
cases=("$@")
for i in "${!cases[@]}"; do
  [ "${cases[i]}" = --run ] && cases[i + 1]=$scratch/build
done
"${cases[@]}"
