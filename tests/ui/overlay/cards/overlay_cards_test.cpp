#include "ui/overlay/geometry_printer.h"
#include "ui/overlay/overlay_fixture.h"

#include "ui/kit/line_limited_label.h"
#include "ui/kit/motion.h"
#include "ui/overlay/cards/card_icon_button.h"
#include "ui/overlay/cards/card_parts.h"
#include "ui/overlay/cards/card_text_body.h"
#include "ui/overlay/cards/card_transition.h"
#include "ui/overlay/cards/choice_action_button.h"
#include "ui/overlay/cards/choice_row.h"
#include "ui/overlay/cards/dictation_preview_card.h"
#include "ui/overlay/cards/note_saved_card.h"
#include "ui/overlay/cards/overlay_choice_card.h"
#include "ui/overlay/cards/overlay_result_card.h"
#include "ui/overlay/cards/translate_menu_card.h"
#include "ui/overlay/cards/translate_row_button.h"
#include "ui/overlay/pill/icon_chip.h"
#include "ui/overlay/pill/idle_toolbar.h"
#include "ui/overlay/pill/listening_row.h"
#include "ui/overlay/pill/phase_content.h"
#include "ui/overlay/pill/translate_toggle.h"
#include "ui/overlay/placement/dictation_preview_layout.h"
#include "ui/overlay/placement/overlay_sizes.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QEnterEvent>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLayout>
#include <QPointer>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace {

using Card = OverlayView::Card;

const OverlayResultChoice kCommandChoice{OverlayResultChoice::Kind::Command, s("Answer"),
                                         s("Kurz gesagt: ja.")};
const OverlayResultChoice kReformulated{OverlayResultChoice::Kind::Reformulate, s("Reworded"),
                                        s("In short, yes.")};

class OverlayCardsTest : public OverlayFixture {
protected:
    void SetUp() override
    {
        OverlayFixture::SetUp();
        change([](QuendaConfig& c) {
            c.overlayResultDismissSeconds = 1;
            c.dictationPreviewDismissSeconds = 1;
            c.noteDestination = NoteDestination::own();
            c.nativeLanguage = s("de");
            c.overlayResultSize = OverlayResultSize::Regular;
            c.showWidget = true;
        });
    }
    OverlayView& bigView()
    {
        OverlayView& v = view();
        v.resize(720, 640);
        settle();
        return v;
    }
    template <typename T> T* shown()
    {
        bigView();
        return qobject_cast<T*>(view().card());
    }
    // A click through the window, as the pointer gives it.
    void click(QWidget* target, QPoint at = {})
    {
        ASSERT_NE(target, nullptr);
        const QPoint point = target->mapTo(&view(), at.isNull() ? target->rect().center() : at);
        QTest::mouseClick(view().windowHandle(), Qt::LeftButton, {}, point);
        settle();
    }
    // Press, a move of 20 points, release: a drag anywhere but on selectable text.
    void drag(QWidget* from, std::optional<QPoint> at = std::nullopt)
    {
        const QPoint start = from->mapTo(&view(), at.value_or(from->rect().center()));
        QWindow* window = view().windowHandle();
        QTest::mousePress(window, Qt::LeftButton, {}, start);
        QTest::mouseMove(window, start + QPoint(10, 0));
        QTest::mouseMove(window, start + QPoint(20, 0));
        QTest::mouseRelease(window, Qt::LeftButton, {}, start + QPoint(20, 0));
        settle();
    }
    static void hover(QWidget* card, bool on)
    {
        if (on) {
            QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
            QCoreApplication::sendEvent(card, &enter);
        } else {
            QEvent leave(QEvent::Leave);
            QCoreApplication::sendEvent(card, &leave);
        }
    }
};

