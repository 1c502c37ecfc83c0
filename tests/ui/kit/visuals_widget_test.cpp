#include "widget_helpers.h"

#include "platform/fake/manual_clock.h"
#include "ui/kit/elided_label.h"
#include "ui/kit/kit_font.h"
#include "ui/kit/line_limited_label.h"
#include "ui/kit/mirrored_waveform.h"
#include "ui/kit/pulsing_dot.h"
#include "ui/kit/soft_shadow.h"
#include "ui/kit/spinner.h"
#include "ui/kit/symbol.h"
#include "ui/kit/thinking_wave.h"

#include <QFontMetricsF>
#include <QPainter>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

// Counts the paints a widget receives.
class PaintCounter final : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

TEST(Visuals, AnimatedVisualsRunATimerOnlyWhileShownAndNoneWithAnimationsOff)
{
    struct Case {
        const char* name;
        std::function<std::unique_ptr<QWidget>(Clock&)> make;
    };
    const Case cases[] = {
        {.name = "dot", .make = [](Clock& c) { return std::make_unique<PulsingDot>(c); }},
        {.name = "wave", .make = [](Clock& c) { return std::make_unique<ThinkingWave>(c, 7, Qt::white); }},
        {.name = "spinner", .make = [](Clock& c) { return std::make_unique<Spinner>(c, 14); }},
    };
    for (const Case& c : cases) {
        ManualClock clock;
        {
            AnimationsOn on;
            auto widget = c.make(clock);
            EXPECT_EQ(clock.pendingCount(), 0) << c.name << ": a widget never shown costs nothing";
            widget->show();
            EXPECT_EQ(clock.pendingCount(), 1) << c.name;
            widget->hide();
            EXPECT_EQ(clock.pendingCount(), 0) << c.name << ": hidden, it still ticks";
            widget->show();
            EXPECT_EQ(clock.pendingCount(), 1) << c.name;
        }
        EXPECT_EQ(clock.pendingCount(), 0) << c.name << ": destroyed, it still ticks";
        auto still = c.make(clock);
        still->show();
        EXPECT_EQ(clock.pendingCount(), 0) << c.name << ": animations off, yet a timer runs";
    }
}

TEST(Visuals, AnimatedVisualsRepaintAtTheirOwnRateOfTheClock)
{
    struct Case {
        const char* name;
        std::function<std::unique_ptr<QWidget>(Clock&)> make;
        int least; // paints in one second of the clock
        int most;
    };
    // clang-format off
    const Case cases[] = {
        {.name = "wave",    .make = [](Clock& c) { return std::make_unique<ThinkingWave>(c, 7, Qt::white); }, .least = 25, .most = 30},
        {.name = "spinner", .make = [](Clock& c) { return std::make_unique<Spinner>(c, 14); },                .least = 12, .most = 13},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AnimationsOn on;
        ManualClock clock;
        auto widget = c.make(clock);
        widget->show();
        settle();
        PaintCounter counter;
        widget->installEventFilter(&counter);
        for (int ms = 0; ms < 1000; ++ms) {
            clock.advance(1);
            settle();
        }
        EXPECT_LE(counter.paints, c.most);
        EXPECT_GE(counter.paints, c.least);
    }
}

TEST(Visuals, NewLevelsEaseInOverATenthOfASecondAndJumpWithAnimationsOff)
{
    ManualClock clock;
    {
        AnimationsOn on;
        MirroredWaveform waveform(clock, 3, Qt::white);
        waveform.show();
        waveform.setLevels({1});
        EXPECT_DOUBLE_EQ(waveform.shownHeights()[1], 3);
        clock.advance(50);
        EXPECT_GT(waveform.shownHeights()[1], 3);
        EXPECT_LT(waveform.shownHeights()[1], 23);
        clock.advance(60);
        EXPECT_DOUBLE_EQ(waveform.shownHeights()[1], 23);
        clock.advance(16); // the frame that notices the end
        EXPECT_EQ(clock.pendingCount(), 0) << "the ease ended but its timer runs on";
        // Interrupted half way, the next ease starts where the bars are, not where they were going.
        waveform.setLevels({0});
        clock.advance(50);
        const double halfway = waveform.shownHeights()[1];
        waveform.setLevels({1});
        EXPECT_DOUBLE_EQ(waveform.shownHeights()[1], halfway);
    }
    MirroredWaveform still(clock, 3, Qt::white);
    still.show();
    still.setLevels({1});
    EXPECT_DOUBLE_EQ(still.shownHeights()[1], 23);
    EXPECT_EQ(clock.pendingCount(), 0);
}

