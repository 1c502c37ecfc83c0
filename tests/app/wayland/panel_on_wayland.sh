#!/usr/bin/env bash
# The floating widget's window under a headless Wayland compositor, as the program shows it there (an
# X11 client of XWayland): it must show above a maximised native Wayland window, take the pointer
# there, and never take the keyboard focus from that window's field, which keeps receiving keys.
# Usage: scripts/with-wayland sway|mutter panel_on_wayland.sh sway|mutter FLOATING_PANEL QT_TARGET
set -euo pipefail
kind=$1
panel=$2
target=$3
here=$(cd "$(dirname "$0")" && pwd)
fail() { echo "FAILED ($kind): $*"; exit 1; }
[ -n "${WAYLAND_DISPLAY:-}" ] && [ -n "${DISPLAY:-}" ] || fail "needs scripts/with-wayland"
source "$here/wayland_input.sh"
source "$here/../e2e/target_field.sh"

work=$(mktemp -d)
pids=()
finish() {
  for pid in "${pids[@]}" "$target_pid"; do [ -n "$pid" ] && kill "$pid" 2>/dev/null || true; done
  input_stop
  rm -rf "$work"
}
trap finish EXIT
wait_for() { # FILE LINE: waits up to 10 s for LINE in FILE
  for _ in $(seq 1 100); do grep -q "^$2" "$1" && return 0; sleep 0.1; done
  return 1
}

input_start "$kind"
target_start "$work/target" env QT_QPA_PLATFORM=wayland "$target" "" 0,0 --report --maximized

QT_QPA_PLATFORM=xcb "$panel" >"$work/panel.out" 2>"$work/panel.err" &
pids+=($!)
wait_for "$work/panel.out" shown || { cat "$work/panel.err"; fail "the panel never showed"; }
# The panel lies at 100,100 (200 x 60), over the maximised window: the pointer there reaches it only if
# it is above. Where no pointer can be moved (sway's headless seat has none), the panel must be out of
# the window manager's hands, which every compositor stacks above its windows.
if input_point 150 130; then
  wait_for "$work/panel.out" hovered || fail "the pointer over the panel never reached it: it is not above the Wayland window"
else
  window=$(awk '/^shown/ { print $2 }' "$work/panel.out")
  info=$(xwininfo -id "$window")
  grep -q "Override Redirect State: yes" <<<"$info" || fail "the panel is left to the window manager: $info"
  grep -q "Map State: IsViewable" <<<"$info" || fail "the panel is not viewable: $info"
fi
input_type "z"
for _ in $(seq 1 30); do
  state=$(target_state)
  [ "$(field "$state" text)" = z ] && break
  sleep 0.1
done
echo "field: $state"
[ "$(field "$state" focus)" = True ] || fail "the panel took the focus from the Wayland field"
[ "$(field "$state" text)" = z ] || fail "a key typed with the panel shown did not reach the Wayland field"
echo ok
