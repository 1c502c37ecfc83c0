#include "ui/pages/settings/endpoint_row.h"
#include "ui/kit/label_button.h"

#include "core/keys/open_ai_key_store.h"
#include "core/state/app_commands.h"
#include "core/state/app_state.h"
#include "core/text/l10n.h"
#include "ui/binder/settings_binder.h"
#include "ui/kit/icon_button.h"
#include "ui/kit/kit_font.h"
#include "ui/kit/kit_label.h"
#include "ui/kit/kit_paint.h"
#include "ui/kit/scheme.h"
#include "ui/kit/soft_picker.h"
#include "ui/kit/text_field.h"
#include "ui/kit/toggle_switch.h"
#include "ui/pages/settings/correction_texts.h"
#include "ui/pages/settings/provider_key_field.h"
#include "ui/pages/settings/settings_parse.h"
#include "ui/pages/settings/settings_row.h"

#include <QCompleter>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPainter>
#include <QSignalBlocker>
#include <QStringListModel>
#include <QVBoxLayout>

namespace {

constexpr double cornerRadius = 10;

const QString& autoModel()
{
    static const QString text = QStringLiteral("auto");
    return text;
}

bool usesOwnBaseURL(const QString& kind)
{
    const auto provider = CorrectionEndpoint::providerOf(kind);
    return provider && provider->usesOwnBaseURL();
}

// The kind of a server the user names ("custom").
QString ownServerKind()
{
    for (const CorrectionEndpoint::Provider& provider : CorrectionEndpoint::providers()) {
        if (provider.usesOwnBaseURL())
            return provider.kind;
    }
    return {};
}

// The base URL typed, or why the engine could not reach it.
Result<QString, SettingsBinder::Refusal> baseURLOf(const QString& typed)
{
    const QString trimmed = typed.trimmed();
    if (trimmed.isEmpty())
        return SettingsBinder::Refusal{L10n::s("settings.correction.baseURL.empty")};
    if (!SettingsParse::isWebAddress(trimmed))
        return SettingsBinder::Refusal{L10n::s("settings.correction.baseURL.invalid")};
    return trimmed;
}

} // namespace

EndpointRow::EndpointRow(SettingsBinder& binder, AppCommands& commands, OpenAIKeyStore* keys, const QUuid& id,
                         QWidget* parent)
    : QWidget(parent)
    , m_binder(binder)
    , m_state(binder.state())
    , m_commands(commands)
    , m_keys(keys)
    , m_id(id)
    , m_number(new KitLabel({}, TextRole::BodyStrong))
    , m_kind(new SoftPicker)
    , m_enabled(new ToggleSwitch({}))
    , m_up(new IconButton(Symbol::ChevronUp, {}))
    , m_down(new IconButton(Symbol::ChevronDown, {}))
    , m_remove(new IconButton(Symbol::Trash, {}))
    , m_baseURL(new TextField(QStringLiteral("http://127.0.0.1:11434/v1")))
    , m_model(new TextField)
    , m_models(new QStringListModel(this))
    , m_modelList(new IconButton(Symbol::ChevronDown, {}))
{
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(14, 12, 14, 14);
    outer->setSpacing(12);

    for (const QString& kind : CorrectionEndpoint::knownKinds())
        m_kind->addItem(CorrectionTexts::kind(kind), kind);
    auto* header = new QHBoxLayout;
    header->setSpacing(10);
    header->addWidget(m_number);
    header->addWidget(m_kind);
    header->addStretch(1);
    header->addWidget(m_enabled);
    header->addSpacing(6);
    header->addWidget(m_up);
    header->addWidget(m_down);
    header->addWidget(m_remove);
    outer->addLayout(header);

    m_baseURL->setFixedWidth(SettingsRow::fieldWidth);
    m_baseURLRow = new SettingsRow(L10n::s("settings.correction.baseURL"), m_baseURL,
                                   L10n::s("settings.correction.baseURL.detail"));
    outer->addWidget(m_baseURLRow);

    // The models the provider lists are offered as the name is typed, and all of them by the arrow;
    // a popup, not inline completion, which would turn a typed model into a longer listed one.
    auto* offered = new QCompleter(m_models, this);
    offered->setCaseSensitivity(Qt::CaseInsensitive);
    m_model->editor()->setCompleter(offered);
    m_model->addTrailing(m_modelList);
    m_model->setFixedWidth(SettingsRow::fieldWidth);
    m_modelRow = new SettingsRow(L10n::s("settings.correction.model"), m_model,
                                 L10n::s("settings.correction.model.auto"));
    outer->addWidget(m_modelRow);

    if (m_keys) {
        m_key = new ProviderKeyField(*m_keys, m_binder.state());
        outer->addWidget(m_key);
        connect(m_key, &ProviderKeyField::keyChanged, this, [this](const QString& key) {
            if (const auto endpoint = stored())
                m_commands.lookupCorrectionModel(key, endpoint->resolvedBaseURL());
        });
    }

    connect(m_kind, &QComboBox::activated, this, &EndpointRow::chooseKind);
    connect(m_enabled, &ToggleSwitch::toggled, this,
            [this](bool on) { edit([on](CorrectionEndpoint& e) { e.enabled = on; }); });
    connect(m_up, &IconButton::clicked, this, [this] { move(-1); });
    connect(m_down, &IconButton::clicked, this, [this] { move(1); });
    connect(m_remove, &IconButton::clicked, this, &EndpointRow::removeEndpoint);
    bindFields();
    connect(offered, qOverload<const QString&>(&QCompleter::activated), this,
            [this](const QString& model) { edit([&model](CorrectionEndpoint& e) { e.model = model; }); });
    connect(m_modelList, &IconButton::clicked, this, [this, offered] {
        m_model->editor()->setFocus();
        offered->setCompletionPrefix({});
        offered->complete();
    });
    connect(&m_state, &AppState::correctionCatalogsChanged, this, &EndpointRow::showCatalog);
    connect(&m_state, &AppState::correctionLookupErrorsChanged, this, &EndpointRow::showCatalog);
}

