#!/usr/bin/env bash
# Proves the README's set-up on a freshly bootstrapped minimal Debian: its two
# commands, run there as written (as root, so without sudo), build and run a
# program, then run every test; between them, the test command without the
# Python test libraries must fail and name them. Then the other presets, with
# the release's Clang, and any further commands given.
# Needs root, debootstrap and the machine's Debian mirror.
#
#   tests/fresh-debian.sh RELEASE [COMMAND...]    RELEASE: bookworm, trixie, testing...
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
release=${1:?usage: fresh-debian.sh RELEASE [COMMAND...]}
shift
[ "$(id -u)" = 0 ] || { echo "fresh-debian.sh: must run as root" >&2; exit 1; }
command -v debootstrap >/dev/null || { echo "fresh-debian.sh: debootstrap is not installed" >&2; exit 1; }

# The mirror this machine's apt already uses for its own release.
. /etc/os-release
mirror=$(apt-get indextargets --format '$(RELEASE) $(REPO_URI)' | awk -v r="$VERSION_CODENAME" '$1 == r { print $2; exit }')
[ -n "$mirror" ] || { echo "fresh-debian.sh: no $VERSION_CODENAME mirror in this machine's apt sources" >&2; exit 1; }

mapfile -t commands < <("$repo/tests/readme-commands.sh")
[ "${#commands[@]}" = 2 ] || exit 1

root=$(mktemp -d /var/tmp/fresh-debian.XXXXXX)
chmod 755 "$root"  # apt downloads as _apt, who must reach its lists
cleanup() {
  # Nothing is removed while anything is still mounted below the root.
  for m in $(awk -v r="$root/" 'index($2, r) == 1 { print $2 }' /proc/mounts | sort -r); do umount "$m" || umount -l "$m"; done
  if awk -v r="$root/" 'index($2, r) == 1 { found = 1 } END { exit !found }' /proc/mounts; then
    echo "fresh-debian.sh: $root is still mounted; left in place" >&2
  else
    rm -rf "$root"
  fi
}
trap cleanup EXIT

step() { printf '\n== %s\n' "$*"; }
step "bootstrapping Debian $release (minbase) from $mirror"
debootstrap --variant=minbase "$release" "$root" "$mirror" >"$root.log" 2>&1 || { tail -20 "$root.log"; rm -f "$root.log"; exit 1; }
rm -f "$root.log"
# A mirror may serve testing as a snapshot whose Release file has expired.
echo 'Acquire::Check-Valid-Until "false";' >"$root/etc/apt/apt.conf.d/99snapshot"
mount -t proc proc "$root/proc"
mount -t devpts -o newinstance,ptmxmode=0666 devpts "$root/dev/pts"
ln -sf pts/ptmx "$root/dev/ptmx"
for d in null zero full random urandom tty; do
  [ -e "/dev/$d" ] || continue
  [ -e "$root/dev/$d" ] || touch "$root/dev/$d"
  mount --bind "/dev/$d" "$root/dev/$d"
done
cp /etc/resolv.conf "$root/etc/resolv.conf"
mkdir "$root/root/rucalc"
tar -C "$repo" --exclude=./build -cf - . | tar -C "$root/root/rucalc" -xf -

# Runs a line in the fresh system as a user's login shell would.
in_root() {
  chroot "$root" /usr/bin/env -i HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    LANG=C.UTF-8 TERM=dumb DEBIAN_FRONTEND=noninteractive /bin/bash -c "cd /root/rucalc && $1"
}

step "first command: ${commands[0]}"
report=$'a: 1.339518\nb: 2.875000'
out=$(printf '1 2 3\n' | in_root "${commands[0]//sudo /}" | tail -c "${#report}")
[ "$out" = "$report" ] || { echo "fresh-debian.sh: the program printed '$out'" >&2; exit 1; }
echo "== it printed the report for 1 2 3"

step "the test preset before pytest is installed must fail and name it"
if in_root "cmake --preset default 2>&1 && ctest --preset default" >"$root/no-tests.log" 2>&1; then
  cat "$root/no-tests.log"; echo "fresh-debian.sh: the tests passed without pytest" >&2; exit 1
fi
grep -q python3-pytest "$root/no-tests.log" || { cat "$root/no-tests.log"; echo "fresh-debian.sh: no word of python3-pytest" >&2; exit 1; }
grep -h -E 'python3-pytest|No tests were found' "$root/no-tests.log"

step "second command: ${commands[1]}"
in_root "${commands[1]//sudo /}" </dev/null
step "both commands succeeded on a fresh Debian $release"

step "the Clang presets: $(in_root 'apt-get install -y clang libclang-rt-dev >/dev/null && clang++ --version | head -1' </dev/null)"
in_root "cmake --workflow --preset sanitize && cmake --workflow --preset native" </dev/null
for c in "$@"; do
  step "$c"
  in_root "$c" </dev/null
done
