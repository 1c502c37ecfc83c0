#!/usr/bin/env bash
# Polished dictations through a correction endpoint of the user's own that answers at once, faster than the
# focused application takes the raw paste in: each raw text must be replaced by the polished one in the
# field, one sentence after the other, the history must hold the polished texts, none may be reported as not
# pasted, and the user's clipboard must come back.
# Runs inside scripts/with-services.
set -euo pipefail
quenda=$1
hold=$2
target=$3
source "$(dirname "$0")/dictation_rig.sh"
source "$(dirname "$0")/target_field.sh"
[ -n "${DISPLAY:-}" ] || skip "needs the X server of scripts/with-services"
[ -x "$target" ] || skip "needs the Qt target window $target"

pid=""
server=""
ports=$(mktemp)
finish() {
  [ -n "$pid" ] && { kill -TERM "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; } || true
  [ -n "$server" ] && kill -TERM "$server" 2>/dev/null || true
  rm -f "$ports"
  [ -n "$target_pid" ] && kill -TERM "$target_pid" 2>/dev/null || true
  rig_finish
}
trap finish EXIT

# The endpoint answers every chat completion with the same sentence, without a pause.
python3 - "$ports" <<'PY' &
import json, sys
from http.server import BaseHTTPRequestHandler, HTTPServer

class Route(BaseHTTPRequestHandler):
    log_message = lambda *args: None

    def do_POST(self):
        self.rfile.read(int(self.headers["Content-Length"]))
        reply = json.dumps({"choices": [{"message": {"role": "assistant", "content": "Polished at once."}}]})
        self.send_response(200)
        self.send_header("Content-Type", "application/json")
        self.send_header("Content-Length", str(len(reply)))
        self.end_headers()
        self.wfile.write(reply.encode())

httpd = HTTPServer(("127.0.0.1", 0), Route)
open(sys.argv[1], "w").write(str(httpd.server_address[1]))
httpd.serve_forever()
PY
server=$!
for _ in $(seq 1 50); do [ -s "$ports" ] && break; sleep 0.1; done
[ -s "$ports" ] || fail "the fake correction endpoint did not start"
endpoint="{\"id\":\"{6f1c1a52-3a8e-4c55-9a52-0c1a2b3c4d5e}\",\"kind\":\"custom\",\"model\":\"e2e-model\",\"baseURL\":\"http://127.0.0.1:$(cat "$ports")/v1\",\"enabled\":true}"
rig_start "\"autoCorrect\":true,\"polishProvider\":\"openai\",\"didChooseModel\":true,\"correctionEndpoints\":[$endpoint]"
XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" "$quenda" >"$work/quenda.log" 2>&1 &
pid=$!
wait_launched "$pid"
clip="quenda polish e2e clipboard $$"
# The window takes each paste in 0.15 s after its keys, long after the endpoint has answered.
target_start "$work/target" env -u NO_AT_BRIDGE QT_QPA_PLATFORM=xcb "$target" "" "0,0" "--clipboard=$clip" --report \
  --paste-lag=150

# The field's text once it is $1, or after 5 s.
field_settles() {
  local text=""
  for _ in $(seq 1 20); do
    text=$(field "$(target_state)" text)
    [ "$text" = "$1" ] && break
    sleep 0.25
  done
  echo "$text"
}

# Dictations in a row, the first one right after the endpoint was set up; QUENDA_POLISH_ROUNDS makes more.
rounds=${QUENDA_POLISH_ROUNDS:-3}
expected=""
for round in $(seq 1 "$rounds"); do
  : >"$support/timing.log"
  hold_until_recorded "$hold" true
  for _ in $(seq 1 40); do
    marked "dictation ended:" && break
    sleep 0.25
  done
  expected="${expected:+$expected }Polished at once."
  text=$(field_settles "$expected")
  [ "$text" = "$expected" ] || { show_logs; fail "after polished dictation $round the field holds '$text'"; }
  marked "dictation ended: pasted" || { show_logs; fail "polished dictation $round was not reported as pasted"; }
done

python3 - "$support/history.json" "$rounds" <<'PY' || { show_logs; fail "the history does not hold the polished texts"; }
import json, sys
texts = [e["text"] for e in json.load(open(sys.argv[1])) if e.get("kind") != "clipboard"]
print("history:", texts)
sys.exit(0 if texts == ["Polished at once."] * int(sys.argv[2]) else 1)
PY
wait_insert_end
[ "$(field "$(target_state)" clipboard)" = "$clip" ] ||
  fail "the clipboard holds '$(field "$(target_state)" clipboard)', not the user's '$clip'"
echo "ok"
