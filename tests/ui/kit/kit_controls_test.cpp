#include "test_text.h"
#include "widget_helpers.h"

#include "platform/fake/manual_clock.h"
#include "ui/kit/card.h"
#include "ui/kit/icon_button.h"
#include "ui/kit/keyed_rows.h"
#include "ui/kit/kit_font.h"
#include "ui/kit/kit_label.h"
#include "ui/kit/label_button.h"
#include "ui/kit/page.h"
#include "ui/kit/permission_row.h"
#include "ui/kit/scheme.h"
#include "ui/kit/search_field.h"
#include "ui/kit/segmented_control.h"
#include "ui/kit/soft_picker.h"
#include "ui/kit/status_pill.h"
#include "ui/kit/theme.h"
#include "ui/kit/toggle_switch.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QEnterEvent>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

// A shown top-level the widget fills, so presses and layouts behave as in a window.
template <typename W> std::unique_ptr<QWidget> host(W* widget, QSize size)
{
    auto window = std::make_unique<QWidget>();
    auto* layout = new QVBoxLayout(window.get());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(widget);
    window->resize(size);
    window->show();
    settle();
    return window;
}

TEST(KitButtons, OnlyTheVisibleShapeTakesClicks)
{
    struct Case {
        const char* name;
        std::function<KitButton*()> make;
        QPoint at; // relative to the button's centre
        bool clicks;
    };
    const auto icon = [] { return new IconButton(Symbol::Close, QStringLiteral("Close")); };
    const auto primary = [] { return new LabelButton(LabelButton::Style::Primary, QStringLiteral("Allow")); };
    // clang-format off
    const Case cases[] = {
        {.name = "IconCentre",          .make = icon,    .at = {0, 0},     .clicks = true},
        {.name = "IconEdgeMiddle",      .make = icon,    .at = {-12, 0},   .clicks = true},
        {.name = "IconFrameCorner",     .make = icon,    .at = {-11, -11}, .clicks = false},
        {.name = "PrimaryCentre",       .make = primary, .at = {0, 0},     .clicks = true},
        {.name = "PrimaryShadowBelow",  .make = primary, .at = {0, 19},    .clicks = false},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        KitButton* button = c.make();
        QWidget window;
        button->setParent(&window);
        button->resize(button->sizeHint());
        window.resize(200, 100);
        window.show();
        int clicks = 0;
        QObject::connect(button, &KitButton::clicked, [&] { ++clicks; });
        QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center() + c.at);
        EXPECT_EQ(clicks, c.clicks ? 1 : 0);
    }
}

TEST(KitButtons, SpaceAndEnterPressEveryKindAndOnlyKeyboardFocusShowsTheRing)
{
    const std::function<KitButton*()> makers[] = {
        [] { return new IconButton(Symbol::Copy, QStringLiteral("Copy")); },
        [] { return new LabelButton(LabelButton::Style::Primary, QStringLiteral("Allow")); },
        [] { return new LabelButton(LabelButton::Style::Soft, QStringLiteral("Reload")); },
    };
    for (const auto& make : makers) {
        QWidget window;
        KitButton* button = make();
        button->setParent(&window);
        window.show();
        EXPECT_TRUE(button->focusPolicy() & Qt::TabFocus);
        int clicks = 0;
        QObject::connect(button, &KitButton::clicked, [&] { ++clicks; });
        QTest::keyClick(button, Qt::Key_Space);
        QTest::keyClick(button, Qt::Key_Return);
        EXPECT_EQ(clicks, 2) << button->metaObject()->className();

        button->setFocus(Qt::MouseFocusReason);
        EXPECT_FALSE(button->keyboardFocus());
        button->clearFocus();
        button->setFocus(Qt::TabFocusReason);
        EXPECT_EQ(button->keyboardFocus(), button->hasFocus());
    }
}

TEST(KitButtons, TheIconCircleFollowsHoverAndPressAndGoesWhenThePointerLeaves)
{
    QWidget window;
    auto* button = new IconButton(Symbol::Close, QStringLiteral("Close"), &window);
    window.show();
    EXPECT_EQ(button->circleOpacity(), 0.0);
    QEnterEvent enter(QPointF(13, 13), QPointF(13, 13), QPointF(13, 13));
    QCoreApplication::sendEvent(button, &enter);
    EXPECT_EQ(button->circleOpacity(), 0.08);
    button->setDown(true);
    EXPECT_EQ(button->circleOpacity(), 0.14);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(button, &leave);
    EXPECT_EQ(button->circleOpacity(), 0.14); // pressed shows whether or not the pointer is over it
    button->setDown(false);
    EXPECT_EQ(button->circleOpacity(), 0.0);
}

