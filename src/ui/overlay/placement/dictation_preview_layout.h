#pragma once

#include "core/model/dictation_preview.h"

#include <QFont>
#include <QFontMetricsF>
#include <QSize>
#include <QString>

// Measures the dictation preview card's text, so the panel is sized before the card lays it out.
// The card takes cardSize() and draws its text with font(), so panel and card cannot disagree.
class DictationPreviewLayout final {
public:
    // The card's header, hairline and bottom padding around its text block.
    static constexpr qreal chrome = 38.5 + 6;
    // The header's paddings, status icon, close button and gaps around its title; while working,
    // its wave and gap too.
    static constexpr qreal headerChrome = 84;
    static constexpr qreal waveChrome = 28 + 8;

    // The header's title for a status.
    static QString title(DictationPreviewStatus status);

    // In the overlay's dictated-text role.
    DictationPreviewLayout();
    explicit DictationPreviewLayout(const QFont& font);

    const QFont& font() const { return m_font; }
    // The text's one-line width plus padding, wide enough for the header's title, at least 168 and at
    // most maxWidth.
    qreal cardWidth(const QString& text, DictationPreviewStatus status, qreal maxWidth) const;
    // The wrapped text's height in a card of that width plus padding, at most maxTextHeight.
    qreal textBlockHeight(const QString& text, qreal cardWidth, qreal maxTextHeight) const;
    // The whole card in whole pixels, rounded up so no text is cut.
    QSize cardSize(const QString& text, DictationPreviewStatus status, qreal maxWidth,
                   qreal maxTextHeight) const;

private:
    QFont m_font;
    QFontMetricsF m_metrics;
    QFontMetricsF m_titleMetrics;
};
