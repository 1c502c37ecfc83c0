#include "settings_fixture.h"

#include "core/base/support_paths.h"
#include "core/model/display_id.h"
#include "platform/accessibility_repair.h"
#include "ui/kit/accessibility_repair_card.h"
#include "ui/kit/key_cap.h"
#include "ui/kit/label_button.h"
#include "ui/kit/page.h"
#include "ui/kit/soft_picker.h"
#include "ui/kit/status_pill.h"
#include "ui/pages/settings/prune_question.h"
#include "ui/pages/settings/settings_row.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollBar>
#include <QTcpServer>
#include <QTest>

namespace {

class CountingRepair final : public AccessibilityRepair {
public:
    void switchOn() override {}
    bool openSettings() override { return true; }
};

QString screenId(const QScreen& screen)
{
    return QString::number(DisplayId::of(screen.name(), screen.serialNumber()));
}

} // namespace

using SettingsPageTest = SettingsFixture;

// Each control writes its field once, into the file too, and shows the stored value, also when
// someone else writes it.
TEST_F(SettingsPageTest, EveryControlWritesItsFieldOnceAndFollowsAChangeMadeElsewhere)
{
    struct Row {
        const char* control;
        QString standard; // what the control shows for the standard configuration
        QString pick;     // a menu item or segment; a switch flips whatever it is given
        std::function<bool(const QuendaConfig&)> written;
        std::function<void(QuendaConfig&)> given = {}; // the row's start, else the standard configuration
        int writes = 1;
    };
    const QString pointer = L10n::s("settings.placementScreen.pointer");
    const auto server = [](QuendaConfig& c) { c.speechBaseURL = s("http://127.0.0.1:9000/v1"); };
    // clang-format off
    const Row rows[] = {
        {"settings.hotkey",             s("Right Ctrl"),      s("Left Ctrl"),                   [](const QuendaConfig& c) { return c.hotkey == Hotkey::LeftControl; }},
        {"settings.playSounds",         s("on"),              s(""),                            [](const QuendaConfig& c) { return !c.playSounds; }},
        {"settings.othersAudio",        s("Muted"),           s("Quieter"),                     [](const QuendaConfig& c) { return c.othersAudio == OthersAudio::Quiet; }},
        {"style.command.title",         s("on"),              s(""),                            [](const QuendaConfig& c) { return !c.commandMode; }},
        {"settings.learnEdits",         s("on"),              s(""),                            [](const QuendaConfig& c) { return !c.learnEdits; }},
        {"style.language",              s("Automatic"),       s("English"),                     [](const QuendaConfig& c) { return c.language == s("en"); }},
        {"settings.nativeLanguage",     s("German"),          s("French"),                      [](const QuendaConfig& c) { return c.nativeLanguage == s("fr"); }},
        {"settings.port",               s("17321"),           s("17400"),                       [](const QuendaConfig& c) { return c.port == 17400; }},
        {"settings.recogniser",         s("Built in"),        s("Whisper server"),              [](const QuendaConfig& c) { return c.asrEngine == AsrEngine::Whisper && c.speechBaseURL.isEmpty(); }, {}, 0},
        {"settings.recogniser",         s("Whisper server"),  s("Built in"),                    [](const QuendaConfig& c) { return c.asrEngine == AsrEngine::Whistle; }, server},
        {"style.language",              s("Automatic"),       s("German"),                      [](const QuendaConfig& c) { return c.language == s("de"); }, server},
        {"settings.speechServer.url",   s(""),                s(" http://127.0.0.1:9000/v1 "),  [](const QuendaConfig& c) { return c.speechBaseURL == s("http://127.0.0.1:9000/v1"); }},
        {"settings.speechServer.model", s("whisper-1"),       s("large-v3"),                    [](const QuendaConfig& c) { return c.speechModel == s("large-v3"); }},
        {"settings.showWidget",         s("off"),             s(""),                            [](const QuendaConfig& c) { return c.showWidget; }},
        {"settings.followScreen",       s("on"),              s(""),                            [](const QuendaConfig& c) { return !c.widgetFollowActiveScreen; }},
        {"settings.resultSize",         s("Large"),           s("Compact"),                     [](const QuendaConfig& c) { return c.overlayResultSize == OverlayResultSize::Compact; }},
        {"settings.resultStay",         s("15 seconds"),      s("1 minute"),                    [](const QuendaConfig& c) { return c.overlayResultDismissSeconds == 60; }},
        {"settings.showPreview",        s("on"),              s(""),                            [](const QuendaConfig& c) { return !c.showDictationPreview; }},
        {"settings.previewStay",        s("1 second"),        s("Until closed"),                [](const QuendaConfig& c) { return c.dictationPreviewDismissSeconds == 0; }},
        {"settings.placement",          s("Fixed"),           s("At the widget"),               [](const QuendaConfig& c) { return !c.resultPlacementFixed; }},
        {"settings.placementScreen",    pointer,              QGuiApplication::primaryScreen()->name(),
                                                                                                [](const QuendaConfig& c) { return c.resultPlacementScreen == screenId(*QGuiApplication::primaryScreen()); }},
        {"settings.placementAnchor",    s("Top centre"),      s("Bottom right"),                [](const QuendaConfig& c) { return c.resultPlacementAnchor == ResultPlacementAnchor::BottomTrailing; }},
        {"settings.keepFor",            s("1 week"),          s("Always"),                      [](const QuendaConfig& c) { return c.historyKeepHours == 0; }},
        {"settings.keepAtMost",         s("500 entries"),     s("Any number"),                  [](const QuendaConfig& c) { return c.historyMaxEntries == 0; }},
        {"settings.launchAtLogin",      s("on"),              s(""),                            [](const QuendaConfig& c) { return !c.launchAtLogin; }},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.control);
        QuendaConfig start = QuendaConfig::standard();
        if (row.given)
            row.given(start);
        state().setConfig(start);
        QWidget* widget = control(row.control);
        ASSERT_TRUE(widget);
        EXPECT_EQ(shown(widget), row.standard);
        m_configCalls.clear();
        act(widget, row.pick);
        ASSERT_EQ(m_configCalls.size(), row.writes);
        EXPECT_TRUE(row.written(state().config()));
        // A pick that writes nothing (the server, before it has an address) shows all the same.
        if (row.writes == 0) {
            EXPECT_EQ(shown(widget), row.pick);
            continue;
        }
        EXPECT_TRUE(row.written(QuendaConfig::decode(readAll(configPath())).value_or(QuendaConfig{})));
        state().setConfig(start);
        EXPECT_EQ(shown(widget), row.standard);
    }
}

