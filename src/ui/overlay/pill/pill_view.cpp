#include "ui/overlay/pill/pill_view.h"

#include "core/model/hotkey.h"
#include "core/state/app_state.h"
#include "core/text/hotkey_text.h"
#include "core/text/l10n.h"
#include "ui/kit/motion.h"
#include "ui/kit/theme.h"
#include "ui/overlay/pill/phase_content.h"

#include <QGraphicsOpacityEffect>
#include <QPainter>
#include <QPainterPath>

#include <array>
#include <cmath>

namespace {

constexpr int kFaceInMs = 180;
constexpr int kFaceInDelayMs = 60;
constexpr int kFaceOutMs = 120;

} // namespace

PillView::PillView(AppState& state, AppCommands& commands, Clock& clock, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_bar(barSize())
    , m_content(new PhaseContent(state, commands, clock, this))
    , m_width(clock, *this, chipSize().width())
    , m_height(clock, *this, chipSize().height())
    , m_face(clock, *this, 0)
{
    setAttribute(Qt::WA_NoSystemBackground);
    m_width.setOnFrame([this] { applyFrame(); });
    m_height.setOnFrame([this] { applyFrame(); });
    m_face.setOnFrame([this] { applyContentOpacity(); });
    m_content->hide();
    applyFrame();
    setToolTip(chipToolTip(state));

    const auto resize = [this] { refreshTarget(!m_state.widgetDragging()); };
    connect(&state, &AppState::phaseChanged, this, resize);
    connect(&state, &AppState::rewritingChanged, this, resize);
    connect(&state, &AppState::handsFreeChanged, this, resize);
    connect(&state, &AppState::dictationPreviewChanged, this, resize);
    connect(&state, &AppState::engineReadyChanged, this, qOverload<>(&QWidget::update));
    connect(&state, &AppState::configChanged, this, [this] {
        if (!m_expanded)
            setToolTip(chipToolTip(m_state));
    });
}

QSize PillView::barSize() const
{
    const Phase& phase = m_state.phase();
    if (phase.is(Phase::Kind::Listening))
        return {m_state.handsFree() ? handsFreeWidth : 196, PillLayout::barHeight};
    const QSize outcome =
        m_layout.outcomeBar(phase, PhaseContent::doneStatus(phase), !m_state.dictationPreview().has_value());
    if (m_state.rewriting())
        return {PillLayout::wideBarWidth, outcome.height()};
    return outcome;
}

int PillView::contentPadding(const Phase& phase)
{
    switch (phase.kind()) {
    case Phase::Kind::Idle:
        return 6;
    case Phase::Kind::Listening:
        return 14;
    default:
        return PillLayout::padding;
    }
}

QString PillView::chipToolTip(const AppState& state)
{
    const QString symbol = HotkeyText::symbol(state.config().hotkey);
    return L10n::format(QStringLiteral("overlay.drag"), {symbol});
}

void PillView::setExpanded(bool expanded, bool animate)
{
    if (expanded == m_expanded) {
        refreshTarget(animate);
        return;
    }
    m_expanded = expanded;
    setToolTip(expanded ? QString() : chipToolTip(m_state));
    if (expanded) {
        m_face.set(0);
        m_face.moveTo(1, animate ? kFaceInMs : 0, &Motion::easeOut, kFaceInDelayMs);
    } else {
        m_face.set(1);
        m_face.moveTo(0, animate ? kFaceOutMs : 0, &Motion::easeOut);
    }
    refreshTarget(animate);
    applyContentOpacity();
}

QSize PillView::targetSize() const
{
    return m_expanded ? m_bar : chipSize();
}

void PillView::refreshTarget(bool animate)
{
    m_bar = barSize();
    const QSize target = targetSize();
    const int duration = animate ? Motion::morphMs : 0;
    m_width.moveTo(target.width(), duration, &Motion::morph);
    m_height.moveTo(target.height(), duration, &Motion::morph);
    const int padding = contentPadding(m_state.phase());
    m_content->setContentsMargins(padding, 0, padding, 0);
    applyFrame();
}

void PillView::applyFrame()
{
    // The spring overshoots a little; never below the chip.
    const QSize size(std::max(chipSize().width(), static_cast<int>(std::lround(m_width.value()))),
                     std::max(chipSize().height(), static_cast<int>(std::lround(m_height.value()))));
    if (size != this->size())
        setFixedSize(size);
    // The content keeps the bar's width while the capsule grows around it, as a clipped view would.
    m_content->setGeometry((size.width() - m_bar.width()) / 2, (size.height() - m_bar.height()) / 2,
                           m_bar.width(), m_bar.height());
    update();
}

void PillView::applyContentOpacity()
{
    const double face = m_face.value();
    const bool showContent = m_expanded || face > 0;
    m_content->setVisible(showContent);
    if (face >= 1 || !showContent) {
        // An opacity effect renders the content offscreen, so it lives only while fading.
        m_content->setGraphicsEffect(nullptr);
    } else {
        auto* effect = qobject_cast<QGraphicsOpacityEffect*>(m_content->graphicsEffect());
        if (!effect) {
            effect = new QGraphicsOpacityEffect(m_content);
            m_content->setGraphicsEffect(effect);
        }
        effect->setOpacity(face);
    }
    update();
}

void PillView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF outline = QRectF(rect());
    const double radius = outline.height() / 2;
    QPainterPath capsule;
    capsule.addRoundedRect(outline, radius, radius);
    // Grey of white level 0.09 at 0.96 as the bar, 0.05 at 0.62 as the chip, blended by the morph.
    const double face = m_face.value();
    const double grey = 0.05 + (0.09 - 0.05) * face;
    QColor fill =
        QColor::fromRgbF(static_cast<float>(grey), static_cast<float>(grey), static_cast<float>(grey));
    fill.setAlphaF(static_cast<float>(0.62 + (0.96 - 0.62) * face));
    p.fillPath(capsule, fill);
    QPainterPath border;
    border.addRoundedRect(outline.adjusted(0.25, 0.25, -0.25, -0.25), radius - 0.25, radius - 0.25);
    p.strokePath(border, QPen(Theme::white(0.12 + (0.08 - 0.12) * face), 0.5));

    if (face >= 1)
        return;
    // The chip's three bars, brighter once the engine is ready.
    static constexpr std::array<double, 3> heights{5, 9, 6};
    constexpr double width = 2;
    constexpr double gap = 2.5;
    const double row = heights.size() * width + (heights.size() - 1) * gap;
    double x = outline.center().x() - row / 2;
    QColor bar = Theme::white(m_state.engineReady() ? 0.55 : 0.28);
    bar.setAlphaF(static_cast<float>(bar.alphaF() * (1 - face)));
    p.setClipPath(capsule);
    for (const double h : heights) {
        QPainterPath b;
        b.addRoundedRect(QRectF(x, outline.center().y() - h / 2, width, h), width / 2, width / 2);
        p.fillPath(b, bar);
        x += width + gap;
    }
}

void PillView::hideEvent(QHideEvent* event)
{
    m_width.finish();
    m_height.finish();
    m_face.finish();
    QWidget::hideEvent(event);
}
