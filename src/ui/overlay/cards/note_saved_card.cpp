#include "ui/overlay/cards/note_saved_card.h"

#include "core/text/l10n.h"
#include "ui/kit/elided_label.h"
#include "ui/kit/line_limited_label.h"
#include "ui/kit/theme.h"
#include "ui/overlay/cards/card_icon_button.h"
#include "ui/overlay/cards/card_parts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainterPath>
#include <QVBoxLayout>

NoteSavedCard::NoteSavedCard(Clock& clock, QWidget* parent)
    : TimedCard(clock, parent)
    , m_place(new ElidedLabel(QString(), Qt::ElideRight, this))
    , m_text(CardParts::wrapped(QString(), TextRole::BodyMedium, Theme::white(0.92), 4, this, false))
    , m_close(CardIconButton::close(this))
{
    setFixedSize(size);
    setCursor(Qt::PointingHandCursor);
    using CardParts::padding;

    auto* header = new QHBoxLayout;
    header->setSpacing(8);
    header->setContentsMargins(padding, 12, padding, 2);
    header->addWidget(CardParts::gradientSymbol(Symbol::Note, 10, this));
    header->addWidget(CardParts::label(L10n::s(QStringLiteral("overlay.note.title")), TextRole::CaptionStrong,
                                       Theme::white(0.55), this));
    header->addSpacerItem(new QSpacerItem(4, 0, QSizePolicy::Expanding, QSizePolicy::Minimum));
    // Keeps the title clear of the close button that lies over the card.
    header->addSpacerItem(new QSpacerItem(CardIconButton::side, CardIconButton::side));
    rows()->addLayout(header);

    m_place->setFont(KitFont::of(TextRole::CaptionMedium));
    m_place->setColor(Theme::white(0.4));
    m_place->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    m_place->setAttribute(Qt::WA_TransparentForMouseEvents);
    auto* place = new QHBoxLayout;
    place->setContentsMargins(padding, 0, padding, 6);
    place->addWidget(m_place);
    rows()->addLayout(place);

    auto* text = new QHBoxLayout;
    text->setContentsMargins(padding, 0, padding, 10);
    text->addWidget(m_text, 1, Qt::AlignTop);
    rows()->addLayout(text, 1);

    m_close->move(size.width() - 10 - CardIconButton::side, 10);
    m_close->raise();
    // Lies over the card, so a click on it closes without opening.
    connect(m_close, &CardIconButton::clicked, this, &TimedCard::closeRequested);
}

void NoteSavedCard::setContent(const QString& text, const QString& place, int dismissSeconds)
{
    m_text->setFullText(text);
    m_place->setText(place);
    restartFor(text + QLatin1Char('\n') + place, dismissSeconds);
}

void NoteSavedCard::mousePressEvent(QMouseEvent* event)
{
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()), CardParts::radius, CardParts::radius);
    m_pressed = event->button() == Qt::LeftButton && shape.contains(event->position());
    if (!m_pressed)
        event->ignore();
}

void NoteSavedCard::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click =
        m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    if (click)
        emit openRequested();
}
