#include "ui/overlay/placement/dictation_preview_layout.h"

#include "ui/kit/kit_font.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr qreal padding = 28;
constexpr qreal verticalPadding = 24;
constexpr qreal lineGap = 3;
constexpr qreal minimumWidth = 168;

} // namespace

DictationPreviewLayout::DictationPreviewLayout()
    : DictationPreviewLayout(KitFont::of(TextRole::LeadMedium))
{
}

DictationPreviewLayout::DictationPreviewLayout(const QFont& font)
    : m_font(font)
    , m_metrics(font)
{
}

qreal DictationPreviewLayout::cardWidth(const QString& text, qreal maxWidth) const
{
    const qreal width = m_metrics.size(0, text).width();
    return std::min(maxWidth, std::max(minimumWidth, std::ceil(width) + padding));
}

qreal DictationPreviewLayout::textBlockHeight(const QString& text, qreal cardWidth, qreal maxTextHeight) const
{
    // Tall enough that no text is cut: the height is capped below, never by the measuring box.
    constexpr qreal unbounded = 1e7;
    const QRectF box(0, 0, std::max(cardWidth - padding, qreal(1)), unbounded);
    const qreal bounds = m_metrics.boundingRect(box, Qt::TextWordWrap, text).height();
    const qreal lineHeight =
        std::max(m_metrics.ascent() + m_metrics.descent() + m_metrics.leading(), qreal(1));
    const qreal lines = std::ceil(bounds / lineHeight);
    const qreal textHeight = lines > 1 ? bounds + (lines - 1) * lineGap : bounds;
    return std::min(maxTextHeight, std::max(std::ceil(textHeight) + verticalPadding,
                                            std::ceil(lineHeight) + verticalPadding));
}

QSize DictationPreviewLayout::cardSize(const QString& text, qreal maxWidth, qreal maxTextHeight) const
{
    const qreal width = cardWidth(text, maxWidth);
    const qreal block = textBlockHeight(text, width, maxTextHeight);
    return {static_cast<int>(std::ceil(width)), static_cast<int>(std::ceil(block + chrome))};
}
