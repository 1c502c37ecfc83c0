#include "widget_helpers.h"

#include "core/model/main_section.h"
#include "core/state/state_fixture.h"
#include "core/text/l10n.h"
#include "platform/fake/fake_app_icons.h"
#include "ui/kit/kit_label.h"
#include "ui/kit/label_button.h"
#include "ui/kit/line_limited_label.h"
#include "ui/kit/motion.h"
#include "ui/kit/scheme.h"
#include "ui/kit/search_field.h"
#include "ui/kit/segmented_control.h"
#include "ui/kit/toggle_switch.h"
#include "ui/pages/style/app_icon_cache.h"
#include "ui/pages/style/app_style_rows.h"
#include "ui/pages/style/style_card.h"
#include "ui/pages/style/style_menu.h"
#include "ui/pages/style/style_page.h"
#include "ui/shell/main_view.h"

#include <QAccessible>
#include <QComboBox>
#include <QEnterEvent>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRegularExpression>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace {

AppStyleProfile app(const char* id, const char* name, const char* style, const char* suggested,
                    bool customized)
{
    return {s(id), s(name), s(style), s(suggested), customized};
}

// What a click on the row's menu item does.
void pickStyle(AppStyleRow& row, const QString& id)
{
    for (QAction* action : row.styleMenu()->actions()) {
        if (action->data().toString() == id)
            return action->trigger();
    }
    ADD_FAILURE() << "no style " << id.toStdString();
}

class StylePageTest : public StateFixture {
protected:
    void SetUp() override
    {
        StateFixture::SetUp();
        makeState();
    }

    void knowApps(const QList<AppStyleProfile>& profiles)
    {
        configure([&](QuendaConfig& c) { c.appStyles = profiles; });
        m_configCalls.clear();
    }

    QStringList rowIds(const StylePage& view) const
    {
        QStringList ids;
        for (AppStyleRow* row : view.appStyles()->rows())
            ids << row->profile().bundleID;
        return ids;
    }

    FakeAppIcons m_icons;
    AppIconCache m_cache{&m_icons};
};

TEST_F(StylePageTest, ACardClickWritesTheStyleOnceAndTheKeyboardMovesAndChooses)
{
    StylePage view(state(), m_commands, m_cache);
    view.resize(1000, 1400);
    view.show();
    const QList<StyleCard*> cards = view.cards();
    ASSERT_EQ(cards.size(), 6);
    for (StyleCard* card : cards) {
        EXPECT_TRUE(card->isCheckable());
        EXPECT_EQ(card->accessibleName(), card->option().title);
    }

    cards.at(2)->click();
    ASSERT_EQ(m_configCalls.size(), 1);
    EXPECT_EQ(m_configCalls.at(0).second.style, s("email"));
    EXPECT_TRUE(cards.at(2)->isChecked());
    cards.at(2)->click(); // the chosen card again: nothing changes, and it stays chosen
    EXPECT_EQ(m_configCalls.size(), 1);
    EXPECT_TRUE(cards.at(2)->isChecked());
    EXPECT_EQ(std::count_if(cards.begin(), cards.end(), [](StyleCard* c) { return c->isChecked(); }), 1);

    cards.at(2)->setFocus(Qt::TabFocusReason);
    QTest::keyClick(cards.at(2), Qt::Key_Down);
    EXPECT_EQ(view.focusWidget(), cards.at(5));
    QTest::keyClick(cards.at(5), Qt::Key_Left);
    EXPECT_EQ(view.focusWidget(), cards.at(4));
    EXPECT_EQ(m_configCalls.size(), 1); // moving chooses nothing
    QTest::keyClick(cards.at(4), Qt::Key_Space);
    EXPECT_EQ(state().config().style, s("notes"));
    EXPECT_EQ(m_configCalls.size(), 2);

    configure([](QuendaConfig& c) { c.style = s("poetry"); }); // an unknown id chooses no card
    EXPECT_EQ(std::count_if(cards.begin(), cards.end(), [](StyleCard* c) { return c->isChecked(); }), 0);
}

