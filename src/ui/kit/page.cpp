#include "ui/kit/page.h"

#include "ui/kit/card_shadows.h"
#include "ui/kit/heading_role.h"
#include "ui/kit/kit_label.h"
#include "ui/kit/thin_scroll_style.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

// The scroll view's content. It never asks for more width than the view has: a scroll view that
// may not scroll sideways keeps resizing content wider than itself (a stack overflow in Qt),
// so text too wide for the column is cut instead.
class PageHost final : public QWidget {
public:
    // As tall as the content at the present width: the minimum of wrapped text is its height at
    // its narrowest, which would leave room to scroll past the end.
    QSize minimumSizeHint() const override
    {
        return {0, hasHeightForWidth() ? heightForWidth(width()) : QWidget::minimumSizeHint().height()};
    }
};

} // namespace

Page::Page(const QString& title, const QString& subtitle, QWidget* parent)
    : QScrollArea(parent)
    , m_innerBars(new ThinScrollStyle(ThinScrollStyle::Place::Beside, this))
    , m_column(new QWidget)
    , m_header(new QHBoxLayout)
    , m_content(new QVBoxLayout)
    , m_title(new KitLabel(title, TextRole::Title))
{
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    (new ThinScrollStyle(ThinScrollStyle::Place::Over, this))->apply(*verticalScrollBar());
    setWidgetResizable(true);
    // The scroll view takes the focus for keyboard scrolling; it is named after its page.
    setAccessibleName(title);
    setBackgroundRole(QPalette::Window);
    viewport()->setAutoFillBackground(false);

    auto* host = new PageHost;
    host->setAutoFillBackground(false);
    auto* centring = new QHBoxLayout(host);
    centring->setContentsMargins(0, 0, 0, 0);
    centring->addWidget(m_column);

    auto* stack = new QVBoxLayout(m_column);
    stack->setContentsMargins(padding);
    stack->setSpacing(spacing);
    stack->addLayout(m_header);
    stack->addLayout(m_content);
    stack->addStretch(1);
    m_content->setSpacing(spacing);
    new CardShadows(*m_column);
    m_content->setContentsMargins(0, 0, 0, 0);

    auto* titles = new QVBoxLayout;
    titles->setSpacing(6);
    m_title->setWordWrap(true);
    HeadingRole::mark(m_title);
    titles->addWidget(m_title);
    if (!subtitle.isEmpty())
        titles->addWidget((new KitLabel(subtitle, TextRole::Lead, Scheme::Text::Secondary))->wrapping());
    m_header->setSpacing(0);
    m_header->addLayout(titles, 1);
    m_header->addSpacing(12);
    host->installEventFilter(this);
    setWidget(host);

    const auto watchEnd = [this] {
        const QScrollBar* bar = verticalScrollBar();
        if (bar->maximum() - bar->value() <= viewport()->height())
            emit nearEnd();
    };
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, watchEnd);
    connect(verticalScrollBar(), &QScrollBar::rangeChanged, this, watchEnd);
}

void Page::setAccessory(QWidget* accessory)
{
    accessory->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    m_header->addWidget(accessory, 0, Qt::AlignBottom);
}

void Page::setTopPadding(int top)
{
    QMargins margins = m_column->layout()->contentsMargins();
    margins.setTop(top);
    m_column->layout()->setContentsMargins(margins);
}

QRect Page::column() const
{
    return QRect(m_column->mapTo(viewport(), QPoint(0, 0)), m_column->size());
}

bool Page::event(QEvent* event)
{
    // The views a page holds at first are polished right after it, already in the kit's look.
    if (event->type() == QEvent::Polish)
        m_innerBars->apply(*widget());
    return QScrollArea::event(event);
}

bool Page::eventFilter(QObject* watched, QEvent* event)
{
    // A view added later asks the host for a new layout on its way in.
    if (watched == widget() && event->type() == QEvent::LayoutRequest)
        m_innerBars->apply(*widget());
    // The host, not the page: a vertical scroll bar coming or going narrows it without a page resize.
    if (watched == widget() && event->type() == QEvent::Resize) {
        const int width = widget()->width();
        const int side = std::max(0, (width - maxColumn) / 2);
        widget()->layout()->setContentsMargins(side, 0, std::max(0, width - maxColumn - side), 0);
    }
    return QScrollArea::eventFilter(watched, event);
}
