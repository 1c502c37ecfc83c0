#include "core/model/result_placement_anchor.h"

const QList<ResultPlacementAnchor>& ResultPlacementAnchorText::all()
{
    static const QList<ResultPlacementAnchor> anchors{
        ResultPlacementAnchor::TopLeading,   ResultPlacementAnchor::TopCenter,
        ResultPlacementAnchor::TopTrailing,  ResultPlacementAnchor::BottomLeading,
        ResultPlacementAnchor::BottomCenter, ResultPlacementAnchor::BottomTrailing};
    return anchors;
}

QString ResultPlacementAnchorText::rawValue(ResultPlacementAnchor anchor)
{
    switch (anchor) {
    case ResultPlacementAnchor::TopLeading:
        return QStringLiteral("topLeading");
    case ResultPlacementAnchor::TopCenter:
        return QStringLiteral("topCenter");
    case ResultPlacementAnchor::TopTrailing:
        return QStringLiteral("topTrailing");
    case ResultPlacementAnchor::BottomLeading:
        return QStringLiteral("bottomLeading");
    case ResultPlacementAnchor::BottomCenter:
        return QStringLiteral("bottomCenter");
    case ResultPlacementAnchor::BottomTrailing:
        return QStringLiteral("bottomTrailing");
    }
    return QStringLiteral("bottomCenter");
}

std::optional<ResultPlacementAnchor> ResultPlacementAnchorText::fromRaw(const QString& raw)
{
    for (const ResultPlacementAnchor anchor : all()) {
        if (rawValue(anchor) == raw)
            return anchor;
    }
    return std::nullopt;
}

ResultPlacementAnchor ResultPlacementAnchorText::fromStored(const QString& raw)
{
    return fromRaw(raw).value_or(ResultPlacementAnchor::BottomCenter);
}

bool ResultPlacementAnchorText::isTop(ResultPlacementAnchor anchor)
{
    return anchor == ResultPlacementAnchor::TopLeading || anchor == ResultPlacementAnchor::TopCenter ||
           anchor == ResultPlacementAnchor::TopTrailing;
}
