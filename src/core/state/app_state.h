#pragma once

#include "core/base/clock.h"
#include "core/config/quenda_config.h"
#include "core/model/app_release.h"
#include "core/model/app_style_profile.h"
#include "core/model/apple_notes_folder.h"
#include "core/model/correction_endpoint.h"
#include "core/model/dictation_preview.h"
#include "core/model/engine_state.h"
#include "core/model/history_entry.h"
#include "core/model/hotkey_routes.h"
#include "core/model/main_section.h"
#include "core/model/note_save_outcome.h"
#include "core/model/overlay_result.h"
#include "core/model/phase.h"
#include "core/model/quenda_note.h"
#include "core/model/saved_note_preview.h"
#include "core/model/session_routes.h"
#include "core/model/update_status.h"
#include "core/styles/style_profiles.h"

#include <QList>
#include <QMap>
#include <QObject>
#include <QUuid>

#include <functional>
#include <memory>
#include <optional>

class AppleNotes;
class DesktopLauncher;
class NoteSaver;
class OwnNotes;
class PermissionProbe;
class StateFiles;
class StyleUpkeep;
class WindowSystem;
class WorkQueue;

// The one shared state of the program: the controller and every view read and write it on the
// main thread. Each published field has a change signal that fires only on a real change. The
// note saving and the style upkeep are done by classes of their own that the state owns; it keeps
// the fields and signals the views know. What views ask of the application goes through
// AppCommands, never through the state.
class AppState final : public QObject, private StyleProfiles {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AppState)

