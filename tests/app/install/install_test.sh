#!/usr/bin/env bash
# Installs the built program into a staging root (DESTDIR) under a prefix holding a space and "$HOME", as
# a package build would, checks the layout and the menu entry, and runs the installed program: its
# snapshot must match the build tree's, which it only does when it finds the same resources.
# Then scripts/install --uninstall must take back every file the install wrote, and the login entry that
# starts the removed program.
# usage: install_test.sh BUILD_DIR STAGED_PROGRAM INSTALL_SCRIPT
set -euo pipefail
build=$1
staged=$2
installer=$3
fail() { echo "FAILED: $*"; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix='/opt/my $HOME apps'
DESTDIR="$work/root" cmake --install "$build" --prefix "$prefix" >"$work/install.log" ||
  { cat "$work/install.log"; fail "cmake --install failed"; }
root="$work/root$prefix"

for file in bin/quenda share/quenda/Languages/en.json share/quenda/Languages/de.json share/quenda/Sounds/start.wav \
  share/quenda/Sounds/stop.wav share/quenda/engine/quenda_engine/__main__.py share/quenda/engine.version \
  share/quenda/setup_engine.sh share/applications/de.morvane.quenda.desktop \
  share/icons/hicolor/scalable/apps/de.morvane.quenda.svg; do
  [ -f "$root/$file" ] || fail "$file is not installed"
done
[ -x "$root/bin/quenda" ] || fail "the program is not executable"
[ -x "$root/share/quenda/setup_engine.sh" ] || fail "the engine setup script is not executable"
[ -z "$(find "$root" -name __pycache__)" ] || fail "compiled Python caches were installed"

# The entry names the program under the final prefix (not the staging root), quoted for the Exec key:
# inside double quotes "$" takes a backslash, which the key's string escaping doubles.
entry="$root/share/applications/de.morvane.quenda.desktop"
grep -qxF 'Exec="/opt/my \\$HOME apps/bin/quenda"' "$entry" || fail "Exec line: $(grep '^Exec=' "$entry")"
grep -qxF 'Icon=de.morvane.quenda' "$entry" || fail "the entry names no icon"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$entry" || fail "the desktop entry is not valid"
fi

export HOME=$work/home XDG_DATA_HOME=$work/home/data XDG_CONFIG_HOME=$work/home/config
"$root/bin/quenda" --snapshot "$work/installed" >"$work/installed.log" 2>&1 ||
  { cat "$work/installed.log"; fail "the installed program did not run"; }
"$staged" --snapshot "$work/staged" >"$work/staged.log" 2>&1 ||
  { cat "$work/staged.log"; fail "the build tree's program did not run"; }
shots=$(cd "$work/staged" && ls)
[ -n "$shots" ] || fail "the snapshot wrote no pictures"
for shot in $shots; do
  cmp -s "$work/staged/$shot" "$work/installed/$shot" || fail "$shot differs from the build tree's"
done

mkdir -p "$XDG_CONFIG_HOME/autostart"
login="$XDG_CONFIG_HOME/autostart/de.morvane.quenda.desktop"
# As the program writes it: quoted, "$" escaped, the backslash doubled by the key's string escaping.
printf '[Desktop Entry]\nType=Application\nExec="%s"\n' "${root//\$/\\\\\$}/bin/quenda" >"$login"
"$installer" --uninstall --prefix "$root" >/dev/null
[ ! -e "$login" ] || fail "the launch-at-login entry of the removed program is still there: $(cat "$login")"
while IFS= read -r file || [ -n "$file" ]; do
  [ ! -e "$work/root$file" ] || fail "$file is left after uninstalling"
done <"$build/install_manifest.txt"
echo "installed under $prefix; snapshots match; uninstalled"
