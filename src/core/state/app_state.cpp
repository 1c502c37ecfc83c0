// Creation, the plain published fields and permissions.
#include "core/state/app_state.h"

#include "core/base/support_paths.h"
#include "core/notes/note_saver.h"
#include "core/notes/own_notes.h"
#include "core/storage/state_files.h"
#include "core/styles/style_upkeep.h"
#include "core/text/l10n.h"
#include "platform/desktop_launcher.h"
#include "platform/permission_probe.h"

#include <QUrl>

#include <algorithm>

namespace {

// True when the field took a new value; a setter emits only then.
template <typename T> bool assign(T& field, const T& value)
{
    if (field == value)
        return false;
    field = value;
    return true;
}

} // namespace

AppState::AppState(const Services& services, QObject* parent)
    : QObject(parent)
    , m_clock(services.clock)
    , m_files(services.files)
    , m_permissions(services.permissions)
    , m_launcher(services.launcher)
    , m_appleNotes(services.appleNotes)
    , m_checksForUpdates(services.checksForUpdates)
    , m_scansApps(services.scansApps)
    , m_appVersion(services.appVersion)
    , m_levels(levelCount, 0.0)
    , m_engineStatus(L10n::s(QStringLiteral("engine.loadingModel")))
    , m_settingToastToken(QUuid::createUuid())
    , m_ownNotes(std::make_unique<OwnNotes>(services.files, services.clock))
    , m_noteSaver(std::make_unique<NoteSaver>(services.appleNotes, *m_ownNotes))
    , m_styles(
          std::make_unique<StyleUpkeep>(static_cast<StyleProfiles&>(*this), services.windows, services.work))
{
    const QuendaConfig config = m_files.loadConfig();
    const QList<HistoryEntry> decoded = m_files.loadHistory();
    m_history = config.trimmedHistory(HistoryEntry::withUniqueIds(decoded), m_clock.now());
    m_config = config;
    if (m_history.size() != decoded.size())
        saveHistory();
    connect(m_ownNotes.get(), &OwnNotes::changed, this, &AppState::notesChanged);
    connect(m_noteSaver.get(), &NoteSaver::saved, this, &AppState::showSavedNote);
}

AppState::~AppState() = default;

AppState::ToastSuppression::ToastSuppression(AppState& state)
    : m_state(state)
{
    ++m_state.m_settingToastSuppressed;
}

AppState::ToastSuppression::~ToastSuppression()
{
    --m_state.m_settingToastSuppressed;
}

void AppState::setPhase(const Phase& phase)
{
    if (!assign(m_phase, phase))
        return;
    emit phaseChanged();
}

void AppState::setRewriting(bool rewriting)
{
    if (assign(m_rewriting, rewriting))
        emit rewritingChanged();
}

void AppState::pushLevel(double level)
{
    m_levels.removeFirst();
    m_levels.append(level);
    emit levelsChanged();
}

void AppState::resetLevels()
{
    if (assign(m_levels, QList<double>(levelCount, 0.0)))
        emit levelsChanged();
}

void AppState::setElapsed(double seconds)
{
    if (assign(m_elapsed, seconds))
        emit elapsedChanged();
}

void AppState::setHandsFree(bool handsFree)
{
    if (assign(m_handsFree, handsFree))
        emit handsFreeChanged();
}

void AppState::setFrontApp(const std::optional<FrontApp>& app)
{
    if (assign(m_frontApp, app))
        emit frontAppChanged();
}

void AppState::setEngineReady(bool ready)
{
    if (assign(m_engineReady, ready))
        emit engineReadyChanged();
}

void AppState::setPolishAvailable(bool available)
{
    if (assign(m_polishAvailable, available))
        emit polishAvailableChanged();
}

void AppState::setEngineStatus(const QString& status)
{
    if (assign(m_engineStatus, status))
        emit engineStatusChanged();
}

void AppState::setSessionRoutes(const SessionRoutes& routes)
{
    if (assign(m_sessionRoutes, routes))
        emit sessionRoutesChanged();
}

void AppState::setHotkeyRoute(const HotkeyRouteStatus& route)
{
    if (assign(m_hotkeyRoute, route))
        emit hotkeyRouteChanged();
}

void AppState::setEngineLoading(bool loading)
{
    if (assign(m_engineLoading, loading))
        emit engineLoadingChanged();
}

EngineState AppState::engineState() const
{
    if (m_engineReady)
        return EngineState::Ready;
    return m_engineLoading ? EngineState::Loading : EngineState::Error;
}

void AppState::setCorrectionModel(const QString& model)
{
    if (assign(m_correctionModel, model))
        emit correctionModelChanged();
}

