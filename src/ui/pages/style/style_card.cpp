#include "ui/pages/style/style_card.h"

#include "ui/kit/card_shadows.h"
#include "ui/kit/kit_font.h"
#include "ui/kit/kit_label.h"
#include "ui/kit/kit_paint.h"
#include "ui/kit/line_limited_label.h"
#include "ui/kit/motion.h"
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

// A colour between two, by t from 0 to 1.
QColor mix(const QColor& from, const QColor& to, double t)
{
    const auto along = [t](float a, float b) { return a + float(t) * (b - a); };
    return QColor::fromRgbF(along(from.redF(), to.redF()), along(from.greenF(), to.greenF()),
                            along(from.blueF(), to.blueF()), along(from.alphaF(), to.alphaF()));
}

// A symbol at a share of the painter's opacity.
void symbolAt(QPainter& painter, double share, Symbol symbol, const QRectF& box, const QColor& colour)
{
    if (share <= 0)
        return;
    const double whole = painter.opacity();
    painter.setOpacity(whole * share);
    KitPaint::symbol(painter, symbol, box, colour);
    painter.setOpacity(whole);
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

StyleCard::StyleCard(Clock& clock, const StyleOption& option, QWidget* parent)
    : KitButton(parent)
    , m_option(option)
    , m_examples(new FaintPanel(9, false, this))
    , m_chosen(clock, *this)
    , m_hover(clock, *this)
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
    m_chosen.setOnFrame([this] { followLook(); });
    m_hover.setOnFrame([this] { followLook(); });
    connect(this, &StyleCard::toggled, this,
            [this](bool chosen) { m_chosen.moveTo(chosen ? 1 : 0, Motion::selectMs, Motion::select); });
}

void StyleCard::followLook()
{
    m_growth->setEnabled(scale() != 1.0);
    m_growth->update();
    CardShadows::refresh(*this);
}

bool StyleCard::event(QEvent* event)
{
    const bool handled = KitButton::event(event);
    if (event->type() == QEvent::Enter || event->type() == QEvent::Leave)
        m_hover.moveTo(hovering() ? 1 : 0, Motion::hoverMs, Motion::easeOut);
    return handled;
}

double StyleCard::chosenLook() const
{
    return std::clamp(m_chosen.value(), 0.0, 1.0);
}

double StyleCard::hoverLook() const
{
    return std::clamp(m_hover.value(), 0.0, 1.0);
}

double StyleCard::scale() const
{
    return 1 + 0.01 * hoverLook() * (1 - chosenLook());
}

QList<ShadowCaster::Cast> StyleCard::shadows() const
{
    const QRectF box = QRectF(rect()).adjusted(margin, margin, -margin, -margin);
    const double grow = scale();
    const QRectF shape(box.center() - QPointF(box.width() * grow / 2, box.height() * grow / 2),
                       box.size() * grow);
    const double chosen = chosenLook();
    QColor violet = Theme::violet();
    violet.setAlphaF(float(0.18 * chosen));
    const QColor black = QColor::fromRgbF(0, 0, 0, float((0.04 + 0.04 * hoverLook()) * (1 - chosen)));
    const auto look = [&](const QColor& colour) {
        return ShadowLook{.corner = radius * grow, .blur = 12, .offsetY = 4, .colour = colour};
    };
    return {{shape, look(black)}, {shape, look(violet)}};
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
    const double chosen = chosenLook();
    const QRectF box = QRectF(rect()).adjusted(margin, margin, -margin, -margin);
    // Drawn at rest: a hovered card grows through its effect.
    const QPainterPath shape = KitPaint::rounded(box, radius);
    painter.fillPath(shape, Theme::cardFill(scheme));
    const double line = 1 + chosen;
    painter.setPen(QPen(mix(Theme::stroke(scheme), Theme::violet(), chosen), line));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(
        KitPaint::rounded(box.adjusted(line / 2, line / 2, -line / 2, -line / 2), radius - line / 2));

    const QRectF tileBox(box.left() + padding, box.top() + padding, tile, tile);
    const QPainterPath tileShape = KitPaint::rounded(tileBox, 9);
    QColor wash = Theme::violet();
    wash.setAlphaF(float(0.12 * (1 - chosen)));
    painter.fillPath(tileShape, wash);
    painter.setOpacity(chosen);
    painter.fillPath(tileShape, Theme::gradient(tileBox));
    painter.setOpacity(1);
    const double glyph = 16;
    const QRectF glyphBox(tileBox.center() - QPointF(glyph / 2, glyph / 2), QSizeF(glyph, glyph));
    symbolAt(painter, 1 - chosen, m_option.icon, glyphBox, Theme::violet());
    symbolAt(painter, chosen, m_option.icon, glyphBox, Qt::white);
    const QRectF markBox = this->markBox();
    QColor ring = Scheme::text(scheme, Scheme::Text::Secondary);
    ring.setAlphaF(0.4f);
    // The tick is cut out of the disc: white behind it, so it reads the same on either scheme's card.
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.setOpacity(chosen);
    painter.drawEllipse(markBox.adjusted(2, 2, -2, -2));
    painter.setOpacity(1);
    symbolAt(painter, 1 - chosen, Symbol::Circle, markBox, ring);
    symbolAt(painter, chosen, Symbol::CheckCircle, markBox, Theme::violet());
    if (keyboardFocus())
        KitPaint::focusRing(painter, shape, *this);
}
