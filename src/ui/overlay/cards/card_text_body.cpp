#include "ui/overlay/cards/card_text_body.h"

#include "ui/kit/theme.h"
#include "ui/overlay/cards/card_parts.h"

#include <QLabel>
#include <QScrollBar>

#include <algorithm>

CardTextBody::CardTextBody(QWidget* parent)
    : QScrollArea(parent)
    , m_label(CardParts::label(QString(), TextRole::LeadMedium, Theme::white(0.92), nullptr, true))
{
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::NoFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // A bar shown only as needed would narrow the text, which then wraps onto one more line and
    // needs the bar for good: whether the text scrolls is decided from its measure instead.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    verticalScrollBar()->setFocusPolicy(Qt::NoFocus);
    setWidgetResizable(true);
    // The card's own fill shows through; the bar is a thin light handle without arrows, kept off the
    // card's rounded bottom corner.
    setStyleSheet(QStringLiteral(
        "QScrollArea, QScrollArea > QWidget > QWidget { background: transparent; }"
        "QScrollBar:vertical { background: transparent; width: 10px; margin: 2px 4px 10px 2px; }"
        "QScrollBar::handle:vertical { background: rgba(255, 255, 255, 64); border-radius: 2px;"
        " min-height: 24px; }"
        "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; border: none; }"
        "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: none; }"));
    viewport()->setAutoFillBackground(false);
    m_label->setWordWrap(true);
    m_label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_label->setContentsMargins(CardParts::padding, verticalPadding, CardParts::padding, verticalPadding);
    m_label->setAutoFillBackground(false);
    setWidget(m_label);
}

void CardTextBody::setText(const QString& text, int cardWidth, int maxHeight)
{
    m_label->setText(text);
    const int needed = std::max(m_label->heightForWidth(cardWidth), 0);
    setVerticalScrollBarPolicy(needed > maxHeight ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    setFixedSize(cardWidth, std::min(needed, maxHeight));
}

void CardTextBody::setTextBlock(const QString& text, int cardWidth, int height, bool scrolls)
{
    m_label->setText(text);
    setVerticalScrollBarPolicy(scrolls ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    setFixedSize(cardWidth, height);
}

bool CardTextBody::scrolls() const
{
    return verticalScrollBar()->isVisibleTo(this);
}
