#include "widget_helpers.h"

#include "core/base/timing.h"
#include "core/keys/open_ai_key_store.h"
#include "core/state/state_fixture.h"
#include "core/text/l10n.h"
#include "platform/fake/fake_secret_store.h"
#include "ui/binder/settings_binder.h"
#include "ui/kit/icon_button.h"
#include "ui/kit/kit_label.h"
#include "ui/kit/label_button.h"
#include "ui/kit/segmented_control.h"
#include "ui/kit/text_field.h"
#include "ui/kit/toggle_switch.h"
#include "ui/pages/settings/correction_section.h"
#include "ui/pages/settings/endpoint_row.h"
#include "ui/pages/settings/provider_key_field.h"
#include "ui/pages/settings/settings_row.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace {

using Keychain = SecretStore::Keychain;
using Operation = FakeSecretStore::Operation;

const QUuid hostedId = QUuid::createUuidV5(QUuid(), s("hosted"));
const QUuid serverId = QUuid::createUuidV5(QUuid(), s("server"));
const QString server = s("http://127.0.0.1:11434/v1");
const QString secret = s("sk-never-in-a-file-4711");

// The section on the real state and key store, over two endpoints: a hosted provider and a
// server of the user's own, with a fake Secret Service that can be made to fail.
class CorrectionSectionTest : public StateFixture {
public:
    void SetUp() override
    {
        StateFixture::SetUp();
        build();
    }
    void TearDown() override
    {
        m_section.reset();
        m_binder.reset();
        StateFixture::TearDown();
    }

    // A fresh state from the file and a section on it, the key store kept.
    void build()
    {
        m_section.reset();
        m_binder.reset();
        makeStateWith([](QuendaConfig& c) {
            c.correctionEndpoints = {{hostedId, s("chatgpt"), s("auto"), {}, true},
                                     {serverId, s("custom"), s("llama3.2"), server, true}};
        });
        m_binder = std::make_unique<SettingsBinder>(state());
        m_section = std::make_unique<CorrectionSection>(*m_binder, m_commands, &m_keys);
        m_section->resize(800, 1600);
        m_section->show();
        settleKeys();
        m_configCalls.clear();
    }

    CorrectionSection& section() { return *m_section; }
    EndpointRow& row(int index) { return *section().endpoints().at(index); }
    // Lets the key store's worker answer, and the reads those answers start answer too.
    void settleKeys()
    {
        for (int round = 0; round < 2; ++round) {
            m_keys.waitForIdle();
            QCoreApplication::sendPostedEvents();
        }
    }
    static void type(QLineEdit* field, const QString& text)
    {
        field->setText(text);
        emit field->editingFinished();
    }
    std::optional<QByteArray> storedKey(const QString& account) const
    {
        return m_secrets.item(OpenAIKeyStore::service(), account, Keychain::DataProtection);
    }

    FakeSecretStore m_secrets;
    OpenAIKeyStore m_keys{&m_secrets, m_settings};
    std::unique_ptr<SettingsBinder> m_binder;
    std::unique_ptr<CorrectionSection> m_section;
};

// ---- Each control writes its field, in one configuration write ----

struct WriteRow {
    const char* control;
    std::function<void(CorrectionSectionTest&)> act;
    std::function<void(QuendaConfig& expected, const QuendaConfig& now)> change;
};