public:
    // What the state needs of the desktop; owned by the composition root, outliving the state.
    struct Services {
        Clock& clock;
        PermissionProbe& permissions;
        DesktopLauncher& launcher;
        WindowSystem& windows;
        WorkQueue& work; // blocking reads (the application scan); its jobs end before windows goes
        AppleNotes& appleNotes;
        StateFiles& files; // configuration, history and notes
        QString appVersion = QStringLiteral(QUENDA_VERSION);
        // Whether an update checker asks a feed; off, the program is updated the way it was installed.
        bool checksForUpdates = false;
        // Off for a run that must leave the installed applications alone.
        bool scansApps = true;
    };

    // Configuration writes the user did not make in the settings save and inform the controller
    // but show no settings-saved notice while one of these lives.
    class ToastSuppression final {
    public:
        explicit ToastSuppression(AppState& state);
        ~ToastSuppression();
        Q_DISABLE_COPY_MOVE(ToastSuppression)

    private:
        AppState& m_state;
    };

    static constexpr int levelCount = 24;
    static constexpr int toastHideMs = 1700;

    // Loads the configuration, the history (trimmed, rewritten only when trimming dropped entries)
    // and the notes.
    explicit AppState(const Services& services, QObject* parent = nullptr);
    ~AppState() override;

    // The clock the state was built with; views take their delays and "now" from it.
    Clock& clock() const { return m_clock; }

    // Dictation progress, written by the controller.
    const Phase& phase() const { return m_phase; }
    void setPhase(const Phase& phase);
    bool rewriting() const { return m_rewriting; }
    void setRewriting(bool rewriting);
    // Always levelCount values, oldest first.
    const QList<double>& levels() const { return m_levels; }
    void pushLevel(double level);
    void resetLevels();
    double elapsed() const { return m_elapsed; }
    void setElapsed(double seconds);
    bool handsFree() const { return m_handsFree; }
    void setHandsFree(bool handsFree);
    const std::optional<FrontApp>& frontApp() const { return m_frontApp; }
    void setFrontApp(const std::optional<FrontApp>& app);
    // Picked at launch, before any view is built; it changes when the route in use fails.
    const HotkeyRouteStatus& hotkeyRoute() const { return m_hotkeyRoute; }
    void setHotkeyRoute(const HotkeyRouteStatus& route);

    // Engine and correction-model lookup, written by the controller.
    bool engineReady() const { return m_engineReady; }
    void setEngineReady(bool ready);
    bool polishAvailable() const { return m_polishAvailable; }
    void setPolishAvailable(bool available);
    const QString& engineStatus() const { return m_engineStatus; }
    void setEngineStatus(const QString& status);
    bool engineLoading() const { return m_engineLoading; }
    void setEngineLoading(bool loading);
    // The session's routes for keys, clipboard and panel, set once at launch by the root.
    const SessionRoutes& sessionRoutes() const { return m_sessionRoutes; }
    void setSessionRoutes(const SessionRoutes& routes);
    EngineState engineState() const;
    const QString& correctionModel() const { return m_correctionModel; }
    void setCorrectionModel(const QString& model);
    const QStringList& correctionModels() const { return m_correctionModels; }
    void setCorrectionModels(const QStringList& models);
    // Keyed by base URL.
    const QMap<QString, CorrectionCatalog>& correctionCatalogs() const { return m_correctionCatalogs; }
    void setCorrectionCatalogs(const QMap<QString, CorrectionCatalog>& catalogs);
    const QMap<QString, QString>& correctionLookupErrors() const { return m_correctionLookupErrors; }
    void setCorrectionLookupErrors(const QMap<QString, QString>& errors);

    bool micGranted() const { return m_micGranted; }
    bool axGranted() const { return m_axGranted; }
    // Whether the last refresh read real answers rather than the probe's stand-ins.
    bool permissionsAnswered() const { return m_permissionsAnswered; }
    // Asks the probe; each flag is written only when it changed.
    void refreshPermissions();
    // The desktop never prompts for the microphone, so this opens its settings page.
    void requestMicrophone();

    // The overlay's own flags and cards.
    bool widgetHovered() const { return m_widgetHovered; }
    void setWidgetHovered(bool hovered);
    bool widgetTranslateOpen() const { return m_widgetTranslateOpen; }
    void setWidgetTranslateOpen(bool open);
    bool widgetDragging() const { return m_widgetDragging; }
    void setWidgetDragging(bool dragging);
    const std::optional<OverlayResult>& overlayResult() const { return m_overlayResult; }
    void setOverlayResult(const std::optional<OverlayResult>& result);
    const std::optional<DictationPreview>& dictationPreview() const { return m_dictationPreview; }
    void setDictationPreview(const std::optional<DictationPreview>& preview);
    // Set by saveCapturedText; the overlay clears it when its card closes.
    const std::optional<SavedNotePreview>& notePreview() const { return m_notePreview; }
    void setNotePreview(const std::optional<SavedNotePreview>& preview);

    MainSection section() const { return m_section; }
    void setSection(MainSection section);

    // Configuration: every real change saves the file, announces configWritten, prunes the history
    // when a retention field changed, shows the settings-saved notice and announces configChanged.
    const QuendaConfig& config() const { return m_config; }
    void setConfig(const QuendaConfig& config);
    // A change the program makes on its own (a learned word, onboarding done): saved and reacted to as
    // any, without the settings-saved notice.
    void changeConfigUnasked(const std::function<void(QuendaConfig&)>& change);
    bool settingToastVisible() const { return m_settingToastVisible; }
    const QUuid& settingToastToken() const { return m_settingToastToken; }
    int settingToastSuppressed() const { return m_settingToastSuppressed; }
    // Shows the notice, or keeps it, until toastHideMs after the last call.
    void noteSettingChanged();

    // History, newest first.
    const QList<HistoryEntry>& history() const { return m_history; }
    // Replaces the list without writing the file.
    void setHistory(const QList<HistoryEntry>& history);
    // Empties the history and writes the empty file.
    void clearHistory();
    void addHistory(const HistoryEntry& entry);
    // Keeps clipboard text an insertion displaced, unless blank or the same as the newest entry.
    void rememberClipboard(const QString& text);
    void deleteHistory(const QUuid& id);
    void pruneHistory();
    // The newest dictation that could not be pasted, while it is still in the history; set by the
    // controller after each delivery, cleared once the user copied it again.
    std::optional<HistoryEntry> unpastedDictation() const;
    void setUnpastedDictation(const std::optional<QUuid>& id);

    // Own notes, newest first; every change is written to "notes.json", edits of a note behind on a worker.
    const QList<QuendaNote>& notes() const;
    // The last write of the notes failed: changes live only in memory. Announced by notesChanged.
    bool notesUnsaved() const;
    // A Notes application can be reached; without one, saved notes go to the own notes.
    bool notesBridge() const;
    // Saves the trimmed text to the configured destination; when Notes fails the own store takes it.
    // done gets the outcome, at once for blank text (nothing saved: quenda) and the own store, later
    // for Notes; it is skipped when context is gone, but the text is saved all the same. A note
    // the own store could not write is reported unsaved, without the saved-note preview.
    void saveCapturedText(const QString& text, QObject* context, std::function<void(NoteSaveOutcome)> done);
    // The new note's id; absent when the body is blank.
    std::optional<QUuid> addNote(const QString& body, const std::optional<QString>& title = std::nullopt);
    QUuid createNote();
    void updateNote(const QUuid& id, const QString& title, const QString& body);
    void deleteNote(const QUuid& id);
    // Edits are written behind; this waits until the notes file holds them.
    void flushNotes();
    // The own note the notes page is to open; the page clears it.
    const std::optional<QUuid>& noteToOpen() const { return m_noteToOpen; }
    // The section the settings page is to open at; the page clears it.
    const std::optional<SettingsPlace>& settingsToOpen() const { return m_settingsToOpen; }
    void setSettingsToOpen(const std::optional<SettingsPlace>& place);
    void setNoteToOpen(const std::optional<QUuid>& id);
    // Takes the saved-note preview away and shows its note: a note of Notes there; an own note is
    // marked to open, and true asks the caller to show the notes page.
    bool openSavedNote();
    const QList<AppleNotesFolder>& appleNoteFolders() const { return m_appleNoteFolders; }
    const std::optional<QString>& appleNotesStatus() const { return m_appleNotesStatus; }
    void refreshAppleNoteFolders();

    // Styles per application.
    QString effectiveStyle(const FrontApp& app) const;
    void rememberApp(const FrontApp& app);
    void setAppStyle(const QString& bundleID, const QString& name, const QString& style);
    // Asks the window system for the installed applications on the work queue and merges them on
    // the main thread; nothing when the state scans no applications.
    void rescanApps();
    void mergeInstalledApps(const QList<FrontApp>& apps);

    // Home page figures, computed from the history at every read.
    int totalWords() const;
    int todayCount() const;
    double minutesSaved() const;
    int speakingWPM() const;
    QString modelDisplayName() const;

    // The update check's status, mirrored by the shell from the checker the root owns.
    const UpdateStatus& update() const { return m_update; }
    void setUpdate(const UpdateStatus& status);
    std::optional<AppRelease> availableRelease() const;
    // The offered release is the one the user dismissed.
    bool dismissedUpdate() const { return m_dismissedUpdate; }
    void setDismissedUpdate(bool dismissed);
    // False without an update feed, or in a run that leaves the network alone: the program is then
    // updated the way it was installed.
    bool checksForUpdates() const { return m_checksForUpdates; }
    const QString& appVersion() const { return m_appVersion; }

    // Shows the support folder in the file manager; false when nothing opened it.
    bool openSupportFolder();
