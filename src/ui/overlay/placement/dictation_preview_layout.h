#pragma once

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

    // In the overlay's dictated-text role.
    DictationPreviewLayout();
    explicit DictationPreviewLayout(const QFont& font);

    const QFont& font() const { return m_font; }
    // The text's one-line width plus padding, at least 168 and at most maxWidth.
    qreal cardWidth(const QString& text, qreal maxWidth) const;
    // The wrapped text's height in a card of that width plus padding, at most maxTextHeight.
    qreal textBlockHeight(const QString& text, qreal cardWidth, qreal maxTextHeight) const;
    // The whole card in whole pixels, rounded up so no text is cut.
    QSize cardSize(const QString& text, qreal maxWidth, qreal maxTextHeight) const;

private:
    QFont m_font;
    QFontMetricsF m_metrics;
};