TEST_F(CorrectionSectionTest, EachControlWritesItsFieldOnce)
{
    const QList<WriteRow> rows{
        // clang-format off
        {"polishing", [](auto& t) { t.section().polishing()->click(); }, [](auto& c, auto&) { c.autoCorrect = false; }},
        {"fallback", [](auto& t) { t.section().fallback()->click(); }, [](auto& c, auto&) { c.correctionFallback = true; }},
        {"enabled", [](auto& t) { t.row(0).enabled()->click(); }, [](auto& c, auto&) { c.correctionEndpoints[0].enabled = false; }},
        {"kind", [](auto& t) { emit t.row(0).kind()->activated(1); }, [](auto& c, auto&) { c.correctionEndpoints[0].kind = s("claude"); }},
        {"model typed", [](auto& t) { type(t.row(1).model()->editor(), s(" qwen3 ")); }, [](auto& c, auto&) { c.correctionEndpoints[1].model = s("qwen3"); }},
        {"model emptied", [](auto& t) { type(t.row(1).model()->editor(), {}); }, [](auto& c, auto&) { c.correctionEndpoints[1].model = s("auto"); }},
        {"base URL", [](auto& t) { type(t.row(1).baseURL()->editor(), s(" https://llm.example.org/v1 ")); }, [](auto& c, auto&) { c.correctionEndpoints[1].baseURL = s("https://llm.example.org/v1"); }},
        {"down", [](auto& t) { t.row(0).downButton()->click(); }, [](auto& c, auto&) { c.correctionEndpoints.swapItemsAt(0, 1); }},
        {"up", [](auto& t) { t.row(1).upButton()->click(); }, [](auto& c, auto&) { c.correctionEndpoints.swapItemsAt(0, 1); }},
        {"remove", [](auto& t) { t.row(0).removeButton()->click(); }, [](auto& c, auto&) { c.correctionEndpoints.removeFirst(); }},
        {"add", [](auto& t) { t.section().addEndpoint()->click(); }, [](auto& c, auto& now) { c.correctionEndpoints.append({now.correctionEndpoints.last().id, s("chatgpt"), s("auto"), {}, true}); }},
        // clang-format on
    };
    for (const WriteRow& row : rows) {
        SCOPED_TRACE(row.control);
        build();
        QuendaConfig expected = state().config();
        row.act(*this);
        row.change(expected, state().config());
        expected.syncLegacyCorrectionFields();
        EXPECT_EQ(m_configCalls.size(), 1);
        EXPECT_TRUE(state().config() == expected);
    }
}

// ---- Controls follow changes made elsewhere ----

struct FollowRow {
    const char* change;
    std::function<void(QuendaConfig&)> elsewhere;
    std::function<bool(CorrectionSectionTest&)> shown;
};

TEST_F(CorrectionSectionTest, ControlsFollowChangesMadeElsewhere)
{
    const QList<FollowRow> rows{
        // clang-format off
        {"polishing off", [](auto& c) { c.autoCorrect = false; }, [](auto& t) { return !t.section().polishing()->isChecked(); }},
        {"a stored local model", [](auto& c) { c.polishProvider = PolishProvider::Local; }, [](auto& t) { return t.row(0).isVisible() && t.section().fallback()->isVisible() && !t.section().template findChild<SegmentedControl*>(); }},
        {"fallback on", [](auto& c) { c.correctionFallback = true; }, [](auto& t) { return t.section().fallback()->isChecked(); }},
        {"model", [](auto& c) { c.correctionEndpoints[0].model = s("gpt-5"); }, [](auto& t) { return t.row(0).model()->text() == s("gpt-5"); }},
        {"kind", [](auto& c) { c.correctionEndpoints[1].kind = s("cursor"); }, [](auto& t) { return t.row(1).kind()->currentIndex() == 2 && !t.row(1).baseURL()->isVisible(); }},
        {"order", [](auto& c) { c.correctionEndpoints.swapItemsAt(0, 1); }, [](auto& t) { return t.row(0).id() == serverId && !t.row(0).upButton()->isEnabled() && !t.row(1).downButton()->isEnabled(); }},
        {"removed", [](auto& c) { c.correctionEndpoints.removeLast(); }, [](auto& t) { return t.section().endpoints().size() == 1 && !t.row(0).removeButton()->isEnabled(); }},
        // clang-format on
    };
    for (const FollowRow& row : rows) {
        SCOPED_TRACE(row.change);
        build();
        configure(row.elsewhere);
        EXPECT_TRUE(row.shown(*this));
    }
}

TEST_F(CorrectionSectionTest, AFieldBeingTypedInKeepsItsTextAndCaretUntilItsOwnValueChanges)
{
    QLineEdit* field = row(1).baseURL()->editor();
    field->setText(s("http://10.0"));
    field->setCursorPosition(4);
    configure([](QuendaConfig& c) { c.autoCorrect = false; });
    EXPECT_EQ(field->text(), s("http://10.0"));
    EXPECT_EQ(field->cursorPosition(), 4);
    configure([](QuendaConfig& c) { c.correctionEndpoints[1].baseURL = s("http://10.0.0.9/v1"); });
    EXPECT_EQ(field->text(), s("http://10.0.0.9/v1"));
    EXPECT_EQ(field->cursorPosition(), 4);
}

// ---- Input that cannot work is refused on its row ----