// A limit below what is stored says on its row how many dictations it removes, and removes them only
// once confirmed; Cancel keeps them and the limit.
TEST_F(SettingsPageTest, ALimitThatRemovesDictationsAsksOnItsRowFirst)
{
    enum class Answer { None, Cancel, Remove };
    struct Row {
        const char* control;
        QString pick;
        Answer answer;
        QString question;
        qsizetype kept;
        QString shown;
    };
    const QString seven = s("This removes 7 entries from your history at once.");
    const QString ten = s("This removes 10 entries from your history at once.");
    // clang-format off
    const Row rows[] = {
        {.control = "settings.keepAtMost", .pick = s("5 entries"),  .answer = Answer::Cancel, .question = seven, .kept = 12, .shown = s("Any number")},
        {.control = "settings.keepAtMost", .pick = s("5 entries"),  .answer = Answer::Remove, .question = seven, .kept = 5,  .shown = s("5 entries")},
        {.control = "settings.keepAtMost", .pick = s("25 entries"), .answer = Answer::None,   .question = {},    .kept = 12, .shown = s("25 entries")},
        {.control = "settings.keepFor",    .pick = s("2 days"),     .answer = Answer::Cancel, .question = ten,   .kept = 12, .shown = s("Always")},
        {.control = "settings.keepFor",    .pick = s("2 days"),     .answer = Answer::Remove, .question = ten,   .kept = 2,  .shown = s("2 days")},
        {.control = "settings.keepFor",    .pick = s("1 year"),     .answer = Answer::None,   .question = {},    .kept = 12, .shown = s("1 year")},
    };
    // clang-format on
    QList<HistoryEntry> twelve;
    for (int day = 0; day < 12; ++day)
        twelve << dictation(s("said"), day * 24 * 60 + 60);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.pick.toStdString());
        configure([](QuendaConfig& c) {
            c.historyKeepHours = 0;
            c.historyMaxEntries = 0;
        });
        state().setHistory(twelve);
        QWidget* menu = control(row.control);
        m_configCalls.clear();
        act(menu, row.pick);
        PruneQuestion* asking = nullptr;
        for (PruneQuestion* question : page().findChildren<PruneQuestion*>()) {
            if (!question->text().isEmpty())
                asking = question;
        }
        EXPECT_EQ(asking ? asking->text() : QString(), row.question);
        if (asking) {
            EXPECT_EQ(state().history().size(), 12);
            EXPECT_TRUE(m_configCalls.isEmpty());
            (row.answer == Answer::Remove ? asking->removeButton() : asking->cancelButton())->click();
            EXPECT_TRUE(asking->text().isEmpty());
        }
        EXPECT_EQ(state().history().size(), row.kept);
        EXPECT_EQ(m_configCalls.size(), row.answer == Answer::Cancel ? 0 : 1);
        EXPECT_EQ(shown(menu), row.shown);
    }
}

