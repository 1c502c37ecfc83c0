#include "ui/pages/notes/note_row_delegate.h"

#include "ui/kit/kit_font.h"
#include "ui/kit/kit_paint.h"
#include "ui/kit/scheme.h"
#include "ui/kit/theme.h"
#include "ui/pages/notes/note_list_model.h"

#include <QFontMetrics>
#include <QPainter>

namespace {

constexpr int padX = 10;
constexpr int padY = 8;
constexpr int gap = 3;
constexpr int spacing = 2; // between rows

QFont titleFont(bool selected)
{
    return KitFont::of(selected ? TextRole::BodyStrong : TextRole::BodyMedium);
}

QFont timeFont()
{
    return KitFont::of(TextRole::Caption);
}

} // namespace

void NoteRowDelegate::paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const bool selected = index.data(NoteListModel::SelectedRole).toBool();
    const QPalette& palette = option.palette;
    p->save();
    p->setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(option.rect).adjusted(0, 0, 0, -spacing);
    const QPainterPath shape = KitPaint::rounded(box, 8);
    if (selected) {
        QColor tint = Theme::violet();
        tint.setAlphaF(0.14f);
        p->fillPath(shape, tint);
    } else if (option.state & QStyle::State_MouseOver) {
        p->fillPath(shape, Scheme::primary(palette, 0.05));
    }
    const QRect inner = box.toRect().adjusted(padX, padY, -padX, -padY);
    const QFont title = titleFont(selected);
    const QFontMetrics titleMetrics(title);
    p->setFont(title);
    p->setPen(Scheme::text(palette, Scheme::Text::Primary));
    p->drawText(
        QRect(inner.left(), inner.top(), inner.width(), titleMetrics.height()),
        Qt::AlignLeft | Qt::AlignVCenter,
        titleMetrics.elidedText(index.data(Qt::DisplayRole).toString(), Qt::ElideRight, inner.width()));
    const QFont time = timeFont();
    p->setFont(time);
    p->setPen(Scheme::text(palette, Scheme::Text::Secondary));
    p->drawText(QRect(inner.left(), inner.top() + titleMetrics.height() + gap, inner.width(),
                      QFontMetrics(time).height()),
                Qt::AlignLeft | Qt::AlignVCenter, index.data(NoteListModel::TimeRole).toString());
    p->restore();
}

QSize NoteRowDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const
{
    const int height = QFontMetrics(titleFont(true)).height() + gap + QFontMetrics(timeFont()).height();
    return {2 * padX + 40, 2 * padY + height + spacing};
}
