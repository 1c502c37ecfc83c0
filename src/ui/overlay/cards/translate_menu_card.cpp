#include "ui/overlay/cards/translate_menu_card.h"

#include "core/text/l10n.h"
#include "ui/kit/theme.h"
#include "ui/overlay/cards/card_icon_button.h"
#include "ui/overlay/cards/card_parts.h"
#include "ui/overlay/cards/card_rules.h"
#include "ui/overlay/cards/translate_row_button.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

TranslateMenuCard::TranslateMenuCard(const QList<TranslateLanguage>& languages, const QString& nativeId,
                                     QWidget* parent)
    : QWidget(parent)
    , m_close(CardIconButton::close(this))
{
    setFixedWidth(width);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    auto* header = new QHBoxLayout;
    header->setContentsMargins(12, 10, 12, 6);
    header->addWidget(CardParts::label(L10n::s(QStringLiteral("overlay.translate")), TextRole::CaptionStrong,
                                       Theme::white(0.55), this));
    header->addStretch(1);
    header->addWidget(m_close);
    column->addLayout(header);

    auto* hint = new QHBoxLayout;
    hint->setContentsMargins(12, 0, 12, 8);
    QLabel* replace = CardParts::label(L10n::s(QStringLiteral("overlay.replace")), TextRole::Micro,
                                       Theme::white(0.35), this);
    replace->setWordWrap(true);
    hint->addWidget(replace);
    column->addLayout(hint);

    auto* list = new QVBoxLayout;
    list->setContentsMargins(4, 0, 4, 8);
    list->setSpacing(2);
    for (const CardRules::TranslateRow& row : CardRules::translateRows(languages, nativeId)) {
        auto* button = new TranslateRowButton(row, this);
        m_rows << button;
        list->addWidget(button);
        connect(button, &TranslateRowButton::clicked, this, [this, code = row.code] { emit picked(code); });
        if (row.native) {
            auto* line = new QHBoxLayout;
            line->setContentsMargins(10, 4, 10, 4);
            QWidget* divider = CardParts::divider(0.08, this);
            m_dividers << divider;
            line->addWidget(divider);
            list->addLayout(line);
        }
    }
    column->addLayout(list);
    connect(m_close, &CardIconButton::clicked, this, &TranslateMenuCard::closeRequested);
}

void TranslateMenuCard::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRectF shape(rect());
    CardParts::paintShell(p, shape);
    CardParts::paintChrome(p, shape, 1, false);
}
