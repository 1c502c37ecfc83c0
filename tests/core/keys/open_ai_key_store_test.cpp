#include "core/keys/open_ai_key_store.h"
#include "platform/fake/fake_secret_store.h"

#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <vector>

namespace {

using namespace Qt::Literals::StringLiterals;
using Keychain = SecretStore::Keychain;
using Op = FakeSecretStore::Operation;
constexpr Keychain DP = Keychain::DataProtection;
constexpr Keychain Login = Keychain::Login;

const QString kMain = u"de.morvane.quenda"_s;
const QString kLegacy = u"de.oberkamm.Quenda"_s;
const QString kOpenAI = u"openai-api-key"_s;
const QString kClaude = u"claude-api-key"_s;
const QString kEndpoint = u"correction.6F1C2A3B-4D5E-4F60-8A9B-0C1D2E3F4A5B"_s;

const QUuid kId = QUuid::fromString(QLatin1String("{6f1c2a3b-4d5e-4f60-8a9b-0c1d2e3f4a5b}"));

CorrectionEndpoint endpoint(const char* kind)
{
    return {kId, QLatin1String(kind), u"auto"_s, {}, true};
}

struct Item {
    QString service;
    QString account;
    Keychain keychain;
    QByteArray secret;
};
using Items = std::vector<Item>;
const std::optional<Items> kUnchanged;

using Action = std::function<QVariant(OpenAIKeyStore&)>;
using KeyLookups::shown;

const Action loadDefault = [](OpenAIKeyStore& s) { return QVariant(shown(s.load(std::nullopt))); };

Action keyOf(const char* kind)
{
    return [kind](OpenAIKeyStore& s) { return QVariant(shown(s.key(endpoint(kind)))); };
}

Action saving(const char* typed, const QString& account)
{
    return
        [typed, account](OpenAIKeyStore& s) { return QVariant(s.save(QString::fromUtf8(typed), account)); };
}

const Action loadTwice = [](OpenAIKeyStore& s) {
    s.load(std::nullopt);
    return QVariant(shown(s.load(std::nullopt)));
};

const std::vector<std::pair<Op, Keychain>> kNoSecretService{{Op::Read, DP},   {Op::Read, Login},
                                                            {Op::Write, DP},  {Op::Write, Login},
                                                            {Op::Remove, DP}, {Op::Remove, Login}};

struct Case {
    const char* name;
    Items before;
    std::vector<std::pair<Op, Keychain>> failing;
    Action act;
    QVariant result;
    std::optional<Items> after; // kUnchanged: as before
    bool flag = false;          // the data-protection flag is set afterwards
    int calls = -1;             // the store's calls, when they matter
    bool noSecretStore = false; // the key store is built without one
};

// clang-format off
const Case kCases[] = {
    // Saving.
    {"trimmed key replaces the stored one", {{kMain, kClaude, DP, "sk-other"}}, {},
     saving("\tsk-one \r\n", kClaude), true, Items{{kMain, kClaude, DP, "sk-one"}}},
    {"the stored key is not written again, only its login copy goes",
     {{kMain, kClaude, DP, "sk-1"}, {kMain, kClaude, Login, "sk-1"}}, {},
     saving("sk-1 ", kClaude), true, Items{{kMain, kClaude, DP, "sk-1"}}, false, 2},
    {"empty text with nothing stored deletes nothing", {}, {}, saving("", kOpenAI), true, Items{}, false, 4},
    // Left behind, the legacy key would be migrated straight back by the next load.
    {"empty text removes the items of both keychains and the legacy key",
     {{kMain, kOpenAI, DP, "sk-1"}, {kMain, kOpenAI, Login, "sk-1"}, {kLegacy, kOpenAI, Login, "sk-old"}}, {},
     saving(" \n", kOpenAI), true, Items{}, true},
    // Left in place, the old key would win the next load and that load would delete the new one.
    {"login takes what data protection refuses, the older copy there goes", {{kMain, kClaude, DP, "sk-old"}},
     {{Op::Write, DP}}, saving("sk-new", kClaude), true, Items{{kMain, kClaude, Login, "sk-new"}}},
    {"no keychain takes the key", {}, {{Op::Write, DP}, {Op::Write, Login}}, saving("sk-new", kClaude), false,
     Items{}},
    {"read-back still finds the older key", {{kMain, kClaude, Login, "sk-old"}}, {{Op::Read, DP}},
     saving("sk-new", kClaude), false,
     Items{{kMain, kClaude, DP, "sk-new"}, {kMain, kClaude, Login, "sk-old"}}},
    {"removal leaves the item behind", {{kMain, kClaude, Login, "sk-old"}}, {{Op::Remove, Login}},
     saving("", kClaude), false, kUnchanged},
    {"saving the legacy key again keeps the legacy item", {{kLegacy, kOpenAI, Login, "sk-legacy"}}, {},
     saving("sk-legacy", kOpenAI), true,
     Items{{kMain, kOpenAI, DP, "sk-legacy"}, {kLegacy, kOpenAI, Login, "sk-legacy"}}, true},
    // Unanswered reads are not "no key": a removal that may have left the key is no success.
    {"no Secret Service: no key, and no save succeeds", {{kMain, kOpenAI, DP, "sk-1"}}, kNoSecretService,
     [](OpenAIKeyStore& s) {
         return QVariant(QVariantList{shown(s.load(std::nullopt)), shown(s.key(endpoint("claude"))),
                                      s.save(u"sk-2"_s, kOpenAI), s.save({}, kClaude)});
     },
     QVariantList{u""_s, u""_s, false, false}, kUnchanged},
    // Loading: the two migrations, each at most once a run.
    {"login-only key moves to data protection", {{kMain, kOpenAI, Login, "sk-1"}}, {},
     loadTwice, u"sk-1"_s, Items{{kMain, kOpenAI, DP, "sk-1"}}, true, 5},
    {"failed move keeps the key and is not retried this run", {{kMain, kOpenAI, Login, "sk-1"}},
     {{Op::Write, DP}}, loadTwice, u"sk-1"_s, kUnchanged, false, 5},
    {"data-protection key drops its login copy",
     {{kMain, kEndpoint, DP, "sk"}, {kMain, kEndpoint, Login, "sk"}}, {},
     [](OpenAIKeyStore& s) { return QVariant(shown(s.load(kId))); }, u"sk"_s,
     Items{{kMain, kEndpoint, DP, "sk"}}},
    {"legacy key moves to the main service, no copy left",
     {{kLegacy, kOpenAI, DP, "sk-legacy"}, {kLegacy, kOpenAI, Login, "sk-old"}}, {},
     keyOf("chatgpt"), u"sk-legacy"_s, Items{{kMain, kOpenAI, DP, "sk-legacy"}}, true},
    {"legacy key stays when its move fails", {{kLegacy, kOpenAI, Login, "sk-legacy"}}, {{Op::Write, DP}},
     loadDefault, u"sk-legacy"_s, kUnchanged},
    {"undecodable or empty items are no key",
     {{kMain, kOpenAI, DP, ""}, {kMain, kOpenAI, Login, "sk-\xc3"}, {kLegacy, kOpenAI, DP, "\xff\xfe"}}, {},
     loadDefault, u""_s, kUnchanged},
    // An unreadable data-protection item may be newer than a copy met later: never overwritten.
    {"unreadable item and its login copy",
     {{kMain, kClaude, DP, "sk-newer"}, {kMain, kClaude, Login, "sk-older"}},
     {{Op::Read, DP}}, keyOf("claude"), u"sk-older"_s, kUnchanged},
    {"unreadable item and the legacy key",
     {{kMain, kOpenAI, DP, "sk-newer"}, {kLegacy, kOpenAI, Login, "sk-older"}},
     {{Op::Read, DP}}, loadDefault, u"sk-older"_s, kUnchanged},
    {"unreadable item and the endpoint item",
     {{kMain, kClaude, DP, "sk-newer"}, {kMain, kEndpoint, Login, "sk-older"}},
     {{Op::Read, DP}}, keyOf("claude"), u"sk-older"_s, kUnchanged},
    // Built-in kinds' keys once kept per endpoint.
    {"endpoint item moves to the kind account, no copy left",
     {{kMain, kEndpoint, DP, "sk-claude"}, {kMain, kEndpoint, Login, "sk-old"}}, {},
     keyOf("claude"), u"sk-claude"_s, Items{{kMain, kClaude, DP, "sk-claude"}}},
    {"endpoint item stays when the copy fails", {{kMain, kEndpoint, DP, "sk-claude"}},
     {{Op::Write, DP}, {Op::Write, Login}}, keyOf("claude"), u"sk-claude"_s, kUnchanged},
    {"custom endpoint reads only its own item", {{kMain, kOpenAI, DP, "sk-default"}}, {},
     keyOf("custom"), u""_s, kUnchanged, false, 2},
    {"without a secret store nothing is found, kept or touched",
     {{kMain, kOpenAI, DP, "sk-1"}, {kMain, kEndpoint, Login, "sk-2"}}, {},
     [](OpenAIKeyStore& s) {
         return QVariant(QVariantList{shown(s.load(std::nullopt)), shown(s.key(endpoint("claude"))),
                                      s.save(u"sk-3"_s, kOpenAI), s.save({}, kOpenAI)});
     },
     QVariantList{u""_s, u""_s, false, false}, kUnchanged, false, 0, true},
};
// clang-format on

TEST(KeyStore, EveryCaseLeavesTheStoreAsExpected)
{
    QTemporaryDir settingsDir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        QSettings settings(u"Morvane"_s, u"Quenda"_s);
        settings.clear();
        FakeSecretStore secrets;
        OpenAIKeyStore store(c.noSecretStore ? nullptr : &secrets, settings);
        for (const Item& item : c.before)
            secrets.put(item.service, item.account, item.keychain, item.secret);
        for (const auto& [operation, keychain] : c.failing)
            secrets.setFailing(operation, keychain, true);

        const QVariant result = c.act(store);
        EXPECT_EQ(result, c.result) << qPrintable(result.toString());
        const Items& after = c.after.value_or(c.before);
        EXPECT_EQ(secrets.itemCount(), static_cast<int>(after.size()));
        for (const Item& item : after)
            EXPECT_EQ(secrets.item(item.service, item.account, item.keychain), item.secret)
                << qPrintable(item.service + u' ' + item.account);
        EXPECT_EQ(
            QSettings(u"Morvane"_s, u"Quenda"_s).value(OpenAIKeyStore::dataProtectionFlagKey()).toBool(),
            c.flag);
        EXPECT_TRUE(c.calls < 0 || secrets.calls().size() == c.calls)
            << ::testing::PrintToString(secrets.calls());
    }
}

