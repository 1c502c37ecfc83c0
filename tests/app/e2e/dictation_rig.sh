# What a real dictation through the built program needs, for the scripts that source this: a support
# folder with a configuration, spoken words, and a microphone that is a pipe fed in real time, which
# speaks them whenever "$work/speak" appears. Runs inside scripts/with-services.

# Under the test services (and in CI) everything named below was promised, so a gap fails the run.
skip() {
  if [ "${QUENDA_IN_SERVICES:-}" = 1 ] || [ "${CI:-}" = true ]; then echo "FAILED: $*"; exit 1; fi
  echo "skipped: $*"
  exit 77
}
fail() { echo "FAILED: $*"; exit 1; }
command -v espeak-ng >/dev/null || skip "needs espeak-ng"
command -v sox >/dev/null || skip "needs sox"
pactl info >/dev/null 2>&1 || skip "needs the PulseAudio of scripts/with-services"

work=""
support=""
port=""
feeder=""
module=""
old_source=""
# Makes the folder and the microphone; the configuration gets these JSON fields besides its own.
rig_start() {
  work=$(mktemp -d)
  support="$work/data/Morvane Quenda"
  mkdir -p "$support" "$work/config"
  old_source=$(pactl get-default-source)
  port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
  printf '{"othersAudio":"mute","onboarded":true,"playSounds":false,"launchAtLogin":false,"port":%s%s}\n' \
    "$port" "${1:+,$1}" >"$support/config.json"
  espeak-ng -s 140 -w "$work/speech.wav" "hello world this is a test"
  sox "$work/speech.wav" -t raw -r 16000 -e signed -b 16 -c 1 "$work/speech.raw"

  # The microphone is a pipe, not a sink's monitor: muting the outputs must not silence the speech, and
  # a pipe source is no monitor, so the permission probe counts it as a microphone.
  module=$(pactl load-module module-pipe-source file="$work/microphone" source_name=quenda_e2e_microphone \
    format=s16le rate=16000 channels=1)
  pactl set-default-source quenda_e2e_microphone
  # A steady real-time stream of silence keeps the source's clock honest; the speech goes in whenever
  # the file "speak" appears.
  python3 - "$work/microphone" "$work/speech.raw" "$work/speak" <<'PY' &
import os, sys, time
pipe, speech, trigger = sys.argv[1:]
chunk = 640  # 20 ms of 16 kHz 16-bit mono
out = os.open(pipe, os.O_WRONLY)
pending = b""
next_at = time.monotonic()
while True:
    if not pending and os.path.exists(trigger):
        os.unlink(trigger)
        pending = open(speech, "rb").read()
    piece, pending = (pending[:chunk], pending[chunk:]) if pending else (b"", b"")
    os.write(out, piece.ljust(chunk, b"\0"))
    next_at += 0.02
    time.sleep(max(0.0, next_at - time.monotonic()))
PY
  feeder=$!
}
rig_finish() {
  [ -n "$feeder" ] && kill -TERM "$feeder" 2>/dev/null || true
  [ -n "$module" ] && pactl unload-module "$module" 2>/dev/null || true
  [ -n "$old_source" ] && pactl set-default-source "$old_source" 2>/dev/null || true
  [ -n "$work" ] && rm -rf "$work"
}
show_logs() {
  echo "--- timing.log"; cat "$support/timing.log" 2>/dev/null || true
  echo "--- program output"; tail -n 40 "$work/quenda.log" 2>/dev/null || true
  echo "--- engine.log"; tail -n 20 "$support/engine.log" 2>/dev/null || true
}
marked() { grep -q -- "$1" "$support/timing.log" 2>/dev/null; }
# Whether the program's engine has loaded its recogniser. Only the program that started the engine may ask it
# anything, so its log tells.
ready() { grep -q "^recogniser ready" "$support/engine.log" 2>/dev/null; }
# Waits (up to two minutes) for the program started as $1 to launch and its engine to answer.
wait_launched() {
  for _ in $(seq 1 240); do
    ready && marked "launched" && return 0
    kill -0 "$1" 2>/dev/null || { show_logs; fail "the program ended early"; }
    sleep 0.5
  done
  show_logs
  fail "the engine never became ready"
}
# Holds the hotkey with the command $1 (given the seconds) while the speech flows, until a hold records:
# the program learns that the engine is ready at its next health poll, up to a second after us, and a
# hold before that only shows a notice. `during` gets what the command $2 prints in the middle of the hold.
hold_until_recorded() {
  local holder
  during=""
  for attempt in 1 2 3; do
    "$1" 4.5 &
    holder=$!
    sleep 0.6
    touch "$work/speak"
    sleep 1.4
    during=$("$2")
    wait "$holder"
    sleep 1
    marked "recording stopped" && return 0
    echo "hold $attempt did not record"
  done
  show_logs
  fail "no hold ever recorded"
}
# The text of the newest history entry, waiting up to 30 s for one.
dictated_text() {
  local text=""
  for _ in $(seq 1 60); do
    text=$(python3 -c 'import json, sys; e = json.load(open(sys.argv[1])); print(e[0]["text"] if e else "")' \
      "$support/history.json" 2>/dev/null || true)
    [ -n "$text" ] && break
    sleep 0.5
  done
  echo "$text"
}
# Waits up to 10 s for the end of the paste: restored, left or not posted.
wait_insert_end() {
  for _ in $(seq 1 40); do
    marked "insert: clipboard restored" && return 0
    marked "insert: paste not posted" && return 0
    marked "insert: clipboard left" && return 0
    sleep 0.25
  done
}
