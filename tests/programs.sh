#!/bin/sh
# The programs, one a line: the folders of the tree that hold a main.cpp;
# with --float, those whose code, comments aside, computes with float or
# double (each must carry the guard that refuses a build rounding otherwise).
cd "$(dirname "$0")/.." || exit
for main in */main.cpp; do
  [ "${1:-}" != --float ] || sed 's|//.*||' "$main" | grep -qwE 'float|double' || continue
  echo "${main%/main.cpp}"
done