TEST(KitButtons, PressedShowsOverHoverAndAChosenFillOverBoth)
{
    constexpr StateFill withChosen{.rest = 1, .hover = 2, .pressed = 3, .chosen = 4};
    constexpr StateFill without{.rest = 1, .hover = 2, .pressed = 3, .chosen = {}};
    struct Case {
        bool chosen;
        bool down;
        bool hovering;
        double shown;        // withChosen
        double shownWithout; // without a chosen fill
    };
    // clang-format off
    const Case cases[] = {
        {.chosen = false, .down = false, .hovering = false, .shown = 1, .shownWithout = 1},
        {.chosen = false, .down = false, .hovering = true,  .shown = 2, .shownWithout = 2},
        {.chosen = false, .down = true,  .hovering = false, .shown = 3, .shownWithout = 3},
        {.chosen = false, .down = true,  .hovering = true,  .shown = 3, .shownWithout = 3},
        {.chosen = true,  .down = true,  .hovering = true,  .shown = 4, .shownWithout = 3},
        {.chosen = true,  .down = false, .hovering = false, .shown = 4, .shownWithout = 1},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.chosen << c.down << c.hovering);
        EXPECT_EQ(withChosen.opacity(c.chosen, c.down, c.hovering), c.shown);
        EXPECT_EQ(without.opacity(c.chosen, c.down, c.hovering), c.shownWithout);
    }
}

TEST(KitButtons, EveryKindIsDrawnFainterWhileDisabled)
{
    const std::function<KitButton*()> makers[] = {
        [] { return new LabelButton(LabelButton::Style::Primary, QStringLiteral("Allow")); },
        [] { return new LabelButton(LabelButton::Style::Soft, QStringLiteral("Reload")); },
        [] { return new IconButton(Symbol::Copy, QStringLiteral("Copy")); },
        [] { return new ToggleSwitch(QStringLiteral("Commands")); },
    };
    for (const auto& make : makers) {
        std::unique_ptr<KitButton> button(make());
        SCOPED_TRACE(button->metaObject()->className());
        button->resize(button->sizeHint());
        const auto strongest = [&] {
            const QImage image = renderTransparent(*button);
            int alpha = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    alpha = std::max(alpha, qAlpha(image.pixel(x, y)));
            return alpha;
        };
        const int enabled = strongest();
        button->setEnabled(false);
        // Layers painted over each other add up, so the whole is a little stronger than its opacity.
        EXPECT_LT(strongest(), enabled * 0.8);
    }
}

TEST(KitButtons, ASoftButtonWithALongLabelGrowsWiderInsteadOfTruncating)
{
    LabelButton shortOne(LabelButton::Style::Soft, QStringLiteral("Copy"));
    LabelButton longOne(LabelButton::Style::Soft,
                        QStringLiteral("Copy the whole transcript to the clipboard"));
    EXPECT_GT(longOne.sizeHint().width(), shortOne.sizeHint().width() + 150);
    EXPECT_EQ(longOne.minimumSizeHint(), longOne.sizeHint());
    EXPECT_EQ(longOne.sizeHint().height(), shortOne.sizeHint().height());
}

// A picker is as wide as its longest entry, so a new list lays it out again.
TEST(SoftPicker, ANewListOfEntriesTakesTheWidthOfItsLongest)
{
    QWidget window;
    auto* row = new QHBoxLayout(&window);
    auto* picker = new SoftPicker;
    picker->addItem(QStringLiteral("English"));
    row->addWidget(picker);
    row->addStretch(1);
    window.show();
    settle();
    const int narrow = picker->width();
    picker->clear();
    picker->addItem(QStringLiteral("The screen under the pointer"));
    settle();
    EXPECT_GT(picker->width(), narrow);
    EXPECT_EQ(picker->width(), picker->sizeHint().width());
}