TEST_F(OverlayCardsTest, EachCardRendersItsTextsNamesItsButtonsAndNoPartTakesTheFocus)
{
    struct Case {
        const char* name;
        std::function<void(AppState&)> setup;
        Card card;
        QStringList texts; // shown somewhere in the card, in any order
        int width;         // 0: not fixed by the size table
    };
    const Case cases[] = {
        // clang-format off
        {.name = "note in the own store", .setup = [](AppState& st) {st.setNotePreview(SavedNotePreview{s("Buy milk"), SavedNotePreview::QuendaPlace{}}); }, .card = Card::NoteSaved, .texts = {s("Saved as a note"), s("Quenda notes"), s("Buy milk")}, .width = 320},
        {.name = "note in a Notes folder", .setup = [](AppState& st) {st.setNotePreview(SavedNotePreview{s("Buy milk"), SavedNotePreview::ApplePlace{s("iCloud"), s("Errands"), {}}}); }, .card = Card::NoteSaved, .texts = {s("Errands"), s("Buy milk")}, .width = 320},
        {.name = "result with its command", .setup = [](AppState& st) {st.setOverlayResult(OverlayResult{s("summarize"), s("Short."), std::nullopt}); }, .card = Card::Result, .texts = {s("Result"), s("summarize"), s("Short.")}, .width = 480},
        {.name = "copied preview", .setup = [](AppState& st) {st.setDictationPreview(DictationPreview{s("hello there"), DictationPreviewStatus::Copied}); }, .card = Card::Preview, .texts = {s("Copied to the clipboard"), s("hello there")}, .width = 0},
        {.name = "choices", .setup = [](AppState& st) {st.setOverlayResult(OverlayResult{s("make it short"), s("x"), QList{kCommandChoice, kReformulated}}); }, .card = Card::Choices, .texts = {s("Pick a version"), s("make it short"), s("Which text should be used?"), s("Answer"), s("Kurz gesagt: ja."), s("Reworded"), s("In short, yes.")}, .width = 480},
        {.name = "translate menu", .setup = [](AppState& st) { st.setWidgetTranslateOpen(true); }, .card = Card::TranslateMenu, .texts = {s("Translate selection"), s("Replaces the selected text")}, .width = 196},
        // clang-format on
    };
    for (const Case& c : cases) {
        m_view.reset();
        makeState();
        c.setup(state());
        OverlayView& v = bigView();
        ASSERT_EQ(v.shownCard(), c.card) << c.name;
        QWidget* card = v.card();
        ASSERT_NE(card, nullptr) << c.name;
        EXPECT_TRUE(card->isVisible()) << c.name;
        if (c.width > 0) {
            EXPECT_EQ(card->width(), c.width) << c.name;
        }
        QStringList texts;
        for (const QLabel* label : card->findChildren<QLabel*>())
            texts << label->text();
        for (const ElidedLabel* label : card->findChildren<ElidedLabel*>())
            texts << label->text();
        for (const QString& text : c.texts)
            EXPECT_TRUE(texts.contains(text)) << c.name << ": no " << text.toStdString();
        for (const QWidget* child : card->findChildren<QWidget*>())
            EXPECT_EQ(child->focusPolicy(), Qt::NoFocus)
                << c.name << ": " << child->metaObject()->className();
        EXPECT_EQ(unnamedButtons(*card), QStringList()) << c.name;
        // Grabbed, not rendered: QWidget::render draws a card, which carries a graphics effect, away from
        // its place. The card's own shell covers its area, not the fainter shadow.
        const QImage image = v.grab().toImage();
        const QRect area(card->mapTo(&v, QPoint(0, 0)), card->size());
        int shell = 0;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x)
                shell += qAlpha(image.pixel(x, y)) > 200;
        }
        EXPECT_GT(shell, area.width() * area.height() * 9 / 10) << c.name;
        // Over the card's top-left corner: part of the soft shadow, outside the rounded shell.
        EXPECT_LT(qAlpha(image.pixel(area.topLeft())), 200) << c.name;
    }
}

TEST_F(OverlayCardsTest, TheTranslateMenuMarksTheNativeRowAndClosesBeforeTranslating)
{
    QStringList calls;
    m_commands.onTranslate = [&](const QString& code) {
        calls << code + (state().widgetTranslateOpen() ? s(" while open") : s(" after closing"));
    };
    state().setWidgetTranslateOpen(true);
    auto* menu = shown<TranslateMenuCard>();
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->rows().size(), 9);
    EXPECT_EQ(menu->rows().at(0)->row(), (CardRules::TranslateRow{.code = s("de"), .native = true}));
    EXPECT_EQ(menu->rows().at(0)->name(), s("German"));
    EXPECT_EQ(menu->rows().at(1)->row().code, s("en"));
    ASSERT_EQ(menu->dividers().size(), 1);
    EXPECT_GT(menu->dividers().at(0)->y(), menu->rows().at(0)->geometry().bottom());
    EXPECT_LT(menu->dividers().at(0)->y(), menu->rows().at(1)->y());

    click(menu->rows().at(2));
    EXPECT_EQ(calls, QStringList{s("fr after closing")});
    EXPECT_EQ(view().shownCard(), Card::None);

    state().setWidgetTranslateOpen(true);
    settle();
    click(qobject_cast<TranslateMenuCard*>(view().card())->closeButton());
    EXPECT_FALSE(state().widgetTranslateOpen());
    EXPECT_EQ(calls.size(), 1);
}

