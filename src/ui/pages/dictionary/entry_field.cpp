#include "ui/pages/dictionary/entry_field.h"

#include "ui/kit/kit_font.h"
#include "ui/kit/kit_paint.h"
#include "ui/kit/scheme.h"

#include <QPainter>

EntryField::EntryField(const QString& placeholder, QWidget* parent)
    : QLineEdit(parent)
{
    setFrame(false);
    setPlaceholderText(placeholder);
    setAccessibleName(placeholder);
    setFont(KitFont::of(TextRole::Body));
    setTextMargins(10, 6, 10, 6);
    // The fill is painted here; the line edit's own base would cover it.
    QPalette clear = palette();
    clear.setColor(QPalette::Base, Qt::transparent);
    setPalette(clear);
}

void EntryField::paintEvent(QPaintEvent* event)
{
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        p.fillPath(KitPaint::rounded(box, 8), Scheme::primary(palette(), 0.06));
        if (hasFocus())
            KitPaint::focusRing(p, KitPaint::rounded(box.adjusted(2, 2, -2, -2), 6), *this);
    }
    QLineEdit::paintEvent(event);
}
