"""A stand-in for the Notes script interpreter, used by the notes tests.

usage: fake_notes.py MODE STATE_DIR -   (the script arrives on stdin)

It accepts only the bridge's create and reveal scripts, with every string literal replaced by a
placeholder; anything else (a literal that broke out of its quotes) is a syntax error, exit 2.
Modes:
  notes  answer like Notes: a created note's fields go to STATE_DIR/created.json and its id
         is printed; a reveal goes to revealed.json
  deny   refuse without reading the script, as Notes does without permission
  hang   read the script, then never answer
"""
import json
import os
import signal
import sys

CREATE = """tell application "Notes"
    tell account "X"
        tell folder "X"
            set made to make new note with properties {name:"X", body:"X"}
            return id of made as text
        end tell
    end tell
end tell"""

REVEAL = """tell application "Notes"
    activate
    set opened to false
    if "X" is not "" then
        try
            set theNote to first note whose id is "X"
            show theNote
            set opened to true
        end try
    end if
    if opened is false then
        tell account "X"
            tell folder "X"
                if (count of notes) > 0 then
                    set theNote to first note whose creation date is (maximum of creation date of notes)
                    show theNote
                end if
            end tell
        end tell
    end if
end tell"""

ESCAPES = {"\\": "\\", '"': '"', "n": "\n", "t": "\t", "r": "\r"}


def split_literals(script):
    """Returns the script with each string literal as '@', and the literals' values."""
    skeleton, values, i = [], [], 0
    while i < len(script):
        c = script[i]
        if c != '"':
            skeleton.append(c)
            i += 1
            continue
        i += 1
        value = []
        while True:
            if i >= len(script):
                raise SyntaxError("unterminated string")
            c = script[i]
            if c == '"':
                i += 1
                break
            if c == "\\":
                if i + 1 >= len(script) or script[i + 1] not in ESCAPES:
                    raise SyntaxError("unknown escape")
                value.append(ESCAPES[script[i + 1]])
                i += 2
                continue
            value.append(c)
            i += 1
        skeleton.append("@")
        values.append("".join(value))
    return "".join(skeleton), values


def match(script_parts, template):
    """The values standing where the template has "X", or None when the script differs."""
    skeleton, values = script_parts
    want_skeleton, want_values = split_literals(template)
    if skeleton != want_skeleton:
        return None
    params = []
    for got, want in zip(values, want_values):
        if want == "X":
            params.append(got)
        elif got != want:
            return None
    return params


def main():
    mode, state = sys.argv[1], sys.argv[2]
    if sys.argv[3:] != ["-"]:
        sys.stderr.write("usage: fake_notes.py MODE STATE_DIR -\n")
        return 64
    if mode == "deny":
        sys.stderr.write("execution error: Not authorized to send Apple events to Notes. (-1743)\n")
        return 1
    script = sys.stdin.buffer.read().decode("utf-8")
    if mode == "hang":
        while True:
            signal.pause()
    try:
        parts = split_literals(script)
    except SyntaxError as error:
        sys.stderr.write("syntax error: %s\n" % error)
        return 2
    created = match(parts, CREATE)
    if created is not None:
        account, folder, name, body = created
        with open(os.path.join(state, "created.json"), "w", encoding="utf-8") as f:
            json.dump({"account": account, "folder": folder, "name": name, "body": body}, f)
        sys.stdout.write("  x-coredata://note/p42\n")
        return 0
    revealed = match(parts, REVEAL)
    if revealed is not None and revealed[0] == revealed[1]:
        with open(os.path.join(state, "revealed.json"), "w", encoding="utf-8") as f:
            json.dump({"id": revealed[0], "account": revealed[2], "folder": revealed[3]}, f)
        return 0
    sys.stderr.write("syntax error: unexpected script\n" + parts[0] + "\n")
    return 2


if __name__ == "__main__":
    sys.exit(main())
