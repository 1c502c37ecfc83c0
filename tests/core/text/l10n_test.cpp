#include "core/text/l10n.h"

#include "support/temp_support_dir.h"
#include "support/test_text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

namespace {

// Each table file as "<folder>/<name>": 0 program resources, 1 source tree, 2 support folder.
struct TableFile {
    const char* path;
    const char* json;
};

TEST(L10n, PicksTheLanguageAndFallsBackKeyByKey)
{
    struct Case {
        const char* preferred;
        std::vector<TableFile> files;
        const char* code;
        std::vector<std::pair<const char*, const char*>> lookups; // key, expected text
    };
    // clang-format off
    const Case cases[] = {
        {"de-DE", {}, "en", {{"a", "a"}}},
        // "_" keys are no texts.
        {"de-AT", {{"0/de.json", R"({"a": "de", "_c": "de"})"},
                   {"0/en.json", R"({"a": "en", "b": "en", "_c": "en"})"}},
         "de", {{"a", "de"}, {"b", "en"}, {"missing", "missing"}, {"_c", "_c"}}},
        // The plain "pt" table is not a fallback for "pt-BR"; only English is.
        {"pt-BR", {{"0/pt_BR.json", R"({"a": "br"})"}, {"0/pt.json", R"({"a": "pt", "b": "pt"})"},
                   {"0/en.json", R"({"b": "en"})"}},
         "pt-BR", {{"a", "br"}, {"b", "en"}}},
        {"fr", {{"0/es.json", R"({"a": "es"})"}, {"0/de.json", R"({"a": "de"})"}}, "de", {{"a", "de"}}},
        // Later folders win key by key; only .json files count.
        {"de", {{"0/de.json", R"({"a": "0", "b": "0", "c": "0"})"}, {"1/de.json", R"({"b": "1", "c": "1"})"},
                {"2/DE.JSON", R"({"c": "2"})"}, {"2/de.txt", R"({"c": "txt"})"}},
         "de", {{"a", "0"}, {"b", "1"}, {"c", "2"}}},
        // One number spoils the whole file; the other files, odd names too, still load.
        {"de", {{"0/de.json", R"({"a": "de", "n": 1})"}, {"1/de.json", R"({"a": )"},
                {"1/__.json", R"({"a": "_"})"}, {"2/de.json", R"({"b": "de"})"},
                {"0/en.json", R"({"a": "en"})"}},
         "de", {{"a", "en"}, {"b", "de"}}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.preferred);
        QTemporaryDir root;
        for (const TableFile& table : c.files) {
            const QString path = root.filePath(s(table.path));
            QDir().mkpath(QFileInfo(path).path());
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(table.json);
        }
        QStringList folders;
        for (const char* folder : {"0", "1", "2"})
            folders << root.filePath(s(folder));
        L10n::install({folders, {s(c.preferred)}});
        EXPECT_EQ(L10n::loaded().code, s(c.code));
        for (const auto& [key, expected] : c.lookups)
            EXPECT_EQ(L10n::s(s(key)), s(expected)) << key;
    }
}

class L10nFolders : public TempSupportDir {};

TEST_F(L10nFolders, OnlyTheProgramsOwnResourcesAndTheSupportFolderAreRead)
{
    const QStringList folders = L10n::directories();
    ASSERT_FALSE(folders.isEmpty());
    EXPECT_EQ(folders.last(), supportFile(QStringLiteral("Languages")));
    for (const QString& folder : folders)
        EXPECT_FALSE(folder.startsWith(QStringLiteral(QUENDA_SOURCE_DIR "/resources")))
            << folder.toStdString();
}

} // namespace