struct RefusalRow {
    const char* typed;
    const char* problem; // empty: saved
};

TEST_F(CorrectionSectionTest, ABaseURLThatCannotWorkIsRefusedWithItsReason)
{
    const QList<RefusalRow> rows{
        // clang-format off
        {"http://192.168.1.4:8080/v1", ""},
        {"https://llm.example.org/v1", ""},
        {"", "settings.correction.baseURL.empty"},
        {"   ", "settings.correction.baseURL.empty"},
        {"ftp://llm.example.org/v1", "settings.correction.baseURL.invalid"},
        {"localhost:11434", "settings.correction.baseURL.invalid"},
        {"http://", "settings.correction.baseURL.invalid"},
        {"llm.example.org", "settings.correction.baseURL.invalid"},
        // clang-format on
    };
    for (const RefusalRow& r : rows) {
        SCOPED_TRACE(r.typed);
        build();
        type(row(1).baseURL()->editor(), s(r.typed));
        const bool saved = !*r.problem;
        EXPECT_EQ(m_configCalls.size(), saved ? 1 : 0);
        EXPECT_EQ(row(1).baseURL()->refusal(), saved ? QString() : L10n::s(r.problem));
    }
}

// Chosen, a server of the user's own waits for its address: no reason before anything could be
// typed, no link to the provider's keys; leaving the address empty says why nothing was saved.
TEST_F(CorrectionSectionTest, AServerOfYourOwnIsStoredOnlyWithItsBaseURL)
{
    emit row(0).kind()->activated(3);
    settleKeys();
    EXPECT_TRUE(m_configCalls.isEmpty());
    EXPECT_FALSE(row(0).baseURLRow()->isHidden());
    EXPECT_EQ(row(0).baseURL()->refusal(), QString());
    EXPECT_EQ(row(0).key()->row()->detail()->text(), L10n::s("settings.correction.key.noneCustom"));
    EXPECT_FALSE(row(0).key()->isEnabled()) << "a key typed now would go to the provider";
    type(row(0).baseURL()->editor(), s(""));
    EXPECT_TRUE(m_configCalls.isEmpty());
    EXPECT_EQ(row(0).baseURL()->refusal(), L10n::s("settings.correction.baseURL.empty"));
    // Another provider and back: the row waits afresh.
    emit row(0).kind()->activated(0);
    emit row(0).kind()->activated(3);
    EXPECT_EQ(row(0).baseURL()->refusal(), QString());
    type(row(0).baseURL()->editor(), s("http://10.0.0.9/v1"));
    ASSERT_EQ(m_configCalls.size(), 1);
    const CorrectionEndpoint now = state().config().correctionEndpoints.at(0);
    EXPECT_EQ(now.kind, s("custom"));
    EXPECT_EQ(now.baseURL, s("http://10.0.0.9/v1"));
}

// ---- The model lookup: asked when a base URL or key changes, answered under the model ----

TEST_F(CorrectionSectionTest, ANewBaseURLOrKindAsksForTheModelsOnceAndTypingDoesNot)
{
    QTest::keyClicks(row(1).baseURL()->editor(), s("x"));
    settleKeys();
    EXPECT_TRUE(m_commands.lookups.isEmpty()) << "typing asked";
    type(row(1).baseURL()->editor(), s("http://10.0.0.9/v1"));
    emit row(0).kind()->activated(1);
    settleKeys();
    EXPECT_EQ(m_commands.lookups,
              QStringList({s("@http://10.0.0.9/v1"),
                           s("@") + CorrectionEndpoint{{}, s("claude"), {}, {}, true}.resolvedBaseURL()}));
}

TEST_F(CorrectionSectionTest, TheLookupsAnswerOrErrorShowsUnderTheModel)
{
    state().setCorrectionCatalogs({{server, CorrectionCatalog{s("qwen3"), {s("qwen3"), s("llama3.2")}}}});
    EXPECT_EQ(row(1).modelRow()->detail()->text(),
              L10n::format(s("settings.correction.model.recommended"), {s("qwen3")}));
    EXPECT_EQ(row(1).models(), QStringList({s("auto"), s("qwen3"), s("llama3.2")}));
    EXPECT_EQ(row(1).model()->text(), s("llama3.2"));
    EXPECT_EQ(row(0).models(), QStringList({s("auto")})) << "another base URL's catalogue";
    state().setCorrectionLookupErrors({{server, s("connection refused")}});
    EXPECT_EQ(row(1).modelRow()->problemText(),
              L10n::format(s("settings.correction.model.lookupFailed"), {s("connection refused")}));
    EXPECT_TRUE(row(0).modelRow()->problemText().isEmpty());
}

