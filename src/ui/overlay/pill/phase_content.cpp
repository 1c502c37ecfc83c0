#include "ui/overlay/pill/phase_content.h"

#include "core/state/app_state.h"
#include "core/text/busy_caption.h"
#include "core/text/l10n.h"
#include "ui/kit/elided_label.h"
#include "ui/kit/kit_font.h"
#include "ui/kit/line_limited_label.h"
#include "ui/kit/symbol_view.h"
#include "ui/kit/theme.h"
#include "ui/kit/thinking_wave.h"
#include "ui/overlay/pill/idle_toolbar.h"
#include "ui/overlay/pill/listening_row.h"
#include "ui/overlay/placement/pill_layout.h"

#include <QHBoxLayout>
#include <QLabel>

#include <limits>

namespace {

QLabel* label(const QString& text, TextRole role, const QColor& color, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setFont(KitFont::of(role));
    l->setTextFormat(Qt::PlainText);
    QPalette palette = l->palette();
    palette.setColor(QPalette::WindowText, color);
    l->setPalette(palette);
    return l;
}

QLabel* caption(const QString& text, QWidget* parent)
{
    return label(text, TextRole::CalloutMedium, Theme::white(0.85), parent);
}

ElidedLabel* oneLine(const QString& text, Qt::TextElideMode mode, TextRole role, const QColor& color,
                     QWidget* parent)
{
    auto* l = new ElidedLabel(text, mode, parent);
    l->setFont(KitFont::of(role));
    l->setColor(color);
    l->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    return l;
}

// Wrapped as the bar measured it, which grew to hold every line.
QLabel* message(const QString& text, QWidget* parent)
{
    auto* l = new LineLimitedLabel(std::numeric_limits<int>::max(), parent);
    l->setFont(KitFont::of(PillLayout::messageRole));
    QPalette palette = l->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    l->setPalette(palette);
    l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    l->setFullText(text);
    return l;
}

QWidget* sparkles(QWidget* parent)
{
    QLinearGradient fill(0, 0, 0, 1);
    fill.setCoordinateMode(QGradient::ObjectBoundingMode);
    fill.setColorAt(0, Theme::violet());
    fill.setColorAt(1, Theme::pink());
    return new SymbolView(Symbol::Sparkles, 11, fill, parent);
}

QWidget* wave(Clock& clock, QWidget* parent)
{
    auto* w = new ThinkingWave(clock, 7, Qt::white, parent);
    w->setFixedSize(32, 14);
    return w;
}

void addSpacer(QHBoxLayout* row, int minimum)
{
    row->addSpacerItem(new QSpacerItem(minimum, 0, QSizePolicy::Expanding, QSizePolicy::Minimum));
}

} // namespace

PhaseContent::PhaseContent(AppState& state, AppCommands& commands, Clock& clock, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_commands(commands)
    , m_clock(clock)
    , m_layout(new QHBoxLayout(this))
{
    m_layout->setContentsMargins(0, 0, 0, 0);
    refresh();
    connect(&state, &AppState::phaseChanged, this, &PhaseContent::refresh);
    connect(&state, &AppState::rewritingChanged, this, &PhaseContent::refresh);
    connect(&state, &AppState::dictationPreviewChanged, this, &PhaseContent::refresh);
}

void PhaseContent::refresh()
{
    const Shown shown{m_state.phase(), m_state.rewriting(), m_state.dictationPreview().has_value()};
    if (m_built && shown == m_shown)
        return;
    m_shown = shown;
    m_built = true;
    if (m_row) {
        m_layout->removeWidget(m_row);
        delete m_row;
    }
    m_row = buildRow();
    m_layout->addWidget(m_row);
}

QWidget* PhaseContent::buildRow()
{
    const Phase& phase = m_shown.phase;
    if (phase.is(Phase::Kind::Listening))
        return new ListeningRow(m_state, m_commands, m_clock, this);

    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    switch (phase.kind()) {
    case Phase::Kind::Idle:
        layout->setSpacing(6);
        layout->addWidget(new IdleToolbar(m_state, m_commands, m_clock, row), 1);
        break;
    case Phase::Kind::Listening:
        break;
    case Phase::Kind::Transcribing:
        layout->addWidget(wave(m_clock, row));
        layout->addWidget(caption(L10n::s(QStringLiteral("overlay.recognizing")), row));
        addSpacer(layout, 8);
        break;
    case Phase::Kind::Polishing:
        layout->addWidget(sparkles(row));
        if (m_shown.rewriting) {
            layout->addWidget(caption(BusyCaption::forCommand(phase.raw()), row));
            addSpacer(layout, 8);
        } else if (m_shown.preview) {
            layout->addWidget(caption(L10n::s(QStringLiteral("overlay.preview.recognized")), row));
            addSpacer(layout, 8);
        } else {
            // The newest words matter while the text is being polished, so the head is cut.
            layout->addWidget(oneLine(phase.raw(), Qt::ElideLeft, TextRole::Callout, Theme::white(0.75), row),
                              1);
            addSpacer(layout, 0);
        }
        break;
    case Phase::Kind::Translating:
        layout->addWidget(wave(m_clock, row));
        layout->addWidget(caption(QStringLiteral("→ ") + phase.code().toUpper(), row));
        addSpacer(layout, 8);
        break;
    case Phase::Kind::Done:
        layout->addWidget(
            phase.pasted() ? new SymbolView(Symbol::CheckCircle, PillLayout::symbolSide, Theme::green(), row)
                           : new SymbolView(Symbol::Clipboard, PillLayout::symbolSide, Theme::orange(), row));
        layout->addWidget(label(doneStatus(phase), PillLayout::statusRole, Qt::white, row));
        if (!m_shown.preview)
            layout->addWidget(
                oneLine(phase.text(), Qt::ElideRight, PillLayout::textRole, Theme::white(0.4), row), 1);
        break;
    case Phase::Kind::Failed:
        layout->addWidget(new SymbolView(Symbol::Warning, PillLayout::symbolSide, Theme::orange(), row));
        layout->addWidget(message(phase.message(), row), 1);
        break;
    case Phase::Kind::Notice:
        layout->addWidget(new SymbolView(Symbol::Info, PillLayout::symbolSide, Theme::white(0.65), row));
        layout->addWidget(message(phase.message(), row), 1);
        break;
    }
    return row;
}

QString PhaseContent::doneStatus(const Phase& phase)
{
    return L10n::s(phase.pasted() ? QStringLiteral("overlay.inserted") : QStringLiteral("overlay.copied"));
}
