# Keys and the pointer on the headless compositors, for the scripts beside this one. A headless seat has
# no keyboard until a virtual one exists, and then nothing is focused: input_start makes one and keeps it.
# sway: wtype's virtual keyboard; mutter: its remote-desktop session.
input_kind=""
input_keeper=""
input_start() {
  input_kind=$1
  case "$input_kind" in
    sway)
      wtype -s 600000 "" &
      input_keeper=$!
      ;;
    mutter)
      coproc MUTTER_INPUT { /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/mutter_input.py"; }
      input_keeper=$MUTTER_INPUT_PID
      local line
      read -r -t 10 line <&"${MUTTER_INPUT[0]}" && [ "$line" = ready ] ||
        { echo "mutter's remote-desktop session did not start"; return 1; }
      ;;
    *) echo "unknown compositor $input_kind"; return 1 ;;
  esac
}
mutter_input() {
  local line
  echo "$*" >&"${MUTTER_INPUT[1]}"
  read -r -t 10 line <&"${MUTTER_INPUT[0]}"
}
input_type() {
  case "$input_kind" in
    sway) wtype "$1" ;;
    mutter) mutter_input type "$1" ;;
  esac
}
# Fails where the seat has no pointer to move (sway: no virtual pointer tool here).
input_point() {
  case "$input_kind" in
    sway) return 1 ;;
    mutter) mutter_input point "$1" "$2" ;;
  esac
}
input_stop() {
  [ -n "$input_keeper" ] && kill "$input_keeper" 2>/dev/null || true
  input_keeper=""
}
