#include "ui/overlay/cards/overlay_choice_card.h"

#include "core/text/l10n.h"
#include "ui/kit/line_limited_label.h"
#include "ui/kit/theme.h"
#include "ui/overlay/cards/card_icon_button.h"
#include "ui/overlay/cards/card_parts.h"
#include "ui/overlay/cards/choice_row.h"
#include "ui/overlay/placement/overlay_sizes.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

#include <utility>

OverlayChoiceCard::OverlayChoiceCard(Clock& clock, const OverlayResult& result, OverlayResultSize size,
                                     QWidget* parent)
    : QWidget(parent)
    , m_clock(clock)
    , m_close(CardIconButton::close(this))
    , m_list(new QWidget(this))
{
    using CardParts::padding;
    setFixedWidth(OverlaySizes::resultSize(size).cardWidth);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    auto* header = new QHBoxLayout;
    header->setSpacing(8);
    header->setContentsMargins(padding, 12, padding, 6);
    header->addWidget(CardParts::gradientSymbol(Symbol::Swap, 10, this));
    header->addWidget(CardParts::label(L10n::s(QStringLiteral("overlay.choice.title")),
                                       TextRole::CaptionStrong, Theme::white(0.55), this));
    header->addStretch(1);
    header->addWidget(m_close);
    column->addLayout(header);

    if (!result.command.isEmpty()) {
        m_spoken =
            CardParts::wrapped(result.command, TextRole::CaptionMedium, Theme::white(0.4), 2, this, true);
        auto* spoken = new QHBoxLayout;
        spoken->setContentsMargins(padding, 0, padding, 8);
        spoken->addWidget(m_spoken);
        column->addLayout(spoken);
    }
    auto* lead = new QHBoxLayout;
    lead->setContentsMargins(padding, 0, padding, 10);
    lead->addWidget(CardParts::label(L10n::s(QStringLiteral("overlay.choice.lead")), TextRole::CaptionMedium,
                                     Theme::white(0.5), this));
    column->addLayout(lead);

    auto* list = new QVBoxLayout(m_list);
    list->setContentsMargins(0, 0, 0, 0);
    list->setSpacing(0);
    for (const OverlayResultChoice& choice : result.choices.value_or(QList<OverlayResultChoice>{})) {
        if (!m_rows.isEmpty())
            list->addWidget(CardParts::divider(0.1, m_list));
        auto* row = new ChoiceRow(choice, m_list);
        m_rows << row;
        list->addWidget(row);
        connect(row, &ChoiceRow::insertRequested, this, [this, choice] { emit insertRequested(choice); });
        connect(row, &ChoiceRow::copyRequested, this, [this, choice] {
            emit copyRequested(choice);
            mark(m_copiedId, m_copiedTimer, choice.id());
        });
        connect(row, &ChoiceRow::noteRequested, this, [this, choice] { emit noteRequested(choice); });
    }
    auto* listRow = new QHBoxLayout;
    listRow->setContentsMargins(padding, 0, padding, 12);
    listRow->addWidget(m_list);
    column->addLayout(listRow);

    connect(m_close, &CardIconButton::clicked, this, &OverlayChoiceCard::closeRequested);
}

void OverlayChoiceCard::markNoted(const QString& id)
{
    mark(m_notedId, m_notedTimer, id);
}

void OverlayChoiceCard::mark(std::optional<QString>& marked, Clock::Timer& timer, const QString& id)
{
    marked = id;
    timer = m_clock.after(markMs, this, [this, &marked, &timer] {
        timer.reset();
        marked.reset();
        showMarks();
    });
    showMarks();
}

void OverlayChoiceCard::showMarks()
{
    for (ChoiceRow* row : std::as_const(m_rows)) {
        row->setCopied(m_copiedId == row->choice().id());
        row->setNoted(m_notedId == row->choice().id());
    }
}

void OverlayChoiceCard::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRectF shape(rect());
    CardParts::paintShell(p, shape);
    CardParts::paintChrome(p, shape, 1, false);
    // The rows stand on a faint rounded panel of their own.
    const QRectF list(m_list->geometry());
    p.setPen(Qt::NoPen);
    p.setBrush(Theme::white(0.08));
    p.drawRoundedRect(list, 10, 10);
    p.setPen(QPen(Theme::white(0.1), 0.5));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(list.adjusted(0.25, 0.25, -0.25, -0.25), 10, 10);
}
