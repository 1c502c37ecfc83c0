#!/usr/bin/env bash
# One real dictation as a user sees it: the built program and its engine, a Qt window with an empty field
# focused, Right Control held through XTest while speech flows into the default source. The text must land
# in the field and the history, other audio must be muted only while recording, the clipboard must come
# back, the focus must stay in the field, a second dictation must follow the first as a sentence of its own,
# Right Ctrl+A must record nothing, a clipboard a failed paste replaced must reach the history, a second
# start must hand over, a hold with the tray's popover open must land in the field, and SIGTERM, or a
# SIGKILL, must end it all, the engine included.
# Runs inside scripts/with-services.
set -euo pipefail
quenda=$1
hold=$2
target=$3
shape=$4
watcher=$5
source "$(dirname "$0")/dictation_rig.sh"
source "$(dirname "$0")/target_field.sh"
[ -n "${DISPLAY:-}" ] || skip "needs the X server of scripts/with-services"
[ -x "$target" ] || skip "needs the Qt target window $target"

pid=""
xvfb=""
tray=""
finish() {
  [ -n "$pid" ] && kill -TERM "$pid" 2>/dev/null || true
  [ -n "$tray" ] && kill -TERM "$tray" 2>/dev/null || true
  [ -n "$xvfb" ] && kill -TERM "$xvfb" 2>/dev/null || true
  [ -n "$target_pid" ] && kill -TERM "$target_pid" 2>/dev/null || true
  rig_finish
}
trap finish EXIT
rig_start

# Muted or at zero volume both count as silenced; the program keeps the sink's own mute flag for
# sinks already muted and otherwise turns the volume down.
sink_state() {
  python3 - <<'PY'
import json, subprocess
for sink in json.loads(subprocess.run(["pactl", "-f", "json", "list", "sinks"], capture_output=True,
                                      text=True, check=True).stdout):
    if sink["name"] == "quenda_null":
        volume = max(int(c["value_percent"].rstrip("%")) for c in sink["volume"].values())
        print("silent" if sink["mute"] or volume == 0 else f"audible {volume}%")
PY
}
sink_before=$(sink_state)
[[ "$sink_before" == audible* ]] || fail "quenda_null is not audible before the test: $sink_before"

# The runtime folder stays the session's: PulseAudio and the bus live there.
XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" "$quenda" >"$work/quenda.log" 2>&1 &
pid=$!

wait_launched "$pid"

# The window comes up after the program's own, so its field holds the X input focus.
clip="quenda e2e clipboard $$"
target_start "$work/target" env -u NO_AT_BRIDGE QT_QPA_PLATFORM=xcb "$target" "" "0,0" "--clipboard=$clip" --report
state=$(target_state)
[ "$(field "$state" clipboard)" = "$clip" ] || fail "the target never owned the clipboard: $state"

# The program learns that the engine is ready at its next health poll, up to a second after we do; a hold
# before that only shows a notice, so the hold is tried again until one records.
during=""
for attempt in 1 2 3; do
  "$hold" 4.5 &
  holder=$!
  sleep 0.6
  touch "$work/speak"
  sleep 1.4
  during=$(sink_state)
  wait "$holder"
  sleep 1
  marked "recording stopped" && break
  echo "hold $attempt did not record"
done
marked "recording stopped" || { show_logs; fail "no hold ever recorded"; }

text=$(dictated_text)
echo "dictated: '$text'"
[ -n "$text" ] || { show_logs; fail "no dictation reached the history"; }

[ "$during" = silent ] || fail "quenda_null was not muted during the hold (it was $during)"
# Waits up to 5 s for the sink to be as it was before the first hold.
sink_after=""
sink_restored() {
  for _ in $(seq 1 20); do
    sink_after=$(sink_state)
    [ "$sink_after" = "$sink_before" ] && return 0
    sleep 0.25
  done
  return 1
}
sink_restored || fail "quenda_null was not restored after the hold: $sink_after, was $sink_before"

wait_insert_end
marked "insert: paste posted" || { show_logs; fail "the paste was never posted"; }
state=$(target_state)
echo "target: $state"
pasted=$(field "$state" text)
[ "$(tr -d '[:space:]' <<<"$pasted")" = "$(tr -d '[:space:]' <<<"$text")" ] ||
  { show_logs; fail "the field holds '$pasted', not the dictated '$text'"; }
[ "$(field "$state" focus)" = True ] || fail "the field lost the focus during the dictation"
marked "insert: clipboard restored" || { show_logs; fail "the program never restored the clipboard"; }
[ "$(field "$state" clipboard)" = "$clip" ] ||
  fail "the clipboard holds '$(field "$state" clipboard)', not the user's '$clip'"