// ---- Keys: only in the Secret Service, and a failing store says so on its row ----

TEST_F(CorrectionSectionTest, AStoredKeyReachesTheSecretServiceAndNeverConfigJsonOrTheLog)
{
    section().addEndpoint()->click(); // a second endpoint of the same provider, so of the same key
    settleKeys();
    type(row(0).key()->editor(), secret);
    settleKeys();
    ASSERT_TRUE(row(0).key()->stored() == ProviderKeyField::Stored::Yes);
    EXPECT_TRUE(row(2).key()->stored() == ProviderKeyField::Stored::Yes);
    EXPECT_EQ(storedKey(s("openai-api-key")), secret.toUtf8());
    EXPECT_TRUE(row(0).key()->editor()->text().isEmpty());
    EXPECT_EQ(m_commands.lookups, QStringList({secret + u'@' + CorrectionEndpoint::openAIBaseURL()}));
    section().polishing()->click();
    type(row(1).model()->editor(), s("qwen3"));
    Timing::flush();
    ASSERT_TRUE(readAll(configPath()).contains("qwen3"));
    EXPECT_FALSE(readAll(configPath()).contains(secret.toUtf8()));
    EXPECT_FALSE(logged().contains(secret));
}

struct KeyActRow {
    const char* step;
    std::function<void(EndpointRow&)> act;
    const char* left; // the provider's key stored afterwards, "" for none
    bool notice;
};

// A key stored or removed shows the settings-saved notice as any other change does. Enter in the
// empty field leaves a stored key alone: the button is the way to remove it.
TEST_F(CorrectionSectionTest, AKeyStoredOrRemovedShowsTheSavedNoticeAndEnterInTheEmptyFieldKeepsIt)
{
    const QList<KeyActRow> rows{
        // clang-format off
        {"store",                    [](EndpointRow& r) { type(r.key()->editor(), secret); },                                 "sk-never-in-a-file-4711", true},
        {"Enter in the empty field", [](EndpointRow& r) { QTest::keyClick(r.key()->editor(), Qt::Key_Return); },            "sk-old",             false},
        {"remove",                   [](EndpointRow& r) { r.key()->removeButton()->click(); },                                "",                   true},
        // clang-format on
    };
    for (const KeyActRow& r : rows) {
        SCOPED_TRACE(r.step);
        m_secrets.put(OpenAIKeyStore::service(), s("openai-api-key"), Keychain::DataProtection, "sk-old");
        build();
        m_clock.advance(AppState::toastHideMs);
        ASSERT_FALSE(state().settingToastVisible());
        r.act(row(0));
        settleKeys();
        EXPECT_EQ(storedKey(s("openai-api-key")).value_or(QByteArray()), QByteArray(r.left));
        EXPECT_EQ(state().settingToastVisible(), r.notice);
    }
}

struct KeyFailureRow {
    const char* step;
    Operation failing;
    std::function<void(EndpointRow&)> act;
    ProviderKeyField::Problem problem;
};

TEST_F(CorrectionSectionTest, AKeyThatCannotBeKeptSaysSoOnItsRowWhileOtherSettingsStillSave)
{
    const QList<KeyFailureRow> rows{
        // clang-format off
        {"store", Operation::Write, [](EndpointRow& r) { type(r.key()->editor(), secret); }, ProviderKeyField::Problem::Unsaved},
        {"remove", Operation::Remove, [](EndpointRow& r) { r.key()->removeButton()->click(); }, ProviderKeyField::Problem::Unremoved},
        {"read", Operation::Read, [](EndpointRow& r) { r.key()->reread(); }, ProviderKeyField::Problem::Unread},
        // clang-format on
    };
    for (const KeyFailureRow& r : rows) {
        SCOPED_TRACE(r.step);
        m_secrets.put(OpenAIKeyStore::service(), s("claude-api-key"), Keychain::DataProtection, "sk-old");
        build();
        emit row(0).kind()->activated(1);
        settleKeys();
        for (const Keychain keychain : {Keychain::Login, Keychain::DataProtection})
            m_secrets.setFailing(r.failing, keychain, true);
        r.act(row(0));
        settleKeys();
        ASSERT_TRUE(row(0).key()->problem() == r.problem);
        EXPECT_FALSE(row(0).key()->row()->problemText().isEmpty());
        m_configCalls.clear();
        section().fallback()->click();
        EXPECT_EQ(m_configCalls.size(), 1);
        EXPECT_TRUE(QuendaConfig::decode(readAll(configPath()))->correctionFallback);
        for (const Keychain keychain : {Keychain::Login, Keychain::DataProtection})
            m_secrets.setFailing(r.failing, keychain, false);
    }
}

