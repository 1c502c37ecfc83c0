#include "ui/overlay/cards/dictation_preview_card.h"

#include "ui/kit/symbol_view.h"
#include "ui/kit/theme.h"
#include "ui/kit/thinking_wave.h"
#include "ui/overlay/cards/card_icon_button.h"
#include "ui/overlay/cards/card_parts.h"
#include "ui/overlay/cards/card_rules.h"
#include "ui/overlay/cards/card_text_body.h"
#include "ui/overlay/placement/overlay_sizes.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <cmath>

namespace {

struct StatusLook {
    Symbol icon;
    QColor color;
};

StatusLook look(DictationPreviewStatus status)
{
    switch (status) {
    case DictationPreviewStatus::Working:
        return {Symbol::TextCheck, Theme::white(0.7)};
    case DictationPreviewStatus::Inserted:
        return {Symbol::CheckCircle, Theme::green()};
    case DictationPreviewStatus::Copied:
    case DictationPreviewStatus::ReplacedCopy:
        return {Symbol::Clipboard, Theme::orange()};
    }
    return {Symbol::TextCheck, Theme::white(0.7)};
}

QString statusName(DictationPreviewStatus status)
{
    switch (status) {
    case DictationPreviewStatus::Working:
        return QStringLiteral("working");
    case DictationPreviewStatus::Inserted:
        return QStringLiteral("inserted");
    case DictationPreviewStatus::Copied:
        return QStringLiteral("copied");
    case DictationPreviewStatus::ReplacedCopy:
        return QStringLiteral("replacedCopy");
    }
    return {};
}

} // namespace

DictationPreviewCard::DictationPreviewCard(Clock& clock, QWidget* parent)
    : TimedCard(clock, parent)
    , m_clock(clock)
    , m_header(new QHBoxLayout)
    , m_title(CardParts::label(QString(), TextRole::CaptionStrong, Theme::white(0.55), this))
    , m_close(CardIconButton::close(this))
    , m_body(new CardTextBody(this))
{
    m_body->label()->setFont(m_layout.font());
    using CardParts::padding;
    m_header->setSpacing(8);
    m_header->setContentsMargins(padding, 12, padding, 8);
    m_header->addWidget(m_title);
    m_header->addSpacerItem(new QSpacerItem(4, 0, QSizePolicy::Expanding, QSizePolicy::Minimum));
    m_header->addWidget(m_close);
    rows()->addLayout(m_header);

    addBody(m_body);

    connect(m_close, &CardIconButton::clicked, this, &TimedCard::closeRequested);
}

void DictationPreviewCard::setContent(const DictationPreview& preview, OverlayResultSize size,
                                      int dismissSeconds)
{
    rebuildHeader(preview.status);
    // The panel was sized with the same layout before this card existed.
    const OverlaySizes::ResultSize sizes = OverlaySizes::resultSize(size);
    const QSize card = m_layout.cardSize(preview.text, preview.status, sizes.cardWidth, sizes.maxTextHeight);
    setFixedSize(card);
    const qreal block = m_layout.textBlockHeight(preview.text, card.width(), sizes.maxTextHeight);
    // A block that reached the size's text height was cut there by the measure.
    m_body->setTextBlock(preview.text, card.width(), static_cast<int>(std::ceil(block)),
                         block + 0.5 >= sizes.maxTextHeight);
    restartFor(preview.text + QLatin1Char('\n') + statusName(preview.status), dismissSeconds);
    // An inserted text needs no reading time: the card leaves as soon as it is shown.
    if (dismissSeconds < 1 && preview.status == DictationPreviewStatus::Inserted)
        m_clock.singleShot(0, this, [this] { emit closeRequested(); });
}

void DictationPreviewCard::rebuildHeader(DictationPreviewStatus status)
{
    const StatusLook l = look(status);
    delete m_icon;
    m_icon = new SymbolView(l.icon, 10, l.color, this);
    m_header->insertWidget(0, m_icon);
    m_title->setText(DictationPreviewLayout::title(status));
    delete std::exchange(m_wave, nullptr);
    if (status == DictationPreviewStatus::Working) {
        m_wave = new ThinkingWave(m_clock, 7, Qt::white, this);
        m_wave->setFixedSize(28, 12);
        m_header->insertWidget(m_header->count() - 1, m_wave);
    }
}
