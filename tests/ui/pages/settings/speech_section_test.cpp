#include "settings_fixture.h"

#include "ui/kit/kit_label.h"
#include "ui/kit/label_button.h"
#include "ui/pages/settings/settings_row.h"
#include "ui/pages/settings/speech_server_rows.h"

#include <QPointer>

namespace {

class SpeechSectionTest : public SettingsFixture {
protected:
    SpeechServerRows& rows() { return *page().findChild<SpeechServerRows*>(); }
    QString checkLine() { return rows().checkRow()->detail()->text(); }
};

// What cannot be a server's address is refused on its row and nothing is saved; plain http to
// another computer is saved with a warning, because local networks often run no https.
TEST_F(SpeechSectionTest, TheAddressIsRefusedUnlessItIsHttpAndWarnsOfPlainHttpToAnotherComputer)
{
    const QString invalid = L10n::s("settings.speechServer.url.invalid");
    const QString clear = L10n::s("settings.speechServer.url.inTheClear");
    struct Row {
        const char* typed;
        QString refusal; // on the field
        QString warning; // on the row, about the server stored
        const char* stored;
    };
    // clang-format off
    const Row table[] = {
        {.typed = "ftp://10.0.0.5/v1",             .refusal = invalid, .warning = {},    .stored = ""},
        {.typed = "10.0.0.5:8080/v1",              .refusal = invalid, .warning = {},    .stored = ""},
        {.typed = "http:///v1",                    .refusal = invalid, .warning = {},    .stored = ""},
        {.typed = "http://192.168.1.20:8080/v1",   .refusal = {},      .warning = clear, .stored = "http://192.168.1.20:8080/v1"},
        {.typed = "https://api.example.org/v1",    .refusal = {},      .warning = {},    .stored = "https://api.example.org/v1"},
        {.typed = "http://127.0.0.1:8080/v1",      .refusal = {},      .warning = {},    .stored = "http://127.0.0.1:8080/v1"},
        {.typed = "  ",                            .refusal = {},      .warning = {},    .stored = ""},
    };
    // clang-format on
    for (const Row& row : table) {
        SCOPED_TRACE(row.typed);
        state().setConfig(QuendaConfig::standard());
        act(rows().address(), s(row.typed));
        EXPECT_EQ(rows().address()->refusal(), row.refusal);
        EXPECT_EQ(rows().addressRow()->problemText(), row.warning);
        EXPECT_EQ(state().config().speechBaseURL, s(row.stored));
    }
}

// The check answers what the server heard or why it did not, and an answer about a server that
// has been changed since is dropped.
TEST_F(SpeechSectionTest, TheCheckShowsTheServersAnswerOrItsErrorForTheServerStillSet)
{
    auto& asked = m_commands.speechChecks;
    EXPECT_FALSE(rows().checkButton()->isEnabled()) << "without an address there is nothing to check";
    configure([](QuendaConfig& c) { c.speechBaseURL = s("http://127.0.0.1:8080/v1"); });
    struct Row {
        SpeechCheck answer;
        QString line;
        QString problem;
    };
    const QString idle = L10n::s("settings.speechServer.check.detail");
    const Row table[] = {
        {{true, s(" Thank you. ")},
         L10n::format(s("settings.speechServer.check.heard"), {s("Thank you.")}),
         {}},
        {{true, {}}, L10n::s("settings.speechServer.check.silent"), {}},
        {{false, s("The speech server at 127.0.0.1 refused the key (401)")},
         idle,
         s("The speech server at 127.0.0.1 refused the key (401)")},
    };
    for (const Row& row : table) {
        rows().checkButton()->click();
        EXPECT_EQ(checkLine(), L10n::s("settings.speechServer.check.running"));
        asked.back().second(row.answer);
        EXPECT_EQ(checkLine(), row.line);
        EXPECT_EQ(rows().checkRow()->problemText(), row.problem);
    }
    rows().checkButton()->click();
    configure([](QuendaConfig& c) { c.speechModel = s("large-v3"); });
    // An answer already on its way when the server changed.
    asked.back().second({true, s("the old server")});
    EXPECT_EQ(checkLine(), idle);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(asked.back().first.isNull()) << "the check of the old server was not cancelled";
}

// The recogniser chosen is the one in use: the server's rows show with a server that has an
// address, and once the user picks the server to give it one. The language list and the lines
// under both rows follow the recogniser that writes the dictations, without the page being opened
// again.
TEST_F(SpeechSectionTest, TheRowsAndLanguagesFollowTheRecogniserInUse)
{
    auto* language = qobject_cast<QComboBox*>(control("style.language"));
    auto* recogniser = control("settings.recogniser");
    const auto offered = [language] {
        QStringList items;
        for (int i = 0; i < language->count(); ++i)
            items << language->itemText(i);
        return items;
    };
    struct Row {
        AsrEngine engine;
        const char* baseURL;
        const char* pick; // the user's pick after the change, none when null
        bool serverRows;
        QStringList languages;
        const char* privacy;
    };
    const QStringList english{s("Automatic"), s("English")};
    const QStringList three{s("Automatic"), s("German"), s("English")};
    // clang-format off
    const Row table[] = {
        {.engine = AsrEngine::Whisper, .baseURL = "",                         .pick = nullptr,          .serverRows = false, .languages = english, .privacy = "settings.recogniser.private"},
        {.engine = AsrEngine::Whisper, .baseURL = "http://127.0.0.1:8080/v1", .pick = nullptr,          .serverRows = true,  .languages = three,   .privacy = "settings.recogniser.sent"},
        {.engine = AsrEngine::Whistle, .baseURL = "http://127.0.0.1:8080/v1", .pick = nullptr,          .serverRows = false, .languages = english, .privacy = "settings.recogniser.private"},
        {.engine = AsrEngine::Whistle, .baseURL = "",                         .pick = "Whisper server", .serverRows = true,  .languages = english, .privacy = "settings.recogniser.private"},
        {.engine = AsrEngine::Whistle, .baseURL = "",                         .pick = "Built in",       .serverRows = false, .languages = english, .privacy = "settings.recogniser.private"},
    };
    // clang-format on
    for (const Row& row : table) {
        SCOPED_TRACE(row.pick ? row.pick : row.baseURL);
        configure([&](QuendaConfig& c) {
            c.asrEngine = row.engine;
            c.speechBaseURL = s(row.baseURL);
        });
        m_configCalls.clear();
        if (row.pick)
            act(recogniser, s(row.pick));
        EXPECT_EQ(m_configCalls.size(), 0) << "a pick without an address restarts the engine for nothing";
        EXPECT_EQ(shown(recogniser),
                  L10n::s(row.serverRows ? "settings.recogniser.server" : "settings.recogniser.builtIn"));
        EXPECT_EQ(rows().isVisibleTo(&page()), row.serverRows);
        EXPECT_EQ(offered(), row.languages);
        const QString line = qobject_cast<SettingsRow*>(recogniser->parentWidget())->detail()->text();
        EXPECT_TRUE(line.endsWith(L10n::s(row.privacy))) << line.toStdString();
    }
    // An address given after picking the server chooses it in the same write.
    act(recogniser, s("Whisper server"));
    m_configCalls.clear();
    act(rows().address()->editor(), s("http://127.0.0.1:8080/v1"));
    EXPECT_EQ(m_configCalls.size(), 1);
    EXPECT_TRUE(state().config().speechServer());
}

} // namespace