struct LookupRow {
    const char* name;
    Items before;
    std::vector<std::pair<Op, Keychain>> failing;
    std::function<KeyLookup(OpenAIKeyStore&)> lookup;
    std::optional<const char*> key = std::nullopt; // the key found; none: no key
    bool failed = false;
    bool noSecretStore = false;
};

const auto lookupDefault = [](OpenAIKeyStore& s) { return s.load(std::nullopt); };

std::function<KeyLookup(OpenAIKeyStore&)> lookupKind(const char* kind)
{
    return [kind](OpenAIKeyStore& s) { return s.key(endpoint(kind)); };
}

const std::vector<std::pair<Op, Keychain>> kNoReads{{Op::Read, DP}, {Op::Read, Login}};

// clang-format off
const LookupRow kLookupRows[] = {
    {.name = "nothing stored", .before = {}, .failing = {}, .lookup = lookupDefault},
    // Reported as "no key", the settings would offer to save over a key that is still there.
    {.name = "no read answered", .before = {{kMain, kOpenAI, DP, "sk-1"}}, .failing = kNoReads, .lookup = lookupDefault, .failed = true},
    {.name = "data protection unanswered, login empty", .before = {{kMain, kClaude, DP, "sk-1"}}, .failing = {{Op::Read, DP}}, .lookup = lookupKind("claude"), .failed = true},
    {.name = "a copy found beside an unanswered read", .before = {{kMain, kClaude, Login, "sk-2"}}, .failing = {{Op::Read, DP}}, .lookup = lookupKind("claude"), .key = "sk-2"},
    {.name = "custom endpoint unanswered", .before = {}, .failing = kNoReads, .lookup = lookupKind("custom"), .failed = true},
    {.name = "endpoint account unanswered", .before = {}, .failing = kNoReads, .lookup = [](OpenAIKeyStore& s) { return s.load(kId); }, .failed = true},
    {.name = "an undecodable item was answered", .before = {{kMain, kOpenAI, DP, "\xff\xfe"}}, .failing = {}, .lookup = lookupDefault},
    {.name = "without a secret store nobody is asked", .before = {}, .failing = kNoReads, .lookup = [](OpenAIKeyStore& s) { return s.key(endpoint("claude")); }, .noSecretStore = true},
};
// clang-format on

