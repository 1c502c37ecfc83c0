#!/usr/bin/env bash
# `quenda --help` and `--version` print their text and exit 0 with no display, no session bus and
# an empty home: nothing may be started, created or written for them.
set -euo pipefail
quenda=$1
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
run() {
  env -i HOME="$home" XDG_DATA_HOME="$home/data" XDG_CONFIG_HOME="$home/config" \
    XDG_RUNTIME_DIR="$home/run" PATH=/usr/bin:/bin "$quenda" "$@"
}
help=$(run --help)
grep -q '^Usage: quenda' <<<"$help" || { echo "no usage in: $help"; exit 1; }
grep -q -- '--version' <<<"$help" || { echo "the help does not name --version: $help"; exit 1; }
version=$(run --version)
[[ $version =~ ^quenda\ [0-9]+\.[0-9]+ ]] || { echo "no version in: $version"; exit 1; }
left=$(ls -A "$home")
[ -z "$left" ] || { echo "left behind in the home folder: $left"; exit 1; }
echo "help and version printed; nothing touched"