TEST_F(StylePageTest, AHoveredCardGrowsWithItsTextsUnlessItIsTheChosenOne)
{
    configure([](QuendaConfig& c) { c.style = s("email"); });
    StylePage view(state(), m_commands, m_cache);
    view.resize(1000, 1400);
    view.show();
    settle();
    // clang-format off
    struct Row { int card; double scale; bool textsMove; };
    const Row rows[] = {
        {.card = 0, .scale = 1.01, .textsMove = true},
        {.card = 2, .scale = 1.0,  .textsMove = false}, // the chosen card
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.card);
        StyleCard* card = view.cards().at(row.card);
        // Well inside the shape: only the texts, the tile and the mark are drawn there.
        const int inset = StyleCard::margin + 12;
        const QRect inside(card->mapTo(&view, QPoint(inset, inset)),
                           card->size().shrunkBy({inset, inset, inset, inset}));
        const QImage still = view.grab(inside).toImage();
        QEnterEvent enter(QPointF(20, 20), QPointF(20, 20), QPointF(20, 20));
        QCoreApplication::sendEvent(card, &enter);
        EXPECT_EQ(card->scale(), row.scale);
        EXPECT_EQ(view.grab(inside).toImage() != still, row.textsMove);
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(card, &leave);
        EXPECT_EQ(view.grab(inside).toImage(), still);
    }
}

// A style's description and its before and after are read whole, in the longer German words too,
// at the narrowest the window gets: a card grows rather than cut them short.
TEST_F(StylePageTest, EveryCardTextIsShownWholeInTheNarrowestWindow)
{
    const QString tables = QStringLiteral(QUENDA_SOURCE_DIR "/resources/Languages");
    for (const char* language : {"en", "de"}) {
        L10n::install({{tables}, {QString::fromLatin1(language)}});
        state().setSection(MainSection::Style);
        MainView main(state(), m_commands);
        main.resize(920, 620);
        main.show();
        settle();
        const auto* page = qobject_cast<StylePage*>(main.page());
        ASSERT_NE(page, nullptr);
        for (StyleCard* card : page->cards()) {
            const QList<LineLimitedLabel*> texts = card->findChildren<LineLimitedLabel*>();
            ASSERT_FALSE(texts.isEmpty());
            for (const LineLimitedLabel* text : texts) {
                const auto words = [](QString t) {
                    return t.remove(QRegularExpression(QStringLiteral("\\s"))).toStdString();
                };
                EXPECT_EQ(words(text->text()), words(text->fullText()))
                    << language << ": " << text->fullText().toStdString();
                EXPECT_GE(text->height(), text->heightForWidth(text->width())) << language;
            }
        }
    }
    L10n::install({{tables}, {s("en")}});
}

// The chosen card's mark is the brand's disc with a white tick on the light and the dark card alike.
TEST_F(StylePageTest, TheChosenMarkLooksTheSameInEitherScheme)
{
    configure([](QuendaConfig& c) { c.style = s("email"); });
    QList<QImage> marks;
    for (const QPalette& scheme : {Scheme::light(), Scheme::dark()}) {
        StylePage view(state(), m_commands, m_cache);
        view.setPalette(scheme);
        view.resize(1000, 1400);
        view.show();
        settle();
        StyleCard* chosen = view.cards().at(2);
        ASSERT_TRUE(chosen->isChecked());
        // Inside the disc's rim, where the card's own fill never shows.
        const QRectF box = chosen->markBox();
        const QRect inner = QRectF(box.center() - QPointF(5, 5), QSizeF(10, 10)).toRect();
        marks << chosen->grab(inner).toImage().convertToFormat(QImage::Format_RGB32);
    }
    EXPECT_EQ(marks.at(0), marks.at(1));
}