void EndpointRow::writeEndpoints(SettingsBinder& binder,
                                 const std::function<void(QList<CorrectionEndpoint>&)>& change)
{
    binder.editConfig([&change](QuendaConfig& next) {
        change(next.correctionEndpoints);
        next.syncLegacyCorrectionFields();
    });
}

void EndpointRow::bindFields()
{
    const auto read = [this](const auto member) {
        return [this, member](const QuendaConfig& config) -> std::optional<QString> {
            for (const CorrectionEndpoint& endpoint : config.correctionEndpoints) {
                if (endpoint.id == m_id)
                    return endpoint.*member;
            }
            return std::nullopt;
        };
    };
    const auto store = [this](QuendaConfig& config, const std::function<void(CorrectionEndpoint&)>& change) {
        for (CorrectionEndpoint& endpoint : config.correctionEndpoints) {
            if (endpoint.id == m_id)
                change(endpoint);
        }
        config.syncLegacyCorrectionFields();
    };
    m_binder.text<QString>(
        m_baseURL, read(&CorrectionEndpoint::baseURL),
        [this, store](QuendaConfig& config, const QString& url) {
            // A server of the user's own chosen a moment ago is stored now, with its address.
            const QString kind = m_pendingCustom ? ownServerKind() : m_shown.kind;
            store(config, [&](CorrectionEndpoint& e) {
                e.kind = kind;
                e.baseURL = url;
            });
        },
        [this](const QString& typed) -> Result<QString, SettingsBinder::Refusal> {
            // A field that is not in use refuses nothing and changes nothing; it is hidden.
            if (!m_pendingCustom && !usesOwnBaseURL(m_shown.kind))
                return m_shown.baseURL;
            return baseURLOf(typed);
        },
        &SettingsParse::shownAsIs);
    m_binder.text<QString>(
        m_model, read(&CorrectionEndpoint::model),
        [store](QuendaConfig& config, const QString& model) {
            store(config, [&](CorrectionEndpoint& e) { e.model = model; });
        },
        [](const QString& typed) -> Result<QString, SettingsBinder::Refusal> {
            return typed.trimmed().isEmpty() ? autoModel() : typed.trimmed();
        },
        &SettingsParse::shownAsIs);
}