// A port is written only where the engine could listen; anything else is refused on its field.
TEST_F(SettingsPageTest, AnEnginePortOutOfRangeOrTakenIsRefusedInPlaceAndNothingIsSaved)
{
    QTcpServer taken;
    ASSERT_TRUE(taken.listen(QHostAddress::LocalHost, 0));
    // The engine itself listens on the stored port, so that one is never free.
    m_commands.takenPorts = {taken.serverPort(), 17321};
    const QString range = L10n::s("settings.port.range");
    const QString inUse = L10n::format(s("settings.port.taken"), {qint64(taken.serverPort())});
    struct Row {
        QString typed;
        QString problem;
        qint64 port;
    };
    const Row rows[] = {
        {s("80"), range, 17321},      {s("1023"), range, 17321},
        {s("65536"), range, 17321},   {s("port"), range, 17321},
        {s(""), range, 17321},        {QString::number(taken.serverPort()), inUse, 17321},
        {s(" 17321 "), s(""), 17321}, {s("1024"), s(""), 1024},
        {s("65535"), s(""), 65535},
    };
    auto* field = qobject_cast<TextField*>(control("settings.port")->parentWidget());
    ASSERT_TRUE(field);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.typed.toStdString());
        state().setConfig(QuendaConfig::standard());
        m_configCalls.clear();
        act(control("settings.port"), r.typed);
        EXPECT_EQ(field->refusal(), r.problem);
        EXPECT_EQ(state().config().port, r.port);
        EXPECT_EQ(m_configCalls.size(), r.port == 17321 ? 0 : 1);
    }
}

// A text field refuses what cannot be stored on its own line, writing nothing. Another writer
// changes settings while the user types: the field keeps the typing and its caret, and takes a
// value, its refusal gone, only when its own stored value changed.
TEST_F(SettingsPageTest, ATextFieldRefusesInPlaceAndKeepsWhatIsTypedUntilItsOwnValueChanges)
{
    struct Row {
        const char* control;
        QString refused; // typed and left; empty where the field takes any text
        QString reason;
        std::function<void(QuendaConfig&)> own;
        QString shown;
    };
    // clang-format off
    const Row rows[] = {
        {"settings.port",               s("80"),        L10n::s("settings.port.range"),               [](QuendaConfig& c) { c.port = 18000; },                                s("18000")},
        {"settings.speechServer.url",   s("ftp://x/v1"), L10n::s("settings.speechServer.url.invalid"), [](QuendaConfig& c) { c.speechBaseURL = s("http://10.0.0.9/v1"); },     s("http://10.0.0.9/v1")},
        {"settings.speechServer.model", {},             {},                                            [](QuendaConfig& c) { c.speechModel = s("large-v3"); },                 s("large-v3")},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.control);
        auto* editor = qobject_cast<QLineEdit*>(control(row.control));
        ASSERT_TRUE(editor);
        auto* field = qobject_cast<TextField*>(editor->parentWidget());
        ASSERT_TRUE(field);
        if (!row.refused.isEmpty()) {
            m_configCalls.clear();
            act(editor, row.refused);
            EXPECT_EQ(field->refusal(), row.reason);
            EXPECT_TRUE(m_configCalls.isEmpty());
        }
        editor->setText(s("174"));
        editor->setCursorPosition(2);
        configure([](QuendaConfig& c) { c.playSounds = !c.playSounds; });
        EXPECT_EQ(editor->text(), s("174"));
        EXPECT_EQ(editor->cursorPosition(), 2);
        EXPECT_EQ(field->refusal(), row.reason);
        configure(row.own);
        EXPECT_EQ(editor->text(), row.shown);
        EXPECT_EQ(editor->cursorPosition(), 2);
        EXPECT_EQ(field->refusal(), QString());
    }
}

