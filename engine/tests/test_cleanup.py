import unittest

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
                 "Run kubectl, therefore Theresa uses Kubernetes"),
                # Replacements do not chain, and the longer form wins.
                ("alpha gamma beta", "alpha -> beta\nbeta -> gamma\ngamma beta -> gamma delta",
                 "Beta gamma delta"),
                ("yes ,no;maybe  ! ( really ) 1,5 ok ? iphone here. über alles", "iPhone",
                 "Yes, no; maybe! (really) 1,5 ok? iPhone here. Über alles")):
            self.assertEqual(cleaned, clean_up(raw, dictionary))