TEST_F(StylePageTest, EveryInstructionsKeystrokeIsWrittenAndOutsideChangesKeepTheCaret)
{
    StylePage view(state(), m_commands, m_cache);
    view.show();
    QPlainTextEdit* editor = view.instructions();
    editor->setFocus();
    QTest::keyClicks(editor, s("Be brief"));
    EXPECT_EQ(state().config().instructions, s("Be brief"));
    EXPECT_EQ(m_configCalls.size(), 8);

    QTextCursor cursor = editor->textCursor();
    cursor.setPosition(3);
    editor->setTextCursor(cursor);
    configure([](QuendaConfig& c) { c.style = s("code"); });
    EXPECT_EQ(editor->textCursor().position(), 3);
    configure([](QuendaConfig& c) { c.instructions = s("Be very brief"); });
    EXPECT_EQ(editor->toPlainText(), s("Be very brief"));
    EXPECT_EQ(editor->textCursor().position(), 3);
    configure([](QuendaConfig& c) { c.instructions = s("B"); });
    EXPECT_EQ(editor->textCursor().position(), 1); // as far as it fits

    QTest::keyClick(editor, Qt::Key_Tab);
    EXPECT_NE(view.focusWidget(), editor); // Tab leaves the editor instead of typing a tab
    EXPECT_EQ(state().config().instructions, s("B"));
}

// The language menu offers the languages of the recogniser in use, as the settings page's row
// does, and says what that row says; a pick writes the language.
TEST_F(StylePageTest, TheLanguageMenuOffersWhatTheRecogniserInUseHearsAndTheSwitchAndButtonWork)
{
    StylePage view(state(), m_commands, m_cache);
    QComboBox* menu = view.languageMenu();
    const auto offered = [menu] {
        QStringList items;
        for (int i = 0; i < menu->count(); ++i)
            items << menu->itemText(i);
        return items;
    };
    struct Row {
        AsrEngine engine;
        const char* baseURL;
        QStringList languages;
        const char* hint;
    };
    // clang-format off
    const Row table[] = {
        {.engine = AsrEngine::Whisper, .baseURL = "",                        .languages = {s("Automatic"), s("English")},              .hint = "settings.language.englishOnly"},
        {.engine = AsrEngine::Whistle, .baseURL = "",                        .languages = {s("Automatic"), s("English")},              .hint = "settings.language.englishOnly"},
        {.engine = AsrEngine::Whisper, .baseURL = "http://127.0.0.1:8080/v1", .languages = {s("Automatic"), s("German"), s("English")}, .hint = "settings.language.server"},
    };
    // clang-format on
    for (const Row& row : table) {
        SCOPED_TRACE(row.baseURL);
        configure([&](QuendaConfig& c) {
            c.asrEngine = row.engine;
            c.speechBaseURL = s(row.baseURL);
        });
        EXPECT_EQ(offered(), row.languages);
        EXPECT_EQ(view.languageHint()->text(), L10n::s(row.hint));
    }
    m_configCalls.clear();
    menu->setCurrentIndex(1);
    emit menu->activated(1);
    EXPECT_EQ(state().config().language, s("de"));
    EXPECT_EQ(m_configCalls.size(), 1);

    const bool before = state().config().commandMode;
    view.commandSwitch()->click();
    EXPECT_EQ(state().config().commandMode, !before);
    view.commandsButton()->click();
    EXPECT_EQ(state().section(), MainSection::Commands);
}

TEST_F(StylePageTest, TheFrontLineNamesTheApplicationAndTheStyleThatAppliesToIt)
{
    knowApps({app("org.kde.kate", "Kate", "code", "auto", true)});
    StylePage view(state(), m_commands, m_cache);
    EXPECT_FALSE(view.frontLine()->isVisibleTo(&view));
    state().setFrontApp(FrontApp{s("org.kde.kate"), s("Kate")});
    EXPECT_TRUE(view.frontLine()->isVisibleTo(&view));
    EXPECT_EQ(view.frontLine()->text(),
              L10n::format(s("style.front"), {s("Kate"), L10n::s(s("style.code"))}));
}

