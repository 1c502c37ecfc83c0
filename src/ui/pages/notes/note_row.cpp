#include "ui/pages/notes/note_row.h"

#include "ui/kit/kit_font.h"
#include "ui/kit/kit_paint.h"
#include "ui/kit/scheme.h"
#include "ui/kit/theme.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>

namespace {

constexpr int padX = 10;
constexpr int padY = 8;
constexpr int gap = 3;

QFont titleFont(bool selected)
{
    return KitFont::make(13, selected ? QFont::DemiBold : QFont::Medium);
}

QFont timeFont()
{
    return KitFont::make(11);
}

} // namespace

NoteRow::NoteRow(QWidget* parent)
    : KitButton(parent)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void NoteRow::set(const QString& title, const QString& time, bool selected)
{
    if (text() == title && m_time == time && m_selected == selected)
        return;
    setText(title);
    m_time = time;
    m_selected = selected;
    setAccessibleDescription(time);
    update();
}

QSize NoteRow::sizeHint() const
{
    const int height = QFontMetrics(titleFont(true)).height() + gap + QFontMetrics(timeFont()).height();
    return {2 * padX + 40, 2 * padY + height};
}

QSize NoteRow::minimumSizeHint() const
{
    return sizeHint();
}

void NoteRow::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect());
    const QPainterPath shape = KitPaint::rounded(box, 8);
    if (m_selected) {
        QColor tint = Theme::violet();
        tint.setAlphaF(0.14f);
        p.fillPath(shape, tint);
    } else if (hovering()) {
        p.fillPath(shape, Scheme::primary(palette(), 0.05));
    }
    const QRect inner = rect().adjusted(padX, padY, -padX, -padY);
    const QFont title = titleFont(m_selected);
    const QFontMetrics titleMetrics(title);
    p.setFont(title);
    p.setPen(Scheme::text(palette(), Scheme::Text::Primary));
    p.drawText(QRect(inner.left(), inner.top(), inner.width(), titleMetrics.height()),
               Qt::AlignLeft | Qt::AlignVCenter,
               titleMetrics.elidedText(text(), Qt::ElideRight, inner.width()));
    const QFont time = timeFont();
    p.setFont(time);
    p.setPen(Scheme::text(palette(), Scheme::Text::Secondary));
    p.drawText(QRect(inner.left(), inner.top() + titleMetrics.height() + gap, inner.width(),
                     QFontMetrics(time).height()),
               Qt::AlignLeft | Qt::AlignVCenter, m_time);
    if (keyboardFocus())
        KitPaint::focusRing(p, KitPaint::rounded(box.adjusted(1, 1, -1, -1), 7), *this);
}

void NoteRow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
        emit step(event->key() == Qt::Key_Up ? -1 : 1);
        return;
    }
    KitButton::keyPressEvent(event);
}
