#include "ui/pages/settings/speech_server_rows.h"
#include "ui/kit/label_button.h"

#include "core/state/app_commands.h"
#include "core/state/app_state.h"
#include "core/text/l10n.h"
#include "ui/binder/settings_binder.h"
#include "ui/kit/kit_label.h"
#include "ui/kit/label_button.h"
#include "ui/kit/text_field.h"
#include "ui/pages/settings/provider_key_field.h"
#include "ui/pages/settings/settings_parse.h"
#include "ui/pages/settings/settings_row.h"

#include <QLineEdit>
#include <QVBoxLayout>

namespace {

TextField* field(const QString& placeholder)
{
    auto* edit = new TextField(placeholder);
    edit->setFixedWidth(SettingsRow::fieldWidth);
    return edit;
}

// The address typed, none to use the built-in recogniser, or why it is no web address.
Result<QString, SettingsBinder::Refusal> addressOf(const QString& typed)
{
    const QString trimmed = typed.trimmed();
    if (trimmed.isEmpty() || SettingsParse::isWebAddress(trimmed))
        return trimmed;
    return SettingsBinder::Refusal{L10n::s("settings.speechServer.url.invalid")};
}

Result<QString, SettingsBinder::Refusal> modelOf(const QString& typed)
{
    return typed.trimmed();
}

} // namespace

SpeechServerRows::SpeechServerRows(SettingsBinder& binder, AppCommands& commands, OpenAIKeyStore* keys,
                                   QWidget* parent)
    : QWidget(parent)
    , m_binder(binder)
    , m_state(binder.state())
    , m_commands(commands)
    , m_address(field(L10n::s("settings.speechServer.url.placeholder")))
    , m_addressRow(new SettingsRow(L10n::s("settings.speechServer.url"), m_address,
                                   L10n::s("settings.speechServer.url.detail")))
    , m_model(field(L10n::s("settings.speechServer.model.placeholder")))
    , m_check(new LabelButton(LabelButton::Style::Soft, L10n::s("settings.speechServer.check.button")))
    , m_checkRow(new SettingsRow(L10n::s("settings.speechServer.check"), m_check,
                                 L10n::s("settings.speechServer.check.detail")))
{
    auto* rows = new QVBoxLayout(this);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(16);
    rows->addWidget(m_addressRow);
    rows->addWidget(new SettingsRow(L10n::s("settings.speechServer.model"), m_model,
                                    L10n::s("settings.speechServer.model.detail")));
    if (keys) {
        m_key = new ProviderKeyField(*keys, m_state);
        m_key->setSpeechServer();
        // Told apart from the correction endpoints' keys by assistive tools.
        m_key->editor()->setAccessibleName(L10n::s("settings.speechServer.key"));
        m_key->removeButton()->setAccessibleName(L10n::s("settings.speechServer.key.remove"));
        rows->addWidget(m_key);
    }
    rows->addWidget(m_checkRow);

    // An address is given to use the server, so it chooses the server too, in the same write.
    m_binder.text<QString>(
        m_address, [](const QuendaConfig& c) { return std::optional(c.speechBaseURL); },
        [](QuendaConfig& c, const QString& address) {
            c.speechBaseURL = address;
            if (!address.isEmpty())
                c.asrEngine = AsrEngine::Whisper;
        },
        &addressOf, &SettingsParse::shownAsIs);
    m_binder.text<QString>(m_model, &QuendaConfig::speechModel, &modelOf, &SettingsParse::shownAsIs);
    connect(m_check, &LabelButton::clicked, this, &SpeechServerRows::check);
    if (m_key)
        connect(m_key, &ProviderKeyField::keyChanged, this, &SpeechServerRows::dropCheck);
    m_binder.follow(this, [this] { follow(); });
}

void SpeechServerRows::follow()
{
    const QuendaConfig& config = m_state.config();
    const SpeechServer stored{config.speechBaseURL.trimmed(), config.speechModel};
    if (m_server != stored) {
        m_server = stored;
        // A warning about the server stored, apart from the refusal of one typed.
        m_addressRow->setProblem(!stored.baseURL.isEmpty() && stored.sendsInTheClear()
                                     ? L10n::s("settings.speechServer.url.inTheClear")
                                     : QString());
        dropCheck();
    }
    m_check->setEnabled(!config.speechBaseURL.trimmed().isEmpty());
}

void SpeechServerRows::check()
{
    dropCheck();
    m_checking = new QObject(this);
    m_checkRow->detail()->setText(L10n::s("settings.speechServer.check.running"));
    m_check->setEnabled(false);
    m_commands.checkSpeechServer(m_checking, [this, asked = m_checking.data()](const SpeechCheck& answer) {
        if (asked == m_checking)
            checked(answer);
    });
}

void SpeechServerRows::checked(const SpeechCheck& answer)
{
    forgetCheck();
    m_check->setEnabled(true);
    if (!answer.answered) {
        m_checkRow->detail()->setText(L10n::s("settings.speechServer.check.detail"));
        m_checkRow->setProblem(answer.text);
        return;
    }
    const QString heard = answer.text.trimmed();
    m_checkRow->detail()->setText(
        heard.isEmpty() ? L10n::s("settings.speechServer.check.silent")
                        : L10n::format(QStringLiteral("settings.speechServer.check.heard"), {heard}));
}

void SpeechServerRows::forgetCheck()
{
    // Later: the answer may be arriving through this very object.
    if (m_checking)
        m_checking->deleteLater();
    m_checking = nullptr;
}

void SpeechServerRows::dropCheck()
{
    forgetCheck();
    m_checkRow->setProblem({});
    m_checkRow->detail()->setText(L10n::s("settings.speechServer.check.detail"));
    m_check->setEnabled(!m_state.config().speechBaseURL.trimmed().isEmpty());
}
