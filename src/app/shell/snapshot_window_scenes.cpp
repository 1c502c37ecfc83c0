#include "app/shell/snapshot_studio.h"

#include "app/shell/demo_desktop.h"
#include "app/shell/update_progress_hud.h"
#include "core/keys/open_ai_key_store.h"
#include "core/model/main_section.h"
#include "core/state/app_state.h"
#include "core/storage/state_files.h"
#include "core/text/l10n.h"
#include "core/text/speech_route_text.h"
#include "speech/speech_engine.h"
#include "ui/kit/label_button.h"
#include "ui/kit/page.h"
#include "ui/kit/search_field.h"
#include "ui/pages/commands/command_needs.h"
#include "ui/pages/commands/commands_page.h"
#include "ui/pages/dictionary/dictionary_page.h"
#include "ui/pages/history/history_page.h"
#include "ui/pages/history/history_row.h"
#include "ui/pages/page_table.h"
#include "ui/pages/settings/correction_section.h"
#include "ui/pages/settings/endpoint_row.h"
#include "ui/pages/settings/provider_key_field.h"
#include "ui/pages/settings/prune_question.h"
#include "ui/pages/settings/settings_page.h"
#include "ui/pages/settings/speech_server_rows.h"
#include "ui/pages/style/app_style_rows.h"
#include "ui/pages/style/style_page.h"
#include "ui/shell/main_view.h"
#include "ui/shell/menu_bar_view.h"
#include "ui/shell/onboarding_view.h"
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <functional>

namespace SnapshotStudio {

namespace {

// The demonstration files with four notes of different ages, one without a title.
class DemoNotesFiles final : public StateFiles {
public:
    explicit DemoNotesFiles(StateFiles& files, const QDateTime& now)
        : m_files(files)
        , m_now(now)
    {
    }