TEST_F(StylePageTest, RowsFollowTheViewTheSearchAndTheScan)
{
    StylePage view(state(), m_commands, m_cache);
    AppStylesSection* section = view.appStyles();
    EXPECT_TRUE(section->emptyText()->isVisibleTo(&view));
    EXPECT_EQ(section->emptyText()->text(), L10n::s(s("style.scanning")));
    section->search()->setText(s("kate"));
    EXPECT_EQ(section->emptyText()->text(), L10n::s(s("style.scanning")));
    section->search()->setText({});

    knowApps({app("org.gnome.Calculator", "Calculator", "auto", "auto", false),
              app("org.kde.kate", "Kate", "code", "auto", true),
              app("org.mozilla.Thunderbird", "Thunderbird", "email", "email", false)});
    EXPECT_EQ(rowIds(view), (QStringList{s("org.kde.kate"), s("org.mozilla.Thunderbird")}));
    EXPECT_FALSE(section->emptyText()->isVisibleTo(&view));
    const QList<AppStyleRow*> rows = section->rows();
    EXPECT_EQ(rows.at(0)->hint(), L10n::format(s("style.suggestion"), {L10n::s(s("style.auto"))}));
    EXPECT_EQ(rows.at(0)->pickedStyle(), s("code"));
    EXPECT_EQ(rows.at(1)->hint(), L10n::s(s("style.email")));

    section->toggle()->click();
    EXPECT_EQ(section->toggle()->text(), L10n::s(s("style.recognizedOnly")));
    EXPECT_EQ(rowIds(view).size(), 3);
    section->toggle()->click();
    EXPECT_EQ(section->toggle()->text(), L10n::s(s("style.allApps")));
    section->search()->setText(s("zzz"));
    EXPECT_EQ(section->emptyText()->text(), L10n::s(s("style.noApp")));
    EXPECT_TRUE(section->emptyText()->isVisibleTo(&view));
}

TEST_F(StylePageTest, ARowRemovedByItsOwnPickerOutlivesItsEventAndReturnsWithItsApplication)
{
    knowApps({app("org.kde.kate", "Kate", "code", "auto", true)});
    StylePage view(state(), m_commands, m_cache);
    ASSERT_EQ(view.appStyles()->rows().size(), 1);
    QPointer<AppStyleRow> row = view.appStyles()->rows().at(0);
    pickStyle(*row, s("auto"));
    // No longer listed, but still there for the rest of the picker's event and after it.
    EXPECT_TRUE(view.appStyles()->rows().isEmpty());
    EXPECT_FALSE(state().config().appStyles.at(0).customized);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_FALSE(row.isNull());
    EXPECT_TRUE(row->isHidden());
    view.appStyles()->toggle()->click();
    EXPECT_EQ(view.appStyles()->rows(), QList<AppStyleRow*>{row.data()}); // the same row, shown again
    EXPECT_EQ(row->pickedStyle(), s("auto"));
    // An application no longer known takes its row with it, once the event is over.
    configure([](QuendaConfig& c) { c.appStyles.clear(); });
    EXPECT_FALSE(row.isNull());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(row.isNull());
}

TEST_F(StylePageTest, ARowPutsItsIconFirstAndItsPickerAtTheFarEndInEitherDirection)
{
    const AppStyleProfile kate = app("org.kde.kate", "Kate Advanced Text Editor", "code", "auto", true);
    // clang-format off
    struct Row { Qt::LayoutDirection direction; };
    const Row rows[] = {{Qt::LeftToRight}, {Qt::RightToLeft}};
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(int(row.direction));
        AppStyleRow line(state(), m_cache, kate);
        line.setLayoutDirection(row.direction);
        line.resize(600, line.sizeHint().height());
        line.show();
        const auto* name = line.findChild<KitLabel*>();
        const QRect icon = line.findChild<QLabel*>(QString(), Qt::FindDirectChildrenOnly)->geometry();
        const QRect picker = line.picker()->geometry();
        const bool ltr = row.direction == Qt::LeftToRight;
        EXPECT_EQ(ltr ? icon.left() : icon.right(), ltr ? 0 : 599);
        EXPECT_EQ(ltr ? picker.right() : picker.left(), ltr ? 599 : 0);
        EXPECT_EQ(picker.width(), AppStyleRow::pickerWidth);
        // Every part inside the row, one beside the other, the texts between icon and picker.
        for (const QRect& part : {icon, picker, name->geometry()})
            EXPECT_TRUE(line.rect().contains(part));
        EXPECT_FALSE(name->geometry().intersects(icon) || name->geometry().intersects(picker));
        EXPECT_GT(name->width(), 300);
        EXPECT_EQ(name->text(), kate.name);
    }
}

