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
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    verticalScrollBar()->setFocusPolicy(Qt::NoFocus);
    setWidgetResizable(true);
    // The card's own fill shows through.
    setStyleSheet(
        QStringLiteral("QScrollArea, QScrollArea > QWidget > QWidget { background: transparent; }"));
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
    const int needed = m_label->heightForWidth(cardWidth);
    setFixedSize(cardWidth, std::min(std::max(needed, 0), maxHeight));
}

void CardTextBody::setTextBlock(const QString& text, int cardWidth, int height)
{
    m_label->setText(text);
    setFixedSize(cardWidth, height);
}

bool CardTextBody::scrolls() const
{
    return m_label->heightForWidth(width()) > height();
}