    QuendaConfig loadConfig() override
    {
        QuendaConfig config = m_files.loadConfig();
        config.noteDestination = NoteDestination::own();
        return config;
    }
    bool saveConfig(const QuendaConfig& config) override { return m_files.saveConfig(config); }
    QList<HistoryEntry> loadHistory() override { return m_files.loadHistory(); }
    void saveHistory(const QList<HistoryEntry>& entries) override { m_files.saveHistory(entries); }
    QList<QuendaNote> loadNotes() override
    {
        const auto note = [this](int minutesAgo, const QString& title, const QString& body) {
            const QDateTime at = m_now.addSecs(-60LL * minutesAgo);
            return QuendaNote{QUuid::createUuid(), at, at, title, body};
        };
        QString plan = QStringLiteral("Week 1: set up the rehearsal room, tune the piano and print the "
                                      "parts for the spring concert.\n");
        for (int week = 2; week <= 12; ++week)
            plan += QStringLiteral("Week %1: rehearse movements %2 and %3 with the strings, then the whole "
                                   "orchestra on Thursday evening.\n")
                        .arg(week)
                        .arg(week - 1)
                        .arg(week);
        return {
            note(3,
                 QStringLiteral(
                     "Rehearsal plan for the spring concert at the old town hall, all twelve weeks"),
                 plan),
            note(190, QString(),
                 QStringLiteral("Buy oat milk, call the landlord about the heating.\nAlso: return the "
                                "library books.")),
            note(60 * 26, QStringLiteral("Podcast ideas"),
                 QStringLiteral("An episode on night trains, one on community gardens.")),
            note(60 * 24 * 12, QStringLiteral("Gift for Mara"),
                 QStringLiteral("The blue scarf from the market, size M.")),
        };
    }
    bool saveNotes(const QList<QuendaNote>&) override { return true; }

private:
    StateFiles& m_files;
    QDateTime m_now;
};

// Scrolls the style page so that widget sits near the top of its window.
void scrollTo(MainView& main, QWidget* widget)
{
    auto* page = main.page()->findChild<Page*>();
    if (!page || !widget)
        return;
    page->verticalScrollBar()->setValue(widget->mapTo(page->widget(), QPoint(0, 0)).y() - 24);
}

// The history page under one banner: cause brings it, cure puts the state back after.
WindowScene bannerScene(const char* name, std::function<void(Studio&)> cause,
                        std::function<void(Studio&)> cure)
{
    return {QStringLiteral("main-banner-") + QLatin1String(name),
            [cause = std::move(cause), cure = std::move(cure)](Studio& s, const QString& file) {
                MainView& main = s.main();
                s.state.setSection(MainSection::History);
                // Laid out once before the picture, as the history scene is: rows take their height
                // from their width.
                main.resize(mainSize);
                main.show();
                QCoreApplication::processEvents();
                cause(s);
                s.render.window(main, mainSize, file);
                cure(s);
            }};
}

// The user's own server does not answer the model lookup, and no keyring takes the key typed
// for the first endpoint.
void showCorrectionProblems(Studio& s, CorrectionSection& correction)
{
    const QString server = s.state.config().correctionEndpoints.last().resolvedBaseURL();
    s.state.setCorrectionLookupErrors({{server, QStringLiteral("Connection refused")}});
    QLineEdit* key = correction.endpoints().first()->key()->editor();
    key->setText(QStringLiteral("sk-demo"));
    emit key->editingFinished();
    s.keys.waitForIdle();
    QCoreApplication::sendPostedEvents();
}

// The settings page scrolled to one of its sections.
WindowScene settingsScene(SettingsPage::Section section)
{
    return {QStringLiteral("main-settings-") + SettingsPage::sectionName(section),
            [section](Studio& s, const QString& file) {
                MainView& main = s.main();
                s.state.setSection(MainSection::Settings);
                const bool correction = section == SettingsPage::Section::Correction;
                s.render.window(main, mainSize, file, [&s, &main, section, correction] {
                    auto* page = qobject_cast<SettingsPage*>(main.page());
                    if (correction)
                        showCorrectionProblems(s, *page->correction());
                    page->scrollTo(section);
                });
                if (correction) {
                    s.state.setCorrectionLookupErrors({});
                    s.shared.reset();
                }
            }};
}

} // namespace

// The style page's demonstration: a default style, instructions, an application in front and a
// dozen known applications, six of them recognised and one of those customised.
void stageStyles(AppState& state)
{
    const auto app = [](const char* id, const char* style, const char* suggested) {
        const QString chosen = QString::fromLatin1(style);
        const QString suggestion = QString::fromLatin1(suggested);
        const QString bundle = QString::fromLatin1(id);
        return AppStyleProfile{bundle, DemoDesktop::nameOf(bundle), chosen, suggestion, chosen != suggestion};
    };
    QuendaConfig config = state.config();
    config.style = QStringLiteral("email");
    config.instructions = QStringLiteral("Use British spelling. Sign off emails with “Best, Mira”.");
    config.appStyles = {
        app("org.gnome.Calculator", "auto", "auto"),
        app("im.riot.Element", "chat", "chat"),
        app("org.gnome.Nautilus", "auto", "auto"),
        app("org.gnome.Loupe", "auto", "auto"),
        app("org.kde.kate", "code", "auto"),
        app("md.obsidian.Obsidian", "notes", "notes"),
        app("com.slack.Slack", "chat", "chat"),
        app("org.gnome.TextEditor", "auto", "auto"),
        app("org.mozilla.Thunderbird", "email", "email"),
        app("com.visualstudio.code", "code", "code"),
    };
    AppState::ToastSuppression quiet(state);
    state.setConfig(config);
    const QString front = QStringLiteral("org.mozilla.Thunderbird");
    state.setFrontApp(FrontApp{front, DemoDesktop::nameOf(front)});
}

// The dictionary page's demonstration: a heading comment, an entry the learner added and a few of
// the user's own.
void stageDictionary(AppState& state)
{
    QuendaConfig config = state.config();
    config.dictionary = QStringLiteral("# Names I dictate often\n"
                                       "# learned\n"
                                       "cube cuttle -> kubectl\n"
                                       "morvan quenda -> Morvane Quenda\n"
                                       "tallbrook -> Tallbrook\n"
                                       "post gress -> PostgreSQL\n"
                                       "Mira Okafor\n"
                                       "Kubernetes");
    AppState::ToastSuppression quiet(state);
    state.setConfig(config);
}

// The ready engine's status, as the supervisor words it.
QString readyText(const std::optional<SpeechServer>& server)
{
    return L10n::format(QStringLiteral("engine.ready"), {SpeechRouteText::of(server)});
}

QList<WindowScene> windowScenes()
{
    QList<WindowScene> scenes;
    for (const PageTable::Row& page : PageTable::rows()) {
        scenes.append({QStringLiteral("main-") + MainSectionText::table.text(page.section),
                       [section = page.section](Studio& s, const QString& file) {
                           MainView& main = s.main();
                           s.state.setSection(section);
                           if (auto* history = qobject_cast<HistoryPage*>(main.page())) {
                               // Opened once the rows have their width, so the panel's texts wrap to it.
                               main.resize(mainSize);
                               main.show();
                               QCoreApplication::processEvents();
                               history->rows().at(1)->setExpanded(true);
                           }
                           s.render.window(main, mainSize, file);
                       }});
    }
    for (int section = 1; section < SettingsPage::sectionCount; ++section)
        scenes.append(settingsScene(SettingsPage::Section(section)));
    scenes += {
        {QStringLiteral("main-commands-needs"),
         [](Studio& s, const QString& file) {
             MainView& main = s.main();
             s.state.setSection(MainSection::Commands);
             s.render.window(main, mainSize, file,
                             [&main] { scrollTo(main, qobject_cast<CommandsPage*>(main.page())->needs()); });
         }},
        // No command in the history and no provider to answer one.
        {QStringLiteral("main-commands-empty"),
         [](Studio& s, const QString& file) {
             MainView& main = s.main();
             const QList<HistoryEntry> demo = s.state.history();
             QList<HistoryEntry> dictations = demo;
             dictations.removeIf([](const HistoryEntry& e) { return e.wasCommand.value_or(false); });
             s.state.setHistory(dictations);
             s.state.setPolishAvailable(false);
             s.state.setSection(MainSection::Commands);
             s.render.window(main, mainSize, file,
                             [&main] { scrollTo(main, qobject_cast<CommandsPage*>(main.page())->needs()); });
             s.state.setPolishAvailable(true);
             s.state.setHistory(demo);
         }},
        bannerScene(
            "microphone",
            [](Studio& s) {
                s.desktop.microphone = false;
                s.state.refreshPermissions();
            },
            [](Studio& s) {
                s.desktop.microphone = true;
                s.state.refreshPermissions();
            }),
        bannerScene(
            "accessibility",
            [](Studio& s) {
                s.desktop.accessibility = false;
                s.state.refreshPermissions();
            },
            [](Studio& s) {
                s.desktop.accessibility = true;
                s.state.refreshPermissions();
            }),
        bannerScene(
            "engine",
            [](Studio& s) {
                s.state.setEngineReady(false);
                // The supervisor's words when it gave up: the end after the last relaunch.
                s.state.setEngineStatus(L10n::format(
                    QStringLiteral("engine.stoppedRepeatedly"),
                    {SpeechEngine::kRelaunchLimit + 1, SpeechEngine::kEndWindowMs / (60 * 1000)}));
            },
            [](Studio& s) {
                s.state.setEngineReady(true);
                s.state.setEngineStatus(readyText(std::nullopt));
            }),
        bannerScene(
            "unpasted", [](Studio& s) { s.state.setUnpastedDictation(s.state.history().first().id); },
            [](Studio& s) { s.state.setUnpastedDictation(std::nullopt); }),
        {QStringLiteral("main-history-noresults"),
         [](Studio& s, const QString& file) {
             s.state.setSection(MainSection::History);
             static_cast<HistoryPage*>(s.main().page())->searchField()->setText(QStringLiteral("invoice"));
             s.render.window(s.main(), mainSize, file);
         }},
        // The search field with the keyboard in it, as Ctrl+F leaves it.
        {QStringLiteral("main-history-search"),
         [](Studio& s, const QString& file) {
             s.state.setSection(MainSection::History);
             MainView& main = s.main();
             s.render.window(main, mainSize, file, [&main] {
                 QApplication::setActiveWindow(&main);
                 SearchField* field = static_cast<HistoryPage*>(main.page())->searchField();
                 field->editor()->setFocus(Qt::ShortcutFocusReason);
                 field->setText(QStringLiteral("thursday"));
             });
             // The next scenes start with the keyboard nowhere.
             s.shared.reset();
         }},
        {QStringLiteral("main-history-clear"),
         [](Studio& s, const QString& file) {
             s.state.setSection(MainSection::History);
             MainView& main = s.main();
             s.render.window(main, mainSize, file, [&main] {
                 QApplication::setActiveWindow(&main);
                 static_cast<HistoryPage*>(main.page())->clearButton()->click();
             });
             s.shared.reset();
         }},
        {QStringLiteral("main-history-empty"),
         [](Studio& s, const QString& file) {
             const QList<HistoryEntry> demo = s.state.history();
             s.state.setHistory({});
             s.render.window(s.main(), mainSize, file);
             s.state.setHistory(demo);
         }},
        {QStringLiteral("main-dictionary-noresults"),
         [](Studio& s, const QString& file) {
             s.state.setSection(MainSection::Dictionary);
             static_cast<DictionaryPage*>(s.main().page())->searchField()->setText(QStringLiteral("invoice"));
             s.render.window(s.main(), mainSize, file);
         }},
        {QStringLiteral("main-dictionary-empty"),
         [](Studio& s, const QString& file) {
             const QuendaConfig demo = s.state.config();
             QuendaConfig empty = demo;
             empty.dictionary.clear();
             AppState::ToastSuppression quiet(s.state);
             s.state.setConfig(empty);
             s.state.setSection(MainSection::Dictionary);
             static_cast<DictionaryPage*>(s.main().page())->searchField()->setText(QString());
             s.render.window(s.main(), mainSize, file);
             s.state.setConfig(demo);
         }},
        {QStringLiteral("main-style-apps"),
         [](Studio& s, const QString& file) {
             MainView& main = s.main();
             s.state.setSection(MainSection::Style);
             s.render.window(main, mainSize, file, [&main] {
                 auto* style = qobject_cast<StylePage*>(main.page());
                 style->appStyles()->toggle()->click();
                 QCoreApplication::sendPostedEvents();
                 scrollTo(main, style->appStyles());
             });
         }},
        // With a speech server, which hears more languages than the built-in recogniser.
        {QStringLiteral("main-style-language"),
         [](Studio& s, const QString& file) {
             MainView& main = s.main();
             const QuendaConfig before = s.state.config();
             QuendaConfig server = before;
             server.asrEngine = AsrEngine::Whisper;
             server.speechBaseURL = QStringLiteral("http://192.168.1.20:8080/v1");
             server.language = QStringLiteral("de");
             {
                 AppState::ToastSuppression quiet(s.state);
                 s.state.setConfig(server);
             }
             s.state.setSection(MainSection::Home);
             s.state.setSection(MainSection::Style);
             s.render.window(main, mainSize, file, [&main] {
                 auto* style = qobject_cast<StylePage*>(main.page());
                 scrollTo(main, style->instructions());
                 QCoreApplication::sendPostedEvents();
                 style->languageMenu()->showPopup();
             });
             AppState::ToastSuppression quiet(s.state);
             s.state.setConfig(before);
         }},
        // A Whisper server on the local network over plain http, which has just answered the check.
        {QStringLiteral("main-settings-speech-server"),
         [](Studio& s, const QString& file) {
             MainView& main = s.main();
             const QuendaConfig before = s.state.config();
             QuendaConfig server = before;
             server.asrEngine = AsrEngine::Whisper;
             server.language = QStringLiteral("auto");
             server.speechBaseURL = QStringLiteral("http://192.168.1.20:8080/v1");
             server.speechModel = QStringLiteral("large-v3");
             {
                 AppState::ToastSuppression quiet(s.state);
                 s.state.setConfig(server);
             }
             s.state.setEngineStatus(readyText(server.speechServer()));
             s.state.setSection(MainSection::Settings);
             s.render.window(main, mainSize, file, [&main] {
                 auto* page = qobject_cast<SettingsPage*>(main.page());
                 page->scrollTo(SettingsPage::Section::Speech);
                 page->findChild<SpeechServerRows*>()->checkButton()->click();
             });
             s.state.setEngineStatus(readyText(std::nullopt));
             AppState::ToastSuppression quiet(s.state);
             s.state.setConfig(before);
         }},
        // "Keep at most" lowered below the dictations stored: the row asks before any goes.
        {QStringLiteral("main-settings-history-prune"),
         [](Studio& s, const QString& file) {
             MainView& main = s.main();
             s.state.setSection(MainSection::Settings);
             s.render.window(main, mainSize, file, [&main] {
                 auto* page = qobject_cast<SettingsPage*>(main.page());
                 for (QComboBox* menu : page->findChildren<QComboBox*>()) {
                     if (menu->accessibleName() == L10n::s("settings.keepAtMost")) {
                         menu->setCurrentIndex(0);
                         emit menu->activated(0);
                     }
                 }
                 page->scrollTo(SettingsPage::Section::History);
             });
             for (PruneQuestion* question : main.findChildren<PruneQuestion*>())
                 question->drop();
             s.shared.reset();
         }},
        {QStringLiteral("main-style-noprovider"),
         [](Studio& s, const QString& file) {
             s.state.setPolishAvailable(false);
             s.state.setSection(MainSection::Home);
             s.state.setSection(MainSection::Style); // built anew, at its top
             s.render.window(s.main(), mainSize, file);
             s.state.setPolishAvailable(true);
         }},
        {QStringLiteral("main-home-noprovider"),
         [](Studio& s, const QString& file) {
             s.state.setPolishAvailable(false);
             s.state.setSection(MainSection::Home);
             s.render.window(s.main(), mainSize, file);
             s.state.setPolishAvailable(true);
         }},
        {QStringLiteral("main-home-repair"),
         [](Studio& s, const QString& file) {
             s.state.setSection(MainSection::Home);
             s.desktop.accessibility = false;
             s.state.refreshPermissions();
             s.render.window(s.main(), mainSize, file);
             s.desktop.accessibility = true;
             s.state.refreshPermissions();
         }},
        // A desktop that offers no global keys: the compositor binding and how to do better.
        {QStringLiteral("main-home-binding"),
         [](Studio& s, const QString& file) {
             // The home page reads the route once: this route's window is one of its own.
             s.shared.reset();
             s.state.setHotkeyRoute({.route = HotkeyRoute::CommandLine});
             MainView main(s.state, s.commands, &s.desktop, nullptr, &s.desktop);
             s.state.setSection(MainSection::Home);
             s.render.window(main, mainSize, file);
         }},
        {QStringLiteral("onboarding-binding"),
         [](Studio& s, const QString& file) {
             OnboardingView onboarding(s.state, s.commands);
             s.render.window(onboarding, onboarding.windowSize(), file);
         }},
        // A desktop without bindings whose shortcuts portal made no shortcut.
        {QStringLiteral("main-home-fallback"),
         [](Studio& s, const QString& file) {
             s.shared.reset();
             s.state.setHotkeyRoute({.route = HotkeyRoute::OwnWindows, .failed = {HotkeyRoute::Portal}});
             MainView main(s.state, s.commands, &s.desktop, nullptr, &s.desktop);
             s.state.setSection(MainSection::Home);
             s.render.window(main, mainSize, file);
             s.state.setHotkeyRoute({});
         }},
        {QStringLiteral("main-notes-list"),
         [](Studio& s, const QString& file) {
             DemoNotesFiles notesFiles(s.files, s.clock.now());
             AppState notesState(s.services(notesFiles));
             notesState.setNoteToOpen(notesState.notes().first().id);
             notesState.setSection(MainSection::Notes);
             MainView main(notesState, s.commands, &s.desktop);
             s.render.window(main, mainSize, file);
         }},
        {QStringLiteral("menu"),
         [](Studio& s, const QString& file) {
             MenuBarView menu(s.state, s.commands);
             s.render.window(menu, menu.sizeHint(), file);
         }},
        {QStringLiteral("menu-empty"),
         [](Studio& s, const QString& file) {
             const QList<HistoryEntry> demo = s.state.history();
             s.state.setHistory({});
             MenuBarView menu(s.state, s.commands);
             s.render.window(menu, menu.sizeHint(), file);
             s.state.setHistory(demo);
         }},
        // A recording under way, and no correction provider for the styles.
        {QStringLiteral("menu-recording-noprovider"),
         [](Studio& s, const QString& file) {
             s.state.setPolishAvailable(false);
             s.state.setPhase(Phase::listening());
             MenuBarView menu(s.state, s.commands);
             s.render.window(menu, menu.sizeHint(), file);
             s.state.setPhase(Phase::idle());
             s.state.setPolishAvailable(true);
         }},
        {QStringLiteral("onboarding"),
         [](Studio& s, const QString& file) {
             OnboardingView onboarding(s.state, s.commands);
             s.render.window(onboarding, onboarding.windowSize(), file);
         }},
        // A session whose keys need the portal's approval and that cannot float the widget.
        {QStringLiteral("onboarding-wayland"),
         [](Studio& s, const QString& file) {
             s.state.setSessionRoutes({.wayland = true,
                                       .keys = KeyRoute::RemoteDesktopPortal,
                                       .clipboard = ClipboardRoute::DataControl,
                                       .panel = PanelRoute::Hidden});
             OnboardingView onboarding(s.state, s.commands);
             s.render.window(onboarding, onboarding.windowSize(), file);
             s.state.setSessionRoutes({});
         }},
        {QStringLiteral("update"),
         [](Studio& s, const QString& file) {
             UpdateProgressHud hud(s.clock, QStringLiteral("1.5.0"), std::nullopt);
             s.render.window(*hud.panel(), hud.panel()->size(), file);
         }},
    };
    return scenes;
}

} // namespace SnapshotStudio
