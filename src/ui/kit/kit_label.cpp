#include "ui/kit/kit_label.h"

#include <QApplication>
#include <QEvent>

KitLabel::KitLabel(const QString& text, TextRole role, Scheme::Text level, QWidget* parent)
    : KitLabel(
          text, role, [level](const QPalette& p) { return Scheme::text(p, level); }, parent)
{
}

KitLabel::KitLabel(const QString& text, TextRole role, Ink ink, QWidget* parent)
    : QLabel(text, parent)
    , m_ink(std::move(ink))
{
    setTextFormat(Qt::PlainText);
    setFont(KitFont::of(role));
    recolour();
}

KitLabel* KitLabel::wrapping()
{
    setWordWrap(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Keeps the height-for-width flag word wrapping set; without it layouts guess the height.
    QSizePolicy policy = sizePolicy();
    policy.setVerticalPolicy(QSizePolicy::Minimum);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    return this;
}

QColor KitLabel::ink() const
{
    return palette().color(QPalette::WindowText);
}

void KitLabel::changeEvent(QEvent* event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ParentChange)
        recolour();
}

void KitLabel::recolour()
{
    if (m_recolouring)
        return;
    m_recolouring = true;
    // The scheme is the surroundings', not this label's own palette with its earlier ink in it.
    const QPalette scheme = parentWidget() ? parentWidget()->palette() : QApplication::palette(this);
    QPalette mine = palette();
    mine.setColor(QPalette::WindowText, m_ink(scheme));
    mine.setColor(QPalette::Text, m_ink(scheme));
    setPalette(mine);
    m_recolouring = false;
}