// A picker's list opens below it as a menu does, not over it and what stands above it.
TEST(SoftPicker, ItsListOpensBelowIt)
{
    auto* picker = new SoftPicker;
    picker->addItems({s("One"), s("Two"), s("Three")});
    picker->setCurrentIndex(2);
    const auto window = host(picker, QSize(300, 60));
    picker->showPopup();
    EXPECT_GE(picker->view()->window()->geometry().top(),
              picker->mapToGlobal(QPoint(0, picker->height())).y());
    picker->hidePopup();
}

TEST(StatusPill, ShowsASpinnerOnlyWhileLoadingAndTakesTheStateColour)
{
    struct Case {
        EngineState state;
        bool spinner;
        QColor (*colour)(const QPalette&);
    };
    // clang-format off
    const Case cases[] = {
        {EngineState::Ready,   false, Scheme::green},
        {EngineState::Loading, true,  Scheme::orange},
        {EngineState::Error,   false, Scheme::red},
    };
    // clang-format on
    ManualClock clock;
    for (const bool dark : {false, true}) {
        for (const Case& c : cases) {
            StatusPill pill(clock, c.state, QStringLiteral("Status"));
            pill.setPalette(dark ? Scheme::dark() : Scheme::light());
            EXPECT_EQ(pill.showsSpinner(), c.spinner);
            EXPECT_EQ(pill.colour(), c.colour(pill.palette()));
        }
    }
    EXPECT_NE(Scheme::green(Scheme::light()), Scheme::green(Scheme::dark()));
}

TEST(Scheme, SecondaryAndTertiaryTextStayReadableOnTheCardFill)
{
    QPalette greyCards = Scheme::light();
    greyCards.setColor(QPalette::Base, QColor(214, 214, 214)); // a theme with grey controls
    QPalette faintText = Scheme::dark();
    faintText.setColor(QPalette::WindowText, QColor(150, 150, 150));
    struct Case {
        const char* name;
        QPalette palette;
    };
    const Case cases[] = {{"Light", Scheme::light()},
                          {"Dark", Scheme::dark()},
                          {"GreyCards", greyCards},
                          {"FaintText", faintText}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QColor fill = Theme::cardFill(c.palette);
        const auto ratio = [&](Scheme::Text level) {
            return Scheme::contrast(Scheme::over(Scheme::text(c.palette, level), fill), fill);
        };
        EXPECT_GE(ratio(Scheme::Text::Secondary), 4.5);
        EXPECT_GE(ratio(Scheme::Text::Tertiary), 3.0);
        EXPECT_GT(ratio(Scheme::Text::Primary), ratio(Scheme::Text::Secondary) - 0.01);
    }
    // Where the scheme allows it, secondary text is fainter than primary.
    EXPECT_LT(Scheme::text(Scheme::light(), Scheme::Text::Secondary).alphaF(), 1.0f);
}

TEST(Page, TheColumnIsAtMost900WideAndCentred)
{
    struct Case {
        int offered;
        int width;
        int left;
    };
    // clang-format off
    const Case cases[] = {
        {.offered = 1200, .width = 900, .left = 150},
        {.offered = 901,  .width = 900, .left = 0},
        {.offered = 700,  .width = 700, .left = 0},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.offered);
        auto* page = new Page(QStringLiteral("History"), QStringLiteral("Your past dictations"));
        page->content()->addWidget(new Card(18));
        const auto window = host(page, QSize(c.offered, 600));
        EXPECT_EQ(page->column().width(), c.width);
        EXPECT_EQ(page->column().left(), c.left);
        EXPECT_EQ(page->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    }
}

TEST(Page, AWideAccessoryKeepsItsWidthAndTheTitleGivesWay)
{
    auto* page = new Page(QStringLiteral("A rather long page title that wants room"),
                          QStringLiteral("And a subtitle that goes on for a while as well"));
    auto* accessory = new QWidget;
    accessory->setFixedSize(360, 28);
    page->setAccessory(accessory);
    const auto window = host(page, QSize(560, 600));
    EXPECT_EQ(accessory->width(), 360);
    EXPECT_LE(page->titleLabel()->geometry().right(), accessory->geometry().left());
}

TEST(Card, SpansTheOfferedWidthWithItsContentAtTheLeadingEdge)
{
    auto* card = new Card(18);
    auto* content = new QWidget;
    content->setFixedSize(40, 20);
    card->content()->addWidget(content);
    const auto window = host(card, QSize(420, 200));
    EXPECT_EQ(card->width(), 420);
    EXPECT_EQ(content->x(), 18);
}

