#include "test_text.h"

#include "core/model/overlay_result_size.h"
#include "core/model/result_placement_anchor.h"

#include <gtest/gtest.h>

TEST(ResultOptions, RawValuesRoundTripInOrderAndAreCaseSensitive)
{
    QStringList sizes;
    for (const OverlayResultSize size : OverlayResultSizeText::all()) {
        sizes << OverlayResultSizeText::rawValue(size);
        EXPECT_EQ(OverlayResultSizeText::fromRaw(OverlayResultSizeText::rawValue(size)), size);
    }
    EXPECT_EQ(sizes.join(u','), s("compact,regular,large"));

    QStringList anchors;
    for (const ResultPlacementAnchor anchor : ResultPlacementAnchorText::all()) {
        anchors << ResultPlacementAnchorText::rawValue(anchor);
        EXPECT_EQ(ResultPlacementAnchorText::fromRaw(ResultPlacementAnchorText::rawValue(anchor)), anchor);
    }
    EXPECT_EQ(anchors.join(u','),
              s("topLeading,topCenter,topTrailing,bottomLeading,bottomCenter,bottomTrailing"));

    for (const char* raw : {"Large", "", " regular", "medium"})
        EXPECT_FALSE(OverlayResultSizeText::fromRaw(s(raw))) << raw;
    for (const char* raw : {"TopCenter", "", "top", "centre"})
        EXPECT_FALSE(ResultPlacementAnchorText::fromRaw(s(raw))) << raw;
}

TEST(ResultOptions, StoredValuesNamingNoCaseFallBackToRegularAtTheBottomCentre)
{
    EXPECT_EQ(OverlayResultSizeText::fromStored(s("Large")), OverlayResultSize::Regular);
    EXPECT_EQ(ResultPlacementAnchorText::fromStored(s("nowhere")), ResultPlacementAnchor::BottomCenter);
}
