#!/usr/bin/env bash
# Makes the packages from the install rules and checks them: the .deb
# unpacked into a scratch root as dpkg would install it runs a program from
# there, and a second build of the same sources in another directory, later,
# packs byte for byte the same .deb and .tar.gz; so do two builds of another
# build type.
#   package.sh CMAKE SOURCE_DIRECTORY BUILD_DIRECTORY BUILD_TYPE [CONFIGURE OPTION...]
set -euo pipefail
cmake=$1 source=$2 build=$3 type=$4
shift 4
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# The time stamp must come from the sources, not from this run.
unset SOURCE_DATE_EPOCH

pack() { "$(dirname "$cmake")/cpack" --config "$1/CPackConfig.cmake" -B "$2" >/dev/null; }
again() {
  "$cmake" -S "$source" -B "$scratch/$1" -G Ninja -D BUILD_TESTING=OFF -D CMAKE_BUILD_TYPE="$2" "${@:3}" >/dev/null
  "$cmake" --build "$scratch/$1" >/dev/null
  pack "$scratch/$1" "$scratch/$1.packed"
}
same() {
  for f in "$scratch/$1.packed"/*.{deb,tar.gz}; do
    cmp "$f" "$scratch/$2.packed/${f##*/}" || { echo "a second $3 build packs another ${f##*/}" >&2; exit 1; }
  done
}

pack "$build" "$scratch/first.packed"
dpkg -x "$scratch"/first.packed/*.deb "$scratch/root"
for f in usr/bin/{trigab,rtriangle,cubecalc} usr/share/man/{,ru/}man1/{trigab,rtriangle,cubecalc}.1.gz \
         usr/share/doc/rucalc/{copyright,changelog.gz}; do
  [ -f "$scratch/root/$f" ] || { echo "the package lacks /$f" >&2; exit 1; }
done
printf '3 4' | "$scratch/root/usr/bin/rtriangle" >"$scratch/out"
printf 'Длины двух катетов через пробел: Гипотенуза: 5.000000\nПлощадь: 6.000000' | cmp - "$scratch/out"

sleep 1
again second "$type" "$@"
same first second "$type"
other=RelWithDebInfo
[ "$type" = RelWithDebInfo ] && other=Debug
again other-1 "$other" "$@"
again other-2 "$other" "$@"
same other-1 other-2 "$other"
