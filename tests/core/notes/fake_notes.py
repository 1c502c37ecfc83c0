"""Stands in for the Notes interpreter: fake_notes.py MODE STATE_DIR -, the script on stdin.

A script must have the shape of STATE_DIR/create.template or reveal.template, whose "X" literals
are placeholders; their values go to create.json or reveal.json. Anything else, such as a literal
that broke out of its quotes, is a syntax error (exit 2). MODE hang never answers."""
import json
import os
import re
import signal
import sys

LITERAL = re.compile(r'"((?:[^"\\]|\\.)*)"', re.S)
ESCAPES = {"\\": "\\", '"': '"', "n": "\n", "t": "\t", "r": "\r"}


def split_literals(script):
    """The script with each string literal as '@', and the literals' values; KeyError on an unknown escape."""
    values = []

    def literal(match):
        values.append(re.sub(r"\\(.)", lambda e: ESCAPES[e.group(1)], match.group(1), flags=re.S))
        return "@"

    return LITERAL.sub(literal, script), values


def main():
    mode, state = sys.argv[1:3]
    script = sys.stdin.buffer.read().decode("utf-8")
    while mode == "hang":
        signal.pause()
    try:
        skeleton, values = split_literals(script)
    except KeyError:
        skeleton, values = None, []
    for name in ("create", "reveal"):
        with open(os.path.join(state, name + ".template")) as f:
            want_skeleton, want_values = split_literals(f.read())
        if skeleton == want_skeleton and all(w in ("X", v) for v, w in zip(values, want_values)):
            with open(os.path.join(state, name + ".json"), "w") as f:
                json.dump([v for v, w in zip(values, want_values) if w == "X"], f)
            print("  x-coredata://note/p42" if name == "create" else "")
            return 0
    sys.stderr.write("syntax error: unexpected script\n%s\n" % skeleton)
    return 2


if __name__ == "__main__":
    sys.exit(main())
