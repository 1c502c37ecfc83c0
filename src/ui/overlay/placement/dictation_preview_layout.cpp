#include "ui/overlay/placement/dictation_preview_layout.h"

#include "core/text/l10n.h"
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
    , m_titleMetrics(KitFont::of(TextRole::CaptionStrong))
{
}

QString DictationPreviewLayout::title(DictationPreviewStatus status)
{
    switch (status) {
    case DictationPreviewStatus::Working:
        return L10n::s("overlay.preview.recognized");
    case DictationPreviewStatus::Inserted:
        return L10n::s("overlay.preview.inserted");
    case DictationPreviewStatus::Copied:
        return L10n::s("overlay.preview.copied");
    case DictationPreviewStatus::ReplacedCopy:
        return L10n::s("overlay.preview.replacedCopy");
    }
    return {};
}

qreal DictationPreviewLayout::cardWidth(const QString& text, DictationPreviewStatus status,
                                        qreal maxWidth) const
{
    const qreal header = std::ceil(m_titleMetrics.horizontalAdvance(title(status))) + headerChrome +
                         (status == DictationPreviewStatus::Working ? waveChrome : 0);
    const qreal width = std::max(std::ceil(m_metrics.size(0, text).width()) + padding, header);
    return std::min(maxWidth, std::max(minimumWidth, width));
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

QSize DictationPreviewLayout::cardSize(const QString& text, DictationPreviewStatus status, qreal maxWidth,
                                       qreal maxTextHeight) const
{
    const qreal width = cardWidth(text, status, maxWidth);
    const qreal block = textBlockHeight(text, width, maxTextHeight);
    return {static_cast<int>(std::ceil(width)), static_cast<int>(std::ceil(block + chrome))};
}