struct OwnKeyRow {
    const char* step;
    std::function<void(CorrectionSectionTest&)> act;
    bool keyringAnswers;
    const char* providerKey; // stored before and left after: "" for none
    const char* ownKey;      // the server endpoint's own key left after
};

// A provider's key serves every endpoint of its kind; the key of the user's own server belongs to
// its endpoint, and the store would take one left behind for the provider's own and send it there.
TEST_F(CorrectionSectionTest, AServersOwnKeyGoesWithItsEndpointAndNeverPassesToAProvider)
{
    const QString own = OpenAIKeyStore::endpointAccount(serverId);
    const QList<OwnKeyRow> rows{
        // clang-format off
        {"provider's endpoint removed", [](auto& t) { t.row(0).removeButton()->click(); }, true, "sk-provider", "sk-own"},
        {"server's endpoint removed", [](auto& t) { t.row(1).removeButton()->click(); }, true, "sk-provider", ""},
        {"server turned provider", [](auto& t) { emit t.row(1).kind()->activated(0); }, true, "", ""},
        {"server kept, no keyring", [](auto& t) { emit t.row(1).kind()->activated(0); }, false, "", "sk-own"},
        // clang-format on
    };
    for (const OwnKeyRow& r : rows) {
        SCOPED_TRACE(r.step);
        m_secrets.put(OpenAIKeyStore::service(), own, Keychain::DataProtection, "sk-own");
        if (*r.providerKey)
            m_secrets.put(OpenAIKeyStore::service(), s("openai-api-key"), Keychain::DataProtection,
                          r.providerKey);
        build();
        for (const Keychain keychain : {Keychain::Login, Keychain::DataProtection})
            m_secrets.setFailing(Operation::Remove, keychain, !r.keyringAnswers);
        r.act(*this);
        settleKeys();
        EXPECT_EQ(storedKey(own).value_or(QByteArray()), QByteArray(r.ownKey));
        EXPECT_EQ(storedKey(s("openai-api-key")).value_or(QByteArray()), QByteArray(r.providerKey));
        if (!r.keyringAnswers) {
            EXPECT_EQ(state().config().correctionEndpoints.at(1).kind, s("custom"));
            EXPECT_TRUE(row(1).key()->problem() == ProviderKeyField::Problem::Unremoved);
        }
        for (const Keychain keychain : {Keychain::Login, Keychain::DataProtection})
            m_secrets.setFailing(Operation::Remove, keychain, false);
        m_secrets.remove(OpenAIKeyStore::service(), s("openai-api-key"), Keychain::DataProtection);
    }
}

// ---- Keyboard and assistive tools ----

TEST_F(CorrectionSectionTest, TabFollowsTheListAndEveryControlHasAName)
{
    row(1).upButton()->click();
    QList<QWidget*> visited;
    QWidget* at = section().addEndpoint();
    for (int i = 0; i < 500 && at != section().fallback(); ++i) {
        at = at->nextInFocusChain();
        if (at->isVisible() && at->isEnabled() && at->focusPolicy() & Qt::TabFocus)
            visited.append(at);
    }

    ASSERT_EQ(visited.value(0), row(0).kind());
    EXPECT_EQ(row(0).id(), serverId);
    EXPECT_LT(visited.indexOf(row(0).model()->editor()), visited.indexOf(row(1).kind()));
    for (QWidget* control : std::as_const(visited)) {
        if (!qobject_cast<QLabel*>(control)) {
            EXPECT_FALSE(control->accessibleName().isEmpty()) << control->metaObject()->className();
        }
    }
    EXPECT_EQ(row(0).model()->editor()->accessibleName(),
              L10n::format(s("settings.correction.ofEndpoint"), {L10n::s("settings.correction.model"), 1}));
}

} // namespace
