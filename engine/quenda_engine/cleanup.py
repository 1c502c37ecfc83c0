"""Deterministic clean-up of a dictation when no correction provider answers."""

import re


def parse_dictionary(text):
    """(heard, term) pairs in line order; a line without an arrow is a term
    whose spelling is enforced, so it is paired with itself."""
    entries = []
    for line in text.splitlines():
        line = line.strip()
        if not line or line.startswith("#"):
            continue
        heard, arrow, term = line.partition("->")
        heard, term = heard.strip(), term.strip()
        if not arrow:
            entries.append((line, line))
        elif heard and term:
            entries.append((heard, term))
    return entries


def apply_dictionary(text, entries):
    if not entries:
        return text
    # One pass over all forms, longest first, so a replacement is never
    # matched again by a shorter entry.
    ordered = sorted(enumerate(entries), key=lambda e: -len(e[1][0]))
    parts = []
    for index, (heard, _) in ordered:
        words = r"\s+".join(re.escape(w) for w in heard.split())
        parts.append(rf"(?P<e{index}>(?<!\w){words}(?!\w))")
    pattern = re.compile("|".join(parts), re.IGNORECASE)
    return pattern.sub(lambda m: entries[int(m.lastgroup[1:])][1], text)


def tidy(text):
    text = re.sub(r"[ \t]+", " ", text)
    text = re.sub(r" +([,.;:!?…])", r"\1", text)
    # A comma or semicolon glued to the next word, but not "1,5".
    text = re.sub(r"(?<=[^\W\d_])([,;])(?=[^\W\d_])", r"\1 ", text)
    text = re.sub(r"([(\[{]) +", r"\1", text)
    text = re.sub(r" +([)\]}])", r"\1", text)
    return "\n".join(line.strip() for line in text.split("\n")).strip()


def capitalise(text, keep=()):
    """Upper-cases sentence starts, except where a dictionary term of mixed
    case that begins with a small letter (say "iPhone") stands."""
    lower_terms = [t for t in keep if t[:1].islower() and t != t.lower()]

    def fix(m):
        pos = m.start(2)
        for term in lower_terms:
            end = pos + len(term)
            if text.startswith(term, pos) and (end == len(text) or not text[end].isalnum()):
                return m.group(0)
        return m.group(1) + m.group(2).upper()

    return re.sub(r"(^|[.!?]\s+)([^\W\d_])", fix, text)


def clean_up(text, dictionary=""):
    entries = parse_dictionary(dictionary)
    text = tidy(apply_dictionary(text, entries))
    return capitalise(text, [term for _, term in entries])
