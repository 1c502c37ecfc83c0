#include "ui/kit/accessibility_repair_card.h"

#include "core/state/app_state.h"
#include "core/text/l10n.h"
#include "platform/accessibility_repair.h"
#include "ui/kit/kit_font.h"
#include "ui/kit/kit_label.h"
#include "ui/kit/kit_paint.h"
#include "ui/kit/label_button.h"
#include "ui/kit/scheme.h"
#include "ui/kit/scheme_symbol.h"
#include "ui/kit/spinner.h"
#include "ui/kit/symbol_view.h"
#include "ui/kit/theme.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

namespace {

// The step's number, white on a violet circle.
class StepNumber final : public QWidget {
public:
    StepNumber(int number, QWidget* parent)
        : QWidget(parent)
        , m_number(number)
    {
        setFixedSize(20, 20);
        setAccessibleName(QString::number(number));
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(Theme::violet());
        p.drawEllipse(QRectF(rect()));
        p.setPen(Qt::white);
        p.setFont(KitFont::of(TextRole::CaptionStrong, KitFont::Design::Rounded));
        p.drawText(rect(), Qt::AlignCenter, QString::number(m_number));
    }

private:
    int m_number;
};

QLayout* step(int number, const QString& body, QWidget* parent)
{
    auto* row = new QHBoxLayout;
    row->setSpacing(10);
    row->addWidget(new StepNumber(number, parent), 0, Qt::AlignTop);
    row->addWidget((new KitLabel(body, TextRole::Body, Scheme::Text::Primary, parent))->wrapping(), 1);
    return row;
}

} // namespace

AccessibilityRepairCard::AccessibilityRepairCard(AppState& state, AccessibilityRepair& repair,
                                                 QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_repair(repair)
    , m_button(new LabelButton(LabelButton::Style::Primary, L10n::s("ax.openSettings"), this, Symbol::Gear))
    , m_waitingRow(new QWidget(this))
    , m_grantedRow(new QWidget(this))
    , m_noSettings(new KitLabel(L10n::s("ax.noSettings"), TextRole::Callout, Scheme::Text::Primary, this))
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(18, 18, 18, 18);
    column->setSpacing(14);

    auto* header = new QHBoxLayout;
    header->setSpacing(10);
    header->addWidget(new SchemeSymbol(Symbol::Wrench, 16, Scheme::orange, this), 0, Qt::AlignVCenter);
    auto* titles = new QVBoxLayout;
    titles->setSpacing(2);
    titles->addWidget(
        new KitLabel(L10n::s("ax.repair.title"), TextRole::Heading, Scheme::Text::Primary, this));
    titles->addWidget(
        (new KitLabel(L10n::s("ax.repair.body"), TextRole::Callout, Scheme::Text::Secondary, this))
            ->wrapping());
    header->addLayout(titles, 1);
    column->addLayout(header);

    auto* steps = new QVBoxLayout;
    steps->setSpacing(8);
    steps->addLayout(step(1, L10n::s("ax.step1"), this));
    steps->addLayout(step(2, L10n::s("ax.step2"), this));
    steps->addLayout(step(3, L10n::s("ax.step3"), this));
    column->addLayout(steps);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(10);
    buttons->addWidget(m_button);
    auto* waitingLine = new QHBoxLayout(m_waitingRow);
    waitingLine->setContentsMargins(0, 0, 0, 0);
    waitingLine->setSpacing(6);
    waitingLine->addWidget(new Spinner(state.clock(), 14, m_waitingRow));
    waitingLine->addWidget(
        new KitLabel(L10n::s("ax.waiting"), TextRole::Callout, Scheme::Text::Secondary, m_waitingRow));
    buttons->addWidget(m_waitingRow);
    auto* grantedLine = new QHBoxLayout(m_grantedRow);
    grantedLine->setContentsMargins(0, 0, 0, 0);
    grantedLine->setSpacing(5);
    grantedLine->addWidget(new SchemeSymbol(Symbol::CheckCircle, 12, Scheme::green, m_grantedRow));
    grantedLine->addWidget(
        new KitLabel(L10n::s("ax.granted"), TextRole::CalloutStrong, Scheme::green, m_grantedRow));
    buttons->addWidget(m_grantedRow);
    buttons->addStretch(1);
    column->addLayout(buttons);
    m_noSettings->wrapping();
    column->addWidget(m_noSettings);
    m_noSettings->hide();

    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    connect(m_button, &LabelButton::clicked, this, &AccessibilityRepairCard::press);
    connect(&m_state, &AppState::axGrantedChanged, this, [this] {
        // Only a grant ends the wait; losing the permission again leaves the card as it was.
        if (m_state.axGranted())
            m_waiting = false;
        refresh();
    });
    refresh();
}

void AccessibilityRepairCard::press()
{
    m_waiting = true;
    m_repair.switchOn();
    m_noSettings->setVisible(!m_repair.openSettings());
    refresh();
}

void AccessibilityRepairCard::refresh()
{
    const bool granted = m_state.axGranted();
    m_waitingRow->setVisible(m_waiting && !granted);
    m_grantedRow->setVisible(granted);
    if (granted)
        m_noSettings->hide();
}

void AccessibilityRepairCard::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box(rect());
    QColor fill = Scheme::orange(palette());
    fill.setAlphaF(0.09f);
    p.fillPath(KitPaint::rounded(box, 16), fill);
    QColor rim = Scheme::orange(palette());
    rim.setAlphaF(0.25f);
    p.setPen(QPen(rim, 1));
    p.drawPath(KitPaint::rounded(box.adjusted(0.5, 0.5, -0.5, -0.5), 15.5));
}