TEST(PermissionRow, AGrantedRowShowsNoButtonAndNoHintAMissingOneBoth)
{
    struct Case {
        bool granted;
        bool button;
        bool hint;
    };
    // clang-format off
    const Case cases[] = {
        {.granted = true,  .button = false, .hint = false},
        {.granted = false, .button = true,  .hint = true},
    };
    // clang-format on
    for (const Case& c : cases) {
        int actions = 0;
        auto* row = new PermissionRow(
            QStringLiteral("Microphone"), QStringLiteral("To hear you."), Symbol::Microphone, c.granted,
            [&] { ++actions; }, QStringLiteral("Restart the sound server."));
        const auto window = host(row, QSize(520, 160));
        EXPECT_EQ(row->allowButton()->isVisible(), c.button);
        EXPECT_EQ(row->allowedLabel()->isVisible(), !c.button);
        EXPECT_EQ(row->hint()->isVisible(), c.hint);
        if (c.hint) {
            EXPECT_GE(row->hint()->contentsRect().left() + row->hint()->x(), 42); // under the title
        }
        if (c.button) {
            QTest::mouseClick(row->allowButton(), Qt::LeftButton, {},
                              row->allowButton()->capsule().center().toPoint());
            EXPECT_EQ(actions, 1);
        }
    }
}

} // namespace

namespace {

using namespace Qt::Literals::StringLiterals;

TEST(KeyedRows, ANewListKeepsTheRowsOfKnownKeysWithTheirFocusInTheListsOrder)
{
    QWidget window;
    auto* column = new QVBoxLayout(&window);
    column->addWidget(new QLabel(QStringLiteral("header"))); // not a row
    KeyedRows rows(*column, 1);
    int made = 0;
    const auto make = [&](const QString& key) {
        ++made;
        auto* row = new QLineEdit(key);
        row->setObjectName(key);
        return row;
    };
    const auto order = [&] {
        QStringList names;
        for (int i = 1; i < column->count(); ++i)
            names << column->itemAt(i)->widget()->objectName();
        return names;
    };
    struct Step {
        QStringList keys;
        QStringList shown;
        int made; // rows made so far
    };
    // clang-format off
    const Step steps[] = {
        {.keys = {u"a"_s, u"b"_s, u"c"_s}, .shown = {u"a"_s, u"b"_s, u"c"_s}, .made = 3},
        {.keys = {u"c"_s, u"a"_s, u"b"_s}, .shown = {u"c"_s, u"a"_s, u"b"_s}, .made = 3},
        {.keys = {u"b"_s, u"d"_s, u"b"_s}, .shown = {u"b"_s, u"d"_s},         .made = 4}, // twice: first place
        {.keys = {},                       .shown = {},                       .made = 4},
    };
    // clang-format on
    window.show();
    rows.apply(steps[0].keys, make);
    settle();
    QPointer<QWidget> b = rows.row(QStringLiteral("b"));
    QPointer<QWidget> a = rows.row(QStringLiteral("a"));
    b->setFocus();
    for (const Step& step : steps) {
        rows.apply(step.keys, make);
        settle();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(order(), step.shown);
        EXPECT_EQ(made, step.made);
        if (step.shown.contains(QStringLiteral("b"))) {
            EXPECT_EQ(rows.row(QStringLiteral("b")), b.data());
            EXPECT_EQ(window.focusWidget(), b.data());
        }
    }
    EXPECT_TRUE(a.isNull()); // rows of dropped keys are gone
    EXPECT_TRUE(b.isNull());
}

TEST(SearchField, TheClearButtonShowsOnlyWithTextAndEmptiesIt)
{
    auto* field = new SearchField(QStringLiteral("Search"));
    const auto window = host(field, QSize(400, 60));
    QStringList seen;
    QObject::connect(field, &SearchField::textChanged, [&](const QString& t) { seen << t; });
    EXPECT_EQ(field->width(), SearchField::fixedWidth);
    EXPECT_FALSE(field->clearButton()->isVisible());
    QTest::keyClicks(field->editor(), QStringLiteral("ab"));
    EXPECT_TRUE(field->clearButton()->isVisible());
    field->clearButton()->click();
    EXPECT_EQ(field->text(), QString());
    EXPECT_FALSE(field->clearButton()->isVisible());
    EXPECT_EQ(seen, (QStringList{QStringLiteral("a"), QStringLiteral("ab"), QString()}));
}

} // namespace

