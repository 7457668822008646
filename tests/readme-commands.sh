#!/usr/bin/env bash
# Prints the README's two set-up commands, one a line, for CI and the
# fresh-root proof to run as written: the first installs what building needs
# and runs a program, the second installs what the tests need and runs them.
set -euo pipefail
mapfile -t commands < <(awk '/^```/ { if (open) exit; open = 1; next } open' "$(dirname "$0")/../README.md")
if [ "${#commands[@]}" != 2 ] || [[ ${commands[0]} != "sudo apt-get update && sudo apt-get install "* ]] ||
   [[ ${commands[1]} != "sudo apt-get install "* ]]; then
  echo "readme-commands.sh: the README's first block must be its two set-up commands" >&2
  exit 1
fi
printf '%s\n' "${commands[@]}"
