#!/usr/bin/env bash
# Makes the packages from the install rules and checks them: the .deb
# unpacked into a scratch root as dpkg would install it runs a program from
# there, and a second build of the same sources in another directory, later,
# packs byte for byte the same .deb and .tar.gz.
#   package.sh CMAKE SOURCE_DIRECTORY BUILD_DIRECTORY [CONFIGURE OPTION...]
set -euo pipefail
cmake=$1 source=$2 build=$3
shift 3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# The time stamp must come from the sources, not from this run.
unset SOURCE_DATE_EPOCH

pack() { "$(dirname "$cmake")/cpack" --config "$1/CPackConfig.cmake" -B "$2" >/dev/null; }
pack "$build" "$scratch/first"
dpkg -x "$scratch"/first/*.deb "$scratch/root"
for f in usr/bin/{trigab,rtriangle,cubecalc} usr/share/man/{,ru/}man1/{trigab,rtriangle,cubecalc}.1.gz \
         usr/share/doc/rucalc/{copyright,changelog.gz}; do
  [ -f "$scratch/root/$f" ] || { echo "the package lacks /$f" >&2; exit 1; }
done
printf '3 4' | "$scratch/root/usr/bin/rtriangle" >"$scratch/out"
printf 'Длины двух катетов через пробел: Гипотенуза: 5.000000\nПлощадь: 6.000000' | cmp - "$scratch/out"

sleep 1
"$cmake" -S "$source" -B "$scratch/again" -G Ninja -D BUILD_TESTING=OFF "$@" >/dev/null
"$cmake" --build "$scratch/again" >/dev/null
pack "$scratch/again" "$scratch/second"
for f in "$scratch"/first/*.{deb,tar.gz}; do
  cmp "$f" "$scratch/second/${f##*/}" || { echo "a second build packs another ${f##*/}" >&2; exit 1; }
done