signals:
    void phaseChanged();
    void rewritingChanged();
    void levelsChanged();
    void elapsedChanged();
    void handsFreeChanged();
    void engineReadyChanged();
    void polishAvailableChanged();
    void correctionModelChanged();
    void correctionModelsChanged();
    void correctionCatalogsChanged();
    void correctionLookupErrorsChanged();
    void frontAppChanged();
    void engineStatusChanged();
    void engineLoadingChanged();
    void sessionRoutesChanged();
    void hotkeyRouteChanged();
    void micGrantedChanged();
    void axGrantedChanged();
    void permissionsAnsweredChanged();
    void widgetHoveredChanged();
    void widgetTranslateOpenChanged();
    void overlayResultChanged();
    void dictationPreviewChanged();
    void notePreviewChanged();
    void noteToOpenChanged();
    void settingsToOpenChanged();
    void widgetDraggingChanged();
    void sectionChanged();
    void updateChanged();
    void dismissedUpdateChanged();
    // Before the other effects of a change, with the value it replaced; the controller reacts here.
    void configWritten(const QuendaConfig& previous, const QuendaConfig& current);
    void configChanged();
    void settingToastVisibleChanged();
    void settingToastTokenChanged();
    void historyChanged();
    void unpastedDictationChanged();
    void notesChanged();
    void appleNoteFoldersChanged();
    void appleNotesStatusChanged();

