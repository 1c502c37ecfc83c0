#include "ui/kit/text_field.h"

#include "ui/kit/kit_label.h"
#include "ui/kit/kit_paint.h"
#include "ui/kit/scheme.h"

#include <QEvent>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPainter>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {

constexpr int glyph = 12;
constexpr int inset = 10;
constexpr double radius = 8;

} // namespace

TextField::TextField(const QString& placeholder, TextRole role, QWidget* parent)
    : TextField(new QLineEdit, role, Look::Filled, parent)
{
    m_editor->setPlaceholderText(placeholder);
}

TextField::TextField(QLineEdit* editor, TextRole role, Look look, QWidget* parent)
    : QWidget(parent)
    , m_editor(editor)
    , m_look(look)
    , m_line(new QHBoxLayout)
    , m_refusal((new KitLabel({}, TextRole::Caption, Scheme::orange))->wrapping())
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(4);
    column->addLayout(m_line);
    column->addWidget(m_refusal);
    m_refusal->hide();
    m_line->setSpacing(6);
    m_line->addWidget(m_editor, 1);
    placeText();

    m_editor->setFrame(false);
    m_editor->setFont(KitFont::of(role));
    m_editor->setAttribute(Qt::WA_MacShowFocusRect, false);
    // The fill is painted here; the editor's own base would cover it.
    QPalette clear = m_editor->palette();
    clear.setColor(QPalette::Base, Qt::transparent);
    m_editor->setPalette(clear);
    m_editor->installEventFilter(this);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

QString TextField::text() const
{
    return m_editor->text();
}

void TextField::setText(const QString& text)
{
    m_editor->setText(text);
}

void TextField::setName(const QString& name)
{
    m_editor->setAccessibleName(name);
}

void TextField::setLeadingSymbol(Symbol symbol)
{
    m_symbol = symbol;
    placeText();
}

void TextField::addTrailing(QWidget* widget)
{
    m_line->addWidget(widget);
    placeText();
}

void TextField::setRefusal(const QString& reason)
{
    m_refusal->setText(reason);
    m_refusal->setVisible(!reason.isEmpty());
}

QString TextField::refusal() const
{
    return m_refusal->isHidden() ? QString() : m_refusal->text();
}

void TextField::placeText()
{
    // A plain field's text stands where a label's would; a filled one's keeps off the rounded edge.
    const int left = m_look == Look::Plain ? 0 : inset + (m_symbol ? glyph + 6 : 0);
    const int right = m_look == Look::Plain ? 0 : m_line->count() > 1 ? 4 : inset;
    const int vertical = m_look == Look::Plain ? 3 : 6;
    m_line->setContentsMargins(left, vertical, right, vertical);
}

void TextField::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(m_line->geometry()).adjusted(0.5, 0.5, -0.5, -0.5);
    if (m_look == Look::Filled)
        p.fillPath(KitPaint::rounded(box, radius), Scheme::primary(palette(), 0.06));
    if (m_symbol)
        KitPaint::symbol(p, *m_symbol,
                         QRectF(box.left() + inset, box.center().y() - glyph / 2.0, glyph, glyph),
                         Scheme::text(palette(), Scheme::Text::Secondary));
    // The ring reaches 3 points out from its shape: inset by that, it stays whole inside the field. A
    // plain field's text stands where a label's would, with no room for a ring; like the text under
    // it, it shows its caret.
    if (m_look == Look::Filled && m_editor->hasFocus()) {
        const QRectF inner = QRectF(m_line->geometry()).adjusted(3, 3, -3, -3);
        KitPaint::focusRing(p, KitPaint::rounded(inner, radius - 3), *this);
    }
}

bool TextField::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_editor && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut))
        update();
    // Qt scrolls an editor reached by Tab only until its caret shows, which can leave the field cut
    // at the edge of a page.
    const auto reason =
        event->type() == QEvent::FocusIn ? static_cast<QFocusEvent*>(event)->reason() : Qt::OtherFocusReason;
    if (watched == m_editor && (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason)) {
        for (QWidget* up = parentWidget(); up; up = up->parentWidget()) {
            auto* area = qobject_cast<QScrollArea*>(up);
            if (area && area->widget() && area->widget()->isAncestorOf(this)) {
                const QPoint centre = mapTo(area->widget(), rect().center());
                area->ensureVisible(centre.x(), centre.y(), width() / 2, height() / 2);
                break;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}