namespace {

TEST(SegmentedControl, ArrowKeysMoveTheChoiceAlongTheRowAndStopAtBothEnds)
{
    struct Case {
        const char* name;
        Qt::LayoutDirection direction;
        int from;
        Qt::Key key;
        int to; // the segment with the focus and the choice afterwards
    };
    // clang-format off
    const Case cases[] = {
        {.name = "LeftOnFirst",       .direction = Qt::LeftToRight, .from = 0, .key = Qt::Key_Left,  .to = 0},
        {.name = "RightOnLast",       .direction = Qt::LeftToRight, .from = 2, .key = Qt::Key_Right, .to = 2},
        {.name = "RightInside",       .direction = Qt::LeftToRight, .from = 0, .key = Qt::Key_Right, .to = 1},
        {.name = "LeftInside",        .direction = Qt::LeftToRight, .from = 2, .key = Qt::Key_Left,  .to = 1},
        {.name = "MirroredRightEnd",  .direction = Qt::RightToLeft, .from = 0, .key = Qt::Key_Right, .to = 0},
        {.name = "MirroredLeftEnd",   .direction = Qt::RightToLeft, .from = 2, .key = Qt::Key_Left,  .to = 2},
        {.name = "MirroredLeft",      .direction = Qt::RightToLeft, .from = 0, .key = Qt::Key_Left,  .to = 1},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto* control = new SegmentedControl(
            {QStringLiteral("English"), QStringLiteral("German"), QStringLiteral("French")});
        control->setLayoutDirection(c.direction);
        control->setCurrent(c.from);
        const auto window = host(control, QSize(400, 60));
        QList<int> chosen;
        QObject::connect(control, &SegmentedControl::chosen, [&](int index) { chosen << index; });
        control->segment(c.from)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(control->segment(c.from), c.key);
        EXPECT_TRUE(control->segment(c.to)->hasFocus());
        EXPECT_EQ(control->current(), c.to);
        EXPECT_EQ(chosen, c.to == c.from ? QList<int>() : QList<int>{c.to});
    }
}

// An assistive tool's action on each kind of control does what a click does: the control's users
// are told, not only its look changed.
TEST(KitControls, EachKindsAccessibleActionTakesTheClicksPath)
{
    struct Made {
        QWidget* control; // in the window
        QWidget* acted;   // the part the tool acts on
    };
    struct Row {
        const char* kind;
        std::function<Made(QStringList& told)> make;
        QStringList told;
    };
    const auto button = [](KitButton* made, QStringList& told) {
        QObject::connect(made, &KitButton::clicked,
                         [&told](bool on) { told << (on ? s("on") : s("clicked")); });
        return Made{made, made};
    };
    // clang-format off
    const Row rows[] = {
        {.kind = "SoftButton",    .make = [&](QStringList& t) { return button(new LabelButton(LabelButton::Style::Soft, s("Reload")), t); },          .told = {s("clicked")}},
        {.kind = "PrimaryButton", .make = [&](QStringList& t) { return button(new LabelButton(LabelButton::Style::Primary, s("Allow")), t); },        .told = {s("clicked")}},
        {.kind = "IconButton",    .make = [&](QStringList& t) { return button(new IconButton(Symbol::Copy, s("Copy")), t); }, .told = {s("clicked")}},
        {.kind = "ToggleSwitch",  .make = [&](QStringList& t) { return button(new ToggleSwitch(s("Sounds")), t); },        .told = {s("on")}},
        {.kind = "Segment",       .make = [](QStringList& t) {
             auto* segments = new SegmentedControl({s("Mute"), s("Quieter")});
             segments->setCurrent(0);
             QObject::connect(segments, &SegmentedControl::chosen, [&t](int index) { t << QString::number(index); });
             return Made{segments, segments->segment(1)};
         }, .told = {s("1")}},
        {.kind = "SoftPicker",    .make = [](QStringList&) {
             auto* picker = new SoftPicker;
             picker->addItems({s("One"), s("Two")});
             return Made{picker, picker};
         }, .told = {s("open")}},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.kind);
        QStringList told;
        const Made made = row.make(told);
        const auto window = host(made.control, QSize(300, 60));
        QAccessibleInterface* seen = QAccessible::queryAccessibleInterface(made.acted);
        ASSERT_TRUE(seen && seen->actionInterface());
        const QStringList actions = seen->actionInterface()->actionNames();
        ASSERT_FALSE(actions.isEmpty());
        seen->actionInterface()->doAction(actions.first());
        if (auto* picker = qobject_cast<SoftPicker*>(made.acted); picker && picker->view()->isVisible()) {
            told << s("open");
            EXPECT_EQ(picker->window()->focusWidget(), picker);
            picker->hidePopup();
        }
        EXPECT_EQ(told, row.told);
    }
}

