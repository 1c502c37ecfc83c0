#include "ui/pages/settings/provider_key_field.h"
#include "ui/kit/label_button.h"

#include "core/keys/open_ai_key_store.h"
#include "core/state/app_state.h"
#include "core/text/l10n.h"
#include "ui/kit/kit_label.h"
#include "ui/kit/label_button.h"
#include "ui/kit/scheme.h"
#include "ui/kit/text_field.h"
#include "ui/pages/settings/correction_texts.h"
#include "ui/pages/settings/settings_row.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLineEdit>

ProviderKeyField::ProviderKeyField(OpenAIKeyStore& keys, AppState& state, QWidget* parent)
    : QWidget(parent)
    , m_keys(keys)
    , m_state(state)
    , m_field(new TextField)
    , m_editor(m_field->editor())
    , m_remove(new LabelButton(LabelButton::Style::Soft, L10n::s("settings.correction.key.remove")))
{
    m_editor->setEchoMode(QLineEdit::Password);

    // As wide as the page's other fields, the button that removes a key inside that width.
    auto* control = new QWidget;
    control->setFixedWidth(SettingsRow::fieldWidth);
    auto* line = new QHBoxLayout(control);
    line->setContentsMargins(0, 0, 0, 0);
    line->setSpacing(8);
    line->addWidget(m_field, 1);
    line->addWidget(m_remove);
    m_row = new SettingsRow(L10n::s("settings.correction.key"), control,
                            L10n::s("settings.correction.key.reading"));
    m_row->detail()->setOpenExternalLinks(true);
    auto* fill = new QVBoxLayout(this);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->addWidget(m_row);

    connect(m_editor, &QLineEdit::editingFinished, this, &ProviderKeyField::store);
    connect(m_remove, &LabelButton::clicked, this, &ProviderKeyField::remove);
    refresh();
}

void ProviderKeyField::setEndpoint(const CorrectionEndpoint& endpoint)
{
    m_endpoint = endpoint;
    m_speech = false;
    useAccount(OpenAIKeyStore::account(endpoint));
}

void ProviderKeyField::setSpeechServer()
{
    m_speech = true;
    useAccount(OpenAIKeyStore::speechAccount());
}

void ProviderKeyField::useAccount(const QString& account)
{
    if (account == m_account) {
        refresh();
        return;
    }
    // What was typed for the other account must not be stored under this one.
    m_account = account;
    m_editor->clear();
    m_stored = Stored::Unknown;
    setProblem(Problem::None);
    reread();
}

void ProviderKeyField::reread()
{
    refresh();
    const auto answered = [this, account = m_account](const KeyLookup& lookup) {
        if (account != m_account)
            return;
        if (!lookup.ok()) {
            m_stored = Stored::Unknown;
            if (m_problem == Problem::None)
                setProblem(Problem::Unread);
        } else {
            m_stored = lookup.value() ? Stored::Yes : Stored::No;
            if (m_problem == Problem::Unread)
                setProblem(Problem::None);
        }
        refresh();
    };
    if (m_speech)
        m_keys.speechKeyInBackground(this, answered);
    else
        m_keys.keyInBackground(m_endpoint, this, answered);
}

void ProviderKeyField::setNumber(int number)
{
    m_editor->setAccessibleName(CorrectionTexts::ofEndpoint(L10n::s("settings.correction.key"), number));
    m_remove->setAccessibleName(
        CorrectionTexts::ofEndpoint(L10n::s("settings.correction.key.remove"), number));
}

void ProviderKeyField::store()
{
    const QString typed = m_editor->text().trimmed();
    if (typed.isEmpty())
        return;
    m_keys.saveInBackground(typed, m_account, this, [this, typed](bool ok) {
        if (answered(ok, typed))
            emit keyChanged(typed);
    });
}

void ProviderKeyField::remove()
{
    removeKey([this](bool removed) {
        if (removed)
            emit keyChanged({});
    });
}

void ProviderKeyField::removeKey(const std::function<void(bool)>& done)
{
    m_keys.saveInBackground({}, m_account, this, [this, done](bool ok) { done(answered(ok, {})); });
}

bool ProviderKeyField::answered(bool ok, const QString& key)
{
    if (!ok) {
        // The typed key stays in the field, so Enter tries again once the keyring is open.
        setProblem(key.isEmpty() ? Problem::Unremoved : Problem::Unsaved);
        return false;
    }
    if (m_editor->text().trimmed() == key)
        m_editor->clear();
    m_stored = key.isEmpty() ? Stored::No : Stored::Yes;
    setProblem(Problem::None);
    refresh();
    m_state.noteSettingChanged();
    return true;
}

void ProviderKeyField::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange && m_row)
        refresh();
}

void ProviderKeyField::setProblem(Problem problem)
{
    m_problem = problem;
    switch (problem) {
    case Problem::None:
        m_row->setProblem({});
        break;
    case Problem::Unread:
        m_row->setProblem(L10n::s("settings.correction.key.unread"));
        break;
    case Problem::Unsaved:
        m_row->setProblem(L10n::s("settings.correction.key.unsaved"));
        break;
    case Problem::Unremoved:
        m_row->setProblem(L10n::s("settings.correction.key.unremoved"));
        break;
    }
}

void ProviderKeyField::refresh()
{
    QString status;
    QString link;
    switch (m_stored) {
    case Stored::Unknown:
        status = L10n::s("settings.correction.key.reading");
        break;
    case Stored::Yes:
        status = L10n::s("settings.correction.key.stored");
        break;
    case Stored::No:
        if (const auto page = m_speech ? std::nullopt : OpenAIKeyStore::keySetupURL(m_endpoint)) {
            status = L10n::s("settings.correction.key.none");
            link = page->toString(QUrl::FullyEncoded);
        } else {
            status = L10n::s("settings.correction.key.noneCustom");
        }
        break;
    }
    KitLabel* detail = m_row->detail();
    if (link.isEmpty()) {
        detail->setTextFormat(Qt::PlainText);
        detail->setTextInteractionFlags(Qt::NoTextInteraction);
        detail->setText(status);
    } else {
        detail->setTextFormat(Qt::RichText);
        detail->setTextInteractionFlags(Qt::TextBrowserInteraction);
        // In the text's own colour: the palette's link blue is unreadable on the dark card.
        const QString ink = Scheme::text(palette(), Scheme::Text::Primary).name();
        detail->setText(status.toHtmlEscaped() + QStringLiteral(" <a style=\"color:") + ink +
                        QStringLiteral("\" href=\"") + link.toHtmlEscaped() + QStringLiteral("\">") +
                        L10n::s("settings.correction.key.create").toHtmlEscaped() + QStringLiteral("</a>"));
    }
    m_editor->setAccessibleDescription(status);
    m_editor->setPlaceholderText(m_stored == Stored::Yes ? L10n::s("settings.correction.key.replace")
                                                         : L10n::s("settings.correction.key.placeholder"));
    m_remove->setVisible(m_stored == Stored::Yes);
}
