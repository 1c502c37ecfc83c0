#!/usr/bin/env bash
# One dictation through a speech server of the user's own: a fake OpenAI-compatible transcription route on
# 127.0.0.1 stands in for a Whisper server, its key sits in the Secret Service. The server must get the
# recording as a WAV with the model, the language, the dictionary's terms and the key; its text must land in
# the field and the history; the key must never reach a file of the program's.
# Runs inside scripts/with-services.
set -euo pipefail
quenda=$1
hold=$2
target=$3
source "$(dirname "$0")/dictation_rig.sh"
source "$(dirname "$0")/target_field.sh"
[ -n "${DISPLAY:-}" ] || skip "needs the X server of scripts/with-services"
[ -x "$target" ] || skip "needs the Qt target window $target"
/usr/bin/python3 -c 'import gi; gi.require_version("Secret", "1")' 2>/dev/null || skip "needs python3-gi with libsecret"

key="sk-e2e-speech-$$"
pid=""
server=""
seen=$(mktemp)
ports=$(mktemp)
# The program's own item: its schema, service and account, in the keychain it reads first.
secret() {
  /usr/bin/python3 - "$@" <<'PY'
import sys
import gi
gi.require_version("Secret", "1")
from gi.repository import Secret
schema = Secret.Schema.new("de.morvane.quenda.GenericPassword", Secret.SchemaFlags.NONE, {
    "service": Secret.SchemaAttributeType.STRING, "account": Secret.SchemaAttributeType.STRING,
    "keychain": Secret.SchemaAttributeType.STRING})
attributes = {"service": "de.morvane.quenda", "account": "speech-api-key", "keychain": "data-protection"}
if sys.argv[1] == "store":
    Secret.password_store_sync(schema, attributes, Secret.COLLECTION_DEFAULT, "e2e", sys.argv[2], None)
else:
    Secret.password_clear_sync(schema, attributes, None)
PY
}
finish() {
  # The program and its engine write into the work folder until they have ended.
  [ -n "$pid" ] && { kill -TERM "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; } || true
  [ -n "$server" ] && kill -TERM "$server" 2>/dev/null || true
  rm -f "$seen" "$ports"
  [ -n "$target_pid" ] && kill -TERM "$target_pid" 2>/dev/null || true
  secret clear || true
  rig_finish
}
trap finish EXIT

# The fake server answers every transcription with one sentence and notes what it was sent.
python3 - "$seen" "$ports" <<'PY' &
import email.parser, email.policy, json, sys
from http.server import BaseHTTPRequestHandler, HTTPServer
seen, ports = sys.argv[1:]

class Route(BaseHTTPRequestHandler):
    log_message = lambda *args: None

    def do_POST(self):
        body = self.rfile.read(int(self.headers["Content-Length"]))
        form = email.parser.BytesParser(policy=email.policy.HTTP).parsebytes(
            b"Content-Type: " + self.headers["Content-Type"].encode() + b"\r\n\r\n" + body)
        parts = {p.get_param("name", header="content-disposition"): p for p in form.iter_parts()}
        wav = parts["file"].get_content()
        with open(seen, "w") as f:
            json.dump({"path": self.path, "authorization": self.headers.get("Authorization"),
                       "fields": {n: p.get_content() for n, p in parts.items() if n != "file"},
                       "riff": wav[:4].decode("latin-1"), "bytes": len(wav)}, f)
        reply = json.dumps({"text": "Through the quenda server."}).encode()
        self.send_response(200)
        self.send_header("Content-Type", "application/json")
        self.send_header("Content-Length", str(len(reply)))
        self.end_headers()
        self.wfile.write(reply)

httpd = HTTPServer(("127.0.0.1", 0), Route)
open(ports, "w").write(str(httpd.server_address[1]))
httpd.serve_forever()
PY
server=$!
for _ in $(seq 1 50); do [ -s "$ports" ] && break; sleep 0.1; done
[ -s "$ports" ] || fail "the fake speech server did not start"
base="http://127.0.0.1:$(cat "$ports")/v1"

secret store "$key"
rig_start "\"asrEngine\":\"whisper\",\"speechBaseURL\":\"$base\",\"speechModel\":\"e2e-model\",\"language\":\"en\",\"dictionary\":\"quenda\""
XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" "$quenda" >"$work/quenda.log" 2>&1 &
pid=$!
wait_launched "$pid"
target_start "$work/target" env -u NO_AT_BRIDGE QT_QPA_PLATFORM=xcb "$target" "" "0,0" --report

hold_until_recorded "$hold" true
text=$(dictated_text)
echo "dictated: '$text'"
[ "$text" = "Through the quenda server." ] || { show_logs; fail "the history holds '$text', not the server's text"; }
wait_insert_end
pasted=$(field "$(target_state)" text)
[ "$(tr -d '[:space:]' <<<"$pasted")" = "Throughthequendaserver." ] ||
  { show_logs; fail "the field holds '$pasted', not the server's text"; }

python3 - "$seen" "$key" <<'PY' || { show_logs; fail "the server was not sent what a transcription needs"; }
import json, sys
seen, key = json.load(open(sys.argv[1])), sys.argv[2]
expected = {"path": "/v1/audio/transcriptions", "authorization": "Bearer " + key, "riff": "RIFF",
            "fields": {"model": "e2e-model", "response_format": "json", "language": "en", "prompt": "quenda"}}
got = {k: seen[k] for k in expected}
print("server saw:", got, seen["bytes"], "bytes")
sys.exit(0 if got == expected and seen["bytes"] > 16000 else 1)
PY

# The key went from the Secret Service to the engine in a request header, and nowhere else.
for file in "$support/config.json" "$support/timing.log" "$support/engine.log" "$support/history.json" \
  "$work/quenda.log"; do
  if [ -e "$file" ] && grep -q -- "$key" "$file"; then fail "the speech server's key is in $file"; fi
done
if grep -rqs -- "$key" "$work/data" "$work/config"; then fail "the speech server's key is in a file of the program's"; fi
echo "ok"
