#include "ui/pages/style/style_card.h"

#include "ui/kit/kit_font.h"
#include "ui/kit/kit_label.h"
#include "ui/kit/kit_paint.h"
#include "ui/kit/line_limited_label.h"
#include "ui/kit/scheme.h"
#include "ui/kit/theme.h"
#include "ui/pages/style/faint_panel.h"

#include <QEvent>
#include <QGraphicsEffect>
#include <QPainter>
#include <QVBoxLayout>

namespace {

constexpr int padding = 16;
constexpr int tile = 32;
constexpr double mark = 18;
// The description and the examples are read whole: the card grows to hold them rather than cut
// them short.
constexpr int wholeText = 20;

LineLimitedLabel* limited(int lines, const QString& text, const QFont& font, QWidget* parent)
{
    auto* label = new LineLimitedLabel(lines, parent);
    label->setFont(font);
    label->setFullText(text);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}

void ink(QWidget* label, const QColor& colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

// The layered shadow costs more than the rest of the card, and the cards of the grid share their
// size and most their colour: each look is drawn once and kept for every card and every visit.
QImage shadowImage(QSize size, qreal ratio, const QPainterPath& shape, const QColor& colour)
{
    struct Drawn {
        QSize size;
        qreal ratio;
        QRectF box;
        QRgba64 colour;
        QImage image;
    };
    static QList<Drawn> drawn;
    const QRectF box = shape.boundingRect();
    for (const Drawn& d : std::as_const(drawn)) {
        if (d.size == size && d.ratio == ratio && d.box == box && d.colour == colour.rgba64())
            return d.image;
    }
    QImage image(size * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    QPainter layer(&image);
    layer.setRenderHint(QPainter::Antialiasing);
    KitPaint::shadow(layer, shape, colour, 5, 2);
    // A handful of looks: chosen, resting and hovered, at the width or two a window has.
    constexpr qsizetype kept = 12;
    if (drawn.size() == kept)
        drawn.removeFirst();
    drawn.append({size, ratio, box, colour.rgba64(), image});
    return image;
}

// Grows all a card draws, its texts with its shape and shadow, about the card's centre.
class Growth final : public QGraphicsEffect {
public:
    explicit Growth(StyleCard& card)
        : QGraphicsEffect(&card)
        , m_card(card)
    {
    }

protected:
    QRectF boundingRectFor(const QRectF& rect) const override
    {
        const double grow = m_card.scale();
        return QRectF(rect.center() - QPointF(rect.width() * grow / 2, rect.height() * grow / 2),
                      rect.size() * grow);
    }

    void draw(QPainter* painter) override
    {
        QPoint offset;
        const QPixmap picture = sourcePixmap(Qt::LogicalCoordinates, &offset, QGraphicsEffect::NoPad);
        const QPointF centre = sourceBoundingRect(Qt::LogicalCoordinates).center();
        const double grow = m_card.scale();
        painter->save();
        painter->setRenderHint(QPainter::SmoothPixmapTransform);
        painter->translate(centre);
        painter->scale(grow, grow);
        painter->translate(-centre);
        painter->drawPixmap(offset, picture);
        painter->restore();
    }

private:
    StyleCard& m_card;
};

} // namespace

StyleCard::StyleCard(const StyleOption& option, QWidget* parent)
    : KitButton(parent)
    , m_option(option)
    , m_examples(new FaintPanel(9, false, this))
{
    setCheckable(true);
    setText(option.title);
    setAccessibleName(option.title);
    setAccessibleDescription(option.blurb);
    setMinimumHeight(minHeight + 2 * margin);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(margin + padding, margin + padding, margin + padding, margin + padding);
    column->setSpacing(12);
    column->addSpacing(tile); // the tile and the mark are painted in this band

    auto* words = new QVBoxLayout;
    words->setSpacing(4);
    auto* title = new KitLabel(option.title, TextRole::Heading);
    title->setAttribute(Qt::WA_TransparentForMouseEvents);
    words->addWidget(title);
    m_blurb = limited(wholeText, option.blurb, KitFont::of(TextRole::Callout), this);
    words->addWidget(m_blurb);
    column->addLayout(words);
    column->addStretch(1);

    auto* examples = new QVBoxLayout(m_examples);
    examples->setContentsMargins(10, 10, 10, 10);
    examples->setSpacing(6);
    QFont struck = KitFont::of(TextRole::Caption);
    struck.setStrikeOut(true);
    m_before = limited(wholeText, option.before, struck, m_examples);
    m_after = limited(wholeText, option.after, KitFont::of(TextRole::CalloutMedium), m_examples);
    examples->addWidget(m_before);
    examples->addWidget(m_after);
    m_examples->setAttribute(Qt::WA_TransparentForMouseEvents);
    column->addWidget(m_examples);
    recolour();
    // Only a grown card pays for drawing through the effect.
    m_growth = new Growth(*this);
    m_growth->setEnabled(false);
    setGraphicsEffect(m_growth);
    connect(this, &StyleCard::toggled, this, &StyleCard::followGrowth);
}

void StyleCard::followGrowth()
{
    m_growth->setEnabled(scale() != 1.0);
    m_growth->update();
}

bool StyleCard::event(QEvent* event)
{
    const bool handled = KitButton::event(event);
    if (event->type() == QEvent::Enter || event->type() == QEvent::Leave)
        followGrowth();
    return handled;
}

double StyleCard::scale() const
{
    return hovering() && !isChecked() ? 1.01 : 1.0;
}

void StyleCard::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange)
        recolour();
    KitButton::changeEvent(event);
}

