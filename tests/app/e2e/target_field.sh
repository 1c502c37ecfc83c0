# A target window started with --report, for the scripts that source this: target_start runs the
# command given with its output in "$1.out" and "$1.err" and waits (up to 20 s) for its field to have the focus;
# target_state asks it for one JSON line {text, focus, clipboard}; field reads a key of that line.
target_pid=""
target_files=""
target_start() {
  target_files=$1
  shift
  "$@" >"$target_files.out" 2>"$target_files.err" &
  target_pid=$!
  for _ in $(seq 1 200); do
    grep -qx "ready" "$target_files.out" && return 0
    kill -0 "$target_pid" 2>/dev/null || { cat "$target_files.err"; fail "the target window ended early"; }
    sleep 0.1
  done
  fail "the target window's field never got the focus"
}
target_state() {
  local before
  before=$(grep -c '^{' "$target_files.out" || true)
  kill -USR1 "$target_pid"
  for _ in $(seq 1 50); do
    [ "$(grep -c '^{' "$target_files.out" || true)" -gt "$before" ] && break
    sleep 0.1
  done
  grep '^{' "$target_files.out" | tail -n 1
}
field() { python3 -c 'import json, sys; print(json.loads(sys.argv[1])[sys.argv[2]])' "$1" "$2"; }
