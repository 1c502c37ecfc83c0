#include "ui/pages/dictionary/dictionary_row.h"

#include "core/text/l10n.h"
#include "ui/kit/icon_button.h"
#include "ui/kit/kit_font.h"
#include "ui/kit/kit_label.h"
#include "ui/kit/kit_paint.h"
#include "ui/kit/scheme.h"
#include "ui/kit/soft_button.h"
#include "ui/kit/theme.h"
#include "ui/pages/dictionary/entry_editor.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPainter>
#include <QVBoxLayout>

namespace {

constexpr double badgeGlyph = 10;

// "Learned" with a sparkle on a faint violet capsule.
class LearnedBadge final : public QWidget {
public:
    explicit LearnedBadge(QWidget* parent)
        : QWidget(parent)
        , m_text(L10n::s("dictionary.learnedMark"))
    {
        setAccessibleName(m_text);
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    }

    QSize sizeHint() const override
    {
        const QFontMetricsF metrics(KitFont::of(TextRole::MicroStrong));
        return QSizeF(8 + badgeGlyph + 4 + metrics.horizontalAdvance(m_text) + 8, metrics.height() + 4)
            .toSize();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF box(rect());
        QColor fill = Theme::violet();
        fill.setAlphaF(0.14f);
        p.fillPath(KitPaint::rounded(box, box.height() / 2), fill);
        const QColor ink = Scheme::isDark(palette()) ? Theme::violet().lighter(150) : Theme::violet();
        KitPaint::symbol(p, Symbol::Sparkles,
                         QRectF(8, box.center().y() - badgeGlyph / 2, badgeGlyph, badgeGlyph), ink);
        p.setFont(KitFont::of(TextRole::MicroStrong));
        p.setPen(ink);
        p.drawText(box.adjusted(8 + badgeGlyph + 4, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, m_text);
    }

private:
    QString m_text;
};

} // namespace

DictionaryRow::DictionaryRow(const DictionaryLines::Entry& entry, QWidget* parent)
    : QWidget(parent)
    , m_view(new QWidget(this))
    , m_term(new KitLabel({}, TextRole::BodyMedium))
    , m_heard(new KitLabel({}, TextRole::Callout, Scheme::Text::Secondary))
    , m_edit(new IconButton(Symbol::Pen, L10n::s("dictionary.edit")))
    , m_remove(new IconButton(Symbol::Trash, L10n::s("dictionary.remove")))
{
    setAttribute(Qt::WA_Hover);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(12, 9, 12, 9);
    column->addWidget(m_view);

    auto* line = new QHBoxLayout(m_view);
    line->setContentsMargins(0, 0, 0, 0);
    line->setSpacing(12);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(3);
    m_title = new QHBoxLayout;
    m_title->setSpacing(8);
    m_term->setTextFormat(Qt::PlainText);
    m_heard->setTextFormat(Qt::PlainText);
    m_title->addWidget(m_term);
    m_title->addStretch(1);
    texts->addLayout(m_title);
    texts->addWidget(m_heard);
    line->addLayout(texts, 1);
    line->addWidget(m_edit, 0, Qt::AlignVCenter);
    line->addWidget(m_remove, 0, Qt::AlignVCenter);
    m_remove->setInk([](const QPalette& p) { return Scheme::red(p); });

    connect(m_edit, &IconButton::clicked, this, &DictionaryRow::startEditing);
    connect(m_remove, &IconButton::clicked, this, &DictionaryRow::removeRequested);
    setEntry(entry);
}

void DictionaryRow::setEntry(const DictionaryLines::Entry& entry)
{
    m_entry = entry;
    m_term->setText(entry.item.term);
    m_heard->setText(entry.item.heardAs.isEmpty()
                         ? QString()
                         : L10n::format(QStringLiteral("dictionary.heardAs"), {entry.item.heardAs}));
    m_heard->setVisible(!entry.item.heardAs.isEmpty());
    // Made for learned entries only: most entries are the user's own.
    if (entry.learned && !m_learned) {
        m_learned = new LearnedBadge(this);
        m_title->insertWidget(1, m_learned);
    }
    if (m_learned)
        m_learned->setVisible(entry.learned);
}

bool DictionaryRow::learnedShown() const
{
    return m_learned && m_learned->isVisibleTo(this);
}

QString DictionaryRow::heardText() const
{
    return m_heard->isVisibleTo(this) ? m_heard->text() : QString();
}

bool DictionaryRow::editing() const
{
    return m_editor != nullptr && m_editor->isVisibleTo(this);
}

void DictionaryRow::startEditing()
{
    if (!m_editor) {
        m_editor = new EntryEditor(this);
        m_save = new SoftButton(L10n::s("dictionary.save"));
        auto* cancel = new SoftButton(L10n::s("common.cancel"));
        m_editor->actions()->addWidget(m_save);
        m_editor->actions()->addWidget(cancel);
        layout()->addWidget(m_editor);
        connect(m_save, &SoftButton::clicked, this, &DictionaryRow::save);
        connect(m_editor, &EntryEditor::submitted, this, &DictionaryRow::save);
        connect(cancel, &SoftButton::clicked, this, &DictionaryRow::stopEditing);
        connect(m_editor, &EntryEditor::cancelled, this, &DictionaryRow::stopEditing);
    }
    m_editor->setFields(m_entry.item.term, m_entry.item.heardAs);
    m_view->hide();
    m_editor->show();
    m_editor->termField()->setFocus(Qt::OtherFocusReason);
}

void DictionaryRow::stopEditing()
{
    if (!editing())
        return;
    const bool hadFocus = m_editor->isAncestorOf(QApplication::focusWidget());
    m_editor->hide();
    m_view->show();
    if (hadFocus)
        m_edit->setFocus(Qt::OtherFocusReason);
}

void DictionaryRow::save()
{
    const std::optional<DictionaryItem> item = m_editor->take();
    if (!item)
        return;
    // Saving what is there already changes nothing; the entry keeps its learned mark.
    if (item->term == m_entry.item.term && item->heardAs == m_entry.item.heardAs) {
        stopEditing();
        return;
    }
    emit saveRequested(*item);
}

void DictionaryRow::paintEvent(QPaintEvent*)
{
    if (!underMouse() && !editing())
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillPath(KitPaint::rounded(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 10),
               Scheme::primary(palette(), 0.045));
}
