#include "ui/shell/sidebar.h"

#include "ui/kit/kit_button.h"
#include "ui/kit/kit_font.h"
#include "ui/kit/kit_label.h"
#include "ui/kit/kit_paint.h"
#include "ui/kit/quenda_mark.h"
#include "ui/kit/scheme.h"
#include "ui/kit/theme.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

namespace {

Symbol symbolOf(MainSection section)
{
    switch (section) {
    case MainSection::Home:
        return Symbol::House;
    case MainSection::Commands:
        return Symbol::Wand;
    case MainSection::History:
        return Symbol::Clock;
    case MainSection::Notes:
        return Symbol::Note;
    case MainSection::Style:
        return Symbol::Pen;
    case MainSection::Dictionary:
        return Symbol::Book;
    case MainSection::Settings:
        return Symbol::Gear;
    }
    return Symbol::House;
}

// A soft fill under the pointer, a stronger one when chosen.
constexpr StateFill entryFill{.rest = 0, .hover = 0.05, .pressed = 0.08, .checked = 0.09};

// One page's entry: symbol and title, a soft fill under the pointer, a stronger one when chosen.
class SidebarEntry final : public KitButton {
public:
    SidebarEntry(Symbol symbol, const QString& title, QWidget* parent)
        : KitButton(parent)
    {
        setSymbol(symbol);
        setText(title);
        // Not auto-exclusive: Tab would then reach only the checked entry, as in a radio group.
        setCheckable(true);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        setFixedHeight(32);
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
        if (isChecked()) {
            KitPaint::symbol(p, *symbol(), symbolBox,
                             Theme::gradient(symbolBox.translated(-symbolBox.topLeft())));
        } else {
            KitPaint::symbol(p, *symbol(), symbolBox, Scheme::text(palette(), Scheme::Text::Secondary));
        }
        p.setFont(KitFont::of(isChecked() ? TextRole::BodyStrong : TextRole::BodyMedium));
        p.setPen(Scheme::text(palette(), Scheme::Text::Primary));
        p.drawText(QRectF(34, 0, box.width() - 40, box.height()), Qt::AlignVCenter | Qt::AlignLeft, text());
        if (keyboardFocus())
            KitPaint::focusRing(p, KitPaint::rounded(box.adjusted(2, 2, -2, -2), 7), *this);
    }
};

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
    for (const MainSection section : MainSectionText::table.values()) {
        auto* entry = new SidebarEntry(symbolOf(section), MainSectionText::title(section), this);
        m_entries.append(entry);
        column->addWidget(entry);
        connect(entry, &KitButton::clicked, this, [this, section] {
            setCurrent(section);
            emit chosen(section);
        });
    }
    column->addStretch(1);
    setCurrent(MainSection::Home);
}

KitButton* Sidebar::entry(MainSection section) const
{
    return m_entries.value(int(MainSectionText::table.values().indexOf(section)));
}

void Sidebar::setCurrent(MainSection section)
{
    m_current = section;
    for (const MainSection each : MainSectionText::table.values())
        entry(each)->setChecked(each == section);
}

void Sidebar::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QColor window = palette().color(QPalette::Window);
    p.fillRect(rect(), Scheme::isDark(palette()) ? window.lighter(115) : window.darker(104));
    p.fillRect(QRect(fixedWidth - 1, 0, 1, height()), Theme::stroke(palette()));
}
