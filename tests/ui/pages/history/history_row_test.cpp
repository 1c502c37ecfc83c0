#include "history_fixture.h"

#include "core/text/fmt.h"
#include "core/text/l10n.h"
#include "ui/kit/icon_button.h"
#include "ui/kit/label_button.h"
#include "ui/kit/line_limited_label.h"
#include "ui/kit/motion.h"
#include "ui/kit/reveal.h"
#include "ui/pages/history/history_row.h"

#include <QLayout>
#include <QMenu>
#include <QTest>

#include <functional>
#include <string_view>

#include <gtest/gtest.h>

namespace {

using Mode = HistoryRow::Mode;

// The meta line after its time, symbols as [name].
QString afterTime(const QList<HistoryMeta::Item>& items)
{
    QStringList parts;
    for (qsizetype i = 1; i < items.size(); ++i) {
        const HistoryMeta::Item& item = items.at(i);
        if (!item.symbol)
            parts << item.text;
        else
            parts << (*item.symbol == Symbol::Clipboard ? QStringLiteral("[clipboard]")
                                                        : QStringLiteral("[wand]"));
    }
    return parts.join(QLatin1Char(' '));
}

class HistoryRowTest : public HistoryFixture {
protected:
    // A row on its own window, the entry in the history.
    HistoryRow& show(const HistoryEntry& entry, Mode mode)
    {
        state().setHistory({entry});
        m_window = std::make_unique<QWidget>();
        auto* row = new HistoryRow(state(), entry, mode, m_window.get());
        m_window->resize(600, 200);
        row->resize(600, 200);
        m_window->show();
        settle();
        hover(*row, false); // the pointer away, wherever the platform put it
        return *row;
    }
    static void hover(HistoryRow& row, bool in)
    {
        if (in) {
            QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
            QCoreApplication::sendEvent(&row, &enter);
        } else {
            QEvent leave(QEvent::Leave);
            QCoreApplication::sendEvent(&row, &leave);
        }
    }

    std::unique_ptr<QWidget> m_window;
};

TEST_F(HistoryRowTest, TheMetaLineFollowsKindAppCommandAndModeAndNeverShowsTheDuration)
{
    struct Row {
        const char* name;
        Mode mode;
        const char* text;
        std::optional<QString> app;
        std::optional<bool> command;
        std::optional<QString> kind;
        const char* meta;
    };
    const auto clip = std::optional<QString>(HistoryEntry::clipboardKind);
    const auto mail = std::optional<QString>(QStringLiteral("Mail"));
    // clang-format off
    const Row rows[] = {
        {.name = "full dictation",          .mode = Mode::Full,     .text = "one two three", .app = mail,        .command = {},    .kind = {},   .meta = "\u00b7 Mail \u00b7 3 words"},
        {.name = "clipboard hides app",     .mode = Mode::Relative, .text = "link",          .app = mail,        .command = true,  .kind = clip, .meta = "\u00b7 [clipboard] Clipboard \u00b7 1 word"},
        {.name = "compact: no word count",  .mode = Mode::Compact,  .text = "a b",           .app = QString(),   .command = true,  .kind = {},   .meta = "\u00b7 [wand] Rewritten"},
        {.name = "other kind is dictation", .mode = Mode::Full,     .text = "x",             .app = mail,        .command = false, .kind = QStringLiteral("note"), .meta = "\u00b7 Mail \u00b7 1 word"},
        {.name = "empty text: 0 words",     .mode = Mode::Relative, .text = "",              .app = {},          .command = {},    .kind = {},   .meta = "\u00b7 0 words"},
        {.name = "compact clipboard",       .mode = Mode::Compact,  .text = "x",             .app = {},          .command = {},    .kind = clip, .meta = "\u00b7 [clipboard] Clipboard"},
    };
    // clang-format on
    const QDateTime now = m_clock.now();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        HistoryEntry entry = dictation(QString::fromUtf8(row.text), 5, 12.5);
        entry.app = row.app;
        entry.wasCommand = row.command;
        entry.kind = row.kind;
        const QList<HistoryMeta::Item> items = HistoryRow::metaItems(entry, row.mode, now);
        EXPECT_EQ(afterTime(items), QString::fromUtf8(row.meta));
        EXPECT_EQ(items.first().text,
                  row.mode == Mode::Full ? Fmt::time(entry.date) : Fmt::relative(entry.date, now));
    }
}

