#include "ui/overlay/pill/listening_row.h"

#include "core/model/hotkey.h"
#include "core/state/app_commands.h"
#include "core/state/app_state.h"
#include "core/text/fmt.h"
#include "core/text/hotkey_text.h"
#include "core/text/l10n.h"
#include "ui/kit/kit_font.h"
#include "ui/kit/mirrored_waveform.h"
#include "ui/kit/pulsing_dot.h"
#include "ui/kit/theme.h"
#include "ui/overlay/pill/icon_chip.h"

#include <QHBoxLayout>
#include <QLabel>

ListeningRow::ListeningRow(AppState& state, AppCommands& commands, Clock& clock, QWidget* parent)
    : QWidget(parent)
    , m_dot(new PulsingDot(clock, this))
    , m_waveform(new MirroredWaveform(clock, 15, Qt::white, this))
    , m_clock(new QLabel(Fmt::clock(state.elapsed()), this))
    , m_handsFree(new QLabel(this))
    , m_stop(new IconChip(Symbol::Stop, L10n::s(QStringLiteral("menu.stop")), Theme::red(), this))
{
    m_waveform->setFixedSize(72, 20);
    m_waveform->setLevels(state.levels());

    m_clock->setFont(KitFont::of(TextRole::CaptionMedium));
    QPalette palette = m_clock->palette();
    palette.setColor(QPalette::WindowText, Theme::white(0.5));
    m_clock->setPalette(palette);
    m_clock->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

    m_handsFree->setFont(KitFont::of(TextRole::CaptionMedium));
    palette.setColor(QPalette::WindowText, Theme::white(0.75));
    m_handsFree->setPalette(palette);
    m_handsFree->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(8);
    row->addWidget(m_dot);
    row->addWidget(m_waveform);
    row->addWidget(m_clock);
    row->addWidget(m_handsFree);
    row->addStretch(1);
    row->addWidget(m_stop);

    connect(&state, &AppState::levelsChanged, m_waveform,
            [this, &state] { m_waveform->setLevels(state.levels()); });
    connect(&state, &AppState::elapsedChanged, m_clock,
            [this, &state] { m_clock->setText(Fmt::clock(state.elapsed())); });
    connect(m_stop, &IconChip::clicked, this, [&commands] { commands.toggleRecording(); });
    // A hands-free recording does not end with a release; the pill says how it does end.
    const auto followHandsFree = [this, &state] {
        m_handsFree->setText(
            L10n::format(QStringLiteral("overlay.handsFree"), {HotkeyText::symbol(state.config().hotkey)}));
        m_handsFree->setVisible(state.handsFree());
    };
    connect(&state, &AppState::handsFreeChanged, m_handsFree, followHandsFree);
    followHandsFree();
}
