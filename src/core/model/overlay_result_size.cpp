#include "core/model/overlay_result_size.h"

const QList<OverlayResultSize>& OverlayResultSizeText::all()
{
    static const QList<OverlayResultSize> sizes{OverlayResultSize::Compact, OverlayResultSize::Regular,
                                                OverlayResultSize::Large};
    return sizes;
}

QString OverlayResultSizeText::rawValue(OverlayResultSize size)
{
    switch (size) {
    case OverlayResultSize::Compact:
        return QStringLiteral("compact");
    case OverlayResultSize::Regular:
        return QStringLiteral("regular");
    case OverlayResultSize::Large:
        return QStringLiteral("large");
    }
    return QStringLiteral("regular");
}

std::optional<OverlayResultSize> OverlayResultSizeText::fromRaw(const QString& raw)
{
    for (const OverlayResultSize size : all()) {
        if (rawValue(size) == raw)
            return size;
    }
    return std::nullopt;
}

OverlayResultSize OverlayResultSizeText::fromStored(const QString& raw)
{
    return fromRaw(raw).value_or(OverlayResultSize::Regular);
}