TEST(KeyStore, LookupTellsAnUnansweredSecretServiceApartFromNoKey)
{
    QTemporaryDir settingsDir;
    QSettings settings(settingsDir.filePath(u"defaults.ini"_s), QSettings::IniFormat);
    for (const LookupRow& row : kLookupRows) {
        SCOPED_TRACE(row.name);
        FakeSecretStore secrets;
        OpenAIKeyStore store(row.noSecretStore ? nullptr : &secrets, settings);
        for (const Item& item : row.before)
            secrets.put(item.service, item.account, item.keychain, item.secret);
        for (const auto& [operation, keychain] : row.failing)
            secrets.setFailing(operation, keychain, true);

        const KeyLookup lookup = row.lookup(store);
        ASSERT_EQ(lookup.ok(), !row.failed);
        const std::optional<QString> expected =
            row.key ? std::optional(QString::fromUtf8(*row.key)) : std::nullopt;
        EXPECT_TRUE(row.failed || lookup.value() == expected) << qPrintable(KeyLookups::shown(lookup));
    }
}

// The user defaults are shared with the main thread, so a save on the worker must still leave the
// flag set by the time its answer arrives there.
TEST(KeyStore, BackgroundSaveOfTheDefaultKeySetsTheFlagBeforeItsAnswer)
{
    QTemporaryDir settingsDir;
    QSettings settings(settingsDir.filePath(u"defaults.ini"_s), QSettings::IniFormat);
    FakeSecretStore secrets;
    OpenAIKeyStore store(&secrets, settings);
    std::optional<bool> flagAtAnswer;
    QObject context;
    store.saveInBackground(u"sk-1"_s, kOpenAI, &context, [&](bool saved) {
        EXPECT_TRUE(saved);
        flagAtAnswer = settings.value(OpenAIKeyStore::dataProtectionFlagKey()).toBool();
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return flagAtAnswer.has_value(); }, 10'000)) << "no answer";
    EXPECT_TRUE(*flagAtAnswer);
}

} // namespace

TEST(KeyStore, ABackgroundSaveIsAnnouncedEvenWhenItsCallerIsGone)
{
    QTemporaryDir settingsDir;
    QSettings settings(settingsDir.filePath(u"defaults.ini"_s), QSettings::IniFormat);
    FakeSecretStore secrets;
    OpenAIKeyStore store(&secrets, settings);
    QSignalSpy saved(&store, &OpenAIKeyStore::keySaved);
    auto gone = std::make_unique<QObject>();
    bool calledForGone = false;
    store.saveInBackground(u"sk-1"_s, kClaude, gone.get(), [&](bool) { calledForGone = true; });
    gone.reset();
    ASSERT_TRUE(saved.wait(10'000));
    EXPECT_EQ(saved.count(), 1);
    EXPECT_FALSE(calledForGone);
}