// The chosen segment stands out above its track in both schemes: the card's white in the light
// one, lit in the dark one, where the card's own fill is darker than the track.
TEST(SegmentedControl, TheChosenSegmentStandsOutAboveItsTrackInBothSchemes)
{
    for (const QPalette& scheme : {Scheme::light(), Scheme::dark()}) {
        SCOPED_TRACE(Scheme::isDark(scheme) ? "dark" : "light");
        SegmentedControl control({s("Mute"), s("Quieter")});
        control.setPalette(scheme);
        control.setCurrent(0);
        control.resize(control.sizeHint());
        control.layout()->activate();
        QImage image(control.size(), QImage::Format_ARGB32);
        image.fill(Theme::cardFill(scheme));
        control.render(&image);
        const int middle = control.height() / 2;
        const QRgb chosen = image.pixel(control.segment(0)->geometry().left() + 5, middle);
        const QRgb track = image.pixel(control.segment(1)->geometry().left() + 5, middle);
        EXPECT_GE(qGray(chosen) - qGray(track), 15);
    }
}

// A role picked by its name gets the size its neighbours suggest, in the pixels the overlay measures.
TEST(TypeScale, EachTierIsOneSizeFromRegularToSemiboldAndTheTiersShrinkDownTheScale)
{
    // clang-format off
    const QList<QList<TextRole>> tiers = {
        {TextRole::Title}, {TextRole::DocumentTitle}, {TextRole::Brand},
        {TextRole::Lead,    TextRole::LeadMedium,    TextRole::Heading},
        {TextRole::Body,    TextRole::BodyMedium,    TextRole::BodyStrong},
        {TextRole::Callout, TextRole::CalloutMedium, TextRole::CalloutStrong},
        {TextRole::Caption, TextRole::CaptionMedium, TextRole::CaptionStrong},
        {TextRole::Micro,   TextRole::MicroMedium,   TextRole::MicroStrong},
    };
    // clang-format on
    double above = 1000;
    for (const QList<TextRole>& tier : tiers) {
        const double points = KitFont::face(tier.first()).points;
        EXPECT_LT(points, above) << int(tier.first());
        above = points;
        int lighter = 0;
        for (const TextRole role : tier) {
            SCOPED_TRACE(int(role));
            EXPECT_EQ(KitFont::face(role).points, points);
            EXPECT_GT(KitFont::face(role).weight, lighter);
            lighter = KitFont::face(role).weight;
            EXPECT_EQ(QFontInfo(KitFont::of(role)).pixelSize(), points);
        }
    }
    const QFontMetricsF mono(KitFont::of(TextRole::Mono));
    EXPECT_EQ(mono.horizontalAdvance(QStringLiteral("iiii")), mono.horizontalAdvance(QStringLiteral("MMMM")));
}

TEST(KitLabel, ASchemeSwitchRecoloursTheTextWithoutARebuild)
{
    QWidget window;
    window.setPalette(Scheme::light());
    auto* secondary =
        new KitLabel(QStringLiteral("Detail"), TextRole::Callout, Scheme::Text::Secondary, &window);
    auto* granted = new KitLabel(QStringLiteral("Allowed"), TextRole::CalloutMedium, Scheme::green, &window);
    EXPECT_EQ(secondary->ink(), Scheme::text(Scheme::light(), Scheme::Text::Secondary));
    window.setPalette(Scheme::dark());
    EXPECT_EQ(secondary->ink(), Scheme::text(Scheme::dark(), Scheme::Text::Secondary));
    EXPECT_EQ(granted->ink(), Scheme::green(Scheme::dark()));
}

} // namespace
