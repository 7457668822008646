#!/usr/bin/env bash
# Start-to-exit cost of each program against two floors: an empty main
# compiled and linked by the build's own commands for trigab, so with the
# same flags, with libc alone (floor-c) or libm loaded too, though unused
# (floor-cm: what trigab and rtriangle need at the least). Instructions come from callgrind
# (repeatable), with an empty environment, whose size the loader's work
# depends on; wall time from hyperfine, where installed.
#
#   bench/startup.sh [build directory]    (default: build/default)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/default}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

command -v valgrind >/dev/null || { echo "startup.sh: valgrind is not installed" >&2; exit 1; }
mapfile -t programs < <(tests/programs.sh)
for p in "${programs[@]}"; do
  [ -x "$build/bin/$p" ] || { echo "startup.sh: $build/bin/$p is not built" >&2; exit 1; }
  # Each answers its first case row.
  python3 -c 'import json, sys; print(json.loads(open(sys.argv[1]).readline())["input"])' "tests/cases/$p.jsonl" >"$work/$p.in"
done

# The floors: nothing but loading, relocating and exiting.
echo 'int main() { return 0; }' >"$work/empty.cpp"
commands=$(ninja -C "$build" -t commands bin/trigab)
compile=$(grep -- ' -c .*/trigab/main.cpp$' <<<"$commands" | sed -E 's/ -MD//; s/ -M[TF] [^ ]+//g; s/ -o [^ ]+ -c [^ ]+$//')
link=$(tail -1 <<<"$commands" | sed -E 's/^: && //; s/ && :$//; s| [^ ]*main\.cpp\.o -o [^ ]+| empty.o|')
(
  cd "$work"
  $compile -c empty.cpp -o empty.o
  ${link/ -lm/} -o floor-c
  ${link/ -lm/ -Wl,--no-as-needed,-lm,--as-needed} -o floor-cm
)

# instructions PROGRAM INPUT: instructions executed from exec to exit.
instructions() {
  env -i "$(command -v valgrind)" --tool=callgrind --callgrind-out-file=/dev/null "$1" <"$2" 2>&1 >/dev/null |
    sed -n 's/.*Collected : *\([0-9]*\).*/\1/p'
}

: >"$work/empty.in"

# Each program against both floors: libc alone, and libc with libm loaded.
c=$(instructions "$work/floor-c" "$work/empty.in")
cm=$(instructions "$work/floor-cm" "$work/empty.in")
printf '%-10s %12s %9s %9s\n' program instructions /floor-c /floor-cm
for p in "${programs[@]}"; do
  n=$(instructions "$build/bin/$p" "$work/$p.in")
  printf '%-10s %12d %9s %9s\n' "$p" "$n" "$(awk "BEGIN { printf \"%.3f\", $n / $c }")" "$(awk "BEGIN { printf \"%.3f\", $n / $cm }")"
done
printf '%-10s %12d\n%-10s %12d\n' floor-c "$c" floor-cm "$cm"

if command -v hyperfine >/dev/null; then
  # Without a shell, whose cost would swamp the difference; hyperfine then
  # gives every command an empty standard input.
  echo
  echo "wall time, standard input empty:"
  hyperfine -N --warmup 200 --runs 3000 --style basic \
    "$work/floor-c" "$work/floor-cm" "${programs[@]/#/$build/bin/}" 2>&1 |
    grep -E 'Benchmark|Time' | sed "s|$work/||g"
else
  echo "(hyperfine is not installed: no wall times)"
fi
