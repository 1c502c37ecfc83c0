#include "app/shell/snapshot.h"

#include "app/shell/demo_desktop.h"
#include "app/shell/demo_history.h"
#include "app/shell/run_mode.h"
#include "app/shell/update_progress_hud.h"
#include "core/base/work_queue.h"
#include "core/keys/open_ai_key_store.h"
#include "core/model/main_section.h"
#include "core/notes/apple_notes.h"
#include "core/state/app_state.h"
#include "core/storage/state_files.h"
#include "core/text/l10n.h"
#include "core/text/speech_route_text.h"
#include "speech/speech_engine.h"
#include "ui/kit/page.h"
#include "ui/kit/scheme.h"
#include "ui/kit/search_field.h"
#include "ui/kit/soft_button.h"
#include "ui/kit/theme.h"
#include "ui/overlay/overlay_view.h"
#include "ui/pages/commands/command_needs.h"
#include "ui/pages/commands/commands_page.h"
#include "ui/pages/dictionary/dictionary_page.h"
#include "ui/pages/history/history_page.h"
#include "ui/pages/history/history_row.h"
#include "ui/pages/page_table.h"
#include "ui/pages/settings/correction_section.h"
#include "ui/pages/settings/endpoint_row.h"
#include "ui/pages/settings/provider_key_field.h"
#include "ui/pages/settings/settings_page.h"
#include "ui/pages/settings/speech_server_rows.h"
#include "ui/pages/style/app_style_rows.h"
#include "ui/pages/style/style_page.h"
#include "ui/shell/main_view.h"
#include "ui/shell/menu_bar_view.h"
#include "ui/shell/onboarding_view.h"
#include "ui/shell/status_icon_art.h"
#include "ui/shell/status_icon_look.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>

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

class Renderer {
public:
    explicit Renderer(const QString& directory)
        : m_out(directory)
    {
    }

    // arrange runs once the window is laid out, before it is drawn.
    void window(QWidget& view, QSize size, const QString& name, const std::function<void()>& arrange = {})
    {
        view.resize(size);
        view.setAttribute(Qt::WA_DontShowOnScreen);
        view.show();
        settle();
        if (arrange) {
            arrange();
            settle();
        }
        QPixmap shot = view.grab();
        // An open menu is a window of its own: drawn over the window where it stands, kept inside
        // the window's edges as a screen's edges would keep it, then closed.
        QPainter painter(&shot);
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top != &view && top->isVisible() && top->windowType() == Qt::Popup) {
                QRect at = top->geometry().translated(-view.geometry().topLeft());
                at.moveBottom(std::min(at.bottom(), view.rect().bottom()));
                at.moveTop(std::max(at.top(), 0));
                painter.drawPixmap(at.topLeft(), top->grab());
                top->close();
            }
        }
        painter.end();
        shot.save(m_out.filePath(name), "PNG");
        m_shots.append({name, size});
        view.hide();
    }

    // The overlay floats over the desktop: drawn on a plain backdrop of the given colour.
    void floating(QWidget& view, QSize size, const QColor& backdrop, const QString& name)
    {
        view.resize(size);
        view.setAttribute(Qt::WA_DontShowOnScreen);
        view.show();
        QCoreApplication::sendPostedEvents();
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(backdrop);
        // Grabbed rather than rendered into the backdrop: QWidget::render draws a child that carries
        // a graphics effect, as every card does, at twice its offset.
        QPainter(&image).drawPixmap(0, 0, view.grab());
        image.save(m_out.filePath(name), "PNG");
        m_shots.append({name, size});
        view.hide();
    }

    void image(const QImage& picture, const QString& name)
    {
        picture.save(m_out.filePath(name), "PNG");
        m_shots.append({name, picture.size()});
    }

    QList<Snapshot::Shot> shots() const { return m_shots; }

private:
    // Texts that wrap take their height from their width: the rows and cards that hold them stand
    // where they stay only on a later pass of the layouts.
    static void settle()
    {
        for (int pass = 0; pass < 3; ++pass)
            QCoreApplication::processEvents();
    }

    QDir m_out;
    QList<Snapshot::Shot> m_shots;
};

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

// Scrolls the style page so that widget sits near the top of its window.
void scrollTo(MainView& main, QWidget* widget)
{
    auto* page = main.page()->findChild<Page*>();
    if (!page || !widget)
        return;
    page->verticalScrollBar()->setValue(widget->mapTo(page->widget(), QPoint(0, 0)).y() - 24);
}

const QSize mainSize(1000, 700);

// What the window scenes of one scheme draw with: the demonstration services, the state they
// share, and the main window most of them show.
struct Studio {
    std::function<AppState::Services(StateFiles&)> services;
    Clock& clock;
    DemoDesktop& desktop;
    StateFiles& files;
    AppState& state;
    Renderer& render;
    OpenAIKeyStore& keys;
    std::unique_ptr<MainView> shared;

    MainView& main()
    {
        if (!shared)
            shared = std::make_unique<MainView>(state, &desktop, nullptr, &desktop, &keys);
        return *shared;
    }
};

// One window's picture, drawn in each scheme under the scheme's file name. Scenes run in order,
// each from the state the one before left.
struct WindowScene {
    QString name;
    std::function<void(Studio&, const QString& file)> shoot;
};

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

