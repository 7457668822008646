#!/bin/sh
# The programs, one a line: the folders of the tree that hold a main.cpp;
# with --float, those that compute in floating point, which carry the guard
# that refuses a build that would round otherwise.
cd "$(dirname "$0")/.." || exit
for main in */main.cpp; do
  [ "${1:-}" != --float ] || grep -q 'must be built with IEEE 754 arithmetic' "$main" || continue
  echo "${main%/main.cpp}"
done
