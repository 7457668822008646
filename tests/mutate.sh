#!/usr/bin/env bash
# Mutation testing. Each patch in tests/mutants is a plausible mistake, named
# by its first line ("(search alone)" first where the search alone must catch
# it), and a mutant for each file it touches. On a scratch copy of the tree,
# each is applied and the suite run on each build below until a test fails:
# one no test kills is a hole in the suite. One that no longer applies fails
# the run before anything is built.
#   tests/mutate.sh [REGEX]    only the mutants whose first line matches
#   tests/mutate.sh --check    only whether every mutant applies
#   BUILDS="default aarch64-linux-gnu" tests/mutate.sh ...   on these presets or triples
set -uo pipefail
tree=$(cd "$(dirname "$0")/.." && pwd)
cd "$tree" || exit 1
# The presets, then i386 (x87) and armel (32-bit long, libgcc's floating point).
presets=(default native sanitize)
targets=("$(.ci/targets triple arch i386)" "$(.ci/targets triple arch armel)")
read -r -a builds <<<"${BUILDS:-${presets[*]} ${targets[*]}}"

# "PATCH FILE", for each file each patch touches.
mapfile -t mutants < <(for p in tests/mutants/*.patch; do sed -n "s|^+++ b/|$p |p" "$p"; done)
for m in "${mutants[@]}"; do
  read -r patch file <<<"$m"
  git apply --check --include="$file" "$patch" 2>/dev/null || { echo "DOES NOT APPLY: $patch to $file"; failed=1; }
done
[ -z "${failed:-}" ] || exit 1
[ "${1:-}" != --check ] || { echo "all ${#mutants[@]} mutants apply"; exit 0; }

scratch=$(mktemp -d) log=$(mktemp)
trap 'rm -rf "$scratch" "$log"' EXIT
git ls-files -z -co --exclude-standard | tar --null -T - -cf - | tar -xf - -C "$scratch"
cd "$scratch" || exit 1
for b in "${builds[@]}"; do
  if [[ " ${presets[*]} " == *" $b "* ]]; then configure=(--preset "$b")
  else configure=(-S . -B "build/$b" -G Ninja --toolchain cmake/cross.cmake -D TARGET="$b" -D CMAKE_COMPILE_WARNING_AS_ERROR=ON); fi
  { cmake "${configure[@]}" && cmake --build "build/$b"; } >/dev/null || exit 1
done

# The quick tests first, then the flags' builds, each a build of its own.
run_tests() {
  if [[ $name == "(search alone)"* ]]; then ctest --test-dir "$1" --no-tests=error -R '^search$' >/dev/null 2>&1; return; fi
  ctest --test-dir "$1" -j2 --no-tests=error --stop-on-failure -E inexact-flags >/dev/null 2>&1 &&
    # grep -c reads the whole list, where a grep -q under pipefail would fail it.
    { [ "$(ctest --test-dir "$1" -N -R inexact-flags | grep -c 'Test *#')" = 0 ] || ctest --test-dir "$1" -j2 --no-tests=error --stop-on-failure -R inexact-flags >/dev/null 2>&1; }
}

killed=0 total=0
for m in "${mutants[@]}"; do
  read -r patch file <<<"$m"
  name=$(head -1 "$patch")
  [[ $name =~ ${1:-} ]] || continue
  git apply --include="$file" "$patch" || exit 1
  total=$((total + 1)) verdict=survived
  for b in "${builds[@]}"; do
    # A build that refuses the arithmetic it would do has caught the mistake.
    if ! cmake --build "build/$b" >"$log" 2>&1; then
      grep -q "must be built with IEEE 754 arithmetic" "$log" && verdict="killed ($b refused)" || verdict="BROKEN: no $b build"
    elif ! run_tests "build/$b"; then
      verdict="killed ($b)"
    fi
    [ "$verdict" = survived ] || break
  done
  [[ $verdict = killed* ]] && killed=$((killed + 1))
  printf '%-20s %-20s %s\n' "$verdict" "${file%/main.cpp}" "$name"
  git apply -R --include="$file" "$patch" || exit 1
done
echo "$killed/$total mutants killed"
[ "$killed" = "$total" ]