TEST_F(StylePageTest, AKeptRowTakesTheLatestRecordSoItsPickerNeverRenamesBack)
{
    knowApps({app("org.kde.kate", "Kate", "code", "auto", true)});
    StylePage view(state(), m_commands, m_cache);
    AppStyleRow* row = view.appStyles()->rows().at(0);
    state().mergeInstalledApps({FrontApp{s("org.kde.kate"), s("Kate Editor")}});
    ASSERT_EQ(view.appStyles()->rows().at(0), row);
    EXPECT_EQ(row->profile().name, s("Kate Editor"));
    pickStyle(*row, s("notes"));
    EXPECT_EQ(state().config().appStyles.at(0).name, s("Kate Editor"));
    EXPECT_EQ(state().config().appStyles.at(0).style, s("notes"));
}

TEST_F(StylePageTest, EachApplicationIconIsLookedUpOnceAcrossRepaintsAndVisits)
{
    knowApps({app("a.one", "One", "auto", "auto", false), app("b.two", "Two", "auto", "auto", false),
              app("c.three", "Three", "email", "email", false)});
    m_icons.icons.insert(s("a.one"), QIcon(QPixmap(16, 16)));
    MainView main(state(), m_commands, nullptr, nullptr, &m_icons);
    main.resize(1000, 700);
    main.show();
    state().setSection(MainSection::Style);
    auto* view = qobject_cast<StylePage*>(main.page());
    ASSERT_NE(view, nullptr);
    view->appStyles()->toggle()->click();
    settle();
    view->appStyles()->search()->setText(s("o"));
    view->grab();
    state().setSection(MainSection::Home);
    state().setSection(MainSection::Style);
    view = qobject_cast<StylePage*>(main.page());
    view->appStyles()->toggle()->click();
    view->grab();
    QStringList looked = m_icons.lookups;
    looked.sort();
    EXPECT_EQ(looked, (QStringList{s("a.one"), s("b.two"), s("c.three")}));
}

// Counts the resizes of one widget.
class ResizeCount final : public QObject {
public:
    explicit ResizeCount(QWidget& watched) { watched.installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        count += event->type() == QEvent::Resize;
        return false;
    }
};

TEST_F(StylePageTest, ShowingOrHidingManyRowsLaysTheListOutOnce)
{
    QList<AppStyleProfile> many;
    for (int i = 0; i < 40; ++i)
        many.append({s("app.%1").arg(i), s("App %1").arg(i), s("auto"), s("auto"), false});
    knowApps(many);
    StylePage view(state(), m_commands, m_cache);
    view.resize(1000, 6000); // room for every row without scrolling
    view.show();
    settle();
    AppStylesSection* section = view.appStyles();
    const int before = section->height();
    ResizeCount resizes(*section);
    // Each row shown inside a visible list used to lay the whole list out and grow it again.
    section->toggle()->click(); // forty new rows
    settle();
    EXPECT_EQ(resizes.count, 1);
    EXPECT_EQ(section->rows().size(), 40);
    const int all = section->height();
    EXPECT_GT(all, before + 39 * section->rows().at(0)->height());
    section->search()->setText(s("zzz")); // every row hidden
    settle();
    resizes.count = 0;
    section->search()->setText({}); // and shown again
    settle();
    EXPECT_EQ(resizes.count, 1);
    EXPECT_EQ(section->height(), all);
}