void EndpointRow::present(const CorrectionEndpoint& endpoint, int index, int count)
{
    if (endpoint.kind != m_shown.kind || usesOwnBaseURL(endpoint.kind))
        m_pendingCustom = false;
    // A new server, or a server of the user's own now, may offer other models. Not on the first
    // showing: nothing was changed then.
    const bool askAgain = m_presented && (endpoint.resolvedBaseURL() != m_shown.resolvedBaseURL() ||
                                          (endpoint.kind != m_shown.kind && usesOwnBaseURL(endpoint.kind)));
    m_presented = true;
    m_shown = endpoint;
    m_count = count;
    const int number = index + 1;
    m_number->setText(L10n::format(QStringLiteral("settings.correction.endpoint"), {number}));
    showKind();
    {
        const QSignalBlocker quiet(m_enabled);
        m_enabled->setChecked(endpoint.enabled);
    }
    // A button about to be disabled would send the focus somewhere else on the page.
    if (index == 0 && m_up->hasFocus())
        m_down->setFocus();
    if (index == count - 1 && m_down->hasFocus())
        m_up->setFocus();
    m_up->setEnabled(index > 0);
    m_down->setEnabled(index < count - 1);
    // The list is never empty: the configuration would make up an endpoint of its own.
    m_remove->setEnabled(count > 1);

    m_kind->setAccessibleName(CorrectionTexts::ofEndpoint(L10n::s("settings.correction.kind"), number));
    m_enabled->setAccessibleName(L10n::format(QStringLiteral("settings.correction.use"), {number}));
    m_up->setAccessibleName(L10n::format(QStringLiteral("settings.correction.moveUp"), {number}));
    m_down->setAccessibleName(L10n::format(QStringLiteral("settings.correction.moveDown"), {number}));
    m_remove->setAccessibleName(L10n::format(QStringLiteral("settings.correction.remove"), {number}));
    m_baseURL->setName(CorrectionTexts::ofEndpoint(L10n::s("settings.correction.baseURL"), number));
    m_model->setName(CorrectionTexts::ofEndpoint(L10n::s("settings.correction.model"), number));
    m_modelList->setAccessibleName(
        CorrectionTexts::ofEndpoint(L10n::s("settings.correction.model.list"), number));
    if (m_key)
        m_key->setNumber(number);
    showCatalog();
    if (askAgain)
        lookUp();
}

QStringList EndpointRow::models() const
{
    return m_models->stringList();
}

QList<QWidget*> EndpointRow::focusOrder() const
{
    QList<QWidget*> order{
        m_kind, m_enabled, m_up, m_down, m_remove, m_baseURL->editor(), m_model->editor(), m_modelList};
    if (m_key)
        order << m_key->row()->detail() << m_key->editor() << m_key->removeButton();
    return order;
}

void EndpointRow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPainterPath shape = KitPaint::rounded(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), cornerRadius);
    painter.fillPath(shape, Scheme::primary(palette(), 0.03));
    painter.setPen(QPen(Scheme::primary(palette(), 0.1), 1));
    painter.drawPath(shape);
}

std::optional<CorrectionEndpoint> EndpointRow::stored() const
{
    for (const CorrectionEndpoint& endpoint : m_state.config().correctionEndpoints) {
        if (endpoint.id == m_id)
            return endpoint;
    }
    return std::nullopt;
}

void EndpointRow::edit(const std::function<void(CorrectionEndpoint&)>& change)
{
    writeEndpoints(m_binder, [this, &change](QList<CorrectionEndpoint>& endpoints) {
        for (CorrectionEndpoint& endpoint : endpoints) {
            if (endpoint.id == m_id)
                change(endpoint);
        }
    });
}

void EndpointRow::chooseKind(int index)
{
    const QString kind = m_kind->itemData(index).toString();
    if (usesOwnBaseURL(kind) && m_shown.baseURL.trimmed().isEmpty()) {
        // Stored only together with its server's address, which the row now waits for: a reason
        // shows once the field is left empty or wrong, not before anything could be typed.
        m_pendingCustom = true;
        showKind();
        m_baseURL->editor()->setFocus();
        return;
    }
    m_pendingCustom = false;
    m_baseURL->setRefusal({});
    CorrectionEndpoint next = m_shown;
    next.kind = kind;
    const QString own = OpenAIKeyStore::endpointAccount(m_id);
    if (m_key && OpenAIKeyStore::account(m_shown) == own && OpenAIKeyStore::account(next) != own) {
        // The key of the user's own server must go first: the store takes a key it finds under
        // the endpoint's own account for one an older version kept there for the provider, and
        // would send it to the provider.
        m_key->removeKey([this, kind](bool removed) {
            if (removed)
                writeKind(kind);
            else
                showKind();
        });
        return;
    }
    writeKind(kind);
}

