#include "ui/overlay/cards/overlay_result_card.h"

#include "core/text/l10n.h"
#include "ui/kit/line_limited_label.h"
#include "ui/kit/theme.h"
#include "ui/overlay/cards/card_icon_button.h"
#include "ui/overlay/cards/card_parts.h"
#include "ui/overlay/cards/card_text_body.h"
#include "ui/overlay/placement/overlay_sizes.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

OverlayResultCard::OverlayResultCard(Clock& clock, QWidget* parent)
    : TimedCard(clock, parent)
    , m_copy(new CardIconButton(Symbol::Copy, L10n::s(QStringLiteral("overlay.result.copy")), 0.7, this))
    , m_close(CardIconButton::close(this))
    , m_command(CardParts::wrapped(QString(), TextRole::CaptionMedium, Theme::white(0.4), 2, nullptr, true))
    , m_commandRow(new QWidget(this))
    , m_body(new CardTextBody(this))
{
    using CardParts::padding;
    auto* header = new QHBoxLayout;
    header->setSpacing(8);
    header->setContentsMargins(padding, 12, padding, 6);
    header->addWidget(CardParts::gradientSymbol(Symbol::Sparkles, 10, this));
    header->addWidget(CardParts::label(L10n::s(QStringLiteral("overlay.result.title")),
                                       TextRole::CaptionStrong, Theme::white(0.55), this));
    header->addStretch(1);
    m_copy->setToolTip(L10n::s(QStringLiteral("overlay.result.copy")));
    header->addWidget(m_copy);
    header->addWidget(m_close);
    rows()->addLayout(header);

    auto* command = new QHBoxLayout(m_commandRow);
    command->setContentsMargins(padding, 0, padding, 8);
    command->addWidget(m_command);
    rows()->addWidget(m_commandRow);

    addBody(m_body);

    connect(m_copy, &CardIconButton::clicked, this, &OverlayResultCard::copyRequested);
    connect(m_close, &CardIconButton::clicked, this, &TimedCard::closeRequested);
}

void OverlayResultCard::setContent(const QString& command, const QString& text, OverlayResultSize size,
                                   int dismissSeconds)
{
    const OverlaySizes::ResultSize sizes = OverlaySizes::resultSize(size);
    const int width = sizes.cardWidth;
    setFixedWidth(width);
    m_command->setFullText(command);
    m_commandRow->setVisible(!command.isEmpty());
    m_body->setText(text, width, sizes.maxTextHeight);
    restartFor(command + QLatin1Char('\n') + text, dismissSeconds);
}
