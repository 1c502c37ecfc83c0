#include "ui/pages/settings/correction_section.h"

#include "core/keys/open_ai_key_store.h"
#include "core/state/app_state.h"
#include "core/text/l10n.h"
#include "ui/binder/settings_binder.h"
#include "ui/kit/kit_label.h"
#include "ui/kit/label_button.h"
#include "ui/kit/soft_picker.h"
#include "ui/kit/toggle_switch.h"
#include "ui/pages/settings/endpoint_row.h"
#include "ui/pages/settings/provider_key_field.h"
#include "ui/pages/settings/settings_row.h"
#include "ui/pages/settings/settings_section.h"

#include <QVBoxLayout>

CorrectionSection::CorrectionSection(SettingsBinder& binder, AppCommands& commands, OpenAIKeyStore* keys,
                                     QWidget* parent)
    : QWidget(parent)
    , m_binder(binder)
    , m_state(binder.state())
    , m_commands(commands)
    , m_keys(keys)
    , m_section(new SettingsSection(Symbol::TextCheck, L10n::s("settings.correction.title"), this))
    , m_polishing(binder.toggle(&QuendaConfig::autoCorrect))
    , m_list(new QWidget)
    , m_listRows(new QVBoxLayout)
    , m_keyed(*m_listRows)
    , m_add(new LabelButton(LabelButton::Style::Soft, L10n::s("settings.correction.add"), nullptr,
                            Symbol::Plus))
    , m_fallback(binder.toggle(&QuendaConfig::correctionFallback))
{
    auto* fill = new QVBoxLayout(this);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->addWidget(m_section);

    m_section->addRow(new SettingsRow(L10n::s("settings.correction.autoCorrect"), m_polishing,
                                      L10n::s("settings.correction.autoCorrect.detail")));

    auto* list = new QVBoxLayout(m_list);
    list->setContentsMargins(0, 0, 0, 0);
    list->setSpacing(10);
    // Named by its own text, not by the row's title.
    m_add->setAccessibleName(m_add->text());
    list->addWidget(new SettingsRow(L10n::s("settings.correction.endpoints"), m_add,
                                    L10n::s("settings.correction.endpoints.detail")));
    m_listRows->setContentsMargins(0, 0, 0, 0);
    m_listRows->setSpacing(10);
    list->addLayout(m_listRows);
    m_section->addRow(m_list);
    m_section->addRow(new SettingsRow(L10n::s("settings.correction.fallback"), m_fallback,
                                      L10n::s("settings.correction.fallback.detail")));

    connect(m_add, &LabelButton::clicked, this, &CorrectionSection::add);
    // A key saved in one row may be the key of other rows of the same provider.
    if (m_keys)
        connect(m_keys, &OpenAIKeyStore::keySaved, this, [this] {
            for (EndpointRow* row : std::as_const(m_rows))
                row->key()->reread();
        });
    m_binder.follow(this, [this] { followEndpoints(); });
}

void CorrectionSection::followEndpoints()
{
    const QList<CorrectionEndpoint>& endpoints = m_state.config().correctionEndpoints;
    QList<QString> ids;
    for (const CorrectionEndpoint& endpoint : endpoints)
        ids.append(endpoint.id.toString());
    // Rows are kept by endpoint, so a field being typed in keeps its text, caret and focus.
    m_keyed.apply(ids, [this](const QString& id) -> QWidget* {
        return new EndpointRow(m_binder, m_commands, m_keys, QUuid::fromString(id));
    });
    QList<EndpointRow*> rows;
    for (qsizetype i = 0; i < endpoints.size(); ++i) {
        auto* row = static_cast<EndpointRow*>(m_keyed.row(ids.at(i)));
        if (rows.contains(row))
            continue; // an id listed twice keeps its first place
        row->present(endpoints.at(i), int(i), int(endpoints.size()));
        rows.append(row);
    }
    if (rows == m_rows)
        return;
    m_rows = rows;
    // Tab follows the list, not the order in which the rows were made.
    QWidget* previous = m_add;
    for (EndpointRow* row : std::as_const(m_rows)) {
        for (QWidget* control : row->focusOrder()) {
            setTabOrder(previous, control);
            previous = control;
        }
    }
    setTabOrder(previous, m_fallback);
}

void CorrectionSection::add()
{
    const QUuid id = QUuid::createUuid();
    EndpointRow::writeEndpoints(m_binder, [&id](QList<CorrectionEndpoint>& endpoints) {
        endpoints.append(
            {id, CorrectionEndpoint::knownKinds().front(), QStringLiteral("auto"), QString(), true});
    });
    for (EndpointRow* row : std::as_const(m_rows)) {
        if (row->id() == id)
            row->kind()->setFocus();
    }
}
