#include "ui/overlay/cards/translate_row_button.h"

#include "core/text/l10n.h"
#include "ui/kit/kit_font.h"
#include "ui/kit/kit_paint.h"
#include "ui/kit/symbol.h"
#include "ui/kit/theme.h"

#include <QFontMetrics>
#include <QPainter>

namespace {
constexpr int kPadX = 10;
constexpr int kPadY = 6;
constexpr QSize kBadge{28, 22};
constexpr int kGap = 10;
constexpr int kArrow = 9;
constexpr StateFill rowFill{.rest = 0, .hover = 0, .pressed = 0.12, .chosen = {}};
} // namespace

TranslateRowButton::TranslateRowButton(const CardRules::TranslateRow& row, QWidget* parent)
    : KitButton(parent)
    , m_row(row)
    , m_mine(row.native ? L10n::s(QStringLiteral("overlay.mine")) : QString())
{
    setText(L10n::s(QStringLiteral("lang.") + row.code));
    // The overlay never takes the keyboard focus from the field the text goes into.
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QSize TranslateRowButton::sizeHint() const
{
    const QFontMetrics name(KitFont::of(TextRole::BodyStrong));
    int names = name.height();
    if (m_row.native)
        names += 1 + QFontMetrics(KitFont::of(TextRole::MicroMedium)).height();
    return {kPadX + kBadge.width() + kGap + name.horizontalAdvance(text()) + kGap + kArrow + kPadX,
            kPadY + std::max(kBadge.height(), names) + kPadY};
}

void TranslateRowButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    paintStateFill(p, KitPaint::rounded(QRectF(rect()), 8), Qt::white, rowFill);
    p.setPen(Qt::NoPen);
    const QRectF badge(kPadX, (height() - kBadge.height()) / 2.0, kBadge.width(), kBadge.height());
    if (m_row.native)
        p.setBrush(Theme::gradient(badge));
    else
        p.setBrush(Theme::white(0.1));
    p.drawRoundedRect(badge, 6, 6);
    QFont code = KitFont::of(TextRole::MicroStrong);
    p.setFont(code);
    p.setPen(Theme::white(m_row.native ? 1.0 : 0.9));
    p.drawText(badge, Qt::AlignCenter, m_row.code.toUpper());

    const double left = badge.right() + kGap;
    const double right = width() - kPadX - kArrow - kGap;
    const QFont nameFont = KitFont::of(m_row.native ? TextRole::BodyStrong : TextRole::BodyMedium);
    const QFontMetrics nameMetrics(nameFont);
    const QFont mineFont = KitFont::of(TextRole::MicroMedium);
    const int total = nameMetrics.height() + (m_row.native ? 1 + QFontMetrics(mineFont).height() : 0);
    double y = (height() - total) / 2.0;
    p.setFont(nameFont);
    p.setPen(Theme::white(m_row.native ? 0.95 : 0.88));
    p.drawText(QRectF(left, y, right - left, nameMetrics.height()), Qt::AlignLeft | Qt::AlignVCenter,
               nameMetrics.elidedText(text(), Qt::ElideRight, static_cast<int>(right - left)));
    if (m_row.native) {
        y += nameMetrics.height() + 1;
        p.setFont(mineFont);
        p.setPen(Theme::white(0.38));
        p.drawText(QRectF(left, y, right - left, QFontMetrics(mineFont).height()),
                   Qt::AlignLeft | Qt::AlignVCenter, m_mine);
    }
    const qreal dpr = devicePixelRatioF();
    QImage arrow =
        SymbolArt::tinted(Symbol::ArrowRight, (QSizeF(kArrow, kArrow) * dpr).toSize(), Theme::white(0.25));
    arrow.setDevicePixelRatio(dpr);
    p.drawImage(QPointF(width() - kPadX - kArrow, (height() - kArrow) / 2.0), arrow);
}
