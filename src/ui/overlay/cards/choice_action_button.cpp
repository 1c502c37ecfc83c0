#include "ui/overlay/cards/choice_action_button.h"

#include "ui/kit/kit_font.h"
#include "ui/kit/kit_paint.h"
#include "ui/kit/theme.h"

#include <QFontMetrics>
#include <QPainter>

namespace {
constexpr int kSymbol = 10;
constexpr int kGap = 4;
constexpr int kPadX = 9;
constexpr int kPadY = 5;
constexpr StateFill capsuleFill{.rest = 0.12, .hover = 0.12, .pressed = 0.2, .chosen = {}};
} // namespace

ChoiceActionButton::ChoiceActionButton(const QString& title, Symbol symbol, bool primary, QWidget* parent)
    : KitButton(parent)
    , m_primary(primary)
{
    setFont(KitFont::of(TextRole::CaptionStrong));
    setText(title);
    setSymbol(symbol);
    // The overlay never takes the keyboard focus from the field the text goes into.
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void ChoiceActionButton::setLook(const QString& title, Symbol symbol)
{
    if (title == text() && symbol == this->symbol())
        return;
    setText(title);
    setSymbol(symbol);
}

QSize ChoiceActionButton::sizeHint() const
{
    const QFontMetrics metrics(font());
    return {kPadX + kSymbol + kGap + metrics.horizontalAdvance(text()) + kPadX,
            kPadY + std::max(kSymbol, metrics.height()) + kPadY};
}

void ChoiceActionButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box(rect());
    const QPainterPath shape = KitPaint::rounded(box, box.height() / 2);
    // The primary capsule keeps its gradient in every state.
    paintStateFill(p, shape, Qt::white, m_primary ? StateFill{} : capsuleFill);
    if (m_primary)
        p.fillPath(shape, Theme::gradient(box));
    const qreal dpr = devicePixelRatioF();
    QImage image = SymbolArt::tinted(*symbol(), (QSizeF(kSymbol, kSymbol) * dpr).toSize(), QColor(Qt::white));
    image.setDevicePixelRatio(dpr);
    p.drawImage(QPointF(kPadX, (height() - kSymbol) / 2.0), image);
    p.setPen(Qt::white);
    p.setFont(font());
    p.drawText(QRectF(kPadX + kSymbol + kGap, 0, width() - kPadX - kSymbol - kGap, height()),
               Qt::AlignLeft | Qt::AlignVCenter, text());
}
