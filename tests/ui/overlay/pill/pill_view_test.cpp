#include "ui/overlay/overlay_fixture.h"

#include "ui/kit/elided_label.h"
#include "ui/kit/line_limited_label.h"
#include "ui/kit/mirrored_waveform.h"
#include "ui/kit/symbol_view.h"
#include "ui/overlay/pill/icon_chip.h"
#include "ui/overlay/pill/listening_row.h"
#include "ui/overlay/pill/phase_content.h"
#include "ui/overlay/placement/dictation_preview_layout.h"
#include "ui/overlay/placement/overlay_sizes.h"

#include <QAccessible>
#include <QLabel>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>

namespace {

class PillTest : public OverlayFixture {
protected:
    // Symbols drawn in the phase row, plain views and button chips alike.
    QList<Symbol> rowSymbols()
    {
        QList<Symbol> symbols;
        for (const SymbolView* v : pill().content()->findChildren<SymbolView*>())
            symbols << v->symbol();
        for (const IconChip* c : pill().content()->findChildren<IconChip*>())
            symbols << *c->symbol();
        return symbols;
    }
};

TEST_F(PillTest, EachPhaseShowsItsRowInABarOfItsWidth)
{
    struct Case {
        const char* name;
        Phase phase;
        bool rewriting = false;
        QStringList texts;
        int width;
        bool handsFree = false;
        std::optional<Symbol> symbol = std::nullopt;
    };
    const QString longRaw = s("so this is what I said at the very beginning and then the newest words");
    const Case cases[] = {
        // The idle toolbar's only text is the hotkey's symbol.
        // clang-format off
        {.name = "hovered idle", .phase = Phase::idle(), .texts = {s("Ctrl")}, .width = 172},
        {.name = "hovered idle while rewriting", .phase = Phase::idle(), .rewriting = true, .texts = {s("Ctrl")}, .width = 220},
        {.name = "listening", .phase = Phase::listening(), .texts = {s("1:15")}, .width = 196, .symbol = Symbol::Stop},
        {.name = "listening hands-free", .phase = Phase::listening(), .texts = {s("1:15"), s("Hands-free · Ctrl twice stops · Esc cancels")}, .width = PillView::handsFreeWidth, .handsFree = true},
        {.name = "listening while rewriting", .phase = Phase::listening(), .rewriting = true, .texts = {s("1:15")}, .width = 196, .symbol = Symbol::Stop},
        {.name = "transcribing", .phase = Phase::transcribing(), .texts = {s("Recognising…")}, .width = 172},
        {.name = "polishing dictation", .phase = Phase::polishing(longRaw), .texts = {longRaw}, .width = 172, .symbol = Symbol::Sparkles},
        {.name = "polishing a command", .phase = Phase::polishing(s("Übersetze das")), .rewriting = true, .texts = {s("Translating…")}, .width = 220, .symbol = Symbol::Sparkles},
        {.name = "polishing an unspoken command", .phase = Phase::polishing(s("  ")), .rewriting = true, .texts = {s("Reworking the selection…")}, .width = 220, .symbol = Symbol::Sparkles},
        {.name = "translating", .phase = Phase::translating(s("pt")), .texts = {s("→ PT")}, .width = 172},
        {.name = "translating without code", .phase = Phase::translating({}), .texts = {s("→ ")}, .width = 172},
        {.name = "inserted", .phase = Phase::done(s("Hello there"), true), .texts = {s("Inserted"), s("Hello there")}, .width = 172, .symbol = Symbol::CheckCircle},
        {.name = "copied", .phase = Phase::done(s("Hello there"), false), .texts = {s("Copied"), s("Hello there")}, .width = 172, .symbol = Symbol::Clipboard},
        {.name = "failed", .phase = Phase::failed(s("No microphone")), .texts = {s("No microphone")}, .width = 172, .symbol = Symbol::Warning},
        {.name = "notice", .phase = Phase::notice(s("Select some text first")), .texts = {s("Select some text first")}, .width = 172, .symbol = Symbol::Info},
        // clang-format on
    };
    change([](QuendaConfig& c) { c.showWidget = true; });
    state().setWidgetHovered(true);
    state().setElapsed(75.4);
    for (const Case& c : cases) {
        state().setPhase(c.phase);
        state().setRewriting(c.rewriting);
        state().setHandsFree(c.handsFree);
        view();
        EXPECT_EQ(pill().size(), QSize(c.width, 38)) << c.name;
        EXPECT_EQ(shownTexts(*pill().content()), c.texts) << c.name;
        if (c.symbol) {
            EXPECT_TRUE(rowSymbols().contains(*c.symbol)) << c.name;
        }
        EXPECT_EQ(unnamedButtons(*pill().content()), QStringList()) << c.name;

        // The capsule is painted over the pill's whole width; outside the shadow's reach nothing is.
        const QImage image = renderTransparent(view());
        const QRect pillArea = pillRect();
        EXPECT_GT(paintedPixels(image, pillArea.adjusted(19, 2, -19, -2)),
                  (pillArea.width() - 38) * (pillArea.height() - 4) * 9 / 10)
            << c.name;
        const QRect shadowArea = pillArea.marginsAdded(SoftShadow::reach());
        EXPECT_EQ(paintedPixels(image, image.rect()) - paintedPixels(image, shadowArea), 0) << c.name;
    }
}

// An outcome the usual bar would cut takes the wide bar. A message wraps there, the bar and the
// panel around it growing with its lines; one past four lines there takes the message bar, and no
// message is cut, for eyes or for assistive tools.
TEST_F(PillTest, AnOutcomeTooLongForTheUsualBarTakesTheWidestAndAMessageWrapsInIt)
{
    struct Case {
        const char* name;
        Phase phase;
        int width;
        bool taller;
    };
    const QString twoLines = s("The speech engine did not answer in time.");
    const QString endless = QString(s("The engine could not be reached. ")).repeated(6);
    const QString fallback =
        L10n::format(s("notice.speechFallback"),
                     {s("The speech server at 192.168.1.20 refused the key (401): Incorrect API key "
                        "provided: sk-abc***. You "
                        "can find your API key at https://platform.openai.com/account/api-keys.")});
    const Case cases[] = {
        // clang-format off
        {.name = "a done text the usual cuts", .phase = Phase::done(s("See you at ten."), false),  .width = 220, .taller = false},
        {.name = "a failure of two lines",     .phase = Phase::failed(twoLines),                   .width = 220, .taller = true},
        {.name = "a notice of two lines",      .phase = Phase::notice(twoLines),                   .width = 220, .taller = true},
        {.name = "a failure past four lines",  .phase = Phase::failed(endless),                    .width = 360, .taller = true},
        {.name = "a speech server's words",    .phase = Phase::notice(fallback),                   .width = 360, .taller = true},
        // clang-format on
    };
    for (const Case& c : cases) {
        state().setPhase(c.phase);
        view();
        EXPECT_EQ(pill().width(), c.width) << c.name;
        EXPECT_EQ(pill().height() > 38, c.taller) << c.name;
        for (const ElidedLabel* text : pill().content()->findChildren<ElidedLabel*>())
            EXPECT_EQ(text->shownText(), text->text()) << c.name;
        for (const LineLimitedLabel* message : pill().content()->findChildren<LineLimitedLabel*>()) {
            EXPECT_EQ(message->text(), c.phase.message()) << c.name;
            EXPECT_EQ(QAccessible::queryAccessibleInterface(const_cast<LineLimitedLabel*>(message))
                          ->text(QAccessible::Name),
                      c.phase.message())
                << c.name;
            EXPECT_LE(message->heightForWidth(message->width()), pill().height()) << c.name;
        }
        // The panel holds the grown pill with the room it leaves a one-line bar.
        const QSizeF panel =
            OverlaySizes::panelSize(OverlayMode::Bar, OverlayInputs::of(state()), DictationPreviewLayout());
        EXPECT_EQ(panel.height() - pill().height(), 72 - 38) << c.name;
        EXPECT_EQ(panel.width() - pill().width(), 228 - 220) << c.name;
    }
}

TEST_F(PillTest, ADictationPreviewTakesTheTextOutOfTheRow)
{
    struct Case {
        const char* name;
        Phase phase;
        QStringList texts;
    };
    const Case cases[] = {
        {.name = "polishing", .phase = Phase::polishing(s("raw words")), .texts = {s("Recognised")}},
        {.name = "done", .phase = Phase::done(s("Hello there"), true), .texts = {s("Inserted")}},
    };
    state().setDictationPreview(DictationPreview{s("Hello there"), DictationPreviewStatus::Working, false});
    for (const Case& c : cases) {
        state().setPhase(c.phase);
        view();
        EXPECT_EQ(shownTexts(*pill().content()), c.texts) << c.name;
        EXPECT_FALSE(pill().isVisible()) << c.name << ": the preview card shows instead";
    }
}

TEST_F(PillTest, ListeningRowFollowsLevelsAndClockWithoutBeingRebuilt)
{
    state().setPhase(Phase::listening());
    view();
    auto* row = qobject_cast<ListeningRow*>(pill().content()->row());
    ASSERT_NE(row, nullptr);
    state().pushLevel(0.6);
    state().setElapsed(3.2);
    settle();
    EXPECT_EQ(pill().content()->row(), row);
    EXPECT_EQ(row->clockLabel()->text(), s("0:03"));
    EXPECT_DOUBLE_EQ(row->waveform()->shownHeights()[7], 0.6 * 20 + 3);
    EXPECT_EQ(row->waveform()->bars(), 15);
}

TEST_F(PillTest, ANonFiniteLevelIsDrawnAsSilenceNotAsABarOfNoHeight)
{
    state().setPhase(Phase::listening());
    view();
    auto* row = qobject_cast<ListeningRow*>(pill().content()->row());
    ASSERT_NE(row, nullptr);
    for (const double bad :
         {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
        state().pushLevel(0.5);
        state().pushLevel(bad);
        settle();
        const QList<double> heights = row->waveform()->shownHeights();
        for (qsizetype i = 0; i < heights.size(); ++i)
            ASSERT_TRUE(std::isfinite(heights[i])) << bad << " bar " << i;
        EXPECT_DOUBLE_EQ(heights[7], 3) << bad;
        EXPECT_DOUBLE_EQ(heights[6], 0.5 * 20 * (1 - 1.1 / 15) + 3) << bad;
        // The centre bar is drawn at the floor height, so the middle of the waveform has paint.
        const QImage image = renderTransparent(*row->waveform());
        EXPECT_GT(paintedPixels(image, QRect(33, 8, 6, 4)), 0) << bad;
    }
}

TEST_F(PillTest, StopChipStopsTheRecording)
{
    state().setPhase(Phase::listening());
    view();
    auto* row = qobject_cast<ListeningRow*>(pill().content()->row());
    ASSERT_NE(row, nullptr);
    row->stopChip()->click();
    EXPECT_EQ(m_commands.toggles, 1);
}

TEST_F(PillTest, IdleChipDrawsThreeBarsBrighterOnceTheEngineIsReady)
{
    change([](QuendaConfig& c) { c.showWidget = true; });
    view();
    ASSERT_TRUE(pill().isVisible());
    EXPECT_EQ(pill().size(), PillView::chipSize());
    const auto brightest = [&] {
        const QImage image = renderTransparent(pill());
        int best = 0;
        for (int y = 0; y < image.height(); ++y)
            best = std::max(best, qRed(image.pixel(image.width() / 2, y)));
        return best;
    };
    const int waiting = brightest();
    state().setEngineReady(true);
    settle();
    EXPECT_GT(brightest(), waiting + 30);
}

TEST_F(PillTest, ChipTooltipNamesTheHotkeyAndTheExpandedBarHasNone)
{
    struct Case {
        const char* hotkey;
        const char* symbol;
    };
    // An unknown stored key is watched as right Control on this desktop.
    const Case cases[] = {{.hotkey = "rightOption", .symbol = "Alt"},
                          {.hotkey = "capsLock", .symbol = "Ctrl"}};
    change([](QuendaConfig& c) { c.showWidget = true; });
    for (const Case& c : cases) {
        change([&](QuendaConfig& config) { config.hotkey = HotkeyText::table.decode(s(c.hotkey)); });
        view();
        EXPECT_EQ(pill().toolTip(), s("Hold ") + s(c.symbol) + s(" to dictate · drag to move")) << c.hotkey;
    }
    state().setWidgetHovered(true);
    view();
    EXPECT_TRUE(pill().toolTip().isEmpty());
}

} // namespace
