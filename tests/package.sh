#!/usr/bin/env bash
# Makes the packages from the install rules and checks them: the .deb is
# named for the architecture it says it is for, and unpacked into a scratch
# root as dpkg would install it, runs a program from there (under the
# emulator, if one is given); its files carry the newest changelog entry's
# date, its manual pages that entry's version and date, and, built for this
# machine, it depends on the libc that dpkg-shlibdeps finds; a second build of the same sources in another
# directory, later, packs byte for byte the same .deb and .tar.gz; so do two
# builds of another build type.
#   package.sh CMAKE SOURCE_DIRECTORY BUILD_DIRECTORY BUILD_TYPE LAUNCHER [CONFIGURE OPTION...]
set -euo pipefail
cmake=$1 source=$2 build=$3 type=$4 launcher=$5
shift 5
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
deb=$(echo "$scratch"/first.packed/*.deb)
arch=$(dpkg-deb -f "$deb" Architecture)
[ "${deb##*/}" = "rucalc_$(dpkg-deb -f "$deb" Version)_$arch.deb" ] && [ -f "$scratch"/first.packed/rucalc-*-"$arch".tar.gz ] ||
  { echo "packages named otherwise than for $arch:" "$scratch"/first.packed/* >&2; exit 1; }
dpkg -x "$deb" "$scratch/root"
for f in usr/bin/{trigab,rtriangle,cubecalc} usr/share/man/{,ru/}man1/{trigab,rtriangle,cubecalc}.1.gz \
         usr/share/doc/rucalc/{copyright,changelog.gz}; do
  [ -f "$scratch/root/$f" ] || { echo "the package lacks /$f" >&2; exit 1; }
done
printf '3 4' | $launcher "$scratch/root/usr/bin/rtriangle" >"$scratch/out"
printf 'Длины двух катетов через пробел: Гипотенуза: 5.000000\nПлощадь: 6.000000' | cmp - "$scratch/out"
stamp=$(dpkg-parsechangelog -l "$source/changelog" -STimestamp)
[ "$(stat -c %Y "$scratch/root/usr/bin/rtriangle")" = "$stamp" ] || { echo "the packed files do not carry the changelog's date" >&2; exit 1; }
version=$(dpkg-parsechangelog -l "$source/changelog" -SVersion) day=$(date -u -d "@$stamp" +%F)
for page in "$scratch"/root/usr/share/man/{,ru/}man1/*.1.gz; do
  zcat "$page" | grep -q "^\.TH [A-Z]* 1 $day \"rucalc $version\" " ||
    { echo "${page#"$scratch/root"} does not say rucalc $version of $day" >&2; exit 1; }
done
if [ -z "$launcher" ]; then
  mkdir "$scratch/debian"
  printf 'Source: rucalc\n\nPackage: rucalc\nArchitecture: any\n' >"$scratch/debian/control"
  shlibs=$(cd "$scratch" && dpkg-shlibdeps -O root/usr/bin/* 2>/dev/null)
  depends=$(dpkg-deb -f "$deb" Depends)
  [ "$shlibs" = "shlibs:Depends=$depends" ] || { echo "the package depends on $depends; dpkg-shlibdeps says $shlibs" >&2; exit 1; }
fi

sleep 1
again second "$type" "$@"
same first second "$type"
other=RelWithDebInfo
[ "$type" = RelWithDebInfo ] && other=Debug
again other-1 "$other" "$@"
again other-2 "$other" "$@"
same other-1 other-2 "$other"