# A second dictation into the same field reads as a second sentence, one space after the first.
: >"$support/timing.log"
hold_until_recorded "$hold" sink_state
second_text=""
for _ in $(seq 1 60); do
  second_text=$(python3 -c 'import json, sys
e = [x["text"] for x in json.load(open(sys.argv[1])) if x.get("kind") != "clipboard"]
print(e[0] if len(e) > 1 else "")' "$support/history.json" 2>/dev/null || true)
  [ -n "$second_text" ] && break
  sleep 0.5
done
[ -n "$second_text" ] || { show_logs; fail "the second dictation never reached the history"; }
wait_insert_end
pasted=$(field "$(target_state)" text)
[ "$pasted" = "$text $second_text" ] ||
  { show_logs; fail "two dictations in a row read '$pasted', not '$text $second_text'"; }

# A second dictation whose paste chord cannot go out, as Alt is held from the release on: the text stays on
# the clipboard and the user's clipboard text it replaced goes to the history as a clipboard entry.
"$hold" 4.5 12 &
holder=$!
sleep 0.6
touch "$work/speak"
displaced=0
for _ in $(seq 1 80); do
  displaced=$(python3 -c 'import json, sys
print(sum(1 for e in json.load(open(sys.argv[1])) if e.get("kind") == "clipboard" and e["text"] == sys.argv[2]))' \
    "$support/history.json" "$clip" 2>/dev/null || echo 0)
  [ "$displaced" -gt 0 ] && break
  sleep 0.25
done
wait "$holder"
marked "insert: paste not posted" || { show_logs; fail "the second paste went out although Alt was held"; }
[ "$displaced" -gt 0 ] || { show_logs; fail "the clipboard text the second dictation replaced is not in the history"; }

# Right Control as the modifier of a shortcut, held past the hold's start while speech flows: Ctrl+A
# selects the field's text, and nothing may be recorded, transcribed or pasted over the selection.
: >"$support/timing.log"
entries=$(python3 -c 'import json, sys; print(len(json.load(open(sys.argv[1]))))' "$support/history.json")
"$hold" 2.5 --letter 0.5 &
holder=$!
sleep 0.2
touch "$work/speak"
sleep 1
chord_sink=$(sink_state)
wait "$holder"
sleep 3
marked "a shortcut, not a hold" || { show_logs; fail "Right Ctrl+A was not taken for a shortcut"; }
marked "recording stopped" && { show_logs; fail "the shortcut's recording was processed"; }
[ "$(field "$(target_state)" text)" = "$pasted" ] || { show_logs; fail "the shortcut changed the field's text"; }
[ "$(python3 -c 'import json, sys; print(len(json.load(open(sys.argv[1]))))' "$support/history.json")" = "$entries" ] ||
  fail "the shortcut left a history entry"
[ "$chord_sink" = "$sink_before" ] || fail "quenda_null was $chord_sink after the shortcut, not $sink_before"

# A second start hands over to the running program and ends at once.
second=0
XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" timeout 20 "$quenda" >"$work/second.log" 2>&1 ||
  second=$?
[ "$second" -eq 0 ] || { cat "$work/second.log"; fail "a second start ended with status $second"; }
kill -0 "$pid" 2>/dev/null || fail "the first program ended when a second one started"

# The engine process the program $1 started.
engine_of() {
  for child in $(cat /proc/"$1"/task/*/children 2>/dev/null); do
    grep -q quenda_engine /proc/"$child"/cmdline 2>/dev/null && echo "$child"
  done
}
# An engine that has ended but is not yet reaped by its new parent counts as gone.
alive() { [ -e /proc/"$1" ] && ! grep -q '^[0-9]* ([^)]*) Z' /proc/"$1"/stat 2>/dev/null; }
# Waits up to 10 s for the engine $1 to end.
ends() {
  for _ in $(seq 1 40); do
    alive "$1" || return 0
    sleep 0.25
  done
  return 1
}
engine=$(engine_of "$pid")
[ -n "$engine" ] || fail "no engine process under the program"

kill -TERM "$pid"
status=0
wait "$pid" || status=$?
pid=""
[ "$status" -eq 0 ] || { show_logs; fail "SIGTERM ended the program with status $status"; }
marked "stopped" || fail "no orderly stop in timing.log"
ends "$engine" || fail "the engine ($engine) outlived the program"
grep -q "engine stopped" "$support/engine.log" || { show_logs; fail "the engine did not stop in order"; }

# A hold while the session's accessibility comes on, as in a fresh session: the permission poll that sees it
# granted must not lose the hold under way. The engine is the program's own: it serves nobody else.
: >"$support/timing.log"
: >"$support/engine.log"
# The widget shown, so its shape can be checked below.
python3 - "$support/config.json" <<'PY'
import json, sys
config = json.load(open(sys.argv[1]))
config["showWidget"] = True
json.dump(config, open(sys.argv[1], "w"))
PY
# A tray from here on: the second program puts up its status item, whose popover can be opened.
"$watcher" >"$work/tray.out" 2>"$work/tray.err" &
tray=$!
for _ in $(seq 1 50); do
  grep -qx ready "$work/tray.out" && break
  sleep 0.1
done
grep -qx ready "$work/tray.out" || { cat "$work/tray.err"; fail "the test's tray never started"; }
XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" "$quenda" >"$work/quenda2.log" 2>&1 &
pid=$!
wait_launched "$pid"
gdbus call --session --dest org.a11y.Bus --object-path /org/a11y/bus \
  --method org.freedesktop.DBus.Properties.Set org.a11y.Status IsEnabled '<false>' >/dev/null ||
  fail "the accessibility bus could not be switched off"
# The permission probe reads the bus every two seconds; the program learns of the engine within one.
sleep 3
"$hold" 5 &
holder=$!
sleep 1
gdbus call --session --dest org.a11y.Bus --object-path /org/a11y/bus \
  --method org.freedesktop.DBus.Properties.Set org.a11y.Status IsEnabled '<true>' >/dev/null ||
  fail "the accessibility bus could not be switched on"
sleep 1
during=$(sink_state)
wait "$holder"
for _ in $(seq 1 20); do
  marked "recording stopped" && break
  sleep 0.25
done
[ "$during" = silent ] || { show_logs; fail "the hold while accessibility came on did not record (quenda_null was $during)"; }
marked "recording stopped" || { show_logs; fail "the release of the hold while accessibility came on never ended it"; }
sink_restored || fail "quenda_null stayed $sink_after after the hold while accessibility came on"

# A hold while the tray's popover is open, as the window manager still gives the field the focus: the
# popover holds the keyboard, so the hold must close it first and the text land in the field. A new
# window takes the focus for it.
wait_insert_end
item=$(grep -vx ready "$work/tray.out" | tail -n 1)
[ -n "$item" ] || { show_logs; fail "the program put up no status item on the test's tray"; }
kill -TERM "$target_pid"
wait "$target_pid" || true
target_start "$work/target2" env -u NO_AT_BRIDGE QT_QPA_PLATFORM=xcb "$target" "" "0,0" --report
gdbus call --session --dest "$item" --object-path /StatusNotifierItem \
  --method org.kde.StatusNotifierItem.Activate 0 0 >/dev/null || fail "the status item could not be activated"
popover() { xwininfo -root -children | grep -q '"Quenda"'; }
for _ in $(seq 1 40); do
  popover && break
  sleep 0.25
done
popover || { show_logs; fail "the status item's popover never opened"; }
: >"$support/timing.log"
hold_until_recorded "$hold" sink_state
wait_insert_end
state=$(target_state)
[ -n "$(field "$state" text)" ] || { show_logs; fail "a hold with the popover open left the field empty: $state"; }

# The test X server runs no compositor: the widget's window is cut to what it paints. Hovered, the chip grows
# into the toolbar, whose buttons lie outside the chip's 36 pixels.
toolbar=$("$shape" "$pid") || { show_logs; fail "no shaped widget window of the program"; }
[ "$toolbar" -ge 150 ] || { show_logs; fail "the hovered widget's shape is $toolbar pixels wide, too narrow for the toolbar"; }
# Killed outright, the program runs no orderly stop; its engine must end all the same.
engine=$(engine_of "$pid")
[ -n "$engine" ] || fail "no engine process under the second program"
kill -KILL "$pid"
wait "$pid" || true
pid=""
ends "$engine" || fail "the engine ($engine) outlived the killed program"

# An X server that goes away, as at a logout, ends the program at once, without its orderly stop; its engine
# must end with it.
mkfifo "$work/display"
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb=$!
number=""
read -r -t 10 number <"$work/display" || true
[ -n "$number" ] || fail "the program's own X server did not start"
: >"$support/timing.log"
: >"$support/engine.log"
DISPLAY=":$number" XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" "$quenda" >"$work/quenda3.log" 2>&1 &
pid=$!
wait_launched "$pid"
engine=$(engine_of "$pid")
[ -n "$engine" ] || fail "no engine process under the third program"
kill -KILL "$xvfb"
for _ in $(seq 1 40); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.25
done
kill -0 "$pid" 2>/dev/null && { cat "$work/quenda3.log"; fail "the program outlived its X server"; }
wait "$pid" || true
pid=""
ends "$engine" || fail "the engine ($engine) outlived the program its X server ended"
echo "ok"
