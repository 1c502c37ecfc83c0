"""Deterministic clean-up of what the recogniser heard, and of a dictation when no correction
provider answers: the text as a person would write it."""

import re

# Bounds on one clean-up, far above any real dictation and dictionary: lines past
# MAX_ENTRIES, and lines whose heard form or term is longer than MAX_FORM characters,
# are not applied, and a text longer than MAX_TEXT characters (hours of speech) is
# tidied without the dictionary. Within them the work grows with the text times the
# number of distinct form lengths: under a second even for a dictionary made to be slow.
MAX_ENTRIES = 20_000
MAX_FORM = 100
MAX_TEXT = 100_000


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


def _fold(text):
    """Folds case one character for one, so a slice of the result is the fold of
    the same slice of the text. Characters that a case-insensitive pattern takes
    as equal fold alike; a few others do too ("ß" and "s"), so a fold that
    matches only finds a candidate."""
    if text.isascii():
        return text.lower()
    fold = {c: c.lower().upper().lower()[:1] for c in set(text)}
    return "".join([fold[c] for c in text])


def _index(entries):
    """Folded heard forms, words one space apart, each to its entries in the
    order in which they are tried: longest form as written first, then by line."""
    index, seen = {}, set()
    for i, (heard, _) in sorted(enumerate(entries), key=lambda e: -len(e[1][0])):
        lower = heard.lower()
        # A form that differs from an earlier one only in case never wins. Lower
        # case compares safely only while it keeps the length ("İ" gives two).
        same = tuple((lower if len(lower) == len(heard) else heard).split())
        if same not in seen:
            seen.add(same)
            index.setdefault(" ".join(_fold(w) for w in heard.split()), []).append(i)
    return index


def apply_dictionary(text, entries):
    """Replaces each whole-word heard form, case-insensitively and across any
    whitespace between its words. Scanning left to right, the first place where
    any form matches wins; there, the longest form, then the earliest line."""
    if not entries:
        return text
    index = _index(entries)
    lengths = sorted({len(form) for form in index})
    # The text with each run of whitespace made one space, and where each of its
    # characters stands in the text.
    tokens = [m.span() for m in re.finditer(r"\S+", text)]
    flat = " ".join(text[a:b] for a, b in tokens)
    folded, at = _fold(flat), []
    for a, b in tokens:
        at.extend(range(a, b + 1))
    ends = {m.end() for m in re.finditer(r"\S(?!\w)", flat)}
    patterns, out, done = {}, [], 0
    for m in re.finditer(r"(?<!\w)\S", flat):
        start = m.start()
        if at[start] < done:
            continue
        tried = []
        for n in lengths:
            end = start + n
            if end > len(flat):
                break
            if end in ends:
                tried.extend(index.get(folded[start:end], ()))
        # Only the form's own pattern knows the regex engine's case rules.
        for i in sorted(tried, key=lambda i: (-len(entries[i][0]), i)):
            if i not in patterns:
                words = r"\s+".join(re.escape(w) for w in entries[i][0].split())
                patterns[i] = re.compile(rf"(?<!\w){words}(?!\w)", re.IGNORECASE)
            hit = patterns[i].match(text, at[start])
            if hit:
                out += [text[done:hit.start()], entries[i][1]]
                done = hit.end()
                break
    out.append(text[done:])
    return "".join(out)


def tidy(text):
    text = re.sub(r"[ \t]+", " ", text)
    text = re.sub(r" +([,.;:!?…])", r"\1", text)
    # A comma or semicolon glued to the next word, but not "1,5".
    text = re.sub(r"(?<=[^\W\d_])([,;])(?=[^\W\d_])", r"\1 ", text)
    text = re.sub(r"([(\[{]) +", r"\1", text)
    text = re.sub(r" +([)\]}])", r"\1", text)
    return "\n".join(line.strip() for line in text.split("\n")).strip()


# "i" alone, or before the ending of "i'm", "i'll", "i've" or "i'd".
_PRONOUN = re.compile(r"(?<![\w'’])i(?=['’](?:m|ll|ve|d)(?![\w'’])|(?![\w'’]))")
_CLOSERS = ")]}\"'”’»"


def pronoun(text):
    return _PRONOUN.sub("I", text)


def full_stop(text):
    """A full stop after the last word, unless a mark already ends the text."""
    core = text.rstrip(_CLOSERS)
    if core and core[-1].isalnum():
        return text + "."
    return text


def capitalise(text, keep=()):
    """Upper-cases sentence starts, except where a dictionary term that begins
    with a small letter (say "iPhone" or "kubectl") stands: it stays as written."""
    lower_terms = {t for t in keep if t[:1].islower()}
    lengths = sorted({len(t) for t in lower_terms})

    def fix(m):
        pos = m.start(2)
        for n in lengths:
            end = pos + n
            if end > len(text):
                break
            if text[pos:end] in lower_terms and (end == len(text) or not text[end].isalnum()):
                return m.group(0)
        return m.group(1) + m.group(2).upper()

    return re.sub(r"(^|[.!?]\s+)([^\W\d_])", fix, text)


def _entries(text, dictionary):
    if len(text) > MAX_TEXT:
        return []
    return [(heard, term) for heard, term in parse_dictionary(dictionary)[:MAX_ENTRIES]
            if len(heard) <= MAX_FORM and len(term) <= MAX_FORM]


def clean_up(text, dictionary=""):
    entries = _entries(text, dictionary)
    text = tidy(apply_dictionary(pronoun(text), entries))
    return full_stop(capitalise(text, [term for _, term in entries]))


def written(text, dictionary=""):
    """A speech server's text with the dictionary applied. Such a server writes sentences
    itself, in any language, so the English rules of clean_up stay out of it."""
    return tidy(apply_dictionary(text, _entries(text, dictionary)))
