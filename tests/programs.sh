#!/bin/sh
# The programs, one a line: the folders of the tree with a main.cpp; with
# --float, those whose code, comments aside, computes with float or double.
cd "$(dirname "$0")/.." || exit
for main in */main.cpp; do
  [ "${1:-}" != --float ] || sed 's|//.*||' "$main" | grep -qwE 'float|double' || continue
  echo "${main%/main.cpp}"
done