// Tab walks every control, each one named for assistive tools and scrolled into sight.
TEST_F(SettingsPageTest, TabReachesEveryControlNamedAndScrolledIntoSight)
{
    CountingRepair repair;
    m_probe.m_accessibility = false;
    state().refreshPermissions();
    SettingsPage& view = page(&repair);
    qobject_cast<QAbstractButton*>(control("settings.advanced"))->click();
    settle();

    // Segments count as their control: Tab reaches it at one segment or another. A field that hands
    // its focus on (an editable menu's text) counts as the control it hands it to.
    QList<QWidget*> controls;
    for (QWidget* widget : view.findChildren<QWidget*>()) {
        if (widget->isVisibleTo(&view) && widget->isEnabled() && (widget->focusPolicy() & Qt::TabFocus) &&
            widget != view.page())
            controls.append(widget);
    }
    ASSERT_GT(controls.size(), 25);

    control("settings.hotkey")->setFocus(Qt::TabFocusReason);
    QSet<QWidget*> reached;
    for (int i = 0; i < 3 * controls.size() && !reached.contains(view.focusWidget()); ++i) {
        QWidget* focused = view.focusWidget();
        ASSERT_TRUE(focused) << "after " << reached.size();
        reached.insert(focused);
        QWidget* viewport = view.page()->viewport();
        const QRect seen(viewport->mapTo(&view, QPoint(0, 0)), viewport->size());
        const QRect at(focused->mapTo(&view, QPoint(0, 0)), focused->size());
        EXPECT_TRUE(focused == view.page() || seen.contains(at))
            << focused->metaObject()->className() << " " << readName(focused).toStdString();
        QTest::keyClick(focused, Qt::Key_Tab);
    }
    const auto stop = [](QWidget* widget) -> QWidget* {
        if (widget->focusProxy())
            widget = widget->focusProxy();
        auto* segments = qobject_cast<SegmentedControl*>(widget->parentWidget());
        return segments ? segments : widget;
    };
    QSet<QWidget*> stops;
    for (QWidget* widget : reached)
        stops.insert(stop(widget));
    for (QWidget* widget : controls) {
        EXPECT_TRUE(stops.contains(stop(widget)))
            << widget->metaObject()->className() << " " << readName(widget).toStdString();
        EXPECT_FALSE(readName(widget).isEmpty()) << widget->metaObject()->className();
    }
}

// An assistive tool may focus a picker, and one it opens out of sight is brought into sight first,
// so its list opens beside it.
TEST_F(SettingsPageTest, APickerTakesTheToolsFocusAndOpensInSight)
{
    SettingsPage& view = page();
    auto* picker = qobject_cast<QComboBox*>(control("settings.keepAtMost"));
    ASSERT_TRUE(picker);
    QAccessibleActionInterface* actions = QAccessible::queryAccessibleInterface(picker)->actionInterface();
    EXPECT_TRUE(actions->actionNames().contains(QAccessibleActionInterface::setFocusAction()));
    view.page()->verticalScrollBar()->setValue(0);
    QWidget* viewport = view.page()->viewport();
    ASSERT_FALSE(viewport->rect().contains(QRect(picker->mapTo(viewport, QPoint()), picker->size())));
    actions->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(viewport->rect().contains(QRect(picker->mapTo(viewport, QPoint()), picker->size())));
    EXPECT_EQ(view.focusWidget(), picker);
    picker->hidePopup();
}

