#include "core/model/dictionary_lines.h"
#include "test_text.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

DictionaryItem item(const char* heard, const char* term)
{
    return {QUuid::createUuid(), s(term), s(heard)};
}

// "heard>term" per entry, with "*" in front of a learned one.
QStringList shown(const QString& text)
{
    QStringList out;
    const DictionaryLines lines(text);
    for (const DictionaryLines::Entry& e : lines.entries())
        out << (e.learned ? s("*") : QString()) + e.item.heardAs + u'>' + e.item.term;
    return out;
}

const char* const kHandWritten = "# Names\n"
                                 "\n"
                                 "# learned\n"
                                 "kwenda -> Quenda\n"
                                 "  # places\n"
                                 "Berlin\n";

TEST(DictionaryLines, EntriesAreWhatTheParserReadsAndTheMarkAboveMakesThemLearned)
{
    struct Row {
        const char* text;
        QStringList entries;
    };
    const Row rows[] = {
        {kHandWritten, {s("*kwenda>Quenda"), s(">Berlin")}},
        // The mark counts only directly above the entry.
        {"# learned\n\nBerlin", {s(">Berlin")}},
        {"  # learned  \r\nx->y\r\n-> z", {s("*x>y")}},
        {"a\x0b"
         "b\xe2\x80\xa8"
         "c",
         {s(">a"), s(">b"), s(">c")}},
        {"", {}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(shown(s(row.text)), row.entries) << row.text;
}

TEST(DictionaryLines, ChangesTouchOnlyTheirLines)
{
    using Change = std::function<QString(const DictionaryLines&)>;
    struct Row {
        const char* name;
        const char* text;
        Change change;
        const char* expected;
    };
    const Row rows[] = {
        {"add before the first entry, under the heading", kHandWritten,
         [](const auto& d) { return d.added({item("", "GitHub")}); },
         "# Names\n\nGitHub\n# learned\nkwenda -> Quenda\n  # places\nBerlin\n"},
        {"add learned, keeping the order given", "Berlin",
         [](const auto& d) {
             return d.added({item("linuks", "Linux"), item("", "Tux")}, true);
         },
         "# learned\nlinuks -> Linux\n# learned\nTux\nBerlin"},
        {"add to an empty text", "", [](const auto& d) { return d.added({item("a", "b")}); }, "a -> b"},
        {"add below comments only", "# leer", [](const auto& d) { return d.added({item("a", "b")}); },
         "# leer\na -> b"},
        {"add below comments ending in a break", "# leer\r\n",
         [](const auto& d) { return d.added({item("a", "b")}); }, "# leer\r\na -> b\r\n"},
        {"edit drops the learned mark", kHandWritten,
         [](const auto& d) { return d.replaced(0, item("kwenda", "Kwenda")); },
         "# Names\n\nkwenda -> Kwenda\n  # places\nBerlin\n"},
        {"edit keeps Windows breaks", "x\r\ny\r\n",
         [](const auto& d) { return d.replaced(1, item("why", "Y")); }, "x\r\nwhy -> Y\r\n"},
        {"remove takes the mark along", kHandWritten, [](const auto& d) { return d.removed(0); },
         "# Names\n\n  # places\nBerlin\n"},
        {"remove the last line leaves no break behind", "a\nb", [](const auto& d) { return d.removed(1); },
         "a"},
        {"remove the only entry", "# learned\nb", [](const auto& d) { return d.removed(0); }, ""},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.change(DictionaryLines(s(row.text))), s(row.expected)) << row.name;
}

TEST(DictionaryLines, WritableOnlyWhenTheLineReadsBackAsTheItem)
{
    struct Row {
        const char* heard;
        const char* term;
        bool writable;
    };
    const Row rows[] = {
        {"kwenda", "Quenda", true},
        {"", "C#", true},
        {"", "", false},
        {"a -> b", "c", false},
        {"#tag", "Tag", false},
        {"", "#tag", false},
        {"kwenda\nx", "Quenda", false},
        {"x", "line\u2028break", false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(DictionaryLines::writable(item(row.heard, row.term)), row.writable)
            << row.heard << row.term;
}

} // namespace
