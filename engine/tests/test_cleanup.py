import random
import re
import sys
import time
import unittest

from quenda_engine import cleanup
from quenda_engine.cleanup import clean_up, parse_dictionary


class CleanUpTest(unittest.TestCase):
    def test_dictionary_parsing_skips_comments_and_broken_lines(self):
        text = "  # note\n\nKubernetes\r\ncube cuttle -> kubectl\n-> x\nx ->\na -> b -> c\nx->y"
        self.assertEqual([("Kubernetes", "Kubernetes"), ("cube cuttle", "kubectl"),
                          ("a", "b -> c"), ("x", "y")], parse_dictionary(text))

    def test_whole_word_replacements_punctuation_and_sentence_starts(self):
        for raw, dictionary, cleaned in (
                ("run Cube   cuttle, therefore there uses kubernetes",
                 "cube cuttle -> kubectl\nthere -> Theresa\nKubernetes",
                 "Run kubectl, therefore Theresa uses Kubernetes."),
                ("yes ,no;maybe  ! ( really ) 1,5 ok ? iphone here. über alles", "iPhone",
                 "Yes, no; maybe! (really) 1,5 ok? iPhone here. Über alles.")):
            self.assertEqual(cleaned, clean_up(raw, dictionary))

    def test_what_the_recogniser_heard_is_written_as_a_person_would(self):
        for case, heard, written in (
                ("sentence case and a closing full stop", "the report that the the ordeal",
                 "The report that the the ordeal."),
                ("the pronoun, alone and contracted", "i think i'm right and i'll say so i'd",
                 "I think I'm right and I'll say so I'd."),
                ("no small i inside a word or after an apostrophe", "hi it's sci fi isn't it",
                 "Hi it's sci fi isn't it."),
                ("a mark already ends it", "is it done?", "Is it done?"),
                ("the stop goes after a closing quote", 'say "hello"', 'Say "hello".'),
                ("nothing heard stays nothing", "", "")):
            with self.subTest(case):
                self.assertEqual(written, clean_up(heard))

    def test_which_dictionary_form_matches_where(self):
        for case, raw, dictionary, cleaned in (
                ("case of the heard form is ignored, the term is kept as written",
                 "say CUBE Cuttle", "cube cuttle -> kubeCTL", "Say kubeCTL."),
                ("only whole words; an underscore is part of a word",
                 "thereby there's _there there_ (there), there", "there -> T",
                 "Thereby T's _there there_ (T), T."),
                ("words of a form match across any whitespace, line breaks included",
                 "a cube\n\t cuttle b", "cube cuttle -> K", "A K b."),
                ("a form may hold punctuation, bounded by non-word characters",
                 "use c# not c#x or xc#, node.js not node.jsx", "c# -> C#\nnode.js -> Node.js",
                 "Use C# not c#x or xc#, Node.js not node.jsx."),
                ("the longer form wins where two start at the same place",
                 "new york city and new york", "new york -> NY\nnew york city -> NYC",
                 "NYC and NY."),
                ("length is that of the form as written, spaces included",
                 "a b c", "a    b -> X\na b c -> Y", "X c."),
                ("of forms of equal length the earlier line wins",
                 "ab", "AB -> X\nab -> Y", "X."),
                ("the leftmost match wins over a longer one starting later",
                 "a b c d", "a b -> X\nb c d -> Y", "X c d."),
                ("a replacement is never matched again", "one", "one -> Two\nTwo -> three",
                 "Two."),
                ("non-ASCII letters compare case-insensitively",
                 "go ÜBER, η ΟΔΟΣ", "über -> Uber\nοδος -> Odos", "Go Uber, η Odos."),
                ("a folded look-alike of another length class is no match",
                 "gros", "groß -> big", "Gros."),
                ("a mixed-case term starting small stays small only as a whole word",
                 "ipad. iPadOS. ipad", "iPad", "iPad. IPadOS. iPad."),
                ("a term starting small stays small at a sentence start",
                 "cube cuttle runs. npm too", "cube cuttle -> kubectl\nnpm", "kubectl runs. npm too.")):
            with self.subTest(case):
                self.assertEqual(cleaned, clean_up(raw, dictionary))

    def test_folding_keeps_together_letters_that_match_case_insensitively(self):
        # The dictionary look-up relies on it: a split would lose a match.
        cased = "".join(c for c in map(chr, range(sys.maxunicode + 1))
                        if c.lower() != c or c.upper() != c)
        folded = cleanup._fold(cased)
        self.assertEqual(len(cased), len(folded))
        for c, f in zip(cased, folded):
            for match in re.findall(re.escape(c), cased, re.IGNORECASE):
                self.assertEqual(f, cleanup._fold(match), f"{c!r} matches {match!r}")

    def test_large_dictionaries_and_texts_cost_seconds_not_minutes(self):
        rnd = random.Random(7)

        def words(count):
            return " ".join("".join(rnd.choice("aeioukstrnml") for _ in range(rnd.randint(2, 8)))
                            for _ in range(count))

        def forms(lengths, base=words(800)):
            return "\n".join(f"{base[:n].strip()} -> T{n}" for n in lengths)

        for case, text, dictionary in (
                ("10,000 entries over a dictation of 5 KB", words(900)[:5000],
                 "\n".join(f"{words(rnd.randint(1, 3))} -> T{i}" for i in range(10_000))),
                ("a text longer than any dictation", (words(20_000) + " ") * 25,
                 forms(range(1, 100))),
                ("forms of 3,000 lengths", words(15_000), forms(range(1, 3000)))):
            with self.subTest(case):
                # Processor time, not wall time: a loaded machine must not fail this. The quadratic
                # version spent over a minute here, the linear one well under a second.
                began = time.process_time()
                clean_up(text, dictionary)
                self.assertLess(time.process_time() - began, 10.0)
