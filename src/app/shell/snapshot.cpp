#include "app/shell/snapshot.h"

#include "app/shell/demo_commands.h"
#include "app/shell/demo_desktop.h"
#include "app/shell/demo_history.h"
#include "app/shell/run_mode.h"
#include "app/shell/snapshot_studio.h"
#include "core/base/work_queue.h"
#include "core/keys/open_ai_key_store.h"
#include "core/notes/apple_notes.h"
#include "core/state/app_state.h"
#include "core/text/l10n.h"
#include "ui/kit/scheme.h"
#include "ui/overlay/overlay_view.h"
#include "ui/shell/main_view.h"
#include "ui/shell/status_icon_art.h"
#include "ui/shell/status_icon_look.h"

#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>

#include <array>
#include <functional>

namespace {

// One fixed instant, so every run draws the same times; timers never fire, as a snapshot
// shows a single moment.
class DemoClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime(QDate(2026, 3, 12), QTime(10, 24)); }
    qint64 elapsedMs() const override { return 0; }
    TimerId singleShot(int, QObject*, std::function<void()>) override { return ++m_next; }
    TimerId repeating(int, QObject*, std::function<void()>) override { return ++m_next; }
    void cancel(TimerId) override {}

private:
    TimerId m_next = 0;
};

struct Scene {
    QString name;
    std::function<void(AppState&)> set;
};

QString rawPhase(const QString& name)
{
    return QStringLiteral("overlay-") + name;
}

// The overlay scenes: every phase of the pill and every card.
QList<Scene> overlayScenes()
{
    const auto phase = [](Phase p) { return [p](AppState& s) { s.setPhase(p); }; };
    OverlayResult choices{
        QStringLiteral("Make it friendlier"), QStringLiteral("Thanks so much for the quick reply!"),
        QList<OverlayResultChoice>{{OverlayResultChoice::Kind::Command, QStringLiteral("Command"),
                                    QStringLiteral("Thanks so much for the quick reply!")},
                                   {OverlayResultChoice::Kind::Reformulate, QStringLiteral("Reformulated"),
                                    QStringLiteral("Thank you for replying so quickly.")}}};
    return {
        {QStringLiteral("chip"), [](AppState&) {}},
        {QStringLiteral("toolbar"), [](AppState& s) { s.setWidgetHovered(true); }},
        {QStringLiteral("translate-menu"), [](AppState& s) { s.setWidgetTranslateOpen(true); }},
        {QStringLiteral("listening"), phase(Phase::listening())},
        {QStringLiteral("listening-handsfree"),
         [](AppState& s) {
             s.setHandsFree(true);
             s.setPhase(Phase::listening());
         }},
        {QStringLiteral("transcribing"), phase(Phase::transcribing())},
        {QStringLiteral("polishing"),
         phase(Phase::polishing(QStringLiteral("meet you at the station at ten")))},
        {QStringLiteral("command"), phase(Phase::translating(QStringLiteral("de")))},
        {QStringLiteral("done-pasted"), phase(Phase::done(QStringLiteral("See you at ten."), true))},
        {QStringLiteral("done-copied"), phase(Phase::done(QStringLiteral("See you at ten."), false))},
        {QStringLiteral("failed"),
         phase(Phase::failed(QStringLiteral("The speech engine did not answer in time.")))},
        {QStringLiteral("notice"), phase(Phase::notice(QStringLiteral("Nothing heard")))},
        {QStringLiteral("notice-speech-fallback"),
         phase(Phase::notice(L10n::format(QStringLiteral("notice.speechFallback"),
                                          {QStringLiteral("The speech server at 192.168.1.20 refused the key "
                                                          "(401): Incorrect API key provided: ***")})))},
        {QStringLiteral("preview"),
         [](AppState& s) {
             s.setDictationPreview(
                 DictationPreview{QStringLiteral("Let's meet at the station at ten and take "
                                                 "the early train."),
                                  DictationPreviewStatus::Inserted, false});
         }},
        {QStringLiteral("preview-replaced-copy"),
         [](AppState& s) {
             s.setDictationPreview(DictationPreview{QStringLiteral("See you at ten."),
                                                    DictationPreviewStatus::ReplacedCopy, false});
         }},
        {QStringLiteral("result"),
         [](AppState& s) {
             s.setOverlayResult(
                 OverlayResult{QStringLiteral("Summarise"),
                               QStringLiteral("The team agreed to ship on Friday; QA signs off "
                                              "on Thursday."),
                               std::nullopt});
         }},
        {QStringLiteral("choice"), [choices](AppState& s) { s.setOverlayResult(choices); }},
        {QStringLiteral("saved-note"),
         [](AppState& s) {
             s.setNotePreview(SavedNotePreview{QStringLiteral("Buy oat milk, call the landlord about the "
                                                              "heating."),
                                               SavedNotePreview::QuendaPlace{QUuid()}});
         }},
    };
}

