#include "ui/kit/segmented_control.h"

#include "ui/kit/kit_button.h"
#include "ui/kit/kit_font.h"
#include "ui/kit/kit_paint.h"
#include "ui/kit/scheme.h"
#include "ui/kit/theme.h"

#include <QButtonGroup>
#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>

namespace {

constexpr double inset = 2;
// The chosen segment is raised on the card fill instead.
constexpr StateFill segmentFill{.rest = 0, .hover = 0.05, .pressed = 0.05, .chosen = 0};

class SegmentButton final : public KitButton {
public:
    SegmentButton(const QString& label, QWidget* parent)
        : KitButton(parent)
    {
        setText(label);
        setCheckable(true);
        setAccessibleName(label);
    }

    QSize sizeHint() const override
    {
        const QSizeF content = contentSize(font(), 0, 0);
        return {int(std::ceil(content.width())) + 24, 26};
    }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QPainterPath shape =
            KitPaint::rounded(QRectF(rect()).adjusted(inset, inset, -inset, -inset), 6);
        paintStateFill(painter, shape, Scheme::primary(palette(), 1), segmentFill);
        if (isChecked()) {
            KitPaint::shadow(painter, shape, QColor(0, 0, 0, 28), 3, 1);
            painter.fillPath(shape, Theme::cardFill(palette()));
            // The dark card's own fill is darker than the track around it: there the chosen segment
            // is lit instead, well above the track.
            if (Scheme::isDark(palette()))
                painter.fillPath(shape, Scheme::primary(palette(), 0.2));
        }
        const QFont face = KitFont::of(isChecked() ? TextRole::CalloutStrong : TextRole::CalloutMedium);
        paintContent(painter, rect(), face, Scheme::text(palette(), Scheme::Text::Primary), 0, 0);
        if (keyboardFocus())
            KitPaint::focusRing(painter, shape, *this);
    }
};

} // namespace

SegmentedControl::SegmentedControl(const QStringList& labels, QWidget* parent)
    : QWidget(parent)
    , m_group(new QButtonGroup(this))
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    for (int i = 0; i < labels.size(); ++i) {
        auto* button = new SegmentButton(labels.at(i), this);
        button->setFont(KitFont::of(TextRole::CalloutMedium));
        button->installEventFilter(this);
        m_group->addButton(button, i);
        row->addWidget(button);
    }
    m_group->setExclusive(true);
    connect(m_group, &QButtonGroup::idClicked, this, [this](int id) {
        // Clicking the chosen segment again changes nothing, so it tells no one.
        if (id != m_current) {
            m_current = id;
            emit chosen(id);
        }
    });
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void SegmentedControl::setCurrent(int index)
{
    m_current = index;
    // An exclusive group keeps one button checked; unchosen, none may be.
    m_group->setExclusive(false);
    for (QAbstractButton* button : m_group->buttons())
        button->setChecked(m_group->id(button) == index);
    m_group->setExclusive(true);
    update();
}

int SegmentedControl::count() const
{
    return int(m_group->buttons().size());
}

QAbstractButton* SegmentedControl::segment(int index) const
{
    return m_group->button(index);
}

bool SegmentedControl::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const int step = key == Qt::Key_Left ? -1 : key == Qt::Key_Right ? 1 : 0;
        auto* button = qobject_cast<QAbstractButton*>(watched);
        if (step != 0 && button) {
            const int next = m_group->id(button) + (layoutDirection() == Qt::RightToLeft ? -step : step);
            // Past either end there is no segment: the choice stays where it is.
            if (QAbstractButton* to = segment(next)) {
                to->setFocus(Qt::TabFocusReason);
                to->click();
            }
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void SegmentedControl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(KitPaint::rounded(QRectF(rect()), 8), Scheme::primary(palette(), 0.07));
}