void AppState::setCorrectionModels(const QStringList& models)
{
    if (assign(m_correctionModels, models))
        emit correctionModelsChanged();
}

void AppState::setCorrectionCatalogs(const QMap<QString, CorrectionCatalog>& catalogs)
{
    if (assign(m_correctionCatalogs, catalogs))
        emit correctionCatalogsChanged();
}

void AppState::setCorrectionLookupErrors(const QMap<QString, QString>& errors)
{
    if (assign(m_correctionLookupErrors, errors))
        emit correctionLookupErrorsChanged();
}

void AppState::refreshPermissions()
{
    // Both are read before either is written, so observers never see a half-updated pair.
    const bool answered = m_permissions.answered();
    const bool mic = m_permissions.microphoneAvailable();
    const bool ax = m_permissions.accessibilityTrusted();
    const bool newlyAnswered = assign(m_permissionsAnswered, answered);
    if (assign(m_micGranted, mic))
        emit micGrantedChanged();
    if (assign(m_axGranted, ax))
        emit axGrantedChanged();
    // Flags read as they were may now be real answers rather than stand-ins.
    if (newlyAnswered)
        emit permissionsAnsweredChanged();
}

void AppState::requestMicrophone()
{
    m_launcher.openPrivacyPane({DesktopLauncher::microphonePane});
}

bool AppState::openSupportFolder()
{
    return m_launcher.openUrl(QUrl::fromLocalFile(SupportPaths::directory()));
}

void AppState::setWidgetHovered(bool hovered)
{
    if (assign(m_widgetHovered, hovered))
        emit widgetHoveredChanged();
}

void AppState::setWidgetTranslateOpen(bool open)
{
    if (assign(m_widgetTranslateOpen, open))
        emit widgetTranslateOpenChanged();
}

void AppState::setWidgetDragging(bool dragging)
{
    if (assign(m_widgetDragging, dragging))
        emit widgetDraggingChanged();
}

void AppState::setOverlayResult(const std::optional<OverlayResult>& result)
{
    if (assign(m_overlayResult, result))
        emit overlayResultChanged();
}

void AppState::setDictationPreview(const std::optional<DictationPreview>& preview)
{
    if (assign(m_dictationPreview, preview))
        emit dictationPreviewChanged();
}

void AppState::setNotePreview(const std::optional<SavedNotePreview>& preview)
{
    if (assign(m_notePreview, preview))
        emit notePreviewChanged();
}

void AppState::setNoteToOpen(const std::optional<QUuid>& id)
{
    if (assign(m_noteToOpen, id))
        emit noteToOpenChanged();
}

void AppState::setSettingsToOpen(const std::optional<SettingsPlace>& place)
{
    if (assign(m_settingsToOpen, place))
        emit settingsToOpenChanged();
}

void AppState::setSection(MainSection section)
{
    if (assign(m_section, section))
        emit sectionChanged();
}

void AppState::setUpdate(const UpdateStatus& status)
{
    if (assign(m_update, status))
        emit updateChanged();
}

std::optional<AppRelease> AppState::availableRelease() const
{
    if (m_update.is(UpdateStatus::Kind::Available))
        return m_update.release();
    return std::nullopt;
}

void AppState::setDismissedUpdate(bool dismissed)
{
    if (assign(m_dismissedUpdate, dismissed))
        emit dismissedUpdateChanged();
}

void AppState::setSettingToastVisible(bool visible)
{
    if (assign(m_settingToastVisible, visible))
        emit settingToastVisibleChanged();
}

void AppState::setHistory(const QList<HistoryEntry>& history)
{
    if (assign(m_history, history))
        emit historyChanged();
}

std::optional<HistoryEntry> AppState::unpastedDictation() const
{
    if (!m_unpastedDictation)
        return std::nullopt;
    const auto found = std::find_if(m_history.begin(), m_history.end(),
                                    [this](const HistoryEntry& e) { return e.id == *m_unpastedDictation; });
    return found == m_history.end() ? std::nullopt : std::optional(*found);
}

void AppState::setUnpastedDictation(const std::optional<QUuid>& id)
{
    if (assign(m_unpastedDictation, id))
        emit unpastedDictationChanged();
}

void AppState::setAppleNoteFolders(const QList<AppleNotesFolder>& folders)
{
    if (assign(m_appleNoteFolders, folders))
        emit appleNoteFoldersChanged();
}

void AppState::setAppleNotesStatus(const std::optional<QString>& status)
{
    if (assign(m_appleNotesStatus, status))
        emit appleNotesStatusChanged();
}