// The ready engine's status, as the supervisor words it.
QString readyText(const std::optional<SpeechServer>& server)
{
    return L10n::format(QStringLiteral("engine.ready"), {SpeechRouteText::of(server)});
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
        {QStringLiteral("main-style-whistle"),
         [](Studio& s, const QString& file) {
             MainView& main = s.main();
             QuendaConfig whistle = s.state.config();
             whistle.asrEngine = AsrEngine::Whistle;
             whistle.language = QStringLiteral("de");
             {
                 AppState::ToastSuppression quiet(s.state);
                 s.state.setConfig(whistle);
             }
             s.state.setSection(MainSection::Home);
             s.state.setSection(MainSection::Style);
             s.render.window(main, mainSize, file, [&main] {
                 auto* style = qobject_cast<StylePage*>(main.page());
                 scrollTo(main, style->instructions());
                 QCoreApplication::sendPostedEvents();
                 style->languageMenu()->showPopup();
             });
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
             s.state.setCheckSpeechServer([](QObject*, const AppState::SpeechCheckDone& done) {
                 done({true, {}});
             });
             s.state.setSection(MainSection::Settings);
             s.render.window(main, mainSize, file, [&main] {
                 auto* page = qobject_cast<SettingsPage*>(main.page());
                 page->scrollTo(SettingsPage::Section::Speech);
                 page->findChild<SpeechServerRows*>()->checkButton()->click();
             });
             s.state.setCheckSpeechServer({});
             s.state.setEngineStatus(readyText(std::nullopt));
             AppState::ToastSuppression quiet(s.state);
             s.state.setConfig(before);
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
             MainView main(s.state, &s.desktop, nullptr, &s.desktop);
             s.state.setSection(MainSection::Home);
             s.render.window(main, mainSize, file);
         }},
        {QStringLiteral("onboarding-binding"),
         [](Studio& s, const QString& file) {
             OnboardingView onboarding(s.state);
             s.render.window(onboarding, onboarding.windowSize(), file);
         }},
        // A desktop without bindings whose shortcuts portal made no shortcut.
        {QStringLiteral("main-home-fallback"),
         [](Studio& s, const QString& file) {
             s.shared.reset();
             s.state.setHotkeyRoute({.route = HotkeyRoute::OwnWindows, .failed = {HotkeyRoute::Portal}});
             MainView main(s.state, &s.desktop, nullptr, &s.desktop);
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
             MainView main(notesState, &s.desktop);
             s.render.window(main, mainSize, file);
         }},
        {QStringLiteral("menu"),
         [](Studio& s, const QString& file) {
             MenuBarView menu(s.state);
             s.render.window(menu, menu.sizeHint(), file);
         }},
        {QStringLiteral("menu-empty"),
         [](Studio& s, const QString& file) {
             const QList<HistoryEntry> demo = s.state.history();
             s.state.setHistory({});
             MenuBarView menu(s.state);
             s.render.window(menu, menu.sizeHint(), file);
             s.state.setHistory(demo);
         }},
        // A recording under way, and no correction provider for the styles.
        {QStringLiteral("menu-recording-noprovider"),
         [](Studio& s, const QString& file) {
             s.state.setPolishAvailable(false);
             s.state.setPhase(Phase::listening());
             MenuBarView menu(s.state);
             s.render.window(menu, menu.sizeHint(), file);
             s.state.setPhase(Phase::idle());
             s.state.setPolishAvailable(true);
         }},
        {QStringLiteral("onboarding"),
         [](Studio& s, const QString& file) {
             OnboardingView onboarding(s.state);
             s.render.window(onboarding, onboarding.windowSize(), file);
         }},
        // A session whose keys need the portal's approval and that cannot float the widget.
        {QStringLiteral("onboarding-wayland"),
         [](Studio& s, const QString& file) {
             s.state.setSessionRoutes({.wayland = true,
                                       .keys = KeyRoute::RemoteDesktopPortal,
                                       .clipboard = ClipboardRoute::DataControl,
                                       .panel = PanelRoute::Hidden});
             OnboardingView onboarding(s.state);
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

} // namespace

QStringList Snapshot::screenNames()
{
    QStringList names;
    for (const bool dark : {false, true}) {
        for (const WindowScene& scene : windowScenes())
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
    const QPalette systemPalette = QApplication::palette();
    const auto services = [&](StateFiles& files) {
        return AppState::Services{clock,
                                  desktop,
                                  desktop,
                                  desktop,
                                  work,
                                  appleNotes,
                                  settings,
                                  files,
                                  nullptr,
                                  QStringLiteral(QUENDA_VERSION),
                                  mode.checksForUpdates(),
                                  mode.scansApps()};
    };

    for (const bool dark : {false, true}) {
        QApplication::setPalette(dark ? Scheme::dark() : Scheme::light());
        desktop.accessibility = true;
        AppState state(services(mode.files()));
        state.refreshPermissions();
        state.setEngineReady(true);
        state.setEngineLoading(false);
        state.setEngineStatus(readyText(std::nullopt));
        state.setHistory(DemoHistory::entries(clock.now()));
        stageStyles(state);
        stageDictionary(state);

        Studio studio{services, clock, desktop, mode.files(), state, render, keys, nullptr};
        for (const WindowScene& scene : windowScenes())
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
        OverlayView overlay(state, clock);
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
