#!/usr/bin/env bash
# The hotkey through a compositor binding, as a sway user sets it up: the program runs in a Wayland
# session that offers it no global keys, sway's configuration gets the two bindcode lines onboarding
# shows, and a virtual keyboard holds right Control. The press and the release must reach the running
# program, no second program may start, and `--hotkey` with nothing running must start nothing.
# Runs inside scripts/with-services (headless sway as nobody).
set -euo pipefail
quenda=$1
skip() {
  if [ "${QUENDA_IN_SERVICES:-}" = 1 ] || [ "${CI:-}" = true ]; then echo "FAILED: $*"; exit 1; fi
  echo "skipped: $*"
  exit 77
}
fail() { echo "FAILED: $*"; exit 1; }
[ -n "${QUENDA_SWAY_WAYLAND_DISPLAY:-}" ] || skip "needs the headless sway of scripts/with-services"
command -v wtype >/dev/null || skip "needs wtype (scripts/bootstrap installs it)"
command -v swaymsg >/dev/null || skip "needs swaymsg (package sway)"

# The compositor runs as nobody and so do the commands it runs: the program must run as that user
# too, with the compositor's runtime folder, where its single-instance socket then lies.
runtime=$(dirname "$QUENDA_SWAY_WAYLAND_DISPLAY")
sock=$(compgen -G "$runtime/sway-ipc.*.sock" | head -n 1)
[ -n "$sock" ] || fail "no sway IPC socket in $runtime"
work=$(mktemp -d "$runtime/hotkey-e2e-XXXXXX")
support="$work/data/Morvane Quenda"
mkdir -p "$support" "$work/config"
printf '{"onboarded":true,"playSounds":false,"launchAtLogin":false,"port":1}\n' >"$support/config.json"
as_user=()
if [ "$(id -u)" -eq 0 ]; then
  # The checkout may lie where nobody cannot read (under /root, mode 700): nobody runs a copy of the program
  # with its resources, which it finds beside itself.
  mkdir -p "$work/stage/bin" "$work/stage/share"
  cp "$quenda" "$work/stage/bin/"
  cp -r "$(dirname "$quenda")/../share/quenda" "$work/stage/share/"
  quenda=$work/stage/bin/quenda
  chown -R 65534:65534 "$work"
  as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
fi
pid=""
finish() {
  # Waited for: a program still going down keeps the single-instance socket from the next run.
  [ -n "$pid" ] && kill -TERM "$pid" 2>/dev/null && wait "$pid" 2>/dev/null || true
  swaymsg -s "$sock" "unbindcode --no-repeat 105" >/dev/null 2>&1 || true
  swaymsg -s "$sock" "unbindcode --release 105" >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap finish EXIT
show_logs() {
  echo "--- timing.log"; cat "$support/timing.log" 2>/dev/null || true
  echo "--- program output"; tail -n 30 "$work/quenda.log" 2>/dev/null || true
}
marks() { grep -c -- "$1" "$support/timing.log" 2>/dev/null || true; }
# No session bus: neither KDE's shortcuts nor the portal can be offered.
# exec: the background job is then the program itself, which finish can stop and wait for.
run() {
  exec "${as_user[@]}" env -i PATH="$PATH" HOME="$work" XDG_RUNTIME_DIR="$runtime" XDG_DATA_HOME="$work/data" \
    XDG_CONFIG_HOME="$work/config" XDG_SESSION_TYPE=wayland WAYLAND_DISPLAY="$QUENDA_SWAY_WAYLAND_DISPLAY" \
    QT_QPA_PLATFORM=offscreen DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent ASAN_OPTIONS=detect_leaks=0 \
    "$quenda" "$@"
}

# Bounded: a command that became the program would never end by itself.
status=0
run_briefly() { timeout 20 "${as_user[@]}" env -i PATH="$PATH" HOME="$work" XDG_RUNTIME_DIR="$runtime" \
  XDG_SESSION_TYPE=wayland QT_QPA_PLATFORM=offscreen DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent \
  ASAN_OPTIONS=detect_leaks=0 "$quenda" "$@"; }
run_briefly --hotkey press 2>"$work/alone.log" || status=$?
[ "$status" -eq 1 ] || fail "--hotkey with nothing running ended with $status, not 1"
[ ! -e "$runtime/quenda.socket" ] || fail "--hotkey with nothing running left a program's socket"
status=0
run_briefly --hotkey sideways 2>/dev/null || status=$?
[ "$status" -eq 2 ] || fail "--hotkey with an unknown word ended with $status, not 2"

run >"$work/quenda.log" 2>&1 &
pid=$!
for _ in $(seq 1 100); do
  [ "$(marks launched)" -ge 1 ] && break
  kill -0 "$pid" 2>/dev/null || { show_logs; fail "the program ended early"; }
  sleep 0.2
done
[ "$(marks launched)" -ge 1 ] || { show_logs; fail "the program did not launch"; }
[ "$(marks "hotkey: through commandLine")" -eq 1 ] || { show_logs; fail "the compositor-binding route was not chosen"; }

swaymsg -s "$sock" "bindcode --no-repeat 105 exec env ASAN_OPTIONS=detect_leaks=0 $quenda --hotkey press" >/dev/null
swaymsg -s "$sock" "bindcode --release 105 exec env ASAN_OPTIONS=detect_leaks=0 $quenda --hotkey release" >/dev/null
# wtype numbers its keys in the order they first appear: 96 other keys first give right Control
# the keycode 105, as on a real keyboard. A headless seat has no keyboard until this one exists.
others=$(python3 -c 'print("".join(chr(c) for c in range(0x4e00, 0x4e00 + 96)))')
WAYLAND_DISPLAY=$QUENDA_SWAY_WAYLAND_DISPLAY wtype "$others" -P Control_R -s 400 -p Control_R ||
  fail "wtype could not type on sway"
for _ in $(seq 1 50); do
  [ "$(marks "hotkey: binding released")" -ge 1 ] && break
  sleep 0.2
done
[ "$(marks "hotkey: binding pressed")" -eq 1 ] || { show_logs; fail "the binding's press did not reach the program"; }
[ "$(marks "hotkey: binding released")" -eq 1 ] || { show_logs; fail "the binding's release did not reach the program"; }
grep -- "hotkey: binding" "$support/timing.log" | head -n 1 | grep -q pressed || fail "the release came before the press"
[ "$(marks launched)" -eq 1 ] || { show_logs; fail "a binding started a second program"; }
kill -0 "$pid" 2>/dev/null || fail "the program ended"
echo "ok: sway's bindings reached the running program"