TEST_F(StylePageTest, ReturningToThePageWhileTheScanRunsStartsNoSecondScan)
{
    m_windows.setInstalled({FrontApp{s("org.kde.kate"), s("Kate")}});
    MainView main(state(), m_commands);
    main.show();
    // Each page shown at once, before the first scan's answer can arrive.
    state().setSection(MainSection::Style);
    main.page()->show();
    state().setSection(MainSection::Home);
    state().setSection(MainSection::Style);
    main.page()->show();
    m_work.waitForIdle();
    settle();
    EXPECT_EQ(m_windows.installedReads(), 1);
    ASSERT_EQ(state().config().appStyles.size(), 1);
}

TEST_F(StylePageTest, ThePopoverListsEveryStyleForTheFrontApplicationElseTheDefault)
{
    knowApps({app("org.kde.kate", "Kate", "auto", "auto", false)});
    StyleMenu menu(state(), m_commands);
    ASSERT_EQ(menu.menu()->count(), 6);
    EXPECT_EQ(menu.menu()->currentData().toString(), state().config().style);
    emit menu.menu()->activated(menu.menu()->findData(s("chat")));
    EXPECT_EQ(state().config().style, s("chat"));

    state().setFrontApp(FrontApp{s("org.kde.kate"), s("Kate")});
    EXPECT_EQ(menu.label()->text(), L10n::format(s("menu.styleFor"), {s("Kate")}));
    EXPECT_EQ(menu.menu()->currentData().toString(), s("auto"));
    emit menu.menu()->activated(menu.menu()->findData(s("code")));
    EXPECT_EQ(state().config().style, s("chat")); // the default stays
    EXPECT_EQ(state().config().appStyles.at(0).style, s("code"));
    EXPECT_TRUE(state().config().appStyles.at(0).customized);
    EXPECT_EQ(menu.menu()->currentData().toString(), s("code"));
}

TEST_F(StylePageTest, ChoosingAndHoveringSpringOnTheClockAndTheCardsLineUpWithTheColumn)
{
    configure([](QuendaConfig& c) { c.style = s("email"); });
    StylePage view(state(), m_commands, m_cache);
    view.resize(1000, 1400);
    view.show();
    settle();
    const KitLabel* heading = nullptr;
    for (const KitLabel* label : view.findChildren<KitLabel*>())
        heading = label->text() == L10n::s("style.default") ? label : heading;
    ASSERT_NE(heading, nullptr);
    const QList<StyleCard*> cards = view.cards();
    EXPECT_EQ(cards.first()->mapTo(&view, QPoint(StyleCard::margin, 0)).x(),
              heading->mapTo(&view, QPoint()).x());
    EXPECT_EQ(cards[1]->x() - cards[0]->geometry().right() - 1, 14 - 2 * StyleCard::margin);

    struct Case {
        const char* name;
        std::function<void()> act;
        std::function<double()> progress; // 0 before, 1 after
        int durationMs;
    };
    const Case cases[] = {
        {.name = "chosen",
         .act = [&] { cards[0]->click(); },
         .progress = [&] { return cards[0]->chosenLook(); },
         .durationMs = Motion::selectMs},
        {.name = "given up",
         .act = [] {},
         .progress = [&] { return 1 - cards[2]->chosenLook(); },
         .durationMs = 0},
        {.name = "hovered",
         .act =
             [&] {
                 QEnterEvent enter(QPointF(20, 20), QPointF(20, 20), QPointF(20, 20));
                 QCoreApplication::sendEvent(cards[1], &enter);
             },
         .progress = [&] { return cards[1]->hoverLook(); },
         .durationMs = Motion::hoverMs},
    };
    AnimationsOn on;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.act();
        if (c.durationMs == 0)
            continue;
        m_clock.advance(c.durationMs / 3);
        EXPECT_GT(c.progress(), 0.05);
        EXPECT_LT(c.progress(), 0.95);
        EXPECT_GT(1 - cards[2]->chosenLook(), 0.05) << "the old choice does not give way with the new";
        m_clock.advance(c.durationMs);
        EXPECT_DOUBLE_EQ(c.progress(), 1);
    }
    EXPECT_DOUBLE_EQ(cards[2]->chosenLook(), 0);
    EXPECT_DOUBLE_EQ(cards[1]->scale(), 1.01);
}

} // namespace
