#!/usr/bin/env bash
# Prints the README's two set-up commands, one a line, for CI and the fresh
# roots to run as written: what building needs, then what the tests need.
set -euo pipefail
mapfile -t commands < <(awk '/^```/ { if (open) exit; open = 1; next } open' "$(dirname "$0")/../README.md")
if [ "${#commands[@]}" != 2 ] || [[ ${commands[0]} != "sudo apt-get update && sudo apt-get install "* ]] ||
   [[ ${commands[1]} != "sudo apt-get install "* ]]; then
  echo "readme-commands.sh: the README's first block must be its two set-up commands" >&2
  exit 1
fi
printf '%s\n' "${commands[@]}"
