#!/usr/bin/env bash
# Start-to-exit cost of each program against the floor: an empty C program
# linked to the same shared libraries with the same flags. Instructions come
# from callgrind (repeatable); wall time from hyperfine, where installed.
#
#   bench/startup.sh [build directory]    (default: build/default)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/default}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

command -v valgrind >/dev/null || { echo "startup.sh: valgrind is not installed" >&2; exit 1; }
for p in trigab rtriangle cubecalc; do
  [ -x "$build/$p/$p" ] || { echo "startup.sh: $build/$p/$p is not built" >&2; exit 1; }
done

# The floors: nothing but loading, relocating and exiting.
echo 'int main(void) { return 0; }' >"$work/empty.c"
flags=(-O2 -fPIE -pie -Wl,-z,relro,-z,now -Wl,--no-as-needed)
cc "${flags[@]}" "$work/empty.c" -o "$work/floor-c"
cc "${flags[@]}" "$work/empty.c" -o "$work/floor-cm" -lm

# instructions PROGRAM INPUT: instructions executed from exec to exit.
instructions() {
  valgrind --tool=callgrind --callgrind-out-file=/dev/null "$1" <"$2" 2>&1 >/dev/null |
    sed -n 's/.*Collected : *\([0-9]*\).*/\1/p'
}

printf '3 4\n' >"$work/rtriangle.in"
printf '1 2 3\n' >"$work/trigab.in"
printf '3\n' >"$work/cubecalc.in"
: >"$work/empty.in"

printf '%-10s %-10s %12s %12s %7s\n' program floor instructions floor ratio
for p in trigab rtriangle cubecalc; do
  floor=floor-cm
  [ "$p" = cubecalc ] && floor=floor-c
  n=$(instructions "$build/$p/$p" "$work/$p.in")
  f=$(instructions "$work/$floor" "$work/empty.in")
  printf '%-10s %-10s %12d %12d %7s\n' "$p" "$floor" "$n" "$f" "$(awk "BEGIN { printf \"%.3f\", $n / $f }")"
done

if command -v hyperfine >/dev/null; then
  # Without a shell, whose cost would swamp the difference; hyperfine then
  # gives every command an empty standard input.
  echo
  echo "wall time, standard input empty:"
  hyperfine -N --warmup 200 --runs 3000 --style basic \
    "$work/floor-c" "$work/floor-cm" "$build/trigab/trigab" "$build/rtriangle/rtriangle" "$build/cubecalc/cubecalc" 2>&1 |
    grep -E 'Benchmark|Time' | sed "s|$work/||g"
else
  echo "(hyperfine is not installed: no wall times)"
fi
