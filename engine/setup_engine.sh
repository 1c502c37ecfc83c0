#!/bin/bash
# Builds the engine's environment in the support folder.
# Usage: setup_engine.sh SOURCE SUPPORT VERSION
#   SOURCE   the "engine" folder among the app's resources (holds quenda_engine/)
#   SUPPORT  the app's support folder
#   VERSION  the resource version, written to SUPPORT/engine.version on success
set -euo pipefail

if [ "$#" -ne 3 ] || [ -z "$3" ]; then
    echo "usage: $0 SOURCE SUPPORT VERSION" >&2
    exit 2
fi
source_dir=$1
support=$2
version=$3
venv="$support/.venv"
# Debian's interpreter, so that Debian's speech packages are visible.
system_python=/usr/bin/python3

echo "engine setup $version: $source_dir -> $venv"
mkdir -p "$support"
# Without a stamp a setup that fails below runs again at the next start.
rm -f "$support/engine.version"
if [ ! -f "$source_dir/quenda_engine/__main__.py" ]; then
    echo "engine setup: no quenda_engine module in $source_dir" >&2
    exit 1
fi

"$system_python" -m venv --clear --system-site-packages --without-pip "$venv"
site=$("$venv/bin/python" -c 'import sysconfig; print(sysconfig.get_paths()["purelib"])')
mkdir -p "$site"
cp -R "$source_dir/quenda_engine" "$site/"
rm -rf "$site/quenda_engine/__pycache__"

# Checked from the support folder, where the supervisor runs the engine.
(cd "$support" && "$venv/bin/python" -m quenda_engine --self-check)

stamp=$(mktemp "$support/engine.version.XXXXXX")
printf '%s\n' "$version" > "$stamp"
chmod 644 "$stamp"
mv -f "$stamp" "$support/engine.version"
echo "engine setup $version done"
