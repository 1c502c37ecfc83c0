#include "ui/kit/permission_row.h"
#include "ui/kit/label_button.h"

#include "core/text/l10n.h"
#include "ui/kit/kit_label.h"
#include "ui/kit/kit_paint.h"
#include "ui/kit/scheme.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

namespace {

constexpr int iconSide = 30;

// The green check in front of the "allowed" text.
class CheckMark final : public QWidget {
public:
    explicit CheckMark(QWidget* parent)
        : QWidget(parent)
    {
        setFixedSize(12, 12);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        KitPaint::symbol(p, Symbol::CheckCircle, QRectF(rect()), Scheme::green(palette()));
    }
};

// The permission's symbol in a circle: green when granted, grey when not.
class PermissionIcon final : public QWidget {
public:
    PermissionIcon(Symbol symbol, const PermissionRow& row, QWidget* parent)
        : QWidget(parent)
        , m_symbol(symbol)
        , m_row(row)
    {
        setFixedSize(iconSide, iconSide);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const bool granted = m_row.granted();
        const QColor green = Scheme::green(palette());
        QColor fill = granted ? green : Scheme::primary(palette(), 0.1);
        if (granted)
            fill.setAlphaF(0.1f);
        p.setPen(Qt::NoPen);
        p.setBrush(fill);
        p.drawEllipse(QRectF(rect()));
        const double glyph = 14;
        KitPaint::symbol(
            p, m_symbol,
            QRectF(QRectF(rect()).center() - QPointF(glyph / 2, glyph / 2), QSizeF(glyph, glyph)),
            granted ? green : Scheme::text(palette(), Scheme::Text::Secondary));
    }

private:
    Symbol m_symbol;
    const PermissionRow& m_row;
};

} // namespace

PermissionRow::PermissionRow(const QString& title, const QString& detail, Symbol icon, bool granted,
                             std::function<void()> action, std::optional<QString> repairHint, QWidget* parent)
    : QWidget(parent)
    , m_allow(new LabelButton(LabelButton::Style::Primary, L10n::s(QStringLiteral("common.allow")), this))
    , m_allowed(new KitLabel(L10n::s(QStringLiteral("common.allowed")), TextRole::CalloutMedium,
                             Scheme::green, this))
    , m_allowedRow(new QWidget(this))
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(10);
    auto* row = new QHBoxLayout;
    row->setSpacing(12);
    row->addWidget(new PermissionIcon(icon, *this, this));
    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    texts->addWidget(new KitLabel(title, TextRole::BodyMedium, Scheme::Text::Primary, this));
    texts->addWidget((new KitLabel(detail, TextRole::Callout, Scheme::Text::Secondary, this))->wrapping());
    row->addLayout(texts, 1);
    auto* allowedLine = new QHBoxLayout(m_allowedRow);
    allowedLine->setContentsMargins(0, 0, 0, 0);
    allowedLine->setSpacing(5);
    allowedLine->addWidget(new CheckMark(m_allowedRow));
    m_allowed->setParent(m_allowedRow);
    allowedLine->addWidget(m_allowed);
    row->addWidget(m_allowedRow);
    row->addWidget(m_allow);
    column->addLayout(row);
    if (repairHint) {
        m_hint = (new KitLabel(*repairHint, TextRole::Callout, Scheme::orange, this))->wrapping();
        m_hint->setContentsMargins(iconSide + 12, 0, 0, 0);
        column->addWidget(m_hint);
    }
    connect(m_allow, &LabelButton::clicked, this, [action = std::move(action)] {
        if (action)
            action();
    });
    m_granted = !granted;
    setGranted(granted);
}

void PermissionRow::setGranted(bool granted)
{
    if (m_granted == granted)
        return;
    m_granted = granted;
    m_allow->setVisible(!granted);
    m_allowedRow->setVisible(granted);
    if (m_hint)
        m_hint->setVisible(!granted);
    update();
}
