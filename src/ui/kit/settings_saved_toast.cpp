#include "ui/kit/settings_saved_toast.h"

#include "core/state/app_state.h"
#include "core/text/l10n.h"
#include "ui/kit/kit_font.h"
#include "ui/kit/kit_paint.h"
#include "ui/kit/motion.h"
#include "ui/kit/scheme.h"
#include "ui/kit/theme.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

constexpr double symbolSize = 14;

QFont toastFont()
{
    return KitFont::of(TextRole::BodyStrong);
}

QString toastText()
{
    return L10n::s(QStringLiteral("settings.saved"));
}

} // namespace

SettingsSavedToast::SettingsSavedToast(AppState& state, QWidget* host, Lane lane)
    : QWidget(host)
    , m_state(state)
    , m_lane(std::move(lane))
    , m_shown(state.clock(), *this)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
    m_shown.setOnFrame([this] {
        if (m_shown.target() <= 0 && m_shown.value() <= 0)
            hide();
        else
            place();
    });
    host->installEventFilter(this);
    connect(&m_state, &AppState::settingToastVisibleChanged, this, &SettingsSavedToast::follow);
    follow();
}

QSize SettingsSavedToast::sizeHint() const
{
    const QFontMetricsF metrics(toastFont());
    const QSizeF capsule(metrics.horizontalAdvance(toastText()) + symbolSize + 8 + 28, metrics.height() + 18);
    return QSize(int(std::ceil(capsule.width())), int(std::ceil(capsule.height()))).grownBy(shadowRoom);
}

void SettingsSavedToast::follow()
{
    const bool up = m_state.settingToastVisible();
    if (up) {
        place();
        show();
        raise();
    }
    m_shown.moveTo(up ? 1 : 0, Motion::toastMs, Motion::toast);
}

void SettingsSavedToast::place()
{
    const QRect lane = m_lane ? m_lane() : parentWidget()->rect();
    const QSize size = sizeHint();
    resize(size);
    const int rest = lane.bottom() + 1 - bottomGap - (size.height() - shadowRoom.bottom());
    // Off the edge by the gap and the capsule's height while hidden, so it rises into view.
    const double below = (1 - m_shown.value()) * (bottomGap + size.height() - shadowRoom.bottom());
    move(lane.left() + (lane.width() - size.width()) / 2, rest + int(std::lround(below)));
}

bool SettingsSavedToast::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        place();
    return QWidget::eventFilter(watched, event);
}

void SettingsSavedToast::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setOpacity(std::clamp(m_shown.value(), 0.0, 1.0));
    const QRectF box = QRectF(rect().marginsRemoved(shadowRoom));
    const QPainterPath capsule = KitPaint::rounded(box, box.height() / 2);
    KitPaint::shadow(p, capsule, QColor::fromRgbF(0, 0, 0, 0.16f), 14, 6);
    // X11 has no material: the scheme's window colour stands in for it.
    p.fillPath(capsule, palette().color(QPalette::Window).lighter(Scheme::isDark(palette()) ? 130 : 102));
    QColor rim = Theme::violet();
    rim.setAlphaF(0.35f);
    p.setPen(QPen(rim, 1));
    p.drawPath(KitPaint::rounded(box.adjusted(0.5, 0.5, -0.5, -0.5), box.height() / 2));
    double x = box.left() + 14;
    KitPaint::symbol(p, Symbol::CheckCircle,
                     QRectF(x, box.center().y() - symbolSize / 2, symbolSize, symbolSize), Theme::violet());
    x += symbolSize + 8;
    p.setFont(toastFont());
    p.setPen(Scheme::text(palette(), Scheme::Text::Primary));
    p.drawText(QRectF(x, box.top(), box.right() - x, box.height()), Qt::AlignVCenter | Qt::AlignLeft,
               toastText());
}
