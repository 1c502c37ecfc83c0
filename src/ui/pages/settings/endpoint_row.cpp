#include "ui/pages/settings/endpoint_row.h"
#include "ui/kit/label_button.h"

#include "core/keys/open_ai_key_store.h"
#include "core/state/app_commands.h"
#include "core/state/app_state.h"
#include "core/text/l10n.h"
#include "ui/kit/icon_button.h"
#include "ui/kit/kit_font.h"
#include "ui/kit/kit_label.h"
#include "ui/kit/kit_paint.h"
#include "ui/kit/scheme.h"
#include "ui/kit/soft_picker.h"
#include "ui/kit/toggle_switch.h"
#include "ui/pages/settings/correction_texts.h"
#include "ui/pages/settings/provider_key_field.h"
#include "ui/pages/settings/settings_row.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPainter>
#include <QSignalBlocker>
#include <QUrl>
#include <QVBoxLayout>

namespace {

constexpr int fieldWidth = 240;
constexpr int urlFieldWidth = 300;
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

// Why the engine could not reach this base URL, or nothing when it could.
std::optional<QString> baseURLProblem(const QString& trimmed)
{
    if (trimmed.isEmpty())
        return L10n::s("settings.correction.baseURL.empty");
    const QUrl url(trimmed, QUrl::StrictMode);
    const QString scheme = url.scheme();
    if (!url.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https")) ||
        url.host().isEmpty())
        return L10n::s("settings.correction.baseURL.invalid");
    return std::nullopt;
}

// Sets a field's text without moving the caret of someone typing in it.
void replaceText(QLineEdit* field, const QString& text)
{
    if (field->text() == text)
        return;
    const int caret = field->cursorPosition();
    field->setText(text);
    field->setCursorPosition(caret);
}

} // namespace