TEST(Visuals, SoftShadowIsBlurredOncePerSizeAndFollowsTheStylesOutline)
{
    SoftShadow bar(SoftShadowStyle::Bar);
    SoftShadow menu(SoftShadowStyle::Menu);
    const QMargins reach = SoftShadow::reach();
    QImage canvas(300, 120, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    {
        QPainter p(&canvas);
        bar.paint(p, QRectF(40, 30, 172, 38));
        bar.paint(p, QRectF(60, 40, 172, 38));
        EXPECT_EQ(bar.cachedCount(), 1) << "the same size was blurred twice";
        bar.paint(p, QRectF(40, 30, 36, 19));
        EXPECT_EQ(bar.cachedCount(), 2);
    }
    const QImage shadow = bar.pixmap({172, 38}, 1).toImage();
    ASSERT_EQ(shadow.size(), QSize(172, 38).grownBy(reach));
    // Falls off below the shape and is gone at the image's border.
    const int centreX = reach.left() + 86;
    const int below = reach.top() + 38;
    EXPECT_GT(qAlpha(shadow.pixel(centreX, below + 1)), qAlpha(shadow.pixel(centreX, below + 8)));
    EXPECT_GT(qAlpha(shadow.pixel(centreX, below + 1)), 20);
    EXPECT_LE(qAlpha(shadow.pixel(centreX, shadow.height() - 1)), 1);
    EXPECT_EQ(qAlpha(shadow.pixel(0, 0)), 0);
    // Black only: a shadow never tints what lies under it.
    EXPECT_EQ(qRed(shadow.pixel(centreX, below + 1)), 0);
    // A capsule's corner is rounder than the menu's radius of 14.
    const QImage square = menu.pixmap({172, 38}, 1).toImage();
    const QPoint corner(reach.left() + 2, reach.top() + 2);
    EXPECT_LT(qAlpha(shadow.pixel(corner)), qAlpha(square.pixel(corner)));
}

TEST(Visuals, EverySymbolHasAnOutlineOfItsOwnAndGradientFillsSpanTheSymbol)
{
    for (const Symbol symbol : {Symbol::Stop, Symbol::CheckCircle, Symbol::Clipboard, Symbol::Warning,
                                Symbol::Info, Symbol::Sparkles}) {
        const QImage mask = SymbolArt::mask(symbol, {22, 22}, false);
        const int painted = paintedPixels(mask, mask.rect());
        EXPECT_GT(painted, 22 * 22 / 10) << static_cast<int>(symbol);
        EXPECT_LT(painted, 22 * 22) << static_cast<int>(symbol);
    }
    QLinearGradient fill(0, 0, 0, 1);
    fill.setCoordinateMode(QGradient::ObjectBoundingMode);
    fill.setColorAt(0, Qt::blue);
    fill.setColorAt(1, Qt::red);
    const QImage stop = SymbolArt::tinted(Symbol::Stop, {40, 40}, fill, false);
    const QColor top = QColor::fromRgba(stop.pixel(20, 8));
    const QColor bottom = QColor::fromRgba(stop.pixel(20, 31));
    EXPECT_GT(top.blue(), top.red());
    EXPECT_GT(bottom.red(), bottom.blue());
}

TEST(Visuals, ElidedLabelKeepsTheChosenEndOfALongText)
{
    const QString text = QStringLiteral("the beginning of a long transcript and its newest words at the end");
    ElidedLabel head(text, Qt::ElideLeft);
    head.resize(120, 16);
    EXPECT_TRUE(head.shownText().startsWith(u'…'));
    EXPECT_TRUE(text.endsWith(head.shownText().mid(1)));
    EXPECT_EQ(head.text(), text);
    ElidedLabel tail(QStringLiteral("first line\nsecond line"), Qt::ElideRight);
    tail.resize(1000, 16);
    EXPECT_EQ(tail.shownText(), QStringLiteral("first line second line"));
}

// The height a limited text asks for holds every line it shows as the label paints them: painted
// lines are whole pixels apart, more than the font's spacing, so many lines outgrow a count times it.
TEST(Visuals, ALimitedTextIsAsHighAsItsLinesArePainted)
{
    for (const TextRole role : {TextRole::CalloutMedium, TextRole::Caption, TextRole::Body}) {
        for (const int count : {1, 2, 5, 8}) {
            QStringList lines;
            for (int i = 0; i < count; ++i)
                lines << QStringLiteral("Best regards");
            LineLimitedLabel label(20);
            label.setFont(KitFont::of(role));
            label.setFullText(lines.join(u'\n'));
            const QRectF painted =
                QFontMetricsF(label.font())
                    .boundingRect(QRectF(0, 0, 200, 1000), Qt::TextWordWrap, label.fullText());
            EXPECT_GE(label.heightForWidth(200), painted.height()) << count << " lines";
            EXPECT_LT(label.heightForWidth(200), painted.height() + count) << count << " lines";
        }
    }
}

// A limited text shows no more than its lines, says with an ellipsis that it goes on, and leaves a
// text that fits exactly as it was, its own line breaks included.
TEST(Visuals, LineLimitedTextStopsAtItsLastLineWithAnEllipsis)
{
    struct Case {
        const char* name;
        QString text;
        int maxLines;
        int shownLines;
        bool cut;
    };
    const QString words = QString(QStringLiteral("several spoken words ")).repeated(40);
    const Case cases[] = {
        // clang-format off
        {.name = "short", .text = QStringLiteral("Buy milk"), .maxLines = 4, .shownLines = 1, .cut = false},
        {.name = "own breaks within the limit", .text = QStringLiteral("one\ntwo"), .maxLines = 2, .shownLines = 2, .cut = false},
        {.name = "own breaks past the limit", .text = QStringLiteral("one\ntwo\nthree"), .maxLines = 2, .shownLines = 2, .cut = true},
        {.name = "long, two lines", .text = words, .maxLines = 2, .shownLines = 2, .cut = true},
        {.name = "long, five lines", .text = words, .maxLines = 5, .shownLines = 5, .cut = true},
        {.name = "one unbroken word", .text = QString(300, QLatin1Char('x')), .maxLines = 2, .shownLines = 2, .cut = true},
        // clang-format on
    };
    QFont font;
    font.setPixelSize(13);
    const qreal width = 200;
    const QFontMetricsF metrics(font);
    for (const Case& c : cases) {
        const QString shown = LineLimitedLabel::fit(c.text, font, width, c.maxLines);
        const QStringList lines = shown.split(QLatin1Char('\n'));
        EXPECT_EQ(lines.size(), c.shownLines) << c.name << ": " << qPrintable(shown);
        EXPECT_EQ(shown.endsWith(QChar(0x2026)), c.cut) << c.name << ": " << qPrintable(shown);
        if (!c.cut) {
            EXPECT_EQ(shown, c.text) << c.name;
        }
        for (const QString& line : lines)
            EXPECT_LE(metrics.horizontalAdvance(line), width) << c.name << ": " << qPrintable(line);
    }

    // The label is only as high as its shown lines, and keeps the whole text.
    LineLimitedLabel label(2);
    label.setFont(font);
    label.setFullText(words);
    label.resize(200, label.heightForWidth(200));
    EXPECT_EQ(label.fullText(), words);
    EXPECT_TRUE(label.text().endsWith(QChar(0x2026)));
    EXPECT_LE(label.height(), std::ceil(2 * metrics.lineSpacing()));

    // Sizing at a width it has fitted to, or asking again, lays out nothing new.
    const int fitted = LineLimitedLabel::fitsMade();
    EXPECT_EQ(label.heightForWidth(200), label.height());
    label.resize(200, label.height() + 10);
    EXPECT_EQ(LineLimitedLabel::fitsMade(), fitted);
    label.setFullText(words + words);
    EXPECT_EQ(LineLimitedLabel::fitsMade(), fitted + 1);
    label.heightForWidth(200);
    EXPECT_EQ(LineLimitedLabel::fitsMade(), fitted + 1);
}

} // namespace