// Menus and fields stand in the kit's look beside its switches and buttons.
TEST_F(SettingsPageTest, EveryMenuIsTheKitsPickerAndEveryFieldTheKitsTextField)
{
    int menus = 0;
    for (QComboBox* box : page().findChildren<QComboBox*>()) {
        ++menus;
        EXPECT_TRUE(qobject_cast<SoftPicker*>(box)) << readName(box).toStdString();
    }
    EXPECT_GE(menus, 8);
    int fields = 0;
    for (QLineEdit* editor : page().findChildren<QLineEdit*>()) {
        ++fields;
        EXPECT_TRUE(qobject_cast<TextField*>(editor->parentWidget())) << readName(editor).toStdString();
    }
    EXPECT_GE(fields, 4);
}

// Only what can work is offered; a stored value that is not offered is still shown.
TEST_F(SettingsPageTest, MenusOfferOnlyWhatWorksAndShowAStoredValueTheyDoNotOffer)
{
    struct Row {
        const char* control;
        std::function<void(QuendaConfig&)> store;
        QStringList offered;
        QString shown;
    };
    const QStringList keys{s("Right Alt"), s("Right Super"), s("Right Ctrl"), s("Left Ctrl")};
    const QStringList english{s("Automatic"), s("English")};
    const Row rows[] = {
        {"settings.hotkey", [](QuendaConfig& c) { c.hotkey = Hotkey::Function; }, keys, s("Fn")},
        {"style.language", [](QuendaConfig& c) { c.language = s("de"); }, english, s("German")},
        {"style.language",
         [](QuendaConfig& c) {
             c.asrEngine = AsrEngine::Whistle;
             c.language = s("fr");
         },
         english, s("French")},
        // A Whisper server hears its engine's languages, not only the built-in recogniser's English.
        {"style.language",
         [](QuendaConfig& c) {
             c.speechBaseURL = s("http://127.0.0.1:9000/v1");
             c.language = s("fr");
         },
         {s("Automatic"), s("German"), s("English")},
         s("French")},
        {"settings.resultStay",
         [](QuendaConfig& c) { c.overlayResultDismissSeconds = 7; },
         {s("1 second"), s("2 seconds"), s("3 seconds"), s("5 seconds"), s("10 seconds"), s("15 seconds"),
          s("30 seconds"), s("1 minute"), s("Until closed")},
         s("7 seconds")},
        {"settings.keepFor",
         [](QuendaConfig& c) { c.historyKeepHours = 3; },
         {s("Always"), s("1 hour"), s("2 hours"), s("6 hours"), s("12 hours"), s("1 day"), s("2 days"),
          s("1 week"), s("30 days"), s("90 days"), s("1 year")},
         s("3 hours")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.shown.toStdString());
        m_page.reset();
        state().setConfig(QuendaConfig::standard());
        configure(row.store);
        auto* menu = qobject_cast<QComboBox*>(control(row.control));
        ASSERT_TRUE(menu);
        QStringList offered;
        for (int i = 0; i < menu->count(); ++i)
            offered << menu->itemText(i);
        EXPECT_EQ(offered, row.offered);
        EXPECT_EQ(shown(menu), row.shown);
    }
}

TEST_F(SettingsPageTest, TheHotkeysKeyCapFollowsTheStoredKey)
{
    const auto cap = [this] { return page().findChild<KeyCap*>()->label(); };
    EXPECT_EQ(cap(), s("Ctrl"));
    configure([](QuendaConfig& c) { c.hotkey = Hotkey::RightOption; });
    settle();
    EXPECT_EQ(cap(), s("Alt"));
}

TEST_F(SettingsPageTest, TheRepairCardStandsUnderThePermissionsWhileAccessibilityIsMissing)
{
    CountingRepair repair;
    struct Row {
        const char* name;
        AccessibilityRepair* repair;
        bool granted;
        bool card;
    };
    const Row rows[] = {
        {"missing, with a repair", &repair, false, true},
        {"granted", &repair, true, false},
        {"missing, nothing to repair with", nullptr, false, false},
    };
    for (const Row& row : rows) {
        m_page.reset();
        m_probe.m_accessibility = !row.granted;
        state().refreshPermissions();
        SettingsPage& view = page(row.repair);
        m_probe.m_accessibility = row.granted;
        state().refreshPermissions();
        settle();
        const auto* card = view.findChild<AccessibilityRepairCard*>();
        EXPECT_EQ(card && card->isVisibleTo(&view), row.card) << row.name;
    }
}