EndpointRow::EndpointRow(AppState& state, AppCommands& commands, OpenAIKeyStore* keys, const QUuid& id,
                         QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_commands(commands)
    , m_keys(keys)
    , m_id(id)
    , m_number(new KitLabel({}, TextRole::BodyStrong))
    , m_kind(new SoftPicker)
    , m_enabled(new ToggleSwitch({}))
    , m_up(new IconButton(Symbol::ChevronUp, {}))
    , m_down(new IconButton(Symbol::ChevronDown, {}))
    , m_remove(new IconButton(Symbol::Trash, {}))
    , m_baseURL(new QLineEdit)
    , m_model(new QComboBox)
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

    m_baseURL->setFont(KitFont::of(TextRole::Body));
    m_baseURL->setFixedWidth(urlFieldWidth);
    m_baseURL->setPlaceholderText(QStringLiteral("http://127.0.0.1:11434/v1"));
    m_baseURLRow = new SettingsRow(L10n::s("settings.correction.baseURL"), m_baseURL,
                                   L10n::s("settings.correction.baseURL.detail"));
    outer->addWidget(m_baseURLRow);

    m_model->setFont(KitFont::of(TextRole::Body));
    m_model->setEditable(true);
    m_model->setInsertPolicy(QComboBox::NoInsert);
    // Inline completion would turn a typed model into a longer listed one on Enter.
    m_model->setCompleter(nullptr);
    m_model->setFixedWidth(fieldWidth);
    m_modelRow = new SettingsRow(L10n::s("settings.correction.model"), m_model,
                                 L10n::s("settings.correction.model.auto"));
    outer->addWidget(m_modelRow);

    if (m_keys) {
        m_key = new ProviderKeyField(*m_keys);
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
    connect(m_baseURL, &QLineEdit::editingFinished, this, &EndpointRow::commitBaseURL);
    connect(m_model->lineEdit(), &QLineEdit::editingFinished, this,
            [this] { commitModel(m_model->lineEdit()->text()); });
    connect(m_model, &QComboBox::activated, this,
            [this](int index) { commitModel(m_model->itemText(index)); });
    connect(&m_state, &AppState::correctionCatalogsChanged, this, &EndpointRow::showCatalog);
    connect(&m_state, &AppState::correctionLookupErrorsChanged, this, &EndpointRow::showCatalog);
}

void EndpointRow::writeEndpoints(AppState& state,
                                 const std::function<void(QList<CorrectionEndpoint>&)>& change)
{
    QuendaConfig next = state.config();
    change(next.correctionEndpoints);
    if (next.correctionEndpoints == state.config().correctionEndpoints)
        return;
    next.syncLegacyCorrectionFields();
    state.setConfig(next);
}

void EndpointRow::present(const CorrectionEndpoint& endpoint, int index, int count)
{
    if (endpoint.kind != m_shown.kind || usesOwnBaseURL(endpoint.kind))
        m_pendingCustom = false;
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

    if (m_shownURL != endpoint.baseURL) {
        m_shownURL = endpoint.baseURL;
        replaceText(m_baseURL, endpoint.baseURL);
        m_baseURLRow->setProblem({});
    }
    if (m_shownModel != endpoint.model) {
        m_shownModel = endpoint.model;
        replaceText(m_model->lineEdit(), endpoint.model);
    }
    if (m_key)
        m_key->setEndpoint(endpoint);

    m_kind->setAccessibleName(CorrectionTexts::ofEndpoint(L10n::s("settings.correction.kind"), number));
    m_enabled->setAccessibleName(L10n::format(QStringLiteral("settings.correction.use"), {number}));
    m_up->setAccessibleName(L10n::format(QStringLiteral("settings.correction.moveUp"), {number}));
    m_down->setAccessibleName(L10n::format(QStringLiteral("settings.correction.moveDown"), {number}));
    m_remove->setAccessibleName(L10n::format(QStringLiteral("settings.correction.remove"), {number}));
    m_baseURL->setAccessibleName(CorrectionTexts::ofEndpoint(L10n::s("settings.correction.baseURL"), number));
    m_model->setAccessibleName(CorrectionTexts::ofEndpoint(L10n::s("settings.correction.model"), number));
    m_model->lineEdit()->setAccessibleName(m_model->accessibleName());
    if (m_key)
        m_key->setNumber(number);
    showCatalog();
}

QList<QWidget*> EndpointRow::focusOrder() const
{
    QList<QWidget*> order{m_kind, m_enabled, m_up, m_down, m_remove, m_baseURL, m_model};
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
    writeEndpoints(m_state, [this, &change](QList<CorrectionEndpoint>& endpoints) {
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
        // Stored only together with its server's address.
        m_pendingCustom = true;
        showKind();
        m_baseURLRow->setProblem(L10n::s("settings.correction.baseURL.empty"));
        m_baseURL->setFocus();
        return;
    }
    m_pendingCustom = false;
    m_baseURLRow->setProblem({});
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
    const QString before = m_shown.resolvedBaseURL();
    edit([&kind](CorrectionEndpoint& e) { e.kind = kind; });
    showKind();
    if (m_shown.resolvedBaseURL() != before)
        lookUp();
}

void EndpointRow::commitBaseURL()
{
    const QString typed = m_baseURL->text().trimmed();
    // A field that is not in use refuses nothing; it is hidden.
    if (!m_pendingCustom && !usesOwnBaseURL(m_shown.kind))
        return;
    if (const auto problem = baseURLProblem(typed)) {
        m_baseURLRow->setProblem(*problem);
        return;
    }
    m_baseURLRow->setProblem({});
    const bool becomesCustom = m_pendingCustom;
    m_pendingCustom = false;
    const QString before = m_shown.resolvedBaseURL();
    const QString kind = becomesCustom ? ownServerKind() : m_shown.kind;
    edit([&](CorrectionEndpoint& e) {
        e.kind = kind;
        e.baseURL = typed;
    });
    replaceText(m_baseURL, typed);
    if (m_shown.resolvedBaseURL() != before || becomesCustom)
        lookUp();
}

void EndpointRow::commitModel(const QString& typed)
{
    const QString model = typed.trimmed().isEmpty() ? autoModel() : typed.trimmed();
    edit([&model](CorrectionEndpoint& e) { e.model = model; });
    replaceText(m_model->lineEdit(), m_shown.model);
}

void EndpointRow::move(int by)
{
    writeEndpoints(m_state, [this, by](QList<CorrectionEndpoint>& endpoints) {
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
    writeEndpoints(m_state, [&gone](QList<CorrectionEndpoint>& endpoints) {
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
    // A key typed now would be stored for the provider the endpoint still has.
    if (m_key)
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
    if (models != m_models) {
        m_models = models;
        QLineEdit* editor = m_model->lineEdit();
        const QString typed = editor->text();
        const int caret = editor->cursorPosition();
        const QSignalBlocker quiet(m_model);
        m_model->clear();
        m_model->addItems(models);
        editor->setText(typed);
        editor->setCursorPosition(caret);
    }
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
    m_model->setAccessibleDescription(detail);
}
