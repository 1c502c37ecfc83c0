#include "test_text.h"
#include "ui/overlay/geometry_printer.h"

#include "ui/overlay/pill/pill_view.h"
#include "ui/overlay/placement/dictation_preview_layout.h"
#include "ui/overlay/placement/overlay_sizes.h"

#include <gtest/gtest.h>

// A note preview is small only alone.
TEST(OverlaySizes, CardsTakeTheConfiguredSizeAndANotePreviewAloneItsOwn)
{
    struct Case {
        const char* name;
        std::optional<OverlayInputs> in;
        QSizeF size;
    };
    const Case cases[] = {
        // clang-format off
        {.name = "note preview alone", .in = OverlayInputs{.hasNotePreview = true, .overlayResultSize = OverlayResultSize::Large}, .size = {320, 166}},
        {.name = "note preview with a result takes the card", .in = OverlayInputs{.hasResult = true, .hasNotePreview = true, .overlayResultSize = OverlayResultSize::Large}, .size = {640, 680}},
        {.name = "compact card", .in = OverlayInputs{.hasResult = true, .overlayResultSize = OverlayResultSize::Compact}, .size = {400, 440}},
        {.name = "state gone", .in = std::nullopt, .size = {520, 560}},
        // clang-format on
    };
    const DictationPreviewLayout layout;
    for (const Case& c : cases)
        EXPECT_EQ(OverlaySizes::panelSize(OverlayMode::Result, c.in, layout), c.size) << c.name;
}

// A hands-free recording's bar says how to stop, so its panel must hold the wider bar.
TEST(OverlaySizes, TheBarsPanelHoldsAHandsFreeBarOnlyWhileItRecords)
{
    struct Case {
        const char* name;
        OverlayInputs in;
        bool wide;
    };
    const Case cases[] = {
        // clang-format off
        {.name = "hands-free", .in = {.phase = Phase::Kind::Listening, .handsFree = true}, .wide = true},
        {.name = "held",       .in = {.phase = Phase::Kind::Listening},                    .wide = false},
        {.name = "stopped",    .in = {.phase = Phase::Kind::Transcribing, .handsFree = true}, .wide = false},
        // clang-format on
    };
    const DictationPreviewLayout layout;
    for (const Case& c : cases) {
        const qreal width = OverlaySizes::panelSize(OverlayMode::Bar, c.in, layout).width();
        EXPECT_EQ(width >= PillView::handsFreeWidth, c.wide) << c.name;
    }
}

// Whatever the font's sizes, a preview card is never narrower than its minimum, never wider than the
// result size allows, and a long text stops growing at the size's text height.
TEST(OverlaySizes, PreviewCardsStayWithinTheirResultSizesBounds)
{
    struct Case {
        const char* name;
        OverlayResultSize resultSize;
        QString text;
        qreal width;
        std::optional<qreal> height;
    };
    const QString longText = QString(s("dictated words ")).repeated(300);
    const Case cases[] = {
        // clang-format off
        {.name = "one word", .resultSize = OverlayResultSize::Regular, .text = s("Hi"), .width = 168, .height = {}},
        {.name = "long, compact", .resultSize = OverlayResultSize::Compact, .text = longText, .width = 360, .height = 343},
        {.name = "long, regular", .resultSize = OverlayResultSize::Regular, .text = longText, .width = 480, .height = 423},
        {.name = "long, large", .resultSize = OverlayResultSize::Large, .text = longText, .width = 600, .height = 523},
        // clang-format on
    };
    const DictationPreviewLayout layout;
    for (const Case& c : cases) {
        // A short title, so the text alone sets the width.
        const QSizeF size =
            OverlaySizes::panelSize(OverlayMode::Result,
                                    OverlayInputs{.previewText = c.text,
                                                  .previewStatus = DictationPreviewStatus::Inserted,
                                                  .overlayResultSize = c.resultSize},
                                    layout);
        EXPECT_EQ(size.width(), c.width) << c.name;
        if (c.height)
            EXPECT_EQ(size.height(), *c.height) << c.name;
        else
            EXPECT_LT(size.height(), 166) << c.name;
    }
}
