#!/usr/bin/env bash
# Proves the README's set-up on a freshly made minimal Debian: its two
# commands, run as written (as root, without sudo), build and run a program,
# then run every test; between them, the tests without the Python libraries
# must fail and name them. Then any further commands, in the same root, which
# mmdebstrap makes in a user namespace and leaves nothing of. Needs root and
# the machine's Debian mirror.
#   tests/fresh-debian.sh RELEASE [COMMAND...]    RELEASE: bookworm, trixie, testing...
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
release=${1:?usage: fresh-debian.sh RELEASE [COMMAND...]}
shift

# The mirror this machine's apt already uses for its own release.
. /etc/os-release
mirror=$(apt-get indextargets --format '$(RELEASE) $(REPO_URI)' | awk -v r="$VERSION_CODENAME" '$1 == r { print $2; exit }')
[ -n "$mirror" ] || { echo "fresh-debian.sh: no $VERSION_CODENAME mirror in this machine's apt sources" >&2; exit 1; }
mapfile -t commands < <("$repo/tests/readme-commands.sh")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
tar -C "$repo" --exclude=./build -cf "$work/rucalc.tar" .
# The proof, as the new system's root runs it from a login shell.
{
  printf 'first=%q second=%q\n' "${commands[0]//sudo /}" "${commands[1]//sudo /}"
  cat <<'END'
set -euo pipefail
cd /root/rucalc
step() { printf '\n== %s\n' "$*"; }
step "first command: $first"
report=$'a: 1.339518\nb: 2.875000'
out=$(printf '1 2 3\n' | bash -c "$first" | tail -c "${#report}")
[ "$out" = "$report" ] || { echo "fresh-debian.sh: the program printed '$out'" >&2; exit 1; }

step "the test preset before pytest is installed must fail and name it"
if { cmake --preset default && ctest --preset default; } >/root/no-tests.log 2>&1 </dev/null; then
  cat /root/no-tests.log; echo "fresh-debian.sh: the tests passed without pytest" >&2; exit 1
fi
grep -E 'python3-pytest' /root/no-tests.log || { echo "fresh-debian.sh: no word of python3-pytest" >&2; exit 1; }

step "second command: $second"
bash -c "$second" </dev/null
step "both commands succeeded"
END
  for c; do printf 'step %q\n%s </dev/null\n' "$c" "$c"; done
} >"$work/prove.sh"

# A mirror may serve testing as a snapshot whose Release file has expired.
mmdebstrap --mode=unshare --variant=minbase --aptopt='Acquire::Check-Valid-Until "false"' \
  --customize-hook='mkdir "$1/root/rucalc"' \
  --customize-hook="tar-in $work/rucalc.tar /root/rucalc" \
  --customize-hook="copy-in $work/prove.sh /root" \
  --customize-hook='chroot "$1" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM=dumb DEBIAN_FRONTEND=noninteractive PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin /bin/bash /root/prove.sh' \
  "$release" /dev/null "$mirror"