void StyleCard::recolour()
{
    const QPalette& scheme = palette();
    ink(m_blurb, Scheme::text(scheme, Scheme::Text::Secondary));
    ink(m_before, Scheme::text(scheme, Scheme::Text::Tertiary));
    ink(m_after, Scheme::text(scheme, Scheme::Text::Primary));
}

QRectF StyleCard::markBox() const
{
    const QRectF box = QRectF(rect()).adjusted(margin, margin, -margin, -margin);
    return {box.right() - padding - mark, box.top() + padding + tile / 2.0 - mark / 2, mark, mark};
}

void StyleCard::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette& scheme = palette();
    const bool chosen = isChecked();
    const QRectF box = QRectF(rect()).adjusted(margin, margin, -margin, -margin);
    // Drawn at rest: a hovered card grows through its effect.
    const QPainterPath shape = KitPaint::rounded(box, radius);
    QColor shadow = chosen ? Theme::violet() : QColor(Qt::black);
    shadow.setAlphaF(chosen ? 0.18 : (hovering() ? 0.08 : 0.04));
    painter.drawImage(QPointF(0, 0), shadowImage(size(), devicePixelRatioF(), shape, shadow));
    painter.fillPath(shape, Theme::cardFill(scheme));
    const double line = chosen ? 2 : 1;
    painter.setPen(QPen(chosen ? Theme::violet() : Theme::stroke(scheme), line));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(
        KitPaint::rounded(box.adjusted(line / 2, line / 2, -line / 2, -line / 2), radius - line / 2));

    const QRectF tileBox(box.left() + padding, box.top() + padding, tile, tile);
    const QPainterPath tileShape = KitPaint::rounded(tileBox, 9);
    if (chosen) {
        painter.fillPath(tileShape, Theme::gradient(tileBox));
    } else {
        QColor wash = Theme::violet();
        wash.setAlphaF(0.12);
        painter.fillPath(tileShape, wash);
    }
    const double glyph = 16;
    KitPaint::symbol(painter, m_option.icon,
                     QRectF(tileBox.center() - QPointF(glyph / 2, glyph / 2), QSizeF(glyph, glyph)),
                     chosen ? QColor(Qt::white) : Theme::violet());
    const QRectF markBox = this->markBox();
    QColor ring = Scheme::text(scheme, Scheme::Text::Secondary);
    ring.setAlphaF(0.4);
    if (chosen) {
        // The tick is cut out of the disc: white behind it, so it reads the same on either scheme's card.
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::white);
        painter.drawEllipse(markBox.adjusted(2, 2, -2, -2));
    }
    KitPaint::symbol(painter, chosen ? Symbol::CheckCircle : Symbol::Circle, markBox,
                     chosen ? Theme::violet() : ring);
    if (keyboardFocus())
        KitPaint::focusRing(painter, shape, *this);
}