TEST_F(HistoryRowTest,
       CompactClicksCopyTheOthersOpenThePanelAndTheMarkGoesOnePointTwoSecondsAfterTheFirstCopy)
{
    HistoryEntry entry = dictation(QStringLiteral("final text"));
    entry.raw = QStringLiteral("raw words");
    HistoryRow& compact = show(entry, Mode::Compact);
    QTest::mouseClick(&compact, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_EQ(clipboardText(), QStringLiteral("final text"));
    EXPECT_TRUE(compact.copied());
    EXPECT_FALSE(compact.expanded());
    EXPECT_TRUE(compact.copyButton()->isVisible()); // the mark shows with the pointer away
    EXPECT_EQ(compact.copyButton()->symbol(), Symbol::Check);
    m_clock.advance(600);
    QTest::mouseClick(&compact, Qt::LeftButton, {}, QPoint(20, 10));
    m_clock.advance(HistoryRow::copyMarkMs - 600 - 1);
    EXPECT_TRUE(compact.copied());
    m_clock.advance(1);
    EXPECT_FALSE(compact.copied());
    EXPECT_FALSE(compact.copyButton()->isVisible());

    HistoryRow& full = show(entry, Mode::Full);
    QTest::mouseClick(&full, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_TRUE(full.expanded());
    EXPECT_FALSE(full.copied());
    EXPECT_FALSE(full.removeButton()->isVisibleTo(&full)); // the panel's remove takes its place
    ASSERT_NE(full.panelCopyRawButton(), nullptr);
    QGuiApplication::clipboard()->clear();
    full.panelCopyRawButton()->click();
    EXPECT_EQ(clipboardText(), QStringLiteral("raw words"));
    EXPECT_FALSE(full.copied()); // copy raw leaves the mark alone
    QTest::mouseClick(&full, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_FALSE(full.expanded());
}

TEST_F(HistoryRowTest, KeysExpandCopyAndOpenTheMenu)
{
    struct Row {
        const char* name;
        Mode mode;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        bool expanded;
        bool copied;
        bool menu;
    };
    // clang-format off
    const Row rows[] = {
        {.name = "Enter opens",       .mode = Mode::Full,     .key = Qt::Key_Return, .modifiers = {},                  .expanded = true,  .copied = false, .menu = false},
        {.name = "Space opens",       .mode = Mode::Relative, .key = Qt::Key_Space,  .modifiers = {},                  .expanded = true,  .copied = false, .menu = false},
        {.name = "Enter copies",      .mode = Mode::Compact,  .key = Qt::Key_Enter,  .modifiers = Qt::KeypadModifier,  .expanded = false, .copied = true,  .menu = false},
        {.name = "Ctrl+C copies",     .mode = Mode::Full,     .key = Qt::Key_C,      .modifiers = Qt::ControlModifier, .expanded = false, .copied = true,  .menu = false},
        {.name = "Menu key",          .mode = Mode::Compact,  .key = Qt::Key_Menu,   .modifiers = {},                  .expanded = false, .copied = false, .menu = true},
        {.name = "other keys: none",  .mode = Mode::Full,     .key = Qt::Key_X,      .modifiers = {},                  .expanded = false, .copied = false, .menu = false},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        HistoryRow& shown = show(dictation(QStringLiteral("keyed")), row.mode);
        shown.clearFocus();
        shown.setFocus(Qt::TabFocusReason);
        EXPECT_TRUE(shown.copyButton()->isVisible()); // keyboard users reach the buttons
        EXPECT_TRUE(shown.removeButton()->isVisible());
        QTest::keyClick(&shown, row.key, row.modifiers);
        EXPECT_EQ(shown.expanded(), row.expanded);
        EXPECT_EQ(shown.copied(), row.copied);
        EXPECT_EQ(shown.menu() && shown.menu()->isVisible(), row.menu);
        if (shown.menu())
            shown.menu()->hide();
    }
}

TEST_F(HistoryRowTest, TheHoverButtonsShowOnlyUnderThePointerAndAClipboardPanelHasNoTranscript)
{
    HistoryEntry entry = dictation(QStringLiteral("copied text"));
    entry.kind = HistoryEntry::clipboardKind;
    HistoryRow& row = show(entry, Mode::Full);
    EXPECT_FALSE(row.copyButton()->isVisible());
    EXPECT_FALSE(row.removeButton()->isVisible());
    hover(row, true);
    EXPECT_TRUE(row.copyButton()->isVisible());
    EXPECT_TRUE(row.removeButton()->isVisible());
    hover(row, false);
    EXPECT_FALSE(row.removeButton()->isVisible());
    row.setExpanded(true);
    EXPECT_NE(row.panelCopyButton(), nullptr);
    EXPECT_EQ(row.panelCopyRawButton(), nullptr);
    EXPECT_FALSE(shownTexts(row).contains(QStringLiteral("Spoken")));
}

// In the narrow popover a compact row's text takes the row's whole width, its buttons beside the
// short meta line; a full row keeps them beside the text.
TEST_F(HistoryRowTest, ACompactRowsTextTakesTheRowsWholeWidth)
{
    for (const Mode mode : {Mode::Compact, Mode::Full}) {
        HistoryRow& row =
            show(dictation(QStringLiteral("Would it be all right to move our call to Thursday?")), mode);
        LineLimitedLabel* text = nullptr;
        for (LineLimitedLabel* label : row.findChildren<LineLimitedLabel*>())
            text = label->fullText() == row.entry().text ? label : text;
        ASSERT_TRUE(text);
        const int right = text->mapTo(&row, QPoint(text->width(), 0)).x();
        EXPECT_EQ(row.width() - right == row.layout()->contentsMargins().right(), mode == Mode::Compact);
    }
}

// Why the speech server wrote nothing stays with the entry, whole in its open panel.
TEST_F(HistoryRowTest, AnOpenEntrySaysWhyTheSpeechServerWroteNothing)
{
    HistoryEntry entry = dictation(QStringLiteral("final"));
    entry.serverFailure =
        QStringLiteral("The speech server at 10.0.0.5 refused the key (401): Incorrect API key "
                       "provided. You can find your API key in your account settings.");
    HistoryRow& row = show(entry, Mode::Full);
    row.setExpanded(true);
    EXPECT_TRUE(shownTexts(row).contains(
        L10n::format(QStringLiteral("notice.speechFallback"), {*entry.serverFailure})));
}

TEST_F(HistoryRowTest, CopyRawIsOfferedOnlyForADictationWhoseRawTranscriptDiffers)
{
    struct Row {
        const char* name;
        const char* kind;
        const char* raw;
        bool offered;
    };
    // clang-format off
    const Row rows[] = {
        {.name = "raw differs",         .kind = "",          .raw = "the words heard", .offered = true},
        {.name = "raw is the text",     .kind = "",          .raw = "final",           .offered = false},
        {.name = "clipboard text",      .kind = "clipboard", .raw = "the words heard", .offered = false},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        HistoryEntry entry = dictation(QStringLiteral("final"));
        entry.raw = QString::fromUtf8(row.raw);
        if (*row.kind)
            entry.kind = QString::fromUtf8(row.kind);
        HistoryRow& shown = show(entry, Mode::Full);
        shown.setExpanded(true);
        EXPECT_EQ(shown.panelCopyRawButton() != nullptr, row.offered);
        // The same row once its text is the raw transcript.
        entry.text = entry.raw;
        shown.setEntry(entry);
        EXPECT_EQ(shown.panelCopyRawButton(), nullptr);
    }
}

TEST_F(HistoryRowTest, AnEntryRemovedElsewhereIsNeitherCopiedNorRemovedAgain)
{
    HistoryEntry entry = dictation(QStringLiteral("gone"));
    entry.raw = QStringLiteral("gone heard");
    HistoryRow& row = show(entry, Mode::Full);
    row.setExpanded(true);
    row.setFocus(Qt::TabFocusReason);
    QTest::keyClick(&row, Qt::Key_Menu);
    ASSERT_NE(row.menu(), nullptr);
    const HistoryEntry other = dictation(QStringLiteral("other"));
    state().setHistory({other}); // removed elsewhere while the panel and the menu are open
    QFile::remove(historyPath());
    for (QAction* action : row.menu()->actions())
        action->trigger();
    row.panelCopyButton()->click();
    row.panelCopyRawButton()->click();
    row.panelRemoveButton()->click();
    QTest::keyClick(&row, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboardText(), QString());
    EXPECT_FALSE(row.copied());
    EXPECT_EQ(state().history(), QList<HistoryEntry>{other});
    EXPECT_FALSE(QFile::exists(historyPath())); // nothing was written for it
}

TEST_F(HistoryRowTest, RemoveDeletesTheEntryAndWritesTheFile)
{
    const HistoryEntry keep = dictation(QStringLiteral("keep"));
    const HistoryEntry drop = dictation(QStringLiteral("drop"));
    HistoryRow& row = show(drop, Mode::Full);
    state().setHistory({keep, drop});
    hover(row, true);
    row.removeButton()->click();
    EXPECT_EQ(state().history(), QList<HistoryEntry>{keep});
    EXPECT_EQ(storedHistory(), QList<HistoryEntry>{keep});
}

} // namespace

TEST_F(HistoryRowTest, ThePanelAndTheCopyMarkMoveOnTheClock)
{
    struct Case {
        const char* name;
        std::function<void(HistoryRow&)> act;
        std::function<double(HistoryRow&)> progress; // 0 before the change, 1 after it
        int durationMs;
    };
    const auto openness = [](HistoryRow& row) { return row.panel() ? row.panel()->openness() : 0.0; };
    const Case cases[] = {
        {.name = "panel opens",
         .act = [](HistoryRow& row) { row.setExpanded(true); },
         .progress = openness,
         .durationMs = Motion::expandMs},
        {.name = "panel closes",
         .act = [](HistoryRow& row) { row.setExpanded(false); },
         .progress = [openness](HistoryRow& row) { return 1 - openness(row); },
         .durationMs = Motion::expandMs},
        {.name = "mark goes",
         .act = [this](HistoryRow&) { m_clock.advance(HistoryRow::copyMarkMs - Motion::removeMs); },
         .progress = [](HistoryRow& row) { return 1 - row.copyButton()->opacity(); },
         .durationMs = Motion::standardMs},
    };
    AnimationsOn on;
    HistoryRow& row = show(dictation(QStringLiteral("final text")), Mode::Full);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (std::string_view(c.name) == "mark goes")
            row.copyButton()->click();
        m_clock.advance(Motion::removeMs);
        c.act(row);
        m_clock.advance(c.durationMs / 3);
        EXPECT_GT(c.progress(row), 0.05);
        EXPECT_LT(c.progress(row), 0.95);
        m_clock.advance(c.durationMs);
        EXPECT_DOUBLE_EQ(c.progress(row), 1);
    }
    EXPECT_FALSE(row.copyButton()->isVisible());
}