TEST_F(OverlayCardsTest, TheIdleToolbarFollowsTheEngineAndTheMenu)
{
    struct Case {
        const char* name;
        bool engineReady;
        bool menuOpen;
        bool dictateEnabled;
        int toggles; // after one press of the dictate button
        Symbol chevron;
    };
    const Case cases[] = {
        // clang-format off
        {.name = "engine loading", .engineReady = false, .menuOpen = false, .dictateEnabled = false, .toggles = 0, .chevron = Symbol::ChevronUp},
        {.name = "ready", .engineReady = true, .menuOpen = false, .dictateEnabled = true, .toggles = 1, .chevron = Symbol::ChevronUp},
        {.name = "ready, menu open", .engineReady = true, .menuOpen = true, .dictateEnabled = true, .toggles = 1, .chevron = Symbol::ChevronDown},
        // clang-format on
    };
    for (const Case& c : cases) {
        m_view.reset();
        makeState();
        m_commands.toggles = 0;
        state().setEngineReady(c.engineReady);
        state().setWidgetTranslateOpen(c.menuOpen);
        state().setWidgetHovered(true);
        bigView();
        auto* toolbar = pill().content()->findChild<IdleToolbar*>();
        ASSERT_NE(toolbar, nullptr) << c.name;
        EXPECT_EQ(toolbar->dictateButton()->isEnabled(), c.dictateEnabled) << c.name;
        EXPECT_EQ(toolbar->translateButton()->open(), c.menuOpen) << c.name;
        click(toolbar->dictateButton());
        EXPECT_EQ(m_commands.toggles, c.toggles) << c.name;
        // The toggle flips the menu both ways.
        click(toolbar->translateButton());
        EXPECT_EQ(state().widgetTranslateOpen(), !c.menuOpen) << c.name;
        EXPECT_EQ(toolbar->translateButton()->open(), !c.menuOpen) << c.name;
        click(toolbar->translateButton());
        EXPECT_EQ(state().widgetTranslateOpen(), c.menuOpen) << c.name;
    }
}

TEST_F(OverlayCardsTest, TheSettingsChipClosesTheMenuBeforeOpeningSettings)
{
    QStringList calls;
    m_commands.onOpenMain = [&](std::optional<MainSection> section) {
        calls << (section == MainSection::Settings ? s("settings") : s("other")) +
                     (state().widgetTranslateOpen() ? s(" over the menu") : s(" with the menu closed"));
    };
    state().setWidgetTranslateOpen(true);
    bigView();
    auto* toolbar = pill().content()->findChild<IdleToolbar*>();
    ASSERT_NE(toolbar, nullptr);
    click(toolbar->settingsButton());
    EXPECT_EQ(calls, QStringList{s("settings with the menu closed")});
    EXPECT_EQ(view().shownCard(), Card::None);
}

TEST_F(OverlayCardsTest, InsertClearsTheCardBeforeTheTextIsApplied)
{
    struct Case {
        const char* name;
        int row;
        QStringList applied;
    };
    const Case cases[] = {
        {.name = "second row", .row = 1, .applied = {s("reformulate: card gone")}},
        {.name = "first row", .row = 0, .applied = {s("command: card gone")}},
    };
    for (const Case& c : cases) {
        m_view.reset();
        makeState();
        QStringList applied;
        m_commands.onChoice = [&](const OverlayResultChoice& choice) {
            applied << choice.id() + (state().overlayResult() ? s(": card shown") : s(": card gone"));
        };
        state().setOverlayResult(OverlayResult{s("cmd"), s("x"), QList{kCommandChoice, kReformulated}});
        auto* card = shown<OverlayChoiceCard>();
        ASSERT_NE(card, nullptr);
        click(card->rows().at(c.row)->insertButton());
        EXPECT_EQ(applied, c.applied) << c.name;
        EXPECT_FALSE(state().overlayResult().has_value()) << c.name;
        EXPECT_EQ(view().shownCard(), Card::None) << c.name;
    }
}