TEST_F(SettingsPageTest, OpenShowsTheSupportFolderOrSaysOnItsRowThatNothingOpenedIt)
{
    auto* open = qobject_cast<QAbstractButton*>(control("settings.supportFolder"));
    auto* row = qobject_cast<SettingsRow*>(open->parentWidget());
    for (const bool accepted : {true, false}) {
        m_launcher.m_acceptsUrls = accepted;
        open->click();
        EXPECT_EQ(m_launcher.urls().last(), QUrl::fromLocalFile(SupportPaths::directory()));
        EXPECT_EQ(row->problemText(), accepted ? QString() : L10n::s("settings.open.failed"));
    }
}

TEST_F(SettingsPageTest, TheEngineRowFollowsTheEngineAndReloadRestartsIt)
{
    qobject_cast<QAbstractButton*>(control("home.reload"))->click();
    EXPECT_EQ(m_commands.reloads, 1);
    state().setEngineLoading(false);
    state().setEngineStatus(s("Speech engine stopped"));
    const auto* pill = page().findChild<StatusPill*>();
    EXPECT_EQ(pill->state(), EngineState::Error);
    EXPECT_EQ(pill->text(), s("Speech engine stopped"));
}

// Without an update feed nothing is checked and the section says how updates come instead.
TEST_F(SettingsPageTest, TheUpdatesLineSaysHowTheProgramIsUpdated)
{
    for (const bool checks : {true, false}) {
        m_page.reset();
        makeState(checks);
        const QString expected = L10n::s(checks ? "settings.updates.feed" : "settings.updates.byInstall");
        EXPECT_TRUE(shownTexts(page()).contains(expected));
    }
}
// Wrapped text is tallest at its narrowest; the page must still end where its content ends.
TEST_F(SettingsPageTest, ThePageEndsWithItsLastSectionAtAnyWidth)
{
    SettingsPage& view = page();
    for (const int width : {1000, 700, 1000}) {
        view.resize(width, 700);
        settle();
        QWidget* host = view.page()->widget();
        QWidget* last = view.section(SettingsPage::Section::Permissions);
        const int end = last->mapTo(host, QPoint(0, last->height())).y() + Page::padding.bottom();
        EXPECT_EQ(host->height(), end) << width;
    }
}

// Another page's way to a setting opens this page at that section: when the page is built for it,
// and when it is on show already. Asked once, the next visit starts at the top again.
TEST_F(SettingsPageTest, AskedForASectionThePageOpensThereOnce)
{
    using Section = SettingsPage::Section;
    for (const Section place : {Section::Correction, Section::Speech, Section::Permissions}) {
        SCOPED_TRACE(SettingsPage::sectionName(place).toStdString());
        state().setSettingsToOpen(place);
        auto asked = std::make_unique<SettingsPage>(state(), m_commands, nullptr);
        asked->resize(1000, 700);
        asked->show();
        settle();
        const int scrolled = asked->page()->verticalScrollBar()->value();
        const QScrollBar* bar = asked->page()->verticalScrollBar();
        QWidget* section = asked->section(place);
        const int top = section->mapTo(asked->page()->widget(), QPoint(0, 0)).y();
        EXPECT_GT(scrolled, 0);
        EXPECT_EQ(scrolled, std::min(top - Page::padding.top() / 2, bar->maximum()));
        EXPECT_EQ(state().settingsToOpen(), std::nullopt);
        asked.reset();

        SettingsPage later(state(), m_commands, nullptr);
        later.resize(1000, 700);
        later.show();
        settle();
        EXPECT_EQ(later.page()->verticalScrollBar()->value(), 0);
        state().setSettingsToOpen(place);
        settle();
        EXPECT_EQ(later.page()->verticalScrollBar()->value(), scrolled);
    }
}
