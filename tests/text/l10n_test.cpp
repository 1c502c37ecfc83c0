#include "core/l10n.h"

#include "support/temp_support_dir.h"
#include "write_file.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

namespace {

QString text(const char* s)
{
    return QString::fromUtf8(s);
}

struct TableFile {
    int folder; // 0 program resources, 1 source tree, 2 support folder
    const char* name;
    const char* json;
};

struct Lookup {
    const char* key;
    const char* expected;
};

struct ResolveCase {
    const char* name;
    QStringList preferred;
    std::vector<TableFile> files;
    const char* code;
    std::vector<Lookup> lookups;
};

void PrintTo(const ResolveCase& c, std::ostream* os)
{
    *os << c.name;
}

const char* const kGerman = R"({"greeting": "Hallo", "_comment": "ignored"})";
const char* const kEnglish = R"({"greeting": "Hello", "farewell": "Goodbye", "onlyEnglish": "English"})";

class ResolveTest : public ::testing::TestWithParam<ResolveCase> {
protected:
    QStringList makeFolders(const std::vector<TableFile>& files)
    {
        QStringList folders;
        for (int i = 0; i < 3; ++i)
            folders << m_root.filePath(QStringLiteral("folder%1/Languages").arg(i));
        for (const TableFile& file : files) {
            const QString path = QDir(folders[file.folder]).filePath(text(file.name));
            writeFile(path, QByteArray(file.json));
        }
        return folders;
    }

    QTemporaryDir m_root;
};

TEST_P(ResolveTest, PicksLanguageAndFallsBack)
{
    const ResolveCase& c = GetParam();
    const L10n::Loaded loaded = L10n::load({makeFolders(c.files), c.preferred});
    EXPECT_EQ(loaded.code, text(c.code));

    L10n::install({makeFolders(c.files), c.preferred});
    for (const Lookup& lookup : c.lookups)
        EXPECT_EQ(L10n::s(text(lookup.key)), text(lookup.expected)) << lookup.key;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ResolveTest,
    ::testing::Values(
        ResolveCase{"noTables", {text("de-DE")}, {}, "en", {{"greeting", "greeting"}}},
        ResolveCase{"regionFallsToLanguage",
                    {text("de-AT"), text("en")},
                    {{0, "de.json", kGerman}, {0, "en.json", kEnglish}},
                    "de",
                    {{"greeting", "Hallo"}, {"farewell", "Goodbye"}, {"missing.key", "missing.key"}}},
        // The plain "pt" table is not a fallback for "pt-BR"; only English is.
        ResolveCase{"regionTableWins",
                    {text("pt-BR")},
                    {{0, "pt_BR.json", R"({"a": "brasileiro"})"},
                     {0, "pt.json", R"({"a": "europeu", "b": "só europeu"})"},
                     {0, "en.json", R"({"b": "English b"})"}},
                    "pt-BR",
                    {{"a", "brasileiro"}, {"b", "English b"}}},
        ResolveCase{"firstInOrderWithoutEnglish",
                    {text("fr")},
                    {{0, "es.json", R"({"a": "es"})"}, {0, "de.json", R"({"a": "de"})"}},
                    "de",
                    {{"a", "de"}}},
        ResolveCase{"posixCLocale", {text("C")}, {{0, "en.json", kEnglish}}, "en", {{"greeting", "Hello"}}},
        ResolveCase{"noPreferredLanguages",
                    {},
                    {{0, "de.json", kGerman}, {0, "en.json", kEnglish}},
                    "en",
                    {{"greeting", "Hello"}}},
        ResolveCase{"scriptCandidate",
                    {text("zh_Hans_CN")},
                    {{0, "zh_hans.json", R"({"a": "简体"})"}, {0, "zh.json", R"({"a": "中文"})"}},
                    "zh-Hans",
                    {{"a", "简体"}}},
        // The support folder's texts win key by key over the program's.
        ResolveCase{"foldersMerge",
                    {text("de")},
                    {{0, "de.json", R"({"both": "program", "programOnly": "p"})"},
                     {1, "de.json", R"({"both": "source", "sourceOnly": "s"})"},
                     {2, "de.json", R"({"both": "support", "supportOnly": "u"})"}},
                    "de",
                    {{"both", "support"}, {"programOnly", "p"}, {"sourceOnly", "s"}, {"supportOnly", "u"}}},
        ResolveCase{"underscoreKeysIgnored",
                    {text("de")},
                    {{0, "de.json", kGerman}},
                    "de",
                    {{"_comment", "_comment"}, {"greeting", "Hallo"}}},
        // One number spoils the whole file; the other files still load.
        ResolveCase{"numberSkipsFile",
                    {text("de")},
                    {{0, "de.json", R"({"greeting": "Hallo", "count": 1})"}, {0, "en.json", kEnglish}},
                    "en",
                    {{"greeting", "Hello"}}},
        ResolveCase{"brokenFilesSkipped",
                    {text("de")},
                    {{0, "de.json", "{\"greeting\": "},
                     {1, "de.json", R"(["Hallo"])"},
                     {2, "de.json", R"({"farewell": "Tschüss"})"},
                     {0, "en.json", kEnglish}},
                    "de",
                    {{"greeting", "Hello"}, {"farewell", "Tschüss"}}},
        ResolveCase{"onlyJsonFilesRead",
                    {text("de")},
                    {{0, "de.txt", kGerman}, {0, "DE.JSON", R"({"a": "de"})"}, {0, "en.json", kEnglish}},
                    "de",
                    {{"greeting", "Hello"}, {"a", "de"}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(L10nCodes, CanonicalForms)
{
    const std::vector<std::pair<const char*, const char*>> cases{
        {"EN", "en"}, {"pt_br", "pt-BR"}, {"zh_hans_cn", "zh-Hans-CN"}, {"es-419", "es-419"},
        {"__", "__"}, {"", ""},           {"de--at_", "de-AT"},         {"sr_latn", "sr-Latn"},
    };
    for (const auto& [input, expected] : cases)
        EXPECT_EQ(L10n::canonical(text(input)), text(expected)) << input;
}

class L10nFolders : public TempSupportDir {};

TEST_F(L10nFolders, SupportFolderComesLastAndTheSourceTreeIsRead)
{
    const QStringList folders = L10n::directories();
    ASSERT_FALSE(folders.isEmpty());
    EXPECT_EQ(folders.last(), supportFile(QStringLiteral("Languages")));
    EXPECT_TRUE(folders.contains(QStringLiteral(QUENDA_SOURCE_DIR "/resources/Languages")));
}

} // namespace
