#!/usr/bin/env bash
# The main road in a Wayland session, as a user there sees it: the built program (an X11 client of
# XWayland) and its engine, a native GTK window with an empty field focused and the user's text on the
# clipboard, the hotkey held through the key source's seam while speech flows into the default source.
# The text must land in the field, the user's clipboard must come back (as wl-paste reads it), and the
# field must keep the focus while the widget shows. The session's routes must be the ones it offers best.
# Usage: scripts/with-wayland sway|mutter dictation_on_wayland.sh sway|mutter QUENDA GTK_TARGET XTEST_HOLD
set -euo pipefail
kind=$1
quenda=$2
target=$3
xtest_hold=$4
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../e2e/dictation_rig.sh"
source "$here/../e2e/target_field.sh"
source "$here/wayland_input.sh"
[ -n "${WAYLAND_DISPLAY:-}" ] && [ -n "${DISPLAY:-}" ] || skip "needs scripts/with-wayland"
command -v wl-paste >/dev/null || skip "needs wl-paste (wl-clipboard)"
case "$kind" in
  sway) routes="session: wayland, keys virtualKeyboard, clipboard dataControl, panel x11OutsideManager" ;;
  mutter) routes="session: wayland, keys mutterRemoteDesktop, clipboard mutterSession, panel x11OutsideManager" ;;
  *) fail "unknown compositor $kind" ;;
esac

pid=""
finish() {
  # The program writes its files while it stops: they go before the folder does.
  [ -n "$pid" ] && kill -TERM "$pid" 2>/dev/null && wait "$pid" 2>/dev/null || true
  [ -n "$target_pid" ] && kill -TERM "$target_pid" 2>/dev/null || true
  input_stop
  rig_finish
}
trap finish EXIT
rig_start '"showWidget":true'
# On sway the program's own virtual keyboard is the seat's keyboard, whose map every client then reads
# (wtype's would hold only the keys it types); mutter's remote-desktop keyboard starts with the first
# chord, so a session of our own gives the seat its keyboard first.
[ "$kind" = mutter ] && input_start mutter

XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" "$quenda" >"$work/quenda.log" 2>&1 &
pid=$!
wait_launched "$pid"
marked "$routes" || { show_logs; fail "the session's routes are not: $routes"; }

clip="quenda wayland clipboard $$"
target_start "$work/target" env GDK_BACKEND=wayland /usr/bin/python3 "$target" "" 0,0 "--clipboard=$clip" --report --maximized
[ "$(timeout 5 wl-paste -n)" = "$clip" ] || fail "the GTK window never owned the clipboard"

# The hotkey through the command-line channel where the program hears it (a binding's route, or a
# desktop with no global keys), else XTest on XWayland.
hold() {
  if marked "hotkey: through commandLine" || marked "hotkey: through ownWindows"; then
    "$quenda" --hotkey press
    sleep "$1"
    "$quenda" --hotkey release
  else
    "$xtest_hold" "$1"
  fi
}
hold_until_recorded hold target_state
[ "$(field "$during" focus)" = True ] || fail "the field lost the focus while the widget showed: $during"

text=$(dictated_text)
echo "dictated: '$text'"
[ -n "$text" ] || { show_logs; fail "no dictation reached the history"; }
wait_insert_end
marked "insert: paste posted" || { show_logs; fail "the paste was never posted"; }
state=$(target_state)
echo "field: $state"
[ "$(tr -d '[:space:]' <<<"$(field "$state" text)")" = "$(tr -d '[:space:]' <<<"$text")" ] ||
  { show_logs; fail "the field holds '$(field "$state" text)', not the dictated '$text'"; }
[ "$(field "$state" focus)" = True ] || fail "the field lost the focus during the dictation"
marked "insert: clipboard restored" || { show_logs; fail "the program never restored the clipboard"; }
back=$(timeout 5 wl-paste -n || true)
[ "$back" = "$clip" ] || fail "the clipboard holds '$back', not the user's '$clip'"
grep -E "insert: (start|paste posted)" "$support/timing.log" | tail -n 2
echo ok
