#!/usr/bin/env bash
# Makes the .deb from the install rules, unpacks it into a scratch root as
# dpkg would install it, and runs a program from there.
#   package.sh CPACK BUILD_DIRECTORY
set -euo pipefail
cpack=$1 build=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

"$cpack" --config "$build/CPackConfig.cmake" -G DEB -B "$scratch" >/dev/null
dpkg -x "$scratch"/*.deb "$scratch/root"
for f in usr/bin/{trigab,rtriangle,cubecalc} usr/share/man/man1/{trigab,rtriangle,cubecalc}.1.gz \
         usr/share/doc/rucalc/{copyright,changelog.gz}; do
  [ -f "$scratch/root/$f" ] || { echo "the package lacks /$f" >&2; exit 1; }
done
printf '3 4' | "$scratch/root/usr/bin/rtriangle" >"$scratch/out"
printf 'Длины двух катетов через пробел: Гипотенуза: 5.000000\nПлощадь: 6.000000' | cmp - "$scratch/out"
