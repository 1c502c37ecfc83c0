#include "ui/shell/sidebar.h"

#include "core/text/main_section_text.h"
#include "ui/kit/kit_button.h"
#include "ui/kit/kit_font.h"
#include "ui/kit/kit_label.h"
#include "ui/kit/kit_paint.h"
#include "ui/kit/quenda_mark.h"
#include "ui/kit/scheme.h"
#include "ui/kit/theme.h"
#include "ui/pages/page_table.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

namespace {

QAccessibleInterface* entryFactory(const QString&, QObject* object);

// A soft fill under the pointer, a stronger one when chosen.
constexpr StateFill entryFill{.rest = 0, .hover = 0.05, .pressed = 0.08, .chosen = 0.09};

// One page's entry: symbol and title, a soft fill under the pointer, a stronger one when chosen.
// Not checkable: a click opens the page, and only the page shown marks its entry.
class SidebarEntry final : public KitButton {
public:
    SidebarEntry(Symbol symbol, const QString& title, QWidget* parent)
        : KitButton(parent)
    {
        static const bool installed = [] {
            QAccessible::installFactory(entryFactory);
            return true;
        }();
        Q_UNUSED(installed);
        setSymbol(symbol);
        setText(title);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        setFixedHeight(32);
    }

    bool selected() const { return m_selected; }
    bool chosen() const override { return m_selected; }
    void setSelected(bool selected)
    {
        if (selected == m_selected)
            return;
        m_selected = selected;
        update();
        QAccessible::State changed;
        changed.selected = true;
        QAccessibleStateChangeEvent event(this, changed);
        QAccessible::updateAccessibility(&event);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        const QPainterPath shape = KitPaint::rounded(box, 8);
        paintStateFill(p, shape, Scheme::primary(palette(), 1), entryFill);
        const double glyph = 15;
        const QRectF symbolBox(10, box.center().y() - glyph / 2, glyph, glyph);
        if (selected()) {
            KitPaint::symbol(p, *symbol(), symbolBox,
                             Theme::gradient(symbolBox.translated(-symbolBox.topLeft())));
        } else {
            KitPaint::symbol(p, *symbol(), symbolBox, Scheme::text(palette(), Scheme::Text::Secondary));
        }
        p.setFont(KitFont::of(selected() ? TextRole::BodyStrong : TextRole::BodyMedium));
        p.setPen(Scheme::text(palette(), Scheme::Text::Primary));
        p.drawText(QRectF(34, 0, box.width() - 40, box.height()), Qt::AlignVCenter | Qt::AlignLeft, text());
        if (keyboardFocus())
            KitPaint::focusRing(p, KitPaint::rounded(box.adjusted(2, 2, -2, -2), 7), *this);
    }

private:
    bool m_selected = false;
};

// An entry is a page tab to assistive tools: its default action opens the page as a click does, and
// the shown page's entry is the selected one. A checkable button would be a check box whose
// "Toggle" checks a second entry and opens nothing.
class SidebarEntryAccessible final : public QAccessibleWidget {
public:
    explicit SidebarEntryAccessible(SidebarEntry* entry)
        : QAccessibleWidget(entry, QAccessible::PageTab)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return entry()->text();
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.selectable = true;
        s.selected = entry()->selected();
        return s;
    }

    QStringList actionNames() const override
    {
        return QStringList(pressAction()) + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& action) override
    {
        if (action != pressAction())
            QAccessibleWidget::doAction(action);
        else if (entry()->isEnabled())
            entry()->click();
    }

private:
    SidebarEntry* entry() const { return static_cast<SidebarEntry*>(widget()); }
};

QAccessibleInterface* entryFactory(const QString&, QObject* object)
{
    if (auto* entry = dynamic_cast<SidebarEntry*>(object))
        return new SidebarEntryAccessible(entry);
    return nullptr;
}

} // namespace

Sidebar::Sidebar(QWidget* parent)
    : QWidget(parent)
{
    setFixedWidth(fixedWidth);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(12, 20, 12, 16);
    column->setSpacing(2);
    auto* brand = new QHBoxLayout;
    brand->setContentsMargins(4, 0, 0, 14);
    brand->setSpacing(6);
    brand->addWidget(new QuendaMark(26, this));
    brand->addWidget(new KitLabel(QStringLiteral("Quenda"), TextRole::Brand, Scheme::Text::Primary, this), 1);
    column->addLayout(brand);
    for (const PageTable::Row& page : PageTable::rows()) {
        auto* entry = new SidebarEntry(page.symbol, MainSectionText::title(page.section), this);
        m_entries.append(entry);
        column->addWidget(entry);
        connect(entry, &KitButton::clicked, this, [this, section = page.section] {
            setCurrent(section);
            emit chosen(section);
        });
    }
    column->addStretch(1);
    setCurrent(MainSection::Home);
}

KitButton* Sidebar::entry(MainSection section) const
{
    return m_entries.value(PageTable::indexOf(section));
}

void Sidebar::setCurrent(MainSection section)
{
    m_current = section;
    const int shown = PageTable::indexOf(section);
    for (qsizetype i = 0; i < m_entries.size(); ++i)
        static_cast<SidebarEntry*>(m_entries.at(i))->setSelected(i == shown);
}

void Sidebar::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QColor window = palette().color(QPalette::Window);
    p.fillRect(rect(), Scheme::isDark(palette()) ? window.lighter(115) : window.darker(104));
    p.fillRect(QRect(fixedWidth - 1, 0, 1, height()), Theme::stroke(palette()));
}
