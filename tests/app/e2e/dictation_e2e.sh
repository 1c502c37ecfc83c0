#!/usr/bin/env bash
# One real dictation: the built program and its engine, Right Control held through XTest, speech played
# into the session's audio, the text delivered and kept in the history. Runs inside scripts/with-services.
set -euo pipefail
quenda=$1
hold=$2
skip() { echo "skipped: $*"; exit 77; }
command -v espeak-ng >/dev/null || skip "needs espeak-ng"
command -v paplay >/dev/null && pactl info >/dev/null 2>&1 || skip "needs the PulseAudio of scripts/with-services"
[ -n "${DISPLAY:-}" ] || skip "needs the X server of scripts/with-services"

work=$(mktemp -d)
support="$work/data/Morvane Quenda"
mkdir -p "$support" "$work/config"
pid=""
module=""
old_source=$(pactl get-default-source)
finish() {
  [ -n "$pid" ] && kill -TERM "$pid" 2>/dev/null || true
  [ -n "$module" ] && pactl unload-module "$module" 2>/dev/null || true
  pactl set-default-source "$old_source" 2>/dev/null || true
  rm -rf "$work"
}
trap finish EXIT

port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
# Other output stays loud so the played speech reaches the recording through the speakers' monitor.
printf '{"othersAudio":"off","onboarded":true,"playSounds":false,"launchAtLogin":false,"port":%s}\n' "$port" \
  >"$support/config.json"
espeak-ng -s 140 -w "$work/speech.wav" "hello world this is a test"
# A remapped source is no monitor, so the permission probe counts it as a microphone.
module=$(pactl load-module module-remap-source master=quenda_null.monitor source_name=quenda_e2e_microphone)
pactl set-default-source quenda_e2e_microphone

# The runtime folder stays the session's: PulseAudio and the bus live there.
XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" \
  "$quenda" >"$work/quenda.log" 2>&1 &
pid=$!

ready() {
  python3 - "$port" <<'PY'
import json, sys, urllib.request
try:
    body = urllib.request.urlopen(f"http://127.0.0.1:{sys.argv[1]}/health", timeout=1).read()
    sys.exit(0 if json.loads(body).get("ready") else 1)
except Exception:
    sys.exit(1)
PY
}
for _ in $(seq 1 240); do
  ready && grep -q "launched" "$support/timing.log" 2>/dev/null && break
  kill -0 "$pid" 2>/dev/null || { cat "$work/quenda.log"; echo "the program ended early"; exit 1; }
  sleep 0.5
done
ready || { echo "the engine never became ready"; cat "$support/engine.log" || true; exit 1; }

# The program learns that the engine is ready at its next health poll, up to a second after we do; a hold
# before that only shows a notice, so the hold is tried again until one records.
for attempt in 1 2 3; do
  "$hold" 4.5 &
  holder=$!
  sleep 0.6
  paplay -d quenda_null "$work/speech.wav"
  wait "$holder"
  sleep 1
  grep -q "recording stopped" "$support/timing.log" && break
  echo "hold $attempt did not record"
done

text=""
for _ in $(seq 1 60); do
  text=$(python3 -c 'import json, sys; e = json.load(open(sys.argv[1])); print(e[0]["text"] if e else "")' \
    "$support/history.json" 2>/dev/null || true)
  [ -n "$text" ] && break
  sleep 0.5
done
echo "dictated: '$text'"
cat "$support/timing.log"
[ -n "$text" ] || { echo "no dictation reached the history"; cat "$work/quenda.log"; exit 1; }
grep -q "recording stopped" "$support/timing.log" || { echo "the hold never recorded"; exit 1; }

kill -TERM "$pid"
status=0
wait "$pid" || status=$?
pid=""
[ "$status" -eq 0 ] || { echo "SIGTERM ended with status $status"; exit 1; }
grep -q "stopped" "$support/timing.log" || { echo "no orderly stop"; exit 1; }
echo "ok"