private:
    const QList<AppStyleProfile>& styleProfiles() const override;
    void writeStyleProfiles(const QList<AppStyleProfile>& profiles, Origin origin) override;

    void setSettingToastVisible(bool visible);
    void saveHistory();
    QList<HistoryEntry> dictations() const;
    void setAppleNoteFolders(const QList<AppleNotesFolder>& folders);
    void setAppleNotesStatus(const std::optional<QString>& status);
    void showSavedNote(const SavedNotePreview& preview);

    Clock& m_clock;
    StateFiles& m_files;
    PermissionProbe& m_permissions;
    DesktopLauncher& m_launcher;
    AppleNotes& m_appleNotes;
    const bool m_checksForUpdates;
    const bool m_scansApps;
    const QString m_appVersion;

    Phase m_phase;
    bool m_rewriting = false;
    QList<double> m_levels;
    double m_elapsed = 0;
    bool m_handsFree = false;
    HotkeyRouteStatus m_hotkeyRoute;
    bool m_engineReady = false;
    bool m_polishAvailable = true;
    QString m_correctionModel;
    QStringList m_correctionModels;
    QMap<QString, CorrectionCatalog> m_correctionCatalogs;
    QMap<QString, QString> m_correctionLookupErrors;
    std::optional<FrontApp> m_frontApp;
    QString m_engineStatus;
    bool m_engineLoading = true;
    SessionRoutes m_sessionRoutes;
    bool m_micGranted = false;
    bool m_axGranted = false;
    bool m_permissionsAnswered = false;
    bool m_widgetHovered = false;
    bool m_widgetTranslateOpen = false;
    std::optional<OverlayResult> m_overlayResult;
    std::optional<DictationPreview> m_dictationPreview;
    std::optional<SavedNotePreview> m_notePreview;
    std::optional<QUuid> m_noteToOpen;
    std::optional<SettingsPlace> m_settingsToOpen;
    bool m_widgetDragging = false;
    MainSection m_section = MainSection::Home;
    QuendaConfig m_config;
    bool m_settingToastVisible = false;
    QUuid m_settingToastToken;
    int m_settingToastSuppressed = 0;
    Clock::Timer m_settingToastHide;
    QList<HistoryEntry> m_history;
    std::optional<QUuid> m_unpastedDictation;
    QList<AppleNotesFolder> m_appleNoteFolders;
    std::optional<QString> m_appleNotesStatus;
    UpdateStatus m_update;
    bool m_dismissedUpdate = false;
    const std::unique_ptr<OwnNotes> m_ownNotes;
    const std::unique_ptr<NoteSaver> m_noteSaver;
    const std::unique_ptr<StyleUpkeep> m_styles;
    // Only the newest folder listing may set the folders and the status.
    quint64 m_folderListing = 0;
};
