#include "ui/pages/settings/correction_section.h"

#include "core/keys/open_ai_key_store.h"
#include "core/state/app_state.h"
#include "core/text/l10n.h"
#include "ui/binder/settings_binder.h"
#include "ui/kit/kit_label.h"
#include "ui/kit/segmented_control.h"
#include "ui/kit/soft_button.h"
#include "ui/kit/soft_picker.h"
#include "ui/kit/toggle_switch.h"
#include "ui/pages/settings/endpoint_row.h"
#include "ui/pages/settings/provider_key_field.h"
#include "ui/pages/settings/settings_row.h"
#include "ui/pages/settings/settings_section.h"

#include <QDir>
#include <QFileDialog>
#include <QVBoxLayout>

namespace {

QList<SettingsBinder::Choice<PolishProvider>> providerChoices()
{
    QList<SettingsBinder::Choice<PolishProvider>> choices;
    for (const PolishProvider provider : PolishProviderText::table.values())
        choices.append({provider, L10n::s(QStringLiteral("settings.correction.provider.") +
                                          PolishProviderText::table.text(provider))});
    return choices;
}

QString pickWithDialog(QWidget* parent, const QString& start)
{
    return QFileDialog::getExistingDirectory(parent, L10n::s("settings.correction.folder.dialog"), start);
}

} // namespace

CorrectionSection::CorrectionSection(SettingsBinder& binder, OpenAIKeyStore* keys, QWidget* parent)
    : QWidget(parent)
    , m_binder(binder)
    , m_state(binder.state())
    , m_keys(keys)
    , m_pickFolder(&pickWithDialog)
    , m_section(new SettingsSection(Symbol::TextCheck, L10n::s("settings.correction.title"), this))
    , m_polishing(binder.toggle(&QuendaConfig::autoCorrect))
    , m_provider(binder.segments<PolishProvider>(&QuendaConfig::polishProvider, providerChoices()))
    , m_chooseFolder(new SoftButton(L10n::s("settings.correction.folder.choose")))
    , m_list(new QWidget)
    , m_listRows(new QVBoxLayout)
    , m_keyed(*m_listRows)
    , m_add(new SoftButton(L10n::s("settings.correction.add"), nullptr, Symbol::Plus))
    , m_fallback(binder.toggle(&QuendaConfig::correctionFallback))
{
    auto* fill = new QVBoxLayout(this);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->addWidget(m_section);

    m_section->addRow(new SettingsRow(L10n::s("settings.correction.autoCorrect"), m_polishing,
                                      L10n::s("settings.correction.autoCorrect.detail")));
    m_section->addRow(new SettingsRow(L10n::s("settings.correction.provider"), m_provider,
                                      L10n::s("settings.correction.provider.detail")));
    m_folderRow = new SettingsRow(L10n::s("settings.correction.folder"), m_chooseFolder, QStringLiteral(" "));
    m_folderRow->detail()->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_section->addRow(m_folderRow);

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
    m_fallbackRow = new SettingsRow(L10n::s("settings.correction.fallback"), m_fallback,
                                    L10n::s("settings.correction.fallback.detail"));
    m_section->addRow(m_fallbackRow);

    connect(m_chooseFolder, &SoftButton::clicked, this, &CorrectionSection::pickFolder);
    connect(m_add, &SoftButton::clicked, this, &CorrectionSection::add);
    // A key saved in one row may be the key of other rows of the same provider.
    if (m_keys)
        connect(m_keys, &OpenAIKeyStore::keySaved, this, [this] {
            for (EndpointRow* row : std::as_const(m_rows))
                row->key()->reread();
        });
    m_binder.follow(this, [this] { follow(); });
}

void CorrectionSection::follow()
{
    const QuendaConfig& config = m_state.config();
    const bool local = config.polishProvider == PolishProvider::Local;
    m_folderRow->setVisible(local);
    m_list->setVisible(!local);
    m_fallbackRow->setVisible(!local);

    if (local) {
        m_folderRow->detail()->setText(config.modelPath.isEmpty()
                                           ? L10n::s("settings.correction.folder.none")
                                           : QDir::toNativeSeparators(config.modelPath));
        showFolderProblem(config.modelPath);
    }
    followEndpoints();
}

void CorrectionSection::followEndpoints()
{
    const QList<CorrectionEndpoint>& endpoints = m_state.config().correctionEndpoints;
    QList<QString> ids;
    for (const CorrectionEndpoint& endpoint : endpoints)
        ids.append(endpoint.id.toString());
    // Rows are kept by endpoint, so a field being typed in keeps its text, caret and focus.
    m_keyed.apply(ids, [this](const QString& id) -> QWidget* {
        return new EndpointRow(m_binder, m_keys, QUuid::fromString(id));
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

void CorrectionSection::pickFolder()
{
    const QString folder = m_pickFolder(this, m_state.config().modelPath);
    if (folder.isEmpty())
        return;
    // Saved only where the next start would keep it.
    if (QuendaConfig::holdsLocalModel(folder))
        m_binder.write(&QuendaConfig::modelPath, folder);
    else
        showFolderProblem(folder);
}

void CorrectionSection::showFolderProblem(const QString& folder)
{
    if (folder.isEmpty())
        m_folderRow->setProblem(L10n::s("settings.correction.folder.missing"));
    else if (!QuendaConfig::holdsLocalModel(folder))
        m_folderRow->setProblem(L10n::format(QStringLiteral("settings.correction.folder.noModel"),
                                             {QDir::toNativeSeparators(folder)}));
    else
        m_folderRow->setProblem({});
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