TEST_F(OverlayCardsTest, TheCopyMarkMovesBetweenRowsAndLeavesAfterItsTime)
{
    state().setOverlayResult(OverlayResult{s("cmd"), s("x"), QList{kCommandChoice, kReformulated}});
    auto* card = shown<OverlayChoiceCard>();
    ASSERT_NE(card, nullptr);
    ChoiceRow* first = card->rows().at(0);
    ChoiceRow* second = card->rows().at(1);
    struct Step {
        const char* name;
        qint64 waitMs;    // before the press
        ChoiceRow* press; // null: only time passes
        bool firstMarked;
        bool secondMarked;
        QString clipboard;
    };
    const Step steps[] = {
        // clang-format off
        {.name = "copy the first", .waitMs = 0, .press = first, .firstMarked = true, .secondMarked = false, .clipboard = kCommandChoice.text},
        {.name = "copy the second soon after", .waitMs = 600, .press = second, .firstMarked = false, .secondMarked = true, .clipboard = kReformulated.text},
        {.name = "the first's time is over, the second's not", .waitMs = 700, .press = nullptr, .firstMarked = false, .secondMarked = true, .clipboard = kReformulated.text},
        {.name = "the second's time is over", .waitMs = 500, .press = nullptr, .firstMarked = false, .secondMarked = false, .clipboard = kReformulated.text},
        // clang-format on
    };
    for (const Step& step : steps) {
        m_clock.advance(step.waitMs);
        if (step.press)
            click(step.press->copyButton());
        EXPECT_EQ(first->copied(), step.firstMarked) << step.name;
        EXPECT_EQ(second->copied(), step.secondMarked) << step.name;
        EXPECT_EQ(first->copyButton()->text(), step.firstMarked ? s("Copied") : s("Copy")) << step.name;
        EXPECT_EQ(QGuiApplication::clipboard()->text(), step.clipboard) << step.name;
        EXPECT_EQ(view().shownCard(), Card::Choices) << step.name;
    }
}

TEST_F(OverlayCardsTest, ANoteOfABlankTextSavesNothingAndShowsNoMark)
{
    const OverlayResultChoice blank{OverlayResultChoice::Kind::Command, s("Answer"), s("  \n ")};
    state().setOverlayResult(OverlayResult{s("cmd"), s("x"), QList{blank, kReformulated}});
    auto* card = shown<OverlayChoiceCard>();
    ASSERT_NE(card, nullptr);
    click(card->rows().at(0)->noteButton());
    EXPECT_FALSE(card->rows().at(0)->noted());
    EXPECT_EQ(card->rows().at(0)->noteButton()->text(), s("Note"));
    EXPECT_TRUE(state().notes().isEmpty());
    EXPECT_EQ(view().shownCard(), Card::Choices);
}

TEST_F(OverlayCardsTest, ANoteSavedFromAChoiceReplacesTheCardWithTheNotice)
{
    state().setOverlayResult(OverlayResult{s("cmd"), s("x"), QList{kCommandChoice, kReformulated}});
    const QPointer<OverlayChoiceCard> card = shown<OverlayChoiceCard>();
    ASSERT_FALSE(card.isNull());
    click(card->rows().at(1)->noteButton());
    ASSERT_EQ(state().notes().size(), 1);
    EXPECT_EQ(state().notes().front().body, kReformulated.text);
    EXPECT_FALSE(state().overlayResult().has_value());
    EXPECT_EQ(view().shownCard(), Card::NoteSaved);
    EXPECT_TRUE(card.isNull() || !card->isVisible());
    // Closing the notice leaves no card behind.
    click(qobject_cast<NoteSavedCard*>(view().card())->closeButton());
    EXPECT_EQ(view().shownCard(), Card::None);
    EXPECT_FALSE(state().notePreview().has_value());
}

TEST_F(OverlayCardsTest, ResultCountdownPausesWhileHoveredAndRestartsForANewText)
{
    state().setOverlayResult(OverlayResult{s("cmd"), s("First."), std::nullopt});
    auto* card = shown<OverlayResultCard>();
    ASSERT_NE(card, nullptr);
    EXPECT_TRUE(card->countdown().timed());
    m_clock.advance(500);
    hover(card, true);
    m_clock.advance(2000);
    EXPECT_EQ(view().shownCard(), Card::Result) << "closed while hovered";
    hover(card, false);
    m_clock.advance(400);
    // A new text at 900 ms of counted time starts a full second again.
    state().setOverlayResult(OverlayResult{s("cmd"), s("Second."), std::nullopt});
    EXPECT_EQ(view().card(), card) << "the card is kept, only its countdown restarts";
    EXPECT_DOUBLE_EQ(card->countdown().remaining(), 1.0);
    m_clock.advance(950);
    EXPECT_EQ(view().shownCard(), Card::Result);
    // The copy button leaves the card and its countdown alone.
    click(card->copyButton());
    EXPECT_EQ(QGuiApplication::clipboard()->text(), s("Second."));
    m_clock.advance(50);
    EXPECT_EQ(view().shownCard(), Card::None);
    EXPECT_FALSE(state().overlayResult().has_value());
}