void EndpointRow::writeKind(const QString& kind)
{
    edit([&kind](CorrectionEndpoint& e) { e.kind = kind; });
    showKind();
}

void EndpointRow::move(int by)
{
    writeEndpoints(m_binder, [this, by](QList<CorrectionEndpoint>& endpoints) {
        for (qsizetype i = 0; i < endpoints.size(); ++i) {
            const qsizetype to = i + by;
            if (endpoints.at(i).id == m_id && to >= 0 && to < endpoints.size()) {
                endpoints.swapItemsAt(i, to);
                return;
            }
        }
    });
}

void EndpointRow::removeEndpoint()
{
    if (m_count <= 1)
        return;
    const CorrectionEndpoint gone = m_shown;
    OpenAIKeyStore* keys = m_keys;
    writeEndpoints(m_binder, [&gone](QList<CorrectionEndpoint>& endpoints) {
        endpoints.removeIf([&gone](const CorrectionEndpoint& e) { return e.id == gone.id; });
    });
    // This row is gone now. A provider's key serves every endpoint of its kind and stays; only a
    // key of this endpoint's own goes with it.
    if (keys && OpenAIKeyStore::account(gone) == OpenAIKeyStore::endpointAccount(gone.id))
        keys->saveInBackground({}, OpenAIKeyStore::account(gone), nullptr, {});
}

void EndpointRow::lookUp()
{
    const auto endpoint = stored();
    if (!endpoint)
        return;
    const QString base = endpoint->resolvedBaseURL();
    if (!m_keys) {
        m_commands.lookupCorrectionModel({}, base);
        return;
    }
    m_keys->keyInBackground(*endpoint, this, [this, base](const KeyLookup& key) {
        // The key row tells of a keyring that did not answer; asking without the key would only
        // report a missing one.
        if (key.ok())
            m_commands.lookupCorrectionModel(key.value().value_or(QString()), base);
    });
}

void EndpointRow::showKind()
{
    const QString kind = m_pendingCustom ? ownServerKind() : m_shown.kind;
    const int at = m_kind->findData(kind);
    {
        const QSignalBlocker quiet(m_kind);
        m_kind->setPlaceholderText(at < 0 ? CorrectionTexts::kind(kind) : QString());
        m_kind->setCurrentIndex(at);
    }
    m_baseURLRow->setVisible(usesOwnBaseURL(kind));
    if (!m_key)
        return;
    // The key row speaks of the server chosen, not of the provider it replaces; a key typed now
    // would be stored for the provider the endpoint still has.
    CorrectionEndpoint shown = m_shown;
    shown.kind = kind;
    m_key->setEndpoint(shown);
    m_key->setEnabled(!m_pendingCustom);
}

void EndpointRow::showCatalog()
{
    const QString base = m_shown.resolvedBaseURL();
    const CorrectionCatalog catalog = m_state.correctionCatalogs().value(base);
    QStringList models{autoModel()};
    for (const QString& model : catalog.models) {
        if (!models.contains(model))
            models.append(model);
    }
    // The list only: what is typed in the field stays as it is.
    if (models != m_models->stringList())
        m_models->setStringList(models);
    const auto error = m_state.correctionLookupErrors().constFind(base);
    m_modelRow->setProblem(
        error == m_state.correctionLookupErrors().cend()
            ? QString()
            : L10n::format(QStringLiteral("settings.correction.model.lookupFailed"), {*error}));
    const QString detail =
        catalog.recommended.isEmpty()
            ? L10n::s("settings.correction.model.auto")
            : L10n::format(QStringLiteral("settings.correction.model.recommended"), {catalog.recommended});
    m_modelRow->detail()->setText(detail);
    m_model->editor()->setAccessibleDescription(detail);
}
