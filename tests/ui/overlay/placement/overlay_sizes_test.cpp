#include "test_text.h"
#include "ui/overlay/geometry_printer.h"

#include "ui/overlay/placement/dictation_preview_layout.h"
#include "ui/overlay/placement/overlay_sizes.h"

#include <gtest/gtest.h>

// A note preview is small only alone, and a size name the settings never write must not give a
// card of no size.
TEST(OverlaySizes, CardsTakeTheConfiguredSizeAndANotePreviewAloneItsOwn)
{
    struct Case {
        const char* name;
        std::optional<OverlayInputs> in;
        QSizeF size;
    };
    const Case cases[] = {
        {.name = "note preview alone",
         .in = OverlayInputs{.hasNotePreview = true, .overlayResultSize = s("large")},
         .size = {320, 166}},
        {.name = "note preview with a result takes the card",
         .in = OverlayInputs{.hasResult = true, .hasNotePreview = true, .overlayResultSize = s("large")},
         .size = {640, 680}},
        {.name = "compact card",
         .in = OverlayInputs{.hasResult = true, .overlayResultSize = s("compact")},
         .size = {400, 440}},
        {.name = "unknown size is regular",
         .in = OverlayInputs{.hasResult = true, .overlayResultSize = s("Large")},
         .size = {520, 560}},
        {.name = "empty size is regular",
         .in = OverlayInputs{.hasResult = true, .overlayResultSize = QString()},
         .size = {520, 560}},
        {.name = "state gone", .in = std::nullopt, .size = {520, 560}},
    };
    const DictationPreviewLayout layout;
    for (const Case& c : cases)
        EXPECT_EQ(OverlaySizes::panelSize(OverlayMode::Result, c.in, layout), c.size) << c.name;
}

// Whatever the font's sizes, a preview card is never narrower than its minimum, never wider than the
// result size allows, and a long text stops growing at the size's text height.
TEST(OverlaySizes, PreviewCardsStayWithinTheirResultSizesBounds)
{
    struct Case {
        const char* name;
        QString resultSize;
        QString text;
        qreal width;
        std::optional<qreal> height;
    };
    const QString longText = QString(s("dictated words ")).repeated(300);
    const Case cases[] = {
        {.name = "one word", .resultSize = s("regular"), .text = s("Hi"), .width = 168, .height = {}},
        {.name = "long, compact", .resultSize = s("compact"), .text = longText, .width = 360, .height = 343},
        {.name = "long, regular", .resultSize = s("regular"), .text = longText, .width = 480, .height = 423},
        {.name = "long, large", .resultSize = s("large"), .text = longText, .width = 600, .height = 523},
    };
    const DictationPreviewLayout layout;
    for (const Case& c : cases) {
        const QSizeF size = OverlaySizes::panelSize(
            OverlayMode::Result, OverlayInputs{.previewText = c.text, .overlayResultSize = c.resultSize},
            layout);
        EXPECT_EQ(size.width(), c.width) << c.name;
        if (c.height)
            EXPECT_EQ(size.height(), *c.height) << c.name;
        else
            EXPECT_LT(size.height(), 166) << c.name;
    }
}