TEST_F(OverlayCardsTest, AReplacedCardsCountdownNeverClosesWhatFollows)
{
    state().setOverlayResult(OverlayResult{s("cmd"), s("Answer."), std::nullopt});
    ASSERT_NE(shown<OverlayResultCard>(), nullptr);
    m_clock.advance(500);
    // The notice takes the card's place while the result stays set beneath it.
    state().setNotePreview(SavedNotePreview{s("Buy milk"), SavedNotePreview::QuendaPlace{}});
    EXPECT_EQ(view().shownCard(), Card::NoteSaved);
    m_clock.advance(700);
    EXPECT_TRUE(state().overlayResult().has_value()) << "the old countdown closed the hidden result";
    EXPECT_TRUE(state().notePreview().has_value());
    m_clock.advance(300);
    EXPECT_FALSE(state().notePreview().has_value());
    EXPECT_EQ(view().shownCard(), Card::Result);
}

TEST_F(OverlayCardsTest, APreviewClosesAtOnceWhenInsertedAndWaitsWhileWorking)
{
    struct Case {
        const char* name;
        DictationPreviewStatus status;
        bool cardsStay;
        qint64 afterMs;
        bool open;
    };
    const Case cases[] = {
        // clang-format off
        {.name = "inserted", .status = DictationPreviewStatus::Inserted, .cardsStay = false, .afterMs = 0, .open = false},
        {.name = "working", .status = DictationPreviewStatus::Working, .cardsStay = false, .afterMs = 60'000, .open = true},
        {.name = "copied", .status = DictationPreviewStatus::Copied, .cardsStay = false, .afterMs = 1000, .open = false},
        {.name = "copied while cards stay", .status = DictationPreviewStatus::Copied, .cardsStay = true, .afterMs = 60'000, .open = true},
        // clang-format on
    };
    for (const Case& c : cases) {
        m_view.reset();
        view().setCardsStay(c.cardsStay);
        state().setDictationPreview(std::nullopt);
        state().setDictationPreview(DictationPreview{s("some words"), c.status});
        ASSERT_NE(shown<DictationPreviewCard>(), nullptr) << c.name;
        m_clock.advance(c.afterMs);
        EXPECT_EQ(state().dictationPreview().has_value(), c.open) << c.name;
    }
}

TEST_F(OverlayCardsTest, ADragNeverOpensTheNoteAndSelectingTextNeverDrags)
{
    state().setNotePreview(
        SavedNotePreview{s("Buy milk"), SavedNotePreview::QuendaPlace{QUuid::createUuid()}});
    auto* note = shown<NoteSavedCard>();
    ASSERT_NE(note, nullptr);
    QSignalSpy dragged(&view(), &OverlayView::dragChanged);
    QSignalSpy ended(&view(), &OverlayView::dragEnded);

    drag(note);
    EXPECT_GT(dragged.count(), 0);
    EXPECT_EQ(ended.count(), 1);
    EXPECT_TRUE(m_commands.opened.isEmpty()) << "the drag ended in an opened note";
    EXPECT_TRUE(state().notePreview().has_value());

    click(note);
    EXPECT_EQ(m_commands.opened, QList<std::optional<MainSection>>{MainSection::Notes});
    EXPECT_FALSE(state().notePreview().has_value());

    state().setOverlayResult(OverlayResult{s("cmd"), s("A long answer to select."), std::nullopt});
    auto* result = shown<OverlayResultCard>();
    ASSERT_NE(result, nullptr);
    dragged.clear();
    QLabel* text = result->body()->label();
    drag(text, QPoint(CardParts::padding + 2, text->height() / 2));
    EXPECT_EQ(dragged.count(), 0) << "selecting text dragged the widget";
    EXPECT_TRUE(result->body()->label()->hasSelectedText());
}

// The panel is sized for the preview before the card exists; a card that measures itself apart
// from the panel is cut off or floats in empty room. Its width holds its title as well as its text.
TEST_F(OverlayCardsTest, APreviewCardIsExactlyAsLargeAsThePanelMadeRoomFor)
{
    struct Case {
        const char* name;
        OverlayResultSize resultSize;
        QString text;
        DictationPreviewStatus status = DictationPreviewStatus::Working;
    };
    const QString paragraph = QString(s("a dictated sentence that wraps, ")).repeated(6);
    const Case cases[] = {
        // clang-format off
        {.name = "one word", .resultSize = OverlayResultSize::Regular, .text = s("Hi")},
        {.name = "one line", .resultSize = OverlayResultSize::Regular, .text = s("Send the report on Friday morning")},
        {.name = "wrapped, compact", .resultSize = OverlayResultSize::Compact, .text = paragraph},
        {.name = "wrapped, large", .resultSize = OverlayResultSize::Large, .text = paragraph},
        {.name = "past the text height", .resultSize = OverlayResultSize::Compact, .text = paragraph.repeated(20)},
        {.name = "one word, a long title", .resultSize = OverlayResultSize::Regular, .text = s("Hi"), .status = DictationPreviewStatus::ReplacedCopy},
        // clang-format on
    };
    const DictationPreviewLayout layout;
    for (const Case& c : cases) {
        change([&](QuendaConfig& config) { config.overlayResultSize = c.resultSize; });
        // The card is laid out before the view is first shown, as in a snapshot.
        m_view.reset();
        state().setDictationPreview(DictationPreview{c.text, c.status});
        auto* card = shown<DictationPreviewCard>();
        ASSERT_NE(card, nullptr) << c.name;
        const QSizeF panel = OverlaySizes::panelSize(OverlayMode::Result,
                                                     OverlayInputs{.previewText = c.text,
                                                                   .previewStatus = c.status,
                                                                   .overlayResultSize = c.resultSize},
                                                     layout);
        // The header's title shows whole.
        for (const QLabel* label : card->findChildren<QLabel*>()) {
            if (label->text() == DictationPreviewLayout::title(c.status)) {
                EXPECT_GE(label->width(), label->sizeHint().width()) << c.name;
            }
        }
        EXPECT_EQ(QSizeF(card->size()), panel - QSizeF(0, OverlayView::bottomPadding)) << c.name;
        // The header, hairline and padding fit in the room the layout left them.
        const QRect body = card->body()->geometry();
        EXPECT_LE(card->layout()->minimumSize().height(), card->height()) << c.name;
        EXPECT_EQ(card->height() - body.bottom() - 1, 6) << c.name << " text block ends off its padding";
        // A text the layout measured in full shows whole, without a scroll bar; a longer one scrolls.
        const bool tall = c.text == paragraph.repeated(20);
        EXPECT_EQ(card->body()->scrolls(), tall) << c.name;
        if (!tall) {
            const QWidget* shownArea = card->body()->viewport();
            EXPECT_LE(card->body()->label()->heightForWidth(shownArea->width()), shownArea->height())
                << c.name;
        }
    }
}

// With animations on, a card comes in from invisible at 94 % and leaves to invisible at 97 %, each
// over its spring's time on the clock; at the end nothing is left drawn and no timer runs on.
TEST_F(OverlayCardsTest, CardsFadeAndScaleInAndOutOverTheirSpringAndStopTheirTimers)
{
    struct Case {
        const char* name;
        std::function<void(AppState&)> open;
        std::function<void(AppState&)> close;
        int durationMs;
    };
    const Case cases[] = {
        // clang-format off
        {.name = "result card", .open = [](AppState& st) {st.setOverlayResult(OverlayResult{s("cmd"), s("An answer."), std::nullopt}); }, .close = [](AppState& st) { st.setOverlayResult(std::nullopt); }, .durationMs = Motion::morphMs},
        {.name = "translate menu", .open = [](AppState& st) { st.setWidgetTranslateOpen(true); }, .close = [](AppState& st) { st.setWidgetTranslateOpen(false); }, .durationMs = Motion::toggleMs},
        // clang-format on
    };
    change([](QuendaConfig& c) { c.overlayResultDismissSeconds = 0; });
    AnimationsOn on;
    for (const Case& c : cases) {
        bigView();
        m_clock.advance(1000);
        ASSERT_EQ(m_clock.pendingCount(), 0) << c.name;
        QSignalSpy outline(&view(), &OverlayView::outlineChanged);
        c.open(state());
        settle();
        auto* transition = qobject_cast<CardTransition*>(view().card()->graphicsEffect());
        ASSERT_NE(transition, nullptr) << c.name;
        EXPECT_EQ(transition->opacity(), 0) << c.name;
        EXPECT_DOUBLE_EQ(transition->scale(), 0.94) << c.name;
        m_clock.advance(c.durationMs / 2);
        EXPECT_GT(transition->opacity(), 0) << c.name;
        EXPECT_LT(transition->opacity(), 1) << c.name;
        qsizetype outlinesBefore = outline.count();
        m_clock.advance(c.durationMs - c.durationMs / 2);
        EXPECT_EQ(transition->opacity(), 1) << c.name;
        EXPECT_EQ(transition->scale(), 1) << c.name;
        EXPECT_FALSE(transition->running()) << c.name << ": the way in ended but its timer runs on";
        EXPECT_GT(outline.count(), outlinesBefore)
            << c.name << ": the window is not cut anew for the whole card";
        // The pill may still morph after a quicker card; then nothing at all is left.
        m_clock.advance(Motion::morphMs);
        EXPECT_EQ(m_clock.pendingCount(), 0) << c.name;

        c.close(state());
        settle();
        const QList<QWidget*> leaving = view().leavingCards();
        ASSERT_EQ(leaving.size(), 1) << c.name;
        const QPointer<QWidget> gone = leaving.first();
        const auto* out = qobject_cast<CardTransition*>(gone->graphicsEffect());
        m_clock.advance(c.durationMs / 2);
        EXPECT_GT(out->opacity(), 0) << c.name;
        EXPECT_GT(out->scale(), 0.97) << c.name;
        outlinesBefore = outline.count();
        m_clock.advance(c.durationMs - c.durationMs / 2);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(gone.isNull()) << c.name << ": the faded card is still there";
        EXPECT_GT(outline.count(), outlinesBefore)
            << c.name << ": the window is not cut anew without the card";
        m_clock.advance(Motion::morphMs);
        EXPECT_EQ(m_clock.pendingCount(), 0) << c.name << ": the way out ended but a timer runs on";
    }
}

// The toggle's capsule brightens with its own quicker spring and ends exactly at the open level.
TEST_F(OverlayCardsTest, TheTranslateToggleSpringsToItsOpenFillAndStops)
{
    AnimationsOn on;
    state().setWidgetHovered(true);
    bigView();
    m_clock.advance(1000);
    auto* toolbar = pill().content()->findChild<IdleToolbar*>();
    ASSERT_NE(toolbar, nullptr);
    TranslateToggle* toggle = toolbar->translateButton();
    EXPECT_DOUBLE_EQ(toggle->fill(), 0.08);
    state().setWidgetTranslateOpen(true);
    m_clock.advance(Motion::toggleMs / 4);
    EXPECT_GT(toggle->fill(), 0.08);
    EXPECT_TRUE(toggle->animating());
    m_clock.advance(Motion::toggleMs);
    EXPECT_DOUBLE_EQ(toggle->fill(), 0.14);
    EXPECT_FALSE(toggle->animating());
}

// The pill's buttons move the widget like the cards' do: a press that moves three points is a drag,
// and the button under it never sees a click.
TEST_F(OverlayCardsTest, ADragFromAPillButtonMovesTheWidgetAndClicksNothing)
{
    struct Case {
        const char* name;
        Phase phase;
        std::function<QWidget*(PhaseContent&)> button;
    };
    const auto toolbar = [](PhaseContent& content) { return content.findChild<IdleToolbar*>(); };
    const Case cases[] = {
        // clang-format off
        {.name = "dictate", .phase = Phase::idle(), .button = [&](PhaseContent& c) { return toolbar(c)->dictateButton(); }},
        {.name = "translate toggle", .phase = Phase::idle(), .button = [&](PhaseContent& c) { return toolbar(c)->translateButton(); }},
        {.name = "settings", .phase = Phase::idle(), .button = [&](PhaseContent& c) { return toolbar(c)->settingsButton(); }},
        {.name = "stop chip", .phase = Phase::listening(), .button = [](PhaseContent& c) { return qobject_cast<ListeningRow*>(c.row())->stopChip(); }},
        // clang-format on
    };
    state().setEngineReady(true);
    state().setWidgetHovered(true);
    for (const Case& c : cases) {
        state().setPhase(c.phase);
        bigView();
        QWidget* button = c.button(*pill().content());
        ASSERT_NE(button, nullptr) << c.name;
        QSignalSpy dragged(&view(), &OverlayView::dragChanged);
        QSignalSpy ended(&view(), &OverlayView::dragEnded);
        const QPoint start = button->mapTo(&view(), button->rect().center());
        QWindow* window = view().windowHandle();
        QTest::mousePress(window, Qt::LeftButton, {}, start);
        QTest::mouseMove(window, start + QPoint(2, 0));
        EXPECT_EQ(dragged.count(), 0) << c.name << ": two points made a drag";
        QTest::mouseMove(window, start + QPoint(3, 0));
        QTest::mouseRelease(window, Qt::LeftButton, {}, start + QPoint(3, 0));
        settle();
        EXPECT_GT(dragged.count(), 0) << c.name;
        EXPECT_EQ(ended.count(), 1) << c.name;
        EXPECT_EQ(m_commands.toggles, 0) << c.name << ": the drag started a recording";
        EXPECT_FALSE(state().widgetTranslateOpen()) << c.name << ": the drag opened the menu";
        EXPECT_TRUE(m_commands.opened.isEmpty()) << c.name << ": the drag opened the settings";
    }
}

// Long texts stop at the lines their cards allow and say so with an ellipsis; the whole text stays
// with the label.
TEST_F(OverlayCardsTest, LongCardTextsStopAtTheirLineLimitWithAnEllipsis)
{
    struct Case {
        const char* name;
        std::function<void(AppState&, const QString&)> show;
        std::function<LineLimitedLabel*(QWidget*)> label;
        int maxLines;
    };
    const Case cases[] = {
        // clang-format off
        {.name = "choice text", .show = [](AppState& st, const QString& t) {st.setOverlayResult(OverlayResult{s("cmd"), s("x"), QList{OverlayResultChoice{OverlayResultChoice::Kind::Command, s("Answer"), t}}}); }, .label = [](QWidget* card) { return qobject_cast<OverlayChoiceCard*>(card)->rows().first()->text(); }, .maxLines = 5},
        {.name = "spoken command over the choices", .show = [](AppState& st, const QString& t) {st.setOverlayResult(OverlayResult{t, s("x"), QList{kCommandChoice}}); }, .label = [](QWidget* card) { return qobject_cast<OverlayChoiceCard*>(card)->spoken(); }, .maxLines = 2},
        {.name = "result command", .show = [](AppState& st, const QString& t) {st.setOverlayResult(OverlayResult{t, s("x"), std::nullopt}); }, .label = [](QWidget* card) { return qobject_cast<OverlayResultCard*>(card)->command(); }, .maxLines = 2},
        // clang-format on
    };
    const QString longText = QString(s("a long dictated text that keeps going, ")).repeated(40);
    for (const Case& c : cases) {
        state().setOverlayResult(std::nullopt);
        c.show(state(), longText);
        bigView();
        LineLimitedLabel* label = c.label(view().card());
        ASSERT_NE(label, nullptr) << c.name;
        EXPECT_EQ(label->fullText(), longText) << c.name;
        EXPECT_EQ(label->text().split(QLatin1Char('\n')).size(), c.maxLines) << c.name;
        EXPECT_TRUE(label->text().endsWith(QChar(0x2026))) << c.name;
        // Lines are painted whole pixels apart.
        EXPECT_LE(label->height(), c.maxLines * std::ceil(QFontMetricsF(label->font()).lineSpacing()))
            << c.name;
    }
}

// A card closed by its own button leaves while that button is still handling the click: it must
// fade from where it stood and only then go.
TEST_F(OverlayCardsTest, ACardClosedByItsOwnButtonFadesOutAndThenGoes)
{
    change([](QuendaConfig& c) { c.overlayResultDismissSeconds = 0; });
    AnimationsOn on;
    state().setOverlayResult(OverlayResult{s("cmd"), s("An answer."), std::nullopt});
    auto* card = shown<OverlayResultCard>();
    ASSERT_NE(card, nullptr);
    m_clock.advance(Motion::morphMs);
    const QPoint stood = card->mapTo(&view(), QPoint(0, 0));
    click(card->closeButton());
    EXPECT_FALSE(state().overlayResult().has_value());
    const QList<QWidget*> leaving = view().leavingCards();
    ASSERT_EQ(leaving.size(), 1);
    EXPECT_EQ(leaving.first()->pos(), stood);
    const QPointer<QWidget> gone = leaving.first();
    m_clock.advance(Motion::morphMs);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(gone.isNull());
    EXPECT_EQ(m_clock.pendingCount(), 0);
}

} // namespace

// A result past its card's text height scrolls under a thin dark bar inside the card; a shorter
// one shows whole without a bar. (The preview card's rows are in the size test above.)
TEST_F(OverlayCardsTest, OnlyATextPastItsHeightScrollsAndItsBarIsThinAndDark)
{
    const QString line = s("Let's meet at the station at ten and take the early train.");
    for (const bool tall : {false, true}) {
        state().setOverlayResult(
            OverlayResult{s("cmd"), tall ? QString(line + u' ').repeated(40) : line, {}});
        OverlayView& v = bigView();
        CardTextBody* body = qobject_cast<OverlayResultCard*>(v.card())->body();
        EXPECT_EQ(body->scrolls(), tall);
        if (!tall)
            continue;
        const QWidget* bar = body->verticalScrollBar();
        EXPECT_LE(bar->width(), 10);
        const QImage image = v.grab().toImage();
        const QRect area(bar->mapTo(&v, QPoint(0, 0)), bar->size());
        int light = 0;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x)
                light += qGray(image.pixel(x, y)) > 128;
        }
        EXPECT_EQ(light, 0);
    }
}
