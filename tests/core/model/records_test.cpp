#include "core/model/apple_notes_folder.h"
#include "core/model/correction_endpoint.h"
#include "core/model/dictionary_item.h"
#include "core/model/history_entry.h"
#include "core/model/translate_language.h"
#include "test_text.h"

#include <QJsonDocument>

#include <gtest/gtest.h>

namespace {

using Pair = std::pair<QString, QString>; // heard as, term

std::vector<Pair> pairs(const QString& text)
{
    std::vector<Pair> out;
    for (const auto& item : DictionaryItem::parse(text))
        out.push_back({item.heardAs, item.term});
    return out;
}

} // namespace

TEST(DictionaryParse, SkipsCommentsAndBlanksAndSplitsAtFirstArrow)
{
    struct Case {
        const char* text;
        std::vector<Pair> expected;
    };
    const Case cases[] = {
        {"  # note\n\nKubernetes\ncube cuttle -> kubectl",
         {{QString(), s("Kubernetes")}, {s("cube cuttle"), s("kubectl")}}},
        {"a -> b -> c", {{s("a"), s("b -> c")}}},
        {"-> x", {}},
        {"x ->", {}},
        {"x->y", {{s("x"), s("y")}}},
        {"   \n#\n\t", {}},
        {"\xc2\xa0 padded \xe2\x80\x83", {{QString(), s("padded")}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(pairs(s(c.text)), c.expected) << c.text;
}

TEST(DictionaryParse, EveryNewlineKindEndsALine)
{
    const char* separators[] = {"\n", "\r", "\r\n", "\v", "\f", "\xc2\x85", "\xe2\x80\xa8", "\xe2\x80\xa9"};
    for (const char* sep : separators) {
        const QString text = s("one") + s(sep) + s("two -> 2") + s(sep);
        EXPECT_EQ(pairs(text), (std::vector<Pair>{{QString(), s("one")}, {s("two"), s("2")}})) << sep;
    }
}

TEST(DictionaryParse, SerializeWritesOneLinePerItemAndItemsGetFreshIds)
{
    const auto items = DictionaryItem::parse(s("# c\nKubernetes\n\ncube cuttle->kubectl"));
    ASSERT_EQ(items.size(), 2);
    EXPECT_NE(items[0].id, items[1].id);
    EXPECT_EQ(DictionaryItem::serialize(items), s("Kubernetes\ncube cuttle -> kubectl"));
    // Two parses of the same text give equal content but distinct items.
    EXPECT_NE(DictionaryItem::parse(s("a")), DictionaryItem::parse(s("a")));
}

TEST(AppleNotesFolderDecode, NeedsTwoNonEmptyPartsAndSplitsOnce)
{
    const QChar rs(0x1E);
    EXPECT_EQ(AppleNotesFolder::decode(s("iCloud") + rs + s("Notes")),
              (AppleNotesFolder{s("iCloud"), s("Notes")}));
    EXPECT_EQ(AppleNotesFolder::decode(s("acc") + rs + s("a") + rs + s("b")),
              (AppleNotesFolder{s("acc"), s("a") + rs + s("b")}));
    EXPECT_FALSE(AppleNotesFolder::decode(s("Notes")));
    EXPECT_FALSE(AppleNotesFolder::decode(rs + s("Notes")));
    EXPECT_FALSE(AppleNotesFolder::decode(s("iCloud") + rs));
    EXPECT_EQ(AppleNotesFolder({s("a"), s("b")}).id(), s("a") + rs + s("b"));
}

TEST(SmallRecords, TranslateLanguageLookup)
{
    EXPECT_EQ(TranslateLanguage::named(s("xx")).id, s("de"));
    EXPECT_EQ(TranslateLanguage::named(s("DE")).flag, s("🇩🇪"));
}

TEST(HistoryEntryJson, OptionalKeysAreLeftOutAndRequiredOnesEnforced)
{
    HistoryEntry e{QUuid::createUuid(),
                   QDateTime::fromString(s("2025-03-01T08:15:00.700Z"), Qt::ISODateWithMs),
                   s("raw"),
                   s("text"),
                   {},
                   {},
                   {},
                   {}};
    const QJsonObject o = e.toJson();
    EXPECT_EQ(o.keys(), (QStringList{s("date"), s("id"), s("raw"), s("text")}));
    EXPECT_EQ(o.value(s("date")).toString(), s("2025-03-01T08:15:00Z"));
    EXPECT_EQ(o.value(s("id")).toString(), e.id.toString(QUuid::WithoutBraces).toUpper());

    QJsonObject missingText = o;
    missingText.remove(s("text"));
    EXPECT_FALSE(HistoryEntry::fromJson(missingText));
    QJsonObject wrongType = o;
    wrongType.insert(s("duration"), s("3"));
    EXPECT_FALSE(HistoryEntry::fromJson(wrongType));
    QJsonObject badDate = o;
    badDate.insert(s("date"), s("yesterday"));
    EXPECT_FALSE(HistoryEntry::fromJson(badDate));

    e.duration = 2.5;
    e.app = s("Editor");
    e.wasCommand = true;
    e.kind = HistoryEntry::clipboardKind;
    e.serverFailure = s("The speech server at 10.0.0.5 failed (500): out of memory");
    const auto back = HistoryEntry::fromJson(e.toJson());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->serverFailure, e.serverFailure);
    EXPECT_EQ(back->date, QDateTime::fromString(s("2025-03-01T08:15:00Z"), Qt::ISODate));
    EXPECT_EQ(back->duration, 2.5);
    EXPECT_FALSE(back->isDictation());
}

TEST(CorrectionEndpointJson, EveryKeyIsRequiredAndBaseUrlFollowsKind)
{
    const CorrectionEndpoint e{QUuid::createUuid(), s("custom"), s("m"), s("  http://h:1/v1\n"), true};
    const QJsonObject o = e.toJson();
    EXPECT_EQ(CorrectionEndpoint::fromJson(o), e);
    for (const auto& key : o.keys()) {
        QJsonObject partial = o;
        partial.remove(key);
        EXPECT_FALSE(CorrectionEndpoint::fromJson(partial)) << key.toStdString();
    }
    EXPECT_EQ((CorrectionEndpoint{{}, s("mystery"), {}, s("http://x"), true}.resolvedBaseURL()),
              s("https://api.openai.com/v1"));
}