const QStringList& iconStates()
{
    static const QStringList names{QStringLiteral("idle"), QStringLiteral("recording"),
                                   QStringLiteral("update"), QStringLiteral("both")};
    return names;
}

QString schemed(const QString& base, bool dark)
{
    return base + (dark ? QStringLiteral("-dark.png") : QStringLiteral(".png"));
}

} // namespace

using SnapshotStudio::Renderer;
using SnapshotStudio::Studio;
using SnapshotStudio::WindowScene;

QStringList Snapshot::screenNames()
{
    QStringList names;
    for (const bool dark : {false, true}) {
        for (const WindowScene& scene : SnapshotStudio::windowScenes())
            names.append(schemed(scene.name, dark));
    }
    for (const Scene& scene : overlayScenes())
        names.append(rawPhase(scene.name) + QStringLiteral(".png"));
    for (const QString& state : iconStates())
        names.append(QStringLiteral("status-icon-") + state + QStringLiteral(".png"));
    return names;
}

QList<Snapshot::Shot> Snapshot::run(const QString& directory)
{
    RunMode mode(true);
    mode.applyToProcess();

    QDir().mkpath(directory);
    Renderer render(directory);

    DemoClock clock;
    DemoDesktop desktop;
    WorkQueue work;
    QTemporaryDir scratch;
    QSettings settings(scratch.filePath(QStringLiteral("defaults.ini")), QSettings::IniFormat);
    AppleNotes appleNotes(desktop, settings);
    // Without a secret store: a snapshot leaves the user's keys alone and keeps none.
    OpenAIKeyStore keys(nullptr, settings);
    DemoCommands commands;
    const QPalette systemPalette = QApplication::palette();
    const auto services = [&](StateFiles& files) {
        return AppState::Services{clock, desktop,         desktop, desktop,
                                  work,  appleNotes,      files,   QStringLiteral(QUENDA_VERSION),
                                  false, mode.scansApps()};
    };

    for (const bool dark : {false, true}) {
        QApplication::setPalette(dark ? Scheme::dark() : Scheme::light());
        desktop.accessibility = true;
        AppState state(services(mode.files()));
        state.refreshPermissions();
        state.setEngineReady(true);
        state.setEngineLoading(false);
        state.setEngineStatus(SnapshotStudio::readyText(std::nullopt));
        state.setHistory(DemoHistory::entries(clock.now()));
        SnapshotStudio::stageStyles(state);
        SnapshotStudio::stageDictionary(state);

        Studio studio{services, commands, clock, desktop, mode.files(), state, render, keys, nullptr};
        for (const WindowScene& scene : SnapshotStudio::windowScenes())
            scene.shoot(studio, schemed(scene.name, dark));
    }
    QApplication::setPalette(systemPalette);

    for (const Scene& scene : overlayScenes()) {
        AppState state(services(mode.files()));
        QuendaConfig config = state.config();
        config.showWidget = true;
        {
            AppState::ToastSuppression quiet(state);
            state.setConfig(config);
        }
        OverlayView overlay(state, commands, clock);
        overlay.setCardsStay(mode.cardsStay());
        scene.set(state);
        QCoreApplication::sendPostedEvents();
        render.floating(overlay, overlay.sizeHint().expandedTo(QSize(380, 110)), QColor(58, 64, 78),
                        rawPhase(scene.name) + QStringLiteral(".png"));
    }

    const std::array<StatusIconLook, 4> looks{
        StatusIconLook::of(Phase::idle(), false, false), StatusIconLook::of(Phase::listening(), false, false),
        StatusIconLook::of(Phase::idle(), true, false), StatusIconLook::of(Phase::listening(), true, false)};
    for (size_t i = 0; i < looks.size(); ++i)
        render.image(StatusIconArt::draw(looks[i], 2.0),
                     QStringLiteral("status-icon-") + iconStates().at(int(i)) + QStringLiteral(".png"));
    return render.shots();
}
