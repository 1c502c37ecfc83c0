#include "ui/kit/status_pill.h"

#include "ui/kit/kit_font.h"
#include "ui/kit/kit_paint.h"
#include "ui/kit/scheme.h"
#include "ui/kit/spinner.h"

#include <QFontMetricsF>
#include <QPainter>

namespace {

constexpr int dot = 7;
constexpr int spinnerSide = 10;
constexpr int spacing = 6;

QFont pillFont()
{
    return KitFont::of(TextRole::CaptionMedium);
}

} // namespace

StatusPill::StatusPill(Clock& clock, EngineState state, const QString& text, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_text(text)
    , m_spinner(new Spinner(clock, spinnerSide, this))
{
    setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    setAccessibleName(text);
    set(state, text);
}

void StatusPill::set(EngineState state, const QString& text)
{
    m_state = state;
    m_text = text;
    setAccessibleName(text);
    m_spinner->setVisible(state == EngineState::Loading);
    updateGeometry();
    update();
}

QColor StatusPill::colour() const
{
    switch (m_state) {
    case EngineState::Ready:
        return Scheme::green(palette());
    case EngineState::Loading:
        return Scheme::orange(palette());
    case EngineState::Error:
        return Scheme::red(palette());
    }
    return Scheme::red(palette());
}

bool StatusPill::showsSpinner() const
{
    return m_spinner->isVisibleTo(this);
}

QSize StatusPill::sizeHint() const
{
    const QFontMetricsF metrics(pillFont());
    const int lead = m_state == EngineState::Loading ? spinnerSide : dot;
    return {int(std::ceil(metrics.horizontalAdvance(m_text))) + lead + spacing + 18,
            int(std::ceil(metrics.height())) + 8};
}

QSize StatusPill::minimumSizeHint() const
{
    return {dot + spacing + 18 + 24, sizeHint().height()};
}

void StatusPill::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box(rect());
    const QColor c = colour();
    QColor fill = c;
    fill.setAlphaF(0.13f);
    p.fillPath(KitPaint::rounded(box, box.height() / 2), fill);
    double x = 9;
    const double cy = box.center().y();
    if (m_state == EngineState::Loading) {
        m_spinner->setColour(c);
        m_spinner->move(int(x), int(cy - spinnerSide / 2.0));
        x += spinnerSide;
    } else {
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawEllipse(QRectF(x, cy - dot / 2.0, dot, dot));
        x += dot;
    }
    x += spacing;
    p.setFont(pillFont());
    p.setPen(c);
    const QFontMetricsF metrics(pillFont());
    const double room = box.width() - 9 - x;
    p.drawText(QRectF(x, 0, room + 1, box.height()), Qt::AlignVCenter | Qt::AlignLeft,
               metrics.elidedText(m_text, Qt::ElideRight, room));
}
