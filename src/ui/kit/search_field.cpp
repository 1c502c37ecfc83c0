#include "ui/kit/search_field.h"

#include "core/text/l10n.h"
#include "ui/kit/icon_button.h"
#include "ui/kit/kit_font.h"
#include "ui/kit/kit_paint.h"
#include "ui/kit/scheme.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPainter>

namespace {

constexpr int glyph = 12;

} // namespace

SearchField::SearchField(const QString& placeholder, QWidget* parent)
    : QWidget(parent)
    , m_editor(new QLineEdit(this))
    , m_clear(new IconButton(Symbol::ClearCircle, L10n::s(QStringLiteral("search.clear")), this))
{
    setFixedWidth(fixedWidth);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(10 + glyph + 6, 3, 4, 3);
    row->setSpacing(6);
    m_editor->setFrame(false);
    m_editor->setPlaceholderText(placeholder);
    m_editor->setAccessibleName(placeholder);
    m_editor->setFont(KitFont::of(TextRole::Body));
    m_editor->setAttribute(Qt::WA_MacShowFocusRect, false);
    QPalette clear = m_editor->palette();
    clear.setColor(QPalette::Base, Qt::transparent);
    m_editor->setPalette(clear);
    row->addWidget(m_editor, 1);
    row->addWidget(m_clear);
    m_clear->setVisible(false);
    connect(m_editor, &QLineEdit::textChanged, this, [this](const QString& text) {
        m_clear->setVisible(!text.isEmpty());
        emit textChanged(text);
    });
    connect(m_clear, &IconButton::clicked, this, [this] {
        m_editor->clear();
        m_editor->setFocus(Qt::OtherFocusReason);
    });
}

QString SearchField::text() const
{
    return m_editor->text();
}

void SearchField::setText(const QString& text)
{
    m_editor->setText(text);
}

void SearchField::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const QPainterPath capsule = KitPaint::rounded(box, box.height() / 2);
    p.fillPath(capsule, Scheme::primary(palette(), 0.06));
    KitPaint::symbol(p, Symbol::Search, QRectF(10, box.center().y() - glyph / 2.0, glyph, glyph),
                     Scheme::text(palette(), Scheme::Text::Secondary));
    // The ring reaches 3 px out from its shape: inset by that, it stays whole inside the field.
    if (m_editor->hasFocus()) {
        const QRectF inner = QRectF(rect()).adjusted(3, 3, -3, -3);
        KitPaint::focusRing(p, KitPaint::rounded(inner, inner.height() / 2), *this);
    }
}
