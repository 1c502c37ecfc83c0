import unittest

from quenda_engine.cleanup import clean_up, parse_dictionary


class CleanUpTest(unittest.TestCase):
    def test_dictionary_parsing_skips_comments_and_broken_lines(self):
        text = "  # note\n\nKubernetes\r\ncube cuttle -> kubectl\n-> x\nx ->\na -> b -> c\nx->y"
        self.assertEqual([("Kubernetes", "Kubernetes"), ("cube cuttle", "kubectl"),
                          ("a", "b -> c"), ("x", "y")], parse_dictionary(text))

    def test_dictionary_replaces_whole_words_in_any_case_and_spacing(self):
        self.assertEqual("Run kubectl, therefore Theresa uses Kubernetes",
                         clean_up("run Cube   cuttle, therefore there uses kubernetes",
                                  "cube cuttle -> kubectl\nthere -> Theresa\nKubernetes"))

    def test_replacements_do_not_chain_and_longer_forms_win(self):
        self.assertEqual("Beta gamma delta", clean_up(
            "alpha gamma beta", "alpha -> beta\nbeta -> gamma\ngamma beta -> gamma delta"))

    def test_punctuation_spacing_and_sentence_starts(self):
        self.assertEqual("Yes, no; maybe! (really) 1,5 ok? iPhone here. Über alles",
                         clean_up("yes ,no;maybe  ! ( really ) 1,5 ok ? iphone here. über alles",
                                  "iPhone"))
